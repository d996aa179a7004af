// The information windows: the web link's browser lookup and launch, the
// about box, the copyright window and its printout, and the help topics.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include "base/version.h"
#include "platform/text_pane.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/about_box.h"
#include "ui/copyright_frm.h"
#include "ui/custom_frm.h"
#include "ui/go_to_web.h"
#include "ui/help_topics.h"
#include "ui/help_window.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;

struct Launch {
  QString program;
  QStringList arguments;
};

// Records launches instead of starting anything.
struct RecordingLauncher {
  std::vector<Launch> launches;
  bool answer = true;
  TGoToWeb::Launcher Get() {
    return [this](const QString& program, const QStringList& arguments) {
      launches.push_back({program, arguments});
      return answer;
    };
  }
};

// The arguments a browser gets for `parameters` and the address.
QStringList Expected(const QStringList& parameters, const QString& url) {
#ifdef _WIN32
  return {parameters.join(' ') + ' ' + url};
#else
  return QStringList(parameters) << url;
#endif
}

// A web link that sees only `root` and starts nothing.
class WebLinkTest : public ::testing::Test {
 protected:
  BrowserCommand Browser() { return Link().GetBrowser(); }
  std::string Command() { return Link().FindBrowserCommand(); }
  TGoToWeb& Link() {
    link.SetClassRoot(std::make_unique<MemoryClassRoot>(root));
    link.SetLauncher(launcher.Get());
    link.SetDesktopLookup({});
    return link;
  }

  MemoryClassRoot root;
  RecordingLauncher launcher;
  TGoToWeb link;
};

// ---- FindBrowserCommand -------------------------------------------------

TEST_F(WebLinkTest, HtmMissingHtmlFound) {
  root.Set(".html", "WebPage");
  root.Set("WebPage\\shell\\open\\command", "\"C:\\Web\\view.exe\" \"%1\"");
  EXPECT_EQ(Command(), "\"C:\\Web\\view.exe\" \"\"");
}

TEST_F(WebLinkTest, EndingsTriedInOrder) {
  root.Set(".shtm", "Four");
  root.Set("Four\\shell\\open\\command", "four.exe");
  root.Set(".shtml", "Three");
  root.Set("Three\\shell\\open\\command", "three.exe");
  EXPECT_EQ(Command(), "three.exe");
  root.Set(".htm", "One");
  root.Set("One\\shell\\open\\command", "one.exe");
  root.Set(".html", "Two");
  root.Set("Two\\shell\\open\\command", "two.exe");
  EXPECT_EQ(Command(), "one.exe");
}

TEST_F(WebLinkTest, TypeWithoutCommandFallsBackToEndingsOwn) {
  root.Set(".htm", "htmfile");
  root.AddKey("htmfile");  // no shell\open\command below it
  root.Set(".htm\\shell\\open\\command", "C:\\Own\\own.exe %1");
  EXPECT_EQ(Command(), "C:\\Own\\own.exe ");
}

TEST_F(WebLinkTest, EmptyTypeOrEmptyCommandFallsBackToEndingsOwn) {
  root.Set(".htm", "");
  root.Set(".htm\\shell\\open\\command", "own.exe");
  EXPECT_EQ(Command(), "own.exe");
  root.Set(".htm", "htmfile");
  root.Set("htmfile\\shell\\open\\command", "");
  EXPECT_EQ(Command(), "own.exe");
}

TEST_F(WebLinkTest, EndingWithoutAnyCommandGoesOnToNextEnding) {
  root.Set(".htm", "htmfile");
  root.Set(".html", "WebPage");
  root.Set("WebPage\\shell\\open\\command", "web.exe");
  EXPECT_EQ(Command(), "web.exe");
}

TEST_F(WebLinkTest, EndingKeyWithoutDefaultValueIsSkipped) {
  // Its own command is not asked: its value could not be read.
  root.AddKey(".htm");
  root.Set(".htm\\shell\\open\\command", "skipped.exe");
  root.Set(".html\\shell\\open\\command", "own.exe");
  root.Set(".html", "");
  EXPECT_EQ(Command(), "own.exe");
}

TEST_F(WebLinkTest, KeyNamesIgnoreLetterCase) {
  root.Set(".HtM", "HTMLFILE");
  root.Set("htmlfile\\Shell\\Open\\Command", "web.exe");
  EXPECT_EQ(Command(), "web.exe");
}

TEST_F(WebLinkTest, NothingRegisteredGivesEmpty) {
  EXPECT_EQ(Command(), "");
  const BrowserCommand browser = Browser();
  EXPECT_EQ(browser.path, "");
  EXPECT_EQ(browser.parameters, "");
}

TEST_F(WebLinkTest, ValuesCountUpToNulAndAtMost1024Characters) {
  root.Set(".htm", std::string("htmfile\0junk", 12));
  root.Set("htmfile\\shell\\open\\command", std::string(1030, 'x'));
  EXPECT_EQ(Command(), std::string(1024, 'x'));
}

