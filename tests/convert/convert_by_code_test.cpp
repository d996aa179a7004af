#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "recode/recode.h"
#include "convert/convert_by_code.h"
#include "convert/line_recoder.h"
#include "tests/support/plain_line_rules.h"
#include "tests/support/temporary_files.h"
#include "tests/schemes/test_support.h"

namespace lirvane {
namespace {

using testing::AllBytes;
using testing::Error;
using testing::Plain;
using testing::ReadBytes;
using testing::RecordingSink;
using testing::TempFolder;
using testing::TemporaryFilesOf;
using testing::WriteBytes;

class ConvertByCodeTest : public ::testing::Test {
 protected:
  std::string Convert(std::string_view text, int32_t code,
                      ConversionStatus expected_status = ConversionStatus::kOk) {
    WriteBytes(source, text);
    EXPECT_EQ(ConvertFileByCode(source.string(), target.string(), code, sink), expected_status);
    return ReadBytes(target);
  }

  TempFolder folder;
  std::filesystem::path source = folder / "in.txt";
  std::filesystem::path target = folder / "out.txt";
  RecordingSink sink;
};

TEST_F(ConvertByCodeTest, EveryCodeOnEveryByteValue) {
  // All bytes but the two that shape lines: 0x1A ends the input, CR a line.
  std::string body;
  for (char c : AllBytes())
    if (c != '\x1A' && c != '\r') body.push_back(c);
  for (int32_t code : {8, -8, 866, -866, 595, -595, 111, -111, 1251, -1251, 0, 7}) {
    EXPECT_EQ(Convert(body, code), Recode(body, code) + "\r\n") << code;
    EXPECT_TRUE(sink.messages.empty());
  }
  EXPECT_TRUE(TemporaryFilesOf(target).empty());
}

TEST_F(ConvertByCodeTest, CopyingCodesRewriteLineEnds) {
  const std::string text = "a\r\nb\rc\nd\r\n\r\n\r\ne";
  for (int32_t code : {0, 1251}) EXPECT_EQ(Convert(text, code), "a\r\nb\r\nc\nd\r\n\r\n\r\ne\r\n");
  EXPECT_EQ(Convert("last\r\n", 0), "last\r\n");
  EXPECT_EQ(Convert("\n", 0), "\n\r\n");  // a lone LF is a line's content
}

TEST_F(ConvertByCodeTest, Byte0x1AEndsTheInput) {
  EXPECT_EQ(Convert("ab\r\ncd\x1A"
                    "ef\r\ngh",
                    8),
            "ab\r\ncd\r\n");
  EXPECT_EQ(Convert("\x1A"
                    "all gone",
                    8),
            "");
  EXPECT_EQ(Convert("line\r\x1A", 8), "line\r\n");
}

TEST_F(ConvertByCodeTest, EmptySourceGivesEmptyTarget) {
  WriteBytes(target, "old text");
  EXPECT_EQ(Convert("", 8), "");
}

TEST_F(ConvertByCodeTest, LargeFileAcrossBlocksMatchesLineRules) {
  // Line breaks at every kind of place, including both sides of the 1 MiB
  // block edges, so a CR LF split between two reads is caught.
  std::mt19937 random(1251);
  std::string text(3 * (1 << 20) + 12345, '\0');
  for (char& c : text) {
    const unsigned r = random() % 64;
    c = r == 0 ? '\r' : r == 1 ? '\n' : static_cast<char>(0x80 + random() % 128);
  }
  for (size_t edge : {size_t{1} << 20, size_t{2} << 20}) {
    text[edge - 1] = '\r';
    text[edge] = '\n';
  }
  text[(3 << 20) - 1] = '\r';
  text[3 << 20] = '\r';
  EXPECT_EQ(Convert(text, 8), testing::PlainLineByLine(text, 8));
}

TEST_F(ConvertByCodeTest, ConvertsAFileIntoItself) {
  WriteBytes(source, "\xC1\xC2\xD7\r\n\xE1");
  EXPECT_EQ(ConvertFileByCode(source.string(), source.string(), 8, sink), ConversionStatus::kOk);
  EXPECT_EQ(ReadBytes(source), "\xE0\xE1\xE2\r\n\xC0\r\n");
  EXPECT_TRUE(TemporaryFilesOf(source).empty());
}

TEST_F(ConvertByCodeTest, TemporaryFileThatCannotBeCreatedNamesTheTarget) {
  WriteBytes(source, "text");
  const std::string missing = (folder / "no-folder" / "out.txt").string();
  EXPECT_EQ(ConvertFileByCode(source.string(), missing, 8, sink), ConversionStatus::kCannotCreate);
  EXPECT_EQ(sink.messages, (std::vector{Error("Невозможно создать файл \"" + missing + "\"!")}));
}

TEST_F(ConvertByCodeTest, FolderAsTargetIsRefusedAndLeavesNothing) {
  std::filesystem::create_directories(target / "inside");
  const std::string name = target.string();
  WriteBytes(source, "\xC1\r\n");
  EXPECT_EQ(ConvertFileByCode(source.string(), name, 8, sink), ConversionStatus::kCannotCreate);
  EXPECT_EQ(sink.messages,
            (std::vector{Error("Невозможно создать файл \"" + name + "\": это папка!")}));
  EXPECT_TRUE(TemporaryFilesOf(target).empty());
  EXPECT_TRUE(TemporaryFilesOf(target / "").empty());
  EXPECT_TRUE(std::filesystem::is_directory(target / "inside"));
}

// A write that fails half way (here: past the process's file size limit)
// leaves the old target as it was and no temporary file behind.
TEST_F(ConvertByCodeTest, WriteFailureIsReportedAndLeavesTheTargetAlone) {
#ifdef _WIN32
  GTEST_SKIP() << "no file size limit to write past";
#else
  WriteBytes(target, "keep me");
  WriteBytes(source, std::string(100, 'x'));
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = old_limit;
  limit.rlim_cur = 10;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  const ConversionStatus status = ConvertFileByCode(source.string(), target.string(), 8, sink);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(status, ConversionStatus::kIoError);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text.rfind("Cannot write \"" + target.string() + "~tmp", 0), 0u);
  EXPECT_NE(sink.messages[0].text.find("File too large"), std::string::npos);
  EXPECT_EQ(ReadBytes(target), "keep me");
  EXPECT_TRUE(TemporaryFilesOf(target).empty());
#endif
}

TEST_F(ConvertByCodeTest, ReadFailureIsReportedAndNothingIsLeftBehind) {
  std::filesystem::create_directory(folder / "dir");
  const std::string dir = (folder / "dir").string();
  EXPECT_EQ(ConvertFileByCode(dir, target.string(), 8, sink), ConversionStatus::kIoError);
#ifdef _WIN32
  // Windows refuses to open a folder as a file at all.
  EXPECT_EQ(sink.messages, (std::vector{Error("Cannot open \"" + dir + "\": Permission denied")}));
#else
  EXPECT_EQ(sink.messages, (std::vector{Error("Cannot read \"" + dir + "\": Is a directory")}));
#endif
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_TRUE(TemporaryFilesOf(target).empty());
}

// `text` through a LineRecoder for `code` in blocks of `block` bytes.
std::string RecodedInBlocks(int32_t code, const std::string& text, size_t block) {
  LineRecoder recoder(code);
  std::string out;
  for (size_t at = 0; at < text.size(); at += block) {
    std::string in = text.substr(at, block);
    std::vector<char> buffer(LineRecoder::OutputCapacity(in.size()));
    out += recoder.FeedView(in.data(), in.size(), buffer.data());
  }
  char tail[2];
  out.append(tail, recoder.Finish(tail));
  return out;
}

TEST(LineRecoderTest, SameOutputWhateverTheBlockSizes) {
  const std::string text = "\xC1\r\n\r\r\n\n\r\xC2\r\n\xC3\n\r";
  const std::string expected = testing::PlainLineByLine(text, 8);
  for (size_t block = 1; block <= text.size(); ++block) {
    const std::string out = RecodedInBlocks(8, text, block);
    EXPECT_EQ(out, expected) << "block " << block;
  }
}

// Written from the input block where its lines already end in CR LF,
// copied where they do not: the same bytes either way.
TEST(LineRecoderTest, ViewOfTheBlockSameAsTheCopy) {
  for (const std::string& text : {std::string("\xC1\r\n\r\r\n\n\r\xC2\r\n\xC3\n\r"),
                                  std::string("a\r\nb\r\nc\r\n\x1A"
                                              "d"),
                                  std::string("a\r\nb\nc\r\nd"), std::string("\r\n\r\n")}) {
    const std::string expected = testing::PlainLineByLine(text, 8);
    for (size_t block = 1; block <= text.size(); ++block) {
      const std::string out = RecodedInBlocks(8, text, block);
      EXPECT_EQ(out, expected) << "block " << block;
    }
  }
}

// Texts long enough for the block scan's 16-byte steps, with line breaks
// of every kind and the odd 0x1A at any place, in blocks of many sizes.
TEST(LineRecoderTest, RandomTextsInRandomBlocks) {
  std::mt19937 random(16);
  const std::string alphabet = "\r\n\r\nab\xC1\xC2 ";
  for (int round = 0; round < 400; ++round) {
    std::string text(random() % 300, 'x');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    if (round % 3 == 0 && !text.empty()) text[random() % text.size()] = '\x1A';
    if (round % 5 == 0) {  // CR LF lines only: the copy-free path
      text.clear();
      while (text.size() < 250) text += std::string(random() % 40, 'k') + "\r\n";
    }
    const std::string expected = testing::PlainLineByLine(text, -8);
    const size_t block = 1 + random() % 64;
    const std::string out = RecodedInBlocks(-8, text, block);
    ASSERT_EQ(out, expected) << "round " << round << ", block " << block;
  }
}

TEST(LineRecoderTest, LoneCrsNeedTwiceTheInput) {
  std::string in(100, '\r');
  std::vector<char> out(LineRecoder::OutputCapacity(in.size()));
  LineRecoder recoder(0);
  EXPECT_EQ(recoder.FeedView(in.data(), in.size(), out.data()).size(), 200u);
  EXPECT_EQ(std::string(out.data(), 4), "\r\n\r\n");
}

}  // namespace
}  // namespace lirvane
