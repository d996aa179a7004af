// The settings store as an SQLite database, for systems without the Windows
// registry: by default "$XDG_CONFIG_HOME/lirvane/settings.sqlite".
//
// The file is made at the first write, never by reading: a start that only
// reads finds no keys and leaves the disk alone. Every write is its own
// durable transaction (synchronous=FULL) that takes the write lock up front
// (BEGIN IMMEDIATE) and waits for another running copy of the program, so
// two copies can share one store without losing writes. The waiting is
// bounded in all, not per statement: once a few seconds have gone by
// without any statement getting through, every further one fails at once
// until one succeeds again. A database that cannot be opened for writing
// is read, and its writes fail.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/store/store_backend.h"

struct sqlite3;

namespace lirvane {

class SqliteStoreBackend final : public StoreBackend {
 public:
  enum class Access {
    kReadWriteElseReadOnly,  // like opening a registry key
    kReadOnly,               // never writes, whatever the file allows
  };

  explicit SqliteStoreBackend(std::filesystem::path database_file,
                              Access access = Access::kReadWriteElseReadOnly);
  ~SqliteStoreBackend() override;
  SqliteStoreBackend(const SqliteStoreBackend&) = delete;
  SqliteStoreBackend& operator=(const SqliteStoreBackend&) = delete;

  // $XDG_CONFIG_HOME/lirvane/settings.sqlite, with XDG_CONFIG_HOME falling
  // back to ~/.config when unset, empty or not absolute.
  static std::filesystem::path DefaultDatabaseFile();

  const std::filesystem::path& DatabaseFile() const { return file_; }

  StoreCondition Condition() override;
  // Renames the file to "settings.sqlite.bad" beside it (replacing an older
  // one), with its journal.
  std::string SetAsideDamaged() override;

  bool KeyExists(StoreRoot root, std::string_view path) override;
  bool CreateKey(StoreRoot root, std::string_view path) override;
  bool KeyWritable(StoreRoot root, std::string_view path) override;
  StoreReadResult ReadValue(StoreRoot root, std::string_view path, std::string_view name) override;
  bool WriteString(StoreRoot root, std::string_view path, std::string_view name,
                   std::string_view value) override;
  bool WriteInteger(StoreRoot root, std::string_view path, std::string_view name,
                    int32_t value) override;
  bool WriteRaw(StoreRoot root, std::string_view path, std::string_view name, uint32_t type_code,
                std::string_view data) override;
  bool DeleteValue(StoreRoot root, std::string_view path, std::string_view name) override;

  // Runs `body` as one write transaction, so that reads and writes made in
  // it through this back end see and change the store with no other copy of
  // the program in between (a read-modify-write). Commits when `body`
  // returns true and every write in it succeeded; otherwise, or when `body`
  // throws, nothing of it is kept. A nested call joins the outer one.
  bool InTransaction(const std::function<bool()>& body);

 private:
  bool OpenForRead();
  bool OpenForWrite();
  bool OpenConnection(int flags);
  void CloseConnection();
  bool PrepareConnection();
  bool Exec(const char* sql);
  // Runs `step` inside a write transaction of its own, or inside the one
  // InTransaction has open.
  bool WriteStep(const std::function<bool()>& step);
  // A proper integer goes in `integer`; anything else as raw `bytes`.
  bool WriteValue(StoreRoot root, std::string_view path, std::string_view name, uint32_t type_code,
                  std::optional<int32_t> integer, std::string_view bytes);
  bool FindKey(StoreRoot root, const std::string& folded_path, int64_t& id);
  static int WaitForOtherCopy(void* self, int attempts);
  // A statement got through: the next wait has its full time again.
  void Succeeded() { wait_deadline_ms_ = 0; }

  std::filesystem::path file_;
  Access access_;
  sqlite3* db_ = nullptr;
  bool writable_ = false;
  int transaction_depth_ = 0;
  bool transaction_failed_ = false;
  int last_open_error_ = 0;       // SQLite's code when opening last failed
  int64_t wait_deadline_ms_ = 0;  // steady clock; 0 while not waiting
};

}  // namespace lirvane