TEST(RemovePlaceholders, DropsPercentAndItsFollower) {
  EXPECT_EQ(RemovePlaceholders("a \"%1\" b"), "a \"\" b");
  EXPECT_EQ(RemovePlaceholders("%1%2x"), "x");
  // Scanning goes on at the character that moved into place.
  EXPECT_EQ(RemovePlaceholders("%%%1"), "");
  EXPECT_EQ(RemovePlaceholders("%%1"), "1");
  EXPECT_EQ(RemovePlaceholders("a%%b"), "ab");
  // A "%" in the last place stays.
  EXPECT_EQ(RemovePlaceholders("x%"), "x%");
  EXPECT_EQ(RemovePlaceholders("%%%"), "%");
  EXPECT_EQ(RemovePlaceholders("%"), "%");
  EXPECT_EQ(RemovePlaceholders(""), "");
}

// ---- GetBrowser ---------------------------------------------------------

TEST_F(WebLinkTest, FirstWorkedExample) {
  root.Set(".htm", "htmfile");
  root.Set("htmfile\\shell\\open\\command", "\"C:\\Program Files\\Web\\browse.exe\" -nohome");
  const BrowserCommand browser = Browser();
  EXPECT_EQ(browser.path, "C:\\PROGRAM FILES\\WEB\\BROWSE.EXE");
  EXPECT_EQ(browser.parameters, " -NOHOME");
}

TEST_F(WebLinkTest, SecondWorkedExampleLeavesEmptyQuotes) {
  root.Set(".htm", "htmfile");
  root.Set("htmfile\\shell\\open\\command", "\"C:\\Web\\view.exe\" \"%1\"");
  const BrowserCommand browser = Browser();
  EXPECT_EQ(browser.path, "C:\\WEB\\VIEW.EXE");
  EXPECT_EQ(browser.parameters, " \"\"");
}

TEST_F(WebLinkTest, LowerCaseParametersComeOutUpperCase) {
  root.Set(".htm\\shell\\open\\command", "c:\\web\\b.exe  -new-window\t");
  root.Set(".htm", "");
  const BrowserCommand browser = Browser();
  EXPECT_EQ(browser.path, "C:\\WEB\\B.EXE");
  EXPECT_EQ(browser.parameters, "-NEW-WINDOW");  // trimmed, no quote before
}

TEST(SplitBrowserCommand, BatAndComInAnyCase) {
  BrowserCommand bat = SplitBrowserCommand("C:\\TOOLS\\OPEN.BAT /X");
  EXPECT_EQ(bat.path, "C:\\TOOLS\\OPEN.BAT");
  EXPECT_EQ(bat.parameters, "/X");
  BrowserCommand com = SplitBrowserCommand("\"C:\\DOS\\WEB.COM\"");
  EXPECT_EQ(com.path, "C:\\DOS\\WEB.COM");
  EXPECT_EQ(com.parameters, "");  // the closing quote goes with the trimming
}

TEST_F(WebLinkTest, BatAndComMixedCaseThroughTheClassRoot) {
  root.Set(".htm", "a");
  root.Set("a\\shell\\open\\command", "c:\\tools\\Open.bAt /x");
  EXPECT_EQ(Browser().path, "C:\\TOOLS\\OPEN.BAT");
  EXPECT_EQ(Browser().parameters, "/X");
  root.Set("a\\shell\\open\\command", "\"c:\\dos\\web.CoM\" %1");
  EXPECT_EQ(Browser().path, "C:\\DOS\\WEB.COM");
  EXPECT_EQ(Browser().parameters, "");  // the quote, then nothing
}

TEST(SplitBrowserCommand, LastProgramEndingCounts) {
  const BrowserCommand b = SplitBrowserCommand("\"C:\\MY.EXE.FILES\\RUN.BAT\" X");
  EXPECT_EQ(b.path, "C:\\MY.EXE.FILES\\RUN.BAT");
  EXPECT_EQ(b.parameters, " X");
  const BrowserCommand tail = SplitBrowserCommand(".EXE");
  EXPECT_EQ(tail.path, ".EXE");
  EXPECT_EQ(tail.parameters, "");
}

TEST(SplitBrowserCommand, LeadingQuotesOfParametersGoBlanksTheyUncoverStay) {
  const BrowserCommand b = SplitBrowserCommand("\"C:\\W.EXE\"\"\" \" -A\" ");
  EXPECT_EQ(b.path, "C:\\W.EXE");
  EXPECT_EQ(b.parameters, " \" -A\"");
}

TEST(SplitBrowserCommand, WithoutProgramEndingTheFirstWordIsTheProgram) {
  BrowserCommand b = SplitBrowserCommand("  RUNDLL32 URL.DLL,FILEPROTOCOLHANDLER ");
  EXPECT_EQ(b.path, "RUNDLL32");
  EXPECT_EQ(b.parameters, "URL.DLL,FILEPROTOCOLHANDLER");
  b = SplitBrowserCommand("\"C:\\PROGRAM FILES\\WEB\\BROWSER\" --URL \"\"");
  EXPECT_EQ(b.path, "C:\\PROGRAM FILES\\WEB\\BROWSER");
  EXPECT_EQ(b.parameters, "--URL \"\"");
  b = SplitBrowserCommand("AB");  // shorter than any ending
  EXPECT_EQ(b.path, "AB");
  EXPECT_EQ(b.parameters, "");
  b = SplitBrowserCommand("\"UNCLOSED QUOTE");
  EXPECT_EQ(b.path, "UNCLOSED QUOTE");
  EXPECT_EQ(b.parameters, "");
}

