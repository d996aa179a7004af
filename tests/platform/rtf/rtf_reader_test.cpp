#include "platform/rtf/rtf_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/platform/rtf/cp1251_text.h"

namespace lirvane {
namespace {

using namespace std::literals;
using testing::Cp1251;

std::string Read(std::string_view document) {
  const std::optional<std::string> text = ReadRtfText(document);
  EXPECT_TRUE(text.has_value()) << document;
  return text.value_or("<not rich text>");
}

// As LibreOffice Writer saves two Russian paragraphs: a Western document
// code page, Cyrillic fonts, each letter as \uN with a \'hh fallback.
constexpr std::string_view kLibreOfficeDocument = R"rtf({\rtf1\ansi\deff3\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f1\froman\fprq2\fcharset2 Symbol;}{\f2\fswiss\fprq2\fcharset0 Arial;}{\f3\froman\fprq2\fcharset204 Liberation Serif{\*\falt Times New Roman};}{\f4\fswiss\fprq2\fcharset204 Liberation Sans{\*\falt Arial};}{\f5\fnil\fprq2\fcharset0 Noto Sans CJK SC;}}
{\colortbl;\red0\green0\blue0;\red128\green128\blue128;}
{\stylesheet{\s0\snext0\dbch\af5\langfe2052\dbch\af6\afs24\alang1081\loch\f3\fs24\lang1049 Normal;}
{\s15\sbasedon0\snext16\sb240\sa120\keepn\dbch\af5\dbch\af6\afs28\loch\f4\fs28 Heading;}
{\s16\sbasedon0\snext16\sl276\slmult1\sb0\sa140 Text Body;}
}{\*\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}{\info{\author Ivan}{\creatim\yr2024\mo3\dy5\hr10\min12}{\revtim\yr2024\mo3\dy5\hr10\min13}{\printim\yr0\mo0\dy0\hr0\min0}}{\*\userprops}\deftab709
\hyphauto1\viewscale100
{\*\pgdsctbl
{\pgdsc0\pgdscuse451\pgwsxn11906\pghsxn16838\marglsxn1134\margrsxn1134\margtsxn1134\margbsxn1134\pgdscnxt0 Default Page Style;}}
\formshade\paperh16838\paperw11906\margl1134\margr1134\margt1134\margb1134\sectd\sbknone\pgndec\sftnnar\saftnnrlc\sectunlocked1\pgwsxn11906\pghsxn16838\marglsxn1134\margrsxn1134\margtsxn1134\margbsxn1134\ftnbj\ftnstart1\ftnrstcont\ftnnar\aenddoc\aftnrstcont\aftnstart1\aftnnrlc
{\*\ftnsep\chftnsep}\pgndec\pard\plain \s0\dbch\af5\langfe2052\dbch\af6\afs24\alang1081\loch\f3\fs24\lang1049{\rtlch \ltrch\loch
\u1055\'cf\u1088\'f0\u1080\'e8\u1074\'e2\u1077\'e5\u1090\'f2, \u1084\'ec\u1080\'e8\u1088\'f0!}
\par \pard\plain \s0\dbch\af5\langfe2052\dbch\af6\afs24\alang1081\loch\f3\fs24\lang1049{\rtlch \ltrch\loch
Second line \u8212\'97 \u1025\'a8\u1078\'e6\u1080\'e8\u1082\'ea}
\par })rtf";

// As WordPad saves three lines: Cyrillic document code page, \'hh bytes in
// the font's charset, a Western font for one word.
constexpr std::string_view kWordPadDocument =
    "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss\\fcharset204"
    "{\\*\\fname Arial;}Arial CYR;}{\\f1\\fnil\\fcharset0 Calibri;}}\r\n"
    "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\lang1049\\f0\\fs20 "
    "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par\r\n"
    "\\'c2\\'f2\\'ee\\'f0\\'e0\\'ff \\'f1\\'f2\\'f0\\'ee\\'ea\\'e0\\par\r\n"
    "\\lang1033\\f1 caf\\'e9\\lang1049\\f0  \\'b9 5\\par\r\n"
    "}\r\n\0"sv;

TEST(RtfReaderDocuments, LibreOfficeWriter) {
  EXPECT_EQ(Read(kLibreOfficeDocument), Cp1251("Привет, мир!\r\nSecond line — Ёжик"));
}

TEST(RtfReaderDocuments, WordPad) {
  EXPECT_EQ(Read(kWordPadDocument), Cp1251("Привет\r\nВторая строка\r\ncaf? № 5"));
}

TEST(RtfReaderHeader, OnlyDocumentsOpeningWithRtfGroupAreRichText) {
  EXPECT_FALSE(ReadRtfText(""));
  EXPECT_FALSE(ReadRtfText("Hello, world\r\n"));
  EXPECT_FALSE(ReadRtfText("{\\rt"));
  EXPECT_FALSE(ReadRtfText("{\\rtfx hi}"));
  EXPECT_FALSE(ReadRtfText("x{\\rtf1 hi}"));
  EXPECT_FALSE(ReadRtfText("{ \\rtf1 hi}"));
  EXPECT_EQ(ReadRtfText("\xEF\xBB\xBF \r\n\t{\\rtf1 hi}"), "hi");
  EXPECT_FALSE(ReadRtfText("{\\rtf"));  // cut off before any text
  EXPECT_EQ(ReadRtfText("{\\rtf1}"), "");
}

TEST(RtfReaderHeader, TruncatedDocumentGivesTheTextReadSoFar) {
  EXPECT_EQ(Read("{\\rtf1 Hello\\par World"), "Hello\r\nWorld");
  EXPECT_EQ(Read("{\\rtf1{\\b bold"), "bold");
  EXPECT_EQ(Read("{\\rtf1 a\\"), "a");
  EXPECT_EQ(Read("{\\rtf1 a\\'c"), "a");
  EXPECT_EQ(Read("{\\rtf1 a\\u1055"), Cp1251("aП"));
}

TEST(RtfReaderHeader, CutOffInsideItsHeaderIsNotRichText) {
  EXPECT_EQ(ReadRtfText("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial"), std::nullopt);
  EXPECT_EQ(ReadRtfText("{\\rtf1{\\info{\\title T}"), std::nullopt);
  EXPECT_EQ(ReadRtfText("{\\rtf1 "), std::nullopt);
}

TEST(RtfReaderHeader, BytesAfterTheLastBraceAreIgnored) { EXPECT_EQ(Read("{\\rtf1 a}b}{c"), "a"); }

TEST(RtfReaderSyntax, ControlWordsAndTheirDelimiters) {
  EXPECT_EQ(Read("{\\rtf1 a\\pard b}"), "ab");        // \pard is not \par
  EXPECT_EQ(Read("{\\rtf1 a\\tab  b}"), "a\t b");     // one space is eaten
  EXPECT_EQ(Read("{\\rtf1 \\fi-360\\li720x}"), "x");  // negative, digits end
  EXPECT_EQ(Read("{\\rtf1 \\b1-2}"), "-2");           // minus after a number
  EXPECT_EQ(Read("{\\rtf1 \\unknownword123 x\\zzz}"), "x");
  EXPECT_EQ(Read("{\\rtf1 \\\\ \\{ \\}}"), "\\ { }");
  EXPECT_EQ(Read("{\\rtf1 a\r\nb\rc\nd}"), "abcd");  // source line ends mean nothing
  EXPECT_EQ(Read("{\\rtf1 a\\\r\nb}"), "a\r\nb");    // backslash + line end is \par
  EXPECT_EQ(Read("{\\rtf1 a{b{c}d}e}"), "abcde");
  EXPECT_EQ(Read("{\\rtf1 a\tb\x01\x7f}"), "a\tb\x7f");
}

TEST(RtfReaderSyntax, LineBreaksAndTheLastParagraphMark) {
  EXPECT_EQ(Read("{\\rtf1 a\\par}"), "a");
  EXPECT_EQ(Read("{\\rtf1 a\\par\\par}"), "a\r\n");
  EXPECT_EQ(Read("{\\rtf1 a\\par b}"), "a\r\nb");
  EXPECT_EQ(Read("{\\rtf1 a\\par b\\par{\\*\\themedata 0123}}"), "a\r\nb");
  EXPECT_EQ(Read("{\\rtf1 \\par}"), "");
  EXPECT_EQ(Read("{\\rtf1 a\\line}"), "a\r\n");
  EXPECT_EQ(Read("{\\rtf1 a\\line b\\sect c\\page d}"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(Read("{\\rtf1\\trowd a\\cell b\\cell\\row\\pard c\\par}"), "a\tb\t\r\nc");
}

TEST(RtfReaderCharacters, NamedSymbols) {
  EXPECT_EQ(Read("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}"),
            "\x97\x96\x95\x91\x92\x93\x94");
  EXPECT_EQ(Read("{\\rtf1 a\\~b\\-c\\_d\\emspace e}"),
            "a\xA0"
            "b\xAD"
            "c-d e");
}

TEST(RtfReaderCharacters, UnicodeEscapesAndTheirFallbacks) {
  EXPECT_EQ(Read("{\\rtf1 \\u1055?\\u1088?}"), Cp1251("Пр"));  // \uc1 by default
  EXPECT_EQ(Read("{\\rtf1\\uc0\\u1055\\u1088 x}"), Cp1251("Прx"));
  EXPECT_EQ(Read("{\\rtf1\\uc2\\u1055??x}"), Cp1251("Пx"));
  EXPECT_EQ(Read("{\\rtf1\\uc2\\u1055\\'cf\\'cfx}"), Cp1251("Пx"));   // \'hh is one
  EXPECT_EQ(Read("{\\rtf1\\u1055\\emdash x}"), Cp1251("Пx"));         // so is a word
  EXPECT_EQ(Read("{\\rtf1\\uc5{\\u1055}x}"), Cp1251("Пx"));           // a brace ends it
  EXPECT_EQ(Read("{\\rtf1{\\uc2\\u1055??}\\u1088?}"), Cp1251("Пр"));  // \uc is per group
  EXPECT_EQ(Read("{\\rtf1\\u1055\r\n?x}"), Cp1251("Пx"));             // line ends don't count
}

TEST(RtfReaderCharacters, NegativeAndUnmappableUnicode) {
  EXPECT_EQ(Read("{\\rtf1 \\u-64431?}"), Cp1251("ё"));   // -64431 + 65536 = U+0451
  EXPECT_EQ(Read("{\\rtf1 \\u-3913?x}"), "?x");          // U+F0B7, private use
  EXPECT_EQ(Read("{\\rtf1 \\u233?}"), "?");              // é has no Windows-1251 byte
  EXPECT_EQ(Read("{\\rtf1 \\u-10179?\\u-8704?}"), "?");  // one emoji, one '?'
  EXPECT_EQ(Read("{\\rtf1 \\u8470?\\u8364?}"), "\xB9\x88");
  EXPECT_EQ(Read("{\\rtf1 \\u99999999999?}"), "?");
}

TEST(RtfReaderCharacters, AsUtf8EveryCharacterIsKept) {
  auto read = [](std::string_view document) {
    return ReadRtfTextUtf8(document).value_or("<not rich text>");
  };
  EXPECT_EQ(read("{\\rtf1 \\u233?\\u-10179?\\u-8704?\\u20013?}"), "é😀中");
  EXPECT_EQ(read("{\\rtf1\\ansicpg1251 \\'cf\\'f0\\'e8\\par \\u8364?\\'98}"), "При\r\n€\xC2\x98");
  // A half of a pair without its other half stands for no character.
  EXPECT_EQ(read("{\\rtf1 \\u-10179?x\\u-8704?}"), "\uFFFDx\uFFFD");
  EXPECT_EQ(read("{\\rtf1 a\\u-10179?\\par}"), "a\uFFFD");
  EXPECT_EQ(ReadRtfTextUtf8("plain"), std::nullopt);
}

TEST(RtfReaderCharacters, HexBytesFollowTheCurrentFontsCodePage) {
  const std::string fonts =
      "{\\fonttbl{\\f0\\fcharset204 Cyr;}{\\f1\\fcharset0 West;}{\\f2\\fcharset238 CE;}"
      "{\\f3\\fcharset0\\cpg1251 Cpg;}{\\f4\\fcharset1 Default;}{\\f5\\fcharset161 Greek;}}";
  const std::string head = "{\\rtf1\\ansi\\ansicpg1252\\deff0" + fonts;
  EXPECT_EQ(Read(head + "\\'cf}"), Cp1251("П"));                   // default font
  EXPECT_EQ(Read(head + "\\f1\\'cf\\'80}"), Cp1251("?€"));         // Ï has no byte
  EXPECT_EQ(Read(head + "\\f2\\'8a\\'a0}"), Cp1251("?\u00A0"));    // Š
  EXPECT_EQ(Read(head + "\\f3\\'cf}"), Cp1251("П"));               // \cpg wins
  EXPECT_EQ(Read(head + "\\f4\\'cf}"), Cp1251("?"));               // document's 1252
  EXPECT_EQ(Read(head + "\\f5\\'e1a}"), Cp1251("?a"));             // no Greek table
  EXPECT_EQ(Read(head + "\\f1\\'e9\\plain\\'e9}"), Cp1251("?й"));  // \plain: default font
  EXPECT_EQ(Read(head + "{\\f1\\'e9}\\'e9}"), Cp1251("?й"));       // font is per group
  EXPECT_EQ(Read("{\\rtf1\\ansi\\'cf}"), "?");                     // no \ansicpg: 1252
  EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'CF}"), Cp1251("ПП"));
}

// TextEdit and some converters list the fonts without a group for each.
TEST(RtfReaderCharacters, FontTableWithoutGroupsPerFont) {
  EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;"
                 "\\f1\\fnil\\fcharset204 PTSans;}\\f1 \\'cf\\f0\\'e9}"),
            Cp1251("П?"));
}

TEST(RtfReaderCharacters, RawHighBytesFollowTheCodePageToo) {
  EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1251 \xCF\xF0}"), Cp1251("Пр"));
  EXPECT_EQ(Read("{\\rtf1\\ansi \xE9}"), "?");
}

TEST(RtfReaderDestinations, TextOutsideTheBodyIsLeftOut) {
  EXPECT_EQ(Read("{\\rtf1{\\info{\\title Secret}{\\author Me}}a}"), "a");
  EXPECT_EQ(Read("{\\rtf1 a{\\*\\foo secret {nested} text}b}"), "ab");
  EXPECT_EQ(Read("{\\rtf1 a{\\*\\bkmkstart mark}b{\\*\\bkmkend mark}}"), "ab");
  EXPECT_EQ(Read("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}a}"),
            "a");
  EXPECT_EQ(Read("{\\rtf1{\\header page head\\par}{\\footerl foot}a}"), "a");
  EXPECT_EQ(Read("{\\rtf1 a{\\footnote\\pard note\\par}b}"), "ab");
  EXPECT_EQ(Read("{\\rtf1 a{\\pict\\pngblip 89504e47{x}}b}"), "ab");
  EXPECT_EQ(Read("{\\rtf1 a{\\object\\objemb{\\*\\objdata 0102}{\\result r}}b}"), "ab");
  EXPECT_EQ(Read("{\\rtf1{\\*\\listtable{\\list{\\listlevel{\\leveltext\\'01\\u8226 ?;}}}}a}"),
            "a");
  EXPECT_EQ(Read("{\\rtf1{\\listtext\\pard\\plain 1.\\tab}item}"), "1.\titem");
}

TEST(RtfReaderDestinations, FieldsShowTheirResultNotTheirInstruction) {
  EXPECT_EQ(Read("{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"http://x/\"}"
                 "{\\fldrslt {\\ul link}}} here}"),
            "see link here");
  EXPECT_EQ(Read("{\\rtf1 page {\\field{\\fldinst PAGE}{\\fldrslt 3}}}"), "page 3");
}

TEST(RtfReaderDestinations, BinaryDataIsSkippedWhateverItHolds) {
  EXPECT_EQ(Read("{\\rtf1 a{\\pict\\bin6 }}}\\{{}b}"), "ab");
  EXPECT_EQ(Read("{\\rtf1 x\\bin3 abcy}"), "xy");
  EXPECT_EQ(Read("{\\rtf1 x\\bin0 y}"), "xy");
  EXPECT_EQ(Read("{\\rtf1 x\\bin-5 y}"), "xy");
  EXPECT_EQ(Read("{\\rtf1 x\\bin999 ab"), "x");
  EXPECT_EQ(Read("{\\rtf1 \\u1055\\bin2 ??x}"), Cp1251("Пx"));  // \bin is one fallback
}

TEST(RtfReaderRobustness, DeepNestingNeitherCrashesNorHangs) {
  const size_t depth = 100000;
  EXPECT_EQ(Read("{\\rtf1" + std::string(depth, '{') + "x" + std::string(depth, '}') + "y}"), "xy");
  EXPECT_FALSE(ReadRtfText("{\\rtf1" + std::string(depth, '{')));
  EXPECT_FALSE(
      ReadRtfText("{\\rtf1" + std::string(depth, '{') + "{\\*" + std::string(depth, '{') + "x"));
}

// The output is never longer than the document: every byte of text costs at
// least one byte of source, a line break at least two.
TEST(RtfReaderRobustness, GarbageAfterTheHeaderIsReadSafely) {
  std::mt19937 random(20240305);
  const std::string_view alphabet = "{}\\'*-0123456789abfinpqrtuclx \r\n\xCF\xFF";
  for (int round = 0; round < 3000; ++round) {
    std::string document = "{\\rtf1";
    const int length = static_cast<int>(random() % 400);
    for (int i = 0; i < length; ++i) {
      document.push_back(round % 2 == 0 ? alphabet[random() % alphabet.size()]
                                        : static_cast<char>(random() % 256));
    }
    // Rich text, or (cut off before any text) not; never more text than bytes.
    const std::optional<std::string> text = ReadRtfText(document);
    if (text) {
      ASSERT_LE(text->size(), document.size());
    }
  }
}

TEST(RtfReaderRobustness, RandomBytesAndPlainTextAreNotRichText) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(1000, '\0');
    for (char& c : bytes) c = static_cast<char>(random() % 256);
    if (bytes.starts_with("{\\rtf")) continue;
    EXPECT_FALSE(ReadRtfText(bytes));
  }
  EXPECT_FALSE(ReadRtfText(Cp1251("Просто текст\r\n{\\rtf1 внутри}\r\n")));
}

}  // namespace
}  // namespace lirvane
