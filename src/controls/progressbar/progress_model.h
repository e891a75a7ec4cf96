// The progress bar's properties: a value between a minimum and a maximum, its look (theme,
// orientation, rounding), its text and the text's colours, font and effect. The setters keep
// Min >= 0, Max >= 1, Min < Max and Min <= Value <= Max; the rest is stored as given and
// judged when drawn. Every setter reports the property it changed, which is how the window
// knows to redraw and the host that its stored set is out of date.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "controls/host/property_bag.h"
#include "controls/progressbar/progress_colour.h"

namespace lumadex {

enum class BarOrientation : int { Horizontal = 1, Vertical = 2 };
enum class BarTextStyle : int { Value = 1, Percent = 2, OwnText = 3 };
enum class BarTextEffect : int { None = 1, Raised = 2, Sunken = 3, Outline = 4, Shadow = 5 };

class ProgressBarModel {
 public:
  using ChangeHandler = std::function<void(std::wstring_view property)>;

  ProgressBarModel() = default;
  void SetChangeHandler(ChangeHandler handler) { onChange_ = std::move(handler); }

  // What a control gets when it is first placed on a form.
  void InitNew(const StoredFont& hostFont);
  // Loads a stored set; missing keys, and values a table has no entry for, take the stored
  // defaults. `name` is the control's name on its form, the default of Text.
  void ReadProperties(const PropertyBag& bag, const std::wstring& name, const StoredFont& hostFont);
  void WriteProperties(PropertyBag& bag, const StoredFont& hostFont) const;

  // The range first, then how the bar shows, then its text (Text to TextFont), then the theme
  // and the custom theme's colours.
  int Value() const { return value_; }  void SetValue(int value);
  int Max() const { return max_; }  void SetMax(int max);
  int Min() const { return min_; }  void SetMin(int min);
  int RoundedValue() const { return rounded_; }  void SetRoundedValue(int pixels);
  bool Enabled() const { return enabled_; }  void SetEnabled(bool enabled);
  const std::wstring& Text() const { return text_; }  void SetText(const std::wstring& text);
  int TextStyle() const { return textStyle_; }  void SetTextStyle(int style);
  int TextAlignment() const { return textAlignment_; }  void SetTextAlignment(int alignment);
  int TextEffect() const { return textEffect_; }  void SetTextEffect(int effect);
  Colour TextEffectColor() const { return textEffectColor_; }  void SetTextEffectColor(Colour colour);
  Colour TextForeColor() const { return textForeColor_; }  void SetTextForeColor(Colour colour);
  const StoredFont& TextFont() const { return textFont_; }  void SetTextFont(const StoredFont& font);
  int Theme() const { return theme_; }  void SetTheme(int theme);
  int Orientations() const { return orientation_; }  void SetOrientations(int orientation);
  Colour PBSCustomeColor1() const { return custom1_; }  void SetPBSCustomeColor1(Colour colour);
  Colour PBSCustomeColor2() const { return custom2_; }  void SetPBSCustomeColor2(Colour colour);

  // Value as a share of Max, in per cent (the minimum is not subtracted). 0 when the limits
  // leave nothing to measure.
  double Percent() const;

 private:
  void Changed(std::wstring_view property) const {
    if (onChange_) onChange_(property);
  }
  // Properties stored as given: kept, then reported.
  template <typename T>
  void Store(T& field, const T& value, std::wstring_view property) {
    field = value;
    Changed(property);
  }

  int value_ = 50;
  int max_ = 100;
  int min_ = 0;
  int rounded_ = 5;
  bool enabled_ = true;
  int theme_ = 1;
  int textStyle_ = 3;
  int orientation_ = 1;
  int textAlignment_ = 5;
  std::wstring text_ = L"Vexo ProgressBar";
  Colour textEffectColor_ = 0xFFFFFF;
  int textEffect_ = 5;
  Colour textForeColor_ = 0;
  StoredFont textFont_;
  Colour custom1_ = 0;
  Colour custom2_ = 0;
  ChangeHandler onChange_;
};

}  // namespace lumadex
