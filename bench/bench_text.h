// Benchmark input: a long text that looks like Russian prose in
// Windows-1251 mixed with ASCII.
#pragma once

#include <cstddef>
#include <string>

namespace lirvane::bench {

// `size` bytes of Windows-1251 prose: Russian words (letter frequencies of
// Russian, Ё/ё included), capitals after full stops, ASCII words and numbers,
// punctuation, guillemets, dashes and CR LF line ends. Always the same text
// for the same size.
std::string MakeMixedWin1251Text(size_t size);

}  // namespace lirvane::bench
