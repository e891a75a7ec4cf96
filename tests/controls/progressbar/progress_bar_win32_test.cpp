#include "controls/progressbar/progress_bar_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/main_form_progress_set.h"
#include "support/control_test_support_win32.h"
#include "support/gdi_count_win32.h"
#include "winmsg/dib_surface_win32.h"

namespace lumadex {
namespace {

using test::Blend;
using test::Box;
using test::Grey;
using test::Near;
using test::Picture;
using test::Show;

// The even palette entries 0, 2, ... 16 of a theme, straight from the theme table.
using Even = std::array<Colour, 9>;
const Even kSkyBlue = {Rgb(250, 253, 254), Rgb(228, 243, 252), Rgb(199, 230, 249),
                       Rgb(237, 247, 253), Rgb(225, 247, 255), Rgb(67, 208, 255),
                       Rgb(63, 112, 233),  Rgb(63, 226, 246),  Rgb(23, 139, 211)};
const Even kGreen = {Rgb(242, 248, 243), Rgb(211, 233, 213), Rgb(182, 226, 186),
                     Rgb(215, 239, 217), Rgb(223, 251, 225), Rgb(133, 239, 142),
                     Rgb(57, 203, 70),   Rgb(187, 237, 191), Rgb(62, 204, 74)};
const Even kAmber = {Rgb(248, 246, 242), Rgb(233, 227, 211), Rgb(226, 215, 182),
                     Rgb(239, 233, 215), Rgb(251, 244, 223), Rgb(239, 213, 133),
                     Rgb(203, 166, 57),  Rgb(237, 224, 187), Rgb(204, 168, 62)};

Even GreyEven(const Even& e) {
  Even g{};
  for (size_t i = 0; i < e.size(); ++i) g[i] = Grey(e[i]);
  return g;
}

// Each channel moved by d, reflected at 0 and stopped at 255.
Colour Shift(Colour c, int d) {
  auto s = [d](int v) { return std::min(std::abs(v + d), 255); };
  return Rgb(s(RedOf(c)), s(GreenOf(c)), s(BlueOf(c)));
}

// The even entries of the custom theme: the empty part from c2, the fill and the border from c1.
Even CustomEven(Colour c1, Colour c2) {
  return {Shift(c2, 180), Shift(c2, 50), c2, Shift(c2, 80), Shift(c1, 180), Shift(c1, 50), c1, Shift(c1, 80), c1};
}

class BarTest : public testing::Test {
 protected:

  // The main window's bar at another size.
  std::unique_ptr<ProgressBar> MainBar(int w = 449, int h = 15) {
    const PropertyBag stored = NicePressBarStoredSet();
    return ProgressBar::Create(parent_, 1, RECT{0, 0, w, h}, L"NicePressBar", &stored, MainFormHostFont());
  }
  // A bar from an empty stored set (amber, value text, no effect) with its text switched off.
  std::unique_ptr<ProgressBar> PlainBar(int w, int h) {
    const PropertyBag none;
    auto bar = ProgressBar::Create(parent_, 2, RECT{0, 0, w, h}, L"bar", &none, MainFormHostFont());
    bar->Properties().SetTextStyle(4);
    return bar;
  }

