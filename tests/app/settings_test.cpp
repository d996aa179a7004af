// Settings across real restarts: one Application after another against a
// store in a temporary XDG_CONFIG_HOME.
#include "base/version.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

#include <chrono>
#include <fstream>
#include <functional>

#include "app/application.h"
#include "platform/store/store_accessor.h"
#include "platform/dock_toolbar.h"
#include "platform/store/sqlite_store_backend.h"
#include "platform/system_encoding.h"
#include "platform/text_pane.h"
#include "tests/support/temp_xdg_homes.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/custom_frm.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;

constexpr std::string_view kProgram = "\\SOFTWARE\\Velkor\\Lirvane\\Program";

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  // One run of the program: start, show, `work`, close.
  void Run(const std::function<void(Application&)>& work = {}, std::vector<std::string> args = {}) {
    Application app(std::move(args), SchemeFile());
    app.Start();
    app.ShowMainWindow();
    QApplication::processEvents();
    if (work) work(app);
    app.MainFrm().close();
  }

  std::filesystem::path SchemeFile() { return dir.filePath("circuits.dat").toStdString(); }

  // Direct access to the store the runs use.
  StoreAccessor Store() {
    return StoreAccessor(
        std::make_unique<SqliteStoreBackend>(SqliteStoreBackend::DefaultDatabaseFile()));
  }

  bool HasProgramKey() {
    StoreAccessor store = Store();
    return store.OpenKey(kProgram, false);
  }

  // The store and the desktop entries each start writes stay in the test's
  // own folders.
  testing::TempXdgHomes xdg_homes;
  QTemporaryDir dir;
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
};

TEST_F(SettingsTest, FirstRunWithoutSavingStoresNothing) {
  Run([](Application& app) { app.MainFrm().MSaveOpt->trigger(); });
  EXPECT_FALSE(HasProgramKey());
  // Still a first run: a file on the command line is not opened.
  const QString file = dir.filePath("a.txt");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("text");
  f.close();
  Run(
      [](Application& app) {
        EXPECT_EQ(app.MainFrm().MemoF->Text(), "");
        EXPECT_EQ(app.MainFrm().FileBox->count(), 0);
      },
      {file.toStdString()});
}

TEST_F(SettingsTest, LayoutOptionsRecentFilesAndFontsSurviveARestart) {
  const QString file = dir.filePath("opened.txt");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("x");
  f.close();
  Run();  // the first run creates the settings
  ASSERT_TRUE(HasProgramKey());
  Run([&](Application& app) {
    TMainFrm& frm = app.MainFrm();
    frm.move(40, 50);
    frm.resize(700, 420);
    frm.Splitter1->setSizes({300, 400});
    app.CustomFrm().move(60, 70);
    frm.MStext->trigger();
    frm.ShowPrintM->trigger();
    frm.MShowList->trigger();
    frm.Options().normal_font_size = 14;
    frm.Options().normal_font_name = "DejaVu Sans";
    frm.FileBox->setEditText(file);
    frm.LoadFileFromBox();
    QApplication::processEvents();
  });
  Run([&](Application& app) {
    TMainFrm& frm = app.MainFrm();
    EXPECT_EQ(frm.pos(), QPoint(40, 50));
    EXPECT_EQ(frm.size(), QSize(700, 420));
    EXPECT_EQ(frm.MemoF->width(), 300);
    EXPECT_EQ(app.CustomFrm().pos(), QPoint(60, 70));
    EXPECT_FALSE(frm.Options().show_pictures);
    EXPECT_TRUE(frm.Options().show_captions);
    EXPECT_FALSE(frm.Options().print_dialog);
    EXPECT_FALSE(frm.ShowPrintM->isChecked());
    EXPECT_TRUE(frm.PathBar->isHidden());
    EXPECT_FALSE(frm.MShowList->isChecked());
    EXPECT_TRUE(frm.MShowCode->isChecked());
    EXPECT_EQ(frm.Options().normal_font_size, 14);
    EXPECT_EQ(frm.MemoF2->BaseFont().pointSize(), 14);
    EXPECT_EQ(frm.MemoF2->BaseFont().family(), "DejaVu Sans");
    EXPECT_EQ(frm.MemoF->BaseFont().pointSize(), 8);  // the left pane's font is never stored
    ASSERT_EQ(frm.FileBox->count(), 1);
    EXPECT_EQ(frm.FileBox->itemText(0), file);
    EXPECT_EQ(frm.OpenDialogFolder(), QString());  // fewer than ten entries
  });
  StoreAccessor store = Store();
  ASSERT_TRUE(store.OpenKey("\\SOFTWARE\\Velkor\\Lirvane\\Version", false));
  EXPECT_EQ(store.ReadString(""), "3.0");
}

