#include "recode/code_pages.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>
#include <vector>

#include "recode/codepage.h"
#include "recode/utf8.h"
#include "recode/utf8_kernels.h"

namespace lirvane {
namespace {

// Reverse of kCodePageChars: a direct table below U+0500 (Latin-1 and
// Cyrillic, where nearly all characters lie), a sorted list above.
struct Encoder {
  static constexpr char32_t kDirect = 0x500;
  std::array<int16_t, kDirect> direct;
  std::vector<std::pair<char32_t, uint8_t>> rest;

  explicit Encoder(const char32_t* chars) {
    direct.fill(-1);
    for (int b = 0; b < 256; ++b) {
      if (chars[b] < kDirect)
        direct[chars[b]] = static_cast<int16_t>(b);
      else
        rest.emplace_back(chars[b], static_cast<uint8_t>(b));
    }
    std::sort(rest.begin(), rest.end());
  }

  int operator()(char32_t c) const {
    if (c < kDirect) return direct[c];
    const auto it = std::lower_bound(rest.begin(), rest.end(), std::make_pair(c, uint8_t{0}));
    return it != rest.end() && it->first == c ? it->second : -1;
  }
};

const Encoder& EncoderOf(CodePageId page) {
  static const auto encoders = [] {
    std::vector<Encoder> e;
    e.reserve(kEightBitPages);
    for (int p = 0; p < kEightBitPages; ++p) e.emplace_back(kCodePageChars[p]);
    return e;
  }();
  return encoders[static_cast<int>(page) - 1];
}

// Eight bytes at `at` are ASCII.
bool AsciiWord(const char* at) {
  uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return (word & 0x8080808080808080u) == 0;
}

// Eight bytes at `at` are four two-byte sequences (Cyrillic, Latin-1):
// each lead 110xxxxx but not C0 or C1, each next byte 10xxxxxx.
bool TwoByteWord(const char* at) {
  uint64_t word;
  std::memcpy(&word, at, sizeof word);
  if constexpr (std::endian::native != std::endian::little) return false;
  if ((word & 0xC0E0C0E0C0E0C0E0u) != 0x80C080C080C080C0u) return false;
  const uint64_t lead_bits = word & 0x001E001E001E001Eu;
  return ((lead_bits + 0x00FF00FF00FF00FFu) & 0x0100010001000100u) == 0x0100010001000100u;
}

// The UTF-8 form of every byte of a page, packed little end first, and its
// length.
struct Utf8Forms {
  std::array<uint32_t, 256> packed;
  std::array<uint8_t, 256> size;
};

const Utf8Forms& Utf8FormsOf(CodePageId page) {
  static const auto forms = [] {
    std::vector<Utf8Forms> all(kEightBitPages);
    for (int p = 0; p < kEightBitPages; ++p) {
      for (int b = 0; b < 256; ++b) {
        std::string form;
        AppendUtf8(form, kCodePageChars[p][b]);
        uint32_t packed = 0;
        std::memcpy(&packed, form.data(), form.size());
        all[p].packed[b] = packed;
        all[p].size[b] = static_cast<uint8_t>(form.size());
      }
    }
    return all;
  }();
  return forms[static_cast<int>(page) - 1];
}

// Bytes of an 8-bit page as UTF-8.
std::string DecodeToUtf8(std::string_view bytes, CodePageId page) {
  const Utf8Forms& forms = Utf8FormsOf(page);
  // Three bytes at most per byte, and room to store four.
  std::string out(bytes.size() * 3 + 1, '\0');
  size_t o = 0;
  for (size_t i = 0; i < bytes.size();) {
    if (i + 8 <= bytes.size() && AsciiWord(bytes.data() + i)) {
      std::memcpy(out.data() + o, bytes.data() + i, 8);
      i += 8, o += 8;
      continue;
    }
    const auto b = static_cast<uint8_t>(bytes[i++]);
    std::memcpy(out.data() + o, &forms.packed[b], 4);
    o += forms.size[b];
  }
  out.resize(o);
  return out;
}

}  // namespace

bool IsAscii(std::string_view bytes) {
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8)
    if (!AsciiWord(bytes.data() + i)) return false;
  for (; i < bytes.size(); ++i)
    if (static_cast<uint8_t>(bytes[i]) >= 0x80) return false;
  return true;
}

std::optional<std::string> EncodeUtf8In(std::string_view utf8, CodePageId page) {
  const Encoder& encode = EncoderOf(page);
  std::string out(utf8.size(), '\0');
  size_t o = 0;
  for (size_t i = 0; i < utf8.size();) {
    if (i + 8 <= utf8.size() && AsciiWord(utf8.data() + i)) {
      std::memcpy(out.data() + o, utf8.data() + i, 8);
      i += 8, o += 8;
      continue;
    }
    const auto b = static_cast<uint8_t>(utf8[i]);
    if (b < 0x80) {
      out[o++] = static_cast<char>(b);
      ++i;
      continue;
    }
    char32_t c;
    size_t n;
    if (b >= 0xC2 && b < 0xE0 && i + 1 < utf8.size()) {
      c = char32_t(b & 0x1F) << 6 | (static_cast<uint8_t>(utf8[i + 1]) & 0x3F);
      n = 2;
    } else {
      n = DecodeUtf8(utf8, i, c);
      if (n == 0) return std::nullopt;
    }
    const int e = encode(c);
    if (e < 0) return std::nullopt;
    out[o++] = static_cast<char>(e);
    i += n;
  }
  out.resize(o);
  return out;
}

