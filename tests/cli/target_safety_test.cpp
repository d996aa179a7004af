// The built program writing its target as safely as the shell's `>`: what
// another user plants in a shared folder, files the caller may not write,
// loops, folders, hard links, extended attributes, signals mid-run, and
// sources that are no regular file. The cases with another user need root
// (as in CI): the other user is uid 65534, whose files root makes with
// chown, and runs as that user go through setpriv.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/file_contents.h"
#include "tests/support/temporary_files.h"

namespace fs = std::filesystem;

namespace lirvane {
namespace {

using testing::Quote;
using testing::ReadFile;
using testing::TemporaryFilesOf;
using testing::WriteFile;

constexpr uid_t kOtherUser = 65534;

bool IsRoot() { return ::geteuid() == 0; }

uid_t OwnerOf(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_uid : static_cast<uid_t>(-1);
}

struct RunResult {
  int status;
  std::string errors;
};

class TargetSafetyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* built = std::getenv("LIRVANE_BINARY");
    ASSERT_NE(built, nullptr);
    std::string pattern = (fs::temp_directory_path() / "lirvane-safety-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    // Another user runs the program and reaches the test folders too.
    ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);
    fs::copy_file(built, folder_ / "lirvane");
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  void SetUp() override {
    work_ = folder_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(work_);
    ASSERT_EQ(::chmod(work_.c_str(), 0755), 0);
    WriteFile(work_ / "in.txt", "\xC1\r\n<b>\xC2</b>");
  }

  // The command line of a run in the test's folder, without a display;
  // `as` names another user to run it as.
  std::string Command(const std::vector<std::string>& args, uid_t as = 0,
                      const std::string& errors = "stderr.txt") {
    std::string command = "cd " + Quote(work_.string()) + " && exec ";
    if (as != 0) {
      const std::string id = std::to_string(as);
      command += "setpriv --reuid=" + id + " --regid=" + id + " --clear-groups ";
    }
    command += "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=" +
               Quote((work_ / "config").string()) + " timeout 20 " +
               Quote((folder_ / "lirvane").string());
    for (const std::string& a : args) command += " " + Quote(a);
    return command + " 2>" + Quote((work_ / errors).string());
  }

  RunResult Run(const std::vector<std::string>& args, uid_t as = 0,
                const std::string& before = "") {
    fs::remove(work_ / "stderr.txt");
    const int raw = std::system((before + "( " + Command(args, as) + " )").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(work_ / "stderr.txt")};
  }

