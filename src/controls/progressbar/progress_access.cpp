#include "controls/progressbar/progress_access.h"

#include "controls/progressbar/progress_paint.h"

namespace lumadex {

std::wstring AccessValueText(const ProgressBarModel& model) { return PercentText(model.Percent()) + L"%"; }

}  // namespace lumadex
