#include "platform/text_pane.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>

#include "platform/pane_text_codec.h"

namespace lirvane {
namespace {

std::string AllBytesButLineBreaks() {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') bytes.push_back(static_cast<char>(b));
  return bytes;
}

TEST(PaneTextCodec, EveryByteHasItsOwnCharacter) {
  const std::string bytes = AllBytesButLineBreaks();
  const QString text = BytesToPaneText(bytes);
  EXPECT_EQ(text.size(), 254);
  EXPECT_EQ(PaneTextToBytes(text), bytes);
  EXPECT_EQ(BytesToPaneText("\x98"), QString(QChar(0x98)));
  EXPECT_EQ(BytesToPaneText("\xE0\xA8"), QString::fromUtf8("аЁ"));
  // Characters Windows-1251 has no byte for.
  EXPECT_EQ(PaneTextToBytes(QString::fromUtf8("a€€ж中")), "a\x88\x88\xE6?");
}

TEST(PaneTextCodec, EachLineBreakIsOneBreak) {
  EXPECT_EQ(PaneTextToBytes(u"a\r\nb"), "a\r\nb");
  EXPECT_EQ(PaneTextToBytes(u"a\rb\nc\r"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(PaneTextToBytes(u"a\r\r\nb"), "a\r\n\r\nb");
  EXPECT_EQ(PaneTextToBytes(u"a\u2029b"), "a\r\nb");
}

// Russian with characters Windows-1251 lacks: an emoji (beyond 16 bits),
// an accented letter, a CJK one and a line separator.
const char kWorldText[] = "Привет, мир! 😀 café 中 a\u2028b";

TEST(PaneTextCodec, Utf8GoesInAndOutWhole) {
  const QString text = Utf8ToPaneText(kWorldText);
  EXPECT_EQ(text, QString::fromUtf8(kWorldText));
  EXPECT_EQ(PaneTextToUtf8(text), kWorldText);
  // Breaks are one each, as with bytes; U+2028 is a character, not a break.
  EXPECT_EQ(Utf8ToPaneText("a\r\nb\rc\nd\r"), QString("a\nb\nc\nd\n"));
  EXPECT_EQ(PaneTextToUtf8(u"a\nb\u2029c\rd\r\ne"), "a\r\nb\r\nc\r\nd\r\ne");
  // Malformed UTF-8 is marked, never dropped silently.
  EXPECT_EQ(Utf8ToPaneText("a\xFF!"), QString::fromUtf16(u"a\uFFFD!"));
}

class PaneTest : public ::testing::Test {
 protected:
  TextPane pane;
  TextPane buffer{TextPane::Storage::kBuffer};
};

TEST_F(PaneTest, EveryByteValueSurvivesThePane) {
  std::string bytes = AllBytesButLineBreaks();
  bytes += "\r\nend";
  for (TextPane* p : {&pane, &buffer}) {
    p->SetText(bytes);
    EXPECT_EQ(p->Text(), bytes);
  }
  // And through the document itself, not only the pane's cached copy.
  pane.SelectAllText();
  EXPECT_EQ(pane.SelectedText(), bytes);
  pane.ReplaceSelection(bytes);
  EXPECT_EQ(pane.Text(), bytes);
}

TEST_F(PaneTest, KoiBytesComeBackAsTheyWent) {
  const std::string koi = "\xF0\xD2\xC9\xD7\xC5\xD4, \xCD\xC9\xD2!";  // Привет, мир! in KOI8-R
  pane.SetText(koi);
  EXPECT_EQ(pane.Text(), koi);
  EXPECT_EQ(pane.toPlainText(), BytesToPaneText(koi));
}

TEST_F(PaneTest, LoneCrAndLfBecomeCrLf) {
  pane.SetText("a\rb\nc\r\nd\r\n");
  EXPECT_EQ(pane.Text(), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(pane.document()->blockCount(), 5);
  buffer.SetText("a\rb");  // the buffer keeps bytes as they are
  EXPECT_EQ(buffer.Text(), "a\rb");
}

TEST_F(PaneTest, EditsInvalidateTheCachedText) {
  pane.SetText("abc");
  QTextCursor cursor = pane.textCursor();
  cursor.movePosition(QTextCursor::End);
  cursor.insertText("\xE4");  // ä has no Windows-1251 byte
  EXPECT_EQ(pane.Text(), "abc?");
}

TEST_F(PaneTest, SelectionReplaceAndCaretInsert) {
  pane.SetText("hello world");
  QTextCursor cursor = pane.textCursor();
  cursor.setPosition(6);
  cursor.setPosition(11, QTextCursor::KeepAnchor);
  pane.setTextCursor(cursor);
  EXPECT_EQ(pane.SelectedText(), "world");
  pane.ReplaceSelection("\xEC\xE8\xF0\r\n!");
  EXPECT_EQ(pane.Text(), "hello \xEC\xE8\xF0\r\n!");
  pane.SelectNothing();
  EXPECT_EQ(pane.SelectedText(), "");
  EXPECT_EQ(pane.textCursor().position(), 0);
  pane.ReplaceSelection(">");
  EXPECT_EQ(pane.Text(), ">hello \xEC\xE8\xF0\r\n!");
}

TEST_F(PaneTest, CutAndCopyUseTheClipboard) {
  pane.SetText("one\r\ntwo");
  pane.SelectAllText();
  pane.CopySelectionToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(), "one\ntwo");
  pane.CutSelectionToClipboard();
  EXPECT_EQ(pane.Text(), "");
}

TEST_F(PaneTest, HoldsAnyTextWhileRecodingSeesWindows1251) {
  for (TextPane* p : {&pane, &buffer}) {
    p->SetUtf8Text(std::string(kWorldText) + "\nend");
    EXPECT_EQ(p->Utf8Text(), std::string(kWorldText) + "\r\nend");
    EXPECT_EQ(p->Characters(), QString::fromUtf8(kWorldText) + "\nend");
    // What the recoding commands read: one "?" for each character 1251
    // lacks, the emoji too, and the separator as a break.
    EXPECT_EQ(p->Text(), "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0! ? caf? ? a\r\nb\r\nend");
  }
  // Bytes put in come out as UTF-8 through the same mapping.
  pane.SetText("\xCF\xF0\xE8\x98\r\n");
  EXPECT_EQ(pane.Utf8Text(), "При\xC2\x98\r\n");
}

TEST_F(PaneTest, CopyingBetweenPanesKeepsEveryCharacter) {
  TextPane other;
  TextPane other_buffer{TextPane::Storage::kBuffer};
  pane.SetUtf8Text(kWorldText);
  buffer.CopyContentsFrom(pane);
  other.CopyContentsFrom(buffer);
  other_buffer.CopyContentsFrom(other);
  EXPECT_EQ(other_buffer.Utf8Text(), kWorldText);
  // A buffer given bytes keeps them as they are, lone CR and all.
  buffer.SetText("a\rb\x98");
  other_buffer.CopyContentsFrom(buffer);
  EXPECT_EQ(other_buffer.Text(), "a\rb\x98");
  // A text set as bytes, then edited: the edit is copied too.
  pane.SetText("\xEC\xE8\xF0");
  EXPECT_EQ(pane.Text(), "\xEC\xE8\xF0");
  QTextCursor end = pane.textCursor();
  end.movePosition(QTextCursor::End);
  end.insertText(QString::fromUtf8(" 😀"));
  other.CopyContentsFrom(pane);
  EXPECT_EQ(other.Utf8Text(), "мир 😀");
  pane.SetUtf8Text(kWorldText);
  // Swapping with a buffer keeps both sides whole.
  pane.SwapContents(buffer);
  EXPECT_EQ(pane.Text(), "a\r\nb\x98");
  EXPECT_EQ(buffer.Utf8Text(), kWorldText);
}

TEST_F(PaneTest, PastedAndDroppedCharactersStay) {
  pane.SetText("[]");
  QTextCursor cursor = pane.textCursor();
  cursor.setPosition(1);
  pane.setTextCursor(cursor);
  pane.ReplaceSelectionCharacters(QString::fromUtf8("Ïðèâåò\r\nÐŸÑ€Ð¸ 😀"));
  EXPECT_EQ(pane.Utf8Text(), "[Ïðèâåò\r\nÐŸÑ€Ð¸ 😀]");
  EXPECT_EQ(pane.document()->blockCount(), 2);

  // A drop from another program.
  pane.show();
  pane.SetText("");
  QMimeData data;
  data.setText(QString::fromUtf8("中文 ✓"));
  const QPoint at(5, 5);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(pane.viewport(), &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(pane.viewport(), &move);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(pane.viewport(), &drop);
  EXPECT_EQ(pane.Utf8Text(), "中文 ✓");
  EXPECT_EQ(pane.Text(), "?? ?");
}

TEST_F(PaneTest, ShiftEnterBreaksTheLineLikeEnter) {
  pane.SetText("ab");
  QTextCursor cursor = pane.textCursor();
  cursor.setPosition(1);
  pane.setTextCursor(cursor);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, "\r");
  QApplication::sendEvent(&pane, &press);
  EXPECT_EQ(pane.Utf8Text(), "a\r\nb");
  EXPECT_EQ(pane.document()->blockCount(), 2);
}

TEST_F(PaneTest, CopyPutsTheCharactersOnTheClipboard) {
  pane.SetUtf8Text("ÐŸÑ€Ð¸ 😀");
  pane.SelectAllText();
  pane.CopySelectionToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("ÐŸÑ€Ð¸ 😀"));
}

TEST_F(PaneTest, WholeTextSizeIsThePaneFontAndStays) {
  pane.SetBaseFont(QFont("Arial Cyr", 8));
  pane.SetText("text");
  pane.SelectAllText();
  pane.SetSelectionPointSize(12);
  pane.SetText("new text");
  EXPECT_EQ(pane.font().pointSize(), 12);
  EXPECT_EQ(pane.BaseFont().pointSize(), 8);
}

}  // namespace
}  // namespace lirvane