  static fs::path folder_;
  fs::path work_;
};

fs::path TargetSafetyTest::folder_;

// Root converting into a sticky folder everyone may write (a /tmp of its
// own), where another user planted links, a FIFO and a file of hers: each
// is refused, whatever fs.protected_* say, and nothing is written anywhere.
TEST_F(TargetSafetyTest, AnotherUsersLinksFifosAndFilesInASharedFolderAreRefused) {
  if (!IsRoot()) GTEST_SKIP() << "needs root to plant another user's files";
  const fs::path shared = work_ / "shared";
  fs::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  WriteFile(work_ / "victim.txt", "secret");
  fs::create_symlink(work_ / "victim.txt", shared / "link");
  fs::create_symlink(work_ / "created.txt", shared / "dangling");
  ASSERT_EQ(::mkfifo((shared / "fifo").c_str(), 0644), 0);
  WriteFile(shared / "file", "hers");
  ASSERT_EQ(::chmod((shared / "file").c_str(), 0666), 0);
  fs::create_directory(work_ / "elsewhere");
  fs::create_symlink(work_ / "elsewhere", shared / "folder");  // a link on the way
  for (const char* name : {"link", "dangling", "fifo", "file", "folder"})
    ASSERT_EQ(::lchown((shared / name).c_str(), kOtherUser, kOtherUser), 0) << name;

  const std::vector<std::pair<std::string, std::string>> cases{
      {"link", "это ссылка другого пользователя в общей папке"},
      {"dangling", "это ссылка другого пользователя в общей папке"},
      {"fifo", "это FIFO другого пользователя в общей папке"},
      {"file", "это файл другого пользователя в общей папке"},
      {"folder/out.txt", "это ссылка другого пользователя в общей папке"}};
  for (const auto& [name, reason] : cases) {
    for (const char* what : {"8", "notags"}) {
      const std::string target = "shared/" + name;
      const RunResult r = Run({std::string("-conv:in.txt[") + what + "]" + target});
      EXPECT_EQ(r.status, 8) << name << " " << what;
      EXPECT_EQ(r.errors, "Невозможно создать файл \"" + target + "\": " + reason + "!\n");
    }
  }
  EXPECT_EQ(ReadFile(work_ / "victim.txt"), "secret");
  EXPECT_FALSE(fs::exists(work_ / "created.txt"));
  EXPECT_TRUE(fs::is_empty(work_ / "elsewhere"));
  EXPECT_EQ(ReadFile(shared / "file"), "hers");
  EXPECT_EQ(OwnerOf(shared / "file"), kOtherUser);
  EXPECT_TRUE(fs::is_symlink(shared / "link"));
  EXPECT_TRUE(fs::is_fifo(shared / "fifo"));
  for (const char* name : {"link", "dangling", "fifo", "file", "victim.txt", "created.txt"}) {
    EXPECT_TRUE(TemporaryFilesOf(shared / name).empty()) << name;
    EXPECT_TRUE(TemporaryFilesOf(work_ / name).empty()) << name;
  }
}

// What the kernel trusts is followed: the caller's own link, and a link of
// the shared folder's owner.
TEST_F(TargetSafetyTest, OwnLinksAndTheFolderOwnersLinksAreFollowed) {
  if (!IsRoot()) GTEST_SKIP() << "needs root to make another user's folder";
  const fs::path shared = work_ / "shared";
  fs::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  fs::create_symlink(work_ / "mine.txt", shared / "mine");
  EXPECT_EQ(Run({"-conv:in.txt[8]shared/mine"}).status, 0);
  EXPECT_EQ(ReadFile(work_ / "mine.txt"), "\xE0\r\n<b>\xE1</b>\r\n");
  EXPECT_TRUE(fs::is_symlink(shared / "mine"));

  const fs::path hers = work_ / "hers";
  fs::create_directory(hers);
  ASSERT_EQ(::chmod(hers.c_str(), 01777), 0);
  ASSERT_EQ(::chown(hers.c_str(), kOtherUser, kOtherUser), 0);
  fs::create_symlink(work_ / "followed.txt", hers / "link");
  ASSERT_EQ(::lchown((hers / "link").c_str(), kOtherUser, kOtherUser), 0);
  const RunResult r = Run({"-conv:in.txt[notags]hers/link"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(work_ / "followed.txt"), "\xC1\r\n\xC2");
}

// Only a file the caller could open for writing is replaced, as with
// `iconv > file`: her own read-only file, and root's file in her folder.
TEST_F(TargetSafetyTest, OnlyAFileTheCallerMayWriteIsReplaced) {
  const uid_t as = IsRoot() ? kOtherUser : 0;
  const fs::path hers = work_ / "hers";
  fs::create_directory(hers);
  WriteFile(hers / "readonly.txt", "old");
  ASSERT_EQ(::chmod((hers / "readonly.txt").c_str(), 0444), 0);
  if (IsRoot()) {
    WriteFile(hers / "roots.txt", "root's");  // root's, 0644
    ASSERT_EQ(::chown(hers.c_str(), as, as), 0);
    ASSERT_EQ(::chown((hers / "readonly.txt").c_str(), as, as), 0);
  }
  for (const char* what : {"8", "uppercase"}) {
    RunResult r = Run({std::string("-conv:in.txt[") + what + "]hers/readonly.txt"}, as);
    EXPECT_EQ(r.status, 3) << what;
    EXPECT_EQ(r.errors, "Невозможно создать файл \"hers/readonly.txt\": нет прав на запись!\n");
    EXPECT_EQ(ReadFile(hers / "readonly.txt"), "old");
    if (!IsRoot()) continue;
    r = Run({std::string("-conv:in.txt[") + what + "]hers/roots.txt"}, as);
    EXPECT_EQ(r.status, 3) << what;
    EXPECT_EQ(ReadFile(hers / "roots.txt"), "root's");
    EXPECT_EQ(OwnerOf(hers / "roots.txt"), 0u);
  }
  EXPECT_TRUE(TemporaryFilesOf(hers / "readonly.txt").empty());
  EXPECT_TRUE(TemporaryFilesOf(hers / "roots.txt").empty());
  if (!IsRoot()) return;
  // Root's file that she may write is written, and stays root's.
  WriteFile(hers / "shared.txt", "old");
  ASSERT_EQ(::chmod((hers / "shared.txt").c_str(), 0666), 0);
  const RunResult r = Run({"-conv:in.txt[8]hers/shared.txt"}, as);
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(hers / "shared.txt"), "\xE0\r\n<b>\xE1</b>\r\n");
  EXPECT_EQ(OwnerOf(hers / "shared.txt"), 0u);
  EXPECT_TRUE(TemporaryFilesOf(hers / "shared.txt").empty());
}

// A folder the caller may not write, holding a file she may: the file is
// written in place, as `>` would, since no temporary file can be made.
TEST_F(TargetSafetyTest, WritableFileInAFolderThatIsNotIsWrittenInPlace) {
  const uid_t as = IsRoot() ? kOtherUser : 0;
  const fs::path closed = work_ / "closed";
  fs::create_directory(closed);
  WriteFile(closed / "file.txt", "a rather longer old text");
  if (IsRoot()) {
    ASSERT_EQ(::chown((closed / "file.txt").c_str(), as, as), 0);
  }
  ASSERT_EQ(::chmod(closed.c_str(), 0555), 0);
  const auto inode = [&] {
    struct stat st {};
    ::stat((closed / "file.txt").c_str(), &st);
    return st.st_ino;
  };
  const ino_t before = inode();
  RunResult r = Run({"-conv:in.txt[8]closed/file.txt"}, as);
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(closed / "file.txt"), "\xE0\r\n<b>\xE1</b>\r\n");
  r = Run({"-conv:closed/file.txt[uppercase]closed/file.txt"}, as);  // into itself
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(ReadFile(closed / "file.txt"), "\xC0\r\n<B>\xC1</B>\r\n");
  EXPECT_EQ(inode(), before);
  EXPECT_TRUE(TemporaryFilesOf(closed / "file.txt").empty());
  ASSERT_EQ(::chmod(closed.c_str(), 0755), 0);
}

