// The command-line conversion as a Windows user starts it: lirvane.exe
// copied into a folder with Cyrillic letters and blanks in its name, its
// scheme file beside it, started through CreateProcessW with a UTF-16
// command line, in a folder of its own.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "schemes/custom_code.h"
#include "schemes/scheme_file.h"

namespace lirvane {
namespace {

namespace fs = std::filesystem;

fs::path OwnFolder() {
  wchar_t own[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  return fs::path(own).parent_path();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Windows' own tables as the reference: Windows-1251 bytes through UTF-16.
std::string Windows1251ToUtf8(const std::string& bytes) {
  std::wstring wide(bytes.size(), L'\0');
  wide.resize(MultiByteToWideChar(1251, 0, bytes.data(), static_cast<int>(bytes.size()),
                                  wide.data(), static_cast<int>(wide.size())));
  std::string utf8(wide.size() * 3, '\0');
  utf8.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                  utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr));
  return utf8;
}

struct RunResult {
  DWORD exit_code = 0xFFFFFFFF;
  std::string messages;  // standard error, UTF-8
};

// "привет" in KOI8-R and in Windows-1251.
const std::string kKoi = "\xD0\xD2\xC9\xD7\xC5\xD4";
const std::string kWin = "\xEF\xF0\xE8\xE2\xE5\xF2";

class ConversionExecutableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    root_ = fs::temp_directory_path() / ("lirvane-exe-" + std::to_string(random()));
    program_folder_ = root_ / L"Лирвана и схемы";
    work_ = root_ / L"Рабочая папка";
    fs::create_directories(program_folder_);
    fs::create_directories(work_);
    fs::copy_file(OwnFolder() / L"lirvane.exe", program_folder_ / L"lirvane.exe");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // `arguments` as typed after the program's name, quotes and all.
  RunResult Run(const std::wstring& arguments) {
    RunResult result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return result;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    std::wstring command =
        L"\"" + (program_folder_ / L"lirvane.exe").wstring() + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        work_.c_str(), &startup, &process);
    CloseHandle(write_end);
    if (started) {
      char buffer[4096];
      DWORD got = 0;
      while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0)
        result.messages.append(buffer, got);
      WaitForSingleObject(process.hProcess, 60000);
      GetExitCodeProcess(process.hProcess, &result.exit_code);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
    CloseHandle(read_end);
    EXPECT_TRUE(started) << "cannot start lirvane.exe";
    return result;
  }

  fs::path root_, program_folder_, work_;
};

TEST_F(ConversionExecutableTest, ByCode) {
  WriteBytes(work_ / L"in.txt", kKoi + "\r\n" + kKoi);
  const RunResult run = Run(L"-conv:in.txt[8]out.txt");
  EXPECT_EQ(run.exit_code, 0u) << run.messages;
  EXPECT_EQ(ReadBytes(work_ / L"out.txt"), kWin + "\r\n" + kWin + "\r\n");
  EXPECT_FALSE(fs::exists(work_ / L"out.txt~tmp"));
}

TEST_F(ConversionExecutableTest, Utf8ByCodeBothWays) {
  std::string text = kWin + "\r\n\xA8\xB8 ";  // Ё ё
  for (int b = 0xC0; b <= 0xFF; ++b) text.push_back(static_cast<char>(b));
  text += "\r\nLatin 123\r\n";
  WriteBytes(work_ / L"win.txt", text);

  RunResult run = Run(L"-conv:win.txt[-65001]utf8.txt");
  EXPECT_EQ(run.exit_code, 0u) << run.messages;
  const std::string utf8 = ReadBytes(work_ / L"utf8.txt");
  EXPECT_EQ(utf8.substr(0, 12), "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");  // привет
  EXPECT_EQ(utf8, Windows1251ToUtf8(text));

  run = Run(L"-conv:utf8.txt[65001]back.txt");
  EXPECT_EQ(run.exit_code, 0u) << run.messages;
  EXPECT_EQ(ReadBytes(work_ / L"back.txt"), text);
}

TEST_F(ConversionExecutableTest, IntoTheSameFile) {
  WriteBytes(work_ / L"a.txt", kKoi);
  EXPECT_EQ(Run(L"-CONV:a.txt[8]a.txt").exit_code, 0u);
  EXPECT_EQ(ReadBytes(work_ / L"a.txt"), kWin + "\r\n");
  EXPECT_EQ(Run(L"-conv:a.txt[notags]a.txt").exit_code, 0u);
  EXPECT_EQ(ReadBytes(work_ / L"a.txt"), kWin + "\r\n");
}

TEST_F(ConversionExecutableTest, RussianSchemeNameFromTheCommandLine) {
  TCustomCode scheme;
  scheme.Name = "\xC8\xE7 \xCA\xCE\xC8";  // "Из КОИ"
  scheme.Count = 1;
  scheme.From1 = 8;
  scheme.FromName1 = "KOI8-R";
  scheme.To1 = 1251;
  scheme.ToName1 = "Windows-1251";
  WriteBytes(program_folder_ / "circuits.dat", FormatSchemeLines(scheme));
  WriteBytes(work_ / L"in.txt", kKoi);

  // Typed in other letter case, and with the blank outside quotes, so the
  // name arrives in two arguments that are joined again.
  const RunResult run = Run(L"-conv:in.txt[из кои]out.txt");
  EXPECT_EQ(run.exit_code, 0u) << run.messages;
  EXPECT_EQ(ReadBytes(work_ / L"out.txt").substr(0, kWin.size()), kWin);
}

TEST_F(ConversionExecutableTest, ByKeyword) {
  WriteBytes(work_ / L"page.htm", "<b>" + kWin + "</b>");
  const RunResult run = Run(L"\"-conv:page.htm[NoTags]page.txt\"");
  EXPECT_EQ(run.exit_code, 0u) << run.messages;
  EXPECT_EQ(ReadBytes(work_ / L"page.txt").substr(0, kWin.size()), kWin);
}

TEST_F(ConversionExecutableTest, FileNamesWithCyrillicLettersAndBlanks) {
  WriteBytes(work_ / L"Письмо от Ани.txt", kKoi);
  // Quoted as one argument, and unquoted as several that are joined again.
  RunResult run = Run(L"\"-conv:Письмо от Ани.txt[8]Ответ Ане.txt\"");
  EXPECT_EQ(run.exit_code, 0u) << run.messages;
  EXPECT_EQ(ReadBytes(work_ / L"Ответ Ане.txt"), kWin + "\r\n");

  run = Run(L"-conv:Письмо от Ани.txt[-866]Ещё ответ.txt");
  EXPECT_EQ(run.exit_code, 0u) << run.messages;
  EXPECT_TRUE(fs::exists(work_ / L"Ещё ответ.txt"));
}

TEST_F(ConversionExecutableTest, MissingSourceIsNamedInTheMessage) {
  const RunResult run = Run(L"-conv:Нет такого.txt[8]out.txt");
  EXPECT_NE(run.messages.find("Исходный файл (Нет такого.txt) не найден!"), std::string::npos)
      << run.messages;
  EXPECT_FALSE(fs::exists(work_ / L"out.txt"));
}

}  // namespace
}  // namespace lirvane
