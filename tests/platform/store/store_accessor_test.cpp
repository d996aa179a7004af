// The accessor's rules, run against the real SQLite store in a temporary
// XDG_CONFIG_HOME.
#include "platform/store/store_accessor.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/store/sqlite_store_backend.h"
#include "tests/platform/store/store_accessor_contract.h"
#include "tests/support/temp_xdg_homes.h"

namespace lirvane {
namespace {

namespace fs = std::filesystem;
using testing::TempXdgHomes;

constexpr const char* kVersion = "\\SOFTWARE\\Velkor\\Lirvane\\Version";
constexpr const char* kProgram = "\\SOFTWARE\\Velkor\\Lirvane\\Program";

class StoreAccessorTest : public ::testing::Test {
 protected:
  // A fresh accessor on the same store, as the next run of the program.
  std::unique_ptr<StoreAccessor> NewAccessor(
      SqliteStoreBackend::Access access = SqliteStoreBackend::Access::kReadWriteElseReadOnly) {
    auto backend =
        std::make_unique<SqliteStoreBackend>(SqliteStoreBackend::DefaultDatabaseFile(), access);
    return std::make_unique<StoreAccessor>(std::move(backend));
  }
  SqliteStoreBackend& Sqlite(StoreAccessor& store) {
    return static_cast<SqliteStoreBackend&>(store.Backend());
  }

  TempXdgHomes home_;
};

TEST_F(StoreAccessorTest, DefaultBackendLivesUnderConfigHome) {
  StoreAccessor store(MakeDefaultStoreBackend());
  ASSERT_TRUE(store.OpenKey(kVersion, true));
  store.WriteString("", "3.0");
  EXPECT_TRUE(fs::exists(home_.DatabaseFile()));
}

TEST_F(StoreAccessorTest, RawIntegerReadsAsAnInteger) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, true));
  ASSERT_TRUE(store->Backend().WriteRaw(StoreRoot::kLocalMachine, kProgram, "WS", kStoreTypeInteger,
                                        std::string("\xfe\xff\xff\xff", 4)));
  EXPECT_EQ(store->ReadInteger("WS"), -2);
  ASSERT_TRUE(store->Backend().WriteRaw(StoreRoot::kLocalMachine, kProgram, "WS", kStoreTypeInteger,
                                        "\x01"));
  EXPECT_EQ(StoreErrorOf([&] { store->ReadInteger("WS"); }), "Invalid data type for 'WS'");
}

// The rules every back end keeps, on this one.
struct SqliteStore {
  std::unique_ptr<StoreAccessor> NewAccessor() {
    return std::make_unique<StoreAccessor>(
        std::make_unique<SqliteStoreBackend>(SqliteStoreBackend::DefaultDatabaseFile()));
  }
  TempXdgHomes home;
};
INSTANTIATE_TYPED_TEST_SUITE_P(Sqlite, StoreAccessorContract, SqliteStore);

TEST_F(StoreAccessorTest, CyrillicKeysAndNamesIgnoreLetterCase) {
  auto store = NewAccessor();
  // In the program's Windows-1251 and in UTF-8.
  ASSERT_TRUE(store->OpenKey("\\\xCA\xEB\xFE\xF7", true));   // "Ключ"
  store->WriteString("\xC8\xEC\xFF", "cp1251");              // "Имя"
  ASSERT_TRUE(store->OpenKey("\\\xCA\xCB\xDE\xD7", false));  // "КЛЮЧ"
  EXPECT_EQ(store->ReadString("\xE8\xCC\xDF"), "cp1251");    // "иМЯ"
  ASSERT_TRUE(store->OpenKey("\\Ёлка", true));
  store->WriteString("Имя", "utf8");
  ASSERT_TRUE(store->OpenKey("\\ёЛКА", false));
  EXPECT_EQ(store->ReadString("иМЯ"), "utf8");
}

TEST_F(StoreAccessorTest, EveryHighByteOfAStringComesBack) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, true));
  const std::string high = "\xC0\xFF\x01\x7F";
  store->WriteString("FNM", high);
  EXPECT_EQ(store->ReadString("FNM"), high);
}

TEST_F(StoreAccessorTest, TheUnnamedValueIsAString) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kVersion, true));
  store->WriteString("", "3.0");
  EXPECT_EQ(StoreErrorOf([&] { store->ReadInteger(""); }), "Invalid data type for ''");
}

TEST_F(StoreAccessorTest, WriteWithNoKeyOpenFails) {
  auto store = NewAccessor();
  EXPECT_EQ(StoreErrorOf([&] { store->WriteInteger("FWidth", 1); }),
            "Failed to set data for 'FWidth'");
  EXPECT_EQ(StoreErrorOf([&] { store->WriteBool("SaveOpt", true); }),
            "Failed to set data for 'SaveOpt'");
  EXPECT_FALSE(fs::exists(home_.DatabaseFile()));
}

