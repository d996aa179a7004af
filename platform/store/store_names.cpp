#include "platform/store/store_names.h"

#include "recode/transforms.h"
#include "recode/utf8.h"

namespace lirvane {
namespace {

char32_t FoldCodePoint(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;  // А..Я
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;  // Ѐ..Џ, Ё among them
  return c;
}

bool FoldAsUtf8(std::string_view name, std::string& out) {
  out.clear();
  for (size_t i = 0; i < name.size();) {
    char32_t c;
    const size_t length = DecodeUtf8(name, i, c);
    if (length == 0) return false;
    AppendUtf8(out, FoldCodePoint(c));
    i += length;
  }
  return true;
}

}  // namespace

std::string FoldStoreName(std::string_view name) {
  std::string folded;
  folded.reserve(name.size());
  if (FoldAsUtf8(name, folded)) return folded;
  // Not UTF-8: Windows-1251, the registry's 8-bit encoding.
  return LowerCaseText(name);
}

std::vector<std::string_view> SplitStorePath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string NormalizeStorePath(std::string_view path) {
  std::string joined;
  for (std::string_view part : SplitStorePath(path)) {
    if (!joined.empty()) joined += '\\';
    joined += part;
  }
  return joined;
}

}  // namespace lirvane
