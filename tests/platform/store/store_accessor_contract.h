// The accessor's rules that hold whatever keeps the values: written once as
// typed tests and instantiated for each back end (the SQLite store in
// store_accessor_test.cpp, the registry in tests/windows). A back end's
// test supplies a type with NewAccessor(), a fresh accessor on the same
// store as the next run of the program sees it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/store/store_accessor.h"

namespace lirvane {

inline constexpr const char* kContractVersionKey = "\\SOFTWARE\\Velkor\\Lirvane\\Version";
inline constexpr const char* kContractProgramKey = "\\SOFTWARE\\Velkor\\Lirvane\\Program";

inline std::string StoreErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const StoreError& e) {
    return e.what();
  }
  return "(no error)";
}

template <typename Store>
class StoreAccessorContract : public ::testing::Test {
 protected:
  std::unique_ptr<StoreAccessor> NewAccessor() { return store_.NewAccessor(); }
  Store store_;
};

TYPED_TEST_SUITE_P(StoreAccessorContract);

TYPED_TEST_P(StoreAccessorContract, FailedOpenLeavesPreviousKeyCurrent) {
  auto store = this->NewAccessor();
  EXPECT_EQ(store->Root(), StoreRoot::kLocalMachine);
  ASSERT_TRUE(store->OpenKey(kContractVersionKey, true));
  EXPECT_FALSE(store->OpenKey(kContractProgramKey, false));
  EXPECT_EQ(store->CurrentKey(), kContractVersionKey);
  store->WriteInteger("FWidth", 537);  // so an unchecked write lands here
  EXPECT_FALSE(store->OpenKey(kContractProgramKey, false)) << "the write made the key";
  ASSERT_TRUE(store->OpenKey(kContractVersionKey, false));
  EXPECT_EQ(store->ReadInteger("FWidth"), 537);
}

TYPED_TEST_P(StoreAccessorContract, CreateMakesMissingParents) {
  ASSERT_TRUE(this->NewAccessor()->OpenKey(kContractProgramKey, true));
  auto store = this->NewAccessor();
  for (const char* key :
       {"\\SOFTWARE", "\\SOFTWARE\\Velkor", "\\SOFTWARE\\Velkor\\Lirvane", kContractProgramKey}) {
    EXPECT_TRUE(store->OpenKey(key, false)) << key;
  }
  EXPECT_FALSE(store->OpenKey(kContractVersionKey, false));
}

TYPED_TEST_P(StoreAccessorContract, PathsAreNormalisedAndRelativeToCurrentKey) {
  auto store = this->NewAccessor();
  ASSERT_TRUE(store->OpenKey("\\SOFTWARE\\\\Velkor\\", true));
  EXPECT_EQ(store->CurrentKey(), "\\SOFTWARE\\Velkor");
  ASSERT_TRUE(store->OpenKey("Lirvane\\Program", true));
  EXPECT_EQ(store->CurrentKey(), kContractProgramKey);
  ASSERT_TRUE(store->OpenKey("\\", false));
  EXPECT_EQ(store->CurrentKey(), "\\");
}

TYPED_TEST_P(StoreAccessorContract, PathsAndNamesIgnoreLetterCase) {
  auto store = this->NewAccessor();
  ASSERT_TRUE(store->OpenKey(kContractProgramKey, true));
  store->WriteInteger("FWidth", 537);
  ASSERT_TRUE(store->OpenKey("\\software\\VELKOR\\lirvane\\pRoGrAm", false));
  EXPECT_EQ(store->ReadInteger("fwidth"), 537);
  store->WriteInteger("FWIDTH", 600);  // replaces, does not add
  ASSERT_TRUE(store->OpenKey(kContractProgramKey, false));
  EXPECT_EQ(store->ReadInteger("FWidth"), 600);
}

TYPED_TEST_P(StoreAccessorContract, BooleansAreIntegersAndAnyNonZeroIsTrue) {
  auto store = this->NewAccessor();
  ASSERT_TRUE(store->OpenKey(kContractProgramKey, true));
  store->WriteInteger("showglyph", 2);
  EXPECT_TRUE(store->ReadBool("showglyph"));
  store->WriteInteger("showglyph", -1);
  EXPECT_TRUE(store->ReadBool("showglyph"));
  store->WriteBool("showglyph", false);
  EXPECT_FALSE(store->ReadBool("showglyph"));
  store->WriteBool("Tray1", true);
  EXPECT_EQ(store->ReadInteger("Tray1"), 1);
}

TYPED_TEST_P(StoreAccessorContract, StringsReadUpToTheirFirstZeroByte) {
  auto store = this->NewAccessor();
  ASSERT_TRUE(store->OpenKey(kContractProgramKey, true));
  const std::string stored("C:\\a.txt\0junk", 13);
  store->WriteString("Last0", stored);
  EXPECT_EQ(store->ReadString("Last0"), "C:\\a.txt");
  // The bytes after the zero were kept all the same.
  StoreReadResult raw =
      store->Backend().ReadValue(StoreRoot::kLocalMachine, kContractProgramKey, "Last0");
  ASSERT_EQ(raw.status, StoreReadStatus::kFound);
  EXPECT_EQ(raw.value.bytes, stored);
}

