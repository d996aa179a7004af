// What the detector found, in the words of the recoding commands.
#pragma once

#include <string>

#include "recode/detect_recoding.h"

namespace lirvane {

// The chain as the user knows the steps: "Koi->Win", "дважды Win->Koi",
// "Win->Alt, затем Koi->Win". Windows-1251 bytes; empty for the empty chain.
std::string DescribeRecodingChain(const RecodingChain& chain);

// One line for the status bar, Windows-1251 bytes: what was found and
// applied, that the text already is Windows-1251, or that there was nothing
// to judge by.
std::string DescribeDetection(const Detection& detection);

}  // namespace lirvane