TEST_F(StoreAccessorTest, ReadingNeverCreatesTheDatabase) {
  auto store = NewAccessor();
  EXPECT_FALSE(store->OpenKey(kProgram, false));
  ASSERT_TRUE(store->OpenKey("\\", false));  // the root always exists
  EXPECT_EQ(store->ReadString("Last0"), "");
  EXPECT_EQ(StoreErrorOf([&] { store->ReadInteger("FSZ"); }), "Failed to get data for 'FSZ'");
  store->DeleteValue("Last0");
  store->SetRoot(StoreRoot::kClassesRoot);
  EXPECT_FALSE(store->OpenKey("\\.att", false));
  EXPECT_FALSE(fs::exists(home_.DatabaseFile().parent_path()));
}

TEST_F(StoreAccessorTest, WritesSurviveANewRun) {
  {
    auto store = NewAccessor();
    ASSERT_TRUE(store->OpenKey(kProgram, true));
    store->WriteInteger("FSZ", 14);
    store->WriteString("FNM", "Arial Cyr");
    store->WriteBool("SaveOpt", true);
    store->SetRoot(StoreRoot::kClassesRoot);
    ASSERT_TRUE(store->OpenKey("\\.att", true));
    store->WriteString("", "txtfile");
  }
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, false));
  EXPECT_EQ(store->ReadInteger("FSZ"), 14);
  EXPECT_EQ(store->ReadString("FNM"), "Arial Cyr");
  EXPECT_TRUE(store->ReadBool("SaveOpt"));
  store->SetRoot(StoreRoot::kClassesRoot);
  ASSERT_TRUE(store->OpenKey("\\.ATT", false));
  EXPECT_EQ(store->ReadString(""), "txtfile");
}

TEST_F(StoreAccessorTest, ReadOnlyStoreRefusesWrites) {
  {
    auto store = NewAccessor();
    ASSERT_TRUE(store->OpenKey(kProgram, true));
    store->WriteString("FNM", "Arial Cyr");
  }
  auto store = NewAccessor(SqliteStoreBackend::Access::kReadOnly);
  ASSERT_TRUE(store->OpenKey(kProgram, false));
  EXPECT_TRUE(store->CurrentKeyReadOnly());
  EXPECT_EQ(store->ReadString("FNM"), "Arial Cyr");
  EXPECT_EQ(StoreErrorOf([&] { store->WriteString("FNM", "Courier"); }),
            "Failed to set data for 'FNM'");
  EXPECT_EQ(StoreErrorOf([&] { store->WriteInteger("FSZ", 1); }), "Failed to set data for 'FSZ'");
  store->DeleteValue("FNM");
  EXPECT_EQ(store->ReadString("FNM"), "Arial Cyr");

  // Creating an existing key still opens it, for reading.
  EXPECT_FALSE(store->OpenKey(kVersion, false));
  ASSERT_TRUE(store->OpenKey("\\SOFTWARE\\Velkor", true));
  EXPECT_TRUE(store->CurrentKeyReadOnly());
  // A key that cannot be made is not opened, and the last one stays.
  EXPECT_FALSE(store->OpenKey(kVersion, true));
  EXPECT_EQ(store->CurrentKey(), "\\SOFTWARE\\Velkor");
}

TEST_F(StoreAccessorTest, WriteProtectedFileOpensReadOnly) {
  if (geteuid() == 0) GTEST_SKIP() << "file modes do not stop root";
  {
    auto store = NewAccessor();
    ASSERT_TRUE(store->OpenKey(kProgram, true));
    store->WriteInteger("FSZ", 10);
  }
  ASSERT_EQ(chmod(home_.DatabaseFile().c_str(), 0444), 0);
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, false));
  EXPECT_TRUE(store->CurrentKeyReadOnly());
  EXPECT_EQ(store->ReadInteger("FSZ"), 10);
  EXPECT_EQ(StoreErrorOf([&] { store->WriteInteger("FSZ", 11); }), "Failed to set data for 'FSZ'");
}

TEST_F(StoreAccessorTest, UnusableConfigFolderRefusesWrites) {
  // Where the store's folder should be there is a file.
  std::ofstream(home_.Config() / "lirvane") << "not a folder";
  auto store = NewAccessor();
  EXPECT_FALSE(store->OpenKey(kProgram, true));
  ASSERT_TRUE(store->OpenKey("\\", false));
  EXPECT_EQ(StoreErrorOf([&] { store->WriteString("", "x"); }), "Failed to set data for ''");
}

TEST_F(StoreAccessorTest, ForeignFileIsNeitherReadNorReplaced) {
  fs::create_directories(home_.DatabaseFile().parent_path());
  const std::string foreign = "this is not a database, and it is mine";
  std::ofstream(home_.DatabaseFile()) << foreign;

  auto store = NewAccessor();
  EXPECT_FALSE(store->OpenKey(kProgram, false));
  EXPECT_FALSE(store->OpenKey(kProgram, true));
  ASSERT_TRUE(store->OpenKey("\\", false));
  EXPECT_EQ(StoreErrorOf([&] { store->ReadString("FNM"); }), "Failed to get data for 'FNM'");
  EXPECT_EQ(StoreErrorOf([&] { store->WriteString("FNM", "x"); }), "Failed to set data for 'FNM'");

  std::ifstream in(home_.DatabaseFile());
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, foreign);
}

}  // namespace
}  // namespace lirvane