TEST_F(SettingsTest, UntickedSaveOptionKeepsTheLastLayoutButRecordsFiles) {
  Run();
  Run([](Application& app) { app.MainFrm().move(10, 20); });
  const QString file = dir.filePath("later.txt");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("x");
  f.close();
  Run(
      [&](Application& app) {
        app.MainFrm().move(300, 200);
        app.MainFrm().MSaveOpt->trigger();
      },
      {file.toStdString()});
  Run([&](Application& app) {
    EXPECT_FALSE(app.MainFrm().MSaveOpt->isChecked());
    EXPECT_EQ(app.MainFrm().pos(), QPoint(10, 20));
    ASSERT_EQ(app.MainFrm().FileBox->count(), 1);
    EXPECT_EQ(app.MainFrm().FileBox->itemText(0), file);
  });
}

TEST_F(SettingsTest, MaximizedWindowKeepsItsNormalSizeReadable) {
  Run();
  Run([](Application& app) {
    app.MainFrm().resize(640, 400);
    app.MainFrm().showMaximized();
    QApplication::processEvents();
  });
  StoreAccessor store = Store();
  ASSERT_TRUE(store.OpenKey(kProgram, false));
  EXPECT_EQ(store.ReadInteger("WS"), 1);
  EXPECT_EQ(store.ReadInteger("FWidth"), 640);  // present, so the layout group reads on
  Run([](Application& app) {
    EXPECT_TRUE(app.MainFrm().isMaximized());
    EXPECT_TRUE(app.MainFrm().MSaveOpt->isChecked());
  });
}

TEST_F(SettingsTest, StoredValuesOfTheEdgeKinds) {
  Run();
  {
    StoreAccessor store = Store();
    ASSERT_TRUE(store.OpenKey(kProgram, false));
    store.WriteInteger("WS", 2);         // only 1 maximizes
    store.WriteInteger("CodeBarD", 0);   // no such dock: stays where it is
    store.WriteInteger("showglyph", 2);  // any non-zero Boolean is true
    store.WriteInteger("showcaption", 0);
    store.DeleteValue("Last0");
    store.WriteString("Last1", "/tmp/second.txt");
  }
  Run([](Application& app) {
    EXPECT_FALSE(app.MainFrm().isMaximized());
    EXPECT_EQ(app.MainFrm().CodeBar->CurrentDock(), DockToolBar::kUpDock);
    EXPECT_TRUE(app.MainFrm().Options().show_pictures);
    EXPECT_FALSE(app.MainFrm().Options().show_captions);
    ASSERT_EQ(app.MainFrm().FileBox->count(), 1);
    EXPECT_EQ(app.MainFrm().FileBox->itemText(0), "/tmp/second.txt");
  });
  StoreAccessor store = Store();
  ASSERT_TRUE(store.OpenKey(kProgram, false));
  EXPECT_EQ(store.ReadString("Last0"), "/tmp/second.txt");  // saved back as entry 0
}

TEST_F(SettingsTest, AValueOfAnotherKindEndsTheLayoutGroup) {
  Run([](Application& app) { app.MainFrm().move(10, 20); });
  {
    StoreAccessor store = Store();
    ASSERT_TRUE(store.OpenKey(kProgram, false));
    store.WriteInteger("FCLeft", 5);
    store.WriteString("MFWidth", "wide");  // a string where a number belongs
    store.WriteInteger("showcaption", 0);  // after it: not applied
    store.WriteInteger("FSZ", 12);
  }
  Run([](Application& app) {
    EXPECT_EQ(app.MainFrm().pos(), QPoint(10, 20));  // before it: applied
    EXPECT_EQ(app.CustomFrm().x(), 5);
    EXPECT_TRUE(app.MainFrm().Options().show_captions);
    EXPECT_EQ(app.MainFrm().Options().normal_font_size, 12);  // read on its own
  });
}

