// The one home-folder rule: an absolute HOME, else the account's home; XDG
// folders only when absolute.
#include "base/home_folder.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <string>

#include "tests/support/scoped_environment.h"

namespace fs = std::filesystem;
using namespace lirvane;

namespace {

// Sets or unsets variables for one test and puts them back after it.
class Environment : public ::testing::Test {
 protected:
  void Set(const char* name, const char* value) { environment_.Set(name, value); }
  static fs::path AccountHome() { return fs::path(getpwuid(getuid())->pw_dir).lexically_normal(); }

 private:
  lirvane::testing::ScopedEnvironment environment_;
};

using HomeFolderTest = Environment;

TEST_F(HomeFolderTest, AnAbsoluteHomeIsTheHome) {
  Set("HOME", "/home/someone");
  EXPECT_EQ(HomeFolder(), fs::path("/home/someone"));
}

TEST_F(HomeFolderTest, UnsetEmptyOrRelativeHomeFallsBackToTheAccount) {
  for (const char* home : {static_cast<const char*>(nullptr), "", ".", "relative/home"}) {
    Set("HOME", home);
    EXPECT_EQ(HomeFolder(), AccountHome()) << (home ? home : "(unset)");
    EXPECT_TRUE(HomeFolder().is_absolute());
  }
}

TEST_F(HomeFolderTest, XdgFoldersWhenAbsoluteElseBelowTheSameHome) {
  Set("HOME", "relative");
  Set("XDG_CONFIG_HOME", "/etc/cfg");
  Set("XDG_DATA_HOME", "data");
  EXPECT_EQ(ConfigHomeFolder(), fs::path("/etc/cfg"));
  EXPECT_EQ(DataHomeFolder(), AccountHome() / ".local" / "share");
  Set("XDG_CONFIG_HOME", "");
  Set("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(ConfigHomeFolder(), AccountHome() / ".config");
  EXPECT_EQ(DataHomeFolder(), AccountHome() / ".local" / "share");
}

}  // namespace
