#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QComboBox>
#include <QFile>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMarginsF>
#include <QPageLayout>
#include <QTest>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>

#include "platform/rtf/rtf_writer.h"
#include "platform/text_pane.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;

class FilesTest : public ::testing::Test {
 protected:
  // The tests below start with "Файлы в UTF-8" off, as on Windows: files
  // are Windows-1251 bytes. Those with the option on say so.
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetUtf8Files(false);
  }

  void SetUtf8Files(bool on) {
    if (frm.MUtf8Files->isChecked() != on) frm.MUtf8Files->trigger();
    ASSERT_EQ(frm.Options().utf8_files, on);
  }

  QString Path(const QString& name) { return dir.filePath(name); }

  QString Write(const QString& name, const std::string& content) {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content.data(), static_cast<qint64>(content.size()));
    return Path(name);
  }

  static std::string Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
  }

  void Open(const QString& path) {
    dialogs.open_answers.push_back(path);
    frm.OpenSMClick();
  }

  void SaveAs(const QString& path) {
    dialogs.save_answers.push_back(path);
    frm.SaveSMClick();
  }

  QStringList Recent() {
    QStringList names;
    for (int i = 0; i < frm.FileBox->count(); ++i) names << frm.FileBox->itemText(i);
    return names;
  }

  QTemporaryDir dir;
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm frm;
};

const std::string kRtf = WriteRtfDocument("\xCF\xF0\xE8\xE2\xE5\xF2 {\\}\r\nline 2", "Arial", 10);

TEST_F(FilesTest, OpenFillsLeftPaneRememberedTextAndList) {
  const QString path = Write("koi.txt", "\xF0\xD2\xC9\r\nraw\n\x98");
  Open(path);
  ASSERT_EQ(dialogs.open_requests.size(), 1u);
  EXPECT_EQ(dialogs.open_requests[0].title, QString::fromUtf8("Выберите файл"));
  EXPECT_EQ(dialogs.open_requests[0].filters.size(), 3);
  EXPECT_TRUE(
      dialogs.open_requests[0].filters[0].startsWith(QString::fromUtf8("Текстовые и HTML")));
  EXPECT_EQ(frm.MemoF->Text(), "\xF0\xD2\xC9\r\nraw\r\n\x98");  // bytes as they are
  EXPECT_EQ(frm.MemoBk->Text(), "\xF0\xD2\xC9\r\nraw\n\x98");
  EXPECT_EQ(Recent(), QStringList({path}));
  EXPECT_EQ(frm.OpenDialogFolder(), dir.path() + '/');
  // The next open dialog starts in that folder.
  dialogs.open_answers.push_back(std::nullopt);
  frm.OpenSMClick();
  EXPECT_EQ(dialogs.open_requests[1].directory, dir.path() + '/');
  EXPECT_TRUE(dialogs.messages.empty());
}

#ifndef _WIN32
// Types `text` key by key, Cyrillic letters too.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

TEST_F(FilesTest, TypedNameCompletesOnlyInItsOwnLetterCase) {
  frm.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
  frm.FileBox->addItem(QString::fromUtf8("/tmp/Файл.txt"));
  frm.FileBox->addItem(QString::fromUtf8("/tmp/файл-2.txt"));
  frm.FileBox->setEditText(QString());
  QLineEdit* edit = frm.FileBox->lineEdit();
  edit->setFocus();
  Type(edit, QString::fromUtf8("/tmp/Ф"));
  EXPECT_EQ(edit->text(), QString::fromUtf8("/tmp/Файл.txt"));  // its own case: completed
  edit->clear();
  Type(edit, QString::fromUtf8("/tmp/файл."));
  EXPECT_EQ(edit->text(), QString::fromUtf8("/tmp/файл."));  // not "/tmp/Файл.txt"
}
#endif

TEST_F(FilesTest, RtfCutOffInItsHeaderLoadsAsPlainText) {
  const std::string cut = kRtf.substr(0, kRtf.find("fonttbl") + 20);
  Open(Write("cut.rtf", cut));
  EXPECT_EQ(frm.MemoF->Text(), cut);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FilesTest, RtfEndingInAnyCaseReadsRichText) {
  for (const char* name : {"a.RTF", "b.rtf", "c.Rtf"}) {
    Open(Write(name, kRtf));
    EXPECT_EQ(frm.MemoF->Text(), "\xCF\xF0\xE8\xE2\xE5\xF2 {\\}\r\nline 2") << name;
    EXPECT_FALSE(frm.MemoBk->RtfMode());
  }
  frm.MemoF->SetText("edited");
  frm.ReloadSMClick();
  EXPECT_EQ(frm.MemoF->Text(), "\xCF\xF0\xE8\xE2\xE5\xF2 {\\}\r\nline 2");
}

