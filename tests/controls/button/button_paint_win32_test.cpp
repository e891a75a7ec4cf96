// The button's pictures, read back through WM_PRINTCLIENT and compared with pictures worked
// out here from the drawing rules (none of the program's drawing code is used for them).
#include <windows.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <cmath>

#include "controls/button/about_layout.h"
#include "controls/button/skin_button_win32.h"
#include "support/control_test_support_win32.h"
#include "support/gdi_count_win32.h"
#include "support/picture_files.h"
#include "support/real_input_win32.h"

namespace lumadex {
namespace {

using test::Picture;

using test::Clamp255;

Colour Shade(Colour c, int d) { return Rgb(Clamp255(RedOf(c) + d), Clamp255(GreenOf(c) + d), Clamp255(BlueOf(c) + d)); }
Colour Sys(int index) { return GetSysColor(index) & 0xFFFFFF; }
Colour Tint(Colour c, int t) {
  auto ch = [t](int v) { return std::min(255, t + (255 - t) * v / 255); };
  return Rgb(ch(RedOf(c)), ch(GreenOf(c)), ch(BlueOf(c)));
}

Colour GradientRow(Colour from, Colour to, int i, int n) {
  auto ch = [&](int f, int t) {
    return Clamp255(static_cast<int>(std::nearbyint(static_cast<float>(f) + static_cast<float>(t - f) *
                                                                                 static_cast<float>(i) /
                                                                                 static_cast<float>(n))));
  };
  return Rgb(ch(RedOf(from), RedOf(to)), ch(GreenOf(from), GreenOf(to)), ch(BlueOf(from), BlueOf(to)));
}

// A line drawn by the rules: the end point left out; the diagonal strokes are 45°.
void Line(Picture& p, int x1, int y1, int x2, int y2, Colour c) {
  const int dx = (x2 > x1) - (x2 < x1), dy = (y2 > y1) - (y2 < y1);
  for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) p.Set(x, y, c);
}

enum class Look { Normal, Hot, Pressed, Disabled, Focused, FocusedPressed };

// Style 8 without custom colours.
// Style 8 with the face of the normal look, the face of every other look and the frame's base.
Picture Style8Faces(int w, int h, Look look, Colour normalFace, Colour otherFace, Colour frameBase) {
  const bool pressed = look == Look::Pressed || look == Look::FocusedPressed;
  const bool focused = look == Look::Focused || look == Look::FocusedPressed;
  const Colour face = look == Look::Normal || look == Look::Focused ? normalFace : otherFace;
  Picture e(w, h, face);
  const int n = h - 6;
  for (int i = 0; i <= n; ++i) {
    const Colour c = pressed ? GradientRow(Shade(face, -15), Shade(face, 15), i, n)
                                    : GradientRow(Shade(face, 15), Shade(face, -15), i, n);
    Line(e, 2, 2 + i, w - 3, 2 + i, c);
  }
  Line(e, 2, 1, w - 3, 1, pressed ? face : Shade(face, 96));
  Line(e, 1, 2, 1, h - 3, pressed ? face : Shade(face, 96));
  Line(e, 2, h - 3, w - 2, h - 3, pressed ? Shade(face, 96) : face);
  const Colour frame = Shade(frameBase, !pressed && focused ? -96 : -48);
  Line(e, 2, 0, w - 3, 0, frame);
  Line(e, 0, 2, 0, h - 3, frame);
  Line(e, 2, h - 2, w - 3, h - 2, frame);
  Line(e, w - 2, 2, w - 2, h - 3, frame);
  e.Set(1, 1, frame), e.Set(1, h - 3, frame), e.Set(w - 3, 1, frame), e.Set(w - 3, h - 3, frame);
  const Colour shadow = Shade(frame, 21);
  Line(e, 3, h - 1, w - 4, h - 1, shadow);
  Line(e, w - 1, 3, w - 1, h - 4, shadow);
  Line(e, w - 4, h - 1, w, h - 5, shadow);
  Line(e, w - 3, h - 1, w, h - 4, Shade(shadow, 15));
  return e;
}

Picture Style8(int w, int h, Look look) {
  const Colour face = Sys(COLOR_BTNFACE);
  return Style8Faces(w, h, look, face, Shade(face, 15), face);
}

::testing::AssertionResult SamePicture(const Picture& got, const Picture& want, RECT masked = {0, 0, 0, 0}) {
  if (got.width() != want.width() || got.height() != want.height()) {
    return ::testing::AssertionFailure() << "size " << got.width() << "x" << got.height() << " want " << want.width()
                                         << "x" << want.height();
  }
  int bad = 0;
  std::string first;
  for (int y = 0; y < got.height(); ++y) {
    for (int x = 0; x < got.width(); ++x) {
      const POINT p{x, y};
      if (PtInRect(&masked, p)) continue;
      if (got.At(x, y) != want.At(x, y)) {
        if (bad++ == 0) {
          char buf[96];
          snprintf(buf, sizeof buf, "(%d,%d) got %06X want %06X", x, y, got.At(x, y), want.At(x, y));
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
    auto b = SkinButton::Load(host_.hwnd(), 1, 30, 30, w, h, bag);
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
  test::TestHost host_;
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
      EXPECT_TRUE(SamePicture(Picture(b->hwnd()), Style8(s.cx, s.cy, look)));
      ReleaseCapture();
    }
  }
}

TEST_F(ButtonPaint, Style8EdgeCasesSpelledOut) {
  auto b = Make(8, 57, 25);
  const Picture p = Picture(b->hwnd());
  const Colour face = Sys(COLOR_BTNFACE);
  // Gradient rows 2 … 21, columns 2 … 53.
  EXPECT_EQ(p.At(2, 2), Shade(face, 15));
  EXPECT_EQ(p.At(53, 21), Shade(face, -15));
  EXPECT_EQ(p.At(54, 21), face);
  EXPECT_EQ(p.At(55, 21), Shade(face, -48));  // the right frame line, column W − 2
  EXPECT_EQ(p.At(20, 23), Shade(face, -48));  // frame bottom, row 23
  EXPECT_EQ(p.At(20, 24), Shade(Shade(face, -48), 21));  // shadow, row 24
  for (const POINT c : {POINT{1, 1}, POINT{1, 22}, POINT{54, 1}, POINT{54, 22}}) {
    EXPECT_EQ(p.At(c.x, c.y), Shade(face, -48)) << c.x << "," << c.y;
  }
}

TEST_F(ButtonPaint, CaptionIsDrawnInsideItsRectangleInTheStateColour) {
  for (Look look : {Look::Normal, Look::Disabled}) {
    auto b = Make(8, 57, 25, L"下 载");
    Into(*b, look);
    const Picture got = Picture(b->hwnd());
    const Picture plain = Style8(57, 25, look);
    // Glyphs are the substituted font's: outside the caption rectangle everything is exact.
    EXPECT_TRUE(SamePicture(got, plain, RECT{4, 4, 53, 21}));
    const Colour text = Sys(look == Look::Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    int glyph = 0, inText = 0;
    for (int y = 4; y < 21; ++y) {
      for (int x = 4; x < 53; ++x) {
        if (got.At(x, y) != plain.At(x, y)) ++glyph;
        if (got.At(x, y) == text) ++inText;
      }
    }
    EXPECT_GT(glyph, 20);
    EXPECT_GT(inText, 0);
  }
}

Region ExpectedRegion(int style, int w, int h) {
  auto poly = [](std::vector<POINT> pts) {
    return Region(CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()), ALTERNATE));
  };
  switch (style) {
    case 5:
    case 7:
      return poly({{0, 1}, {1, 0}, {w - 1, 0}, {w, 1}, {w, h - 2}, {w - 2, h}, {2, h}, {0, h - 2}});
    case 8:
    case 9:
      return poly({{0, 2}, {2, 0}, {w - 3, 0}, {w, 3}, {w, h - 3}, {w - 3, h}, {4, h}, {0, h - 4}});
    case 10:
      return Region(CreateRoundRectRgn(0, 0, w + 1, h + 1, 18, 18));
    default:
      return Region(CreateRectRgn(0, 0, w, h));
  }
}

// Whether a window's region is a style's outline over the window's w × h rectangle (the
// rounded outline reaches one pixel beyond it).
::testing::AssertionResult HasOutline(HWND window, int style, int w, int h) {
  const Region got = test::WindowRegionOf(window);
  if (!got) return ::testing::AssertionFailure() << "no window region";
  const Region want = ExpectedRegion(style, w, h);
  const Region area(CreateRectRgn(0, 0, w, h));
  CombineRgn(got.get(), got.get(), area.get(), RGN_AND);
  CombineRgn(want.get(), want.get(), area.get(), RGN_AND);
  if (!EqualRgn(got.get(), want.get())) return ::testing::AssertionFailure() << "not the outline of style " << style;
  return ::testing::AssertionSuccess();
}

TEST_F(ButtonPaint, EveryStyleCutsItsOutline) {
  for (int style = 0; style <= 10; ++style) {
    SCOPED_TRACE(style);
    auto b = Make(style, 61, 29);
    if (style == 6 && b->ThemeFailed()) {
      test::input::Settle(50);  // the fallback outline is made after the failed paint
    }
    const int expectedStyle = style == 6 && b->ThemeFailed() ? 8 : style;
    EXPECT_TRUE(HasOutline(b->hwnd(), expectedStyle, 61, 29));
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
  EXPECT_TRUE(SamePicture(Picture(b->hwnd()), Style8(61, 29, Look::Normal)));
  EXPECT_TRUE(HasOutline(b->hwnd(), 8, 61, 29));
}

TEST_F(ButtonPaint, ClassicEdgesAndFocusRectangle) {
  auto b = Make(0, 60, 30);
  Picture p = Picture(b->hwnd());
  EXPECT_EQ(p.At(59, 29), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(p.At(30, 15), Sys(COLOR_BTNFACE));
  Into(*b, Look::Pressed);
  p = Picture(b->hwnd());
  EXPECT_EQ(p.At(0, 0), Sys(COLOR_3DSHADOW));
  ReleaseCapture();

  PropertyBag bag;
  bag.Write(L"Style", std::int64_t{0});
  bag.Write(L"Caption", std::wstring());
  bag.Write(L"ShowFocus", true);
  auto f = SkinButton::Load(host_.hwnd(), 2, 100, 30, 60, 30, bag);
  SetFocus(f->hwnd());
  p = Picture(f->hwnd());
  for (int x = 0; x < 60; ++x) EXPECT_EQ(p.At(x, 0), 0u) << x;
  for (int y = 0; y < 30; ++y) EXPECT_EQ(p.At(59, y), 0u) << y;
  f->SetDisplayAsDefault(true);  // with the focus the default look is the focus rectangle's
  SetFocus(nullptr);
  p = Picture(f->hwnd());
  EXPECT_EQ(p.At(30, 29), 0u);
}

TEST_F(ButtonPaint, ShadedHighlightAndGlassKeepTheirColourRules) {
  const Colour face = Sys(COLOR_BTNFACE), shadow = Sys(COLOR_BTNSHADOW), window = Sys(COLOR_WINDOW);
  auto shaded = Make(3, 60, 30);
  Picture p = Picture(shaded->hwnd());
  EXPECT_EQ(p.At(0, 0), shadow);
  EXPECT_EQ(p.At(59, 29), window);
  EXPECT_EQ(p.At(0, 29), face);
  EXPECT_EQ(p.At(30, 15), face);

  auto high = Make(4, 60, 30);
  p = Picture(high->hwnd());
  EXPECT_EQ(p.At(30, 15), Tint(face, 32));
  EXPECT_EQ(p.At(0, 0), face);
  Into(*high, Look::Hot);
  p = Picture(high->hwnd());
  EXPECT_EQ(p.At(30, 15), Tint(Sys(COLOR_HIGHLIGHT), 176));
  EXPECT_EQ(p.At(59, 29), Sys(COLOR_HIGHLIGHT));

  auto glass = Make(7, 60, 30);
  p = Picture(glass->hwnd());
  EXPECT_EQ(p.At(0, 15), Shade(Shade(face, 8), -96));
  EXPECT_EQ(p.At(1, 0), Shade(face, -21));
  EXPECT_EQ(p.At(30, 1), Shade(face, 21));
}

TEST_F(ButtonPaint, EveryStyleDrawsItsStatesApart) {
  for (int style : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10}) {
    SCOPED_TRACE(style);
    auto b = Make(style, 60, 30);
    const Picture normal = Picture(b->hwnd());
    Into(*b, Look::Pressed);
    const Picture pressed = Picture(b->hwnd());
    ReleaseCapture();
    EXPECT_FALSE(normal == pressed);
  }
  // An unknown style draws no pattern at all.
  auto odd = Make(42, 60, 30);
  const Picture p = Picture(odd->hwnd());
  for (Colour c : p.pixels()) ASSERT_EQ(c, Sys(COLOR_BTNFACE));
}

TEST_F(ButtonPaint, DesignedFormsDrawHotAndCheckedButtonsDrawPressed) {
  auto b = Make(8, 57, 25);
  b->SetUserMode(false);
  EXPECT_TRUE(SamePicture(Picture(b->hwnd()), Style8(57, 25, Look::Hot)));
  b->SetUserMode(true);
  b->Change(L"ButtonType", [](button::ButtonProperties& p) { p.ButtonType = button::kCheckButton; });
  b->SetValue(true);
  EXPECT_TRUE(SamePicture(Picture(b->hwnd()), Style8(57, 25, Look::Pressed)));
}

TEST_F(ButtonPaint, CustomColoursNamingSystemColoursAreTranslatedFirst) {
  auto b = Make(8, 57, 25);
  b->Change(L"BackColor", [](button::ButtonProperties& p) {
    p.UseCustomColors = true;
    p.BackColor = 0x8000000F;  // the button face, by its system index
  });
  EXPECT_TRUE(SamePicture(Picture(b->hwnd()), Style8(57, 25, Look::Normal)));
}

// The picture kinds a button takes, made from the same pixels.
using PictureFile = std::vector<std::uint8_t> (*)(int size, const std::function<Colour(int, int)>& pixel);
std::vector<std::uint8_t> AsIcon(int size, const std::function<Colour(int, int)>& pixel) { return test::IconFile(size, pixel); }
std::vector<std::uint8_t> AsBitmap(int size, const std::function<Colour(int, int)>& pixel) {
  return test::BitmapFile(size, size, 24, pixel);
}
const std::pair<PictureFile, const char*> kPictureKinds[] = {{AsIcon, "icon"}, {AsBitmap, "bitmap"}};

PropertyBag PictureSet(std::int32_t style, const std::vector<std::uint8_t>& file) {
  PropertyBag bag;
  bag.Write(L"Style", std::int64_t{style});
  bag.Write(L"Caption", std::wstring());
  bag.Write(L"IconAlign", std::int64_t{0});
  bag.Write(L"Icon", StoredPicture{file});
  return bag;
}

TEST_F(ButtonPaint, IconAndBitmapPicturesCastAGreyShadowWhenHotInTheHighlightStyle) {
  for (const auto& [kind, name] : kPictureKinds) {
    SCOPED_TRACE(name);
    auto b = SkinButton::Load(host_.hwnd(), 1, 30, 30, 56, 26, PictureSet(4, kind(16, [](int, int) { return Rgb(255, 0, 0); })));
    ASSERT_TRUE(b->HasPicture());
    Into(*b, Look::Hot);
    const Picture p = Picture(b->hwnd());
    const Colour highlight = Sys(COLOR_HIGHLIGHT);
    // The picture's place is (20, 5); the shadow stays there, the picture moves up and left by 2.
    EXPECT_EQ(p.At(17, 3), Tint(highlight, 176));
    EXPECT_EQ(p.At(18, 3), Rgb(255, 0, 0));
    EXPECT_EQ(p.At(33, 18), Rgb(255, 0, 0));
    EXPECT_EQ(p.At(34, 5), 0x808080u);
    EXPECT_EQ(p.At(35, 20), 0x808080u);
    EXPECT_EQ(p.At(36, 21), Tint(highlight, 176));
    EXPECT_EQ(p.At(0, 0), highlight);
  }
}

TEST_F(ButtonPaint, IconAndBitmapPicturesInColourGreyPressedAndWithTheMaskColour) {
  // Column 0 grey 0x909090, column 1 red, column 2 grey 0x808080, column 3 the mask colour (green).
  auto colour = [](int x, int) -> Colour {
    switch (x % 4) {
      case 0: return 0x909090;
      case 1: return Rgb(255, 0, 0);
      case 2: return 0x808080;
      default: return Rgb(0, 255, 0);
    }
  };
  for (const auto& [kind, name] : kPictureKinds) {
    for (int variant = 0; variant < 6; ++variant) {
      const bool masked = variant % 3 == 1, disabled = variant % 3 == 2, pressed = variant >= 3;
      SCOPED_TRACE(testing::Message() << name << " masked " << masked << " disabled " << disabled << " pressed " << pressed);
      PropertyBag bag = PictureSet(8, kind(16, colour));
      bag.Write(L"UseMaskColor", masked);
      bag.Write(L"MaskColor", std::int64_t{Rgb(0, 255, 0)});
      bag.Write(L"Enabled", !disabled);
      auto b = SkinButton::Load(host_.hwnd(), 1, 30, 30, 56, 26, bag);
      if (pressed && !disabled) Into(*b, Look::Pressed);
      const Picture p = Picture(b->hwnd());
      ReleaseCapture();
      const Look look = disabled ? Look::Disabled : pressed ? Look::Pressed : Look::Normal;
      const Picture plain = Style8(56, 26, look);
      // Centred: ((56 − 16) / 2, (26 − 16) / 2), one down and right while pressed.
      const int x0 = look == Look::Pressed ? 21 : 20, y0 = look == Look::Pressed ? 6 : 5;
      EXPECT_TRUE(SamePicture(p, plain, RECT{x0, y0, x0 + 16, y0 + 16}));
      const Colour grey90 = disabled ? (masked ? Rgb(144, 144, 144) : Rgb(148, 148, 148)) : 0x909090;
      const Colour red = disabled ? (masked ? Rgb(85, 85, 85) : Rgb(84, 84, 84)) : Rgb(255, 0, 0);
      EXPECT_EQ(p.At(x0, y0 + 3), grey90);
      EXPECT_EQ(p.At(x0 + 1, y0 + 3), red);
      EXPECT_EQ(p.At(x0 + 2, y0 + 3), 0x808080u);
      // 0.59 × 255 = 150.45 in the grey form
      EXPECT_EQ(p.At(x0 + 3, y0 + 3), masked ? plain.At(x0 + 3, y0 + 3) : disabled ? Rgb(150, 150, 150) : Rgb(0, 255, 0));
    }
  }
}

TEST_F(ButtonPaint, BitmapPicturesOfAnotherSizeAreDrawnIconSizeSquare) {
  // 8 × 8 in two-pixel stripes across: drawn 16 × 16, every pixel doubled.
  const auto file = test::BitmapFile(8, 8, 32, [](int x, int) { return x % 2 ? Rgb(0, 0, 255) : Rgb(255, 255, 0); });
  auto b = SkinButton::Load(host_.hwnd(), 1, 30, 30, 56, 26, PictureSet(8, file));
  const Picture p = Picture(b->hwnd());
  EXPECT_TRUE(SamePicture(p, Style8(56, 26, Look::Normal), RECT{20, 5, 36, 21}));
  for (int x = 0; x < 16; ++x) EXPECT_EQ(p.At(20 + x, 12), (x / 2) % 2 ? Rgb(0, 0, 255) : Rgb(255, 255, 0)) << x;
}

TEST_F(ButtonPaint, APictureThatIsNeitherIconNorBitmapIsRefusedAndTheOldOneStays) {
  const auto red = AsBitmap(16, [](int, int) { return Rgb(255, 0, 0); });
  auto b = SkinButton::Load(host_.hwnd(), 1, 30, 30, 56, 26, PictureSet(8, red));
  const Picture before = Picture(b->hwnd());
  EXPECT_EQ(before.At(25, 10), Rgb(255, 0, 0));
  std::vector<const wchar_t*> changes;
  b->SetOnPropertyChanged([&](const wchar_t* name) { changes.push_back(name); });
  const std::string text = "GIF89a, or any other file";
  for (const StoredPicture& bad : {StoredPicture{std::vector<std::uint8_t>(text.begin(), text.end())},
                                   StoredPicture{std::vector<std::uint8_t>(red.begin(), red.begin() + 60)}}) {
    EXPECT_FALSE(b->SetIcon(bad));
    EXPECT_EQ(b->Properties().Icon.bytes, red);
    EXPECT_TRUE(Picture(b->hwnd()) == before);
  }
  EXPECT_TRUE(changes.empty());
  // No picture at all is a picture too: nothing is drawn.
  EXPECT_TRUE(b->SetIcon(StoredPicture{}));
  EXPECT_FALSE(b->HasPicture());
  EXPECT_TRUE(SamePicture(Picture(b->hwnd()), Style8(56, 26, Look::Normal)));
  // A stored set holding such bytes loads without a picture and keeps the bytes for saving.
  auto loaded = SkinButton::Load(host_.hwnd(), 2, 30, 70, 56, 26,
                                 PictureSet(8, std::vector<std::uint8_t>(text.begin(), text.end())));
  ASSERT_TRUE(loaded);
  EXPECT_FALSE(loaded->HasPicture());
  PropertyBag saved;
  loaded->Save(saved);
  EXPECT_EQ(saved.ReadPicture(L"Icon").bytes, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// The About window's Close button as it is drawn, cut out of the window's picture.
Picture CloseButtonOf(const Picture& about) {
  const button::AboutLayout l = button::LayOutAbout(about.width(), about.height());
  Picture close(l.close.right - l.close.left, l.close.bottom - l.close.top, 0);
  for (int y = 0; y < close.height(); ++y)
    for (int x = 0; x < close.width(); ++x) close.Set(x, y, about.At(l.close.left + x, l.close.top + y));
  return close;
}

int CountOf(const Picture& p, Colour c) {
  return static_cast<int>(std::count(p.pixels().begin(), p.pixels().end(), c));
}

TEST_F(ButtonPaint, AboutShowsATopmostWindowOfItsOwnThatAClickHides) {
  auto b = Make(8, 57, 25, L"x");
  HWND about = b->AboutWindowHandle();
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(IsWindowVisible(about));
  EXPECT_EQ(GetParent(about), b->hwnd());
  const LONG_PTR created = GetWindowLongPtrW(about, GWL_STYLE);
  EXPECT_EQ(created & (WS_CHILD | WS_VISIBLE), WS_CHILD);
  b->About();
  test::input::Settle(50);
  EXPECT_TRUE(IsWindowVisible(about));
  EXPECT_EQ(GetAncestor(about, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetWindow(about, GW_OWNER), host_.hwnd());
  EXPECT_EQ(GetWindowLongPtrW(about, GWL_STYLE) & ~WS_VISIBLE, ((created & ~WS_CHILD) | WS_POPUP) + 0xC60000);
  EXPECT_TRUE(GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_TOPMOST);
  wchar_t title[64] = {};
  GetWindowTextW(about, title, 64);
  EXPECT_STREQ(title, L"About SkinButton 3.4.0");

  const Colour face = Sys(COLOR_BTNFACE);
  const Picture shown(about);
  EXPECT_EQ(shown.width(), button::kAboutWidth);
  EXPECT_EQ(shown.height(), button::kAboutHeight);
  // The Close button in the gradient style; its glyphs are the substituted font's.
  const Picture close = CloseButtonOf(shown);
  const Picture closePlain = Style8(close.width(), close.height(), Look::Normal);
  EXPECT_TRUE(SamePicture(close, closePlain, RECT{4, 4, close.width() - 4, close.height() - 4}));
  EXPECT_GT(test::Difference(close, closePlain).right - test::Difference(close, closePlain).left, 15);
  // Four lines of text, the link among them in blue, on the face.
  const button::AboutLayout l = button::LayOutAbout(shown.width(), shown.height());
  for (const button::Rect& r : {l.name, l.version, l.credit, l.link}) {
    int ink = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) ink += shown.At(x, y) != face;
    EXPECT_GT(ink, 20) << r.top;
  }
  EXPECT_GT(CountOf(shown, Rgb(0, 0, 255)), 20);
  EXPECT_EQ(shown.At(shown.width() - 3, 3), face);

  // A press draws Close pressed: face − 15 to face + 15 from top to bottom in a shadow frame,
  // its text blue and underlined.
  test::input::MoveTo(test::input::CentreOf(about));
  test::input::LeftDown();
  ASSERT_TRUE(b->AboutWindowHandle() && IsWindowVisible(about));
  const Picture pressed = CloseButtonOf(Picture(about));
  const int n = pressed.height() - 1;
  const Colour shadow = Sys(COLOR_BTNSHADOW);
  EXPECT_EQ(pressed.At(0, 0), shadow);
  EXPECT_EQ(pressed.At(pressed.width() - 1, n), shadow);
  for (int y : {1, 2, n - 1}) EXPECT_EQ(pressed.At(3, y), GradientRow(Shade(face, -15), Shade(face, 15), y, n)) << y;
  int blueRow = 0;
  for (int y = 0; y < pressed.height(); ++y) {
    int run = 0;
    for (int x = 0; x < pressed.width(); ++x) run += pressed.At(x, y) == Rgb(0, 0, 255);
    blueRow = std::max(blueRow, run);
  }
  EXPECT_GT(blueRow, 12);  // the underline
  test::input::LeftUp();
  EXPECT_FALSE(IsWindowVisible(about));

  // A press dragged off the window and released there hides nothing.
  b->About();
  test::input::MoveTo(test::input::CentreOf(about));
  test::input::LeftDown();
  test::input::MoveTo(test::input::Beside(about));
  test::input::LeftUp();
  EXPECT_TRUE(IsWindowVisible(about));
  EXPECT_TRUE(SamePicture(CloseButtonOf(Picture(about)), close));
  // The window goes with its button, shown or not.
  b.reset();
  EXPECT_FALSE(IsWindow(about));
}

TEST_F(ButtonPaint, AboutAndBitmapPicturesLeaveNothingBehind) {
  test::GdiCount count;
  const int windowsBefore = test::ThreadTopLevelWindowCount();
  for (int round = 0; round < 3; ++round) {
    auto b = SkinButton::Load(host_.hwnd(), 1, 30, 30, 56, 26,
                              PictureSet(4, AsBitmap(16, [](int x, int) { return x % 2 ? 0u : 0xFFu; })));
    for (Look look : {Look::Normal, Look::Hot, Look::Disabled}) {
      Into(*b, look);
      Picture(b->hwnd());
    }
    b->About();
    Picture(b->AboutWindowHandle());
    SendMessageW(b->AboutWindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Picture(b->AboutWindowHandle());
    SendMessageW(b->AboutWindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(b->SetIcon(StoredPicture{AsIcon(16, [](int, int) { return 0xFFu; })}));
    EXPECT_FALSE(b->SetIcon(StoredPicture{std::vector<std::uint8_t>(70, 'B')}));
  }
  test::input::Settle(50);
  EXPECT_GT(count.Created(), 50);
  EXPECT_EQ(count.Live(), 0);
  EXPECT_EQ(count.BadDeletes(), 0);
  EXPECT_EQ(test::ThreadTopLevelWindowCount(), windowsBefore);
}

int CountExactly(const Picture& p, const RECT& area, Colour c) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += p.At(x, y) == c;
  return n;
}

TEST_F(ButtonPaint, CustomColoursGiveTheFacesTheFrameAndTheCaption) {
  const Colour back = Rgb(200, 120, 60), highlight = Rgb(40, 170, 220);
  const Colour font = Rgb(255, 0, 0), fontHighlight = Rgb(255, 255, 0);
  auto b = Make(8, 80, 30, L"MMMM");
  b->Change(L"UseCustomColors", [&](button::ButtonProperties& p) {
    p.UseCustomColors = true;
    p.BackColor = back;
    p.HighlightColor = highlight;
    p.FontColor = font;
    p.FontHighlightColor = fontHighlight;
  });
  const RECT caption{4, 4, 76, 26};
  for (Look look : {Look::Normal, Look::Hot, Look::Pressed}) {
    SCOPED_TRACE(static_cast<int>(look));
    Into(*b, look);
    const Picture p = Picture(b->hwnd());
    ReleaseCapture();
    // The hot and pressed faces are the highlight colour; the frame is always the back colour's.
    EXPECT_TRUE(SamePicture(p, Style8Faces(80, 30, look, back, highlight, back), caption));
    const bool normal = look == Look::Normal;
    EXPECT_GT(CountExactly(p, caption, normal ? font : fontHighlight), 0);
    EXPECT_EQ(CountExactly(p, caption, normal ? fontHighlight : font), 0);
    Into(*b, Look::Disabled);
    b->SetEnabled(true);
    SendMessageW(b->hwnd(), WM_MOUSELEAVE, 0, 0);
  }
}

// Where a picture differs from the plain one.
test::Box InkOf(const Picture& got, const Picture& plain) { return test::Difference(got, plain); }

TEST_F(ButtonPaint, CaptionAlignPlacesTheCaption) {
  const int w = 120, h = 60;
  auto b = Make(8, w, h, L"Ab");
  const Picture plain = Style8(w, h, Look::Normal);
  auto place = [&](int align) {
    b->Change(L"CaptionAlign", [=](button::ButtonProperties& p) { p.CaptionAlign = align; }, true);
    return InkOf(Picture(b->hwnd()), plain);
  };
  const test::Box centre = place(0), left = place(1), right = place(2), top = place(3), bottom = place(4);
  for (const test::Box& box : {centre, left, right, top, bottom}) ASSERT_FALSE(box.empty());
  EXPECT_LE(std::abs((centre.left + centre.right + 1) - w), 4);
  EXPECT_LE(std::abs((centre.top + centre.bottom + 1) - h), 4);
  EXPECT_GE(left.left, 4);
  EXPECT_LE(left.left, 6);
  EXPECT_LE(right.right, w - 5);
  EXPECT_GE(right.right, w - 7);
  EXPECT_GE(top.top, 4);
  EXPECT_LE(top.top, 9);
  EXPECT_LE(bottom.bottom, h - 5);
  EXPECT_GE(bottom.bottom, h - 9);
  // Left and right keep the centre line, top and bottom the centre column.
  EXPECT_EQ(left.top, centre.top);
  EXPECT_EQ(right.top, centre.top);
  EXPECT_EQ(top.left, centre.left);
  EXPECT_EQ(bottom.left, centre.left);
}

TEST_F(ButtonPaint, IconAlignPlacesThePictureByTheStylesMargin) {
  const int w = 61, h = 41, s = 16;
  const Colour red = Rgb(255, 0, 0);
  for (const auto& [style, margin] : {std::pair{8, 4}, std::pair{9, 7}}) {
    PropertyBag bag = PictureSet(style, AsBitmap(s, [=](int, int) { return red; }));
    auto b = SkinButton::Load(host_.hwnd(), 1, 30, 30, w, h, bag);
    // (61 − 16) / 2 = 22.5 and (41 − 16) / 2 = 12.5 go to the even neighbour.
    const POINT want[] = {{22, 12}, {margin, 12}, {w - s - margin, 12}, {22, margin}, {22, h - s - margin}};
    for (int align = 0; align <= 4; ++align) {
      SCOPED_TRACE(testing::Message() << "style " << style << " align " << align);
      b->Change(L"IconAlign", [=](button::ButtonProperties& p) { p.IconAlign = align; }, true);
      const Picture p = Picture(b->hwnd());
      test::Box box;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if (p.At(x, y) == red) box.Add(x, y);
      EXPECT_EQ(box.left, want[align].x);
      EXPECT_EQ(box.top, want[align].y);
      EXPECT_EQ(box.right - box.left + 1, s);
      EXPECT_EQ(box.bottom - box.top + 1, s);
    }
  }
}

TEST_F(ButtonPaint, EverySetterReportsItsPropertyByName) {
  auto b = Make(8, 60, 30, L"x");
  std::vector<std::wstring> names;
  b->SetOnPropertyChanged([&](const wchar_t* name) { names.emplace_back(name); });
  b->SetStyle(3);
  b->SetCaption(L"y");
  b->SetEnabled(false);
  b->SetValue(true);
  b->SetToolTipText(L"tip");
  b->SetFont(StoredFont{L"Tahoma", 10, 700});
  EXPECT_TRUE(b->SetIcon(StoredPicture{}));
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Style", L"Caption", L"Enabled", L"Value", L"ToolTipText", L"Font", L"Icon"}));
}

TEST_F(ButtonPaint, ANewSystemColourIsDrawnAtOnce) {
  auto b = Make(8, 57, 25);
  const Picture before = Picture(b->hwnd());
  {
    const test::SystemColourChange change(COLOR_BTNFACE, Rgb(90, 140, 190));
    SendMessageW(b->hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    const Picture after = Picture(b->hwnd());
    EXPECT_FALSE(after == before);
    EXPECT_TRUE(SamePicture(after, Style8(57, 25, Look::Normal)));
    EXPECT_EQ(after.At(30, 24), Shade(Shade(Rgb(90, 140, 190), -48), 21));
  }
  SendMessageW(b->hwnd(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_TRUE(SamePicture(Picture(b->hwnd()), before));
}

TEST_F(ButtonPaint, SoftFlatBlueFrameMetalAndRoundedByTheirRules) {
  const int w = 60, h = 30;
  const Colour face = Sys(COLOR_BTNFACE), light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
  // Soft and flat: thin edges, raised (light top-left) or sunken (shadow top-left).
  for (int style : {1, 2}) {
    SCOPED_TRACE(style);
    auto b = Make(style, w, h);
    Picture p = Picture(b->hwnd());
    EXPECT_EQ(p.At(0, 0), style == 1 ? light : face);
    EXPECT_EQ(p.At(w - 1, h - 1), style == 1 ? shadow : face);
    EXPECT_EQ(p.At(w / 2, h / 2), face);
    Into(*b, Look::Hot);
    p = Picture(b->hwnd());
    EXPECT_EQ(p.At(0, 0), light);
    EXPECT_EQ(p.At(w - 1, h - 1), shadow);
    Into(*b, Look::Pressed);
    p = Picture(b->hwnd());
    ReleaseCapture();
    EXPECT_EQ(p.At(0, 0), shadow);
    EXPECT_EQ(p.At(w - 1, h - 1), light);
    Into(*b, Look::Disabled);
    EXPECT_TRUE(SamePicture(Picture(b->hwnd()), Picture(w, h, face)));
  }
  // Blue frame in shades of the back colour.
  {
    const Colour back = Rgb(100, 150, 200);
    auto b = Make(5, w, h);
    b->Change(L"UseCustomColors", [&](button::ButtonProperties& p) {
      p.UseCustomColors = true;
      p.BackColor = back;
    });
    Picture p = Picture(b->hwnd());
    EXPECT_EQ(p.At(w / 2, 0), Shade(back, -128));
    EXPECT_EQ(p.At(1, 0), Shade(back, -21));
    EXPECT_EQ(p.At(w / 2, 1), Shade(back, 16));
    EXPECT_EQ(p.At(w / 2, 3), GradientRow(Shade(back, 15), Shade(back, -15), 2, h - 3));
    EXPECT_EQ(p.At(1, h / 2), GradientRow(Shade(back, 21), Shade(back, -21), h / 2 - 2, h - 5));
    Into(*b, Look::Hot);
    EXPECT_EQ(Picture(b->hwnd()).At(1, h / 2), Shade(back, 85));
    Into(*b, Look::Pressed);
    p = Picture(b->hwnd());
    ReleaseCapture();
    EXPECT_EQ(p.At(w / 2, 3), GradientRow(Shade(back, -15), Shade(back, 15), 2, h - 3));
  }
  // Metal: the face by state, the frame 56 darker than it.
  {
    auto b = Make(9, w, h);
    const std::pair<Look, Colour> faces[] = {{Look::Normal, Shade(face, -15)},
                                             {Look::Hot, Shade(face, 1)},
                                             {Look::Pressed, Shade(face, 24)},
                                             {Look::Disabled, Shade(face, 15)}};
    for (const auto& [look, f] : faces) {
      SCOPED_TRACE(static_cast<int>(look));
      Into(*b, look);
      const Picture p = Picture(b->hwnd());
      ReleaseCapture();
      EXPECT_EQ(p.At(w / 2, h / 2), f);
      EXPECT_EQ(p.At(w / 2, 0), Shade(f, -56));
      EXPECT_EQ(p.At(w / 2, 1), Shade(f, 128));
    }
  }
  // Rounded: one fixed picture per look; the cut corners keep the face.
  {
    auto b = Make(10, w, h);
    const struct {
      Look look;
      Colour top, bottom, frame;
    } looks[] = {{Look::Normal, Rgb(252, 252, 252), Rgb(220, 220, 220), Rgb(112, 112, 112)},
                 {Look::Hot, Rgb(252, 252, 255), Rgb(214, 226, 244), Rgb(80, 130, 200)},
                 {Look::Pressed, Rgb(200, 208, 220), Rgb(232, 236, 242), Rgb(60, 80, 120)}};
    for (const auto& l : looks) {
      SCOPED_TRACE(static_cast<int>(l.look));
      Into(*b, l.look);
      const Picture p = Picture(b->hwnd());
      ReleaseCapture();
      EXPECT_EQ(p.At(0, 0), face);
      EXPECT_EQ(p.At(w / 2, 0), l.frame);
      EXPECT_EQ(p.At(w / 2, h / 2), GradientRow(l.top, l.bottom, h / 2 - 1, h - 3));
    }
  }
}

}  // namespace
}  // namespace lumadex