TYPED_TEST_P(StoreAccessorContract, MissingValues) {
  auto store = this->NewAccessor();
  ASSERT_TRUE(store->OpenKey(kContractProgramKey, true));
  EXPECT_EQ(store->ReadString("FNM"), "");
  EXPECT_EQ(StoreErrorOf([&] { store->ReadInteger("FSZ"); }), "Failed to get data for 'FSZ'");
  EXPECT_EQ(StoreErrorOf([&] { store->ReadBool("SaveOpt"); }), "Failed to get data for 'SaveOpt'");
  store->WriteString("Last3", "");
  EXPECT_EQ(store->ReadString("Last3"), "");
}

TYPED_TEST_P(StoreAccessorContract, ValuesOfAnotherKind) {
  auto store = this->NewAccessor();
  ASSERT_TRUE(store->OpenKey(kContractProgramKey, true));
  ASSERT_TRUE(store->Backend().WriteRaw(StoreRoot::kLocalMachine, kContractProgramKey, "FSZ",
                                        kStoreTypeBinary, std::string("\x0a\x00", 2)));
  EXPECT_EQ(StoreErrorOf([&] { store->ReadInteger("FSZ"); }), "Invalid data type for 'FSZ'");
  EXPECT_EQ(StoreErrorOf([&] { store->ReadBool("FSZ"); }), "Invalid data type for 'FSZ'");
  EXPECT_EQ(StoreErrorOf([&] { store->ReadString("FSZ"); }), "Invalid data type for 'FSZ'");
  store->WriteString("FWidth", "537");
  EXPECT_EQ(StoreErrorOf([&] { store->ReadInteger("FWidth"); }), "Invalid data type for 'FWidth'");
  store->WriteInteger("FNM", 10);
  EXPECT_EQ(StoreErrorOf([&] { store->ReadString("FNM"); }), "Invalid data type for 'FNM'");
  // An integer of the wrong size is no integer.
  ASSERT_TRUE(store->Backend().WriteRaw(StoreRoot::kLocalMachine, kContractProgramKey, "WS",
                                        kStoreTypeInteger, "\x01"));
  EXPECT_EQ(StoreErrorOf([&] { store->ReadInteger("WS"); }), "Invalid data type for 'WS'");
  store->WriteInteger("FSZ", 12);  // replacing the value replaces its kind
  EXPECT_EQ(store->ReadInteger("FSZ"), 12);
}

TYPED_TEST_P(StoreAccessorContract, EmptyNameIsTheUnnamedValue) {
  auto store = this->NewAccessor();
  ASSERT_TRUE(store->OpenKey(kContractVersionKey, true));
  store->WriteString("", "3.0");
  store->WriteString("Other", "x");
  EXPECT_EQ(store->ReadString(""), "3.0");
  ASSERT_TRUE(store->OpenKey(kContractProgramKey, true));
  EXPECT_EQ(store->ReadString(""), "") << "unnamed values belong to one key";
}

TYPED_TEST_P(StoreAccessorContract, DeleteValue) {
  auto store = this->NewAccessor();
  ASSERT_TRUE(store->OpenKey(kContractProgramKey, true));
  store->WriteString("Last0", "a");
  store->WriteString("Last1", "b");
  store->DeleteValue("LAST0");
  EXPECT_EQ(store->ReadString("Last0"), "");
  EXPECT_EQ(store->ReadString("Last1"), "b");
  EXPECT_NO_THROW(store->DeleteValue("Last0"));
  EXPECT_NO_THROW(store->DeleteValue("NeverThere"));
}

TYPED_TEST_P(StoreAccessorContract, ChangingRootClosesKeyAndTheRootsAreApart) {
  auto store = this->NewAccessor();
  ASSERT_TRUE(store->OpenKey(kContractProgramKey, true));
  store->SetRoot(StoreRoot::kLocalMachine);  // no change: stays open
  EXPECT_EQ(store->CurrentKey(), kContractProgramKey);
  store->SetRoot(StoreRoot::kClassesRoot);
  EXPECT_EQ(store->Root(), StoreRoot::kClassesRoot);
  EXPECT_EQ(store->CurrentKey(), "");
  EXPECT_EQ(StoreErrorOf([&] { store->WriteString("", "x"); }), "Failed to set data for ''");
  EXPECT_EQ(StoreErrorOf([&] { store->ReadInteger("FSZ"); }), "Failed to get data for 'FSZ'");
  EXPECT_FALSE(store->OpenKey(kContractProgramKey, false));
  ASSERT_TRUE(store->OpenKey("\\.ATT", true));
  store->WriteString("", "ATTfile");
  EXPECT_EQ(store->ReadString(""), "ATTfile");
  store->SetRoot(StoreRoot::kLocalMachine);
  EXPECT_FALSE(store->OpenKey("\\.ATT", false));
}

REGISTER_TYPED_TEST_SUITE_P(StoreAccessorContract, FailedOpenLeavesPreviousKeyCurrent,
                            CreateMakesMissingParents, PathsAreNormalisedAndRelativeToCurrentKey,
                            PathsAndNamesIgnoreLetterCase, BooleansAreIntegersAndAnyNonZeroIsTrue,
                            StringsReadUpToTheirFirstZeroByte, MissingValues, ValuesOfAnotherKind,
                            EmptyNameIsTheUnnamedValue, DeleteValue,
                            ChangingRootClosesKeyAndTheRootsAreApart);

}  // namespace lirvane
