#include "winmsg/window_base_win32.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "winmsg/dib_surface_win32.h"
#include "winmsg/gdi_win32.h"

namespace lumadex {
namespace {

// Records what reaches it, in a log that outlives it.
class LoggingWindow : public WindowBase {
 public:
  explicit LoggingWindow(std::vector<UINT>& log, const wchar_t* className = L"LumadexTestLoggingWindow")
      : log_(log) {
    WindowClass wc;
    wc.name = className;
    CreateWindowFor(wc, 0, L"logging", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr);
  }
  bool gone = false;
  bool throwOnPaint = false;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    log_.push_back(msg);
    if (msg == WM_USER && throwOnPaint) throw std::runtime_error("a handler failing");
    if (msg == WM_USER) return 42;
    return DefaultHandling(msg, wp, lp);
  }
  void OnWindowGone() override { gone = hwnd() == nullptr; }

 private:
  std::vector<UINT>& log_;
};

TEST(WindowBase, AttachedFromCreationToNcDestroyThenLetGo) {
  std::vector<UINT> log;
  LoggingWindow window(log);
  const HWND hwnd = window.hwnd();
  ASSERT_NE(hwnd, nullptr);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(WindowBase::FromHandle(hwnd), &window);
  EXPECT_EQ(WindowBase::FromHandleAs<LoggingWindow>(hwnd), &window);
  EXPECT_EQ(SendMessageW(hwnd, WM_USER, 0, 0), 42);

  DestroyWindow(hwnd);
  EXPECT_EQ(log.back(), static_cast<UINT>(WM_NCDESTROY));
  EXPECT_TRUE(window.gone);
  EXPECT_EQ(window.hwnd(), nullptr);
  EXPECT_EQ(WindowBase::FromHandle(hwnd), nullptr);
}

TEST(WindowBase, ClassRegisteredOnceServesEveryInstanceAndOnlyOurWindowsAreFound) {
  std::vector<UINT> first, second;
  LoggingWindow a(first), b(second);
  ASSERT_NE(a.hwnd(), nullptr);
  ASSERT_NE(b.hwnd(), nullptr);
  // Each instance hears its own messages: nothing of the first registration is captured.
  const auto before = first.size();
  SendMessageW(b.hwnd(), WM_USER, 0, 0);
  EXPECT_EQ(first.size(), before);
  EXPECT_EQ(second.back(), static_cast<UINT>(WM_USER));

  const HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(WindowBase::IsOwnClass(plain));
  EXPECT_EQ(WindowBase::FromHandle(plain), nullptr);
  // Subclassing the window changes its procedure, not its class: it is still found.
  SetWindowLongPtrW(a.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  EXPECT_EQ(WindowBase::FromHandle(a.hwnd()), &a);
  DestroyWindow(plain);
}

TEST(WindowBase, ObjectGoingFirstDestroysItsWindowWithoutCallingIntoItself) {
  std::vector<UINT> log;
  HWND hwnd = nullptr;
  {
    LoggingWindow window(log);
    hwnd = window.hwnd();
    log.clear();
  }
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(log.empty());
}

TEST(WindowBase, AFailingHandlerIsAnsweredZeroAndTheWindowLivesOn) {
  std::vector<UINT> log;
  LoggingWindow window(log);
  window.throwOnPaint = true;
  EXPECT_EQ(SendMessageW(window.hwnd(), WM_USER, 0, 0), 0);
  EXPECT_TRUE(IsWindow(window.hwnd()));
}

TEST(DibSurface, GdiAndMemoryMeetInOnePicture) {
  EXPECT_FALSE(DibSurface(0, 5).ok());
  EXPECT_FALSE(DibSurface(5, -1).ok());

  DibSurface surface(7, 4);
  ASSERT_TRUE(surface.ok());
  EXPECT_EQ(surface.Pixel(6, 3), Rgb(0, 0, 0));
  Brush brush(CreateSolidBrush(RGB(10, 200, 30)));
  const RECT top{0, 0, 7, 1};
  FillRect(surface.dc(), &top, brush.get());
  EXPECT_EQ(surface.Pixel(3, 0), Rgb(10, 200, 30));
  EXPECT_EQ(surface.Pixel(3, 1), Rgb(0, 0, 0));
  // Top-down rows, blue in the low byte of the memory.
  EXPECT_EQ(surface.bits()[0], 0x000AC81Eu);
  surface.SetPixel(6, 3, Rgb(1, 2, 3));
  EXPECT_EQ(GetPixel(surface.dc(), 6, 3), RGB(1, 2, 3));
  EXPECT_EQ(surface.Pixel(7, 0), kColourInvalid);
  surface.FillRect(-3, 2, 5, 10, Rgb(9, 9, 9));
  EXPECT_EQ(surface.Pixel(1, 3), Rgb(9, 9, 9));
  EXPECT_EQ(surface.Pixel(2, 3), Rgb(0, 0, 0));

  DibSurface moved = std::move(surface);
  EXPECT_FALSE(surface.ok());
  EXPECT_EQ(moved.Pixel(3, 0), Rgb(10, 200, 30));
  DibSurface copy(7, 4);
  ASSERT_TRUE(copy.CopyFrom(moved.dc(), 0, 0, 7, 4));
  EXPECT_EQ(copy.Pixel(6, 3), Rgb(1, 2, 3));

  // Given away, the picture is a bitmap of its own that another context can select.
  const Bitmap taken = copy.TakeBitmap();
  EXPECT_FALSE(copy.ok());
  EXPECT_EQ(copy.dc(), nullptr);
  const MemoryDC other(CreateCompatibleDC(nullptr));
  const ScopedSelect select(other.get(), taken.get());
  EXPECT_EQ(GetPixel(other.get(), 6, 3), RGB(1, 2, 3));
}

}  // namespace
}  // namespace lumadex
