#include "skin/nc_calc_size_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/skin_test_windows_win32.h"
#include "winmsg/subclass_win32.h"
#include "winmsg/thread_hooks_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::FrameTestWindow;

constexpr DWORD kFixed = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kSizable = kFixed | WS_THICKFRAME;

// A modifier that records what the engine asks of it.
class RecordingModifier : public INCAreaModifier {
 public:
  explicit RecordingModifier(HWND window) : window_(window) {}
  HWND hWnd() const override { return window_; }
  void GetTopMarginHeight(long& v) override { v = 48; }
  void GetLeftMarginWidth(long& v) override { v = 10; }
  void GetRightMarginWidth(long& v) override { v = 10; }
  void GetBottomMarginHeight(long& v) override { v = 10; }
  void NCPaint(HDC, long l, long t, long r, long b) override {
    ++paints;
    lastPaint = RECT{l, t, r, b};
  }
  void HitTest(long x, long y, int& code) override {
    codeOnEntry = code;
    if (menuAnswer && y > 30 && y < 48) code = HTMENU;
    (void)x;
  }
  void NCMouseDown(long x, long y, bool& handled, HDC, long, long, long, long) override {
    calls.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    handled = handleDown;
  }
  void NCMouseUp(long x, long y, HDC, long, long, long, long) override {
    calls.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  }
  void InitMenuPopup(WPARAM, LPARAM) override { calls.push_back("popup"); }
  void ExitMenuLoop() override { calls.push_back("exit menu"); }
  bool AltKeyAccelerator(UINT) override { return false; }

  int paints = 0;
  RECT lastPaint{};
  int codeOnEntry = 0;
  bool menuAnswer = false;
  bool handleDown = true;
  std::vector<std::string> calls;

 private:
  HWND window_;
};

// A 400 x 300 window whose frame an engine has taken over, with a recording modifier.
struct EngineWindow {
  explicit EngineWindow(DWORD style = kFixed, const wchar_t* title = L"")
      : window(style, 400, 300, title), hwnd(window.hwnd()), modifier(hwnd) {
    engine.Attach(&modifier);
    engine.Display(hwnd);
  }
  FrameTestWindow window;
  const HWND hwnd;
  RecordingModifier modifier;
  cNCCalcSize engine;
};

LRESULT HitAt(HWND w, long x, long y) { return SendMessageW(w, WM_NCHITTEST, 0, test::ScreenPoint(w, x, y)); }

TEST(FrameEngineClientArea, MarginsShapeTheClientAreaAndNeverTurnItInsideOut) {
  EngineWindow e;
  const HWND w = e.hwnd;
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 380);
  EXPECT_EQ(client.bottom, 242);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  RECT frame{};
  GetWindowRect(w, &frame);
  EXPECT_EQ(origin.x - frame.left, 10);
  EXPECT_EQ(origin.y - frame.top, 48);
  EXPECT_EQ(e.engine.Margins(), (skin::Margins{10, 48, 10, 10}));

  // Asked directly, with a size much smaller than the frame: the answer is WVR_REDRAW and an
  // empty client rectangle, not a negative one.
  WINDOWPOS pos{w, nullptr, 100, 100, 12, 20, SWP_NOZORDER};
  NCCALCSIZE_PARAMS params{};
  params.lppos = &pos;
  EXPECT_EQ(SendMessageW(w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params)), WVR_REDRAW);
  EXPECT_GE(params.rgrc[0].right, params.rgrc[0].left);
  EXPECT_GE(params.rgrc[0].bottom, params.rgrc[0].top);
  EXPECT_EQ(params.rgrc[0].left, 110);

  pos = WINDOWPOS{w, nullptr, 100, 100, 400, 300, SWP_NOZORDER};
  params = NCCALCSIZE_PARAMS{};
  params.lppos = &pos;
  SendMessageW(w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
  EXPECT_EQ(params.rgrc[0].left, 110);
  EXPECT_EQ(params.rgrc[0].top, 148);
  EXPECT_EQ(params.rgrc[0].right, 490);
  EXPECT_EQ(params.rgrc[0].bottom, 390);

  // A minimised window keeps a sound client rectangle too.
  ShowWindow(w, SW_MINIMIZE);
  test::Pump(30ms);
  GetClientRect(w, &client);
  EXPECT_GE(client.right, 0);
  EXPECT_GE(client.bottom, 0);
}

