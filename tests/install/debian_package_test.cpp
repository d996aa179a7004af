// The Debian package that cpack made (the test DebianPackageTest.MakeWithCpack
// runs first), without touching the machine's system: its name and fields,
// then its contents extracted with dpkg-deb into a
// temporary root and the program run from there, for a conversion and for
// window starts on the offscreen platform (driven by window_probe.cpp).
#include <gtest/gtest.h>

#include <cstdlib>

#include <QFile>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/freedesktop/application_id.h"
#include "recode/recode.h"
#include "tests/install/install_support.h"

namespace lirvane {
namespace {

using namespace lirvane::testing;

class DebianPackageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = MakeTempFolder("lirvane-deb");
    const CommandResult arch = RunCommand("dpkg --print-architecture", folder_);
    ASSERT_EQ(arch.status, 0);
    package_ =
        fs::path(LIRVANE_PACKAGE_DIR) /
        ("lirvane_" LIRVANE_VERSION "_" + arch.output.substr(0, arch.output.find('\n')) + ".deb");
    ASSERT_TRUE(fs::is_regular_file(package_)) << package_ << " (made by cpack first)";
    root_ = folder_ / "root";
    const CommandResult extracted = RunCommand(
        "dpkg-deb -x " + Quote(package_.string()) + " " + Quote(root_.string()), folder_);
    ASSERT_EQ(extracted.status, 0) << extracted.errors;
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  static std::string Field(const char* name) {
    const CommandResult r =
        RunCommand("dpkg-deb -f " + Quote(package_.string()) + " " + name, folder_);
    EXPECT_EQ(r.status, 0) << r.errors;
    return r.output;
  }

  static fs::path Program() { return root_ / "usr/bin/lirvane"; }
  static fs::path Starter() { return root_ / "usr/share/lirvane/starter/circuits.dat"; }

  struct WindowRun {
    CommandResult result;
    QStringList report;
  };

  // A window start of the extracted program on the offscreen platform with
  // settings of its own; `environment` (env's options first) says where the
  // user's data is.
  WindowRun StartWindow(const std::string& environment) {
    const fs::path report = work_ / "report.txt";
    fs::remove(report);
    WindowRun run;
    // In a sanitizer build the preloaded probe comes before the sanitizer's
    // runtime, which the runtime would otherwise refuse; and the resources
    // Qt registers for the loaded window part are still registered when the
    // leak check runs at exit, so these runs check memory errors only.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string sanitizer =
        " ASAN_OPTIONS=" +
        Quote(std::string(asan ? asan : "") + ":verify_asan_link_order=0:detect_leaks=0");
    run.result = RunCommand(
        "env -u DISPLAY -u WAYLAND_DISPLAY " + environment + sanitizer +
            " QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=" + Quote((work_ / "config").string()) +
            " LD_PRELOAD=" + Quote(LIRVANE_WINDOW_PROBE) + " LIRVANE_PROBE_REPORT=" +
            Quote(report.string()) + " timeout 60 " + Quote(Program().string()),
        work_);
    run.report = QString::fromStdString(ReadFile(report)).split('\n', Qt::SkipEmptyParts);
    return run;
  }

  void SetUp() override {
    work_ = folder_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(work_);
  }

