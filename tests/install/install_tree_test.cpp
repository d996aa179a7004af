// `cmake --install` into a temporary prefix, checked file by file: the
// program, its help and starter schemes where it looks for them, the
// desktop entry, icon and AppStream metadata through their validators, the
// manual page through man, and the installed program run from there.
#include <gtest/gtest.h>

#include <QByteArray>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/freedesktop/application_id.h"
#include "platform/freedesktop/desktop_entry.h"
#include "platform/shell/freedesktop_shell_integration.h"
#include "recode/recode.h"
#include "schemes/scheme_file.h"
#include "tests/install/install_support.h"

namespace lirvane {
namespace {

using namespace lirvane::testing;

class RecordingSink final : public MessageSink {
 public:
  void Show(MessageKind, std::string_view text) override { messages.emplace_back(text); }
  std::vector<std::string> messages;
};

class InstallTreeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = MakeTempFolder("lirvane-install");
    prefix_ = folder_ / "prefix";
    const CommandResult r =
        RunCommand(Quote(LIRVANE_CMAKE_COMMAND) + " --install " + Quote(LIRVANE_BUILD_DIR) +
                       " --prefix " + Quote(prefix_.string()),
                   folder_);
    ASSERT_EQ(r.status, 0) << r.output << r.errors;
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  static fs::path Share() { return prefix_ / "share"; }

  static fs::path folder_;
  static fs::path prefix_;
};

fs::path InstallTreeTest::folder_;
fs::path InstallTreeTest::prefix_;

// "Кои в Альт" in Windows-1251, the starter scheme the README names.
const std::string kKoiToAlt = "\xCA\xEE\xE8 \xE2 \xC0\xEB\xFC\xF2";

TEST_F(InstallTreeTest, ProgramHelpAndStarterSchemesWhereTheProgramLooks) {
  const fs::path program = prefix_ / "bin" / "lirvane";
  ASSERT_TRUE(fs::is_regular_file(program));
  EXPECT_NE(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::none);
  // The installed program looks in <exe dir>/../share/lirvane.
  EXPECT_EQ(ReadFile(Share() / "lirvane" / "lirvane.html"),
            ReadFile(fs::path(LIRVANE_BUILD_DIR) / "lirvane.html"));

  const fs::path starter = Share() / "lirvane" / "starter" / "circuits.dat";
  const std::string bytes = ReadFile(starter);
  // The help names the version of the build, not a placeholder.
  EXPECT_TRUE(Contains(ReadFile(Share() / "lirvane" / "lirvane.html"), "(" LIRVANE_VERSION ")"));
  // 22 lines of CR LF per scheme and no other line end.
  size_t lines = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << i;
    }
    if (bytes[i] == '\r') {
      EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << i;
      ++lines;
    }
  }
  EXPECT_EQ(lines % kSchemeFileLines, 0u);
  EXPECT_GE(lines / kSchemeFileLines, 3u);

  SchemeTable table;
  RecordingSink sink;
  EXPECT_EQ(LoadSchemes(table, starter, sink), SchemeLoadResult::kLoaded);
  EXPECT_TRUE(sink.messages.empty());
  ASSERT_EQ(static_cast<size_t>(table.Count()), lines / kSchemeFileLines);
  const TCustomCode& first = table.Slot(1);
  EXPECT_EQ(first.Name, kKoiToAlt);
  EXPECT_EQ(first.Count, 1);
  EXPECT_EQ(first.From1, 8);
  EXPECT_EQ(first.FromName1, "KOI-8-R");
  EXPECT_EQ(first.To1, 866);
  EXPECT_EQ(first.ToName1, "Alt-866");
  for (int i = 1; i <= table.Count(); ++i) {
    const TCustomCode& scheme = table.Slot(i);
    EXPECT_GE(scheme.Count, 1) << i;
    for (int k = 1; k <= scheme.Count; ++k)
      for (int code : {scheme.From(k), scheme.To(k)})
        EXPECT_TRUE(code == 1251 || code == 8 || code == 866 || code == 111 || code == 595)
            << i << " rule " << k;
  }
}

