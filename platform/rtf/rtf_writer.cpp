#include "platform/rtf/rtf_writer.h"

#include <algorithm>
#include <cstdint>

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

void AppendText(std::string& out, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<uint8_t>(c);
    switch (c) {
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        [[fallthrough]];
      case '\n':
        out.append("\\par\r\n");
        break;
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
  // The last line is a paragraph too; its mark is what ends the document's
  // text, so a text ending in a line break ends in an empty paragraph.
  if (!text.empty()) out.append("\\par\r\n");
}

}  // namespace

std::string WriteRtfDocument(std::string_view cp1251_text, std::string_view font_name_cp1251,
                             int font_size_points) {
  std::string out;
  out.reserve(cp1251_text.size() * 2 + 256);
  out.append("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
             "{\\fonttbl{\\f0\\fnil\\fcharset204 ");
  AppendFontName(out, font_name_cp1251);
  out.append(";}}\r\n\\viewkind4\\uc1\\pard\\lang1049\\f0");
  if (font_size_points > 0) {
    out.append("\\fs");
    out.append(std::to_string(std::min(font_size_points, kMaxFontSizePoints) * 2));
  }
  out.push_back(' ');
  AppendText(out, cp1251_text);
  out.append("}\r\n");
  return out;
}

}  // namespace lirvane
