#include "controls/progressbar/progress_paint.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lumadex {
namespace {

int Half(int length) { return static_cast<int>(RoundHalfEven(length / 2.0)); }

int ClampToInt(long long v) {
  if (v > 0x7FFFFFFFLL) return 0x7FFFFFFF;
  if (v < -0x7FFFFFFFLL - 1) return -0x7FFFFFFF - 1;
  return static_cast<int>(v);
}

}  // namespace

std::wstring PercentText(double percent) {
  if (!std::isfinite(percent)) return L"0";
  if (percent == 0.0) return L"0";
  // Fifteen significant digits first, then written out in full without an exponent.
  char scientific[40];
  std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(percent));
  std::string digits;
  int exponent = 0;
  for (const char* p = scientific; *p; ++p) {
    if (*p >= '0' && *p <= '9') {
      digits.push_back(*p);
    } else if (*p == 'e') {
      exponent = std::atoi(p + 1);
      break;
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string whole, fraction;
  const int pointAfter = exponent + 1;  // digits before the decimal point
  if (pointAfter <= 0) {
    whole = "0";
    fraction = std::string(static_cast<size_t>(-pointAfter), '0') + digits;
  } else if (static_cast<size_t>(pointAfter) >= digits.size()) {
    whole = digits + std::string(static_cast<size_t>(pointAfter) - digits.size(), '0');
  } else {
    whole = digits.substr(0, static_cast<size_t>(pointAfter));
    fraction = digits.substr(static_cast<size_t>(pointAfter));
  }
  std::string text = (percent < 0 ? "-" : "") + whole + (fraction.empty() ? "" : "." + fraction);
  return std::wstring(text.begin(), text.end());
}

std::optional<std::wstring> BarText(const ProgressBarModel& model) {
  switch (model.TextStyle()) {
    case static_cast<int>(BarTextStyle::Value):
      return std::to_wstring(model.Value());
    case static_cast<int>(BarTextStyle::Percent):
      return PercentText(model.Percent()) + L"%";
    case static_cast<int>(BarTextStyle::OwnText):
      return model.Text();
    default:
      return std::nullopt;
  }
}

int FillLength(int length, double percent) {
  if (length <= 0 || !std::isfinite(percent)) return 0;
  return ClampToInt(RoundHalfEven(static_cast<double>(length) * percent / 100.0));
}

TextPoint TextPosition(int alignment, int width, int height, int textWidth, int textHeight) {
  const double w = width, h = height, tw = textWidth, th = textHeight;
  auto round = [](double v) { return ClampToInt(RoundHalfEven(v)); };
  const int left = 1, centre = round(w / 2 - tw / 2 - 1), right = round(w - tw - 3);
  const int top = 0, middle = round(h / 2 - th / 2 - 1), bottom = round(h - th - 1);
  switch (alignment) {
    case 1: return {left, top};
    case 2: return {left, middle};
    case 3: return {left, bottom};
    case 4: return {centre, top};
    case 5: return {centre, middle};
    case 6: return {centre, bottom};
    case 7: return {right, top};
    case 8: return {right, middle};
    case 9: return {right, bottom};
    default: return {0, 0};
  }
}

std::vector<TextPrint> EffectPrints(int effect, TextPoint at, Colour text, Colour e) {
  const int x = at.x, y = at.y;
  switch (effect) {
    case static_cast<int>(BarTextEffect::None):
      return {{text, x, y}};
    case static_cast<int>(BarTextEffect::Raised):
      return {{e, x - 1, y - 1}, {kEffectGrey, x + 1, y + 1}, {text, x, y}};
    case static_cast<int>(BarTextEffect::Sunken):
      return {{e, x + 1, y + 1}, {kEffectGrey, x - 1, y}, {text, x, y}};
    case static_cast<int>(BarTextEffect::Outline):
      return {{e, x + 1, y}, {e, x - 1, y}, {e, x, y - 1}, {e, x, y + 1}, {text, x, y}};
    case static_cast<int>(BarTextEffect::Shadow):
      return {{e, x + 1, y + 1}, {text, x, y}};
    default:
      return {};
  }
}

Colour PlainColour(Colour c) { return c & 0xFFFFFF; }

Palette ApplyTheme(const Palette& previous, const ProgressBarModel& model, ColourTranslator translate) {
  const std::optional<Palette> themed =
      ThemePalette(model.Theme(), translate(model.PBSCustomeColor1()), translate(model.PBSCustomeColor2()));
  return themed ? *themed : previous;
}

BarPicture PlanBar(const ProgressBarModel& model, const BarLook& look, int width, int height, int textWidth,
                   int textHeight, ColourTranslator translate) {
  BarPicture picture;
  if (width <= 0 || height <= 0) return picture;
  const Palette p = look.enabled ? look.palette : GreyPalette(look.palette);
  const bool filled = model.Value() >= 1;
  const double percent = model.Percent();
  const int w = width, h = height;
  if (model.Orientations() == static_cast<int>(BarOrientation::Horizontal)) {
    const int mid = Half(h), fill = FillLength(w, percent);
    picture.bands.push_back({0, 0, w, mid, true, p[0], p[2]});
    picture.bands.push_back({0, mid, w, h, true, p[4], p[6]});
    if (filled) {
      picture.bands.push_back({0, 0, fill, mid, true, p[8], p[10]});
      picture.bands.push_back({0, mid, fill, h, true, p[12], p[14]});
    }
  } else if (model.Orientations() == static_cast<int>(BarOrientation::Vertical)) {
    const int mid = Half(w), fill = FillLength(h, percent);
    picture.bands.push_back({0, 0, mid, h, false, p[0], p[2]});
    picture.bands.push_back({mid, 0, w, h, false, p[4], p[6]});
    if (filled) {
      picture.bands.push_back({0, 0, mid, fill, false, p[8], p[10]});
      picture.bands.push_back({mid, 0, w, fill, false, p[12], p[14]});
    }
  }
  picture.border = p[16];

  if (BarText(model)) {
    Colour text = translate(model.TextForeColor()), effect = translate(model.TextEffectColor());
    if (!look.enabled) {
      text = GreyOf(text);
      effect = GreyOf(effect);
    }
    const TextPoint at = TextPosition(model.TextAlignment(), w, h, textWidth, textHeight);
    picture.prints = EffectPrints(model.TextEffect(), at, text, effect);
  }
  return picture;
}

}  // namespace lumadex
