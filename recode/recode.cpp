#include "recode/recode.h"

#include <cstring>

#include "recode/codepage.h"
#include "recode/recode_kernels.h"
#include "recode/utf8_recode.h"

namespace lirvane {

bool ChangesLength(int32_t code) { return code == kCodeUtf8 || code == -kCodeUtf8; }

std::string Recode(std::string_view text, int32_t code) {
  if (code == kCodeUtf8) return Utf8ToWin(text);
  if (code == -kCodeUtf8) return WinToUtf8(text);
  const HighHalfTable* table = TableForCode(code);
  if (table == nullptr || text.empty()) return std::string(text);
  return RecodeIntoNewString(*table, text);
}

void RecodeTo(std::string_view text, int32_t code, char* out) {
  const auto* in = reinterpret_cast<const uint8_t*>(text.data());
  const HighHalfTable* table = TableForCode(code);
  if (table == nullptr) {
    if (!text.empty() && out != text.data()) std::memmove(out, text.data(), text.size());
    return;
  }
  BestRecodeKernel()(*table, in, reinterpret_cast<uint8_t*>(out), text.size());
}

void RecodeInPlace(std::string& text, int32_t code) {
  if (ChangesLength(code))
    text = Recode(text, code);
  else
    RecodeTo(text, code, text.data());
}

std::string KoiToWin(std::string_view text) { return Recode(text, kCodeKoi8); }
std::string WinToKoi(std::string_view text) { return Recode(text, -kCodeKoi8); }
std::string AltToWin(std::string_view text) { return Recode(text, kCodeAlt866); }
std::string WinToAlt(std::string_view text) { return Recode(text, -kCodeAlt866); }
std::string MacToWin(std::string_view text) { return Recode(text, kCodeMac); }
std::string WinToMac(std::string_view text) { return Recode(text, -kCodeMac); }

}  // namespace lirvane
