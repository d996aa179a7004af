#include "platform/store/store_names.h"

#include <gtest/gtest.h>

namespace lirvane {
namespace {

TEST(FoldStoreNameTest, FoldsAsciiAndCyrillicInBothEncodings) {
  EXPECT_EQ(FoldStoreName("SOFTWARE\\Velkor"), "software\\velkor");
  EXPECT_EQ(FoldStoreName("FSZ[1]_@"), "fsz[1]_@");
  // UTF-8: А..Я, Ё and the other capitals below А.
  EXPECT_EQ(FoldStoreName("ПРОГРАММА Ёж Ђ"), "программа ёж ђ");
  EXPECT_EQ(FoldStoreName("Ключ"), FoldStoreName("кЛЮЧ"));
  // Windows-1251 "ПРОГРАММА Ёж" is not valid UTF-8.
  EXPECT_EQ(FoldStoreName("\xCF\xD0\xCE\xC3\xD0\xC0\xCC\xCC\xC0 \xA8\xE6"),
            "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0 \xB8\xE6");
  EXPECT_EQ(FoldStoreName("\xB2\xAF\xAA\xA1"), "\xB3\xBF\xBA\xA2");  // ІЇЄЎ
  // Lower case and everything else stay as they are.
  EXPECT_EQ(FoldStoreName("\xE0\xFF\x01"), "\xE0\xFF\x01");
  EXPECT_EQ(FoldStoreName(std::string("a\0B", 3)), std::string("a\0b", 3));
}

TEST(FoldStoreNameTest, DistinctNamesStayDistinct) {
  EXPECT_NE(FoldStoreName("Last0"), FoldStoreName("Last1"));
  EXPECT_NE(FoldStoreName("\xC0"), FoldStoreName("\xC1"));
  EXPECT_NE(FoldStoreName("А"), FoldStoreName("Б"));
}

TEST(StorePathTest, DropsEmptyComponents) {
  EXPECT_EQ(NormalizeStorePath("\\SOFTWARE\\Velkor\\Lirvane"), "SOFTWARE\\Velkor\\Lirvane");
  EXPECT_EQ(NormalizeStorePath("SOFTWARE\\\\Velkor\\"), "SOFTWARE\\Velkor");
  EXPECT_EQ(NormalizeStorePath("\\"), "");
  EXPECT_EQ(NormalizeStorePath(""), "");
  EXPECT_EQ(SplitStorePath("\\a\\\\b\\").size(), 2u);
  EXPECT_TRUE(SplitStorePath("\\\\").empty());
}

}  // namespace
}  // namespace lirvane
