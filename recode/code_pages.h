// The code pages of the garbling model: what a text written in one page and
// read as another turns into, and back. Texts here are Unicode (UTF-32
// while being worked on); the pane's Windows-1251 bytes are one of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lirvane {

enum class CodePageId : uint8_t {
  kUtf8,
  kWin1251,
  kKoi8R,
  kDos866,
  kIso8859_5,
  kMacCyrillic,
  kWin1252,
  kLatin1,
};
inline constexpr int kCodePageIds = 8;
inline constexpr int kEightBitPages = 7;  // all but UTF-8

// What each byte means, per 8-bit page (index: page id - 1). Undefined
// bytes mean the C1 control or Latin-1 character of the same value.
extern const char32_t kCodePageChars[kEightBitPages][256];

// "Windows-1251", "KOI8-R", "DOS 866", "ISO-8859-5", "Mac Cyrillic",
// "Windows-1252", "ISO-8859-1", "UTF-8".
std::string_view CodePageName(CodePageId page);

inline bool IsEightBit(CodePageId page) { return page != CodePageId::kUtf8; }

// The byte of a character in an 8-bit page, or -1 when it has none.
int EncodeChar(CodePageId page, char32_t c);
inline char32_t DecodeByte(CodePageId page, uint8_t b) {
  return kCodePageChars[static_cast<int>(page) - 1][b];
}

// The text as bytes of a page; nullopt when a character has no byte there.
// UTF-8 always succeeds.
std::optional<std::string> EncodeText(std::u32string_view text, CodePageId page);
// The bytes read in a page; nullopt only for UTF-8 that is not well formed.
std::optional<std::u32string> DecodeText(std::string_view bytes, CodePageId page);

// Well-formed UTF-8 text as bytes of an 8-bit page, with no UTF-32 copy on
// the way; nullopt when a character has no byte there.
std::optional<std::string> EncodeUtf8In(std::string_view utf8, CodePageId page);

// UTF-8 <-> UTF-32 for well-formed text.
std::optional<std::u32string> Utf8ToU32(std::string_view utf8);
std::string U32ToUtf8(std::u32string_view text);

// One garbling step: a text written in `written` and read as `read`.
// Undoing it encodes the text in `read` and decodes the bytes in `written`.
struct GarblingStep {
  CodePageId written = CodePageId::kWin1251;
  CodePageId read = CodePageId::kWin1251;
  friend bool operator==(const GarblingStep&, const GarblingStep&) = default;
};

// Undoes a step; nullopt when the text cannot have come out of it.
std::optional<std::u32string> UndoStep(std::u32string_view text, GarblingStep step);
// Does the step: what a reader of `read` sees of the text written in `written`.
std::optional<std::u32string> DoStep(std::u32string_view text, GarblingStep step);

// The same on UTF-8 text, with no UTF-32 copy on the way: for whole files.
// The text must be well-formed UTF-8. Undoing a step and doing it again
// gives the text back exactly: every page's bytes and characters are one
// to one (an undefined byte means the C1 or Latin-1 character of its
// value), and only well-formed UTF-8 is decoded.
std::optional<std::string> UndoStepUtf8(std::string_view utf8, GarblingStep step);
std::optional<std::string> DoStepUtf8(std::string_view utf8, GarblingStep step);

// Whether the bytes are well-formed UTF-8; all ASCII, for the second.
bool IsWellFormedUtf8(std::string_view bytes);
bool IsAscii(std::string_view bytes);

// The signed code of the recoding command that undoes a step between
// Windows-1251 and another Russian page (KOI8-R read as Windows-1251 is 8,
// Windows-1251 read as KOI8-R is -8), or 0 when none does.
int32_t StepCode(GarblingStep step);
// The page a recoding command's positive code reads as Windows-1251 (8:
// KOI8-R); Windows-1251 for any other code.
CodePageId PageOfStepCode(int32_t code);

}  // namespace lirvane
