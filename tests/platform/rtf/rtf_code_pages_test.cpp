// The code page tables against glibc's iconv, an independent statement of
// the published code pages.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

#include "platform/rtf/rtf_code_pages.h"
#include "recode/cp1251_unicode.h"

namespace lirvane {
namespace {

std::optional<char32_t> IconvToUnicode(const char* charset, uint8_t byte) {
  iconv_t cd = iconv_open("UTF-32LE", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[4];
  char* pin = in;
  char* pout = reinterpret_cast<char*>(out);
  size_t in_left = 1, out_left = 4;
  const size_t r = iconv(cd, &pin, &in_left, &pout, &out_left);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || out_left != 0) return std::nullopt;
  return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
}

void ExpectTableMatchesIconv(int code_page, const char* charset) {
  for (int b = 0; b < 0x100; ++b) {
    const auto byte = static_cast<uint8_t>(b);
    const char32_t ours = DecodeCodePageByte(code_page, byte);
    if (const auto theirs = IconvToUnicode(charset, byte))
      EXPECT_EQ(ours, *theirs) << charset << " byte " << b;
    else  // a byte the code page leaves undefined keeps its number
      EXPECT_EQ(ours, static_cast<char32_t>(b)) << charset << " byte " << b;
  }
}

TEST(RtfCodePages, TablesMatchThePublishedCodePages) {
  ExpectTableMatchesIconv(1251, "CP1251");
  ExpectTableMatchesIconv(1252, "CP1252");
  ExpectTableMatchesIconv(1250, "CP1250");
}

TEST(RtfCodePages, Cp1251TableGoesBothWaysForEveryByte) {
  for (int b = 0; b < 0x100; ++b)
    EXPECT_EQ(UnicodeToCp1251(Cp1251ToUnicode(static_cast<uint8_t>(b))), b) << b;
  EXPECT_EQ(UnicodeToCp1251(U'é'), -1);
  EXPECT_EQ(UnicodeToCp1251(0x1F600), -1);
}

TEST(RtfCodePages, HighBytesOfCodePagesWithoutTableAreUnknown) {
  EXPECT_EQ(DecodeCodePageByte(1253, 0xE1), 0xFFFDu);
  EXPECT_EQ(DecodeCodePageByte(kSymbolCodePage, 0xB7), 0xFFFDu);
  EXPECT_EQ(DecodeCodePageByte(1253, 'a'), U'a');
}

TEST(RtfCodePages, CharsetsNameTheirCodePages) {
  EXPECT_EQ(CodePageOfCharset(204), 1251);
  EXPECT_EQ(CodePageOfCharset(0), 1252);
  EXPECT_EQ(CodePageOfCharset(238), 1250);
  EXPECT_EQ(CodePageOfCharset(161), 1253);
  EXPECT_EQ(CodePageOfCharset(186), 1257);
  EXPECT_EQ(CodePageOfCharset(1), kDocumentCodePage);
  EXPECT_EQ(CodePageOfCharset(99), kDocumentCodePage);
}

}  // namespace
}  // namespace lirvane
