// The button's pictures, read back through WM_PRINTCLIENT and compared with pictures worked
// out here from the drawing rules (none of the program's drawing code is used for them).
#include <windows.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <cmath>

#include "controls/button/skin_button_win32.h"
#include "support/button_test_support_win32.h"
#include "support/real_input_win32.h"

namespace lumadex {
namespace {

using test::Picture;

std::uint32_t Rgb(int r, int g, int b) { return static_cast<std::uint32_t>(r | (g << 8) | (b << 16)); }
int R(std::uint32_t c) { return c & 0xFF; }
int G(std::uint32_t c) { return (c >> 8) & 0xFF; }
int B(std::uint32_t c) { return (c >> 16) & 0xFF; }
int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
std::uint32_t Shade(std::uint32_t c, int d) { return Rgb(Clamp(R(c) + d), Clamp(G(c) + d), Clamp(B(c) + d)); }
std::uint32_t Sys(int index) { return GetSysColor(index) & 0xFFFFFF; }

std::uint32_t GradientRow(std::uint32_t from, std::uint32_t to, int i, int n) {
  auto ch = [&](int f, int t) {
    return Clamp(static_cast<int>(std::nearbyint(static_cast<float>(f) + static_cast<float>(t - f) * static_cast<float>(i) /
                                                                                static_cast<float>(n))));
  };
  return Rgb(ch(R(from), R(to)), ch(G(from), G(to)), ch(B(from), B(to)));
}

// A picture drawn by the rules: lines leave out their end point; the diagonal strokes are 45°.
struct Expected {
  Picture pic;
  Expected(int w, int h, std::uint32_t fill) {
    pic.w = w, pic.h = h;
    pic.px.assign(static_cast<size_t>(w * h), fill);
  }
  void Set(int x, int y, std::uint32_t c) {
    if (x >= 0 && y >= 0 && x < pic.w && y < pic.h) pic.px[static_cast<size_t>(y * pic.w + x)] = c;
  }
  void Line(int x1, int y1, int x2, int y2, std::uint32_t c) {
    const int dx = (x2 > x1) - (x2 < x1), dy = (y2 > y1) - (y2 < y1);
    for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) Set(x, y, c);
  }
};

enum class Look { Normal, Hot, Pressed, Disabled, Focused, FocusedPressed };

// Style 8 without custom colours.
Picture Style8(int w, int h, Look look) {
  const std::uint32_t sysFace = Sys(COLOR_BTNFACE);
  const bool pressed = look == Look::Pressed || look == Look::FocusedPressed;
  const bool focused = look == Look::Focused || look == Look::FocusedPressed;
  const std::uint32_t face = look == Look::Normal || look == Look::Focused ? sysFace : Shade(sysFace, 15);
  Expected e(w, h, face);
  const int n = h - 6;
  for (int i = 0; i <= n; ++i) {
    const std::uint32_t c = pressed ? GradientRow(Shade(face, -15), Shade(face, 15), i, n)
                                    : GradientRow(Shade(face, 15), Shade(face, -15), i, n);
    e.Line(2, 2 + i, w - 3, 2 + i, c);
  }
  e.Line(2, 1, w - 3, 1, pressed ? face : Shade(face, 96));
  e.Line(1, 2, 1, h - 3, pressed ? face : Shade(face, 96));
  e.Line(2, h - 3, w - 2, h - 3, pressed ? Shade(face, 96) : face);
  const std::uint32_t frame = Shade(sysFace, !pressed && focused ? -96 : -48);
  e.Line(2, 0, w - 3, 0, frame);
  e.Line(0, 2, 0, h - 3, frame);
  e.Line(2, h - 2, w - 3, h - 2, frame);
  e.Line(w - 2, 2, w - 2, h - 3, frame);
  e.Set(1, 1, frame), e.Set(1, h - 3, frame), e.Set(w - 3, 1, frame), e.Set(w - 3, h - 3, frame);
  const std::uint32_t shadow = Shade(frame, 21);
  e.Line(3, h - 1, w - 4, h - 1, shadow);
  e.Line(w - 1, 3, w - 1, h - 4, shadow);
  e.Line(w - 4, h - 1, w, h - 5, shadow);
  e.Line(w - 3, h - 1, w, h - 4, Shade(shadow, 15));
  return e.pic;
}

::testing::AssertionResult SamePicture(const Picture& got, const Picture& want, RECT masked = {0, 0, 0, 0}) {
  if (got.w != want.w || got.h != want.h) {
    return ::testing::AssertionFailure() << "size " << got.w << "x" << got.h << " want " << want.w << "x" << want.h;
  }
  int bad = 0;
  std::string first;
  for (int y = 0; y < got.h; ++y) {
    for (int x = 0; x < got.w; ++x) {
      const POINT p{x, y};
      if (PtInRect(&masked, p)) continue;
      if (got.at(x, y) != want.at(x, y)) {
        if (bad++ == 0) {
          char buf[96];
          snprintf(buf, sizeof buf, "(%d,%d) got %06X want %06X", x, y, got.at(x, y), want.at(x, y));
          first = buf;
        }
      }
    }
  }
  if (bad) return ::testing::AssertionFailure() << bad << " pixels differ, first " << first;
  return ::testing::AssertionSuccess();
}

class ButtonPaint : public testing::Test {
 protected:
  ButtonPaint() { test::input::MoveTo(POINT{5, 5}); }
  std::unique_ptr<SkinButton> Make(std::int32_t style, int w, int h, const std::wstring& caption = L"") {
    PropertyBag bag;
    bag.Write(L"Style", std::int64_t{style});
    bag.Write(L"Caption", caption);
    bag.Write(L"Font", StoredFont{L"宋体", 9, 400});
    bag.Write(L"iNonThemeStyle", std::int64_t{8});
    auto b = SkinButton::Load(host_.get(), 1, 30, 30, w, h, bag);
    test::input::Settle(20);
    return b;
  }
  // Brings a button into a look through its own messages.
  static void Into(SkinButton& b, Look look) {
    HWND w = b.hwnd();
    switch (look) {
      case Look::Normal:
        break;
      case Look::Hot:
        SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        break;
      case Look::Pressed:
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SetFocus(nullptr);
        break;
      case Look::Disabled:
        b.SetEnabled(false);
        break;
      case Look::Focused:
        SetFocus(w);
        break;
      case Look::FocusedPressed:
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        break;
    }
  }
  test::ButtonHost host_;
};

TEST_F(ButtonPaint, Style8AtTheMainWindowSizesAndAnotherInEveryLook) {
  const SIZE sizes[] = {{57, 25}, {57, 47}, {90, 33}};
  const std::pair<Look, const char*> looks[] = {{Look::Normal, "normal"},   {Look::Hot, "hot"},
                                                {Look::Pressed, "pressed"}, {Look::Disabled, "disabled"},
                                                {Look::Focused, "focused"}, {Look::FocusedPressed, "focused pressed"}};
  for (const SIZE& s : sizes) {
    for (const auto& [look, name] : looks) {
      SCOPED_TRACE(testing::Message() << s.cx << "x" << s.cy << " " << name);
      auto b = Make(8, s.cx, s.cy);
      ASSERT_TRUE(b);
      Into(*b, look);
      EXPECT_TRUE(SamePicture(test::PrintClient(b->hwnd()), Style8(s.cx, s.cy, look)));
      ReleaseCapture();
    }
  }
}

TEST_F(ButtonPaint, Style8EdgeCasesSpelledOut) {
  auto b = Make(8, 57, 25);
  const Picture p = test::PrintClient(b->hwnd());
  const std::uint32_t face = Sys(COLOR_BTNFACE);
  // Gradient rows 2 … 21, columns 2 … 53.
  EXPECT_EQ(p.at(2, 2), Shade(face, 15));
  EXPECT_EQ(p.at(53, 21), Shade(face, -15));
  EXPECT_EQ(p.at(54, 21), face);
  EXPECT_EQ(p.at(55, 21), Shade(face, -48));  // the right frame line, column W − 2
  EXPECT_EQ(p.at(20, 23), Shade(face, -48));  // frame bottom, row 23
  EXPECT_EQ(p.at(20, 24), Shade(Shade(face, -48), 21));  // shadow, row 24
  for (const POINT c : {POINT{1, 1}, POINT{1, 22}, POINT{54, 1}, POINT{54, 22}}) {
    EXPECT_EQ(p.at(c.x, c.y), Shade(face, -48)) << c.x << "," << c.y;
  }
}

TEST_F(ButtonPaint, CaptionIsDrawnInsideItsRectangleInTheStateColour) {
  for (Look look : {Look::Normal, Look::Disabled}) {
    auto b = Make(8, 57, 25, L"下 载");
    Into(*b, look);
    const Picture got = test::PrintClient(b->hwnd());
    const Picture plain = Style8(57, 25, look);
    // Glyphs are the substituted font's: outside the caption rectangle everything is exact.
    EXPECT_TRUE(SamePicture(got, plain, RECT{4, 4, 53, 21}));
    const std::uint32_t text = Sys(look == Look::Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    int glyph = 0, inText = 0;
    for (int y = 4; y < 21; ++y) {
      for (int x = 4; x < 53; ++x) {
        if (got.at(x, y) != plain.at(x, y)) ++glyph;
        if (got.at(x, y) == text) ++inText;
      }
    }
    EXPECT_GT(glyph, 20);
    EXPECT_GT(inText, 0);
  }
}

HRGN ExpectedRegion(int style, int w, int h) {
  auto poly = [](std::vector<POINT> pts) { return CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()), ALTERNATE); };
  switch (style) {
    case 5:
    case 7:
      return poly({{0, 1}, {1, 0}, {w - 1, 0}, {w, 1}, {w, h - 2}, {w - 2, h}, {2, h}, {0, h - 2}});
    case 8:
    case 9:
      return poly({{0, 2}, {2, 0}, {w - 3, 0}, {w, 3}, {w, h - 3}, {w - 3, h}, {4, h}, {0, h - 4}});
    case 10:
      return CreateRoundRectRgn(0, 0, w + 1, h + 1, 18, 18);
    default:
      return CreateRectRgn(0, 0, w, h);
  }
}