// ---- OpenUrl ------------------------------------------------------------

TEST_F(WebLinkTest, OpenUrlPutsTheAddressAfterTheParameters) {
  root.Set(".htm", "htmfile");
  root.Set("htmfile\\shell\\open\\command", "\"C:\\Web\\view.exe\" \"%1\"");
  Link().SetUrl("https://www.velkor.example/");
  EXPECT_TRUE(link.OpenUrl());
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].program, "C:\\WEB\\VIEW.EXE");
#ifdef _WIN32
  EXPECT_EQ(launcher.launches[0].arguments, QStringList{" \"\" https://www.velkor.example/"});
#else
  EXPECT_EQ(launcher.launches[0].arguments, (QStringList{"", "https://www.velkor.example/"}));
#endif
}

TEST_F(WebLinkTest, OpenUrlWithoutParameters) {
  root.Set(".htm\\shell\\open\\command", "c:\\web\\b.exe");
  root.Set(".htm", "");
  Link().SetUrl("http://a.example/");
  EXPECT_TRUE(link.OpenUrl());
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].program, "C:\\WEB\\B.EXE");
  EXPECT_EQ(launcher.launches[0].arguments, Expected({}, "http://a.example/"));
}

TEST_F(WebLinkTest, AddressIsNeverSplitOrInterpreted) {
  root.Set(".htm\\shell\\open\\command", "c:\\web\\b.exe -a \"x y\"");
  root.Set(".htm", "");
  const QString url = "http://a.example/?q=1 2;rm -rf ~&`id`";
  Link().SetUrl(url);
  EXPECT_TRUE(link.OpenUrl());
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].arguments, Expected({"-A", "X Y"}, url));
}

TEST_F(WebLinkTest, NoBrowserOpensNothing) {
  Link().SetUrl("http://a.example/");
  EXPECT_FALSE(link.OpenUrl());
  EXPECT_TRUE(launcher.launches.empty());
}

TEST_F(WebLinkTest, FailedLaunchGivesFalse) {
  root.Set(".htm\\shell\\open\\command", "b.exe");
  root.Set(".htm", "");
  launcher.answer = false;
  EXPECT_FALSE(Link().OpenUrl());
  EXPECT_EQ(launcher.launches.size(), 1u);
}

TEST_F(WebLinkTest, DesktopBrowserOnlyWhenTheClassKeysGiveNone) {
  int asked = 0;
  Link().SetDesktopLookup([&asked](const QString& url) {
    ++asked;
    return std::optional<DesktopLaunch>(DesktopLaunch{"/usr/bin/web", {"--tab", url}});
  });
  link.SetUrl("http://a.example/");
  EXPECT_TRUE(link.OpenUrl());
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].program, "/usr/bin/web");
  EXPECT_EQ(launcher.launches[0].arguments, (QStringList{"--tab", "http://a.example/"}));

  root.Set(".htm\\shell\\open\\command", "b.exe");
  root.Set(".htm", "");
  link.SetClassRoot(std::make_unique<MemoryClassRoot>(root));
  EXPECT_TRUE(link.OpenUrl());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(launcher.launches.back().program, "B.EXE");
}

TEST(SplitParameterString, QuotesGroupAndEmptyQuotesAreAnArgument) {
  EXPECT_EQ(SplitParameterString(" \"\""), QStringList{""});
  EXPECT_EQ(SplitParameterString("  -A  \"B C\"D "), (QStringList{"-A", "B CD"}));
  EXPECT_EQ(SplitParameterString(""), QStringList());
}

// ---- Freedesktop default browser --------------------------------------

class DesktopBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    folders.config_home = dir.filePath("config");
    folders.config_dirs = {dir.filePath("etc-xdg")};
    folders.data_home = dir.filePath("data");
    folders.data_dirs = {dir.filePath("usr-share")};
  }

  void Write(const QString& relative, const QByteArray& text) {
    const QString path = dir.filePath(relative);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  QTemporaryDir dir;
  XdgFolders folders;
};

TEST_F(DesktopBrowserTest, HandlerFromMimeAppsAndExecLine) {
  Write("config/mimeapps.list",
        "[Added Associations]\nx-scheme-handler/http=other.desktop;\n"
        "[Default Applications]\n# the "
        "browser\nx-scheme-handler/http=missing.desktop;testweb.desktop;\n");
  Write("data/applications/testweb.desktop",
        "[Desktop Entry]\nName=Test Web\nExec=/opt/testweb/bin/testweb --new-tab \"%u\"\n"
        "[Desktop Action private]\nExec=/opt/testweb/bin/testweb --private %u\n");
  const auto launch = FindDesktopBrowserLaunch(folders, "https://www.velkor.example/");
  ASSERT_TRUE(launch.has_value());
  EXPECT_EQ(launch->program, "/opt/testweb/bin/testweb");
  EXPECT_EQ(launch->arguments, (QStringList{"--new-tab", "https://www.velkor.example/"}));
}