TEST_F(SettingsTest, Utf8FilesOptionIsStoredAndGovernsTheCommandLineFile) {
  const QString file = dir.filePath("utf8.txt");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("мир 😀");
  f.close();
  Run();
  {
    StoreAccessor store = Store();
    ASSERT_TRUE(store.OpenKey(kProgram, false));
    store.WriteBool("Utf8Files", true);
  }
  Run(
      [](Application& app) {
        TMainFrm& frm = app.MainFrm();
        EXPECT_TRUE(frm.MUtf8Files->isChecked());
        EXPECT_EQ(frm.MemoF->Utf8Text(), "мир 😀");
        frm.MUtf8Files->trigger();
      },
      {file.toStdString()});
  {
    StoreAccessor store = Store();
    ASSERT_TRUE(store.OpenKey(kProgram, false));
    EXPECT_FALSE(store.ReadBool("Utf8Files"));
  }
  Run(
      [](Application& app) {
        EXPECT_FALSE(app.MainFrm().MUtf8Files->isChecked());
        EXPECT_EQ(app.MainFrm().MemoF->Text(),
                  "\xD0\xBC\xD0\xB8\xD1\x80 \xF0\x9F\x98\x80");  // bytes
      },
      {file.toStdString()});
  // A store from before the option: the start value, and the rest loads.
  {
    StoreAccessor store = Store();
    ASSERT_TRUE(store.OpenKey(kProgram, false));
    store.DeleteValue("Utf8Files");
    store.WriteInteger("showcaption", 0);
  }
  Run([](Application& app) {
    EXPECT_EQ(app.MainFrm().Options().utf8_files, SystemEncodingIsUtf8());
    EXPECT_EQ(app.MainFrm().MUtf8Files->isChecked(), SystemEncodingIsUtf8());
    EXPECT_FALSE(app.MainFrm().Options().show_captions);
  });
}

TEST_F(SettingsTest, MissingFontSizeStopsTheLoadBeforeTheCommandLine) {
  Run();
  {
    StoreAccessor store = Store();
    ASSERT_TRUE(store.OpenKey(kProgram, false));
    store.DeleteValue("FSZ");
  }
  const QString file = dir.filePath("a.txt");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("text");
  f.close();
  Run([](Application& app) { EXPECT_EQ(app.MainFrm().MemoF->Text(), ""); }, {file.toStdString()});
  ASSERT_FALSE(dialogs.messages.empty());
  // The quote sorts before the full stop, so none is added.
  EXPECT_EQ(dialogs.messages.back().text, "Failed to get data for 'FSZ'");
  EXPECT_EQ(dialogs.messages.back().caption, QString("Velkor Lirvane! ") + kProgramVersion);
  EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::kError);
}

TEST_F(SettingsTest, CommandLineFileOpensAfterTheRecentFiles) {
  Run();
  const QString file = dir.filePath("cmd.txt");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("from the command line");
  f.close();
  {
    StoreAccessor store = Store();
    ASSERT_TRUE(store.OpenKey(kProgram, false));
    store.WriteString("Last0", "/tmp/older.txt");
  }
  Run(
      [&](Application& app) {
        EXPECT_EQ(app.MainFrm().MemoF->Text(), "from the command line");
        ASSERT_EQ(app.MainFrm().FileBox->count(), 2);
        EXPECT_EQ(app.MainFrm().FileBox->itemText(1), file);
      },
      {file.toStdString()});
}

TEST_F(SettingsTest, FromAutorunStartsMinimizedOnLaterRunsOnly) {
  Run([](Application& app) { EXPECT_FALSE(app.MainFrm().isMinimized()); }, {"-fromautorun"});
  Run([](Application& app) { EXPECT_TRUE(app.MainFrm().isMinimized()); }, {"-fromautorun"});
  Run(
      [](Application& app) {
        EXPECT_FALSE(app.MainFrm().isMinimized());
        EXPECT_FALSE(app.MainFrm().MemoF->Text().size());
      },
      {"-FROMAUTORUN"});
  EXPECT_EQ(dialogs.Texts().back(), QString::fromUtf8("Файл не найден!"));
}