TEST_F(ButtonPaint, EveryStyleCutsItsOutline) {
  for (int style = 0; style <= 10; ++style) {
    SCOPED_TRACE(style);
    auto b = Make(style, 61, 29);
    if (style == 6 && b->ThemeFailed()) {
      test::input::Settle(50);  // the fallback outline is made after the failed paint
    }
    const int expectedStyle = style == 6 && b->ThemeFailed() ? 8 : style;
    HRGN got = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(b->hwnd(), got), ERROR);
    HRGN want = ExpectedRegion(expectedStyle, 61, 29);
    // Only the part over the window counts (the rounded outline reaches one pixel beyond it).
    HRGN window = CreateRectRgn(0, 0, 61, 29);
    CombineRgn(got, got, window, RGN_AND);
    CombineRgn(want, want, window, RGN_AND);
    DeleteObject(window);
    EXPECT_TRUE(EqualRgn(got, want));
    DeleteObject(got);
    DeleteObject(want);
  }
}

TEST_F(ButtonPaint, ThemeFailureFallsBackWithoutLosingTheStoredStyle) {
  auto b = Make(6, 61, 29);
  // Without visual styles for this window the theme data cannot be had.
  SetWindowTheme(b->hwnd(), L" ", L" ");
  b->Refresh();
  test::input::Settle(50);  // the fallback outline is made after the failed paint
  ASSERT_TRUE(b->ThemeFailed());
  PropertyBag saved;
  b->Save(saved);
  EXPECT_EQ(saved.ReadInt(L"Style", -1), 6);
  EXPECT_EQ(b->Properties().Style, 6);
  // Drawn from now on as the fallback style (8 here), with its outline.
  EXPECT_TRUE(SamePicture(test::PrintClient(b->hwnd()), Style8(61, 29, Look::Normal)));
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(b->hwnd(), got), ERROR);
  HRGN want = ExpectedRegion(8, 61, 29);
  EXPECT_TRUE(EqualRgn(got, want));
  DeleteObject(got);
  DeleteObject(want);
}

