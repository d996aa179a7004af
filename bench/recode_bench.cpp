// Recoding throughput on a 64 MiB Windows-1251 text: the Recode API, RecodeTo
// into a reused buffer, each kernel this processor runs, UTF-8 both ways
// (on the same text, and on plain ASCII), and, for scale, memcpy and glibc's
// iconv. After the run a table gives each result as a share of memcpy's and
// of iconv's throughput; a second one sets each UTF-8 direction beside iconv
// doing the same conversion.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "bench/bench_text.h"
#include "recode/recode.h"
#include "recode/recode_kernels.h"
#include "recode/recode_tables.h"

namespace lirvane::bench {
namespace {

constexpr size_t kTextSize = size_t{64} << 20;
constexpr double kMinTime = 0.3;  // seconds per benchmark; keeps the run short
constexpr int32_t kCodes[] = {8, -8, 866, -866, 595, -595, 111, -111};

const std::string& Text() {
  static const std::string text = MakeMixedWin1251Text(kTextSize);
  return text;
}

// A buffer of the text's size, written once so that its pages exist.
std::string& ReusedOutput() {
  static std::string out(kTextSize, '\0');
  return out;
}

// Throughput is counted in input bytes.
void Finish(benchmark::State& state, size_t input_size = kTextSize) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(input_size));
}

// The same text as UTF-8 (about 1.7 times as long).
const std::string& Utf8Text() {
  static const std::string text = Recode(Text(), -65001);
  return text;
}

const std::string& AsciiText() {
  static const std::string text = [] {
    std::string t = Text();
    for (char& c : t)
      if (static_cast<uint8_t>(c) >= 0x80) c = 'x';
    return t;
  }();
  return text;
}

void BM_RecodeText(benchmark::State& state, const std::string& text, int32_t code) {
  for (auto _ : state) {
    std::string out = Recode(text, code);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  Finish(state, text.size());
}

// iconv from `from` to `to` over the whole text into a buffer large enough
// for any result; a byte it cannot convert is copied, as Recode would put
// a character in its place.
void BM_IconvText(benchmark::State& state, const char* to, const char* from,
                  const std::string& text) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv_open failed");
    return;
  }
  static std::string buffer(3 * (size_t{64} << 20) + 16, '\0');
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* out = buffer.data();
    size_t out_left = buffer.size();
    while (in_left != 0 && iconv(cd, &in, &in_left, &out, &out_left) == static_cast<size_t>(-1)) {
      if (errno != EILSEQ && errno != EINVAL) {
        state.SkipWithError("iconv failed");
        break;
      }
      *out++ = *in++;
      --in_left;
      --out_left;
    }
    benchmark::ClobberMemory();
  }
  iconv_close(cd);
  Finish(state, text.size());
}

// Each UTF-8 benchmark and the iconv run that does the same conversion.
struct Utf8Pair {
  const char* ours;
  const char* iconv;
};
constexpr Utf8Pair kUtf8Pairs[] = {
    {"Recode/-65001 Win->UTF-8", "iconv CP1251->UTF-8"},
    {"Recode/65001 UTF-8->Win", "iconv UTF-8->CP1251"},
    {"Recode/-65001 ASCII", "iconv CP1251->UTF-8 ASCII"},
    {"Recode/65001 ASCII", "iconv UTF-8->CP1251 ASCII"},
};