TEST(FrameEngineHitTest, BordersSizeOnlyASizableWindow) {
  for (const DWORD style : {kFixed, kSizable}) {
    SCOPED_TRACE(style == kSizable ? "sizable" : "fixed");
    EngineWindow e(style);
    const HWND w = e.hwnd;
    const bool sizable = style == kSizable;
    EXPECT_EQ(HitAt(w, 3, 150), sizable ? HTLEFT : HTCLIENT);
    EXPECT_EQ(HitAt(w, 396, 150), sizable ? HTRIGHT : HTCLIENT);
    EXPECT_EQ(HitAt(w, 200, 5), sizable ? HTTOP : HTCLIENT);
    EXPECT_EQ(HitAt(w, 200, 296), sizable ? HTBOTTOM : HTCLIENT);
    EXPECT_EQ(HitAt(w, 2, 2), sizable ? HTTOPLEFT : HTCLIENT);
    EXPECT_EQ(HitAt(w, 397, 297), sizable ? HTBOTTOMRIGHT : HTCLIENT);
    EXPECT_EQ(HitAt(w, 200, 20), HTCAPTION);
    EXPECT_EQ(e.modifier.codeOnEntry, HTCAPTION);  // the modifier sees the engine's own answer
    EXPECT_EQ(HitAt(w, 15, 20), HTSYSMENU);
    EXPECT_EQ(HitAt(w, 200, 150), HTCLIENT);
    EXPECT_EQ(e.engine.LastHitTest(), HTCLIENT);
  }
}

TEST(FrameEngineClientArea, WithoutAPositionThePlatformIsAskedOnceAndTheMarginsApply) {
  EngineWindow e;
  RECT r{100, 100, 500, 400};
  const int before = e.window.PlainCalcSizes();
  SendMessageW(e.hwnd, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(e.window.PlainCalcSizes() - before, 1);
  EXPECT_EQ(r.left, 110);
  EXPECT_EQ(r.top, 148);
  EXPECT_EQ(r.right, 490);
  EXPECT_EQ(r.bottom, 390);
}

// A child of an MDI client, maximised, keeps the system's margins and the platform's painting;
// restored, it has the modifier's frame again.
TEST(FrameEngineClientArea, AMaximisedMdiChildKeepsThePlatformsFrame) {
  FrameTestWindow frame(WS_OVERLAPPEDWINDOW, 600, 400);
  CLIENTCREATESTRUCT mdi{};
  HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 580, 340,
                                frame.hwnd(), nullptr, GetModuleHandleW(nullptr), &mdi);
  ASSERT_NE(client, nullptr);
  HWND child = CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 10, 10, 300,
                               200, client, nullptr, GetModuleHandleW(nullptr), nullptr);
  RecordingModifier modifier(child);
  cNCCalcSize engine;
  engine.Attach(&modifier);
  EXPECT_EQ(subclass_registry::ClientCount(child, WM_SIZE), 1u);  // MDI children repaint after sizing
  engine.Display(child);
  EXPECT_EQ(engine.Margins(), (skin::Margins{10, 48, 10, 10}));
  SendMessageW(child, WM_NCPAINT, 1, 0);
  const int paints = modifier.paints;
  EXPECT_GT(paints, 0);

  SetWindowLongPtrW(child, GWL_STYLE, GetWindowLongPtrW(child, GWL_STYLE) | WS_MAXIMIZE);
  engine.Display(child);
  const long frameX = GetSystemMetrics(SM_CXFRAME), frameY = GetSystemMetrics(SM_CYFRAME);
  EXPECT_EQ(engine.Margins(), (skin::Margins{frameX, GetSystemMetrics(SM_CYCAPTION) + frameY, frameX, frameY}));
  SendMessageW(child, WM_NCPAINT, 1, 0);
  EXPECT_EQ(modifier.paints, paints);

  SetWindowLongPtrW(child, GWL_STYLE, GetWindowLongPtrW(child, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_MAXIMIZE));
  engine.Display(child);
  EXPECT_EQ(engine.Margins(), (skin::Margins{10, 48, 10, 10}));
  engine.Detach();
  EXPECT_FALSE(subclass_registry::IsSubclassed(child));
  DestroyWindow(child);
}

