#include "platform/text_pane.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>

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