TEST_F(TargetSafetyTest, LoopOfLinksFails) {
  fs::create_symlink("b", work_ / "a");
  fs::create_symlink("a", work_ / "b");
  for (const char* what : {"8", "notags"}) {
    const RunResult r = Run({std::string("-conv:in.txt[") + what + "]a"});
    EXPECT_EQ(r.status, 3) << what;
    EXPECT_EQ(r.errors, "Невозможно создать файл \"a\": ссылки замкнуты в круг!\n");
  }
  EXPECT_TRUE(fs::is_symlink(work_ / "a"));
  EXPECT_TRUE(fs::is_symlink(work_ / "b"));
  EXPECT_TRUE(TemporaryFilesOf(work_ / "a").empty());
  EXPECT_TRUE(TemporaryFilesOf(work_ / "b").empty());
}

// A folder or no name at all as the target: refused before anything is
// made, beside it or in it.
TEST_F(TargetSafetyTest, FolderOrEmptyTargetLeavesNoFile) {
  fs::create_directory(work_ / "dir");
  for (const char* what : {"8", "notags"}) {
    RunResult r = Run({std::string("-conv:in.txt[") + what + "]dir"});
    EXPECT_EQ(r.status, 3) << what;
    EXPECT_EQ(r.errors, "Невозможно создать файл \"dir\": это папка!\n");
    r = Run({std::string("-conv:in.txt[") + what + "]"});
    EXPECT_EQ(r.status, 2) << what;
    EXPECT_EQ(r.errors, "Ошибка в командной строке!\n");
  }
  EXPECT_TRUE(fs::is_empty(work_ / "dir"));
  EXPECT_TRUE(TemporaryFilesOf(work_ / "dir").empty());
  EXPECT_TRUE(TemporaryFilesOf(work_ / "").empty());
}

