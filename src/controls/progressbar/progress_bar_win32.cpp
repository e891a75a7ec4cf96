#include "controls/progressbar/progress_bar_win32.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "controls/host/window_text_win32.h"
#include "controls/progressbar/bar_accessible_win32.h"
#include "controls/progressbar/progress_access.h"
#include "winmsg/font_win32.h"
#include "winmsg/gdi_win32.h"
#include "winmsg/system_colour_win32.h"

namespace lumadex {
namespace {

COLOR16 Channel16(int channel) { return static_cast<COLOR16>(channel << 8); }

TRIVERTEX Vertex(int x, int y, Colour c) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = Channel16(RedOf(c));
  v.Green = Channel16(GreenOf(c));
  v.Blue = Channel16(BlueOf(c));
  v.Alpha = 0;
  return v;
}

}  // namespace

Colour ProgressBar::TranslateColour(Colour c) { return TranslateColor(c); }

Colour ProgressBar::DrawnColour(Colour c) {
  const Colour plain = TranslateColour(c);
  return plain == kColourInvalid ? 0 : plain;
}

void ProgressBar::GradientTwoColour(HDC dc, int direction, Colour start, Colour end, int left, int top, int right,
                                    int bottom) {
  if (!dc || right <= left || bottom <= top) return;
  TRIVERTEX vertices[2] = {Vertex(left, top, DrawnColour(start)), Vertex(right, bottom, DrawnColour(end))};
  GRADIENT_RECT rect{0, 1};
  GradientFill(dc, vertices, 2, &rect, 1, direction == 0 ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

void ProgressBar::DrawGradientFourColour(HDC dc, int left, int top, int width, int height, Colour topLeft,
                                         Colour topRight, Colour bottomLeft, Colour bottomRight) {
  if (!dc || width <= 0 || height <= 0) return;
  const std::vector<Channels> leftEdge =
      BuildColourRamp(height, ChannelsOf(DrawnColour(topLeft)), ChannelsOf(DrawnColour(bottomLeft)));
  const std::vector<Channels> rightEdge =
      BuildColourRamp(height, ChannelsOf(DrawnColour(topRight)), ChannelsOf(DrawnColour(bottomRight)));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<BYTE> row(stride, 0);
  for (int r = 0; r < height; ++r) {
    const std::vector<Channels> ramp = BuildColourRamp(width, leftEdge[static_cast<size_t>(r)],
                                                       rightEdge[static_cast<size_t>(r)]);
    for (int i = 0; i < width; ++i) std::copy(ramp[static_cast<size_t>(i)].begin(), ramp[static_cast<size_t>(i)].end(),
                                              row.begin() + static_cast<std::ptrdiff_t>(i) * 3);
    SetDIBitsToDevice(dc, left, top + r, static_cast<DWORD>(width), 1, 0, 0, 0, 1, row.data(), &info,
                      DIB_RGB_COLORS);
  }
}

ProgressBar::ProgressBar(std::wstring name, const StoredFont& hostFont) : name_(std::move(name)), hostFont_(hostFont) {}

std::unique_ptr<ProgressBar> ProgressBar::Create(HWND parent, int id, const RECT& place, const std::wstring& name,
                                                 const PropertyBag* stored, const StoredFont& hostFont) {
  std::unique_ptr<ProgressBar> bar(new ProgressBar(name, hostFont));
  // Loaded before the window exists, so that the first size draws the loaded bar once
  // instead of once per property.
  if (stored) {
    bar->model_.ReadProperties(*stored, name, hostFont);
  } else {
    bar->model_.InitNew(hostFont);
  }
  bar->model_.SetChangeHandler([raw = bar.get()](std::wstring_view property) { raw->OnPropertyChanged(property); });
  WindowClass windowClass;
  windowClass.name = kProgressBarClass;
  if (!bar->CreateWindowFor(windowClass, 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return nullptr;
  }
  return bar;
}

void ProgressBar::OnWindowGone() {
  accessible_.Release();
  buffer_ = DibSurface();
  font_.reset();
}

LRESULT ProgressBar::HandleControlMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
    case WM_ENABLE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      PaintBar();
      return 0;
    case WM_SETFONT:
      // The text's font is the TextFont property; the form's font is only its default.
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
    case WM_GETOBJECT:
      if (auto answer = accessible_.Answer(wp, lp, [this] { return new BarAccessible(*this); })) return *answer;
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

void ProgressBar::OnPropertyChanged(std::wstring_view property) {
  if (propertyChanged_) propertyChanged_(property);
  PaintBar();
}

void ProgressBar::PaintTo(HDC dc) {
  if (!buffer_) return;
  BitBlt(dc, 0, 0, buffer_.width(), buffer_.height(), buffer_.dc(), 0, 0, SRCCOPY);
}

bool ProgressBar::LooksEnabled() const {
  if (!model_.Enabled()) return false;
  // A disabled box around the bar greys it too; the top-level window being disabled (a
  // message box is up) does not.
  for (HWND w = hwnd(); w && (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD); w = GetParent(w)) {
    if (!IsWindowEnabled(w)) return false;
  }
  return true;
}

void ProgressBar::UpdateRegion(int width, int height) {
  const int rounding = model_.RoundedValue();
  if (width == regionWidth_ && height == regionHeight_ && rounding == regionRounding_) return;
  Region region(CreateRoundRectRgn(0, 0, width, height, rounding, rounding));
  if (!region) return;
  // Once set, the region is the window's to delete; a refused one stays ours and goes here.
  if (SetWindowRgn(hwnd(), region.get(), TRUE)) {
    region.release();
    regionWidth_ = width;
    regionHeight_ = height;
    regionRounding_ = rounding;
  }
}

void ProgressBar::UpdateFont() {
  if (font_ && fontMadeFrom_ == model_.TextFont()) return;
  Font font = CreateFontOf(model_.TextFont(), PointRounding::Exact);
  if (!font) return;
  font_ = std::move(font);
  fontMadeFrom_ = model_.TextFont();
}

void ProgressBar::DrawBarText(HDC dc, const std::wstring& text, const std::vector<TextPrint>& prints) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = GetTextColor(dc);
  for (const TextPrint& print : prints) {
    SetTextColor(dc, print.colour);
    TextOutW(dc, print.x, print.y, text.c_str(), static_cast<int>(text.size()));
  }
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

void ProgressBar::PaintBar() {
  if (!hwnd() || painting_) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  painting_ = true;

  UpdateRegion(width, height);
  palette_ = ApplyTheme(palette_, model_, DrawnColour);
  if (!buffer_ || buffer_.width() != width || buffer_.height() != height) {
    buffer_ = DibSurface();  // the old picture goes before the new one is made
    buffer_ = DibSurface(width, height);
  }
  UpdateFont();
  const std::optional<std::wstring> text = BarText(model_);
  if (buffer_) {
    const HDC dc = buffer_.dc();
    // Without a font of its own (the platform refused it) the text comes in the context's.
    std::optional<ScopedSelect> font;
    if (font_) font.emplace(dc, font_.get());
    SIZE extent{};
    if (text) GetTextExtentPoint32W(dc, text->c_str(), static_cast<int>(text->size()), &extent);
    const BarPicture picture =
        PlanBar(model_, BarLook{palette_, LooksEnabled()}, width, height, extent.cx, extent.cy, DrawnColour);

    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    for (const GradientBand& band : picture.bands) {
      GradientTwoColour(dc, band.topToBottom ? 1 : 0, band.from, band.to, band.left, band.top, band.right,
                        band.bottom);
    }
    if (const Pen pen(CreatePen(PS_SOLID, 1, picture.border)); pen) {
      const ScopedSelect outline(dc, pen.get());
      const ScopedSelect hollow(dc, GetStockObject(NULL_BRUSH));
      RoundRect(dc, 0, 0, width - 1, height - 1, model_.RoundedValue(), model_.RoundedValue());
    }
    if (text) DrawBarText(dc, *text, picture.prints);
  }
  // Screen readers read the bar's text as the window's.
  const std::wstring shown = text.value_or(std::wstring());
  if (GetText(hwnd()) != shown) SetWindowTextW(hwnd(), shown.c_str());
  // A value set again, as the progress timer does, is no news; a new percentage is.
  if (announcedValue_.Update(AccessValueText(model_))) NotifyClientEvent(hwnd(), EVENT_OBJECT_VALUECHANGE);
  if (announcedEnabled_.Update(LooksEnabled())) NotifyClientEvent(hwnd(), EVENT_OBJECT_STATECHANGE);
  InvalidateRect(hwnd(), nullptr, FALSE);
  painting_ = false;
}

}  // namespace lumadex
