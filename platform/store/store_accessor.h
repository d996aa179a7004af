// The store accessor: the one object through which the settings store is
// read and written. It holds a current root and at most one open key; every
// read and write acts on that key. Key paths are absolute ("\SOFTWARE\...")
// and, like value names, compared without regard to letter case.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/store/store_root.h"

namespace lirvane {

class StoreBackend;

// A failed read or write; what() is the message the user sees, such as
// "Failed to get data for 'FSZ'".
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class StoreAccessor {
 public:
  explicit StoreAccessor(std::unique_ptr<StoreBackend> backend);
  ~StoreAccessor();

  // Changing the root closes the current key. Starts at LocalMachine.
  void SetRoot(StoreRoot root);
  StoreRoot Root() const;

  // True when the key is open and current afterwards. With `create` the key
  // and its missing parents are made. Without it a missing key gives false;
  // the key opens read-write or, failing that, read-only. On false the
  // previous key stays current. A path without the leading backslash is
  // taken relative to the current key, as the registry object does. An
  // existing key that refuses to be created for writing opens read-only.
  bool OpenKey(std::string_view path, bool create);

  // The current key as "\SOFTWARE\Velkor" ("\" for the root itself), or
  // empty when none is open.
  std::string CurrentKey() const;
  // True when the current key was opened for reading only: its writes fail.
  bool CurrentKeyReadOnly() const;

  // Throw StoreError: "Failed to get data for '%s'" when missing,
  // "Invalid data type for '%s'" when of another kind.
  int32_t ReadInteger(std::string_view name);
  bool ReadBool(std::string_view name);  // non-zero is true
  // Up to the first zero byte; empty when missing; throws on another kind.
  std::string ReadString(std::string_view name);

  // An empty name is the key's unnamed value. Throw StoreError
  // "Failed to set data for '%s'" when refused (or when no key is open).
  void WriteString(std::string_view name, std::string_view value);
  void WriteInteger(std::string_view name, int32_t value);
  void WriteBool(std::string_view name, bool value);  // as 0 or 1

  // Removes a value of the current key; a missing value is no error.
  void DeleteValue(std::string_view name);

  StoreBackend& Backend();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The back end for this platform: the Windows registry on Windows, an SQLite
// database under $XDG_CONFIG_HOME (or ~/.config) elsewhere.
std::unique_ptr<StoreBackend> MakeDefaultStoreBackend();

}  // namespace lirvane