TEST_F(FilesTest, OtherEndingsAndPlainContentReadAsPlain) {
  for (const char* name : {"a.rtf.txt", "a.rtfx", "rtf"}) {
    Open(Write(name, kRtf));
    EXPECT_EQ(frm.MemoF->Text().substr(0, 6), "{\\rtf1") << name;
  }
  Open(Write("plain.rtf", "just text"));
  EXPECT_EQ(frm.MemoF->Text(), "just text");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FilesTest, MissingFilesAndUnreadableOnes) {
  frm.FileBox->setEditText("");
  frm.FileBoxKeyPress();
  frm.FileBox->setEditText(Path("nothing.txt"));
  frm.ToolbarButton9721Click();
  frm.FileBox->setEditText(dir.path());  // a folder
  frm.LoadFileFromBox();
  EXPECT_EQ(dialogs.Texts(), std::vector<QString>(3, QString::fromUtf8("Файл не найден!")));
  EXPECT_TRUE(Recent().isEmpty());
}

TEST_F(FilesTest, SameNameInAnotherCaseIsListedOnce) {
  Open(Write("Report.txt", "1"));
  Open(Write("REPORT.TXT", "2"));
  EXPECT_EQ(Recent().size(), 1);
  Open(Write(QString::fromUtf8("Отчёт.txt"), "3"));
  Open(Write(QString::fromUtf8("ОТЧЁТ.txt"), "4"));
  EXPECT_EQ(Recent().size(), 2);
  SaveAs(Path(QString::fromUtf8("отчёт.TXT")));
  EXPECT_EQ(Recent().size(), 2);
}

TEST_F(FilesTest, TrimmingRulesAtTenEntries) {
  QStringList names;
  for (int i = 0; i < 10; ++i) names << Write(QStringLiteral("f%1.txt").arg(i), "x");
  for (const QString& n : names) Open(n);
  EXPECT_EQ(Recent(), names);
  // Opening drops the oldest entry.
  const QString eleventh = Write("f10.txt", "x");
  Open(eleventh);
  EXPECT_EQ(Recent(), names.mid(1) << eleventh);
  // Saving drops entry 1 instead, so entry 0 survives any number of saves.
  const QStringList before = Recent();
  SaveAs(Path("s1.txt"));
  SaveAs(Path("s2.txt"));
  EXPECT_EQ(Recent().size(), 10);
  EXPECT_EQ(Recent()[0], before[0]);
  EXPECT_EQ(Recent()[8], Path("s1.txt"));
  EXPECT_EQ(Recent()[9], Path("s2.txt"));
  EXPECT_FALSE(Recent().contains(before[1]));
  EXPECT_FALSE(Recent().contains(before[2]));
}

TEST_F(FilesTest, SaveWritesTheRightPane) {
  frm.MemoF2->SetText("\xCF\xF0\xE8\r\nline\nend");
  frm.FileBox->setEditText(Path("sub/opened.txt"));
  const QString plain = Path("noending");
  SaveAs(plain);
  ASSERT_EQ(dialogs.save_requests.size(), 1u);
  EXPECT_EQ(dialogs.save_requests[0].title, QString::fromUtf8("Укажите имя файла"));
  EXPECT_EQ(dialogs.save_requests[0].directory, Path("sub/"));
  EXPECT_EQ(Read(plain), "\xCF\xF0\xE8\r\nline\r\nend");
  EXPECT_EQ(frm.FileBox->currentText(), Path("sub/opened.txt"));  // unchanged by saving
  SaveAs(Path("doc.Rtf"));
  EXPECT_EQ(Read(Path("doc.Rtf")).substr(0, 6), "{\\rtf1");
  EXPECT_FALSE(frm.MemoF2->RtfMode());
  Open(Path("doc.Rtf"));
  EXPECT_EQ(frm.MemoF->Text(), "\xCF\xF0\xE8\r\nline\r\nend");
  dialogs.save_answers.push_back(std::nullopt);  // cancelled
  frm.SaveSMClick();
  EXPECT_EQ(Recent().size(), 2);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FilesTest, FailedSaveKeepsTheOldFileAndListsTheName) {
  const QString path = Write("old.txt", "old content");
  frm.MemoF2->SetText(std::string(64 * 1024, 'x'));
  // A full disk, as far as this process is concerned.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  SaveAs(path);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(dialogs.Texts(),
            std::vector<QString>({QString::fromUtf8("Ошибка при записи на диск!")}));
  EXPECT_EQ(Read(path), "old content");
  EXPECT_EQ(Recent(), QStringList({path}));
  // A name that cannot be written at all.
  SaveAs(Path("no/such/folder/x.txt"));
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(Recent().size(), 2);
}

