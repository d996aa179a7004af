// The built program asked to end by a signal (a session ending, `kill`,
// Ctrl+C in its terminal) closes as Файл → Выход does: settings and schemes
// written, status 0.
#include <gtest/gtest.h>

#ifdef __linux__
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "platform/store/sqlite_store_backend.h"
#include "platform/store/store_accessor.h"
#include "tests/support/temp_xdg_homes.h"

namespace lirvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Whether `pid` has its own handler for `signal_number` (the SigCgt mask in
// /proc): the program is then far enough to take the signal as a request.
bool Catches(pid_t pid, int signal_number) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigCgt:", 0) != 0) continue;
    const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
    return (mask >> (signal_number - 1)) & 1;
  }
  return false;
}

class QuitSignalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A copy of the program in a folder of its own, so that the scheme file
    // it writes beside itself is this test's.
    const fs::path built = std::getenv("LIRVANE_BINARY");
    folder_ = xdg_.Data().parent_path() / "program";
    fs::create_directories(folder_);
    for (const char* name : {"lirvane", "liblirvane-window.so", "lirvane.html"})
      if (fs::exists(built.parent_path() / name))
        fs::copy_file(built.parent_path() / name, folder_ / name);
  }

  // Starts the program, waits until it takes `signal_number`, sends it
  // after `settle` and returns the wait status.
  int RunAndSignal(int signal_number, std::chrono::milliseconds settle = 0ms) {
    const pid_t pid = fork();
    if (pid == 0) {
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      const std::string program = (folder_ / "lirvane").string();
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    EXPECT_GT(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!Catches(pid, signal_number) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(settle);
    kill(pid, signal_number);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline + 30s) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "the program did not end";
        break;
      }
      std::this_thread::sleep_for(10ms);
    }
    return status;
  }

  // The version value is written by every save of the settings.
  std::string StoredVersion() {
    StoreAccessor store(std::make_unique<SqliteStoreBackend>(xdg_.DatabaseFile()));
    store.SetRoot(StoreRoot::kLocalMachine);
    if (!store.OpenKey("\\SOFTWARE\\Velkor\\Lirvane\\Version", false)) return {};
    try {
      return store.ReadString("");
    } catch (const std::exception&) {
      return {};
    }
  }
  void ForgetVersion() {
    StoreAccessor store(std::make_unique<SqliteStoreBackend>(xdg_.DatabaseFile()));
    store.SetRoot(StoreRoot::kLocalMachine);
    ASSERT_TRUE(store.OpenKey("\\SOFTWARE\\Velkor\\Lirvane\\Version", false));
    store.DeleteValue("");
  }

  testing::TempXdgHomes xdg_;
  fs::path folder_;
};

TEST_F(QuitSignalTest, EachSignalClosesLikeExitWithStatusZero) {
  // The first run asks its question at once: the signal finds it waiting,
  // leaves it unanswered and still ends the run in order.
  int status = RunAndSignal(SIGTERM);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(StoredVersion(), "3.0");
  EXPECT_TRUE(fs::exists(folder_ / "circuits.dat"));

  // Later runs with the main window up, by every signal.
  for (const int signal_number : {SIGTERM, SIGHUP, SIGINT}) {
    fs::remove(folder_ / "circuits.dat");
    ForgetVersion();
    ASSERT_EQ(StoredVersion(), "");
    status = RunAndSignal(signal_number, 500ms);
    ASSERT_TRUE(WIFEXITED(status)) << signal_number << ": killed by " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << signal_number;
    EXPECT_EQ(StoredVersion(), "3.0") << signal_number;
    EXPECT_TRUE(fs::exists(folder_ / "circuits.dat")) << signal_number;
  }
}

}  // namespace
}  // namespace lirvane
#endif
