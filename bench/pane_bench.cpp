// The main window's heavy commands on a 10 MB text, as ratios to putting
// the same text into a pane (absolute times on shared machines are noise).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <map>

#include "bench/bench_text.h"
#include "platform/text_pane.h"
#include "recode/recode.h"
#include "recode/utf8_recode.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

constexpr size_t kTextSize = 10 * 1000 * 1000;

const std::string& Text() {
  static const std::string text = bench::MakeMixedWin1251Text(kTextSize);
  return text;
}

TMainFrm& Frame() {
  static TMainFrm* frm = [] {
    auto* f = new TMainFrm;
    f->show();
    QApplication::processEvents();
    return f;
  }();
  return *frm;
}

void SetTextIntoPane(benchmark::State& state) {
  TMainFrm& frm = Frame();
  for (auto _ : state) {
    frm.MemoF2->SetText(Text());
    QApplication::processEvents();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}

void KoiToWinCommand(benchmark::State& state) {
  TMainFrm& frm = Frame();
  frm.MemoF->SetText(Recode(Text(), -8));
  for (auto _ : state) {
    frm.KoiWin1Click();
    QApplication::processEvents();  // until the result shows
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}

void SwapCommand(benchmark::State& state) {
  TMainFrm& frm = Frame();
  frm.MemoF->SetText(Text());
  frm.MemoF2->SetText(Recode(Text(), -8));
  for (auto _ : state) {
    frm.ChangeSMClick();
    QApplication::processEvents();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}

// The same swap with a text that holds characters Windows-1251 lacks (an
// emoji on every line), which the panes move as characters.
void SwapCommandWithEmoji(benchmark::State& state) {
  TMainFrm& frm = Frame();
  std::string text = WinToUtf8(Text());
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 6))
    text.insert(at, "\xF0\x9F\x98\x80");
  frm.MemoF->SetUtf8Text(text);
  frm.MemoF2->SetUtf8Text(text);
  for (auto _ : state) {
    frm.ChangeSMClick();
    QApplication::processEvents();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}

BENCHMARK(SetTextIntoPane)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(KoiToWinCommand)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SwapCommand)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SwapCommandWithEmoji)->Unit(benchmark::kMillisecond)->Iterations(5);

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) seconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const double base = seconds_["SetTextIntoPane/iterations:5"];
    std::printf("\n10 MB text, time relative to setting it into a pane (%.0f ms):\n", base);
    for (const char* name : {"KoiToWinCommand/iterations:5", "SwapCommand/iterations:5",
                             "SwapCommandWithEmoji/iterations:5"})
      std::printf("  %-30s %5.2f  (%.0f ms)\n", name, seconds_[name] / base, seconds_[name]);
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace
}  // namespace lirvane

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  lirvane::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  return 0;
}
