#include "platform/rtf/rtf_writer.h"

#include <algorithm>
#include <cstdint>

#include "recode/cp1251_unicode.h"
#include "recode/utf8.h"

namespace lirvane {
namespace {

// RTF sizes are half-points in a signed 16-bit number.
constexpr int kMaxFontSizePoints = 32767 / 2;

void AppendHexByte(std::string& out, uint8_t byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out.append("\\'");
  out.push_back(kDigits[byte >> 4]);
  out.push_back(kDigits[byte & 0xF]);
}

void AppendFontName(std::string& out, std::string_view name) {
  const size_t start = out.size();
  for (const char c : name) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte < 0x20 || c == ';' || c == '{' || c == '}' || c == '\\') continue;
    if (byte >= 0x80)
      AppendHexByte(out, byte);
    else
      out.push_back(c);
  }
  if (out.size() == start) out.append("Arial");
}

// A byte of Windows-1251 text other than CR and LF.
void AppendTextByte(std::string& out, char c) {
  const auto byte = static_cast<uint8_t>(c);
  switch (c) {
    case '\t':
      out.append("\\tab ");
      break;
    case '\\':
    case '{':
    case '}':
      out.push_back('\\');
      out.push_back(c);
      break;
    default:
      if (byte < 0x20 || byte >= 0x80)
        AppendHexByte(out, byte);
      else
        out.push_back(c);
  }
}

// A character Windows-1251 has no byte for: \uN with N a signed 16-bit
// number, one for each UTF-16 half, each followed by "?" for readers that
// know no \u (the header's \uc1).
void AppendUnicode(std::string& out, char32_t c) {
  auto append_unit = [&out](uint32_t unit) {
    out.append("\\u");
    out.append(std::to_string(unit >= 0x8000 ? static_cast<int32_t>(unit) - 0x10000
                                             : static_cast<int32_t>(unit)));
    out.push_back('?');
  };
  if (c >= 0x10000) {
    append_unit(0xD800 + ((c - 0x10000) >> 10));
    append_unit(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    append_unit(c);
  }
}

// The last line is a paragraph too; its mark is what ends the document's
// text, so a text ending in a line break ends in an empty paragraph.
void EndLastParagraph(std::string& out, std::string_view text) {
  if (!text.empty()) out.append("\\par\r\n");
}

void AppendText(std::string& out, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.append("\\par\r\n");
    } else {
      AppendTextByte(out, c);
    }
  }
  EndLastParagraph(out, text);
}

void AppendUtf8Text(std::string& out, std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const size_t length = DecodeUtf8(text, i, c);
    if (length == 0) {
      c = 0xFFFD;  // a malformed byte
      ++i;
    } else {
      i += length;
    }
    if (c == '\r' || c == '\n' || c == 0x2028 || c == 0x2029) {
      if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
      out.append("\\par\r\n");
    } else if (const int byte = c < 0x80 ? static_cast<int>(c) : UnicodeToCp1251(c); byte >= 0) {
      AppendTextByte(out, static_cast<char>(byte));
    } else {
      AppendUnicode(out, c);
    }
  }
  EndLastParagraph(out, text);
}

}  // namespace

namespace {

std::string WriteDocument(std::string_view text, bool utf8, std::string_view font_name_cp1251,
                          int font_size_points) {
  std::string out;
  out.reserve(text.size() * 2 + 256);
  out.append(
      "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
      "{\\fonttbl{\\f0\\fnil\\fcharset204 ");
  AppendFontName(out, font_name_cp1251);
  out.append(";}}\r\n\\viewkind4\\uc1\\pard\\lang1049\\f0");
  if (font_size_points > 0) {
    out.append("\\fs");
    out.append(std::to_string(std::min(font_size_points, kMaxFontSizePoints) * 2));
  }
  out.push_back(' ');
  if (utf8) {
    AppendUtf8Text(out, text);
  } else {
    AppendText(out, text);
  }
  out.append("}\r\n");
  return out;
}

}  // namespace

std::string WriteRtfDocument(std::string_view cp1251_text, std::string_view font_name_cp1251,
                             int font_size_points) {
  return WriteDocument(cp1251_text, false, font_name_cp1251, font_size_points);
}

std::string WriteRtfDocumentUtf8(std::string_view utf8_text, std::string_view font_name_cp1251,
                                 int font_size_points) {
  return WriteDocument(utf8_text, true, font_name_cp1251, font_size_points);
}

}  // namespace lirvane
