// The part of iconv the recoding tests use (UTF-8, UTF-16LE and CP1251),
// for the Windows build, where MinGW-w64 has no iconv: Windows' own
// conversion functions and code page tables serve as the reference there.
// Strict as iconv is: malformed UTF-8, or a character CP1251 has no byte
// for, fails with EILSEQ. Each call converts its whole input at once.
#pragma once

#include <windows.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

typedef void* iconv_t;

namespace lirvane_iconv {

constexpr UINT kUtf16Le = 1200;

struct Converter {
  UINT from, to;
};

inline UINT CodePageOf(std::string_view name) {
  if (name == "UTF-8") return CP_UTF8;
  if (name == "UTF-16LE") return kUtf16Le;
  if (name == "CP1251") return 1251;
  return 0;
}

inline bool ToWide(UINT from, const char* in, size_t size, std::wstring& wide) {
  if (from == kUtf16Le) {
    if (size % 2 != 0) return false;
    wide.resize(size / 2);
    std::memcpy(wide.data(), in, size);
    return true;
  }
  wide.resize(size);
  const int n = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in, static_cast<int>(size),
                                    wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? n : 0);
  return n > 0;
}

inline bool FromWide(UINT to, const std::wstring& wide, std::string& bytes) {
  if (to == kUtf16Le) {
    bytes.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    return true;
  }
  bytes.resize(wide.size() * 4);
  BOOL used_default = FALSE;
  const int n = WideCharToMultiByte(to, to == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                                    wide.data(), static_cast<int>(wide.size()), bytes.data(),
                                    static_cast<int>(bytes.size()), nullptr,
                                    to == CP_UTF8 ? nullptr : &used_default);
  bytes.resize(n > 0 ? n : 0);
  return n > 0 && !used_default;
}

}  // namespace lirvane_iconv

inline iconv_t iconv_open(const char* to, const char* from) {
  const UINT to_page = lirvane_iconv::CodePageOf(to);
  const UINT from_page = lirvane_iconv::CodePageOf(from);
  if (to_page == 0 || from_page == 0) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
  }
  return new lirvane_iconv::Converter{from_page, to_page};
}

inline size_t iconv(iconv_t cd, char** in, size_t* in_left, char** out, size_t* out_left) {
  if (in == nullptr || *in == nullptr || *in_left == 0) return 0;
  const auto* converter = static_cast<const lirvane_iconv::Converter*>(cd);
  std::wstring wide;
  std::string bytes;
  if (!lirvane_iconv::ToWide(converter->from, *in, *in_left, wide) ||
      !lirvane_iconv::FromWide(converter->to, wide, bytes)) {
    errno = EILSEQ;
    return static_cast<size_t>(-1);
  }
  if (bytes.size() > *out_left) {
    errno = E2BIG;
    return static_cast<size_t>(-1);
  }
  std::memcpy(*out, bytes.data(), bytes.size());
  *out += bytes.size();
  *out_left -= bytes.size();
  *in += *in_left;
  *in_left = 0;
  return 0;
}

inline int iconv_close(iconv_t cd) {
  delete static_cast<lirvane_iconv::Converter*>(cd);
  return 0;
}
