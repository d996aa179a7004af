#include "platform/freedesktop/desktop_entry.h"

#include <gtest/gtest.h>

namespace lirvane {
namespace {

TEST(ExecQuoting, PlainPathStaysBare) {
  EXPECT_EQ(QuoteExecArgument("/opt/lirvane/lirvane"), "/opt/lirvane/lirvane");
  EXPECT_EQ(ExecValue("/opt/lirvane/lirvane", "%f"), "/opt/lirvane/lirvane %f");
}

TEST(ExecQuoting, BlankOrReservedCharacterQuotes) {
  EXPECT_EQ(QuoteExecArgument("/home/u/My Apps/lirvane"), "\"/home/u/My Apps/lirvane\"");
  EXPECT_EQ(QuoteExecArgument("/a(b)/x"), "\"/a(b)/x\"");
  EXPECT_EQ(QuoteExecArgument("/a;b/x"), "\"/a;b/x\"");
  EXPECT_EQ(QuoteExecArgument("/it's/x"), "\"/it's/x\"");
}

TEST(ExecQuoting, QuoteDollarBacktickBackslashAreEscapedInsideQuotes) {
  EXPECT_EQ(QuoteExecArgument("/a\"b$c`d\\e"), "\"/a\\\"b\\$c\\`d\\\\e\"");
}

TEST(ExecQuoting, PercentIsDoubledSoItIsNoFieldCode) {
  EXPECT_EQ(QuoteExecArgument("/100%/x"), "/100%%/x");
  EXPECT_EQ(ExecValue("/100%/x", "%f"), "/100%%/x %f");
}

TEST(ExecQuoting, StringEscapesApplyOnTopOfQuoting) {
  // A literal backslash in a quoted argument ends up as four.
  EXPECT_EQ(ExecValue("/a b\\c", "-fromautorun"), "\"/a b\\\\\\\\c\" -fromautorun");
  // A newline cannot break the entry into two lines.
  EXPECT_EQ(ExecValue("/a\nb", "%f"), "\"/a\\nb\" %f");
}

TEST(KeyFileRead, FindsKeyOnlyInItsGroup) {
  const QByteArray content =
      "[Other]\nExec=wrong\n[Desktop Entry]\n# Exec=comment\nExec[de]=x\n Exec = /bin/x -a \n";
  EXPECT_EQ(ReadKeyFileValue(content, "Desktop Entry", "Exec").value_or("?"), "/bin/x -a");
  EXPECT_FALSE(ReadKeyFileValue(content, "Desktop Entry", "Name").has_value());
  EXPECT_FALSE(ReadKeyFileValue("", "Desktop Entry", "Exec").has_value());
}

TEST(KeyFileEdit, ReplacesTheKeyAndKeepsEverythingElse) {
  const QByteArray before =
      "# mine\n[Added Associations]\napplication/x-lirvane-att=other.desktop;\n\n"
      "[Default Applications]\ntext/html=firefox.desktop\napplication/x-lirvane-att=old.desktop\n"
      "image/png=eog.desktop\n";
  const QByteArray after =
      "# mine\n[Added Associations]\napplication/x-lirvane-att=other.desktop;\n\n"
      "[Default Applications]\ntext/html=firefox.desktop\n"
      "application/x-lirvane-att=lirvane.desktop\nimage/png=eog.desktop\n";
  EXPECT_EQ(SetKeyFileValue(before, "Default Applications", "application/x-lirvane-att",
                            "lirvane.desktop"),
            after);
}

TEST(KeyFileEdit, AddsAfterTheGroupsLastEntryNotAfterItsBlankLines) {
  const QByteArray before =
      "[Default Applications]\ntext/html=firefox.desktop\n\n[Removed Associations]\n";
  EXPECT_EQ(SetKeyFileValue(before, "Default Applications", "k", "v"),
            "[Default Applications]\ntext/html=firefox.desktop\nk=v\n\n[Removed Associations]\n");
}

TEST(KeyFileEdit, AppendsAMissingGroup) {
  EXPECT_EQ(SetKeyFileValue("", "Default Applications", "k", "v"), "[Default Applications]\nk=v\n");
  EXPECT_EQ(SetKeyFileValue("[Added Associations]\na=b;", "Default Applications", "k", "v"),
            "[Added Associations]\na=b;\n\n[Default Applications]\nk=v\n");
}

TEST(KeyFileEdit, KeepsCrLfLineEnds) {
  EXPECT_EQ(SetKeyFileValue("[Default Applications]\r\na=b\r\n", "Default Applications", "k", "v"),
            "[Default Applications]\r\na=b\r\nk=v\r\n");
}

}  // namespace
}  // namespace lirvane
