// Vector fast paths for the commonest UTF-8 work: runs of ASCII mixed with
// the 64 Russian letters А-я (U+0410-U+044F, two bytes each in UTF-8,
// bytes 0xC0-0xFF in Windows-1251). Each kernel handles as long a stretch
// as it can and stops before the first block holding anything else, which
// the scalar code in utf8_recode.cpp then takes on; so the kernels never
// decide anything the scalar code would decide differently.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "recode/recode_kernels.h"  // LIRVANE_RECODE_X86_KERNELS

namespace lirvane {

// Signature shared by the vector kernels: reads from in[i] onwards, writes
// from out[o] onwards, advances both; returns when the next block is not
// for it or too few input bytes are left: 16 for the encoder, 17 for the
// decoder, which also looks at the byte after its block.
using Utf8Kernel = void (*)(const uint8_t* in, size_t size, size_t& i, uint8_t* out, size_t& o);
// Whether the bytes are well-formed UTF-8 (the scalar rule: DecodeUtf8).
using Utf8Validator = bool (*)(const uint8_t* in, size_t size);

#if defined(LIRVANE_RECODE_X86_KERNELS)
// Need SSSE3. The encoder writes up to 16 bytes past the end of what it
// produced (see kUtf8Slack); the decoder writes no further than the input's
// own length, as its output never outruns its input.
void WinToUtf8Ssse3(const uint8_t* in, size_t size, size_t& i, uint8_t* out, size_t& o);
void Utf8ToWinSsse3(const uint8_t* in, size_t size, size_t& i, uint8_t* out, size_t& o);
bool IsWellFormedUtf8Ssse3(const uint8_t* in, size_t size);
#endif

// The encoder, decoder and validator of one instruction set.
struct Utf8KernelPair {
  const char* name;
  Utf8Kernel win_to_utf8;
  Utf8Kernel utf8_to_win;
  Utf8Validator validate;
};

// Every pair this processor runs, by name: "scalar" first (null kernels:
// the scalar code alone), the best last.
std::vector<Utf8KernelPair> AvailableUtf8Kernels();

// The best of each on this processor, or the one LIRVANE_KERNEL names
// (recode_kernels.h); nullptr for the scalar code. Chosen once.
Utf8Kernel BestWinToUtf8Kernel();
Utf8Kernel BestUtf8ToWinKernel();
Utf8Validator BestUtf8Validator();

}  // namespace lirvane