TEST_F(ButtonPaint, ClassicEdgesAndFocusRectangle) {
  auto b = Make(0, 60, 30);
  Picture p = test::PrintClient(b->hwnd());
  EXPECT_EQ(p.at(59, 29), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(p.at(30, 15), Sys(COLOR_BTNFACE));
  Into(*b, Look::Pressed);
  p = test::PrintClient(b->hwnd());
  EXPECT_EQ(p.at(0, 0), Sys(COLOR_3DSHADOW));
  ReleaseCapture();

  PropertyBag bag;
  bag.Write(L"Style", std::int64_t{0});
  bag.Write(L"Caption", std::wstring());
  bag.Write(L"ShowFocus", true);
  auto f = SkinButton::Load(host_.get(), 2, 100, 30, 60, 30, bag);
  SetFocus(f->hwnd());
  p = test::PrintClient(f->hwnd());
  for (int x = 0; x < 60; ++x) EXPECT_EQ(p.at(x, 0), 0u) << x;
  for (int y = 0; y < 30; ++y) EXPECT_EQ(p.at(59, y), 0u) << y;
  f->SetDisplayAsDefault(true);  // with the focus the default look is the focus rectangle's
  SetFocus(nullptr);
  p = test::PrintClient(f->hwnd());
  EXPECT_EQ(p.at(30, 29), 0u);
}

TEST_F(ButtonPaint, ShadedHighlightAndGlassKeepTheirColourRules) {
  const std::uint32_t face = Sys(COLOR_BTNFACE), shadow = Sys(COLOR_BTNSHADOW), window = Sys(COLOR_WINDOW);
  auto tint = [](std::uint32_t c, int t) {
    auto ch = [t](int v) { return std::min(255, t + (255 - t) * v / 255); };
    return Rgb(ch(R(c)), ch(G(c)), ch(B(c)));
  };
  auto shaded = Make(3, 60, 30);
  Picture p = test::PrintClient(shaded->hwnd());
  EXPECT_EQ(p.at(0, 0), shadow);
  EXPECT_EQ(p.at(59, 29), window);
  EXPECT_EQ(p.at(0, 29), face);
  EXPECT_EQ(p.at(30, 15), face);

  auto high = Make(4, 60, 30);
  p = test::PrintClient(high->hwnd());
  EXPECT_EQ(p.at(30, 15), tint(face, 32));
  EXPECT_EQ(p.at(0, 0), face);
  Into(*high, Look::Hot);
  p = test::PrintClient(high->hwnd());
  EXPECT_EQ(p.at(30, 15), tint(Sys(COLOR_HIGHLIGHT), 176));
  EXPECT_EQ(p.at(59, 29), Sys(COLOR_HIGHLIGHT));

  auto glass = Make(7, 60, 30);
  p = test::PrintClient(glass->hwnd());
  EXPECT_EQ(p.at(0, 15), Shade(Shade(face, 8), -96));
  EXPECT_EQ(p.at(1, 0), Shade(face, -21));
  EXPECT_EQ(p.at(30, 1), Shade(face, 21));
}

TEST_F(ButtonPaint, EveryStyleDrawsItsStatesApart) {
  for (int style : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10}) {
    SCOPED_TRACE(style);
    auto b = Make(style, 60, 30);
    const Picture normal = test::PrintClient(b->hwnd());
    Into(*b, Look::Pressed);
    const Picture pressed = test::PrintClient(b->hwnd());
    ReleaseCapture();
    EXPECT_FALSE(normal == pressed);
  }
  // An unknown style draws no pattern at all.
  auto odd = Make(42, 60, 30);
  const Picture p = test::PrintClient(odd->hwnd());
  for (std::uint32_t c : p.px) ASSERT_EQ(c, Sys(COLOR_BTNFACE));
}