TEST_F(InstallTreeTest, DesktopEntryValidatesAndIsTheOneTheProgramWrites) {
  const fs::path entry_file = Share() / "applications" / kDesktopFileName;
  const CommandResult r =
      RunCommand("desktop-file-validate " + Quote(entry_file.string()), folder_);
  EXPECT_EQ(r.status, 0) << r.output << r.errors;
  EXPECT_EQ(r.output + r.errors, "");

  const QByteArray installed = QByteArray::fromStdString(ReadFile(entry_file));
  auto value = [](const QByteArray& entry, const char* key) {
    return ReadKeyFileValue(entry, "Desktop Entry", key).value_or("<none>").toStdString();
  };
  EXPECT_EQ(value(installed, "Name"), "Velkor Lirvane!");
  EXPECT_EQ(value(installed, "Exec"), "lirvane %f");
  // The entry the program writes for itself has the same name and says the
  // same, so that it replaces this one in the menu instead of joining it.
  FreedesktopShellIntegration shell("/opt/lirvane/bin/lirvane",
                                    FreedesktopShellIntegration::DatabaseTools::kSkip);
  const QByteArray own = shell.DesktopEntry(false);
  for (const char* key :
       {"Type", "Name", "GenericName", "GenericName[ru]", "Comment", "Comment[ru]", "Icon",
        "Terminal", "StartupWMClass", "Categories", "MimeType"})
    EXPECT_EQ(value(installed, key), value(own, key)) << key;

  // The entries the program writes validate as well.
  const fs::path own_entry = folder_ / "own" / kDesktopFileName;
  const fs::path autostart = folder_ / "autostart" / kDesktopFileName;
  WriteFile(own_entry, shell.DesktopEntry(true).toStdString());
  WriteFile(autostart, shell.AutostartEntry().toStdString());
  for (const fs::path& file : {own_entry, autostart}) {
    const CommandResult own_result =
        RunCommand("desktop-file-validate " + Quote(file.string()), folder_);
    EXPECT_EQ(own_result.status, 0) << file << own_result.output << own_result.errors;
    EXPECT_EQ(own_result.output + own_result.errors, "") << file;
  }

  // The icon the entry names, scalable.
  const fs::path icon =
      Share() / "icons/hicolor/scalable/apps" / (value(installed, "Icon") + ".svg");
  const std::string svg = ReadFile(icon);
  EXPECT_TRUE(svg.starts_with("<?xml")) << icon;
  EXPECT_TRUE(Contains(svg, "<svg ")) << icon;
  EXPECT_TRUE(Contains(svg, "viewBox=\"0 0 256 256\""));
}

TEST_F(InstallTreeTest, AppStreamMetadataValidatesInBothLanguages) {
  const fs::path file = Share() / "metainfo" / (std::string(kApplicationId) + ".metainfo.xml");
  const CommandResult r =
      RunCommand("appstreamcli validate --no-net " + Quote(file.string()), folder_);
  EXPECT_EQ(r.status, 0) << r.output << r.errors;
  const std::string xml = ReadFile(file);
  EXPECT_TRUE(Contains(xml, "<id>" + std::string(kApplicationId) + "</id>"));
  EXPECT_TRUE(Contains(
      xml, "<launchable type=\"desktop-id\">" + std::string(kDesktopFileName) + "</launchable>"));
  EXPECT_TRUE(Contains(xml, "<name>Velkor Lirvane!</name>"));
  EXPECT_TRUE(Contains(xml, "<summary xml:lang=\"ru\">"));
  EXPECT_TRUE(Contains(xml, "<p xml:lang=\"ru\">"));
  EXPECT_TRUE(Contains(xml, "<release version=\"" LIRVANE_VERSION "\""));
}

TEST_F(InstallTreeTest, ManualPageReadsWithManWithoutWarnings) {
  const fs::path page = Share() / "man" / "man1" / "lirvane.1.gz";
  ASSERT_TRUE(fs::is_regular_file(page));
  const CommandResult r = RunCommand(
      "LC_ALL=C.UTF-8 MANWIDTH=80 MAN_DISABLE_SECCOMP=1 man --warnings -l " + Quote(page.string()),
      folder_);
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(r.errors, "");
  for (const char* part : {"lirvane - recode Russian text", "-conv:SOURCE[WHAT]TARGET",
                           "EXIT STATUS", "lirvane -conv:letter.koi[8]letter.txt", "nospases",
                           "FILES", "ENVIRONMENT", "XDG_DATA_HOME", "circuits.dat"})
    EXPECT_TRUE(Contains(r.output, part)) << part << " in\n" << r.output;
  // Every exit status of the README's table.
  for (char status = '0'; status <= '8'; ++status)
    EXPECT_TRUE(Contains(r.output, std::string("\n       ") + status + "      ")) << status;
}

TEST_F(InstallTreeTest, InstalledProgramRunsAStarterSchemeWithoutAFileOfItsOwn) {
  const fs::path work = folder_ / "work";
  WriteFile(work / "in.txt", "\xF0\xD2\xC9\xD7\xC5\xD4");  // "Привет" in KOI8-R
  const CommandResult r = RunCommand(
      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME=" +
          Quote((work / "data").string()) +
          " XDG_CONFIG_HOME=" + Quote((work / "config").string()) + " " +
          Quote((prefix_ / "bin" / "lirvane").string()) + " '-conv:in.txt[Кои в Альт]out.txt'",
      work);
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(r.errors, "");  // no "Файл схем не найден!"
  EXPECT_EQ(ReadFile(work / "out.txt"), Recode(Recode("\xF0\xD2\xC9\xD7\xC5\xD4", 8), -866));
  // A conversion writes no scheme file, neither beside the program nor the user's.
  EXPECT_FALSE(fs::exists(prefix_ / "bin" / "circuits.dat"));
  EXPECT_FALSE(fs::exists(work / "data" / "lirvane"));
}

}  // namespace
}  // namespace lirvane
