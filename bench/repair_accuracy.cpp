// Accuracy and speed of the "Авто" repair on garbled held-out text:
//
//   repair_accuracy CASES_DIR [TIMING_TEXT]
//
// CASES_DIR holds CLASS/BUCKET/N.in and N.out as bench/repair_cases.py
// writes them; each input goes through RepairBytes (classes named bytes_*)
// or RepairText, and is right when the result is N.out exactly. Prints one
// line per case ("CLASS/BUCKET/N 1|0") for bench/repair_accuracy.py. With
// TIMING_TEXT (UTF-8 Russian), times a 10 MB repair of it garbled as UTF-8
// read as Windows-1251, and of it as it is, against memcpy and a UTF-8
// decode of the same bytes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "recode/code_pages.h"
#include "recode/repair.h"

using namespace lirvane;
namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

double Millis(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

template <typename F>
double Best(F&& f) {
  double best = 1e18;
  for (int i = 0; i < 3; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    best = std::min(best, Millis(t0, std::chrono::steady_clock::now()));
  }
  return best;
}

void Time(const std::string& text) {
  std::string big;
  while (big.size() < 10'000'000) big += text;
  const auto u32 = Utf8ToU32(big);
  std::string garbled;
  {
    const auto bytes = EncodeText(*u32, CodePageId::kUtf8);
    garbled = U32ToUtf8(*DecodeText(*bytes, CodePageId::kWin1251));
  }
  std::string copy(big.size(), '\0');
  const double memcpy_ms = Best([&] { std::memcpy(copy.data(), big.data(), big.size()); });
  const double decode_ms = Best([&] { (void)Utf8ToU32(big); });
  bool ok = true;
  const double correct_ms = Best([&] { ok = !RepairText(big).changed && ok; });
  const double garbled_ms = Best([&] { ok = RepairText(garbled).text == big && ok; });
  std::printf(
      "timing: %.1f MB correct text %.1f ms, %.1f MB garbled (UTF-8 as Windows-1251) "
      "%.1f ms; memcpy %.2f ms, UTF-8 decode %.1f ms; ratio to memcpy %.0f / %.0f%s\n",
      big.size() / 1e6, correct_ms, garbled.size() / 1e6, garbled_ms, memcpy_ms, decode_ms,
      correct_ms / memcpy_ms, garbled_ms / memcpy_ms, ok ? "" : " (RESULT WRONG)");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: repair_accuracy CASES_DIR [TIMING_TEXT]\n");
    return 2;
  }
  std::vector<fs::path> inputs;
  for (const auto& e : fs::recursive_directory_iterator(argv[1]))
    if (e.path().extension() == ".in") inputs.push_back(e.path());
  std::sort(inputs.begin(), inputs.end());
  for (const fs::path& in : inputs) {
    const std::string klass = in.parent_path().parent_path().filename().string();
    const std::string source = Slurp(in);
    fs::path out = in;
    out.replace_extension(".out");
    const Repair r = klass.rfind("bytes_", 0) == 0 ? RepairBytes(source) : RepairText(source);
    const bool right = r.text == Slurp(out);
    std::printf("%s/%s/%s %d\n", klass.c_str(), in.parent_path().filename().c_str(),
                in.stem().c_str(), right ? 1 : 0);
  }
  if (argc > 2) Time(Slurp(argv[2]));
  return 0;
}
