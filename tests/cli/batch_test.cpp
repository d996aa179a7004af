// The folder commands run through the built program on a tree of every kind
// of file: what --check says of each, what --fix changes and what it keeps
// (bytes, times, modes, line ends, links), and the faults met on the way.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "recode/code_pages.h"
#include "recode/recode.h"
#include "recode/utf8_recode.h"
#include "tests/support/file_contents.h"

namespace fs = std::filesystem;

namespace lirvane {
namespace {

using testing::Quote;
using testing::ReadFile;
using testing::WriteFile;

const std::string kRussian =
    "Осенний лес стоял тихо, и только ветер шевелил последние жёлтые листья.\n"
    "Мы шли по узкой тропинке к реке, где старый мельник когда-то держал лодку.\n"
    "Вода была холодной и прозрачной, а на том берегу уже горели огни деревни.\n";

const std::string kLookalike = "Один говорит:\"Я похлопочу\"\n";

std::string InPage(const std::string& utf8, int32_t code) {
  return Recode(Utf8ToWin(utf8), code);  // code: from Windows-1251 into the page
}
// UTF-8 text read as Windows-1251 and saved as UTF-8 again.
std::string Utf8ReadAs1251(const std::string& utf8) { return WinToUtf8(utf8); }
// Bytes read in a page (undefined bytes as the C1 control or Latin-1
// character of the same value, as browsers read them) and saved as UTF-8.
std::string ReadAs(const std::string& bytes, CodePageId page) {
  return U32ToUtf8(*DecodeText(bytes, page));
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string errors;
};

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* built = std::getenv("LIRVANE_BINARY");
    ASSERT_NE(built, nullptr);
    binary_ = built;
    std::string pattern = (fs::temp_directory_path() / "lirvane-batch-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    work_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(work_, ignored);
  }

  std::string Command(const std::vector<std::string>& args) const {
    std::string command = "cd " + Quote(work_.string()) + " && " + Quote(binary_);
    for (const std::string& a : args) command += " " + Quote(a);
    return command + " >out.txt 2>err.txt";
  }

  Outcome Lirvane(const std::vector<std::string>& args) {
    const int raw = std::system(Command(args).c_str());
    Outcome run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(work_ / "out.txt"),
                ReadFile(work_ / "err.txt")};
    fs::remove(work_ / "out.txt");
    fs::remove(work_ / "err.txt");
    return run;
  }

  // The tree and what --check must say of each file.
  std::map<std::string, std::string> MakeTree() {
    const fs::path t = work_ / "tree";
    std::map<std::string, std::string> expected;
    const auto put = [&](const std::string& name, const std::string& content,
                         const std::string& verdict) {
      WriteFile(t / name, content);
      expected["tree/" + name] = verdict;
    };
    put("utf8.txt", kRussian, "ok utf-8");
    put("ascii.txt", "plain English\n", "ok ascii");
    put("empty.txt", "", "ok ascii");
    put("cp1251.txt", Utf8ToWin(kRussian), "ok windows-1251");
    put("old/koi8.txt", InPage(kRussian, -8), "ok koi8-r");
    put("old/dos.txt", InPage(kRussian, -866), "ok cp866");
    put("old/crlf.koi", InPage("Строка первая, в ней русские слова.\r\nИ вторая строка.\r\n", -8),
        "ok koi8-r");
    put("garbled/utf8-as-1251.txt", Utf8ReadAs1251(kRussian), "fix utf-8>windows-1251");
    // A KOI8-R file whose text was read as Windows-1251 and saved as KOI8-R,
    // twice.
    put("garbled/twice.txt", Recode(Recode(InPage(kRussian, -8), -8), -8),
        "fix koi8-r>windows-1251*2");
    put("garbled/koi-as-1251.txt", WinToUtf8(InPage(kRussian, -8)), "fix koi8-r>windows-1251");
    // Koi->Win run on a right Windows-1251 text keeps its ё: named by what
    // was done, though undone exactly by a longer chain.
    put("garbled/koi-win-on-1251.txt",
        Recode(Utf8ToWin("Он ушёл домой, не попрощавшись, и долго шёл один по тёмной улице.\n"), 8),
        "fix windows-1251>koi8-r");
    // The same saved as UTF-8 (the window shows it so).
    put("garbled/koi-win-on-1251-utf8.txt",
        WinToUtf8(Recode(
            Utf8ToWin(
                "Он сказал: «Приходите завтра» — и ушёл домой, в дом № 5, не попрощавшись.\n"),
            8)),
        "fix windows-1251>koi8-r");
    put("garbled/utf8-twice.txt", Utf8ReadAs1251(Utf8ReadAs1251(kRussian)),
        "fix utf-8>windows-1251*2");
    put("mixed.txt", kRussian + Utf8ToWin(kRussian), "mixed 3/6");
    put("emoji.txt", "Привет 😀, это текст с картинкой и ещё немного слов.\n", "ok utf-8");
    put("image.bin", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + std::string(64, '\0'),
        "binary");
    put("short.txt", Utf8ToWin("Да\n"), "unknown");
    // Read as Mac Cyrillic, a right text changes in "Я" alone: no repair.
    put("mac-lookalike.txt", kLookalike, "ok utf-8");
    put("mac-lookalike-1251.txt", Utf8ToWin(kLookalike), "ok windows-1251");
    return expected;
  }

