// The Qt dialogs a user sees: Qt's own texts in Russian, the confirmation
// box as the program words it, and the normal-font dialog without effects.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/application.h"
#include "platform/dialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_xdg_homes.h"

namespace lirvane {
namespace {

// Runs `look` on the modal window the next call opens, from inside its
// event loop.
void WhenModalShows(const std::function<void(QWidget&)>& look) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [timer, look] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      look(*modal);
    }
  });
  timer->start(20);
}

// Room a title bar needs besides the title: the window's icon and its
// minimise, maximise and close buttons.
constexpr int kTitleBarExtras = 120;

class QtDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    testing::InstallScriptedDialogs();
    // A start of the program, which loads Qt's translations.
    Application app({}, dir.filePath("circuits.dat").toStdString());
    app.Start();
  }

  testing::TempXdgHomes xdg_homes;
  QTemporaryDir dir;
  std::unique_ptr<Dialogs> qt = MakeQtDialogs();
};

TEST_F(QtDialogsTest, QtOwnTextsAreRussian) {
  for (const auto& [context, text] :
       {std::pair{"QFileDialog", "Look in:"}, std::pair{"QFileDialog", "File &name:"},
        std::pair{"QPrintDialog", "Print"}, std::pair{"QFontDialog", "Select Font"},
        std::pair{"QPlatformTheme", "Cancel"}}) {
    const QString shown = QCoreApplication::translate(context, text);
    EXPECT_NE(shown, QString::fromLatin1(text)) << context << " " << text;
  }
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("Отмена"));
}

TEST_F(QtDialogsTest, ConfirmationKeepsItsOwnWords) {
  QStringList buttons;
  QString caption;
  WhenModalShows([&](QWidget& modal) {
    auto& box = dynamic_cast<QMessageBox&>(modal);
    caption = box.windowTitle();
    for (QAbstractButton* button : box.buttons()) buttons << button->text();
    box.buttons().back()->click();  // "&No"
  });
  EXPECT_EQ(qt->Confirm(nullptr, QStringLiteral("Confirm"), QStringLiteral("?")),
            ConfirmAnswer::kNo);
  EXPECT_EQ(caption, "Confirm");
  EXPECT_EQ(buttons, QStringList({"&Yes", "&No"}));
}

TEST_F(QtDialogsTest, MessageBoxesAreWideEnoughForTheirTitle) {
  // The window manager's title bar also carries an icon and three buttons.
  for (const bool confirm : {false, true}) {
    QString caption;
    int width = 0, needed = 0;
    WhenModalShows([&](QWidget& modal) {
      caption = modal.windowTitle();
      width = modal.width();
      needed = QFontMetrics(modal.font()).horizontalAdvance(caption) + kTitleBarExtras;
      dynamic_cast<QMessageBox&>(modal).buttons().back()->click();
    });
    if (confirm)
      qt->Confirm(nullptr, QStringLiteral("Confirm"), QStringLiteral("?"));
    else
      qt->ShowMessage(nullptr, AppTitle(), QString::fromUtf8("Файл не найден!"),
                      MessageIcon::kNone);
    EXPECT_EQ(caption, confirm ? QStringLiteral("Confirm") : AppTitle());
    EXPECT_GE(width, needed) << caption.toStdString();
  }
}

TEST_F(QtDialogsTest, NormalFontDialogOffersNoEffectsOrWritingSystem) {
  int shown_checks = -1, shown_combos = -1;
  WhenModalShows([&](QWidget& modal) {
    auto& dialog = dynamic_cast<QFontDialog&>(modal);
    shown_checks = shown_combos = 0;
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) shown_checks += box->isVisible();
    for (QComboBox* box : dialog.findChildren<QComboBox*>()) shown_combos += box->isVisible();
    dialog.reject();
  });
  EXPECT_FALSE(qt->ChooseFont(nullptr, QFont("Arial", 10)));
  EXPECT_EQ(shown_checks, 0);  // strike-out, underline
  EXPECT_EQ(shown_combos, 0);  // writing system
}

TEST_F(QtDialogsTest, NormalFontDialogShowsItsSample) {
  // With the effects and the writing system gone, Qt's layout once gave the
  // sample no height at all.
  QString sample;
  int height = -1, needed = 0;
  WhenModalShows([&](QWidget& modal) {
    auto* edit = modal.findChild<QLineEdit*>("qt_fontDialog_sampleEdit");
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    sample = edit->text();
    height = edit->height();
    needed = QFontMetrics(edit->font()).height();
    dynamic_cast<QDialog&>(modal).reject();
  });
  EXPECT_FALSE(qt->ChooseFont(nullptr, QFont("Arial Cyr", 10)));
  EXPECT_GE(height, needed);
  EXPECT_TRUE(sample.contains(QString::fromUtf8("Яя"))) << sample.toStdString();
}

#ifndef _WIN32
TEST_F(QtDialogsTest, QtKeepsItsDialogStateInTheProgramsFolder) {
  {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDirectory(dir.path());
    dialog.show();
    QApplication::processEvents();
    static_cast<QDialog&>(dialog).reject();  // Qt writes the dialog's state when it goes
  }
  EXPECT_FALSE(std::filesystem::exists(xdg_homes.Config() / "QtProject.conf"));
  EXPECT_TRUE(std::filesystem::exists(xdg_homes.Config() / "lirvane" / "QtProject.conf"));
}
#endif

}  // namespace
}  // namespace lirvane