TEST_F(ButtonPaint, DesignedFormsDrawHotAndCheckedButtonsDrawPressed) {
  auto b = Make(8, 57, 25);
  b->SetUserMode(false);
  EXPECT_TRUE(SamePicture(test::PrintClient(b->hwnd()), Style8(57, 25, Look::Hot)));
  b->SetUserMode(true);
  b->Change(L"ButtonType", [](button::ButtonProperties& p) { p.ButtonType = button::kCheckButton; });
  b->SetValue(true);
  EXPECT_TRUE(SamePicture(test::PrintClient(b->hwnd()), Style8(57, 25, Look::Pressed)));
}

TEST_F(ButtonPaint, CustomColoursNamingSystemColoursAreTranslatedFirst) {
  auto b = Make(8, 57, 25);
  b->Change(L"BackColor", [](button::ButtonProperties& p) {
    p.UseCustomColors = true;
    p.BackColor = 0x8000000F;  // the button face, by its system index
  });
  EXPECT_TRUE(SamePicture(test::PrintClient(b->hwnd()), Style8(57, 25, Look::Normal)));
}

TEST_F(ButtonPaint, HighlightStyleIconCastsAGreyShadowWhenHot) {
  PropertyBag bag;
  bag.Write(L"Style", std::int64_t{4});
  bag.Write(L"Caption", std::wstring());
  bag.Write(L"IconAlign", std::int64_t{0});
  bag.Write(L"Icon", StoredPicture{test::IconFile(16, [](int, int) { return Rgb(255, 0, 0); })});
  auto b = SkinButton::Load(host_.get(), 1, 30, 30, 56, 26, bag);
  Into(*b, Look::Hot);
  const Picture p = test::PrintClient(b->hwnd());
  const std::uint32_t highlight = Sys(COLOR_HIGHLIGHT);
  auto tint = [](std::uint32_t c, int t) {
    auto ch = [t](int v) { return std::min(255, t + (255 - t) * v / 255); };
    return Rgb(ch(R(c)), ch(G(c)), ch(B(c)));
  };
  // The icon's place is (20, 5); the shadow stays there, the icon moves up and left by 2.
  EXPECT_EQ(p.at(17, 3), tint(highlight, 176));
  EXPECT_EQ(p.at(18, 3), Rgb(255, 0, 0));
  EXPECT_EQ(p.at(33, 18), Rgb(255, 0, 0));
  EXPECT_EQ(p.at(34, 5), 0x808080u);
  EXPECT_EQ(p.at(35, 20), 0x808080u);
  EXPECT_EQ(p.at(36, 21), tint(highlight, 176));
  EXPECT_EQ(p.at(0, 0), highlight);
}

