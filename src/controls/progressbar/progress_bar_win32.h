// ProgressBar: the program's own progress bar window. It shows its model's value as a partly
// filled, themed, rounded bar with an optional text, drawn into a back buffer after every
// property change and size change; paints, WM_PRINTCLIENT and screen refreshes copy that
// buffer. It handles no input.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/host/accessible_text.h"
#include "controls/host/accessible_win32.h"
#include "controls/host/property_bag.h"
#include "controls/host/self_drawn_win32.h"
#include "controls/progressbar/progress_model.h"
#include "controls/progressbar/progress_paint.h"
#include "winmsg/dib_surface_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {

inline constexpr wchar_t kProgressBarClass[] = L"LumadexProgressBar";

class ProgressBar : public SelfDrawnWindow {
 public:
  // A child window of `parent` at `place` (pixels in the parent's client area). With a stored
  // set the bar loads it; without one it is a new instance. `hostFont` is the form's font, the
  // default of TextFont. Null when the window cannot be created.
  static std::unique_ptr<ProgressBar> Create(HWND parent, int id, const RECT& place, const std::wstring& name,
                                             const PropertyBag* stored, const StoredFont& hostFont);
  // The properties; every change through here redraws the bar.
  ProgressBarModel& Properties() { return model_; }
  const ProgressBarModel& Properties() const { return model_; }
  void WriteProperties(PropertyBag& bag) const { model_.WriteProperties(bag, hostFont_); }
  // Told the name of every property that changes, as a form designer would be.
  void SetPropertyChanged(std::function<void(std::wstring_view)> handler) { propertyChanged_ = std::move(handler); }

  // Value in per cent, as the main window sets it; values outside the range are stored as its
  // nearest end.
  int Value() const { return model_.Value(); }
  void SetValue(int value) { model_.SetValue(value); }

  // The drawing routines the bar is made of, for any device context. Direction 0 runs left to
  // right, 1 top to bottom; right and bottom are the far corner.
  static void GradientTwoColour(HDC dc, int direction, Colour start, Colour end, int left, int top, int right,
                                int bottom);
  // Blends four corner colours over width x height pixels at (left, top).
  static void DrawGradientFourColour(HDC dc, int left, int top, int width, int height, Colour topLeft,
                                     Colour topRight, Colour bottomLeft, Colour bottomRight);
  // Plain value of a colour: a system colour (top bit set) becomes the current system colour;
  // a value naming no colour gives kColourInvalid.
  static Colour TranslateColour(Colour c);

 private:
  friend class BarAccessible;
  ProgressBar(std::wstring name, const StoredFont& hostFont);
  LRESULT HandleControlMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnWindowGone() override;
  // The colour a value is drawn in: its translation, and black for a value that names no
  // colour, which is what the platform answers for a system colour it does not know.
  static Colour DrawnColour(Colour c);
  void OnPropertyChanged(std::wstring_view property);
  void PaintBar();
  // Prints the text once per print, later prints over earlier ones, on a clear background.
  static void DrawBarText(HDC dc, const std::wstring& text, const std::vector<TextPrint>& prints);
  void UpdateRegion(int width, int height);
  void UpdateFont();
  // Copies the last picture: the bar draws only after a change, not for every paint.
  void PaintTo(HDC dc) override;
  bool LooksEnabled() const;

  std::wstring name_;
  StoredFont hostFont_;
  ProgressBarModel model_;
  std::function<void(std::wstring_view)> propertyChanged_;

  Palette palette_{};  // as the last theme left it, before any greying
  DibSurface buffer_;
  Font font_;
  StoredFont fontMadeFrom_;
  // The window region is made again only when one of these changes.
  int regionWidth_ = -1, regionHeight_ = -1, regionRounding_ = -1;
  bool painting_ = false;
  // What screen readers and automation tools read of the bar, and what they were last told.
  AccessibleSlot accessible_;
  access::Announcement<std::wstring> announcedValue_;
  access::Announcement<bool> announcedEnabled_;
};

}  // namespace lumadex
