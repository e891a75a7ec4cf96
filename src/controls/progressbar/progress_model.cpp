#include "controls/progressbar/progress_model.h"

namespace lumadex {
namespace {

// Stored defaults: what is not written when saving and what a missing key means on loading.
constexpr int kDefValue = 50, kDefMax = 100, kDefMin = 0, kDefRounded = 5, kDefTheme = 1, kDefTextStyle = 1,
              kDefOrientation = 1, kDefAlignment = 5, kDefEffect = 1;
constexpr Colour kDefEffectColour = 0xC8C8C8, kDefForeColour = 0, kDefCustom = 0;

bool InRange(int v, int low, int high) { return v >= low && v <= high; }

// A stored number the tables have no entry for is read as the stored default, so a damaged or
// foreign set draws the ordinary bar instead of nothing.
int ReadChoice(const PropertyBag& bag, std::wstring_view key, int fallback, int low, int high) {
  const int v = bag.ReadInt(key, fallback);
  return InRange(v, low, high) ? v : fallback;
}

PropertyValue Int(std::int64_t v) { return PropertyValue{v}; }
PropertyValue ColourValue(Colour c) { return PropertyValue{static_cast<std::int64_t>(c)}; }

}  // namespace

void ProgressBarModel::SetValue(int value) {
  if (value > max_) value = max_;
  if (value < min_) value = min_;
  value_ = value;
  Changed(L"Value");
}

void ProgressBarModel::SetMax(int max) {
  if (max < 1) max = 1;
  if (min_ >= max) max = min_ + 1;  // min_ < max_ <= INT_MAX, so this cannot overflow
  max_ = max;
  Changed(L"Max");
  if (value_ > max_) SetValue(max_);
}

void ProgressBarModel::SetMin(int min) {
  if (min >= max_) min = max_ - 1;
  if (min < 0) min = 0;
  min_ = min;
  Changed(L"Min");
  if (value_ < min_) SetValue(min_);
}

void ProgressBarModel::SetRoundedValue(int pixels) { Store(rounded_, pixels, L"RoundedValue"); }

void ProgressBarModel::SetEnabled(bool enabled) { Store(enabled_, enabled, L"Enabled"); }

void ProgressBarModel::SetTheme(int theme) { Store(theme_, theme, L"Theme"); }

void ProgressBarModel::SetTextStyle(int style) { Store(textStyle_, style, L"TextStyle"); }

void ProgressBarModel::SetOrientations(int orientation) { Store(orientation_, orientation, L"Orientations"); }

void ProgressBarModel::SetTextAlignment(int alignment) { Store(textAlignment_, alignment, L"TextAlignment"); }

void ProgressBarModel::SetText(const std::wstring& text) { Store(text_, text, L"Text"); }

void ProgressBarModel::SetTextEffectColor(Colour colour) { Store(textEffectColor_, colour, L"TextEffectColor"); }

void ProgressBarModel::SetTextEffect(int effect) { Store(textEffect_, effect, L"TextEffect"); }

void ProgressBarModel::SetTextForeColor(Colour colour) { Store(textForeColor_, colour, L"TextForeColor"); }

void ProgressBarModel::SetTextFont(const StoredFont& font) { Store(textFont_, font, L"TextFont"); }

void ProgressBarModel::SetPBSCustomeColor1(Colour colour) { Store(custom1_, colour, L"PBSCustomeColor1"); }

void ProgressBarModel::SetPBSCustomeColor2(Colour colour) { Store(custom2_, colour, L"PBSCustomeColor2"); }

double ProgressBarModel::Percent() const {
  // The setters never let Max fall to Min or below; should it ever, there is no share to show.
  if (max_ <= 0 || max_ <= min_) return 0.0;
  return static_cast<double>(value_) * 100.0 / static_cast<double>(max_);
}

void ProgressBarModel::InitNew(const StoredFont& hostFont) {
  SetMax(100);
  SetMin(0);
  SetValue(50);
  SetRoundedValue(5);
  SetEnabled(true);
  SetTheme(1);
  SetTextForeColor(0);
  SetText(L"Vexo ProgressBar");
  SetTextAlignment(5);
  SetTextEffect(5);
  SetTextEffectColor(0xFFFFFF);
  SetTextStyle(3);
  SetOrientations(1);
  SetTextFont(hostFont);
}

void ProgressBarModel::ReadProperties(const PropertyBag& bag, const std::wstring& name, const StoredFont& hostFont) {
  // A minimum left over from earlier would push a smaller stored maximum up; the stored limits
  // are applied from the widest range instead.
  min_ = 0;
  SetMax(bag.ReadInt(L"Max", kDefMax));
  SetMin(bag.ReadInt(L"Min", kDefMin));
  SetValue(bag.ReadInt(L"Value", kDefValue));
  SetRoundedValue(bag.ReadInt(L"RoundedValue", kDefRounded));
  SetEnabled(bag.ReadBool(L"Enabled", true));
  SetTheme(ReadChoice(bag, L"Theme", kDefTheme, kFirstTheme, kCustomTheme));
  SetTextStyle(ReadChoice(bag, L"TextStyle", kDefTextStyle, 1, 3));
  SetOrientations(ReadChoice(bag, L"Orientations", kDefOrientation, 1, 2));
  SetText(bag.ReadString(L"Text", name));
  SetTextEffectColor(bag.ReadColor(L"TextEffectColor", kDefEffectColour));
  SetTextEffect(ReadChoice(bag, L"TextEffect", kDefEffect, 1, 5));
  SetTextAlignment(ReadChoice(bag, L"TextAlignment", kDefAlignment, 1, 9));
  SetTextFont(bag.ReadFont(L"TextFont", hostFont));
  SetTextForeColor(bag.ReadColor(L"TextForeColor", kDefForeColour));
  SetPBSCustomeColor2(bag.ReadColor(L"PBSCustomeColor2", kDefCustom));
  SetPBSCustomeColor1(bag.ReadColor(L"PBSCustomeColor1", kDefCustom));
}

void ProgressBarModel::WriteProperties(PropertyBag& bag, const StoredFont& hostFont) const {
  bag.Write(L"Orientations", Int(orientation_), Int(kDefOrientation));
  bag.Write(L"Max", Int(max_), Int(kDefMax));
  bag.Write(L"Min", Int(min_), Int(kDefMin));
  bag.Write(L"Value", Int(value_), Int(kDefValue));
  bag.Write(L"RoundedValue", Int(rounded_), Int(kDefRounded));
  bag.Write(L"Enabled", PropertyValue{enabled_}, PropertyValue{true});
  bag.Write(L"Theme", Int(theme_), Int(kDefTheme));
  bag.Write(L"TextStyle", Int(textStyle_), Int(kDefTextStyle));
  bag.Write(L"TextFont", PropertyValue{textFont_}, PropertyValue{hostFont});
  bag.Write(L"TextForeColor", ColourValue(textForeColor_), ColourValue(kDefForeColour));
  bag.Write(L"TextAlignment", Int(textAlignment_), Int(kDefAlignment));
  bag.Write(L"Text", PropertyValue{text_}, PropertyValue{std::wstring()});
  bag.Write(L"TextEffectColor", ColourValue(textEffectColor_), ColourValue(kDefEffectColour));
  bag.Write(L"TextEffect", Int(textEffect_), Int(kDefEffect));
  bag.Write(L"PBSCustomeColor2", ColourValue(custom2_), ColourValue(kDefCustom));
  bag.Write(L"PBSCustomeColor1", ColourValue(custom1_), ColourValue(kDefCustom));
}

}  // namespace lumadex
