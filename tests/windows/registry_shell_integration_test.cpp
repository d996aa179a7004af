// The shell verbs, the ".ATT" association and the autorun value written
// into the real registry (under keys of the test's own) and read back
// through the registry API.
#include <windows.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/store/store_accessor.h"
#include "platform/shell/windows_shell_integration.h"
#include "tests/windows/registry_test_keys.h"

namespace lirvane {
namespace {

using testing::RegistryTestKeys;

constexpr char kExe[] = "C:\\Lirvane\\lirvane.exe";

class RegistryShellTest : public ::testing::Test {
 protected:
  RegistryShellTest() : store_(keys_.Backend()) {}

  struct Value {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = 0;
    std::wstring text;
  };
  Value Query(StoreRoot root, const std::string& key, const wchar_t* name = L"") {
    Value value;
    HKEY handle = nullptr;
    value.status =
        RegOpenKeyExW(root == StoreRoot::kClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE,
                      keys_.Path(root, key).c_str(), 0, KEY_QUERY_VALUE, &handle);
    if (value.status != ERROR_SUCCESS) return value;
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    value.status =
        RegQueryValueExW(handle, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(handle);
    value.text = data;
    return value;
  }
  std::wstring Text(StoreRoot root, const std::string& key, const wchar_t* name = L"") {
    const Value value = Query(root, key, name);
    if (value.status != ERROR_SUCCESS) return L"<none>";
    if (value.type != REG_SZ) return L"<not REG_SZ>";
    return value.text;
  }

  void MakeRunKey() {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                              keys_.Path(StoreRoot::kLocalMachine, std::string(kRunKey)).c_str(), 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(handle);
  }

  RegistryTestKeys keys_;
  StoreAccessor store_;
};

TEST_F(RegistryShellTest, ShellVerbsForTextAndHtmlFiles) {
  WindowsShellIntegration shell(store_, kExe);
  shell.WriteShellVerbs();
  EXPECT_EQ(Text(StoreRoot::kClassesRoot, "\\txtfile\\shell\\Lirvane\\command"),
            L"C:\\Lirvane\\lirvane.exe \"%1\"");
  EXPECT_EQ(Text(StoreRoot::kClassesRoot, "\\htmlfile\\shell\\Lirvane\\command"),
            L"C:\\Lirvane\\lirvane.exe \"%1\"");
  // The verb key itself has no value, so the menu shows the key's name.
  EXPECT_EQ(Query(StoreRoot::kClassesRoot, "\\txtfile\\shell\\Lirvane").status,
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Query(StoreRoot::kLocalMachine, "\\txtfile").status, ERROR_FILE_NOT_FOUND)
      << "nothing lands under the machine root";
  EXPECT_EQ(store_.Root(), StoreRoot::kLocalMachine);

  WindowsShellIntegration moved(store_, "D:\\Tools\\lirvane.exe");
  moved.WriteShellVerbs();
  EXPECT_EQ(Text(StoreRoot::kClassesRoot, std::string(kTxtVerbKey)),
            L"D:\\Tools\\lirvane.exe \"%1\"");
}

TEST_F(RegistryShellTest, CyrillicAndBlanksInTheExecutablePath) {
  // "C:\Программы\Лирвана\lirvane.exe" in the store's Windows-1251.
  WindowsShellIntegration shell(
      store_,
      "C:\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB\\\xCB\xE8\xF0\xE2\xE0\xED\xE0 2\\lirvane.exe");
  shell.WriteShellVerbs();
  EXPECT_EQ(Text(StoreRoot::kClassesRoot, std::string(kHtmlVerbKey)),
            L"\"C:\\Программы\\Лирвана 2\\lirvane.exe\" \"%1\"");
}

TEST_F(RegistryShellTest, AttAssociation) {
  WindowsShellIntegration shell(store_, kExe);
  shell.WriteAttAssociation();
  EXPECT_EQ(Text(StoreRoot::kClassesRoot, "\\.ATT"), L"ATTfile");
  EXPECT_EQ(Text(StoreRoot::kClassesRoot, "\\.att"), L"ATTfile") << "keys ignore letter case";
  EXPECT_EQ(Text(StoreRoot::kClassesRoot, "\\ATTfile\\shell\\open\\command"),
            L"C:\\Lirvane\\lirvane.exe \"%1\"");
}

TEST_F(RegistryShellTest, AutorunNeedsTheRunKeyAndNeverMakesIt) {
  WindowsShellIntegration shell(store_, kExe);
  EXPECT_EQ(shell.SwitchAutorun(true), AutorunSwitch::kRunKeyUnavailable);
  EXPECT_FALSE(shell.AutorunEnabled());
  EXPECT_EQ(Query(StoreRoot::kLocalMachine, std::string(kRunKey)).status, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryShellTest, AutorunValueWrittenAndRemoved) {
  MakeRunKey();
  WindowsShellIntegration shell(store_, kExe);
  EXPECT_FALSE(shell.AutorunEnabled());

  EXPECT_EQ(shell.SwitchAutorun(true), AutorunSwitch::kSwitched);
  EXPECT_EQ(Text(StoreRoot::kLocalMachine, std::string(kRunKey), L"Velkor Lirvane"),
            L"C:\\Lirvane\\lirvane.exe -fromautorun");
  EXPECT_TRUE(shell.AutorunEnabled());

  EXPECT_EQ(shell.SwitchAutorun(false), AutorunSwitch::kSwitched);
  EXPECT_EQ(Query(StoreRoot::kLocalMachine, std::string(kRunKey), L"Velkor Lirvane").status,
            ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(shell.AutorunEnabled());
  EXPECT_EQ(shell.SwitchAutorun(false), AutorunSwitch::kSwitched) << "nothing to remove is fine";
}

TEST_F(RegistryShellTest, AutorunOfAnotherCopyOrKindAsTheMarkShowsIt) {
  MakeRunKey();
  HKEY run = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                          keys_.Path(StoreRoot::kLocalMachine, std::string(kRunKey)).c_str(), 0,
                          KEY_SET_VALUE, &run),
            ERROR_SUCCESS);
  const std::wstring other = L"D:\\Old\\lirvane.exe -fromautorun";
  RegSetValueExW(run, L"Velkor Lirvane", 0, REG_SZ, reinterpret_cast<const BYTE*>(other.c_str()),
                 static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
  WindowsShellIntegration shell(store_, kExe);
  EXPECT_TRUE(shell.AutorunEnabled()) << "any copy's entry ticks the mark";

  const DWORD number = 1;
  RegSetValueExW(run, L"Velkor Lirvane", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof number);
  RegCloseKey(run);
  EXPECT_FALSE(shell.AutorunEnabled()) << "a value of another kind unticks it";
}

TEST_F(RegistryShellTest, RunningProgramWritesItsOwnPath) {
  auto shell = MakeShellIntegration(store_);
  shell->WriteShellVerbs();

  wchar_t own[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, own, MAX_PATH), 0u);
  std::wstring expected = own;
  if (expected.find(L' ') != std::wstring::npos) expected = L"\"" + expected + L"\"";
  EXPECT_EQ(Text(StoreRoot::kClassesRoot, std::string(kTxtVerbKey)), expected + L" \"%1\"");
}

}  // namespace
}  // namespace lirvane
