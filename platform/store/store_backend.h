// What the store accessor needs from a place that keeps settings: a tree of
// keys under two roots, each key holding named, typed values. Implemented by
// the Windows registry and, elsewhere, by an SQLite database.
//
// Every call names its key by root and path; a back end keeps no current
// key. Paths are backslash-separated and counted from the root ("\A\B", "A\B"
// and "A\\B\" are the same key; "" and "\" are the root itself). Paths and
// value names compare without regard to letter case (see store_names.h);
// an empty value name is the key's unnamed value. Strings are byte strings
// in the program's own encoding, Windows-1251.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/store/store_root.h"

namespace lirvane {

enum class StoreValueKind { kString, kInteger, kOther };

// Type codes as the registry numbers them; every other code is a kind the
// program never writes itself.
inline constexpr uint32_t kStoreTypeString = 1;   // REG_SZ
inline constexpr uint32_t kStoreTypeBinary = 3;   // REG_BINARY
inline constexpr uint32_t kStoreTypeInteger = 4;  // REG_DWORD

struct StoreValue {
  StoreValueKind kind = StoreValueKind::kOther;
  uint32_t type_code = 0;  // as the back end keeps it
  int32_t integer = 0;     // for Integer
  std::string bytes;       // String: the whole text, zero bytes and all;
                           // Other: the raw data
};

enum class StoreReadStatus {
  kFound,
  kMissing,  // no such value (or no such key)
  kFailed,   // the store could not be read
};

struct StoreReadResult {
  StoreReadStatus status = StoreReadStatus::kMissing;
  StoreValue value;
};

// Whether the store as a whole can be used, asked once at start-up.
enum class StoreCondition {
  kUsable,      // there and readable
  kAbsent,      // nothing stored yet: a first run
  kUnreadable,  // there, but cannot be read now (held by another program,
                // no permission): neither a first run nor to be overwritten
  kDamaged,     // there, but not a store any more
};

class StoreBackend {
 public:
  virtual ~StoreBackend() = default;

  virtual StoreCondition Condition() { return StoreCondition::kUsable; }
  // Moves a damaged store out of the way, so that the next write starts a
  // fresh one; returns where it went, or nothing when it could not be moved.
  virtual std::string SetAsideDamaged() { return {}; }

  // The root itself always exists.
  virtual bool KeyExists(StoreRoot root, std::string_view path) = 0;
  // Makes the key and any missing parents; true when the key exists
  // afterwards and may be written. False when refused.
  virtual bool CreateKey(StoreRoot root, std::string_view path) = 0;
  // Whether an existing key would accept writes (a read-write open).
  virtual bool KeyWritable(StoreRoot root, std::string_view path) = 0;

  virtual StoreReadResult ReadValue(StoreRoot root, std::string_view path,
                                    std::string_view name) = 0;

  // Create or replace a value of an existing key; false when refused.
  virtual bool WriteString(StoreRoot root, std::string_view path, std::string_view name,
                           std::string_view value) = 0;
  virtual bool WriteInteger(StoreRoot root, std::string_view path, std::string_view name,
                            int32_t value) = 0;
  // A value of any type code with raw data, as another program might leave.
  virtual bool WriteRaw(StoreRoot root, std::string_view path, std::string_view name,
                        uint32_t type_code, std::string_view data) = 0;

  // True when the value is gone afterwards, also when it never existed.
  virtual bool DeleteValue(StoreRoot root, std::string_view path, std::string_view name) = 0;
};

}  // namespace lirvane