TEST_F(FilesTest, ClearAllLeavesTheList) {
  Open(Write("a.txt", "text"));
  frm.MemoF2->SetText("result");
  frm.NewSMClick();
  EXPECT_EQ(frm.MemoF->Text(), "");
  EXPECT_EQ(frm.MemoF2->Text(), "");
  EXPECT_EQ(frm.MemoBk->Text(), "");
  EXPECT_EQ(Recent().size(), 1);
  EXPECT_EQ(frm.FileBox->currentText(), Path("a.txt"));
}

// "Привет, мир 😀 café" in UTF-8 with LF line ends, as a Linux editor
// writes it.
const std::string kUtf8File = "Привет, мир 😀\ncafé\n";

TEST_F(FilesTest, Utf8FilesOpenAsTextAndSaveAsTheyWere) {
  SetUtf8Files(true);
  Open(Write("utf8.txt", kUtf8File));
  EXPECT_EQ(frm.MemoF->Utf8Text(), "Привет, мир 😀\r\ncafé\r\n");
  EXPECT_EQ(frm.OpenedFileForm().line_break, "\n");
  // The recoding commands see Windows-1251 bytes, "?" where 1251 has none.
  EXPECT_EQ(frm.MemoF->Text(), "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0 ?\r\ncaf?\r\n");
  // Reload brings back the characters, not their bytes.
  frm.MemoF->SetText("edited");
  frm.ReloadSMClick();
  EXPECT_EQ(frm.MemoF->Utf8Text(), "Привет, мир 😀\r\ncafé\r\n");
  // Saved again, the file is the same file, LF and all.
  frm.ChangeSMClick();
  SaveAs(Path("again.txt"));
  EXPECT_EQ(Read(Path("again.txt")), kUtf8File);
  // A recoding result is saved as UTF-8 too.
  frm.MemoF->SetText("\xF0\xD2\xC9\xD7\xC5\xD4\r\n");  // Привет in KOI8-R
  frm.KoiWin1Click();
  SaveAs(Path("result.txt"));
  EXPECT_EQ(Read(Path("result.txt")), "Привет\n");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FilesTest, Utf8FilesKeepByteOrderMarkAndLineBreaks) {
  SetUtf8Files(true);
  for (const std::string& content :
       {std::string("\xEF\xBB\xBFмир\r\nline\r\n"), std::string("мир\rline\r"),
        std::string("one line, no break")}) {
    Open(Write("in.txt", content));
    frm.ChangeSMClick();
    SaveAs(Path("out.txt"));
    EXPECT_EQ(Read(Path("out.txt")), content);
  }
  EXPECT_EQ(frm.MemoF2->Utf8Text(), "one line, no break");
  // With no line break to follow, the system's own is written.
  frm.MemoF2->SetUtf8Text("a\r\nb");
  frm.FileBox->setEditText("");
  SaveAs(Path("typed.txt"));
  EXPECT_EQ(Read(Path("typed.txt")), "a\nb");
}

