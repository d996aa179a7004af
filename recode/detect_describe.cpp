#include "recode/detect_describe.h"

#include <cmath>

#include "recode/codepage.h"
#include "recode/recode.h"

namespace lirvane {
namespace {

// The words below are written as UTF-8 in this file and handed out as
// Windows-1251 like every other text of the program.
std::string Win(std::string_view utf8) { return Recode(utf8, kCodeUtf8); }

// The captions of the recoding commands, one per step.
std::string_view StepCaption(int32_t code) {
  switch (code) {
    case 8:
      return "Koi->Win";
    case -8:
      return "Win->Koi";
    case 866:
      return "Alt->Win";
    case -866:
      return "Win->Alt";
    case 595:
      return "Iso->Win";
    case -595:
      return "Win->Iso";
    case 111:
      return "Mac->Win";
    case -111:
      return "Win->Mac";
    case kDetectUtf8Step:
      return "UTF-8->Win";
  }
  return "?";
}

}  // namespace

std::string DescribeRecodingChain(const RecodingChain& chain) {
  std::string out;
  for (int i = 0; i < chain.length;) {
    int run = 1;
    while (i + run < chain.length && chain.steps[i + run] == chain.steps[i]) ++run;
    if (!out.empty()) out += Win(", затем ");
    if (run == 2) out += Win("дважды ");
    if (run == 3) out += Win("трижды ");
    out += StepCaption(chain.steps[i]);
    i += run;
  }
  return out;
}

std::string DescribeDetection(const Detection& detection) {
  if (!detection.judged) return Win("Авто: слишком мало русских букв, чтобы определить кодировку");
  if (detection.chain.empty()) return Win("Авто: текст уже в Win-1251");
  const int percent = static_cast<int>(std::floor(detection.confidence * 100));
  return Win("Авто: ") + DescribeRecodingChain(detection.chain) +
         Win(" (уверенность " + std::to_string(percent) + " %)");
}

}  // namespace lirvane
