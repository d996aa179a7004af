// The built program run from a script: a copy of the executable beside its
// own scheme file, no display, results read from files, exit statuses and
// standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "recode/recode.h"

namespace fs = std::filesystem;

namespace lirvane {
namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct RunResult {
  int status;
  std::string errors;
};

class ExecutableTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* built = std::getenv("LIRVANE_BINARY");
    ASSERT_NE(built, nullptr);
    std::string pattern = (fs::temp_directory_path() / "lirvane-cli-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    fs::copy_file(built, folder_ / "lirvane");
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  void SetUp() override {
    work_ = folder_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(work_);
    fs::remove(folder_ / "circuits.dat");
  }

  // Runs the program in the test's folder with no display and a settings
  // folder of its own.
  RunResult Run(const std::vector<std::string>& args) {
    std::string command = "cd " + Quote(work_.string()) +
                          " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=" +
                          Quote((work_ / "config").string()) + " " + Quote((folder_ / "lirvane").string());
    for (const std::string& a : args) command += " " + Quote(a);
    command += " 2>" + Quote((work_ / "stderr.txt").string());
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(work_ / "stderr.txt")};
  }

  static fs::path folder_;
  fs::path work_;
};

fs::path ExecutableTest::folder_;

// One scheme, named "Схема" in Windows-1251: KOI-8-R to Alt-866.
std::string SchemeFile() {
  std::string lines = "\xD1\xF5\xE5\xEC\xE0\r\n1\r\n8\r\nKOI-8-R\r\n866\r\nAlt-866\r\n";
  for (int i = 0; i < 4; ++i) lines += "0\r\n\r\n0\r\n\r\n";
  return lines;
}

TEST_F(ExecutableTest, EveryCodeOnEveryByteWithoutADisplay) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n' && b != 0x1A) all.push_back(static_cast<char>(b));
  WriteFile(work_ / "in.txt", all);
  for (int code : {8, -8, 866, -866, 595, -595, 111, -111}) {
    const RunResult r = Run({"-conv:in.txt[" + std::to_string(code) + "]out.txt"});
    EXPECT_EQ(r.status, 0) << code << r.errors;
    EXPECT_EQ(ReadFile(work_ / "out.txt"), Recode(all, code) + "\r\n") << code;
  }
  // Nothing beside the program or in the settings: a conversion writes
  // only its target.
  EXPECT_FALSE(fs::exists(folder_ / "circuits.dat"));
  EXPECT_FALSE(fs::exists(work_ / "config" / "lirvane"));
  EXPECT_FALSE(fs::exists(work_ / "out.txt~tmp"));
}

TEST_F(ExecutableTest, LineEndsAndEndOfFileByCode) {
  WriteFile(work_ / "in.txt", "a\rb\r\nc\nd\x1A" "after");
  EXPECT_EQ(Run({"-CONV:in.txt[0]out.txt"}).status, 0);
  EXPECT_EQ(ReadFile(work_ / "out.txt"), "a\r\nb\r\nc\nd\r\n");
  WriteFile(work_ / "empty.txt", "");
  EXPECT_EQ(Run({"-Conv:empty.txt[1251]out.txt"}).status, 0);
  EXPECT_EQ(ReadFile(work_ / "out.txt"), "");
}

TEST_F(ExecutableTest, FailuresSayWhatAndExitNonZero) {
  WriteFile(folder_ / "circuits.dat", SchemeFile());
  WriteFile(work_ / "in.txt", "x");
  RunResult r = Run({"-conv:nothing.txt[8]out.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.errors, "Исходный файл (nothing.txt) не найден!\n");
  r = Run({"-conv:in.txt[8"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.errors, "Ошибка в командной строке!\n");
  r = Run({"-conv:in.txt[8]"});  // an empty target name
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.errors, "Error rename \"~tmp\" to \"\"\n");
  r = Run({"-conv:in.txt[8]no/such/folder/out.txt"});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.errors, "Невозможно создать файл \"no/such/folder/out.txt\"!\n");
  r = Run({"-conv:in.txt[Новая схема]out.txt"});  // the work record, without rules
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.errors, "Условия не заданы\nОшибка в командной строке!\n");
  EXPECT_FALSE(fs::exists(work_ / "out.txt"));
}

TEST_F(ExecutableTest, SchemesAndKeywordsByName) {
  WriteFile(folder_ / "circuits.dat", SchemeFile());
  const std::string koi = "\xF0\xD2\xC9\xD7\xC5\xD4\r\n<b>x</b>";
  WriteFile(work_ / "in.txt", koi);
  // A Russian scheme name typed in a UTF-8 terminal, in another case.
  RunResult r = Run({"-conv:in.txt[СХЕМА]out.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "out.txt"), WinToAlt(KoiToWin(koi)));
  r = Run({"-conv:in.txt[NOTAGS]in.txt"});  // in place
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "in.txt"), "\xF0\xD2\xC9\xD7\xC5\xD4\r\nx");
  // Split arguments are joined with blanks, which then belong to the names.
  WriteFile(work_ / "in.txt ", "a  b");
  r = Run({"-conv:in.txt", "[nospases]", "out.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / " out.txt"), "a b");
}

TEST_F(ExecutableTest, SameFileInPlaceByCode) {
  WriteFile(work_ / "a.txt", "\xC1\xC2\xD7\r\n");
  EXPECT_EQ(Run({"-conv:a.txt[8]a.txt"}).status, 0);
  EXPECT_EQ(ReadFile(work_ / "a.txt"), "\xE0\xE1\xE2\r\n");
}

}  // namespace
}  // namespace lirvane