TEST(FrameEngineHitTest, MenuAnswerIsClientArea) {
  EngineWindow e;
  const HWND w = e.hwnd;
  e.modifier.menuAnswer = true;
  EXPECT_EQ(HitAt(w, 200, 40), HTCLIENT);
  EXPECT_EQ(e.engine.LastHitTest(), HTMENU);
}

TEST(FrameEngineMouse, ReleaseInTheFrameIsAReleaseAtThatPoint) {
  EngineWindow e;
  const HWND w = e.hwnd;
  // A press away from the caption goes to the modifier; one on the caption starts a drag.
  HitAt(w, 380, 40);
  SendMessageW(w, WM_NCLBUTTONDOWN, HTSYSMENU, test::ScreenPoint(w, 380, 40));
  SendMessageW(w, WM_NCLBUTTONUP, HTSYSMENU, test::ScreenPoint(w, 360, 16));
  EXPECT_EQ(e.modifier.calls, (std::vector<std::string>{"down 380,40", "up 360,16"}));
  e.modifier.calls.clear();
  HitAt(w, 200, 20);
  SendMessageW(w, WM_NCLBUTTONDOWN, HTCAPTION, test::ScreenPoint(w, 200, 20));
  EXPECT_TRUE(e.modifier.calls.empty());
}

TEST(FrameEngineMenus, SystemMenuPopupNeverReachesTheModifier) {
  EngineWindow e;
  const HWND w = e.hwnd;
  HMENU popup = CreatePopupMenu();
  SendMessageW(w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, 1));
  EXPECT_TRUE(e.modifier.calls.empty());
  SendMessageW(w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, 0));
  SendMessageW(w, WM_EXITMENULOOP, 0, 0);
  EXPECT_EQ(e.modifier.calls, (std::vector<std::string>{"popup", "exit menu"}));
  DestroyMenu(popup);
}

TEST(FrameEnginePainting, FramePaintsGoToTheModifierWithTheWindowRectangle) {
  EngineWindow e;
  const HWND w = e.hwnd;
  test::Pump(20ms);
  e.modifier.paints = 0;
  SendMessageW(w, WM_NCPAINT, 1, 0);
  EXPECT_EQ(e.modifier.paints, 1);
  EXPECT_EQ(e.modifier.lastPaint.right, 400);
  EXPECT_EQ(e.modifier.lastPaint.bottom, 300);
  // Activation, a title change and a style change each repaint the frame.
  SendMessageW(w, WM_NCACTIVATE, 0, 0);
  EXPECT_FALSE(e.engine.WindowActive());
  EXPECT_GE(e.modifier.paints, 2);
  const int beforeTitle = e.modifier.paints;
  SetWindowTextW(w, L"another title");
  EXPECT_GT(e.modifier.paints, beforeTitle);
  SendMessageW(w, WM_ACTIVATEAPP, 1, 0);
  EXPECT_TRUE(e.engine.AppActive());
  // A hidden window is not painted.
  ShowWindow(w, SW_HIDE);
  const int before = e.modifier.paints;
  SendMessageW(w, WM_NCPAINT, 1, 0);
  EXPECT_EQ(e.modifier.paints, before);
}

