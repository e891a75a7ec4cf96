// The progress bar's stored set: whatever a form holds, loading leaves a bar whose limits and
// value keep their rules (Min >= 0, Max >= 1, Min < Max, Min <= Value <= Max) and whose share
// is a number from 0 to 100; saving and loading again changes nothing more (an empty Text
// aside, which is not stored and so reads back as the bar's name).
//
// Input: a stored set, one "key=kind:value" a line (see property_set_input.h).
#include <cmath>
#include <cstdint>

#include "controls/progressbar/progress_model.h"
#include "fuzz_support.h"
#include "property_set_input.h"

using namespace lumadex;

namespace {

const StoredFont kFormFont{L"宋体", 9, 400, false, false, false, 134};

void CheckRules(const ProgressBarModel& bar) {
  FUZZ_CHECK(bar.Min() >= 0);
  FUZZ_CHECK(bar.Max() >= 1);
  FUZZ_CHECK(bar.Min() < bar.Max());
  FUZZ_CHECK(bar.Min() <= bar.Value() && bar.Value() <= bar.Max());
  const double percent = bar.Percent();
  FUZZ_CHECK(std::isfinite(percent));
  FUZZ_CHECK(percent >= 0 && percent <= 100);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PropertyBag stored = fuzz::BagFromText(fuzz::Bytes(data, size));
  ProgressBarModel bar;
  bar.ReadProperties(stored, L"NicePressBar", kFormFont);
  CheckRules(bar);

  PropertyBag saved;
  bar.WriteProperties(saved, kFormFont);
  ProgressBarModel again;
  // A bar that had other limits before loading ends up the same.
  again.SetMin(70);
  again.SetMax(90);
  again.ReadProperties(saved, L"NicePressBar", kFormFont);
  CheckRules(again);
  FUZZ_CHECK(again.Value() == bar.Value() && again.Min() == bar.Min() && again.Max() == bar.Max());
  // An empty text is not stored, and reads back as the bar's name, as a form gives it.
  FUZZ_CHECK(again.Text() == (bar.Text().empty() ? L"NicePressBar" : bar.Text()));
  FUZZ_CHECK(again.TextFont() == bar.TextFont());
  PropertyBag savedAgain;
  again.WriteProperties(savedAgain, kFormFont);
  if (bar.Text().empty()) savedAgain.Erase(L"Text");
  FUZZ_CHECK(fuzz::SameBags(saved, savedAgain));
  return 0;
}