bool IsWellFormedUtf8(std::string_view bytes) {
  static const Utf8Validator vector_validator = BestUtf8Validator();
  if (vector_validator && bytes.size() >= 64)
    return vector_validator(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  char32_t c;
  for (size_t i = 0; i < bytes.size();) {
    if (i + 8 <= bytes.size() && (AsciiWord(bytes.data() + i) || TwoByteWord(bytes.data() + i))) {
      i += 8;
      continue;
    }
    const auto b = static_cast<uint8_t>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    // Two-byte forms (Cyrillic, Latin-1) inline; the rest checked in full.
    if (b >= 0xC2 && b < 0xE0 && i + 1 < bytes.size() &&
        (static_cast<uint8_t>(bytes[i + 1]) & 0xC0) == 0x80) {
      i += 2;
      continue;
    }
    const size_t n = DecodeUtf8(bytes, i, c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::optional<std::string> UndoStepUtf8(std::string_view utf8, GarblingStep step) {
  auto bytes = EncodeUtf8In(utf8, step.read);
  if (!bytes) return std::nullopt;
  if (step.written != CodePageId::kUtf8) return DecodeToUtf8(*bytes, step.written);
  if (!IsWellFormedUtf8(*bytes)) return std::nullopt;
  return bytes;
}

std::optional<std::string> DoStepUtf8(std::string_view utf8, GarblingStep step) {
  if (step.written == CodePageId::kUtf8) return DecodeToUtf8(utf8, step.read);
  const auto bytes = EncodeUtf8In(utf8, step.written);
  if (!bytes) return std::nullopt;
  return DecodeToUtf8(*bytes, step.read);
}

std::string_view CodePageName(CodePageId page) {
  switch (page) {
    case CodePageId::kUtf8:
      return "UTF-8";
    case CodePageId::kWin1251:
      return "Windows-1251";
    case CodePageId::kKoi8R:
      return "KOI8-R";
    case CodePageId::kDos866:
      return "DOS 866";
    case CodePageId::kIso8859_5:
      return "ISO-8859-5";
    case CodePageId::kMacCyrillic:
      return "Mac Cyrillic";
    case CodePageId::kWin1252:
      return "Windows-1252";
    case CodePageId::kLatin1:
      return "ISO-8859-1";
  }
  return "?";
}

int EncodeChar(CodePageId page, char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  return EncoderOf(page)(c);
}

std::optional<std::string> EncodeText(std::u32string_view text, CodePageId page) {
  if (page == CodePageId::kUtf8) return U32ToUtf8(text);
  const Encoder& encode = EncoderOf(page);
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const int b = c < 0x80 ? static_cast<int>(c) : encode(c);
    if (b < 0) return std::nullopt;
    out[i] = static_cast<char>(b);
  }
  return out;
}

std::optional<std::u32string> DecodeText(std::string_view bytes, CodePageId page) {
  if (page == CodePageId::kUtf8) return Utf8ToU32(bytes);
  const char32_t* chars = kCodePageChars[static_cast<int>(page) - 1];
  std::u32string out(bytes.size(), U'\0');
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = chars[static_cast<uint8_t>(bytes[i])];
  return out;
}

std::optional<std::u32string> Utf8ToU32(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<uint8_t>(utf8[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    // Two-byte forms (Cyrillic, Latin-1) inline; the rest checked in full.
    if (b >= 0xC2 && b < 0xE0 && i + 1 < utf8.size() &&
        (static_cast<uint8_t>(utf8[i + 1]) & 0xC0) == 0x80) {
      out.push_back(char32_t(b & 0x1F) << 6 | (static_cast<uint8_t>(utf8[i + 1]) & 0x3F));
      i += 2;
      continue;
    }
    char32_t c;
    const size_t n = DecodeUtf8(utf8, i, c);
    if (n == 0) return std::nullopt;
    out.push_back(c);
    i += n;
  }
  return out;
}

std::string U32ToUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char32_t c : text) {
    if (c < 0x80)
      out.push_back(static_cast<char>(c));
    else
      AppendUtf8(out, c);
  }
  return out;
}

std::optional<std::u32string> UndoStep(std::u32string_view text, GarblingStep step) {
  const auto bytes = EncodeText(text, step.read);
  if (!bytes) return std::nullopt;
  return DecodeText(*bytes, step.written);
}

std::optional<std::u32string> DoStep(std::u32string_view text, GarblingStep step) {
  const auto bytes = EncodeText(text, step.written);
  if (!bytes) return std::nullopt;
  return DecodeText(*bytes, step.read);
}

CodePageId PageOfStepCode(int32_t code) {
  switch (code) {
    case kCodeKoi8:
      return CodePageId::kKoi8R;
    case kCodeAlt866:
      return CodePageId::kDos866;
    case kCodeIso8859_5:
      return CodePageId::kIso8859_5;
    case kCodeMac:
      return CodePageId::kMacCyrillic;
  }
  return CodePageId::kWin1251;
}

int32_t StepCode(GarblingStep step) {
  const auto code_of = [](CodePageId page) -> int32_t {
    switch (page) {
      case CodePageId::kKoi8R:
        return kCodeKoi8;
      case CodePageId::kDos866:
        return kCodeAlt866;
      case CodePageId::kIso8859_5:
        return kCodeIso8859_5;
      case CodePageId::kMacCyrillic:
        return kCodeMac;
      default:
        return 0;
    }
  };
  if (step.read == CodePageId::kWin1251) return code_of(step.written);
  if (step.written == CodePageId::kWin1251) return -code_of(step.read);
  return 0;
}

}  // namespace lirvane
