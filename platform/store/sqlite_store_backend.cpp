#include "platform/store/sqlite_store_backend.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <utility>

#include "base/home_folder.h"
#include "platform/store/store_names.h"

namespace lirvane {
namespace {

namespace fs = std::filesystem;

// How long all statements together wait for another copy that holds the
// store before they give up: long enough for any write of a running copy,
// short enough that a store held for good does not stall the program.
constexpr int64_t kBusyBudgetMs = 3000;

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Keys remember their spelling at creation; lookups go by the folded form.
// Values keep the registry's type code, so a kind the program never writes
// still reads back as "another kind".
constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS store_keys("
    "  id INTEGER PRIMARY KEY,"
    "  root INTEGER NOT NULL,"
    "  path BLOB NOT NULL,"
    "  folded BLOB NOT NULL,"
    "  UNIQUE(root, folded));"
    "CREATE TABLE IF NOT EXISTS store_values("
    "  key_id INTEGER NOT NULL REFERENCES store_keys(id),"
    "  name BLOB NOT NULL,"
    "  folded BLOB NOT NULL,"
    "  type INTEGER NOT NULL,"
    "  int_value INTEGER,"
    "  bytes BLOB,"
    "  PRIMARY KEY(key_id, folded)) WITHOUT ROWID;";

// Fixed numbers on disk, whatever the order of the enum.
int RootNumber(StoreRoot root) {
  switch (root) {
    case StoreRoot::kLocalMachine:
      return 0;
    case StoreRoot::kClassesRoot:
      return 1;
  }
  return -1;
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ok() const { return stmt_ != nullptr; }

  void BindInt(int index, int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
  void BindNull(int index) { sqlite3_bind_null(stmt_, index); }
  // Never NULL: an empty text is a zero-length blob.
  void BindBlob(int index, std::string_view bytes) {
    sqlite3_bind_blob64(stmt_, index, bytes.empty() ? "" : bytes.data(), bytes.size(),
                        SQLITE_TRANSIENT);
  }

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }

  int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
  bool IsNull(int column) { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
  std::string Blob(int column) {
    const void* data = sqlite3_column_blob(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    if (data == nullptr || size <= 0) return {};
    return std::string(static_cast<const char*>(data), size);
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

StoreValue DecodeValue(uint32_t type, bool has_integer, int64_t integer, std::string bytes) {
  StoreValue value;
  value.type_code = type;
  if (type == kStoreTypeString) {
    value.kind = StoreValueKind::kString;
    value.bytes = std::move(bytes);
  } else if (type == kStoreTypeInteger && has_integer && integer >= INT32_MIN &&
             integer <= INT32_MAX) {
    value.kind = StoreValueKind::kInteger;
    value.integer = static_cast<int32_t>(integer);
  } else if (type == kStoreTypeInteger && !has_integer && bytes.size() == 4) {
    // Planted raw, as the registry keeps a DWORD: little-endian.
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<uint8_t>(bytes[i]);
    value.kind = StoreValueKind::kInteger;
    value.integer = static_cast<int32_t>(u);
  } else {
    value.kind = StoreValueKind::kOther;
    value.bytes = std::move(bytes);
  }
  return value;
}

// SQLITE_OK with `has` set, or the error that kept the schema from being read.
int ReadSchema(sqlite3* db, bool& has) {
  Statement count(db,
                  "SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                  " AND name IN ('store_keys', 'store_values')");
  if (!count.Ok()) return sqlite3_errcode(db);
  const int rc = count.Step();
  if (rc != SQLITE_ROW) return rc;
  has = count.Int(0) == 2;
  return SQLITE_OK;
}

bool IsDamage(int rc) {
  const int primary = rc & 0xFF;
  return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

// SQLite takes file names in UTF-8 on every system; path::string() would
// give the ANSI code page on Windows.
std::string Utf8Name(const fs::path& file) {
  const std::u8string name = file.u8string();
  return std::string(name.begin(), name.end());
}

bool FileExists(const fs::path& file) {
  std::error_code ec;
  return fs::exists(file, ec);
}

}  // namespace

SqliteStoreBackend::SqliteStoreBackend(fs::path database_file, Access access)
    : file_(std::move(database_file)), access_(access) {}

SqliteStoreBackend::~SqliteStoreBackend() { CloseConnection(); }

fs::path SqliteStoreBackend::DefaultDatabaseFile() {
  const fs::path base = ConfigHomeFolder();
  return base.empty() ? base : base / "lirvane" / "settings.sqlite";
}

int SqliteStoreBackend::WaitForOtherCopy(void* self, int /*attempts*/) {
  // Polls every millisecond: SQLite's own timeout backs off to 100 ms polls,
  // and against a copy writing one value after another those can miss every
  // short gap between its transactions until the time is up.
  auto& backend = *static_cast<SqliteStoreBackend*>(self);
  const int64_t now = NowMs();
  if (backend.wait_deadline_ms_ == 0) backend.wait_deadline_ms_ = now + kBusyBudgetMs;
  if (now >= backend.wait_deadline_ms_) return 0;
  sqlite3_sleep(1);
  return 1;
}

bool SqliteStoreBackend::OpenConnection(int flags) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(Utf8Name(file_).c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    last_open_error_ = db != nullptr ? sqlite3_extended_errcode(db) : rc;
    sqlite3_close_v2(db);
    return false;
  }
  db_ = db;
  // Read-write is only "if possible": a write-protected file opens read-only.
  writable_ = sqlite3_db_readonly(db_, "main") == 0;
  if (!PrepareConnection()) {
    if (last_open_error_ == SQLITE_OK) last_open_error_ = sqlite3_extended_errcode(db_);
    CloseConnection();
    return false;
  }
  last_open_error_ = SQLITE_OK;
  Succeeded();
  return true;
}

bool SqliteStoreBackend::PrepareConnection() {
  sqlite3_busy_handler(db_, &SqliteStoreBackend::WaitForOtherCopy, this);
  last_open_error_ = SQLITE_OK;
  bool has_schema = false;
  if (const int rc = ReadSchema(db_, has_schema); rc != SQLITE_OK) {
    last_open_error_ = rc;
    return false;
  }
  if (has_schema) {
    return !writable_ || Exec("PRAGMA synchronous=FULL");
  }
  // No tables: a store this copy makes, or that another copy has only just
  // made and not yet filled. A read-only connection finds nothing in it.
  if (!writable_) return false;
  if (!Exec("PRAGMA synchronous=FULL") || !Exec("BEGIN IMMEDIATE")) return false;
  if (sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK || !Exec("COMMIT")) {
    if (!sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
    return false;
  }
  return true;
}

void SqliteStoreBackend::CloseConnection() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
  writable_ = false;
}

bool SqliteStoreBackend::OpenForRead() {
  if (db_ != nullptr) return true;
  // Without SQLITE_OPEN_CREATE: reading never makes the file.
  if (access_ == Access::kReadOnly) return OpenConnection(SQLITE_OPEN_READONLY);
  return OpenConnection(SQLITE_OPEN_READWRITE);
}

bool SqliteStoreBackend::OpenForWrite() {
  if (access_ == Access::kReadOnly) return false;
  if (OpenForRead()) return writable_;
  // A file that is there but cannot be used is left alone, not replaced.
  if (FileExists(file_)) return false;
  std::error_code ec;
  fs::create_directories(file_.parent_path(), ec);
  if (ec) return false;
  return OpenConnection(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) && writable_;
}

StoreCondition SqliteStoreBackend::Condition() {
  if (!FileExists(file_)) return StoreCondition::kAbsent;
  if (OpenForRead()) return StoreCondition::kUsable;
  return IsDamage(last_open_error_) ? StoreCondition::kDamaged : StoreCondition::kUnreadable;
}

std::string SqliteStoreBackend::SetAsideDamaged() {
  CloseConnection();
  fs::path aside = file_;
  aside += ".bad";
  std::error_code ec;
  fs::rename(file_, aside, ec);
  if (ec) return {};
  // A journal left beside the damaged file belongs to it, not to the next.
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    fs::path journal = file_;
    journal += suffix;
    if (!FileExists(journal)) continue;
    fs::path journal_aside = aside;
    journal_aside += suffix;
    fs::rename(journal, journal_aside, ec);
  }
  return aside.string();
}

bool SqliteStoreBackend::Exec(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteStoreBackend::WriteStep(const std::function<bool()>& step) {
  if (transaction_depth_ > 0) {
    const bool ok = OpenForWrite() && step();
    if (!ok) transaction_failed_ = true;
    return ok;
  }
  if (!OpenForWrite() || !Exec("BEGIN IMMEDIATE")) return false;
  const bool ok = step() && Exec("COMMIT");
  if (!ok && !sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
  if (ok) Succeeded();
  return ok;
}

bool SqliteStoreBackend::InTransaction(const std::function<bool()>& body) {
  if (transaction_depth_ > 0) {
    const bool ok = body();
    if (!ok) transaction_failed_ = true;
    return ok;
  }
  if (!OpenForWrite() || !Exec("BEGIN IMMEDIATE")) return false;
  transaction_depth_ = 1;
  transaction_failed_ = false;
  bool ok;
  try {
    ok = body() && !transaction_failed_;
  } catch (...) {
    transaction_depth_ = 0;
    if (!sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
    throw;
  }
  transaction_depth_ = 0;
  if (ok) ok = Exec("COMMIT");
  if (!ok && !sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
  if (ok) Succeeded();
  return ok;
}

bool SqliteStoreBackend::FindKey(StoreRoot root, const std::string& folded_path, int64_t& id) {
  Statement find(db_, "SELECT id FROM store_keys WHERE root = ?1 AND folded = ?2");
  find.BindInt(1, RootNumber(root));
  find.BindBlob(2, folded_path);
  if (find.Step() != SQLITE_ROW) return false;
  id = find.Int(0);
  return true;
}

bool SqliteStoreBackend::KeyExists(StoreRoot root, std::string_view path) {
  const std::string normal = NormalizeStorePath(path);
  if (normal.empty()) return true;
  if (!OpenForRead()) return false;
  int64_t id;
  return FindKey(root, FoldStoreName(normal), id);
}

bool SqliteStoreBackend::CreateKey(StoreRoot root, std::string_view path) {
  return WriteStep([&] {
    std::string prefix;
    for (std::string_view part : SplitStorePath(path)) {
      if (!prefix.empty()) prefix += '\\';
      prefix += part;
      Statement one(db_,
                    "INSERT OR IGNORE INTO store_keys(root, path, folded)"
                    " VALUES(?1, ?2, ?3)");
      one.BindInt(1, RootNumber(root));
      one.BindBlob(2, prefix);
      one.BindBlob(3, FoldStoreName(prefix));
      if (one.Step() != SQLITE_DONE) return false;
    }
    return true;
  });
}

bool SqliteStoreBackend::KeyWritable(StoreRoot, std::string_view) {
  if (access_ == Access::kReadOnly) return false;
  if (OpenForRead()) return writable_;
  // No store yet (only the root exists then): the first write makes it.
  return !FileExists(file_);
}

StoreReadResult SqliteStoreBackend::ReadValue(StoreRoot root, std::string_view path,
                                              std::string_view name) {
  StoreReadResult result;
  if (!OpenForRead()) {
    // No file is an empty store; a file that cannot be read is a failure.
    result.status = FileExists(file_) ? StoreReadStatus::kFailed : StoreReadStatus::kMissing;
    return result;
  }
  Statement read(db_,
                 "SELECT v.type, v.int_value, v.bytes FROM store_values v"
                 " JOIN store_keys k ON k.id = v.key_id"
                 " WHERE k.root = ?1 AND k.folded = ?2 AND v.folded = ?3");
  read.BindInt(1, RootNumber(root));
  read.BindBlob(2, FoldStoreName(NormalizeStorePath(path)));
  read.BindBlob(3, FoldStoreName(name));
  switch (read.Step()) {
    case SQLITE_ROW:
      Succeeded();
      result.status = StoreReadStatus::kFound;
      result.value = DecodeValue(static_cast<uint32_t>(read.Int(0)), !read.IsNull(1), read.Int(1),
                                 read.Blob(2));
      break;
    case SQLITE_DONE:
      Succeeded();
      result.status = StoreReadStatus::kMissing;
      break;
    default:
      result.status = StoreReadStatus::kFailed;
      break;
  }
  return result;
}

bool SqliteStoreBackend::WriteValue(StoreRoot root, std::string_view path, std::string_view name,
                                    uint32_t type_code, std::optional<int32_t> integer,
                                    std::string_view bytes) {
  return WriteStep([&] {
    const std::string normal = NormalizeStorePath(path);
    const std::string folded_path = FoldStoreName(normal);
    if (normal.empty()) {
      // The root always exists, so its row is made on demand.
      Statement root_row(db_,
                         "INSERT OR IGNORE INTO store_keys(root, path, folded)"
                         " VALUES(?1, x'', x'')");
      root_row.BindInt(1, RootNumber(root));
      if (root_row.Step() != SQLITE_DONE) return false;
    }
    int64_t key_id;
    if (!FindKey(root, folded_path, key_id)) return false;
    Statement upsert(db_,
                     "INSERT INTO store_values"
                     "(key_id, name, folded, type, int_value, bytes)"
                     " VALUES(?1, ?2, ?3, ?4, ?5, ?6)"
                     " ON CONFLICT(key_id, folded) DO UPDATE SET"
                     " type = excluded.type, int_value = excluded.int_value,"
                     " bytes = excluded.bytes");
    upsert.BindInt(1, key_id);
    upsert.BindBlob(2, name);
    upsert.BindBlob(3, FoldStoreName(name));
    upsert.BindInt(4, type_code);
    if (integer) {
      upsert.BindInt(5, *integer);
      upsert.BindNull(6);
    } else {
      upsert.BindNull(5);
      upsert.BindBlob(6, bytes);
    }
    return upsert.Step() == SQLITE_DONE;
  });
}

bool SqliteStoreBackend::WriteString(StoreRoot root, std::string_view path, std::string_view name,
                                     std::string_view value) {
  return WriteValue(root, path, name, kStoreTypeString, std::nullopt, value);
}

bool SqliteStoreBackend::WriteInteger(StoreRoot root, std::string_view path, std::string_view name,
                                      int32_t value) {
  return WriteValue(root, path, name, kStoreTypeInteger, value, {});
}

bool SqliteStoreBackend::WriteRaw(StoreRoot root, std::string_view path, std::string_view name,
                                  uint32_t type_code, std::string_view data) {
  return WriteValue(root, path, name, type_code, std::nullopt, data);
}

bool SqliteStoreBackend::DeleteValue(StoreRoot root, std::string_view path, std::string_view name) {
  // Nothing to delete when there is no store, and no reason to make one.
  if (!OpenForRead()) return !FileExists(file_);
  return WriteStep([&] {
    Statement remove(db_,
                     "DELETE FROM store_values WHERE folded = ?3 AND key_id IN"
                     " (SELECT id FROM store_keys WHERE root = ?1 AND folded = ?2)");
    remove.BindInt(1, RootNumber(root));
    remove.BindBlob(2, FoldStoreName(NormalizeStorePath(path)));
    remove.BindBlob(3, FoldStoreName(name));
    return remove.Step() == SQLITE_DONE;
  });
}

}  // namespace lirvane
