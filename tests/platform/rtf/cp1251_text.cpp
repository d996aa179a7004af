#include "tests/platform/rtf/cp1251_text.h"

#include <iconv.h>

#include <stdexcept>

namespace lirvane::testing {

std::string Cp1251(std::string_view utf8) {
  iconv_t cd = iconv_open("CP1251", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP1251 in iconv");
  std::string in(utf8), out(utf8.size(), '\0');
  char* pin = in.data();
  char* pout = out.data();
  size_t in_left = in.size(), out_left = out.size();
  const size_t r = iconv(cd, &pin, &in_left, &pout, &out_left);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) throw std::runtime_error("not Windows-1251 text");
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace lirvane::testing