TEST(FrameEnginePainting, WithoutAModifierThePlainFrameIsPaintedAndTheSystemHitTestUsed) {
  EngineWindow e(kFixed, L"plain");
  const HWND w = e.hwnd;
  // The modifier's link goes; the engine falls back to system metrics and its own painting.
  RemovePropW(w, cNCCalcSize::kImplementationProperty);
  e.engine.Display(w);
  const int paints = e.modifier.paints;
  SendMessageW(w, WM_NCPAINT, 1, 0);
  EXPECT_EQ(e.modifier.paints, paints);
  const test::Capture shot = test::Capture::Window(w);
  // A raised edge around the window: light at the top left, dark shadow at the bottom right.
  EXPECT_EQ(shot.at(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(shot.at(399, 299), GetSysColor(COLOR_3DDKSHADOW));
  // The caption band right of the buttons' area is the caption colour of the state.
  const long frameX = GetSystemMetrics(SM_CXFRAME), frameY = GetSystemMetrics(SM_CYFRAME);
  EXPECT_EQ(shot.at(400 - frameX - 1, frameY + 1), GetSysColor(e.engine.WindowActive() ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 400 - 2 * frameX);
  EXPECT_EQ(HitAt(w, 200, 150), HTCLIENT);
  EXPECT_EQ(HitAt(w, 200, frameY + 4), HTCAPTION);  // the platform's own answer
}

TEST(FrameEngineCursor, StyleIsRestoredAfterTheCursorMessage) {
  EngineWindow e;
  const HWND w = e.hwnd;
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
  const int paints = e.modifier.paints;
  SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE), style);
  EXPECT_TRUE(IsWindowVisible(w));
  // The style changes inside it repaint nothing.
  EXPECT_EQ(e.modifier.paints, paints);
}

TEST(FrameEngineLifecycle, DetachGivesEverythingBackAndDestructionDetaches) {
  FrameTestWindow window(kFixed, 400, 300);
  const HWND w = window.hwnd();
  const LONG_PTR own = GetWindowLongPtrW(w, GWLP_WNDPROC);
  RecordingModifier modifier(w);
  {
    cNCCalcSize engine;
    engine.Attach(&modifier);
    EXPECT_EQ(engine.hWnd(), w);
    EXPECT_EQ(engine.GetImplementation(), &modifier);
    engine.Attach(&modifier);  // attaching again replaces the attachment
    EXPECT_EQ(subclass_registry::RegistrationCount(w), 16u);
    engine.Detach();
    EXPECT_EQ(engine.GetImplementation(), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), own);
    engine.Attach(&modifier);
  }
  EXPECT_FALSE(subclass_registry::IsSubclassed(w));
  EXPECT_EQ(GetPropW(w, cNCCalcSize::kImplementationProperty), nullptr);

  // A window that is gone: the attach fails with the framework's error and leaves nothing.
  HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  RecordingModifier orphan(gone);
  const std::size_t hooks = thread_hooks::KeyboardHookEngineCount();
  cNCCalcSize engine;
  try {
    engine.Attach(&orphan);
    ADD_FAILURE() << "attached to a destroyed window";
  } catch (const WinMsgError& error) {
    EXPECT_EQ(error.Code(), kErrInvalidWindow);
  }
  EXPECT_EQ(engine.hWnd(), nullptr);
  EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), hooks);
}

// Presses the left button on the caption with real input, moves the cursor by (dx, dy) from
// inside the drag and releases. Returns how far the window moved.
POINT DragCaption(HWND w, long x, long y, int dx, int dy) {
  RECT before{};
  GetWindowRect(w, &before);
  SetCursorPos(before.left + x, before.top + y);
  test::Pump(30ms);
  test::RunSoon(80ms, [dx, dy] {
    POINT p{};
    GetCursorPos(&p);
    SetCursorPos(p.x + dx, p.y + dy);
  });
  test::HoldLeftButton(250ms, 600ms);
  RECT after{};
  GetWindowRect(w, &after);
  return POINT{after.left - before.left, after.top - before.top};
}

TEST(FrameEngineDrag, CaptionPressOfAnInactiveWindowActivatesAndDragsIt) {
  FrameTestWindow other(kFixed, 200, 150);
  EngineWindow e;
  SetWindowPos(other.hwnd(), HWND_TOP, 600, 500, 0, 0, SWP_NOSIZE);
  SetForegroundWindow(other.hwnd());
  test::Pump(50ms);
  ASSERT_FALSE(e.engine.WindowActive());
  const POINT moved = DragCaption(e.hwnd, 200, 20, 30, 20);
  EXPECT_EQ(moved.x, 30);
  EXPECT_EQ(moved.y, 20);
  EXPECT_EQ(GetForegroundWindow(), e.hwnd);
  EXPECT_EQ(e.window.MoveLoops(), 0);  // the platform's move loop never ran
}

