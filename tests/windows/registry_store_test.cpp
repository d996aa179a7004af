// The accessor's rules, run against the real registry (Wine's, in the
// Windows check) under keys of the test's own; what the registry then holds
// is checked through the registry API itself.
#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/store/store_accessor.h"
#include "platform/store/registry_store_backend.h"
#include "tests/platform/store/store_accessor_contract.h"
#include "tests/windows/registry_test_keys.h"

namespace lirvane {
namespace {

using testing::RegistryTestKeys;

constexpr const char* kVersion = "\\SOFTWARE\\Velkor\\Lirvane\\Version";
constexpr const char* kProgram = "\\SOFTWARE\\Velkor\\Lirvane\\Program";

class RegistryStoreTest : public ::testing::Test {
 protected:
  // A fresh accessor on the same keys, as the next run of the program.
  std::unique_ptr<StoreAccessor> NewAccessor() {
    return std::make_unique<StoreAccessor>(keys_.Backend());
  }

  // A value as the registry itself holds it: its type and raw data.
  struct RawValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = 0;
    std::wstring text;  // REG_SZ data without its terminator
    DWORD number = 0;   // REG_DWORD data
  };
  RawValue QueryRaw(StoreRoot root, const std::string& key, const std::wstring& name) {
    RawValue value;
    HKEY handle = nullptr;
    value.status =
        RegOpenKeyExW(root == StoreRoot::kClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE,
                      keys_.Path(root, key).c_str(), 0, KEY_QUERY_VALUE, &handle);
    if (value.status != ERROR_SUCCESS) return value;
    BYTE data[4096] = {};
    DWORD size = sizeof data;
    value.status = RegQueryValueExW(handle, name.c_str(), nullptr, &value.type, data, &size);
    RegCloseKey(handle);
    if (value.type == REG_SZ) {
      value.text.assign(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
      if (!value.text.empty() && value.text.back() == L'\0') value.text.pop_back();
    } else if (value.type == REG_DWORD && size == sizeof(DWORD)) {
      std::memcpy(&value.number, data, sizeof(DWORD));
    }
    return value;
  }

  // Lets everyone read the key and nobody change its values, as an
  // administrator's key looks to an ordinary user. Deleting the key and
  // changing its permissions stay allowed, for the clean-up.
  void MakeReadOnly(const std::string& key) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, keys_.Path(StoreRoot::kLocalMachine, key).c_str(),
                            0, READ_CONTROL | WRITE_DAC, &handle),
              ERROR_SUCCESS);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    alignas(DWORD) BYTE acl_bytes[256];
    ACL* acl = reinterpret_cast<ACL*>(acl_bytes);
    ASSERT_TRUE(InitializeAcl(acl, sizeof acl_bytes, ACL_REVISION));
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | DELETE | WRITE_DAC, everyone));
    SECURITY_DESCRIPTOR sd;
    ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE));
    EXPECT_EQ(RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
    RegCloseKey(handle);
    FreeSid(everyone);
  }

  RegistryTestKeys keys_;
};

// The rules every back end keeps, on the registry.
struct RegistryStore {
  std::unique_ptr<StoreAccessor> NewAccessor() {
    return std::make_unique<StoreAccessor>(keys.Backend());
  }
  RegistryTestKeys keys;
};
INSTANTIATE_TYPED_TEST_SUITE_P(Registry, StoreAccessorContract, RegistryStore);

TEST_F(RegistryStoreTest, DefaultBackendIsTheRealRegistry) {
  StoreAccessor store(MakeDefaultStoreBackend());
  const std::string key = "\\" + keys_.MachineBase() + "\\Default";
  ASSERT_TRUE(store.OpenKey(key, true));
  store.WriteString("", "3.0");
  store.WriteInteger("FSZ", 12);

  HKEY handle = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, RegistryTestKeys::Wide(key.substr(1)).c_str(), 0,
                          KEY_QUERY_VALUE, &handle),
            ERROR_SUCCESS);
  wchar_t text[16] = {};
  DWORD size = sizeof text;
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueExW(handle, L"", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  RegCloseKey(handle);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(text), L"3.0");
}

TEST_F(RegistryStoreTest, StringsAndIntegersAreRegSzAndRegDword) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, true));
  store->WriteString("FNM", "Courier New");
  store->WriteInteger("FSZ", -14);
  store->WriteBool("SaveOpt", true);

  RawValue fnm = QueryRaw(StoreRoot::kLocalMachine, kProgram, L"FNM");
  EXPECT_EQ(fnm.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(fnm.text, L"Courier New");
  RawValue fsz = QueryRaw(StoreRoot::kLocalMachine, kProgram, L"FSZ");
  EXPECT_EQ(fsz.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(static_cast<int32_t>(fsz.number), -14);
  EXPECT_EQ(QueryRaw(StoreRoot::kLocalMachine, kProgram, L"SaveOpt").number, 1u);

  auto next_run = NewAccessor();
  ASSERT_TRUE(next_run->OpenKey(kProgram, false));
  EXPECT_EQ(next_run->ReadString("FNM"), "Courier New");
  EXPECT_EQ(next_run->ReadInteger("FSZ"), -14);
  EXPECT_TRUE(next_run->ReadBool("SaveOpt"));
}

TEST_F(RegistryStoreTest, CyrillicNamesAndDataAreUnicodeInTheRegistry) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey("\\\xCA\xEB\xFE\xF7", true));  // "Ключ"
  store->WriteString("\xC8\xEC\xFF",
                     "\xD2\xE5\xEA\xF1\xF2 \xB8\xEB\xEA\xE8");  // "Имя", "Текст ёлки"

  // Key, name and text as the registry holds them, in UTF-16.
  HKEY handle = nullptr;
  const std::wstring key = keys_.Path(StoreRoot::kLocalMachine, "") + L"\\Ключ";
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &handle),
            ERROR_SUCCESS)
      << "the key is not named in Unicode";
  wchar_t text[64] = {};
  DWORD size = sizeof text;
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueExW(handle, L"Имя", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  RegCloseKey(handle);
  EXPECT_EQ(std::wstring(text), L"Текст ёлки");

  // Letter case of Cyrillic names does not count, as for ASCII ones.
  ASSERT_TRUE(store->OpenKey("\\\xCA\xCB\xDE\xD7", false));  // "КЛЮЧ"
  EXPECT_EQ(store->ReadString("\xE8\xCC\xDF"), "\xD2\xE5\xEA\xF1\xF2 \xB8\xEB\xEA\xE8");  // "иМЯ"
}