  static fs::path folder_;
  static fs::path package_;
  static fs::path root_;
  fs::path work_;
};

fs::path DebianPackageTest::folder_;
fs::path DebianPackageTest::package_;
fs::path DebianPackageTest::root_;

// The English summary and paragraphs of the installed AppStream metadata.
QStringList AppStreamTexts(const fs::path& file) {
  QFile in(QString::fromStdString(file.string()));
  EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file;
  QXmlStreamReader xml(&in);
  QStringList texts;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const bool english = xml.attributes().value("xml:lang").isEmpty();
    if (english && (xml.name() == u"summary" || xml.name() == u"p")) texts << xml.readElementText();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return texts;
}

TEST_F(DebianPackageTest, FieldsComeFromTheBuildTheLinksAndTheAppStreamText) {
  EXPECT_EQ(Field("Package"), "lirvane\n");
  EXPECT_EQ(Field("Version"), LIRVANE_VERSION "\n");
  // Depends as dpkg-shlibdeps found them in the program's links.
  const std::string depends = Field("Depends");
  for (const char* library : {"libc6", "libqt6widgets6", "libqt6core6", "libsqlite3-0"})
    EXPECT_TRUE(Contains(depends, library)) << library << " in " << depends;
  // Without it Qt's dialogs speak English.
  EXPECT_EQ(Field("Recommends"), "qt6-translations-l10n\n");

  const QStringList texts = AppStreamTexts(root_ / "usr/share/metainfo" /
                                           (std::string(kApplicationId) + ".metainfo.xml"));
  ASSERT_GE(texts.size(), 2);
  // Synopsis, then each paragraph, paragraphs parted by " ." lines.
  std::string expected = texts[0].toStdString() + "\n";
  for (qsizetype i = 1; i < texts.size(); ++i)
    expected += (i > 1 ? " .\n " : " ") + texts[i].simplified().toStdString() + "\n";
  EXPECT_EQ(Field("Description"), expected);
}

TEST_F(DebianPackageTest, HoldsTheInstallTreeUnderUsr) {
  for (const std::string& file : std::vector<std::string>{
           "usr/bin/lirvane", "usr/share/lirvane/lirvane.html",
           "usr/share/lirvane/starter/circuits.dat",
           "usr/share/applications/" + std::string(kDesktopFileName),
           "usr/share/metainfo/" + std::string(kApplicationId) + ".metainfo.xml",
           "usr/share/icons/hicolor/scalable/apps/" + std::string(kApplicationId) + ".svg",
           "usr/share/man/man1/lirvane.1.gz"})
    EXPECT_TRUE(fs::is_regular_file(root_ / file)) << file;
  // Stripped: no debugging sections travel in the package.
  const CommandResult r = RunCommand("objdump -h " + Quote(Program().string()), work_);
  EXPECT_FALSE(Contains(r.output, ".debug_info")) << r.output;
}

TEST_F(DebianPackageTest, ExtractedProgramConvertsAFile) {
  std::string koi;
  for (int b = 0xC0; b <= 0xFF; ++b) koi.push_back(static_cast<char>(b));
  WriteFile(work_ / "in.txt", koi);
  const CommandResult r =
      RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME=" +
                     Quote((work_ / "data").string()) + " " + Quote(Program().string()) +
                     " '-conv:in.txt[8]out.txt'",
                 work_);
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(r.errors, "");
  EXPECT_EQ(ReadFile(work_ / "out.txt"), Recode(koi, 8) + "\r\n");
}

TEST_F(DebianPackageTest, WindowStartFindsHelpAndStarterSchemesAndKeepsTheUsersOwn) {
  const std::string data = "XDG_DATA_HOME=" + Quote((work_ / "data").string());
  WindowRun run = StartWindow(data);
  ASSERT_EQ(run.result.status, 0) << run.result.errors << run.report.join('\n').toStdString();
  const QString report = run.report.join('\n');
  // A first run asks only its ".ATT" question: no "Файл схем не найден!".
  EXPECT_EQ(run.report.filter("message: ").size(), 1) << report.toStdString();
  EXPECT_TRUE(report.contains(QString::fromUtf8("message: Ассоциировать"))) << report.toStdString();
  EXPECT_TRUE(run.report.contains(
      "help: " + QString::fromStdString((root_ / "usr/share/lirvane/lirvane.html").string())))
      << report.toStdString();
  EXPECT_TRUE(run.report.contains(QString::fromUtf8("scheme: Новая схема")));
  EXPECT_TRUE(run.report.contains(QString::fromUtf8("scheme: Кои в Альт"))) << report.toStdString();

  // The exit wrote the user's own copy; nothing went beside the program.
  const fs::path mine = work_ / "data/lirvane/circuits.dat";
  EXPECT_EQ(ReadFile(mine), ReadFile(Starter()));
  EXPECT_FALSE(fs::exists(root_ / "usr/bin/circuits.dat"));

  // The next start reads the user's schemes, not the starter file.
  const std::string own =
      "\xCC\xEE\xFF\r\n1\r\n8\r\nKOI-8-R\r\n1251\r\nWin-1251\r\n"  // "Моя"
      "0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n";
  WriteFile(mine, ReadFile(mine) + own);
  const std::string starter_before = ReadFile(Starter());
  run = StartWindow(data);
  ASSERT_EQ(run.result.status, 0) << run.result.errors;
  EXPECT_TRUE(run.report.filter("message: ").isEmpty()) << run.report.join('\n').toStdString();
  EXPECT_TRUE(run.report.contains(QString::fromUtf8("scheme: Моя")))
      << run.report.join('\n').toStdString();
  EXPECT_EQ(ReadFile(mine), starter_before + own);
  EXPECT_EQ(ReadFile(Starter()), starter_before);
}

TEST_F(DebianPackageTest, WithoutXdgDataHomeTheSchemesGoBelowTheHomeFolder) {
  const fs::path home = work_ / "home";
  fs::create_directories(home);
  const WindowRun run = StartWindow("-u XDG_DATA_HOME HOME=" + Quote(home.string()));
  ASSERT_EQ(run.result.status, 0) << run.result.errors;
  EXPECT_TRUE(run.report.contains(QString::fromUtf8("scheme: Кои в Альт")));
  EXPECT_EQ(ReadFile(home / ".local/share/lirvane/circuits.dat"), ReadFile(Starter()));
}

}  // namespace
}  // namespace lirvane
