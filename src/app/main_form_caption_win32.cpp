// The main window's skinned frame: the painter's colours, fonts and skin, and the window's
// size around an unchanged client area.
#include "app/main_form_layout.h"
#include "app/main_form_win32.h"
#include "resources/resource_ids.h"
#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

// How the caption picture is cut: button glyphs 19 x 20, the active caption's left end up to
// x 90, its right end from 140 to 240, the inactive caption 400 pixels to the right.
constexpr long kButtonWidth = 19, kButtonHeight = 20;
constexpr long kActiveLeftEnd = 90, kActiveRightStart = 140, kActiveRightEnd = 240, kInactiveOffset = 400;

}  // namespace

void MainForm::SetupCaption(cSkinCaption& painter) {
  painter.SetActiveCaptionColor(0xFFFFFF);
  painter.SetInActiveCaptionColor(0xFFFFFF);
  painter.SetActiveMenuColor(0xC00000);
  painter.SetActiveMenuColorOver(0xFF);
  painter.SetInActiveMenuColor(0);
  painter.SetMenuBackgroundColor(0x8000000F);
  painter.CaptionFont()->Name = L"微软雅黑";
  painter.CaptionFont()->Size = 9;
  painter.MenuFont()->Name = L"微软雅黑";
  painter.MenuFont()->Size = 9;
  painter.Attach(hwnd(), picCaption_.get(), picBorder_.get(), kButtonWidth, kButtonHeight, kActiveLeftEnd,
                 kActiveRightStart, kActiveRightEnd, kInactiveOffset);
  // The window's background stays the button face colour of its class.
}

void MainForm::AttachCaption() {
  picCaption_.reset(static_cast<HBITMAP>(
      LoadImageW(instance_, MAKEINTRESOURCEW(IDB_SKIN_CAPTION), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  picBorder_.reset(static_cast<HBITMAP>(
      LoadImageW(instance_, MAKEINTRESOURCEW(IDB_SKIN_BORDER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  // Without its pictures the window keeps the platform's frame rather than an empty one.
  if (!picCaption_ || !picBorder_) return;
  try {
    caption_ = std::make_unique<cSkinCaption>();
    SetupCaption(*caption_);
  } catch (const std::exception&) {
    // The frame's registrations were refused: the window keeps the platform's frame.
    ReportCallbackFailure(L"attaching the skinned frame");
    caption_.reset();
    return;
  }

  // The controls are placed in the client area, which keeps its size: the window grows by the
  // skin's margins and stays centred where it was.
  long left = 0, top = 0, right = 0, bottom = 0;
  caption_->GetLeftMarginWidth(left);
  caption_->GetTopMarginHeight(top);
  caption_->GetRightMarginWidth(right);
  caption_->GetBottomMarginHeight(bottom);
  const int width = TwipsToPixels(kClientWidthTwips) + left + right;
  const int height = TwipsToPixels(kClientHeightTwips) + top + bottom;
  RECT now{};
  GetWindowRect(hwnd(), &now);
  const int x = now.left + ((now.right - now.left) - width) / 2;
  const int y = now.top + ((now.bottom - now.top) - height) / 2;
  SetWindowPos(hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

}  // namespace lumadex
