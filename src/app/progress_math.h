// The progress bar's position during a run.
#pragma once
#include <optional>

namespace lumadex {

// done out of total as a whole percentage, halves going to the even neighbour (2.5 -> 2,
// 7.5 -> 8) as the program's number conversion has always rounded. Nullopt when there is
// nothing to count (total 0): the bar is then left alone.
std::optional<int> ProgressPercent(int done, int total);

}  // namespace lumadex