void BM_Recode(benchmark::State& state, int32_t code) {
  for (auto _ : state) {
    std::string out = Recode(Text(), code);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  Finish(state);
}

void BM_RecodeTo(benchmark::State& state, int32_t code) {
  char* out = ReusedOutput().data();
  for (auto _ : state) {
    RecodeTo(Text(), code, out);
    benchmark::ClobberMemory();
  }
  Finish(state);
}

void BM_Kernel(benchmark::State& state, RecodeKernel kernel) {
  const HighHalfTable& table = *TableForCode(-8);
  const auto* in = reinterpret_cast<const uint8_t*>(Text().data());
  auto* out = reinterpret_cast<uint8_t*>(ReusedOutput().data());
  for (auto _ : state) {
    kernel(table, in, out, kTextSize);
    benchmark::ClobberMemory();
  }
  Finish(state);
}

void BM_Memcpy(benchmark::State& state) {
  char* out = ReusedOutput().data();
  for (auto _ : state) {
    std::memcpy(out, Text().data(), kTextSize);
    benchmark::ClobberMemory();
  }
  Finish(state);
}

// The text with its bytes 0x80-0xBF replaced by 'x': as KOI8-R it has no
// byte that Windows-1251 lacks, so iconv runs without a single error.
const std::string& TextWithoutUnmappable() {
  static const std::string text = [] {
    std::string t = Text();
    for (char& c : t)
      if (static_cast<uint8_t>(c) >= 0x80 && static_cast<uint8_t>(c) < 0xC0) c = 'x';
    return t;
  }();
  return text;
}

// The text read as KOI8-R. Bytes that KOI8-R holds but Windows-1251 lacks
// (box drawing, which is what Windows-1251 guillemets, dashes and ё are in
// KOI8-R) are copied as they are, so that iconv covers the whole text.
void BM_Iconv(benchmark::State& state, const std::string& text) {
  iconv_t cd = iconv_open("CP1251", "KOI8-R");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv_open(CP1251, KOI8-R) failed");
    return;
  }
  char* out_start = ReusedOutput().data();
  size_t unmappable = 0;
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* out = out_start;
    size_t out_left = kTextSize;
    while (in_left != 0) {
      if (iconv(cd, &in, &in_left, &out, &out_left) != static_cast<size_t>(-1)) break;
      if (errno != EILSEQ || out_left == 0) {
        state.SkipWithError("iconv failed");
        break;
      }
      *out++ = *in++;
      --in_left;
      --out_left;
      ++unmappable;
    }
    benchmark::ClobberMemory();
  }
  iconv_close(cd);
  state.counters["unmappable/iter"] =
      benchmark::Counter(static_cast<double>(unmappable), benchmark::Counter::kAvgIterations);
  Finish(state);
}

// What a new 64 MiB result costs, taken apart: a kernel writing into fresh
// small pages, into fresh huge pages, and RecodeIntoNewString, which Recode
// can build its result with.
void BM_NewBufferKernel(benchmark::State& state, bool huge_pages) {
  const HighHalfTable& table = *TableForCode(-8);
  const auto* in = reinterpret_cast<const uint8_t*>(Text().data());
  const RecodeKernel kernel = BestRecodeKernel();
  constexpr size_t kHugePage = size_t{2} << 20;
  for (auto _ : state) {
    // No zero-fill: the kernel's stores are the first touch of each page.
    std::unique_ptr<uint8_t, decltype(&std::free)> out(
        static_cast<uint8_t*>(std::aligned_alloc(kHugePage, kTextSize)), &std::free);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (huge_pages) madvise(out.get(), kTextSize, MADV_HUGEPAGE);
#else
    (void)huge_pages;
#endif
    kernel(table, in, out.get(), kTextSize);
    benchmark::DoNotOptimize(out.get());
    benchmark::ClobberMemory();
  }
  Finish(state);
}

void BM_RecodeIntoNewString(benchmark::State& state, int32_t code) {
  const HighHalfTable& table = *TableForCode(code);
  for (auto _ : state) {
    std::string out = RecodeIntoNewString(table, Text());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  Finish(state);
}

constexpr const char* kIconvName = "iconv KOI8-R->CP1251";
constexpr const char* kCleanIconvName = "iconv KOI8-R->CP1251, no 0x80-0xBF bytes";

struct Result {
  std::string name;
  double bytes_per_second;
};

// Shows the usual console output and keeps each benchmark's throughput.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const auto it = run.counters.find("bytes_per_second");
      if (it == run.counters.end()) continue;
      std::string name = run.benchmark_name();
      name = name.substr(0, name.find("/min_time:"));
      results_.push_back({name, it->second.value});
    }
  }

  void PrintRatios() const {
    const double memcpy_rate = RateOf("memcpy");
    const double iconv_rate = RateOf(kIconvName);
    const double clean_iconv_rate = RateOf(kCleanIconvName);
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("\n%-48s %8s %8s %8s %8s\n", "benchmark", "MiB/s", "/memcpy", "/iconv", "/iconv*");
    for (const Result& r : results_) {
      std::printf("%-48s %8.0f %8.3f %8.1f %8.1f\n", r.name.c_str(), r.bytes_per_second / (1 << 20),
                  ratio(r.bytes_per_second, memcpy_rate), ratio(r.bytes_per_second, iconv_rate),
                  ratio(r.bytes_per_second, clean_iconv_rate));
    }
    std::printf(
        "(/iconv: iconv on the same text; /iconv*: on the text "
        "without 0x80-0xBF, where iconv meets no unmappable byte)\n");
    std::printf("\n%-32s %10s %8s %8s %10s\n", "UTF-8, by input bytes", "MB/s", "/memcpy", "/iconv",
                "iconv MB/s");
    for (const Utf8Pair& pair : kUtf8Pairs) {
      const double ours = RateOf(pair.ours);
      const double theirs = RateOf(pair.iconv);
      std::printf("%-32s %10.0f %8.3f %8.1f %10.0f\n", pair.ours, ours / 1e6,
                  ratio(ours, memcpy_rate), ratio(ours, theirs), theirs / 1e6);
    }
  }

 private:
  double RateOf(const std::string& name) const {
    for (const Result& r : results_)
      if (r.name == name) return r.bytes_per_second;
    return 0;
  }

  std::vector<Result> results_;
};