TEST_F(RegistryStoreTest, EveryByteOfAStringComesBack) {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, true));
  store->WriteString("Last0", bytes);
  EXPECT_EQ(store->ReadString("Last0"), bytes);
  store->WriteString(bytes.substr(0x80), "high");  // as a value name too
  EXPECT_EQ(store->ReadString(bytes.substr(0x80)), "high");
}

TEST_F(RegistryStoreTest, CharactersWithoutAByteReadAsQuestionMarks) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, true));
  HKEY handle = nullptr;
  ASSERT_EQ(
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, keys_.Path(StoreRoot::kLocalMachine, kProgram).c_str(), 0,
                    KEY_SET_VALUE, &handle),
      ERROR_SUCCESS);
  const std::wstring foreign = L"Ёж 日本";  // as another program may leave it
  RegSetValueExW(handle, L"FNM", 0, REG_SZ, reinterpret_cast<const BYTE*>(foreign.c_str()),
                 static_cast<DWORD>((foreign.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  EXPECT_EQ(store->ReadString("FNM"), "\xA8\xE6 ??");
}

TEST_F(RegistryStoreTest, AnEmptyStringIsStoredAsAValue) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, true));
  store->WriteString("Last3", "");
  EXPECT_EQ(QueryRaw(StoreRoot::kLocalMachine, kProgram, L"Last3").status, ERROR_SUCCESS);
}

TEST_F(RegistryStoreTest, RawBinaryValuesAreRegBinary) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, true));
  ASSERT_TRUE(store->Backend().WriteRaw(StoreRoot::kLocalMachine, kProgram, "FSZ", kStoreTypeBinary,
                                        std::string("\x0a\x00", 2)));
  EXPECT_EQ(QueryRaw(StoreRoot::kLocalMachine, kProgram, L"FSZ").type,
            static_cast<DWORD>(REG_BINARY));
}

TEST_F(RegistryStoreTest, TheUnnamedValueIsTheKeysDefault) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kVersion, true));
  store->WriteString("", "3.0");
  EXPECT_EQ(QueryRaw(StoreRoot::kLocalMachine, kVersion, L"").text, L"3.0");
}

TEST_F(RegistryStoreTest, DeletedValueIsGoneFromTheRegistry) {
  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, true));
  store->WriteString("Last0", "a");
  store->DeleteValue("LAST0");
  EXPECT_EQ(QueryRaw(StoreRoot::kLocalMachine, kProgram, L"Last0").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryStoreTest, ClassesRootIsHkeyClassesRoot) {
  auto store = NewAccessor();
  store->SetRoot(StoreRoot::kClassesRoot);
  ASSERT_TRUE(store->OpenKey("\\.ATT", true));
  store->WriteString("", "ATTfile");
  EXPECT_EQ(QueryRaw(StoreRoot::kClassesRoot, "\\.ATT", L"").text, L"ATTfile");
}

TEST_F(RegistryStoreTest, KeyThatRefusesWritesOpensReadOnly) {
  {
    auto store = NewAccessor();
    ASSERT_TRUE(store->OpenKey(kProgram, true));
    store->WriteString("FNM", "Arial Cyr");
  }
  MakeReadOnly(kProgram);

  auto store = NewAccessor();
  ASSERT_TRUE(store->OpenKey(kProgram, false));
  EXPECT_TRUE(store->CurrentKeyReadOnly());
  EXPECT_EQ(store->ReadString("FNM"), "Arial Cyr");
  EXPECT_EQ(StoreErrorOf([&] { store->WriteString("FNM", "Courier"); }),
            "Failed to set data for 'FNM'");
  EXPECT_EQ(StoreErrorOf([&] { store->WriteInteger("FSZ", 1); }), "Failed to set data for 'FSZ'");
  store->DeleteValue("FNM");
  EXPECT_EQ(store->ReadString("FNM"), "Arial Cyr");
  EXPECT_EQ(QueryRaw(StoreRoot::kLocalMachine, kProgram, L"FSZ").status, ERROR_FILE_NOT_FOUND);

  // Opening it with the create flag opens it all the same, for reading.
  ASSERT_TRUE(store->OpenKey("\\SOFTWARE", false));
  ASSERT_TRUE(store->OpenKey(kProgram, true));
  EXPECT_TRUE(store->CurrentKeyReadOnly());
}

}  // namespace
}  // namespace lirvane