TEST_F(SettingsTest, FloatingToolbarsDockValues) {
  auto float_bar = [](DockToolBar* bar) {
    bar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    bar->show();
    QApplication::processEvents();
    ASSERT_TRUE(bar->isFloating());
  };
  // Floating at the very first save: the top dock is written, so the next
  // start reads the whole layout group.
  Run([&](Application& app) {
    float_bar(app.MainFrm().CodeBar);
    app.MainFrm().move(33, 44);
  });
  {
    StoreAccessor store = Store();
    ASSERT_TRUE(store.OpenKey(kProgram, false));
    EXPECT_EQ(store.ReadInteger("CodeBarD"), DockToolBar::kUpDock);
    store.WriteInteger("FileBarD", DockToolBar::kLoDock);
  }
  Run([&](Application& app) {
    EXPECT_EQ(app.MainFrm().FileBar->CurrentDock(), DockToolBar::kLoDock);
    float_bar(app.MainFrm().FileBar);
  });
  // A stored dock is kept while the toolbar floats.
  StoreAccessor store = Store();
  ASSERT_TRUE(store.OpenKey(kProgram, false));
  EXPECT_EQ(store.ReadInteger("FileBarD"), DockToolBar::kLoDock);
}

TEST_F(SettingsTest, BadSchemeFileDoesNotCostTheSettings) {
  Run([](Application& app) { app.MainFrm().move(11, 22); });
  std::ofstream(SchemeFile(), std::ios::binary) << "Broken\r\nnot a number\r\n";
  Run([](Application& app) { EXPECT_EQ(app.MainFrm().pos(), QPoint(11, 22)); });
  EXPECT_EQ(dialogs.messages.back().text, "'not a number' is not a valid integer value.");
  // The unreadable file is kept beside the new one.
  EXPECT_TRUE(std::filesystem::exists(SchemeFile().string() + ".bak"));
}

TEST_F(SettingsTest, SchemeFileMissingOnceThenWritten) {
  Run();
  EXPECT_EQ(dialogs.Texts(), std::vector<QString>({QString::fromUtf8("Файл схем не найден!")}));
  EXPECT_TRUE(std::filesystem::exists(SchemeFile()));
  Run();
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

// Another program holding the settings database for longer than any wait.
class HeldStore {
 public:
  explicit HeldStore(const std::filesystem::path& file) {
    sqlite3_open(file.c_str(), &db_);
    ok_ = sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~HeldStore() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
  }
  bool Ok() const { return ok_; }

 private:
  sqlite3* db_ = nullptr;
  bool ok_ = false;
};

TEST_F(SettingsTest, HeldStoreIsNeitherAFirstRunNorOverwritten) {
  Run([](Application& app) { app.MainFrm().move(11, 22); });
  const size_t before = dialogs.messages.size();
  const size_t questions = dialogs.confirmations.size();
  {
    HeldStore held(xdg_homes.DatabaseFile());
    ASSERT_TRUE(held.Ok());
    const auto start = std::chrono::steady_clock::now();
    Run([](Application& app) {
      EXPECT_NE(app.MainFrm().pos(), QPoint(11, 22));  // design values for this run
      app.MainFrm().move(300, 300);
    });
    // A few seconds in all, not a wait per statement.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
  }
  EXPECT_EQ(dialogs.confirmations.size(), questions);  // no first-run question
  ASSERT_EQ(dialogs.messages.size(), before + 1);
  EXPECT_TRUE(
      dialogs.messages.back().text.startsWith(QString::fromUtf8("Не удалось прочитать настройки")));
  // What the user had saved is still there and comes back.
  Run([](Application& app) { EXPECT_EQ(app.MainFrm().pos(), QPoint(11, 22)); });
  EXPECT_EQ(dialogs.messages.size(), before + 1);
}

TEST_F(SettingsTest, DamagedStoreIsSetAsideAndStartedAfresh) {
  Run();
  const std::filesystem::path file = xdg_homes.DatabaseFile();
  const std::string junk(4096, '\x5A');
  testing::TempXdgHomes::Write(file, "not a database at all " + junk);
  const size_t before = dialogs.messages.size();
  Run([](Application& app) { app.MainFrm().move(33, 44); });
  ASSERT_EQ(dialogs.messages.size(), before + 1);  // no English write error at exit
  EXPECT_TRUE(dialogs.messages.back().text.contains(QString::fromUtf8("повреждён")));
  EXPECT_TRUE(
      dialogs.messages.back().text.contains(QString::fromStdString(file.string() + ".bad")));
  EXPECT_EQ(testing::TempXdgHomes::Read(file.string() + ".bad"), "not a database at all " + junk);
  // The fresh store works from now on.
  Run([](Application& app) { EXPECT_EQ(app.MainFrm().pos(), QPoint(33, 44)); });
  EXPECT_EQ(dialogs.messages.size(), before + 1);
}

}  // namespace
}  // namespace lirvane