  static std::map<std::string, std::string> Lines(const std::string& out) {
    std::map<std::string, std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
      const size_t tab = line.find('\t');
      if (tab != std::string::npos) lines[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return lines;
  }

  // Every file under the folder, with its bytes.
  std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> all;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (entry.is_regular_file()) all[entry.path().string()] = ReadFile(entry.path());
    return all;
  }

  std::string binary_;
  fs::path work_;
};

TEST_F(BatchTest, CheckSaysWhatEachFileIs) {
  const auto expected = MakeTree();
  Outcome r = Lirvane({"--check", "-r", "tree"});
  EXPECT_EQ(r.status, 1) << r.errors;
  EXPECT_EQ(Lines(r.out), expected);
  EXPECT_EQ(r.errors, "19 files: 10 ok, 7 to fix, 1 binary, 1 unknown\n");
  // One worker gives the same lines in the same order.
  const Outcome one = Lirvane({"--check", "--jobs", "1", "-r", "tree"});
  EXPECT_EQ(one.out, r.out);

  r = Lirvane({"--check", "tree/utf8.txt", "tree/ascii.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "tree/utf8.txt\tok utf-8\ntree/ascii.txt\tok ascii\n");
  EXPECT_EQ(r.errors, "2 files: 2 ok\n");
}

TEST_F(BatchTest, CheckOnWhatCannotBeRead) {
  MakeTree();
  Outcome r = Lirvane({"--check", "tree", "no-such.txt", "tree/utf8.txt"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out,
            "tree\terror is a folder (-r works through folders)\n"
            "no-such.txt\terror No such file or directory\n"
            "tree/utf8.txt\tok utf-8\n");
  EXPECT_EQ(r.errors, "3 files: 1 ok, 2 errors\n");
  // A file whose reading fails after it was opened.
  r = Lirvane({"--check", "/proc/self/mem", "tree/ascii.txt"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "/proc/self/mem\terror Input/output error\ntree/ascii.txt\tok ascii\n");
  // The command line itself.
  EXPECT_EQ(Lirvane({"--check"}).status, 2);
  EXPECT_EQ(Lirvane({"--check", "--to=utf-8", "tree"}).status, 2);
  EXPECT_EQ(Lirvane({"--fix", "--to=koi8-r", "tree"}).errors,
            "lirvane: --to= takes utf-8 or windows-1251, not \"koi8-r\"\n");
}

TEST_F(BatchTest, FixRepairsAndLeavesTheRestAsItWas) {
  const auto expected = MakeTree();
  fs::permissions(work_ / "tree/old/koi8.txt", fs::perms(0640));
  const fs::file_time_type long_ago = fs::file_time_type::clock::now() - std::chrono::hours(100);
  for (const auto& [name, verdict] : expected) fs::last_write_time(work_ / name, long_ago);
  const auto before = Contents(work_ / "tree");

  Outcome r = Lirvane({"--fix", "-r", "--dry-run", "tree"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Contents(work_ / "tree"), before);
  EXPECT_EQ(Lines(r.out).size(), 12u) << r.out;

  r = Lirvane({"--fix", "-r", "tree"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(r.errors, "19 files: 5 ok, 12 fixed, 1 binary, 1 unknown\n");
  const auto lines = Lines(r.out);
  EXPECT_EQ(lines.size(), 12u) << r.out;
  EXPECT_EQ(lines.at("tree/garbled/twice.txt"), "fixed fix koi8-r>windows-1251*2");
  EXPECT_EQ(lines.at("tree/old/dos.txt"), "fixed ok cp866");

  for (const char* name :
       {"cp1251.txt", "old/koi8.txt", "old/dos.txt", "garbled/twice.txt",
        "garbled/utf8-as-1251.txt", "garbled/koi-as-1251.txt", "garbled/utf8-twice.txt"})
    EXPECT_EQ(ReadFile(work_ / "tree" / name), kRussian) << name;
  EXPECT_EQ(ReadFile(work_ / "tree/mixed.txt"), kRussian + kRussian);
  EXPECT_EQ(ReadFile(work_ / "tree/garbled/koi-win-on-1251.txt"),
            "Он ушёл домой, не попрощавшись, и долго шёл один по тёмной улице.\n");
  EXPECT_EQ(ReadFile(work_ / "tree/garbled/koi-win-on-1251-utf8.txt"),
            "Он сказал: «Приходите завтра» — и ушёл домой, в дом № 5, не попрощавшись.\n");
  EXPECT_EQ(ReadFile(work_ / "tree/mac-lookalike-1251.txt"), kLookalike);
  EXPECT_EQ(ReadFile(work_ / "tree/old/crlf.koi"),
            "Строка первая, в ней русские слова.\r\nИ вторая строка.\r\n");
  // Untouched: the same bytes and the same time.
  for (const char* name : {"utf8.txt", "ascii.txt", "empty.txt", "emoji.txt", "image.bin",
                           "short.txt", "mac-lookalike.txt"}) {
    const std::string path = (work_ / "tree" / name).string();
    EXPECT_EQ(ReadFile(path), before.at(path)) << name;
    EXPECT_EQ(fs::last_write_time(path), long_ago) << name;
  }
  EXPECT_EQ(fs::status(work_ / "tree/old/koi8.txt").permissions(), fs::perms(0640));
  EXPECT_NE(fs::last_write_time(work_ / "tree/old/koi8.txt"), long_ago);
  for (const auto& [path, content] : Contents(work_ / "tree"))
    EXPECT_EQ(path.find("~tmp"), std::string::npos) << path;

  // Everything is right now.
  r = Lirvane({"--check", "-r", "tree"});
  EXPECT_EQ(r.status, 0) << r.out;
}

// Files longer than the pieces they are read and repaired in: a single
// line of several MiB (cut between two characters) and many short lines.
TEST_F(BatchTest, LargeFilesAcrossPieces) {
  std::string line;
  while (line.size() < (size_t{3} << 20)) line += "Привет, мир! Это очень длинная строка. ";
  const std::string lines = [] {
    std::string text;
    while (text.size() < (size_t{3} << 20)) text += kRussian;
    return text;
  }();
  WriteFile(work_ / "l/one-line.txt", Utf8ReadAs1251(line));
  WriteFile(work_ / "l/lines.koi", InPage(lines, -8));
  WriteFile(work_ / "l/appended.txt", lines + Utf8ToWin(kRussian));
  // A NUL far past the judged head, in whole lines of UTF-8.
  std::string with_nul = lines;
  with_nul[with_nul.size() - 100] = '\0';
  WriteFile(work_ / "l/nul.txt", with_nul);
  Outcome r = Lirvane({"--check", "-r", "l"});
  EXPECT_EQ(r.out, "l/appended.txt\tmixed 3/" +
                       std::to_string(std::count(lines.begin(), lines.end(), '\n') + 3) +
                       "\nl/lines.koi\tok koi8-r\nl/nul.txt\tbinary\n"
                       "l/one-line.txt\tfix utf-8>windows-1251\n");
  fs::remove(work_ / "l/nul.txt");
  r = Lirvane({"--fix", "-r", "l"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(ReadFile(work_ / "l/one-line.txt") == line);
  EXPECT_TRUE(ReadFile(work_ / "l/lines.koi") == lines);
  EXPECT_TRUE(ReadFile(work_ / "l/appended.txt") == lines + kRussian);
}

TEST_F(BatchTest, FixIntoWindows1251NeverLosesUnlessAsked) {
  WriteFile(work_ / "emoji.txt", "Привет 😀, это текст с картинкой и ещё немного слов.\n");
  WriteFile(work_ / "plain.txt", kRussian);
  Outcome r = Lirvane({"--fix", "--to=windows-1251", "emoji.txt", "plain.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(
      r.out,
      "emoji.txt\tleft ok utf-8, the repair would lose or change characters (--lossy allows it)\n"
      "plain.txt\tfixed ok utf-8\n");
  EXPECT_EQ(ReadFile(work_ / "plain.txt"), Utf8ToWin(kRussian));
  r = Lirvane({"--fix", "--to=windows-1251", "--lossy", "emoji.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ReadFile(work_ / "emoji.txt"),
            Utf8ToWin("Привет ?, это текст с картинкой и ещё немного слов.\n"));
}

// Today's garblings of UTF-8 files: Western and KOI8-R readings, a file
// pieced together from right and garbled lines, a byte-order mark, CR LF.
TEST_F(BatchTest, GarbledUtf8FilesOfToday) {
  const std::string kWestern = "Привет, как дела? Всё хорошо, спасибо. Пишу тебе из дома.\n";
  const std::string kAccents = "Привет 😀, кафе «café» стоит 5 €, а это ещё немного слов.\n";
  std::string kFrench;
  for (int i = 0; i < 12; ++i)
    kFrench += "Très près de là, après la fête, on a vu à droite du lac un élève très âgé.\n";
  const std::map<std::string, std::pair<std::string, std::string>> files = {
      // name: content, verdict
      {"m/mixed.txt", {kRussian + Utf8ReadAs1251(kRussian) + kRussian, "mixed 3/9"}},
      // One line of a right text read from KOI8-R as Windows-1251.
      {"m/one-koi-line.txt",
       {kRussian + kRussian + WinToUtf8(InPage("Мы шли к реке, где старый мельник жил.\n", -8)) +
            kRussian,
        "mixed 1/10"}},
      {"m/as-1252.txt", {ReadAs(kWestern, CodePageId::kWin1252), "fix utf-8>windows-1252"}},
      {"m/1251-as-1252.txt",
       {ReadAs(Utf8ToWin(kRussian), CodePageId::kWin1252), "fix windows-1251>windows-1252"}},
      {"m/as-koi8.txt", {ReadAs(kRussian, CodePageId::kKoi8R), "fix utf-8>koi8-r"}},
      {"m/as-866.txt", {ReadAs(kRussian, CodePageId::kDos866), "fix utf-8>cp866"}},
      {"m/accents.txt", {kAccents + kRussian + kAccents, "ok utf-8"}},
      {"m/french.txt", {kFrench, "ok utf-8"}},
      // One line of a right text with 😀 and é read as Windows-1252.
      {"m/one-1252-line.txt",
       {kAccents + kRussian +
            ReadAs("Мы шли к реке, где старый мельник жил.\n", CodePageId::kWin1252),
        "mixed 1/5"}},
      {"m/bom.txt", {"\xEF\xBB\xBF" + Utf8ReadAs1251(kRussian), "fix utf-8>windows-1251"}},
      {"m/crlf.txt",
       {Utf8ReadAs1251("Первая строка, и в ней слова.\r\nВторая строка.\r\n"),
        "fix utf-8>windows-1251"}},
  };
  std::map<std::string, std::string> expected;
  for (const auto& [name, file] : files) {
    WriteFile(work_ / name, file.first);
    expected[name] = file.second;
  }
  const fs::file_time_type long_ago = fs::file_time_type::clock::now() - std::chrono::hours(100);
  fs::last_write_time(work_ / "m/accents.txt", long_ago);

  Outcome r = Lirvane({"--check", "-r", "m"});
  EXPECT_EQ(Lines(r.out), expected);
  r = Lirvane({"--fix", "-r", "m"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.errors, "11 files: 2 ok, 9 fixed\n");
  // The right lines of the mixed file are as they were, byte for byte.
  EXPECT_EQ(ReadFile(work_ / "m/mixed.txt"), kRussian + kRussian + kRussian);
  EXPECT_EQ(ReadFile(work_ / "m/one-koi-line.txt"),
            kRussian + kRussian + "Мы шли к реке, где старый мельник жил.\n" + kRussian);
  EXPECT_EQ(ReadFile(work_ / "m/as-1252.txt"), kWestern);
  for (const char* name : {"m/1251-as-1252.txt", "m/as-koi8.txt", "m/as-866.txt"})
    EXPECT_EQ(ReadFile(work_ / name), kRussian) << name;
  EXPECT_EQ(ReadFile(work_ / "m/bom.txt"), "\xEF\xBB\xBF" + kRussian);
  EXPECT_EQ(ReadFile(work_ / "m/crlf.txt"), "Первая строка, и в ней слова.\r\nВторая строка.\r\n");
  EXPECT_EQ(ReadFile(work_ / "m/accents.txt"), kAccents + kRussian + kAccents);
  EXPECT_EQ(ReadFile(work_ / "m/one-1252-line.txt"),
            kAccents + kRussian + "Мы шли к реке, где старый мельник жил.\n");
  EXPECT_EQ(fs::last_write_time(work_ / "m/accents.txt"), long_ago);
  EXPECT_EQ(ReadFile(work_ / "m/french.txt"), kFrench);

  // Into Windows-1251 the byte-order mark goes: that page has none.
  WriteFile(work_ / "bom.txt", "\xEF\xBB\xBF" + Utf8ReadAs1251(kRussian));
  r = Lirvane({"--fix", "--to=windows-1251", "bom.txt"});
  EXPECT_EQ(r.out, "bom.txt\tfixed fix utf-8>windows-1251\n");
  EXPECT_EQ(ReadFile(work_ / "bom.txt"), Utf8ToWin(kRussian));
}

// A garbled file whose repair holds a character Windows-1251 lacks.
TEST_F(BatchTest, RepairIntoWindows1251LosingACharacterIsRefused) {
  const std::string text = "Привет 😀, это текст с картинкой и ещё немного слов.\n" + kRussian;
  const std::string garbled = Utf8ReadAs1251(text);
  WriteFile(work_ / "emoji.txt", garbled);
  Outcome r = Lirvane({"--fix", "--to=windows-1251", "emoji.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "emoji.txt\tleft fix utf-8>windows-1251, the repair would lose or change characters "
            "(--lossy allows it)\n");
  EXPECT_EQ(ReadFile(work_ / "emoji.txt"), garbled);
  r = Lirvane({"--fix", "--to=windows-1251", "--lossy", "emoji.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "emoji.txt\tfixed fix utf-8>windows-1251\n");
  EXPECT_EQ(ReadFile(work_ / "emoji.txt"),
            Utf8ToWin("Привет ?, это текст с картинкой и ещё немного слов.\n" + kRussian));
  // Into UTF-8 nothing is lost.
  WriteFile(work_ / "emoji.txt", garbled);
  r = Lirvane({"--fix", "emoji.txt"});
  EXPECT_EQ(ReadFile(work_ / "emoji.txt"), text);
}

TEST_F(BatchTest, TimesLinksAndFilesThatAreNoFiles) {
  WriteFile(work_ / "a/koi.txt", InPage(kRussian, -8));
  WriteFile(work_ / "a/linked.txt", InPage(kRussian, -8));
  fs::create_hard_link(work_ / "a/linked.txt", work_ / "second-name.txt");
  fs::create_symlink("koi.txt", work_ / "a/link-to-koi.txt");
  ASSERT_EQ(mkfifo((work_ / "a/fifo").c_str(), 0600), 0);
  WriteFile(work_ / "b/koi.txt", InPage(kRussian, -8));
  fs::create_symlink("b/koi.txt", work_ / "named-link.txt");
  const fs::file_time_type long_ago = fs::file_time_type::clock::now() - std::chrono::hours(100);
  fs::last_write_time(work_ / "a/koi.txt", long_ago);
  const bool attributes = setxattr((work_ / "a/koi.txt").c_str(), "user.note", "kept", 4, 0) == 0;

  Outcome r = Lirvane({"--fix", "--keep-time", "-r", "a", "named-link.txt"});
  EXPECT_EQ(r.status, 1) << r.errors;
  // The link and the FIFO inside the folder are passed over; the link named
  // is followed and stays a link.
  EXPECT_EQ(r.out,
            "a/koi.txt\tfixed ok koi8-r\n"
            "a/linked.txt\tleft ok koi8-r, the file has 2 names (hard links)\n"
            "named-link.txt\tfixed ok koi8-r\n");
  EXPECT_EQ(ReadFile(work_ / "a/koi.txt"), kRussian);
  EXPECT_EQ(fs::last_write_time(work_ / "a/koi.txt"), long_ago);
  if (attributes) {
    char value[8] = {};
    EXPECT_EQ(getxattr((work_ / "a/koi.txt").c_str(), "user.note", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
  }
  EXPECT_EQ(ReadFile(work_ / "a/linked.txt"), InPage(kRussian, -8));
  EXPECT_TRUE(fs::is_symlink(work_ / "named-link.txt"));
  EXPECT_EQ(ReadFile(work_ / "b/koi.txt"), kRussian);
}

TEST_F(BatchTest, NamesAfterContentsNeverOverwriting) {
  const std::string report = "Отчёт за октябрь";
  WriteFile(work_ / "n" / (InPage(report, -866) + ".txt"), "a\n");    // from a ZIP made on Windows
  WriteFile(work_ / "n" / (Utf8ReadAs1251(report) + ".doc"), "b\n");  // UTF-8 read as 1251
  WriteFile(work_ / "n" / (InPage("Новая папка", -8)) / "x.txt", "c\n");
  WriteFile(work_ / "n" / (Utf8ReadAs1251(report) + ".txt"), "d\n");  // its name is taken
  WriteFile(work_ / "n" / (report + ".txt.keep"), "");
  WriteFile(work_ / "n/readme.txt", "e\n");
  // A name whose repair is longer than a name may be.
  std::string long_name;
  for (int i = 0; i < 10; ++i) long_name += report + " ";
  WriteFile(work_ / "n" / (InPage(long_name, -866) + ".txt"), "f\n");

  Outcome r = Lirvane({"--fix", "--names", "--dry-run", "-r", "n"});
  EXPECT_EQ(r.status, 1);
  const size_t planned = Lines(r.out).size();
  EXPECT_GE(planned, 4u) << r.out;

  r = Lirvane({"--fix", "--names", "-r", "n"});
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_EQ(ReadFile(work_ / "n" / (report + ".txt")), "a\n") << r.out;
  EXPECT_EQ(ReadFile(work_ / "n" / (report + ".doc")), "b\n");
  EXPECT_EQ(ReadFile(work_ / "n/Новая папка/x.txt"), "c\n");
  EXPECT_EQ(ReadFile(work_ / "n" / (Utf8ReadAs1251(report) + ".txt")), "d\n");
  EXPECT_EQ(ReadFile(work_ / "n/readme.txt"), "e\n");
  const auto lines = Lines(r.out);
  EXPECT_EQ(lines.at("n/" + Utf8ReadAs1251(report) + ".txt"),
            "left name fix utf-8>windows-1251, the name n/" + report + ".txt is taken");
  size_t errors = 0;
  for (const auto& [path, text] : lines) errors += text.starts_with("error cannot rename");
  EXPECT_EQ(errors, 1u) << r.out;
  EXPECT_EQ(r.errors, "7 files: 7 ok; names: 3 renamed, 1 left alone, 1 error\n");
}

TEST_F(BatchTest, FullDiskLeavesTheFileWhole) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  const fs::path small = work_ / "small";
  fs::create_directories(small);
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no tmpfs here";
  // Two files of 24 KiB in 64 KiB: the first repair fits, the second does
  // not (its UTF-8 takes twice the bytes).
  std::string koi;
  while (koi.size() < 24 * 1024) koi += InPage(kRussian, -8);
  WriteFile(small / "a.txt", InPage("Короткий русский текст для проверки.\n", -8));
  WriteFile(small / "b.txt", koi);
  const Outcome r = Lirvane({"--fix", "-r", "small"});
  const std::string b = ReadFile(small / "b.txt");
  const auto names = Contents(small);
  umount(small.c_str());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("small/a.txt\tfixed ok koi8-r\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("small/b.txt\terror Cannot write"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("No space left on device"), std::string::npos) << r.out;
  EXPECT_EQ(b, koi);
  EXPECT_EQ(names.size(), 2u);  // no temporary file left
}

// Starts the program on its own and returns its process id.
pid_t Start(const fs::path& folder, const std::string& command) {
  const std::string exec = "exec " + command.substr(command.find("&& ") + 3);
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(folder.c_str()) == 0)
      execl("/bin/sh", "sh", "-c", exec.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return child;
}

int ExitStatusOf(pid_t child) {
  int raw = 0;
  waitpid(child, &raw, 0);
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST_F(BatchTest, FileVanishingMidRunIsNotBroughtBack) {
  std::string koi;
  const std::string line = InPage(kRussian, -8);
  while (koi.size() < (size_t{64} << 20)) koi += line;
  WriteFile(work_ / "v/a.txt", koi);
  WriteFile(work_ / "v/b.txt", line);
  const pid_t child = Start(work_, Command({"--fix", "--jobs", "1", "-r", "v"}));
  ASSERT_GT(child, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  fs::remove(work_ / "v/a.txt");
  EXPECT_EQ(ExitStatusOf(child), 2);
  EXPECT_EQ(ReadFile(work_ / "out.txt"),
            "v/a.txt\terror the file disappeared while it was being repaired\n"
            "v/b.txt\tfixed ok koi8-r\n");
  EXPECT_EQ(Contents(work_ / "v").size(), 1u);  // b.txt alone: no temporary file
}

TEST_F(BatchTest, InterruptedRunLeavesNothingHalfDone) {
  std::string koi;
  const std::string line = InPage(kRussian, -8);
  while (koi.size() < (size_t{48} << 20)) koi += line;
  WriteFile(work_ / "big/a.txt", koi);
  WriteFile(work_ / "big/b.txt", koi);
  const pid_t child = Start(work_, Command({"--fix", "--jobs", "1", "-r", "big"}));
  ASSERT_GT(child, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  kill(child, SIGINT);
  EXPECT_EQ(ExitStatusOf(child), 130);
  EXPECT_NE(ReadFile(work_ / "err.txt").find("interrupted"), std::string::npos);
  // Each file is its old text or its new one; the second was never begun.
  const std::string a = ReadFile(work_ / "big/a.txt");
  EXPECT_TRUE(a == koi || a == WinToUtf8(KoiToWin(koi))) << a.size();
  EXPECT_EQ(ReadFile(work_ / "big/b.txt"), koi);
  EXPECT_EQ(Contents(work_ / "big").size(), 2u);
}

}  // namespace
}  // namespace lirvane