TEST_F(DesktopBrowserTest, UserChoiceBeforeSystemChoice) {
  Write("usr-share/applications/mimeapps.list",
        "[Default Applications]\nx-scheme-handler/http=system.desktop\n");
  Write("usr-share/applications/system.desktop", "[Desktop Entry]\nExec=system-web %U\n");
  Write("data/applications/user.desktop", "[Desktop Entry]\nExec=user-web\n");
  auto launch = FindDesktopBrowserLaunch(folders, "http://a.example/");
  ASSERT_TRUE(launch.has_value());
  EXPECT_EQ(launch->program, "system-web");
  Write("etc-xdg/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=user.desktop\n");
  launch = FindDesktopBrowserLaunch(folders, "http://a.example/");
  ASSERT_TRUE(launch.has_value());
  EXPECT_EQ(launch->program, "user-web");
  EXPECT_EQ(launch->arguments, QStringList{"http://a.example/"});  // appended
}

TEST_F(DesktopBrowserTest, NestedDesktopFileIdAndHiddenEntries) {
  Write("config/mimeapps.list",
        "[Default Applications]\nx-scheme-handler/http=gone.desktop;kde-web.desktop\n");
  Write("data/applications/gone.desktop", "[Desktop Entry]\nHidden=true\nExec=gone %u\n");
  Write("usr-share/applications/kde/web.desktop", "[Desktop Entry]\nExec=kweb %u\n");
  const auto launch = FindDesktopBrowserLaunch(folders, "http://a.example/");
  ASSERT_TRUE(launch.has_value());
  EXPECT_EQ(launch->program, "kweb");
}

TEST_F(DesktopBrowserTest, HtmlHandlerWhenNoSchemeHandler) {
  Write("data/applications/mimeapps.list", "[Default Applications]\ntext/html=page.desktop\n");
  Write("data/applications/page.desktop", "[Desktop Entry]\nExec=pageview -f %f\n");
  const auto launch = FindDesktopBrowserLaunch(folders, "http://a.example/");
  ASSERT_TRUE(launch.has_value());
  EXPECT_EQ(launch->arguments, (QStringList{"-f", "http://a.example/"}));
}

TEST_F(DesktopBrowserTest, NothingSetGivesNothing) {
  EXPECT_FALSE(FindDesktopBrowserLaunch(folders, "http://a.example/").has_value());
  Write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=absent.desktop\n");
  EXPECT_FALSE(FindDesktopBrowserLaunch(folders, "http://a.example/").has_value());
  Write("data/applications/absent.desktop", "[Desktop Entry]\nName=No Exec\n");
  EXPECT_FALSE(FindDesktopBrowserLaunch(folders, "http://a.example/").has_value());
}

TEST(ParseDesktopExec, FieldCodesQuotingAndEscapes) {
  const QString url = "http://a.example/x";
  auto l = ParseDesktopExec("web %U --icon %i %c %k %%", url);
  ASSERT_TRUE(l.has_value());
  EXPECT_EQ(l->program, "web");
  EXPECT_EQ(l->arguments, (QStringList{url, "--icon", "%"}));
  l = ParseDesktopExec("\"/opt/My Web/web\" --url=%u %u", url);
  ASSERT_TRUE(l.has_value());
  EXPECT_EQ(l->program, "/opt/My Web/web");
  EXPECT_EQ(l->arguments, QStringList{"--url=" + url});  // one address only
  l = ParseDesktopExec("sh -c \"echo \\\\\"$1\\\\\"\"", url);
  ASSERT_TRUE(l.has_value());
  EXPECT_EQ(l->arguments, (QStringList{"-c", "echo \"$1\"", url}));
  EXPECT_FALSE(ParseDesktopExec("", url).has_value());
  EXPECT_FALSE(ParseDesktopExec("\"unclosed", url).has_value());
  EXPECT_FALSE(ParseDesktopExec("%u", url).has_value());  // no program
  EXPECT_FALSE(ParseDesktopExec("/opt/%u/web", url).has_value());
}

TEST_F(DesktopBrowserTest, WebLinkFindsTheBrowserThroughTheEnvironment) {
  Write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=envweb.desktop\n");
  Write("data/applications/envweb.desktop", "[Desktop Entry]\nExec=envweb %u\n");
  const QByteArray saved[] = {qgetenv("XDG_CONFIG_HOME"), qgetenv("XDG_DATA_HOME"),
                              qgetenv("XDG_CONFIG_DIRS"), qgetenv("XDG_DATA_DIRS")};
  qputenv("XDG_CONFIG_HOME", folders.config_home.toUtf8());
  qputenv("XDG_DATA_HOME", folders.data_home.toUtf8());
  qputenv("XDG_CONFIG_DIRS", folders.config_dirs.front().toUtf8());
  qputenv("XDG_DATA_DIRS", folders.data_dirs.front().toUtf8());
  RecordingLauncher launcher;
  TGoToWeb link;
  link.SetClassRoot(std::make_unique<MemoryClassRoot>());
  link.SetLauncher(launcher.Get());
  link.SetUrl("https://www.velkor.example/lirvane/");
  const bool opened = link.OpenUrl();
  const char* names[] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"};
  for (int i = 0; i < 4; ++i) {
    if (saved[i].isNull())
      qunsetenv(names[i]);
    else
      qputenv(names[i], saved[i]);
  }
#ifndef _WIN32
  EXPECT_TRUE(opened);
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].program, "envweb");
  EXPECT_EQ(launcher.launches[0].arguments, QStringList{"https://www.velkor.example/lirvane/"});
