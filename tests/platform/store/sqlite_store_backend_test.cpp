// The SQLite back end on its own: where it keeps its file, its transactions,
// and two running copies of the program sharing one store.
#include "platform/store/sqlite_store_backend.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "tests/support/temp_xdg_homes.h"

namespace lirvane {
namespace {

namespace fs = std::filesystem;
using testing::TempXdgHomes;

constexpr StoreRoot kRoot = StoreRoot::kLocalMachine;
constexpr const char* kProgram = "\\SOFTWARE\\Velkor\\Lirvane\\Program";

class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    had_ = std::getenv(name) != nullptr;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvVar() {
    if (had_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(SqliteStoreLocationTest, FollowsXdgConfigHomeElseHome) {
  EnvVar home("HOME", "/home/someone");
  {
    EnvVar xdg("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(SqliteStoreBackend::DefaultDatabaseFile(),
              fs::path("/tmp/cfg/lirvane/settings.sqlite"));
  }
  for (const char* unusable : {static_cast<const char*>(nullptr), "", "rel/dir"}) {
    EnvVar xdg("XDG_CONFIG_HOME", unusable);
    EXPECT_EQ(SqliteStoreBackend::DefaultDatabaseFile(),
              fs::path("/home/someone/.config/lirvane/settings.sqlite"));
  }
}

int32_t ReadCounter(SqliteStoreBackend& store) {
  StoreReadResult r = store.ReadValue(kRoot, kProgram, "Counter");
  EXPECT_EQ(r.status, StoreReadStatus::kFound);
  EXPECT_EQ(r.value.kind, StoreValueKind::kInteger);
  return r.value.integer;
}

TEST(SqliteStoreTransactionTest, KeepsAllOrNothing) {
  TempXdgHomes home;
  SqliteStoreBackend store(SqliteStoreBackend::DefaultDatabaseFile());
  ASSERT_TRUE(store.CreateKey(kRoot, kProgram));
  ASSERT_TRUE(store.WriteInteger(kRoot, kProgram, "Counter", 5));

  EXPECT_TRUE(store.InTransaction([&] {
    return store.WriteInteger(kRoot, kProgram, "Counter", ReadCounter(store) + 1) &&
           store.WriteString(kRoot, kProgram, "Note", "done");
  }));
  EXPECT_EQ(ReadCounter(store), 6);

  EXPECT_FALSE(store.InTransaction([&] {
    store.WriteInteger(kRoot, kProgram, "Counter", 100);
    return false;
  }));
  EXPECT_EQ(ReadCounter(store), 6);

  // A write that fails inside spoils the whole transaction.
  EXPECT_FALSE(store.InTransaction([&] {
    store.WriteInteger(kRoot, kProgram, "Counter", 100);
    store.WriteInteger(kRoot, "\\NoSuchKey", "X", 1);
    return true;
  }));
  EXPECT_EQ(ReadCounter(store), 6);

  EXPECT_THROW(store.InTransaction([&]() -> bool {
    store.WriteInteger(kRoot, kProgram, "Counter", 100);
    throw std::runtime_error("stop");
  }),
               std::runtime_error);
  EXPECT_EQ(ReadCounter(store), 6);
  // And the back end is usable afterwards.
  EXPECT_TRUE(store.WriteInteger(kRoot, kProgram, "Counter", 7));
  EXPECT_EQ(ReadCounter(store), 7);
}

TEST(SqliteStoreTest, WritesNeedAnExistingKey) {
  TempXdgHomes home;
  SqliteStoreBackend store(SqliteStoreBackend::DefaultDatabaseFile());
  EXPECT_FALSE(store.WriteString(kRoot, kProgram, "FNM", "x"));
  EXPECT_TRUE(store.WriteString(kRoot, "\\", "AtRoot", "x"));
  EXPECT_EQ(store.ReadValue(kRoot, "", "atroot").status, StoreReadStatus::kFound);
  EXPECT_FALSE(store.KeyExists(kRoot, kProgram));
}

constexpr int kWritesPerCopy = 500;

// One running copy: its own distinct values, each its own transaction, and
// a shared counter bumped by read-modify-write.
int RunCopy(int copy, int start_signal) {
  char go;
  if (read(start_signal, &go, 1) < 0) return 2;
  SqliteStoreBackend store(SqliteStoreBackend::DefaultDatabaseFile());
  int failures = 0;
  for (int i = 0; i < kWritesPerCopy; ++i) {
    const std::string name = "Copy" + std::to_string(copy) + "_" + std::to_string(i);
    if (!store.WriteInteger(kRoot, kProgram, name, i)) ++failures;
    const bool bumped = store.InTransaction([&] {
      StoreReadResult r = store.ReadValue(kRoot, kProgram, "Counter");
      return r.status == StoreReadStatus::kFound && r.value.kind == StoreValueKind::kInteger &&
             store.WriteInteger(kRoot, kProgram, "Counter", r.value.integer + 1);
    });
    if (!bumped) ++failures;
  }
  return failures == 0 ? 0 : 1;
}

TEST(SqliteStoreConditionTest, AbsentUsableDamagedAndSetAside) {
  TempXdgHomes home;
  const fs::path file = SqliteStoreBackend::DefaultDatabaseFile();
  {
    SqliteStoreBackend store(file);
    EXPECT_EQ(store.Condition(), StoreCondition::kAbsent);
    ASSERT_TRUE(store.CreateKey(kRoot, kProgram));
    EXPECT_EQ(store.Condition(), StoreCondition::kUsable);
  }
  TempXdgHomes::Write(file, std::string(2048, 'x'));
  SqliteStoreBackend store(file);
  EXPECT_EQ(store.Condition(), StoreCondition::kDamaged);
  EXPECT_EQ(store.SetAsideDamaged(), file.string() + ".bad");
  EXPECT_EQ(TempXdgHomes::Read(file.string() + ".bad"), std::string(2048, 'x'));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(store.Condition(), StoreCondition::kAbsent);
  ASSERT_TRUE(store.CreateKey(kRoot, kProgram));  // a fresh store
  EXPECT_TRUE(store.WriteInteger(kRoot, kProgram, "FSZ", 10));
}

TEST(SqliteStoreConditionTest, HeldStoreIsUnreadableNotAbsent) {
  TempXdgHomes home;
  const fs::path file = SqliteStoreBackend::DefaultDatabaseFile();
  {
    SqliteStoreBackend store(file);
    ASSERT_TRUE(store.CreateKey(kRoot, kProgram));
    ASSERT_TRUE(store.WriteInteger(kRoot, kProgram, "FSZ", 10));
  }
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  SqliteStoreBackend store(file);
  EXPECT_EQ(store.Condition(), StoreCondition::kUnreadable);
  EXPECT_FALSE(store.KeyExists(kRoot, kProgram));
  EXPECT_EQ(store.ReadValue(kRoot, kProgram, "FSZ").status, StoreReadStatus::kFailed);
  EXPECT_FALSE(store.WriteInteger(kRoot, kProgram, "FSZ", 12));
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  // Released: everything works again and nothing was changed.
  EXPECT_EQ(store.Condition(), StoreCondition::kUsable);
  EXPECT_EQ(store.ReadValue(kRoot, kProgram, "FSZ").value.integer, 10);
}

TEST(SqliteStoreProcessTest, TwoCopiesWritingAtOnceLoseNothing) {
  TempXdgHomes home;
  {
    // Closed again before forking: a connection must not cross a fork.
    SqliteStoreBackend store(SqliteStoreBackend::DefaultDatabaseFile());
    ASSERT_TRUE(store.CreateKey(kRoot, kProgram));
    ASSERT_TRUE(store.WriteInteger(kRoot, kProgram, "Counter", 0));
  }
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  pid_t children[2];
  for (int copy = 0; copy < 2; ++copy) {
    children[copy] = fork();
    ASSERT_GE(children[copy], 0);
    if (children[copy] == 0) {
      close(start[1]);
      _exit(RunCopy(copy, start[0]));
    }
  }
  close(start[0]);
  close(start[1]);  // both copies start together
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a write failed in a copy";
  }

  SqliteStoreBackend store(SqliteStoreBackend::DefaultDatabaseFile());
  int found = 0;
  for (int copy = 0; copy < 2; ++copy) {
    for (int i = 0; i < kWritesPerCopy; ++i) {
      const std::string name = "copy" + std::to_string(copy) + "_" + std::to_string(i);
      StoreReadResult r = store.ReadValue(kRoot, kProgram, name);
      if (r.status == StoreReadStatus::kFound && r.value.integer == i) ++found;
    }
  }
  EXPECT_EQ(found, 2 * kWritesPerCopy);
  EXPECT_EQ(ReadCounter(store), 2 * kWritesPerCopy);
}

}  // namespace
}  // namespace lirvane