TEST_F(ButtonPaint, IconsInColourGreyAndWithTheMaskColour) {
  // Column 0 grey 0x909090, column 1 red, column 2 grey 0x808080, column 3 the mask colour (green).
  auto colour = [](int x, int) -> std::uint32_t {
    switch (x % 4) {
      case 0: return 0x909090;
      case 1: return Rgb(255, 0, 0);
      case 2: return 0x808080;
      default: return Rgb(0, 255, 0);
    }
  };
  const std::vector<std::uint8_t> file = test::IconFile(16, colour);
  for (int variant = 0; variant < 4; ++variant) {
    const bool masked = variant >= 2, disabled = variant % 2 == 1;
    SCOPED_TRACE(testing::Message() << "masked " << masked << " disabled " << disabled);
    PropertyBag bag;
    bag.Write(L"Style", std::int64_t{8});
    bag.Write(L"Caption", std::wstring());
    bag.Write(L"IconAlign", std::int64_t{0});
    bag.Write(L"Icon", StoredPicture{file});
    bag.Write(L"UseMaskColor", masked);
    bag.Write(L"MaskColor", std::int64_t{Rgb(0, 255, 0)});
    bag.Write(L"Enabled", !disabled);
    auto b = SkinButton::Load(host_.get(), 1, 30, 30, 56, 26, bag);
    const Picture p = test::PrintClient(b->hwnd());
    const Picture plain = Style8(56, 26, disabled ? Look::Disabled : Look::Normal);
    // Centred: ((56 − 16) / 2, (26 − 16) / 2).
    const int x0 = 20, y0 = 5;
    EXPECT_TRUE(SamePicture(p, plain, RECT{x0, y0, x0 + 16, y0 + 16}));
    const std::uint32_t grey90 = disabled ? (masked ? Rgb(144, 144, 144) : Rgb(148, 148, 148)) : 0x909090;
    const std::uint32_t red = disabled ? (masked ? Rgb(85, 85, 85) : Rgb(84, 84, 84)) : Rgb(255, 0, 0);
    EXPECT_EQ(p.at(x0, y0 + 3), grey90);
    EXPECT_EQ(p.at(x0 + 1, y0 + 3), red);
    EXPECT_EQ(p.at(x0 + 2, y0 + 3), 0x808080u);
    // 0.59 × 255 = 150.45 in the grey icon
    EXPECT_EQ(p.at(x0 + 3, y0 + 3), masked ? plain.at(x0 + 3, y0 + 3) : disabled ? Rgb(150, 150, 150) : Rgb(0, 255, 0));
  }
}

}  // namespace
}  // namespace lumadex