#else
  EXPECT_FALSE(opened);
#endif
}

// ---- About box ------------------------------------------------------------

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box.GoToWeb->SetClassRoot(std::make_unique<MemoryClassRoot>(root));
    box.GoToWeb->SetLauncher(launcher.Get());
    box.GoToWeb->SetDesktopLookup({});
  }
  static MemoryClassRoot Root() {
    MemoryClassRoot r;
    r.Set(".htm", "htmfile");
    r.Set("htmfile\\shell\\open\\command", "\"C:\\Web\\view.exe\" \"%1\"");
    return r;
  }

  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  MemoryClassRoot root = Root();
  RecordingLauncher launcher;
  TAboutBox box;
};

TEST_F(AboutBoxTest, FixedSizeCaptionAndTitleBar) {
  EXPECT_EQ(box.objectName(), "AboutBox");
  EXPECT_EQ(box.windowTitle(), "About...");
  EXPECT_EQ(box.size(), QSize(369, 177));
  EXPECT_EQ(box.minimumSize(), QSize(369, 177));
  EXPECT_EQ(box.maximumSize(), QSize(369, 177));
  const Qt::WindowFlags flags = box.windowFlags();
  EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
  EXPECT_TRUE(flags & Qt::WindowTitleHint);
  EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMinMaxButtonsHint);
}

// The logo's text stays inside its badge: no white text pixels at the
// badge's left and right edges.
TEST_F(AboutBoxTest, LogoTextStaysOnItsBadge) {
  const QImage logo = box.ProgramIcon->pixmap().toImage();
  ASSERT_EQ(logo.size(), QSize(150, 60));
  int white_at_edges = 0;
  for (int y = 0; y < logo.height(); ++y) {
    for (int x : {0, 1, 2, 3, 4, 5, 144, 145, 146, 147, 148, 149}) {
      const QColor c = logo.pixelColor(x, y);
      if (c.alpha() > 0 && c.red() > 200 && c.green() > 200 && c.blue() > 200) ++white_at_edges;
    }
  }
  EXPECT_EQ(white_at_edges, 0);
}

TEST_F(AboutBoxTest, ControlsAndTexts) {
  EXPECT_EQ(box.Panel1->geometry().size(), QSize(265, 161));
  EXPECT_EQ(box.Panel1->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(box.ProgramIcon->size(), QSize(150, 60));
  EXPECT_EQ(box.ProgramIcon->pixmap().size(), QSize(150, 60));
  EXPECT_EQ(box.ProgramIcon->parentWidget(), box.Panel1);
  EXPECT_EQ(box.ProductName->text(), "Lirvane!");
  EXPECT_TRUE(box.ProductName->font().bold());
  EXPECT_TRUE(box.ProductName->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(box.Version->text(), QString("Version ") + kProgramVersion);
  EXPECT_EQ(box.Copyright->text(), QString::fromUtf8("Copyright © 1998-2026 Velkor Software"));
  EXPECT_EQ(box.Label1->text(), QString::fromLatin1(kMakerSiteCaption));
  EXPECT_TRUE(box.Label1->font().underline());
  EXPECT_EQ(box.Label1->palette().color(QPalette::WindowText), QColor(0, 0, 128));
  EXPECT_EQ(box.Label1->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(box.OKButton->text(), "Ok");
  EXPECT_GT(box.OKButton->x(), box.Panel1->geometry().right());
  EXPECT_EQ(box.CopyrigBtn->text(), "&Copyright...");
  EXPECT_EQ(box.CopyrigBtn->toolTip(), QString::fromUtf8("Авторские права"));
  EXPECT_EQ(box.GoToWeb->Url(), QString::fromLatin1(kMakerSiteUrl));
  // The label shows the site, and the program's page is another address.
  EXPECT_NE(QString::fromLatin1(kLirvanePageUrl), QString::fromLatin1(kMakerSiteUrl));
  EXPECT_TRUE(QString::fromLatin1(kMakerSiteUrl).contains(box.Label1->text()));
}

TEST_F(AboutBoxTest, LinkOpensTheSecondAddressAndKeepsIt) {
  box.show();
  QTest::mouseClick(box.Label1, Qt::LeftButton);
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].program, "C:\\WEB\\VIEW.EXE");
  EXPECT_EQ(launcher.launches[0].arguments.back().right(QString(kLirvanePageUrl).size()),
            QString::fromLatin1(kLirvanePageUrl));
  EXPECT_EQ(box.GoToWeb->Url(), QString::fromLatin1(kLirvanePageUrl));
  box.Label1Click();
  ASSERT_EQ(launcher.launches.size(), 2u);
  EXPECT_EQ(launcher.launches[1].arguments, launcher.launches[0].arguments);
  // Other mouse buttons do not follow the link.
  QTest::mouseClick(box.Label1, Qt::RightButton);
  EXPECT_EQ(launcher.launches.size(), 2u);
}

TEST_F(AboutBoxTest, OkCloses) {
  dialogs.modal_answers.push_back([](QDialog& dialog) {
    auto& about = dynamic_cast<TAboutBox&>(dialog);
    about.open();
    about.OKButton->click();
    return dialog.result();
  });
  EXPECT_EQ(AppDialogs().ExecModal(box), QDialog::Accepted);
  EXPECT_FALSE(box.isVisible());
}

TEST_F(AboutBoxTest, CopyrightWindowIsNewEachTimeAndGoneWhenClosed) {
  std::vector<QPointer<QDialog>> seen;
  for (int i = 0; i < 2; ++i)
    dialogs.modal_answers.push_back([&seen](QDialog& dialog) {
      EXPECT_NE(dynamic_cast<TCopyrightFrm*>(&dialog), nullptr);
      EXPECT_EQ(dialog.windowTitle(), "Copyright Information");
      seen.push_back(&dialog);
      dynamic_cast<TCopyrightFrm&>(dialog).Button1->click();
      return dialog.result();
    });
  box.CopyrigBtn->click();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].isNull());
  box.CopyrigBtnClick();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[1].isNull());
  EXPECT_TRUE(dialogs.modal_answers.empty());
}

