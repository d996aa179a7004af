// The built program run from a script: a copy of the executable beside its
// own scheme file, no display, results read from files, exit statuses and
// standard error.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "recode/line_breaks.h"
#include "recode/recode.h"
#include "recode/transforms.h"
#include "tests/support/file_contents.h"
#include "tests/support/plain_line_rules.h"
#include "tests/support/temporary_files.h"

namespace fs = std::filesystem;

namespace lirvane {
namespace {

using testing::Quote;
using testing::ReadFile;
using testing::TemporaryFilesOf;
using testing::WriteFile;

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
  // folder of its own. `environment` ("NAME=value ...") is added to that;
  // `redirect` is shell text after the command ("> out.txt").
  RunResult Run(const std::vector<std::string>& args, const std::string& environment = "",
                const std::string& redirect = "") {
    const int raw = std::system(Command(args, environment, redirect).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(work_ / "stderr.txt")};
  }

  std::string Command(const std::vector<std::string>& args, const std::string& environment = "",
                      const std::string& redirect = "", const std::string& errors = "stderr.txt") {
    std::string command =
        "cd " + Quote(work_.string()) +
        " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=" +
        Quote((work_ / "config").string()) + " " + environment + " " +
        Quote((folder_ / "lirvane").string());
    for (const std::string& a : args) command += " " + Quote(a);
    return command + " 2>" + Quote((work_ / errors).string()) + " " + redirect;
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
    // No scheme file, and nothing said about it: a code needs no schemes.
    EXPECT_EQ(r.errors, "") << code;
    EXPECT_EQ(ReadFile(work_ / "out.txt"), Recode(all, code) + "\r\n") << code;
  }
  // Nothing beside the program or in the settings: a conversion writes
  // only its target.
  EXPECT_FALSE(fs::exists(folder_ / "circuits.dat"));
  EXPECT_FALSE(fs::exists(work_ / "config" / "lirvane"));
  EXPECT_TRUE(TemporaryFilesOf(work_ / "out.txt").empty());
}

TEST_F(ExecutableTest, LineEndsAndEndOfFileByCode) {
  WriteFile(work_ / "in.txt",
            "a\rb\r\nc\nd\x1A"
            "after");
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
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.errors, "Ошибка в командной строке!\n");
  EXPECT_TRUE(TemporaryFilesOf(work_ / "").empty());
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

// Several MiB of varied text: letters of every code page, tags, runs of
// spaces and every kind of line break.
std::string LargeText(size_t size) {
  std::string text;
  uint32_t state = 12345;
  const char* pieces[] = {"<b>", "</b>", "   ", " ", "\r\n", "\r", "\n", "<a\r\nhref>", "  \r\n"};
  while (text.size() < size) {
    state = state * 1103515245 + 12345;
    const uint32_t pick = (state >> 16) % 16;
    if (pick < 9) {
      text += pieces[pick];
    } else {
      for (uint32_t n = 0; n < 3 + pick; ++n)
        text.push_back(static_cast<char>(0xC0 + (state >> (n % 8)) % 64));
    }
  }
  text.resize(size);
  return text;
}

// The boundaries the program reads its input at (pieces of 256 KiB), with
// what must not be cut there: a tag, a run of spaces, CR LF, a 0x1A.
std::string TextWithStraddledBoundaries() {
  const size_t piece = size_t{256} << 10;
  std::string text(4 * piece + 100, 'x');
  auto put = [&](size_t at, std::string_view what) { text.replace(at, what.size(), what); };
  put(piece - 2, "<tag>");       // a tag across the first boundary
  put(2 * piece - 3, "      ");  // a run of spaces across the second
  put(3 * piece - 1, "\r\n");    // CR at the end of one piece, LF at the start of the next
  put(4 * piece - 1,
      "\x1A"
      "after");
  return text;
}

TEST_F(ExecutableTest, LargeFilesByCodeSchemeAndKeyword) {
  WriteFile(folder_ / "circuits.dat", SchemeFile());
  const std::string text = LargeText(size_t{5} << 20);
  WriteFile(work_ / "in.txt", text);
  RunResult r = Run({"-conv:in.txt[-866]out.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(ReadFile(work_ / "out.txt") == testing::PlainLineByLine(text, -866));
  r = Run({"-conv:in.txt[Схема]out.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(ReadFile(work_ / "out.txt") == WinToAlt(KoiToWin(NormalizeLineBreaks(text))));
  // UTF-8 changes the length and has its characters cut where blocks meet.
  r = Run({"-conv:in.txt[-65001]utf8.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  const std::string utf8 = ReadFile(work_ / "utf8.txt");
  EXPECT_TRUE(utf8 == testing::PlainLineByLine(text, -65001));
  r = Run({"-conv:utf8.txt[65001]out.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(ReadFile(work_ / "out.txt") == testing::PlainLineByLine(utf8, 65001));
  for (const auto& [keyword, transform] :
       std::vector<std::pair<std::string, std::string (*)(std::string_view)>>{
           {"notags", DeleteTags},
           {"nospases", CollapseSpaces},
           {"uppercase", UpperCaseText},
           {"lowercase", LowerCaseText},
           {"lattocyr", LatToCyr},
           {"cyrtolat", CyrToLat}}) {
    r = Run({"-conv:in.txt[" + keyword + "]out.txt"});
    EXPECT_EQ(r.status, 0) << keyword << r.errors;
    EXPECT_TRUE(ReadFile(work_ / "out.txt") == transform(NormalizeLineBreaks(text))) << keyword;
  }
}

TEST_F(ExecutableTest, NothingIsCutWherePiecesMeet) {
  const std::string text = TextWithStraddledBoundaries();
  WriteFile(work_ / "in.txt", text);
  EXPECT_EQ(Run({"-conv:in.txt[0]out.txt"}).status, 0);
  EXPECT_TRUE(ReadFile(work_ / "out.txt") == testing::PlainLineByLine(text, 0));
  EXPECT_EQ(Run({"-conv:in.txt[notags]out.txt"}).status, 0);
  EXPECT_TRUE(ReadFile(work_ / "out.txt") == DeleteTags(NormalizeLineBreaks(text)));
  EXPECT_EQ(Run({"-conv:in.txt[nospases]out.txt"}).status, 0);
  EXPECT_TRUE(ReadFile(work_ / "out.txt") == CollapseSpaces(NormalizeLineBreaks(text)));
}

// Two runs into one target at once: each writes a whole text of its own,
// the target ends as one of them, and neither leaves a file behind.
TEST_F(ExecutableTest, TwoRunsIntoOneTargetAtOnce) {
  const std::string a = std::string(size_t{6} << 20, 'a') + "\r\n";
  const std::string b = std::string(size_t{6} << 20, 'b') + "\r\n";
  WriteFile(work_ / "a.txt", a);
  WriteFile(work_ / "b.txt", b);
  for (const char* what : {"0", "uppercase"}) {
    for (int round = 0; round < 3; ++round) {
      const std::string both =
          "( " + Command({std::string("-conv:a.txt[") + what + "]out.txt"}, "", "", "a.err") +
          "; echo $? > a.status ) & ( " +
          Command({std::string("-conv:b.txt[") + what + "]out.txt"}, "", "", "b.err") +
          "; echo $? > b.status ) & wait";
      ASSERT_EQ(std::system(("bash -c " + Quote(both)).c_str()), 0);
      EXPECT_EQ(ReadFile(work_ / "a.status"), "0\n") << ReadFile(work_ / "a.err");
      EXPECT_EQ(ReadFile(work_ / "b.status"), "0\n") << ReadFile(work_ / "b.err");
      const std::string out = ReadFile(work_ / "out.txt");
      const bool whole_a = out == (what[0] == '0' ? a : UpperCaseText(a));
      const bool whole_b = out == (what[0] == '0' ? b : UpperCaseText(b));
      EXPECT_TRUE(whole_a || whole_b) << what << ": " << out.size() << " bytes, mixed";
      EXPECT_TRUE(TemporaryFilesOf(work_ / "out.txt").empty());
    }
  }
}

TEST_F(ExecutableTest, ReplacedFileKeepsItsPermissions) {
  WriteFile(work_ / "in.txt", "\xC1");
  for (const char* what : {"8", "lowercase"}) {
    WriteFile(work_ / "private.txt", "old");
    fs::permissions(work_ / "private.txt", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Run({std::string("-conv:in.txt[") + what + "]private.txt"}).status, 0);
    EXPECT_EQ(fs::status(work_ / "private.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write)
        << what;
    EXPECT_NE(ReadFile(work_ / "private.txt"), "old");
  }
  // Owner and group carry over where the process may set them.
  if (geteuid() == 0) {
    ASSERT_EQ(chown((work_ / "private.txt").c_str(), 65534, 65534), 0);
    EXPECT_EQ(Run({"-conv:in.txt[8]private.txt"}).status, 0);
    struct stat st {};
    ASSERT_EQ(stat((work_ / "private.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
  }
  // A new target gets what any new file gets under the umask.
  EXPECT_EQ(Run({"-conv:in.txt[8]new.txt"}).status, 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(static_cast<mode_t>(fs::status(work_ / "new.txt").permissions()), 0666 & ~mask);
}

TEST_F(ExecutableTest, SymlinkTargetStaysALinkAndItsFileIsReplaced) {
  WriteFile(work_ / "in.txt", "\xC1");
  fs::create_directory(work_ / "real");
  WriteFile(work_ / "real" / "file.txt", "old");
  fs::create_symlink("real/file.txt", work_ / "link.txt");
  fs::create_symlink("link.txt", work_ / "link2.txt");  // a link to a link
  for (const char* what : {"8", "uppercase"}) {
    WriteFile(work_ / "real" / "file.txt", "old");
    EXPECT_EQ(Run({std::string("-conv:in.txt[") + what + "]link2.txt"}).status, 0) << what;
    EXPECT_TRUE(fs::is_symlink(work_ / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(work_ / "link2.txt"));
    EXPECT_EQ(ReadFile(work_ / "real" / "file.txt"), what[0] == '8' ? "\xE0\r\n" : "\xC1") << what;
    EXPECT_TRUE(TemporaryFilesOf(work_ / "real" / "file.txt").empty());
  }
  // A link to nothing yet: the file it names is made.
  fs::create_symlink("real/new.txt", work_ / "dangling.txt");
  EXPECT_EQ(Run({"-conv:in.txt[8]dangling.txt"}).status, 0);
  EXPECT_TRUE(fs::is_symlink(work_ / "dangling.txt"));
  EXPECT_EQ(ReadFile(work_ / "real" / "new.txt"), "\xE0\r\n");
}

TEST_F(ExecutableTest, FifoTargetIsWrittenInto) {
  WriteFile(work_ / "in.txt", "\xC1\r\n<b>\xC2</b>");
  ASSERT_EQ(mkfifo((work_ / "pipe").c_str(), 0600), 0);
  for (const char* what : {"8", "notags"}) {
    // The reader runs beside the program, as `less` would.
    const std::string command = "cat " + Quote((work_ / "pipe").string()) + " > " +
                                Quote((work_ / "read.txt").string()) + " & " +
                                Command({std::string("-conv:in.txt[") + what + "]pipe"}) +
                                "; status=$?; wait; exit $status";
    EXPECT_EQ(std::system(("bash -c " + Quote(command)).c_str()), 0) << what;
    EXPECT_EQ(ReadFile(work_ / "read.txt"),
              what[0] == '8' ? "\xE0\r\n<b>\xE1</b>\r\n" : "\xC1\r\n\xC2")
        << what;
    EXPECT_TRUE(fs::is_fifo(work_ / "pipe"));
  }
  EXPECT_TRUE(TemporaryFilesOf(work_ / "pipe").empty());
}

TEST_F(ExecutableTest, StandardOutputAsTarget) {
  WriteFile(work_ / "in.txt", "\xC1\r\n");
  // Into a pipe, as `lirvane '-conv:in.txt[8]/dev/stdout' | less` does.
  RunResult r = Run({"-conv:in.txt[8]/dev/stdout"}, "", "| cat > piped.txt");
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "piped.txt"), "\xE0\r\n");
  // Into a file the shell opened for appending: the file stays, its old
  // text too.
  WriteFile(work_ / "log.txt", "before\r\n");
  r = Run({"-conv:in.txt[lowercase]/dev/stdout"}, "", ">> log.txt");
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "log.txt"), "before\r\n\xE1\r\n");
  EXPECT_FALSE(fs::exists("/dev/stdout~tmp"));
}

TEST_F(ExecutableTest, DeviceTargetStaysADevice) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  WriteFile(work_ / "in.txt", "x");
  fs::create_symlink("/dev/full", work_ / "full");
  const RunResult r = Run({"-conv:in.txt[8]full"});
  EXPECT_EQ(r.status, 5);
  EXPECT_EQ(r.errors, "Cannot write \"full\": No space left on device\n");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  EXPECT_EQ(Run({"-conv:in.txt[8]/dev/null"}).status, 0);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// A conversion run maps no Qt library, with a display or without one; the
// dynamic loader lists every library it loads, those loaded later included.
TEST_F(ExecutableTest, ConversionLoadsNoQt) {
  WriteFile(folder_ / "circuits.dat", SchemeFile());
  WriteFile(work_ / "in.txt", "\xC1 <b>");
  for (const std::string display : {"", "QT_QPA_PLATFORM=offscreen", "DISPLAY=:99"}) {
    for (const char* what : {"8", "notags", "Схема"}) {
      const RunResult r =
          Run({std::string("-conv:in.txt[") + what + "]out.txt"}, "LD_DEBUG=libs " + display);
      EXPECT_EQ(r.status, 0) << what << " " << display;
      EXPECT_NE(r.errors.find("libc.so"), std::string::npos) << "no loader trace";
      EXPECT_EQ(r.errors.find("libQt"), std::string::npos) << what << " " << display;
    }
  }
}

TEST_F(ExecutableTest, OrdinaryStartWithoutADisplaySaysSo) {
  // No display named, or a local X display that is not there.
  for (const std::string environment : {"", "DISPLAY=:7351", "DISPLAY=unix:7351.0"}) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"file.txt"}, {"-fromautorun"}}) {
      const RunResult r = Run(args, environment);
      EXPECT_EQ(r.status, 6) << environment;
      EXPECT_EQ(r.errors,
                "lirvane: the window needs a display (DISPLAY or WAYLAND_DISPLAY), and there "
                "is none; -conv: conversions run without one\n");
    }
  }
}

// With a display named that is not there, the messages go to standard
// error as without one.
TEST_F(ExecutableTest, ConversionMessagesWithAnAbsentDisplayGoToStandardError) {
  const RunResult r = Run({"-conv:nothing.txt[8]out.txt"}, "DISPLAY=:7351");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.errors, "Исходный файл (nothing.txt) не найден!\n");
}

// Installed, the window part sits in a folder of its own below the
// libraries; the executable finds it there from its own folder. With it
// found, the window start runs (here: until it is stopped).
TEST_F(ExecutableTest, WindowPartFoundWhereItIsInstalled) {
  const fs::path bin = work_ / "prefix" / "bin";
  const fs::path lib = bin / LIRVANE_WINDOW_MODULE_DIR;
  fs::create_directories(bin);
  fs::create_directories(lib);
  fs::copy_file(folder_ / "lirvane", bin / "lirvane");
  fs::copy_file(LIRVANE_WINDOW_MODULE, lib / fs::path(LIRVANE_WINDOW_MODULE).filename());
  const std::string command =
      "cd " + Quote(work_.string()) + " && env -u DISPLAY -u WAYLAND_DISPLAY " +
      "QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=" + Quote((work_ / "config").string()) +
      " XDG_DATA_HOME=" + Quote((work_ / "data").string()) + " timeout 3 " +
      Quote((bin / "lirvane").string()) + " 2>/dev/null";
  const int raw = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 124) << "124: still running when stopped";
}

TEST_F(ExecutableTest, MissingWindowPartIsReported) {
  // The copy of the executable has no window part beside it.
  const RunResult r = Run({}, "QT_QPA_PLATFORM=offscreen");
  EXPECT_EQ(r.status, 7);
  EXPECT_EQ(r.errors.rfind("lirvane: cannot load the window part: ", 0), 0u) << r.errors;
}

}  // namespace
}  // namespace lirvane

namespace lirvane {
namespace {

// Russian prose written for this test (Windows-1251), long enough for any
// detector to be sure.
std::string RussianProse() {
  return Recode(
      "Вечером мы долго сидели у реки и говорили о том, как изменился город за "
      "последние годы. Старые дома снесли, на их месте выросли высокие башни из "
      "стекла, а маленький рынок, куда мы бегали за яблоками, превратился в "
      "торговый центр.\r\nНо набережная осталась прежней: те же скамейки, те же "
      "липы и тот же запах воды, который помнишь с детства.\r\n",
      65001);
}

TEST_F(ExecutableTest, AutoFindsTheChainAndWritesWinOrUtf8) {
  WriteFile(folder_ / "circuits.dat", "");  // no schemes, and no message about them
  const std::string win = RussianProse();
  WriteFile(work_ / "koi.txt", Recode(win, -8));
  RunResult r = Run({"-conv:koi.txt[auto]out.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "out.txt"), win);
  r = Run({"-conv:koi.txt[AutoUtf8]out.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "out.txt"), Recode(win, -65001));
  // Recoded into KOI8-R twice, and a UTF-8 file.
  WriteFile(work_ / "twice.txt", Recode(Recode(win, -8), -8));
  EXPECT_EQ(Run({"-conv:twice.txt[auto]twice.txt"}).status, 0);
  EXPECT_EQ(ReadFile(work_ / "twice.txt"), win);
  WriteFile(work_ / "utf8.txt", Recode(win, -65001));
  EXPECT_EQ(Run({"-conv:utf8.txt[auto]out.txt"}).status, 0);
  EXPECT_EQ(ReadFile(work_ / "out.txt"), win);
  EXPECT_TRUE(r.errors.empty()) << r.errors;
}

TEST_F(ExecutableTest, AutoDecidesOnTheStartAndAppliesToTheWhole) {
  // 3 MiB of DOS 866: far past the part the decision is made on.
  std::string win;
  while (win.size() < (size_t{3} << 20)) win += RussianProse();
  WriteFile(work_ / "alt.txt", Recode(win, -866));
  const RunResult r = Run({"-conv:alt.txt[auto]out.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(ReadFile(work_ / "out.txt") == win);
}

TEST_F(ExecutableTest, AutoWithNothingToJudgeCopiesAndSaysSo) {
  WriteFile(work_ / "in.txt", "Just some English text.\r\n");
  const RunResult r = Run({"-conv:in.txt[autoutf8]out.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ReadFile(work_ / "out.txt"), "Just some English text.\r\n");
  EXPECT_NE(r.errors.find("unchanged"), std::string::npos) << r.errors;
}

// Today's garbling: a UTF-8 file read as Windows-1251 and saved as UTF-8,
// with LF line ends; a correct file, run in place, stays byte for byte.
TEST_F(ExecutableTest, AutoRepairsUtf8ReadAsWindows1251AndKeepsLineEnds) {
  WriteFile(folder_ / "circuits.dat", "");
  const std::string utf8 = "Привет, мир!\nКак у тебя дела сегодня вечером?\n";
  std::string garbled;  // each UTF-8 byte read as its Windows-1251 character
  for (char c : utf8) {
    const std::string one(1, c);
    garbled += static_cast<uint8_t>(c) == 0x98 ? std::string("\xC2\x98") : Recode(one, -65001);
  }
  WriteFile(work_ / "garbled.txt", garbled);
  RunResult r = Run({"-conv:garbled.txt[autoutf8]garbled.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "garbled.txt"), utf8);

  const std::string correct = "Всё верно 😀, café\nи вторая строка без CR\n";
  WriteFile(work_ / "correct.txt", correct);
  r = Run({"-conv:correct.txt[autoutf8]correct.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "correct.txt"), correct);

  const std::string win = Recode("Один говорит:\"Я похлопочу\", а другой молчит.\n", 65001);
  WriteFile(work_ / "win.txt", win);
  r = Run({"-conv:win.txt[auto]win.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "win.txt"), win);
  WriteFile(work_ / "english.txt", "Plain English\nwith LF ends\n");
  EXPECT_EQ(Run({"-conv:english.txt[auto]english.txt"}).status, 0);
  EXPECT_EQ(ReadFile(work_ / "english.txt"), "Plain English\nwith LF ends\n");
}

TEST_F(ExecutableTest, AutoCountsCharactersWindows1251Lacks) {
  WriteFile(folder_ / "circuits.dat", "");
  WriteFile(work_ / "in.txt", "Привет 😀 и 中\n");
  const RunResult r = Run({"-conv:in.txt[auto]out.txt"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "out.txt"), Recode("Привет ? и ?\n", 65001));
  EXPECT_NE(r.errors.find("2 characters"), std::string::npos) << r.errors;
}

TEST_F(ExecutableTest, ASchemeNamedAutoComesFirst) {
  std::string scheme = "auto\r\n1\r\n8\r\nKOI-8-R\r\n866\r\nAlt-866\r\n";
  for (int i = 0; i < 4; ++i) scheme += "0\r\n\r\n0\r\n\r\n";
  WriteFile(folder_ / "circuits.dat", scheme);
  const std::string koi = Recode(RussianProse(), -8);
  WriteFile(work_ / "in.txt", koi);
  EXPECT_EQ(Run({"-conv:in.txt[auto]out.txt"}).status, 0);
  EXPECT_EQ(ReadFile(work_ / "out.txt"), WinToAlt(KoiToWin(koi)));
}

}  // namespace
}  // namespace lirvane
