// The push button's stored set: whatever a form holds, loading gives properties that save and
// load again without changing (an empty Caption aside, which is not stored and so reads back as
// the default caption), and the table-indexed ones are judged before any table is used.
//
// Input: a stored set, one "key=kind:value" a line (see property_set_input.h).
#include <cstdint>

#include "controls/button/button_model.h"
#include "fuzz_support.h"
#include "property_set_input.h"

using namespace lumadex;
using namespace lumadex::button;

namespace {

SystemColours TestColours() {
  SystemColours system;
  for (int i = 0; i < SystemColours::kCount; ++i)
    system.colours[static_cast<std::size_t>(i)] = static_cast<Colour>(0x010203u * static_cast<Colour>(i + 1));
  return system;
}

const StoredFont kSurfaceFont{L"宋体", 9, 400, false, false, false, 134};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const SystemColours system = TestColours();
  const PropertyBag stored = fuzz::BagFromText(fuzz::Bytes(data, size));
  const ButtonProperties loaded = ReadButtonProperties(stored, system, kSurfaceFont);
  // Colours come out plain: a system colour is looked up, never kept with its top bit; one that
  // names no colour at all is marked as such, as the platform's translation marks it.
  for (Colour colour : {loaded.BackColor, loaded.HighlightColor, loaded.FontColor, loaded.FontHighlightColor,
                     loaded.MaskColor})
    FUZZ_CHECK((colour & 0xFF000000u) == 0 || colour == kColourInvalid);
  const int icon = ToolTipIconOrNone(loaded.ToolTipIcon);
  FUZZ_CHECK(icon >= 0 && icon <= 3);
  const std::int32_t drawn = DrawnStyle(loaded.Style, loaded.NonThemeStyle, true);
  // A theme that failed never falls back to itself, whatever the stored fallback says.
  FUZZ_CHECK(drawn != kStyleTheme);

  PropertyBag saved;
  WriteButtonProperties(loaded, saved, system);
  const ButtonProperties again = ReadButtonProperties(saved, system, kSurfaceFont);
  PropertyBag savedAgain;
  WriteButtonProperties(again, savedAgain, system);
  // An empty caption is not stored, and reads back as the button's own default caption.
  if (loaded.Caption.empty()) savedAgain.Erase(L"Caption");
  FUZZ_CHECK(fuzz::SameBags(saved, savedAgain));
  FUZZ_CHECK(again.Caption == (loaded.Caption.empty() ? std::wstring(kDefaultCaption) : loaded.Caption));
  FUZZ_CHECK(again.ToolTipText == loaded.ToolTipText);
  FUZZ_CHECK(again.Font == loaded.Font && again.Icon == loaded.Icon);
  return 0;
}