TEST_F(FilesTest, Utf8FilesStillOpenOtherFilesAsBytes) {
  SetUtf8Files(true);
  // Windows-1251, a UTF-8 sequence cut off at the end, an overlong form, an
  // encoded surrogate: none is UTF-8, so each opens byte by byte.
  for (const std::string& content :
       {std::string("\xCF\xF0\xE8\xE2\xE5\xF2\r\n\x98"), std::string("мир \xD0"),
        std::string("\xC0\xAF"), std::string("\xED\xA0\x80")}) {
    Open(Write("bytes.txt", content));
    EXPECT_EQ(frm.MemoF->Text(), content);
    EXPECT_FALSE(frm.OpenedFileForm().utf8);
  }
  // Saved, a byte file becomes UTF-8 with its own line breaks.
  Open(Write("win.txt", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0"));
  frm.ChangeSMClick();
  SaveAs(Path("win-saved.txt"));
  EXPECT_EQ(Read(Path("win-saved.txt")), "Привет\r\nмир");
}

TEST_F(FilesTest, WithoutUtf8FilesEverythingIsBytesAsBefore) {
  Open(Write("utf8.txt", kUtf8File));
  EXPECT_EQ(frm.MemoF->Text(),
            "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80 "
            "\xF0\x9F\x98\x80\r\ncaf\xC3\xA9\r\n");
  frm.ChangeSMClick();
  SaveAs(Path("saved.txt"));
  EXPECT_EQ(Read(Path("saved.txt")), "Привет, мир 😀\r\ncafé\r\n");  // the bytes, CR LF
  // A pasted character 1251 lacks is "?" in the file, as the recoding sees it.
  frm.MemoF2->SetUtf8Text("мир 😀");
  SaveAs(Path("pasted.txt"));
  EXPECT_EQ(Read(Path("pasted.txt")), "\xEC\xE8\xF0 ?");
}

TEST_F(FilesTest, RtfIsRtfWithUtf8FilesToo) {
  SetUtf8Files(true);
  Open(Write("a.rtf", kRtf));
  EXPECT_EQ(frm.MemoF->Text(), "\xCF\xF0\xE8\xE2\xE5\xF2 {\\}\r\nline 2");
  frm.ChangeSMClick();
  SaveAs(Path("b.rtf"));
  EXPECT_EQ(Read(Path("b.rtf")).substr(0, 6), "{\\rtf1");
  Open(Path("b.rtf"));
  EXPECT_EQ(frm.MemoF->Text(), "\xCF\xF0\xE8\xE2\xE5\xF2 {\\}\r\nline 2");
}

TEST_F(FilesTest, RtfKeepsCharactersWindows1251Lacks) {
  frm.MemoF2->SetUtf8Text("Привет 😀\ncafé");
  SaveAs(Path("chars.rtf"));
  Open(Path("chars.rtf"));
  EXPECT_EQ(frm.MemoF->Utf8Text(), "Привет 😀\r\ncafé");
}

std::string PdfOf(TMainFrm& frm, const QString& path) {
  frm.Printer().setOutputFormat(QPrinter::PdfFormat);
  frm.Printer().setOutputFileName(path);
  frm.PrintSMClick();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// Qt writes the document title into the PDF's info dictionary as a
// UTF-16 string literal, escaping parentheses and backslashes.
std::string PdfTitle(const QString& text) {
  std::string out = "/Title (\xFE\xFF";
  for (QChar c : text) {
    for (char byte : {static_cast<char>(c.unicode() >> 8), static_cast<char>(c.unicode() & 0xFF)}) {
      if (byte == '(' || byte == ')' || byte == '\\') out += '\\';
      out += byte;
    }
  }
  return out + ")";
}

TEST_F(FilesTest, PdfTitleIsTheProgramsNameWithoutAnyLoadedFile) {
  frm.MemoF2->SetText("printed text");
  dialogs.print_answers = {true};
  const std::string pdf = PdfOf(frm, Path("one.pdf"));  // a file chosen in the dialog
  EXPECT_EQ(dialogs.print_dialogs, 1);
  EXPECT_NE(pdf.find(PdfTitle("Velkor Lirvane")), std::string::npos);
  EXPECT_EQ(pdf.find(PdfTitle("Velkor Lirvane ()")), std::string::npos);
  EXPECT_TRUE(dialogs.messages.empty());
  // A cancelled print dialog prints nothing.
  dialogs.print_answers = {false};
  EXPECT_TRUE(PdfOf(frm, Path("three.pdf")).empty());
}

// Stands in for a user's home, where the documents folder is.
class PrintHome {
 public:
  explicit PrintHome(const QString& home)
      : home_(qgetenv("HOME")), config_(qgetenv("XDG_CONFIG_HOME")) {
    QDir().mkpath(home);
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/.config"));
  }
  ~PrintHome() {
    qputenv("HOME", home_);
    qputenv("XDG_CONFIG_HOME", config_);
  }

 private:
  QByteArray home_, config_;
};

TEST_F(FilesTest, PrintWithoutTheDialogNeverOverwritesAFile) {
  if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
  PrintHome home(Path("home"));
  const QString path = Write("letter.txt", "text");
  Open(path);
  frm.MemoF2->SetText("printed text");
  // The print dialog once chose a file; "Показ окна" is off since.
  const QString chosen = Write("print.pdf", "the user's own");
  frm.Printer().setOutputFormat(QPrinter::PdfFormat);
  frm.Printer().setOutputFileName(chosen);
  frm.ShowPrintM->trigger();
  ASSERT_FALSE(frm.Options().print_dialog);
  frm.PrintSMClick();
  frm.PrintSMClick();
  EXPECT_EQ(dialogs.print_dialogs, 0);
  EXPECT_EQ(Read(chosen), "the user's own");
  const QString first = Path("home/Documents/Velkor Lirvane.pdf");
  const QString second = Path("home/Documents/Velkor Lirvane (2).pdf");
  EXPECT_TRUE(Read(first).starts_with("%PDF"));
  EXPECT_TRUE(Read(second).starts_with("%PDF"));
  // Titled with the printed text's file name.
  EXPECT_NE(Read(first).find(PdfTitle("letter.txt")), std::string::npos);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(dialogs.messages[0].text.contains(first)) << dialogs.messages[0].text.toStdString();
  EXPECT_TRUE(dialogs.messages[1].text.contains(second)) << dialogs.messages[1].text.toStdString();
}

// Words of a PDF with their boxes in points, as poppler's pdftotext sees them.
struct PdfWord {
  QString text;
  double x_min, y_min;
};

std::vector<PdfWord> PdfWords(const QString& pdf) {
  QProcess tool;
  tool.start("pdftotext", {"-bbox", pdf, "-"});
  if (!tool.waitForFinished(30000)) return {};
  const QString html = QString::fromUtf8(tool.readAllStandardOutput());
  static const QRegularExpression word(
      R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)"[^>]*>([^<]*)</word>)re");
  std::vector<PdfWord> words;
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    words.push_back({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
  }
  return words;
}

TEST_F(FilesTest, PrintoutHasNoMarginOrPageNumberOfItsOwn) {
  frm.MemoF2->SetText("Top\r\nline");
  dialogs.print_answers = {true};
  const QString pdf = Path("full.pdf");
  ASSERT_FALSE(PdfOf(frm, pdf).empty());
  const std::vector<PdfWord> words = PdfWords(pdf);
  QStringList seen;
  for (const PdfWord& w : words) seen << QString("%1@%2,%3").arg(w.text).arg(w.x_min).arg(w.y_min);
  ASSERT_EQ(words.size(), 2u) << seen.join(' ').toStdString();  // no page number
  EXPECT_EQ(words[0].text, "Top");
  EXPECT_EQ(words[1].text, "line");
  // The text starts at the page's corner, not 2 cm in.
  EXPECT_GT(words[1].y_min, words[0].y_min);
  EXPECT_LT(words[0].x_min, 3.0);
  EXPECT_LT(words[0].y_min, 6.0);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FilesTest, PrintoutKeepsThePageSetUpsMargins) {
  frm.MemoF2->SetText("Top\r\nline");
  frm.N4->trigger();  // "Принтер...": the user sets 20 mm all round
  EXPECT_EQ(dialogs.printer_setups, 1);
  frm.Printer().setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
  dialogs.print_answers = {true};
  const QString pdf = Path("margins.pdf");
  ASSERT_FALSE(PdfOf(frm, pdf).empty());
  const std::vector<PdfWord> words = PdfWords(pdf);
  ASSERT_EQ(words.size(), 2u);
  constexpr double kTwentyMm = 20 / 25.4 * 72;
  EXPECT_NEAR(words[0].x_min, kTwentyMm, 3.0);
  EXPECT_GT(words[0].y_min, kTwentyMm - 3.0);
  EXPECT_LT(words[0].y_min, kTwentyMm + 6.0);
}

TEST_F(FilesTest, PrintoutShowsCharactersWindows1251Lacks) {
  frm.MemoF2->SetUtf8Text("Привет café ✓");
  dialogs.print_answers = {true};
  const QString pdf = Path("chars.pdf");
  ASSERT_FALSE(PdfOf(frm, pdf).empty());
  QStringList seen;
  for (const PdfWord& w : PdfWords(pdf)) seen << w.text;
  EXPECT_EQ(seen, QStringList({QString::fromUtf8("Привет"), QString::fromUtf8("café"),
                               QString::fromUtf8("✓")}));
}

TEST_F(FilesTest, PrintWithoutPrinterGoesToDocumentsAndSaysWhere) {
  if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
  PrintHome home(Path("home"));
  frm.ShowPrintM->trigger();  // "Показ окна" off: no dialog
  frm.MemoF2->SetText("printed text");
  frm.PrintSMClick();
  const QString pdf = Path("home/Documents/Velkor Lirvane.pdf");
  EXPECT_TRUE(Read(pdf).starts_with("%PDF"));
  EXPECT_NE(Read(pdf).find(PdfTitle("Velkor Lirvane")), std::string::npos);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(dialogs.messages[0].text.contains(pdf)) << dialogs.messages[0].text.toStdString();
}

TEST_F(FilesTest, FailedPrintIsReported) {
  dialogs.print_answers = {true};  // a file the dialog chose
  frm.MemoF2->SetText("printed text");
  frm.Printer().setOutputFormat(QPrinter::PdfFormat);
  frm.Printer().setOutputFileName(Path("no such folder/out.pdf"));
  frm.PrintSMClick();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QString::fromUtf8("Ошибка при печати!"));
}

}  // namespace
}  // namespace lirvane
