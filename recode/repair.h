// "Авто": repairs garbled Russian text. A garbling step is a text written in
// one code page and read as another (code_pages.h); a text may have been
// garbled up to three times, UTF-8 at any step. A repair is made only when
// the text reads clearly better as Russian once the steps are undone, and
// only when garbling the result again gives back the input exactly; the
// text is otherwise returned as it is, with the reason.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "recode/code_pages.h"

namespace lirvane {

// Steps in the order they are undone: the last garbling first.
using GarblingChain = std::vector<GarblingStep>;

struct AppliedChain {
  GarblingChain steps;
  size_t lines = 0;  // lines it was applied to
};

struct Repair {
  std::string text;      // UTF-8
  bool changed = false;  // text differs from the input's own reading
  // For bytes: the page the input was read in (UTF-8 when it is UTF-8).
  CodePageId source_page = CodePageId::kUtf8;
  // The chains undone, the one applied to most lines first; empty when
  // nothing was undone.
  std::vector<AppliedChain> chains;
  // Russian, UTF-8: what was done ("UTF-8, прочитанный как Windows-1251,
  // дважды") or why nothing was.
  std::string description;
};

// The text is Unicode (UTF-8). A text that is not well-formed UTF-8 is
// returned unchanged.
Repair RepairText(std::string_view utf8);

// Bytes of an unknown page: UTF-8, an 8-bit page, or UTF-8 with some lines
// in an 8-bit page. Each part is read as what it is, then repaired.
Repair RepairBytes(std::string_view bytes);

// Where a part of a text repaired piece by piece ends: after its last line
// break, else (one long line) not within a UTF-8 sequence.
size_t RepairPartEnd(std::string_view text);

// Undoes the chain, step by step; false when the text cannot have come out
// of it.
bool UndoChain(std::u32string& text, const GarblingChain& steps);
// Garbles the text along the chain again; false when some step cannot.
bool RedoChain(std::u32string& text, const GarblingChain& steps);

// "UTF-8, прочитанный как Windows-1251, дважды"; UTF-8.
std::string DescribeGarbling(const GarblingChain& steps);

}  // namespace lirvane
