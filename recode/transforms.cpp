#include "recode/transforms.h"

#include <array>
#include <cstdint>

#include "recode/transform_streams.h"

namespace lirvane {
namespace {

using ByteMap = std::array<uint8_t, 256>;

constexpr ByteMap IdentityMap() {
  ByteMap m{};
  for (int i = 0; i < 256; ++i) m[i] = static_cast<uint8_t>(i);
  return m;
}

// Key on the Latin layout and the Windows-1251 letter on the same key.
struct KeyLetter {
  char key;
  uint8_t letter;
};

constexpr KeyLetter kLayout[] = {
    {'q', 0xE9}, {'Q', 0xC9}, {'w', 0xF6}, {'W', 0xD6}, {'e', 0xF3}, {'E', 0xD3}, {'r', 0xEA},
    {'R', 0xCA}, {'t', 0xE5}, {'T', 0xC5}, {'y', 0xED}, {'Y', 0xCD}, {'u', 0xE3}, {'U', 0xC3},
    {'i', 0xF8}, {'I', 0xD8}, {'o', 0xF9}, {'O', 0xD9}, {'p', 0xE7}, {'P', 0xC7}, {'[', 0xF5},
    {'{', 0xD5}, {']', 0xFA}, {'}', 0xDA}, {'a', 0xF4}, {'A', 0xD4}, {'s', 0xFB}, {'S', 0xDB},
    {'d', 0xE2}, {'D', 0xC2}, {'f', 0xE0}, {'F', 0xC0}, {'g', 0xEF}, {'G', 0xCF}, {'h', 0xF0},
    {'H', 0xD0}, {'j', 0xEE}, {'J', 0xCE}, {'k', 0xEB}, {'K', 0xCB}, {'l', 0xE4}, {'L', 0xC4},
    {';', 0xE6}, {':', 0xC6}, {'`', 0xFD}, {'"', 0xDD}, {'z', 0xFF}, {'Z', 0xDF}, {'x', 0xF7},
    {'X', 0xD7}, {'c', 0xF1}, {'C', 0xD1}, {'v', 0xEC}, {'V', 0xCC}, {'b', 0xE8}, {'B', 0xC8},
    {'n', 0xF2}, {'N', 0xD2}, {'m', 0xFC}, {'M', 0xDC}, {',', 0xE1}, {'<', 0xC1}, {'.', 0xFE},
    {'>', 0xDE},
};

constexpr ByteMap MakeLatToCyr() {
  ByteMap m = IdentityMap();
  for (const KeyLetter& k : kLayout) m[static_cast<uint8_t>(k.key)] = k.letter;
  return m;
}

constexpr ByteMap MakeCyrToLat() {
  ByteMap m = IdentityMap();
  for (const KeyLetter& k : kLayout) m[k.letter] = static_cast<uint8_t>(k.key);
  return m;
}

// Windows-1251 small/capital pairs besides a-z, а-я and ё.
struct CasePair {
  uint8_t small;
  uint8_t capital;
};
constexpr CasePair kOtherCyrillicPairs[] = {
    {0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D},
    {0x9E, 0x8E}, {0x9F, 0x8F}, {0xA2, 0xA1}, {0xB3, 0xB2}, {0xB4, 0xA5},
    {0xBA, 0xAA}, {0xBC, 0xA3}, {0xBE, 0xBD}, {0xBF, 0xAF}, {0xB8, 0xA8},
};

constexpr ByteMap MakeCase(bool upper) {
  ByteMap m = IdentityMap();
  auto pair = [&](int small, int capital) {
    if (upper)
      m[small] = static_cast<uint8_t>(capital);
    else
      m[capital] = static_cast<uint8_t>(small);
  };
  for (int i = 0; i < 26; ++i) pair('a' + i, 'A' + i);
  for (int i = 0; i < 32; ++i) pair(0xE0 + i, 0xC0 + i);
  for (const CasePair& p : kOtherCyrillicPairs) pair(p.small, p.capital);
  return m;
}

constexpr ByteMap kLatToCyr = MakeLatToCyr();
constexpr ByteMap kCyrToLat = MakeCyrToLat();
constexpr ByteMap kUpper = MakeCase(true);
constexpr ByteMap kLower = MakeCase(false);

std::string MapBytes(std::string_view text, const ByteMap& map) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i)
    out[i] = static_cast<char>(map[static_cast<uint8_t>(text[i])]);
  return out;
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string LatToCyr(std::string_view text) { return MapBytes(text, kLatToCyr); }
std::string CyrToLat(std::string_view text) { return MapBytes(text, kCyrToLat); }
std::string UpperCaseText(std::string_view text) { return MapBytes(text, kUpper); }
std::string LowerCaseText(std::string_view text) { return MapBytes(text, kLower); }

namespace {

// The whole text as one piece of the streaming form, so that the two
// cannot differ.
template <typename Stream>
std::string WholeText(std::string_view text) {
  Stream stream;
  std::string out;
  stream.Feed(text, out);
  stream.Finish(out);
  return out;
}

}  // namespace

std::string CollapseSpaces(std::string_view text) { return WholeText<CollapseSpacesStream>(text); }

std::string DeleteTags(std::string_view text) { return WholeText<DeleteTagsStream>(text); }

std::string UnescapeFormUrlencoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const size_t n = text.size();
  // Skips at most two line-break characters starting at pos.
  auto skip_breaks = [&](size_t pos) {
    for (int k = 0; k < 2 && pos < n && IsLineBreak(text[pos]); ++k) ++pos;
    return pos;
  };
  size_t i = 0;
  while (i < n) {
    const char c = text[i];
    if (c == '%') {
      const size_t first = skip_breaks(i + 1);
      const size_t second = skip_breaks(first + 1);
      const int hi = first < n ? HexValue(text[first]) : -1;
      const int lo = second < n ? HexValue(text[second]) : -1;
      if (hi >= 0 && lo >= 0)
        out.push_back(static_cast<char>(hi * 16 + lo));
      else if (hi >= 0 && second >= n)
        out.push_back(static_cast<char>(hi));
      else
        out.push_back(' ');
      i = second + 1;
    } else if (c == '+') {
      out.push_back(' ');
      ++i;
    } else if (c == '&') {
      out.append("\r\n");
      ++i;
    } else {
      if (!IsLineBreak(c)) out.push_back(c);
      ++i;
    }
  }
  return out;
}

}  // namespace lirvane