TEST(MainFrmInfo, AboutCommandShowsTheAboutBoxModally) {
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm frm;
  TAboutBox about;
  frm.SetAboutBox(&about);
  QDialog* shown = nullptr;
  dialogs.modal_answers.push_back([&shown](QDialog& d) {
    shown = &d;
    return int(QDialog::Accepted);
  });
  frm.AboutSM->trigger();
  EXPECT_EQ(shown, &about);
}

TEST(MainFrmInfo, AboutBoxMadeOnceWhenNoneWasGiven) {
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm frm;
  std::vector<QDialog*> shown;
  for (int i = 0; i < 2; ++i)
    dialogs.modal_answers.push_back([&shown](QDialog& d) {
      shown.push_back(&d);
      return int(QDialog::Accepted);
    });
  frm.AboutSMClick();
  frm.AboutSMClick();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], shown[1]);
  EXPECT_EQ(shown[0]->objectName(), "AboutBox");
  EXPECT_EQ(shown[0], frm.AboutBox);
}

TEST(MainFrmInfo, WebSiteCommandOpensTheMakersSite) {
  InstallScriptedDialogs();
  TMainFrm frm;
  ASSERT_NE(frm.GoToWeb1, nullptr);
  EXPECT_EQ(frm.GoToWeb1->Url(), QString::fromLatin1(kMakerSiteUrl));
  RecordingLauncher launcher;
  MemoryClassRoot root;
  root.Set(".htm\\shell\\open\\command", "web.exe");
  root.Set(".htm", "");
  frm.GoToWeb1->SetClassRoot(std::make_unique<MemoryClassRoot>(root));
  frm.GoToWeb1->SetLauncher(launcher.Get());
  frm.VelkorHomepage1->trigger();
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].arguments, Expected({}, QString::fromLatin1(kMakerSiteUrl)));
  // No browser: nothing happens and nothing is said.
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  frm.GoToWeb1->SetClassRoot(std::make_unique<MemoryClassRoot>());
  frm.GoToWeb1->SetDesktopLookup({});
  frm.VelkorHomepage1->trigger();
  EXPECT_EQ(launcher.launches.size(), 1u);
  EXPECT_TRUE(dialogs.messages.empty());
}

// ---- Copyright window --------------------------------------------------------

