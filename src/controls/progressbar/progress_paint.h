// What one redraw of the progress bar puts on its surface, worked out without the platform:
// the gradient rectangles, the border, and the text with the prints of its effect. The window
// layer measures the text, asks for the picture and carries it out with GDI.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "controls/progressbar/progress_colour.h"
#include "controls/progressbar/progress_model.h"

namespace lumadex {

// A linear gradient over [left, right) x [top, bottom).
struct GradientBand {
  int left, top, right, bottom;
  bool topToBottom;
  Colour from, to;
  bool operator==(const GradientBand&) const = default;
};

struct TextPrint {
  Colour colour;
  int x, y;  // the text's top-left corner
  bool operator==(const TextPrint&) const = default;
};

struct BarPicture {
  std::vector<GradientBand> bands;
  Colour border = 0;  // outline of the rounded rectangle (0, 0)-(W - 1, H - 1)
  std::vector<TextPrint> prints;
};

// The grey of the raised and sunken effects' second print, never greyed further.
inline constexpr Colour kEffectGrey = Rgb(128, 128, 128);

// The percentage as the bar prints it: up to 15 significant digits, no exponent, no trailing
// zeros, "0" before a bare decimal point; 1 of 3 gives "33.3333333333333".
std::wstring PercentText(double percent);
// The text TextStyle asks for; nullopt when it asks for none.
std::optional<std::wstring> BarText(const ProgressBarModel& model);
// Length of the fill along a side of `length` pixels.
int FillLength(int length, double percent);

struct TextPoint {
  int x, y;
  bool operator==(const TextPoint&) const = default;
};
TextPoint TextPosition(int alignment, int width, int height, int textWidth, int textHeight);
// The prints of an effect, in drawing order; none for a value that names no effect.
std::vector<TextPrint> EffectPrints(int effect, TextPoint at, Colour text, Colour effectColour);

// Colour values with the top bit set name system colours; the window layer gives the plain
// value. Everything else passes through with its top byte cleared.
using ColourTranslator = Colour (*)(Colour);
Colour PlainColour(Colour c);

struct BarLook {
  Palette palette;      // as the theme left it, before any greying
  bool enabled = true;  // false: the disabled look (the bar's own flag or a disabled container)
};

// The picture for a client area of width x height with the text measured as textWidth x
// textHeight (ignored when BarText gives none). Nothing is drawn for an empty area.
BarPicture PlanBar(const ProgressBarModel& model, const BarLook& look, int width, int height, int textWidth,
                   int textHeight, ColourTranslator translate = PlainColour);

// The palette of this redraw: the theme's, or for a value that names no theme the one the
// last redraw used.
Palette ApplyTheme(const Palette& previous, const ProgressBarModel& model, ColourTranslator translate = PlainColour);

}  // namespace lumadex