  test::TestHost host_;
  const HWND parent_ = host_.hwnd();
};

struct Mask {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive
  bool Has(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// The text cell of the bar's text at its place, one pixel wider all round for the effects.
Mask TextMask(const std::wstring& text, int alignment, int w, int h) {
  const SIZE s = test::MeasureText(text, L"宋体", 12, 134);
  const double tw = s.cx, th = s.cy;
  int x = 0, y = 0;
  const int col = (alignment - 1) / 3, row = (alignment - 1) % 3;
  x = col == 0 ? 1 : col == 1 ? test::HalfEven(w / 2.0 - tw / 2 - 1) : test::HalfEven(w - tw - 3);
  y = row == 0 ? 0 : row == 1 ? test::HalfEven(h / 2.0 - th / 2 - 1) : test::HalfEven(h - th - 1);
  return Mask{x - 1, y - 1, x + s.cx, y + s.cy};
}

// Checks a horizontal bar pixel by pixel: gradients within 1 per channel, the straight parts
// of the border exactly; corners (drawn by the platform's arcs) and the text are left out.
// Returns the number of pixels under the text that differ clearly from the bar beneath.
int CheckHorizontal(const Picture& p, const Even& c, int fill, int rounding, const Mask& text) {
  const int w = p.width(), h = p.height();
  const int mid = test::HalfEven(h / 2.0);
  int mismatches = 0, inked = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool filled = x < fill;
      const Colour want = y < mid ? Blend(filled ? c[4] : c[0], filled ? c[5] : c[1], y, mid)
                                : Blend(filled ? c[6] : c[2], filled ? c[7] : c[3], y - mid, h - mid);
      const bool cornerX = x < rounding || x > w - 2 - rounding, cornerY = y < rounding || y > h - 2 - rounding;
      if (text.Has(x, y)) {
        inked += Near(p.At(x, y), want, 40) ? 0 : 1;
        continue;
      }
      if (cornerX && cornerY) continue;
      // The outline runs along (0, 0)-(W - 2, H - 2); the last row and column stay gradient.
      const bool border = x <= w - 2 && y <= h - 2 && (x == 0 || y == 0 || x == w - 2 || y == h - 2);
      const bool ok = border ? p.At(x, y) == c[8] : Near(p.At(x, y), want, 1);
      if (!ok && ++mismatches <= 5) {
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << Show(p.At(x, y)) << ", expected "
                      << Show(border ? c[8] : want);
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  return inked;
}

TEST_F(BarTest, TheMainWindowsBarAtNoneHalfAndAll) {
  auto bar = MainBar();
  for (const int value : {0, 50, 100}) {
    SCOPED_TRACE(value);
    bar->SetValue(value);
    const std::wstring text = std::to_wstring(value) + L"%";
    wchar_t shown[32] = {};
    GetWindowTextW(bar->hwnd(), shown, 32);
    EXPECT_EQ(std::wstring(shown), text);
    const Picture p(bar->hwnd());
    ASSERT_EQ(p.width(), 449);
    ASSERT_EQ(p.height(), 15);
    // 449 x value / 100, halves to even: 224.5 gives 224.
    const int fill = value == 0 ? 0 : test::HalfEven(449.0 * value / 100.0);
    EXPECT_GT(CheckHorizontal(p, kSkyBlue, fill, 5, TextMask(text, 5, 449, 15)), 0) << "no text drawn";
  }
}

TEST_F(BarTest, AnotherHeightSplitsAtItsOwnHalf) {
  auto bar = MainBar(300, 20);
  bar->Properties().SetTheme(3);
  bar->SetValue(33);
  const Picture p(bar->hwnd());
  CheckHorizontal(p, kGreen, 99, 5, TextMask(L"33%", 5, 300, 20));
}

TEST_F(BarTest, FillStartsAtZeroNotAtMin) {
  auto bar = PlainBar(200, 12);
  bar->Properties().SetMin(20);
  bar->Properties().SetValue(20);
  CheckHorizontal(Picture(bar->hwnd()), kAmber, 40, 5, Mask{});
}

TEST_F(BarTest, SquareCornersAndTheirRegion) {
  auto bar = PlainBar(120, 16);
  bar->Properties().SetRoundedValue(0);
  bar->Properties().SetValue(75);
  const Picture p(bar->hwnd());
  CheckHorizontal(p, kAmber, 90, 0, Mask{});
  // With no rounding the border's corners are plain corners too.
  EXPECT_EQ(p.At(0, 0), kAmber[8]);
  EXPECT_EQ(p.At(118, 14), kAmber[8]);
  const Region region = test::WindowRegionOf(bar->hwnd());
  ASSERT_TRUE(region);
  RECT box{};
  EXPECT_EQ(GetRgnBox(region.get(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 118, 14));
}

TEST_F(BarTest, RoundedRegionCutsTheCornersAndIsMadeOnlyWhenItsShapeChanges) {
  test::GdiCount gdi;
  auto bar = MainBar();
  EXPECT_EQ(gdi.HandedOver(), 1);
  {
    const Region region = test::WindowRegionOf(bar->hwnd());
    ASSERT_TRUE(region);
    RECT box{};
    ASSERT_EQ(GetRgnBox(region.get(), &box), COMPLEXREGION);
    for (const POINT corner : {POINT{0, 0}, POINT{447, 0}, POINT{0, 13}, POINT{447, 13}}) {
      EXPECT_FALSE(PtInRegion(region.get(), corner.x, corner.y)) << corner.x << "," << corner.y;
    }
    EXPECT_TRUE(PtInRegion(region.get(), 2, 7));
    EXPECT_TRUE(PtInRegion(region.get(), 224, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 224, 7));
  }
  for (int v = 0; v <= 100; v += 5) bar->SetValue(v);
  bar->Properties().SetTheme(4);
  EXPECT_EQ(gdi.HandedOver(), 1);
  bar->Properties().SetRoundedValue(9);
  EXPECT_EQ(gdi.HandedOver(), 2);
  SetWindowPos(bar->hwnd(), nullptr, 0, 0, 300, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(gdi.HandedOver(), 3);
  EXPECT_EQ(gdi.BadDeletes(), 0);
}

TEST_F(BarTest, VerticalFillsFromTheTopInLeftToRightHalves) {
  auto bar = PlainBar(21, 101);
  bar->Properties().SetOrientations(2);
  bar->Properties().SetValue(30);
  const Picture p(bar->hwnd());
  const Even& c = kAmber;
  const int mid = 10, fill = 30;  // 10.5 -> 10; 101 x 30% = 30.3 -> 30
  int mismatches = 0;
  for (int y = 5; y < 95; ++y) {
    for (int x = 1; x < 21; ++x) {
      if (x == 19) continue;  // the border's right side
      const bool filled = y < fill;
      const Colour want = x < mid ? Blend(filled ? c[4] : c[0], filled ? c[5] : c[1], x, mid)
                                : Blend(filled ? c[6] : c[2], filled ? c[7] : c[3], x - mid, 21 - mid);
      if (!Near(p.At(x, y), want, 1) && ++mismatches <= 5) {
        ADD_FAILURE() << x << "," << y << ": " << Show(p.At(x, y)) << " vs " << Show(want);
      }
    }
    EXPECT_EQ(p.At(0, y), c[8]);
    EXPECT_EQ(p.At(19, y), c[8]);
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(BarTest, DisabledIsGreyIncludingTheTextAndColoursComeBack) {
  auto bar = MainBar(449, 30);
  ProgressBarModel& m = bar->Properties();
  m.SetValue(40);
  m.SetTextForeColor(Rgb(255, 0, 0));
  m.SetEnabled(false);
  const Mask text = TextMask(L"40%", 5, 449, 30);
  {
    const Picture p(bar->hwnd());
    EXPECT_GT(CheckHorizontal(p, GreyEven(kSkyBlue), 180, 5, text), 0);
    for (int y = text.top; y <= text.bottom; ++y)
      for (int x = text.left; x <= text.right; ++x) {
        const Colour c = p.At(x, y);
        EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << x << "," << y << " " << Show(c);
      }
  }
  m.SetEnabled(true);
  {
    const Picture p(bar->hwnd());
    CheckHorizontal(p, kSkyBlue, 180, 5, text);
    int red = 0;
    for (int y = text.top; y <= text.bottom; ++y)
      for (int x = text.left; x <= text.right; ++x) red += RedOf(p.At(x, y)) > GreenOf(p.At(x, y)) + 60 ? 1 : 0;
    EXPECT_GT(red, 0) << "the text is red again";
  }
  // A disabled window around the bar greys it without touching its own flag.
  EnableWindow(bar->hwnd(), FALSE);
  CheckHorizontal(Picture(bar->hwnd()), GreyEven(kSkyBlue), 180, 5, text);
  EXPECT_TRUE(m.Enabled());
  EnableWindow(bar->hwnd(), TRUE);
  CheckHorizontal(Picture(bar->hwnd()), kSkyBlue, 180, 5, text);
}

TEST_F(BarTest, TheCustomThemeIsBuiltFromItsTwoColours) {
  auto bar = PlainBar(100, 14);
  const Colour c1 = Rgb(255, 0, 0), c2 = Rgb(0, 90, 60);
  bar->Properties().SetPBSCustomeColor1(c1);
  bar->Properties().SetPBSCustomeColor2(c2);
  bar->Properties().SetTheme(10);
  bar->Properties().SetValue(50);
  const Even custom = CustomEven(c1, c2);
  EXPECT_EQ(custom[4], Rgb(255, 180, 180));
  CheckHorizontal(Picture(bar->hwnd()), custom, 50, 5, Mask{});
  // A value naming no theme keeps the colours of the last one.
  bar->Properties().SetTheme(0);
  CheckHorizontal(Picture(bar->hwnd()), custom, 50, 5, Mask{});
}

TEST_F(BarTest, SystemColoursAreLookedUpAndValuesNamingNoColourDrawBlack) {
  auto bar = PlainBar(100, 14);
  ProgressBarModel& m = bar->Properties();
  m.SetTheme(10);
  m.SetValue(50);
  m.SetPBSCustomeColor1(SystemColour(kSysHighlight));
  m.SetPBSCustomeColor2(0x8000001F);  // one past the last system colour
  CheckHorizontal(Picture(bar->hwnd()), CustomEven(GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFF, 0), 50, 5, Mask{});
  m.SetPBSCustomeColor1(0x01000005);  // a palette index, and there is no palette
  CheckHorizontal(Picture(bar->hwnd()), CustomEven(0, 0), 50, 5, Mask{});
  // The translation itself says it failed; only the drawing settles on black.
  EXPECT_EQ(ProgressBar::TranslateColour(0x8000001F), kColourInvalid);
  EXPECT_EQ(ProgressBar::TranslateColour(SystemColour(kSysHighlight)), GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFF);
}

// Text tests compare a picture with text against the same bar without it, so only the
// glyphs' place counts, not their shapes (Wine draws its own fonts).
class BarTextTest : public BarTest {
 protected:
  Box TextBox(ProgressBar& bar) {
    bar.Properties().SetTextStyle(4);
    const Picture bare(bar.hwnd());
    bar.Properties().SetTextStyle(3);
    const Picture with(bar.hwnd());
    return Difference(bare, with);
  }
};

TEST_F(BarTextTest, NineAlignments) {
  auto bar = MainBar(300, 60);
  bar->Properties().SetText(L"下载 AB");
  for (int alignment = 1; alignment <= 9; ++alignment) {
    SCOPED_TRACE(alignment);
    bar->Properties().SetTextAlignment(alignment);
    const Box ink = TextBox(*bar);
    const Mask cell = TextMask(L"下载 AB", alignment, 300, 60);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, cell.left);
    EXPECT_GE(ink.top, cell.top);
    EXPECT_LE(ink.right, cell.right);
    EXPECT_LE(ink.bottom, cell.bottom);
  }
  bar->Properties().SetTextAlignment(0);
  const Box ink = TextBox(*bar);
  EXPECT_LE(ink.left, 2);
  EXPECT_LE(ink.top, 2);
}

TEST_F(BarTextTest, EachEffectPrintsAtItsOffsets) {
  auto bar = MainBar(300, 40);
  ProgressBarModel& m = bar->Properties();
  m.SetText(L"Lumadex 下载");
  m.SetTextForeColor(Rgb(0, 0, 0));
  m.SetTextEffectColor(Rgb(0, 255, 0));
  m.SetTextEffect(1);
  const Box plain = TextBox(*bar);
  ASSERT_FALSE(plain.empty());
  struct Case {
    int effect, left, top, right, bottom;
  };
  for (const Case c : {Case{2, -1, -1, 1, 1}, Case{3, -1, 0, 1, 1}, Case{4, -1, -1, 1, 1}, Case{5, 0, 0, 1, 1}}) {
    SCOPED_TRACE(c.effect);
    m.SetTextEffect(c.effect);
    const Box ink = TextBox(*bar);
    EXPECT_EQ(ink.left, plain.left + c.left);
    EXPECT_EQ(ink.top, plain.top + c.top);
    EXPECT_EQ(ink.right, plain.right + c.right);
    EXPECT_EQ(ink.bottom, plain.bottom + c.bottom);
  }
  // The shadow's column beyond the text is in the effect colour.
  m.SetTextEffect(5);
  const Picture p(bar->hwnd());
  int green = 0;
  for (int y = plain.top; y <= plain.bottom + 1; ++y) {
    const Colour c = p.At(plain.right + 1, y);
    green += GreenOf(c) > RedOf(c) + 20 && GreenOf(c) > BlueOf(c) + 20 ? 1 : 0;
  }
  EXPECT_GT(green, 0);
  // Values naming no effect print nothing at all.
  for (const int none : {0, 6}) {
    m.SetTextEffect(none);
    EXPECT_TRUE(TextBox(*bar).empty()) << none;
  }
}

TEST_F(BarTest, ANewInstanceDrawsItsOwnTextAndTellsItsHostOfChanges) {
  auto bar = ProgressBar::Create(parent_, 3, RECT{0, 0, 200, 20}, L"bar", nullptr, MainFormHostFont());
  ASSERT_TRUE(bar);
  wchar_t shown[64] = {};
  GetWindowTextW(bar->hwnd(), shown, 64);
  EXPECT_EQ(std::wstring(shown), L"Vexo ProgressBar");
  EXPECT_EQ(bar->Value(), 50);
  std::vector<std::wstring> changes;
  bar->SetPropertyChanged([&](std::wstring_view p) { changes.emplace_back(p); });
  bar->SetValue(500);
  bar->Properties().SetMax(10);
  EXPECT_EQ(bar->Value(), 10);
  EXPECT_EQ(changes, (std::vector<std::wstring>{L"Value", L"Max", L"Value"}));
  PropertyBag bag;
  bar->WriteProperties(bag);
  EXPECT_EQ(bag.ReadInt(L"Max", 0), 10);
  EXPECT_EQ(bag.ReadString(L"Text", L""), L"Vexo ProgressBar");
}

TEST_F(BarTest, NoObjectOutlivesItsUse) {
  test::GdiCount gdi;
  {
    auto bar = MainBar();
    const int settled = gdi.Live();
    EXPECT_EQ(gdi.Live(OBJ_MEMDC), 1);
    EXPECT_EQ(gdi.Live(OBJ_BITMAP), 1);
    EXPECT_EQ(gdi.Live(OBJ_FONT), 1);
    for (int v = 0; v <= 100; ++v) bar->SetValue(v);
    for (int theme = 0; theme <= 11; ++theme) bar->Properties().SetTheme(theme);
    for (int effect = 0; effect <= 6; ++effect) bar->Properties().SetTextEffect(effect);
    bar->Properties().SetEnabled(false);
    StoredFont other = MainFormHostFont();
    other.points = 14;
    bar->Properties().SetTextFont(other);
    SetWindowPos(bar->hwnd(), nullptr, 0, 0, 200, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(bar->hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(gdi.Live(), settled);
  }
  EXPECT_EQ(gdi.Live(), 0);
  EXPECT_EQ(gdi.BadDeletes(), 0);
  EXPECT_GT(gdi.Created(), 100);  // every redraw's pen came and went
}

TEST_F(BarTest, AnEmptyAreaDrawsAndCreatesNothingUntilItHasASize) {
  test::GdiCount gdi;
  auto bar = MainBar(0, 0);
  bar->SetValue(30);
  EXPECT_EQ(gdi.Created(), 0);
  const Picture none(bar->hwnd());
  EXPECT_EQ(none.width(), 0);
  SetWindowPos(bar->hwnd(), nullptr, 0, 0, 100, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_GT(gdi.Created(), 0);
  CheckHorizontal(Picture(bar->hwnd()), kSkyBlue, 30, 5, TextMask(L"30%", 5, 100, 10));
}

TEST(BarGradients, TwoColoursRunEitherWayWithinTheirRectangle) {
  const Colour a = Rgb(0, 100, 200), b = Rgb(200, 50, 0);
  DibSurface target(40, 20);
  ASSERT_TRUE(target);
  const HDC dc = target.dc();
  std::uint32_t* px = target.bits();
  auto at = [&](int x, int y) {
    const std::uint32_t v = px[y * 40 + x];
    return Rgb(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
  };
  std::fill(px, px + 800, 0u);
  ProgressBar::GradientTwoColour(dc, 0, a, b, 5, 2, 25, 12);
  GdiFlush();
  for (int x = 5; x < 25; ++x) EXPECT_TRUE(Near(at(x, 7), Blend(a, b, x - 5, 20), 1)) << x;
  EXPECT_EQ(at(4, 7), 0u);
  EXPECT_EQ(at(25, 7), 0u);
  EXPECT_EQ(at(10, 12), 0u);
  std::fill(px, px + 800, 0u);
  ProgressBar::GradientTwoColour(dc, 1, a, b, 0, 0, 40, 20);
  GdiFlush();
  for (int y = 0; y < 20; ++y) EXPECT_TRUE(Near(at(17, y), Blend(a, b, y, 20), 1)) << y;

  // Four corners: each row runs from the left edge's ramp entry to the right edge's, in steps
  // of (difference / width) in single precision, rounded half to even.
  std::fill(px, px + 800, 0u);
  const Colour tl = Rgb(255, 0, 0), tr = Rgb(0, 255, 0), bl = Rgb(0, 0, 255), br = Rgb(255, 255, 255);
  ProgressBar::DrawGradientFourColour(dc, 3, 4, 30, 10, tl, tr, bl, br);
  GdiFlush();
  auto ramp = [](int from, int to, int n, int i) {
    // volatile: the x87 unit would otherwise keep the step wider than single precision.
    const volatile float step = (to == from || n == 0) ? 0.0f : static_cast<float>(to - from) / static_cast<float>(n);
    return test::HalfEven(from + static_cast<double>(step) * i);
  };
  for (int r = 0; r < 10; ++r) {
    const int lr = ramp(255, 0, 10, r), lg = 0, lb = ramp(0, 255, 10, r);
    const int rr = ramp(0, 255, 10, r), rg = 255, rb = ramp(0, 255, 10, r);
    for (int i = 0; i < 30; ++i) {
      const Colour want = Rgb(ramp(lr, rr, 30, i), ramp(lg, rg, 30, i), ramp(lb, rb, 30, i));
      ASSERT_EQ(at(3 + i, 4 + r), want) << i << "," << r << " " << Show(at(3 + i, 4 + r));
    }
    EXPECT_EQ(at(2, 4 + r), 0u);
    EXPECT_EQ(at(33, 4 + r), 0u);
  }
  EXPECT_EQ(at(3, 4), tl);
  EXPECT_EQ(at(10, 14), 0u);
}

TEST(BarGradients, FourCornersStepInSinglePrecisionWhereDoubleWouldDrawOtherPixels) {
  // entry i of a ramp from `from` to `to` in n steps, the step kept in single or in double
  // precision (volatile: the x87 unit would otherwise keep the step wider than single).
  auto single = [](int from, int to, int n, int i) {
    const volatile float step = static_cast<float>(to - from) / static_cast<float>(n);
    return test::HalfEven(from + static_cast<double>(step) * i);
  };
  auto wide = [](int from, int to, int n, int i) { return test::HalfEven(from + static_cast<double>(to - from) / n * i); };
  int width = 0, from = 0, to = 0, where = -1;
  for (int n = 2; n <= 120 && where < 0; ++n) {
    for (int a = 0; a <= 20 && where < 0; ++a) {
      for (int b = 0; b <= 255 && where < 0; b += 3) {
        for (int i = 0; i < n; ++i) {
          if (single(a, b, n, i) != wide(a, b, n, i)) {
            width = n, from = a, to = b, where = i;
            break;
          }
        }
      }
    }
  }
  ASSERT_GE(where, 0) << "no size tells the two precisions apart";
  DibSurface target(width, 1);
  ASSERT_TRUE(target);
  const Colour left = Rgb(from, from, from), right = Rgb(to, to, to);
  ProgressBar::DrawGradientFourColour(target.dc(), 0, 0, width, 1, left, right, left, right);
  GdiFlush();
  for (int i = 0; i < width; ++i) {
    const int level = single(from, to, width, i);
    EXPECT_EQ(target.Pixel(i, 0), Rgb(level, level, level)) << i << " of " << width;
  }
  const int level = wide(from, to, width, where);
  EXPECT_NE(target.Pixel(where, 0), Rgb(level, level, level)) << "pixel " << where << " of " << width << ": from " << from << " to " << to;
}

}  // namespace
}  // namespace lumadex