TEST(CopyrightFrm, WindowAndText) {
  InstallScriptedDialogs();
  TCopyrightFrm frm;
  EXPECT_EQ(frm.windowTitle(), "Copyright Information");
  EXPECT_EQ(frm.size(), QSize(302, 344));
  EXPECT_EQ(frm.maximumSize(), QSize(302, 344));
  EXPECT_TRUE(frm.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(frm.windowIcon().isNull());
  EXPECT_TRUE(frm.Memo1->isReadOnly());
  EXPECT_EQ(frm.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(frm.Memo1->palette().color(QPalette::Base),
            frm.Memo1->palette().color(QPalette::Window));
  EXPECT_EQ(frm.Button1->text(), "&Ok");
  EXPECT_EQ(frm.Button2->text(), QString::fromUtf8("&Печать..."));

  const QString text = frm.Memo1->toPlainText();
  const qsizetype russian = text.indexOf(QString::fromUtf8("Все права защищены"));
  const qsizetype english = text.indexOf("All rights reserved");
  ASSERT_GE(russian, 0);
  ASSERT_GE(english, 0);
  EXPECT_LT(russian, english);
  EXPECT_TRUE(text.contains(kProgramVersion));
  EXPECT_TRUE(text.contains(QString::fromUtf8("товарными знаками")));
  EXPECT_TRUE(text.contains("trademarks"));
  EXPECT_TRUE(text.contains(QString::fromUtf8("бесплатно")));
  EXPECT_TRUE(text.contains("free of charge"));
  EXPECT_TRUE(text.contains(QString("Qt ") + qVersion()));
  EXPECT_TRUE(text.contains(QString("SQLite ") + sqlite3_libversion()));
  EXPECT_TRUE(text.contains(QString::fromUtf8("Автор программы")));
  EXPECT_FALSE(text.contains("GoogleTest"));
  EXPECT_FALSE(text.contains('%'));  // every placeholder filled
}

TEST(CopyrightFrm, OkCloses) {
  InstallScriptedDialogs();
  TCopyrightFrm frm;
  frm.open();
  frm.Button1->click();
  EXPECT_FALSE(frm.isVisible());
  EXPECT_EQ(frm.result(), QDialog::Accepted);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CopyrightFrm, PrintsUnderItsTitle) {
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath("copyright.pdf");
  TCopyrightFrm frm;
  frm.SetPrintOutputFile(pdf);
  dialogs.print_answers = {true};
  frm.Button2->click();
  EXPECT_EQ(dialogs.print_dialogs, 1);
  const QByteArray bytes = ReadAll(pdf);
  ASSERT_TRUE(bytes.startsWith("%PDF"));
  // Qt writes the title as UTF-16 with a byte-order mark.
  QByteArray title("/Title (\xFE\xFF", 10);
  for (char c : QByteArray("Copyright Information")) title.append('\0').append(c);
  title.append(')');
  EXPECT_TRUE(bytes.contains(title)) << bytes.left(2000).toStdString();
  EXPECT_TRUE(bytes.contains("/Type /Page"));
  EXPECT_TRUE(bytes.contains("/Font"));  // text was drawn
}

TEST(CopyrightFrm, CancelledPrintDialogPrintsNothing) {
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  QTemporaryDir dir;
  const QString pdf = dir.filePath("copyright.pdf");
  TCopyrightFrm frm;
  frm.SetPrintOutputFile(pdf);
  frm.Button2Click();
  EXPECT_EQ(dialogs.print_dialogs, 1);
  EXPECT_FALSE(QFileInfo::exists(pdf));
}

// ---- Help topics and the help window --------------------------------------

QString BuiltHelpFile() {
  return QFileInfo(qEnvironmentVariable("LIRVANE_BINARY")).dir().filePath("lirvane.html");
}

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override { SetHelpFile(BuiltHelpFile()); }
  void TearDown() override {
    HelpWindow()->hide();
    SetHelpFile(QString());
  }
  int Scroll() { return HelpWindow()->Browser->verticalScrollBar()->value(); }

  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm frm;
};

TEST_F(HelpTest, MenuTopics) {
  for (QMenu* menu : {frm.FileM, frm.EditM, frm.CodeM, frm.HelpM}) {
    EXPECT_EQ(MenuHelpTopic(menu), kMenuTopic) << menu->title().toStdString();
    for (QAction* item : menu->actions()) {
      if (item->isSeparator()) continue;
      menu->setActiveAction(item);
      EXPECT_EQ(MenuHelpTopic(menu), kMenuTopic) << item->objectName().toStdString();
    }
  }
  frm.FileM->setActiveAction(frm.OpenSM);
  EXPECT_EQ(MenuHelpTopic(frm.FileM), kMenuTopic);
  // A submenu's items reach the topic through the enclosing menu.
  frm.WWW1->setActiveAction(frm.VelkorHomepage1);
  EXPECT_EQ(MenuHelpTopic(frm.WWW1), kMenuTopic);
  for (QMenu* menu : {frm.N7, frm.N11, frm.N15, frm.N19, frm.N5}) {
    EXPECT_EQ(MenuHelpTopic(menu), kNoHelpTopic) << menu->title().toStdString();
    menu->setActiveAction(menu->actions().front());
    EXPECT_EQ(MenuHelpTopic(menu), kNoHelpTopic) << menu->title().toStdString();
  }
}

TEST_F(HelpTest, WindowTopics) {
  for (QWidget* w : std::initializer_list<QWidget*>{&frm, frm.MemoF, frm.MemoF2, frm.Splitter1})
    EXPECT_EQ(WidgetHelpTopic(w), kNoHelpTopic) << w->objectName().toStdString();
  TCustomFrm editor(&frm, &frm);
  EXPECT_EQ(WidgetHelpTopic(&editor), kSchemeEditorTopic);
  EXPECT_EQ(WidgetHelpTopic(editor.ListBox1), kSchemeEditorTopic);
  EXPECT_EQ(WidgetHelpTopic(editor.ExecBtn), kSchemeEditorTopic);
  TAboutBox about(&frm);
  EXPECT_EQ(WidgetHelpTopic(&about), kAboutBoxTopic);
  EXPECT_EQ(WidgetHelpTopic(about.OKButton), kAboutBoxTopic);
  EXPECT_EQ(WidgetHelpTopic(about.Label1), kAboutBoxTopic);
  // A control's own topic comes first; a window's ends the search.
  SetHelpTopic(about.CopyrigBtn, 7);
  EXPECT_EQ(WidgetHelpTopic(about.CopyrigBtn), 7);
  TCopyrightFrm copyright(&about);
  EXPECT_EQ(WidgetHelpTopic(copyright.Button1), kNoHelpTopic);
  EXPECT_EQ(WidgetHelpTopic(nullptr), kNoHelpTopic);
}

TEST_F(HelpTest, F1InTheSchemeEditorOpensTopic50) {
  TCustomFrm editor(&frm, &frm);
  editor.show();
  QApplication::setActiveWindow(&editor);
  editor.ListBox1->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), editor.ListBox1);
  EXPECT_EQ(CurrentHelpTopic(), kSchemeEditorTopic);
  QTest::keyClick(editor.ListBox1, Qt::Key_F1);
  EXPECT_TRUE(HelpWindow()->isVisible());
  EXPECT_GT(Scroll(), 0);
}

