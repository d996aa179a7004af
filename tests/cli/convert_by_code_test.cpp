#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "recode/recode.h"
#include "schemes/convert_by_code.h"
#include "schemes/line_recoder.h"
#include "tests/schemes/test_support.h"

namespace lirvane {
namespace {

using testing::AllBytes;
using testing::Error;
using testing::Plain;
using testing::ReadBytes;
using testing::RecordingSink;
using testing::TempFolder;
using testing::WriteBytes;

// The line rules written out the plain way, for comparison.
std::string ExpectedConversion(std::string_view text, int32_t code) {
  text = text.substr(0, text.find('\x1A'));
  std::string out;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += Recode(line, code) + "\r\n";
      line.clear();
      open = false;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(text[i]);
      open = true;
    }
  }
  if (open) out += Recode(line, code) + "\r\n";
  return out;
}

class ConvertByCodeTest : public ::testing::Test {
 protected:
  std::string Convert(std::string_view text, int32_t code,
                      ConversionStatus expected_status = ConversionStatus::kOk) {
    WriteBytes(source, text);
    EXPECT_EQ(ConvertFileByCode(source.string(), target.string(), code, sink),
              expected_status);
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
  EXPECT_FALSE(std::filesystem::exists(folder / "out.txt~tmp"));
}

TEST_F(ConvertByCodeTest, CopyingCodesRewriteLineEnds) {
  const std::string text = "a\r\nb\rc\nd\r\n\r\n\r\ne";
  for (int32_t code : {0, 1251})
    EXPECT_EQ(Convert(text, code), "a\r\nb\r\nc\nd\r\n\r\n\r\ne\r\n");
  EXPECT_EQ(Convert("last\r\n", 0), "last\r\n");
  EXPECT_EQ(Convert("\n", 0), "\n\r\n");  // a lone LF is a line's content
}

TEST_F(ConvertByCodeTest, Byte0x1AEndsTheInput) {
  EXPECT_EQ(Convert("ab\r\ncd\x1A" "ef\r\ngh", 8), "ab\r\ncd\r\n");
  EXPECT_EQ(Convert("\x1A" "all gone", 8), "");
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
  EXPECT_EQ(Convert(text, 8), ExpectedConversion(text, 8));
}

TEST_F(ConvertByCodeTest, ConvertsAFileIntoItself) {
  WriteBytes(source, "\xC1\xC2\xD7\r\n\xE1");
  EXPECT_EQ(ConvertFileByCode(source.string(), source.string(), 8, sink),
            ConversionStatus::kOk);
  EXPECT_EQ(ReadBytes(source), "\xE0\xE1\xE2\r\n\xC0\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "in.txt~tmp"));
}

TEST_F(ConvertByCodeTest, TemporaryFileThatCannotBeCreatedNamesTheTarget) {
  WriteBytes(source, "text");
  const std::string missing = (folder / "no-folder" / "out.txt").string();
  EXPECT_EQ(ConvertFileByCode(source.string(), missing, 8, sink),
            ConversionStatus::kCannotCreate);
  EXPECT_EQ(sink.messages,
            (std::vector{Error("Невозможно создать файл \"" + missing + "\"!")}));
}

TEST_F(ConvertByCodeTest, FailedRenameLeavesTheTextInTheTemporaryFile) {
  std::filesystem::create_directories(target / "busy");  // cannot be replaced
  const std::string name = target.string();
  WriteBytes(source, "\xC1\r\n");
  EXPECT_EQ(ConvertFileByCode(source.string(), name, 8, sink),
            ConversionStatus::kRenameFailed);
  EXPECT_EQ(sink.messages, (std::vector{Plain("Error rename \"" + name + "~tmp\" to \"" +
                                              name + "\"")}));
  EXPECT_EQ(ReadBytes(name + "~tmp"), "\xE0\r\n");
  EXPECT_TRUE(std::filesystem::is_directory(target / "busy"));
}

TEST_F(ConvertByCodeTest, WriteFailureIsReportedAndLeavesTheTargetAlone) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  WriteBytes(target, "keep me");
  std::filesystem::create_symlink("/dev/full", folder / "out.txt~tmp");
  EXPECT_EQ(Convert("text", 8, ConversionStatus::kIoError), "keep me");
  EXPECT_EQ(sink.messages, (std::vector{Error("Cannot write \"" + target.string() +
                                              "~tmp\": No space left on device")}));
}

TEST_F(ConvertByCodeTest, ReadFailureIsReportedAndNothingIsLeftBehind) {
  std::filesystem::create_directory(folder / "dir");
  const std::string dir = (folder / "dir").string();
  EXPECT_EQ(ConvertFileByCode(dir, target.string(), 8, sink), ConversionStatus::kIoError);
#ifdef _WIN32
  // Windows refuses to open a folder as a file at all.
  EXPECT_EQ(sink.messages,
            (std::vector{Error("Cannot open \"" + dir + "\": Permission denied")}));
#else
  EXPECT_EQ(sink.messages,
            (std::vector{Error("Cannot read \"" + dir + "\": Is a directory")}));
#endif
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_FALSE(std::filesystem::exists(folder / "out.txt~tmp"));
}

TEST(LineRecoderTest, SameOutputWhateverTheBlockSizes) {
  const std::string text = "\xC1\r\n\r\r\n\n\r\xC2\r\n\xC3\n\r";
  const std::string expected = ExpectedConversion(text, 8);
  for (size_t block = 1; block <= text.size(); ++block) {
    LineRecoder recoder(8);
    std::string out;
    for (size_t at = 0; at < text.size(); at += block) {
      std::string in = text.substr(at, block);
      std::vector<char> buffer(LineRecoder::OutputCapacity(in.size()));
      out.append(buffer.data(), recoder.Feed(in.data(), in.size(), buffer.data()));
    }
    char tail[2];
    out.append(tail, recoder.Finish(tail));
    EXPECT_EQ(out, expected) << "block " << block;
  }
}

TEST(LineRecoderTest, LoneCrsNeedTwiceTheInput) {
  std::string in(100, '\r');
  std::vector<char> out(LineRecoder::OutputCapacity(in.size()));
  LineRecoder recoder(0);
  EXPECT_EQ(recoder.Feed(in.data(), in.size(), out.data()), 200u);
  EXPECT_EQ(std::string(out.data(), 4), "\r\n\r\n");
}

}  // namespace
}  // namespace lirvane
