// What the help, the manual page, the README's opening and the package's
// description tell a new user: every one names UTF-8 and "Авто" (Alt+0),
// the command that finds the recoding itself, instead of advising to try
// the recodings one after another.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(fs::path(LIRVANE_SOURCE_DIR) / file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(Documentation, HelpTellsOfAutoAndUtf8) {
  const std::string help = Read("resources/help/lirvane.html");
  ASSERT_FALSE(help.empty());
  const std::string opening = help.substr(0, help.find("<h2>Содержание</h2>"));
  EXPECT_TRUE(Contains(opening, "UTF-8"));
  EXPECT_TRUE(Contains(opening, "Авто"));
  EXPECT_TRUE(Contains(opening, "Alt+0"));
  EXPECT_FALSE(Contains(help, "по\nочереди") || Contains(help, "по очереди"));
  // "Авто" has a row of its own among the encoding commands.
  EXPECT_TRUE(Contains(help, "<tr><td>Авто</td><td>Alt+0</td>"));
  // The last button of the recoding toolbar is "Авто", not "По схеме".
  EXPECT_FALSE(Contains(help, "последней кнопкой панели"));
}

TEST(Documentation, ManualPageTellsOfAutoAndUtf8) {
  const std::string page = Read("resources/man/lirvane.1");
  const std::string description = page.substr(
      page.find(".SH DESCRIPTION"), page.find(".SH CONVERSION") - page.find(".SH DESCRIPTION"));
  EXPECT_TRUE(Contains(description, "UTF\\-8")) << description;
  EXPECT_TRUE(Contains(description, "Авто")) << description;
  EXPECT_TRUE(Contains(description, "Alt+0")) << description;
}

TEST(Documentation, ReadmeOpeningTellsOfAutoAndUtf8) {
  const std::string readme = Read("README.md");
  const std::string opening = readme.substr(0, readme.find("\n\n", readme.find("\n\n") + 2));
  EXPECT_TRUE(Contains(opening, "UTF-8")) << opening;
  EXPECT_TRUE(Contains(opening, "Авто")) << opening;
  EXPECT_TRUE(Contains(opening, "Alt+0")) << opening;
}

// The Debian package's description is the AppStream text's English part.
TEST(Documentation, PackageDescriptionTellsOfAutoAndUtf8) {
  const std::string metainfo = Read("resources/net.velkor.Lirvane.metainfo.xml");
  const size_t start = metainfo.find("<description>");
  const std::string english = metainfo.substr(start, metainfo.find("<p xml:lang") - start);
  EXPECT_TRUE(Contains(english, "UTF-8")) << english;
  EXPECT_TRUE(Contains(english, "Авто")) << english;
  const std::string russian = metainfo.substr(
      metainfo.find("<p xml:lang"), metainfo.find("</description>") - metainfo.find("<p xml:lang"));
  EXPECT_TRUE(Contains(russian, "UTF-8")) << russian;
  EXPECT_TRUE(Contains(russian, "Авто")) << russian;
}

}  // namespace