// Ended by a signal while the text is being written (the source, a FIFO,
// is still open): the temporary file goes, and the signal ends the process.
TEST_F(TargetSafetyTest, SignalMidRunLeavesNoTemporaryFile) {
  ASSERT_EQ(::mkfifo((work_ / "source").c_str(), 0600), 0);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    for (const char* what : {"8", "notags"}) {
      const std::string command = Command({std::string("-conv:source[") + what + "]out.txt"});
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        // As from a terminal: the signals at their defaults, even where
        // the test runner ignores one.
        for (int s : {SIGINT, SIGTERM, SIGHUP}) ::signal(s, SIG_DFL);
        // Not through `timeout`, which would take the signal itself.
        std::string direct = command;
        direct.replace(direct.find(" timeout 20 "), 12, " ");
        ::execl("/bin/sh", "sh", "-c", direct.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
      }
      // The program opens the FIFO for reading; until then there is no
      // reader (a program that never opens it must not hang the test).
      int writer = -1;
      for (int i = 0; i < 2000 && writer < 0; ++i) {
        writer = ::open((work_ / "source").c_str(), O_WRONLY | O_NONBLOCK);
        if (writer < 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      EXPECT_GE(writer, 0) << "the program never read its source";
      if (writer >= 0) {
        EXPECT_EQ(::write(writer, "\xC1\r\n", 3), 3);
      }
      bool seen = false;
      for (int i = 0; i < 2000 && !seen; ++i) {
        seen = !TemporaryFilesOf(work_ / "out.txt").empty();
        if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      EXPECT_TRUE(seen) << "no temporary file while running";
      ASSERT_EQ(::kill(child, signal), 0);
      int raw = 0;
      ASSERT_EQ(::waitpid(child, &raw, 0), child);
      if (writer >= 0) ::close(writer);
      EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == signal) << signal << " " << raw;
      EXPECT_TRUE(TemporaryFilesOf(work_ / "out.txt").empty()) << signal << " " << what;
      EXPECT_FALSE(fs::exists(work_ / "out.txt"));
    }
  }
}

// A hard-linked target is written in place, so that every name shows the
// new text (as after `>`); extended attributes stay with a replaced file.
TEST_F(TargetSafetyTest, HardLinksShareTheNewTextAndAttributesStay) {
  for (const char* what : {"8", "notags"}) {
    WriteFile(work_ / "one.txt", "old");
    fs::remove(work_ / "two.txt");
    fs::create_hard_link(work_ / "one.txt", work_ / "two.txt");
    const RunResult r = Run({std::string("-conv:in.txt[") + what + "]one.txt"});
    EXPECT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(ReadFile(work_ / "two.txt"), ReadFile(work_ / "one.txt")) << what;
    EXPECT_NE(ReadFile(work_ / "two.txt"), "old") << what;
    EXPECT_EQ(fs::hard_link_count(work_ / "one.txt"), 2u);
  }
  WriteFile(work_ / "tagged.txt", "old");
  if (::setxattr((work_ / "tagged.txt").c_str(), "user.lirvane", "kept", 4, 0) != 0)
    GTEST_SKIP() << "no user attributes here: " << std::strerror(errno);
  for (const char* what : {"8", "notags"}) {
    EXPECT_EQ(Run({std::string("-conv:in.txt[") + what + "]tagged.txt"}).status, 0);
    char value[16] = {};
    EXPECT_EQ(::getxattr((work_ / "tagged.txt").c_str(), "user.lirvane", value, sizeof value), 4)
        << what;
    EXPECT_STREQ(value, "kept");
    EXPECT_NE(ReadFile(work_ / "tagged.txt"), "old");
  }
}

// A FIFO and a pipe on standard input are sources like any file.
TEST_F(TargetSafetyTest, FifoAndPipeAsSource) {
  ASSERT_EQ(::mkfifo((work_ / "source").c_str(), 0600), 0);
  for (const char* what : {"8", "notags"}) {
    RunResult r = Run({std::string("-conv:source[") + what + "]out.txt"}, 0,
                      "timeout 10 sh -c " +
                          Quote("printf '\\301<i>\\r\\n' > " + Quote((work_ / "source").string())) +
                          " >/dev/null 2>&1 & ");
    EXPECT_EQ(r.status, 0) << what << r.errors;
    EXPECT_EQ(ReadFile(work_ / "out.txt"), what[0] == '8' ? "\xE0<i>\r\n" : "\xC1\r\n");
    r = Run({std::string("-conv:/dev/stdin[") + what + "]piped.txt"}, 0,
            "printf '\\302<i>\\r\\n' | ");
    EXPECT_EQ(r.status, 0) << what << r.errors;
    EXPECT_EQ(ReadFile(work_ / "piped.txt"), what[0] == '8' ? "\xE1<i>\r\n" : "\xC2\r\n");
  }
}

// Keywords need no scheme file, and its absence is no news.
TEST_F(TargetSafetyTest, KeywordRunWithoutASchemeFileSaysNothing) {
  ASSERT_FALSE(fs::exists(folder_ / "circuits.dat"));
  for (const char* what :
       {"notags", "nospases", "uppercase", "lowercase", "lattocyr", "cyrtolat"}) {
    const RunResult r = Run({std::string("-conv:in.txt[") + what + "]out.txt"});
    EXPECT_EQ(r.status, 0) << what;
    EXPECT_EQ(r.errors, "") << what;
  }
  const RunResult r = Run({"-conv:in.txt[nothing]out.txt"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.errors, "Ошибка в командной строке!\n");
}

}  // namespace
}  // namespace lirvane
