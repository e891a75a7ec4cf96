// What assistive software reads as the progress bar's value: the percentage its fill shows,
// whatever text it prints.
#pragma once
#include <string>

#include "controls/progressbar/progress_model.h"

namespace lumadex {

// "33.3333333333333%": the share of Max that Value is, written as the bar's percent text is.
std::wstring AccessValueText(const ProgressBarModel& model);

}  // namespace lumadex