// Starts a caption drag with real input; `during` runs 150 ms into it, after a first move of
// (30, 20), and a second move of (30, 20) follows at 250 ms before the release at 350 ms.
POINT DragWithInterruption(HWND w, const std::function<void()>& during) {
  RECT before{};
  GetWindowRect(w, &before);
  SetCursorPos(before.left + 200, before.top + 20);
  // The engine knows the window is active from the activation message only.
  SendMessageW(w, WM_NCACTIVATE, 1, 0);
  test::Pump(30ms);
  const auto move = [] {
    POINT p{};
    GetCursorPos(&p);
    SetCursorPos(p.x + 30, p.y + 20);
  };
  test::RunSoon(80ms, move);
  test::RunSoon(150ms, during);
  test::RunSoon(250ms, move);
  test::HoldLeftButton(350ms, 700ms);
  if (!IsWindow(w)) return POINT{};
  RECT after{};
  GetWindowRect(w, &after);
  return POINT{after.left - before.left, after.top - before.top};
}

TEST(FrameEngineDrag, DragEndsWhenTheEngineIsDetachedOrTheLoopIsQuitting) {
  {
    EngineWindow e;
    const POINT moved = DragWithInterruption(e.hwnd, [&] { e.engine.Detach(); });
    EXPECT_EQ(moved.x, 30);  // the second move came after the detach
    EXPECT_EQ(moved.y, 20);
  }
  {
    EngineWindow e;
    const POINT moved = DragWithInterruption(e.hwnd, [] { PostQuitMessage(0); });
    EXPECT_EQ(moved.x, 30);
    EXPECT_EQ(moved.y, 20);
    // What is left of the quit request goes here, so that it reaches no later test.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
}

TEST(FrameEngineDrag, WindowDestroyedDuringTheDragEndsItAndDetaches) {
  EngineWindow e;
  DragWithInterruption(e.hwnd, [&] { DestroyWindow(e.hwnd); });
  EXPECT_FALSE(IsWindow(e.hwnd));
  EXPECT_EQ(e.engine.hWnd(), nullptr);
  EXPECT_FALSE(subclass_registry::IsSubclassed(e.hwnd));
}

TEST(FrameEngineDrag, AttachToTheActiveWindowKnowsItAndTheFirstDragWorks) {
  FrameTestWindow front(kFixed, 400, 300);
  ASSERT_EQ(GetForegroundWindow(), front.hwnd());
  RecordingModifier modifier(front.hwnd());
  cNCCalcSize engine;
  engine.Attach(&modifier);
  engine.Display(front.hwnd());
  EXPECT_TRUE(engine.WindowActive());
  const POINT moved = DragCaption(front.hwnd(), 200, 20, 30, 20);
  EXPECT_EQ(moved.x, 30);
  EXPECT_EQ(moved.y, 20);

  // A window in the background is not taken for the active one.
  FrameTestWindow other(kFixed, 200, 150);
  SetWindowPos(other.hwnd(), HWND_TOP, 600, 500, 0, 0, SWP_NOSIZE);
  ASSERT_EQ(GetForegroundWindow(), other.hwnd());
  engine.Attach(&modifier);
  EXPECT_FALSE(engine.WindowActive());
}

// Wine hands on the physical buttons unswapped, so there the left one makes the primary press
// even while the user has swapped them; the drag must follow the button that made it.
TEST(FrameEngineDrag, WithSwappedButtonsTheButtonThatPressedDrags) {
  test::SwappedButtons swapped;
  EngineWindow e;
  SendMessageW(e.hwnd, WM_NCACTIVATE, 1, 0);
  const POINT moved = DragCaption(e.hwnd, 200, 20, 30, 20);
  EXPECT_EQ(moved.x, 30);
  EXPECT_EQ(moved.y, 20);
  EXPECT_EQ(e.window.MoveLoops(), 0);
}

TEST(FrameEngineDrag, ThePlainFrameKeepsThePlatformsCaption) {
  EngineWindow e(kFixed, L"plain");
  RemovePropW(e.hwnd, cNCCalcSize::kImplementationProperty);
  e.engine.Display(e.hwnd);
  DragCaption(e.hwnd, 150, GetSystemMetrics(SM_CYFRAME) + 4, 30, 20);
  EXPECT_EQ(e.window.MoveLoops(), 1);  // the platform's own move loop
}

}  // namespace
}  // namespace lumadex