TEST_F(HelpTest, F1InTheMainWindowOpensNothing) {
  frm.show();
  QApplication::setActiveWindow(&frm);
  frm.MemoF->setFocus();
  EXPECT_EQ(CurrentHelpTopic(), kNoHelpTopic);
  HelpWindow()->hide();
  QTest::keyClick(frm.MemoF, Qt::Key_F1);
  EXPECT_FALSE(HelpWindow()->isVisible());
}

TEST_F(HelpTest, F1OnAnOpenFileMenuOpensTopic40) {
  frm.show();
  frm.FileM->popup(QPoint(10, 10));
  frm.FileM->setActiveAction(frm.SaveSM);
  ASSERT_EQ(QApplication::activePopupWidget(), frm.FileM);
  EXPECT_EQ(CurrentHelpTopic(), kMenuTopic);
  QTest::keyClick(frm.FileM, Qt::Key_F1);
  EXPECT_TRUE(HelpWindow()->isVisible());
  frm.FileM->close();
  frm.N5->popup(QPoint(10, 10));
  EXPECT_EQ(CurrentHelpTopic(), kNoHelpTopic);
  frm.N5->close();
}

TEST_F(HelpTest, HelpCommandOpensContentsAtTopic10) {
  frm.HelpSM->trigger();
  THelpWindow* help = HelpWindow();
  EXPECT_TRUE(help->isVisible());
  EXPECT_FALSE(help->isModal());
  EXPECT_EQ(help->LoadedFile(), BuiltHelpFile());
  EXPECT_LT(Scroll(), 20);  // the contents open the file
  EXPECT_TRUE(help->Browser->toPlainText().contains(QString::fromUtf8("Схемы перекодировок")));
}

// The help window is a window of its own; it must not keep the program
// running once the main window has gone.
TEST_F(HelpTest, HelpClosesWithTheProgram) {
  for (const bool by_menu : {true, false}) {
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    frm.HelpSM->trigger();
    ASSERT_TRUE(HelpWindow()->isVisible());
    QTimer::singleShot(0, &frm, [&] {
      if (by_menu)
        frm.ExitSM->trigger();  // Файл → Выход
      else
        frm.close();  // the window's close box
    });
    // The run ends when its last window closes; give up after a while.
    QTimer give_up;
    give_up.setSingleShot(true);
    QObject::connect(&give_up, &QTimer::timeout, [] { QApplication::exit(1); });
    give_up.start(5000);
    EXPECT_EQ(QApplication::exec(), 0) << (by_menu ? "Выход" : "close box");
    EXPECT_FALSE(HelpWindow()->isVisible());
  }
}

TEST_F(HelpTest, EveryTopicHasItsPlace) {
  std::vector<int> places;
  for (int topic : {kHelpContentsTopic, kMenuTopic, kSchemeEditorTopic, kAboutBoxTopic}) {
    ShowHelpTopic(topic);
    places.push_back(Scroll());
  }
  // The topics stand in this order in the file, each further down.
  EXPECT_LT(places[0], 20);
  for (size_t i = 1; i < places.size(); ++i) EXPECT_GT(places[i], places[i - 1]) << i;
  const QString html = ReadAll(BuiltHelpFile());
  for (int topic : {2, 10, 40, 50})
    EXPECT_TRUE(html.contains(QString("id=\"topic%1\"").arg(topic))) << topic;
  EXPECT_TRUE(html.contains("-conv:"));
}

TEST_F(HelpTest, MissingHelpFileIsReportedInTheWindow) {
  QTemporaryDir dir;
  const QString missing = dir.filePath("lirvane.html");
  SetHelpFile(missing);
  ShowHelpTopic(kHelpContentsTopic);
  EXPECT_EQ(HelpWindow()->Browser->toPlainText(),
            QString::fromUtf8("Файл справки не найден: ") + QDir::toNativeSeparators(missing));
  EXPECT_TRUE(HelpWindow()->LoadedFile().isEmpty());
  // Once the file is there it is shown.
  QFile::copy(BuiltHelpFile(), missing);
  ShowHelpTopic(kHelpContentsTopic);
  EXPECT_EQ(HelpWindow()->LoadedFile(), missing);
}

TEST_F(HelpTest, F1InTheModalAboutBoxOpensTopic2OverIt) {
  TAboutBox about(&frm);
  dialogs.modal_answers.push_back([this](QDialog& dialog) {
    auto& box = dynamic_cast<TAboutBox&>(dialog);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    QApplication::setActiveWindow(&box);
    box.OKButton->setFocus();
    EXPECT_EQ(CurrentHelpTopic(), kAboutBoxTopic);
    QTest::keyClick(box.OKButton, Qt::Key_F1);
    EXPECT_TRUE(HelpWindow()->isVisible());
    EXPECT_TRUE(HelpWindow()->isModal());
    EXPECT_GT(Scroll(), 0);
    HelpWindow()->hide();
    box.OKButton->click();
    return dialog.result();
  });
  frm.SetAboutBox(&about);
  frm.AboutSMClick();
  EXPECT_TRUE(dialogs.modal_answers.empty());
  // Afterwards the help comes up beside the program again.
  ShowHelpTopic(kHelpContentsTopic);
  EXPECT_FALSE(HelpWindow()->isModal());
}

}  // namespace
}  // namespace lirvane
