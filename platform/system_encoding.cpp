#include "platform/system_encoding.h"

#ifndef _WIN32
#include <langinfo.h>
#include <locale.h>

#include <cstring>
#endif

namespace lirvane {

bool SystemEncodingIsUtf8() {
#ifdef _WIN32
  return false;
#else
  // The user's locale as the environment names it, whatever the process
  // has set for itself.
  locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return false;
  const char* codeset = nl_langinfo_l(CODESET, user);
  const bool utf8 = codeset != nullptr &&
                    (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
  freelocale(user);
  return utf8;
#endif
}

}  // namespace lirvane
