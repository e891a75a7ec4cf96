#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "controls/host/window_text_win32.h"
#include "controls/progressbar/progress_bar_win32.h"
#include "support/control_test_support_win32.h"
#include "support/form_harness_win32.h"
#include "support/site_client_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::Blend;
using test::Near;
using test::Picture;

// The sky-blue theme's first background and first fill halves.
const Colour kBackTop = Rgb(250, 253, 254), kBackMid = Rgb(228, 243, 252);
const Colour kFillTop = Rgb(225, 247, 255), kFillMid = Rgb(67, 208, 255);

// Whether the bar's picture is filled at column x (row 3 of the upper half, 8 rows high).
bool FilledAt(const Picture& p, int x) {
  EXPECT_TRUE(Near(p.At(x, 3), Blend(kBackTop, kBackMid, 3, 8), 1) || Near(p.At(x, 3), Blend(kFillTop, kFillMid, 3, 8), 1))
      << x << ": " << test::Show(p.At(x, 3));
  return Near(p.At(x, 3), Blend(kFillTop, kFillMid, 3, 8), 1);
}

TEST(NicePressBar, IsTheProgramsOwnBarLoadedFromTheWindowsStoredSet) {
  test::FormHarness h;
  HWND bar = h.control(L"NicePressBar");
  wchar_t cls[64] = {};
  GetClassNameW(bar, cls, 64);
  EXPECT_EQ(std::wstring(cls), kProgressBarClass);
  EXPECT_EQ(WindowBase::FromHandleAs<ProgressBar>(bar), &h.form().NicePressBar());
  const ProgressBarModel& m = h.form().NicePressBar().Properties();
  // Value, theme, text style, alignment and effect; the text, its colour and its font.
  EXPECT_EQ(std::tuple(m.Value(), m.Theme(), m.TextStyle(), m.TextAlignment(), m.TextEffect()),
            std::tuple(0, 8, 2, 5, 1));
  EXPECT_EQ(std::tuple(m.Text(), m.TextForeColor(), m.TextFont().face, m.TextFont().charset),
            std::tuple(std::wstring(L"NicePressBar"), Colour{0}, std::wstring(L"宋体"), 134));
  EXPECT_EQ(GetText(bar), L"0%");
  const Picture p(bar);
  EXPECT_EQ(p.width(), 449);
  EXPECT_EQ(p.height(), 15);
  EXPECT_FALSE(FilledAt(p, 5));
  // Values beyond the percentage's range stay at its ends, as before.
  h.form().NicePressBar().SetValue(130);
  EXPECT_EQ(h.form().NicePressBar().Value(), 100);
  h.form().NicePressBar().SetValue(-1);
  EXPECT_EQ(h.form().NicePressBar().Value(), 0);
}

TEST(NicePressBar, RedrawsWithNewSystemColoursAsTheButtonsDo) {
  test::FormHarness h;
  ProgressBar& bar = h.form().NicePressBar();
  // The custom theme's empty part in the button face, named by its system index: the top row
  // of the lower half (row 8 of 15) is that colour.
  bar.Properties().SetTheme(10);
  bar.Properties().SetPBSCustomeColor2(0x8000000F);
  EXPECT_TRUE(Near(Picture(bar.hwnd()).At(100, 8), GetSysColor(COLOR_BTNFACE) & 0xFFFFFF, 1));
  const Colour changed = Rgb(10, 120, 200);
  {
    const test::SystemColourChange change(COLOR_BTNFACE, changed);
    const Colour seen = Picture(bar.hwnd()).At(100, 8);
    EXPECT_TRUE(Near(seen, changed, 1)) << test::Show(seen);
  }
  EXPECT_TRUE(Near(Picture(bar.hwnd()).At(100, 8), GetSysColor(COLOR_BTNFACE) & 0xFFFFFF, 1));
}

// What the bar showed at each moment of a run, read by a timer of the test's own.
std::vector<std::pair<int, std::wstring>>* g_samples = nullptr;
HWND g_bar = nullptr;
test::FormHarness* g_harness = nullptr;
void CALLBACK Sample(HWND, UINT, UINT_PTR, DWORD) {
  if (g_samples && g_harness) g_samples->emplace_back(g_harness->form().NicePressBar().Value(), GetText(g_bar));
}

class NicePressBarRun : public testing::Test {
 protected:
  void Start(const std::string& config, int album) {
    test::SiteConfigure("demo\n" + config);
    h_ = std::make_unique<test::FormHarness>();
    ASSERT_FALSE(h_->PrepareDownload(album).empty());
    g_samples = &samples_;
    g_harness = h_.get();
    g_bar = h_->control(L"NicePressBar");
    timer_ = SetTimer(nullptr, 0, 25, Sample);
  }
  void TearDown() override {
    if (timer_) KillTimer(nullptr, timer_);
    g_samples = nullptr;
    g_harness = nullptr;
  }
  std::unique_ptr<test::FormHarness> h_;
  std::vector<std::pair<int, std::wstring>> samples_;
  UINT_PTR timer_ = 0;
};

TEST_F(NicePressBarRun, FollowsADownloadFromNoneToAll) {
  Start("fault 1002 photos latency 60\n", 1002);
  h_->form().NicePressBar().SetValue(37);  // left over from an earlier run
  h_->form().NBtnDown().Click();
  test::PumpUntil([&] { return !h_->form().TimerEnabled(); }, 3s);
  Sample(nullptr, 0, 0, 0);
  ASSERT_GE(samples_.size(), 4u);
  int distinct = 0;
  for (size_t i = 1; i < samples_.size(); ++i) {
    EXPECT_LE(samples_[i - 1].first, samples_[i].first) << i;
    distinct += samples_[i - 1].first != samples_[i].first ? 1 : 0;
    EXPECT_EQ(samples_[i].second, std::to_wstring(samples_[i].first) + L"%");
  }
  EXPECT_EQ(samples_.front().first, 0);
  EXPECT_GE(distinct, 3);
  EXPECT_EQ(samples_.back().first, 100);
  const Picture p(g_bar);
  EXPECT_TRUE(FilledAt(p, 5));
  EXPECT_TRUE(FilledAt(p, 440));
}

TEST_F(NicePressBarRun, GoesBackToNoneOnAStop) {
  Start("fault 1002 photos latency 240\n", 1002);
  test::RunSoon(700ms, [&] {
    EXPECT_GT(h_->form().NicePressBar().Value(), 0);
    EXPECT_TRUE(FilledAt(Picture(g_bar), 5));
    h_->form().NBtnDown().Click();
  });
  h_->form().NBtnDown().Click();
  EXPECT_EQ(h_->form().NicePressBar().Value(), 0);
  EXPECT_EQ(GetText(g_bar), L"0%");
  EXPECT_FALSE(FilledAt(Picture(g_bar), 5));
}

}  // namespace
}  // namespace lumadex