void RegisterAll() {
  const auto add = [](const std::string& name, auto&& fn) {
    benchmark::RegisterBenchmark(name.c_str(), fn)
        ->MinTime(kMinTime)
        ->Unit(benchmark::kMillisecond);
  };
  add("memcpy", BM_Memcpy);
  add(kIconvName, [](benchmark::State& s) { BM_Iconv(s, Text()); });
  add(kCleanIconvName, [](benchmark::State& s) { BM_Iconv(s, TextWithoutUnmappable()); });
  for (int32_t code : kCodes)
    add("Recode/" + std::to_string(code), [code](benchmark::State& s) { BM_Recode(s, code); });
  for (int32_t code : kCodes)
    add("RecodeTo/" + std::to_string(code), [code](benchmark::State& s) { BM_RecodeTo(s, code); });
  for (const auto& [name, kernel] : AvailableRecodeKernels())
    add(std::string("kernel/") + name,
        [kernel = kernel](benchmark::State& s) { BM_Kernel(s, kernel); });
  add("Recode/1251 (a plain copy)", [](benchmark::State& s) { BM_Recode(s, 1251); });
  add("new buffer, small pages, kernel", [](benchmark::State& s) { BM_NewBufferKernel(s, false); });
  add("new buffer, huge pages, kernel", [](benchmark::State& s) { BM_NewBufferKernel(s, true); });
  add(kUtf8Pairs[0].ours, [](benchmark::State& s) { BM_RecodeText(s, Text(), -65001); });
  add(kUtf8Pairs[0].iconv, [](benchmark::State& s) { BM_IconvText(s, "UTF-8", "CP1251", Text()); });
  add(kUtf8Pairs[1].ours, [](benchmark::State& s) { BM_RecodeText(s, Utf8Text(), 65001); });
  add(kUtf8Pairs[1].iconv,
      [](benchmark::State& s) { BM_IconvText(s, "CP1251", "UTF-8", Utf8Text()); });
  add(kUtf8Pairs[2].ours, [](benchmark::State& s) { BM_RecodeText(s, AsciiText(), -65001); });
  add(kUtf8Pairs[2].iconv,
      [](benchmark::State& s) { BM_IconvText(s, "UTF-8", "CP1251", AsciiText()); });
  add(kUtf8Pairs[3].ours, [](benchmark::State& s) { BM_RecodeText(s, AsciiText(), 65001); });
  add(kUtf8Pairs[3].iconv,
      [](benchmark::State& s) { BM_IconvText(s, "CP1251", "UTF-8", AsciiText()); });
  for (int32_t code : kCodes)
    add("RecodeIntoNewString/" + std::to_string(code),
        [code](benchmark::State& s) { BM_RecodeIntoNewString(s, code); });
}

}  // namespace
}  // namespace lirvane::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  lirvane::bench::Text();  // build the text before any timing
  lirvane::bench::TextWithoutUnmappable();
  lirvane::bench::Utf8Text();
  lirvane::bench::AsciiText();
  lirvane::bench::ReusedOutput();
  lirvane::bench::RegisterAll();
  lirvane::bench::CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
