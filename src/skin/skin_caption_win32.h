// Gives a window a frame painted from two skin pictures: the caption strip, its inactive look
// and the caption buttons are cut from the caption picture, the side and bottom borders are
// tiled from the border picture. The painter owns the window's non-client engine and is its
// modifier.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "skin/frame_geometry.h"
#include "skin/mem_dc_win32.h"
#include "skin/menu_bar_win32.h"
#include "skin/nc_area_modifier_win32.h"
#include "skin/nc_calc_size_win32.h"
#include "skin/skin_font_win32.h"
#include "winmsg/colour.h"

namespace lumadex {

class cSkinCaption : public INCAreaModifier {
 public:
  cSkinCaption();
  // The frame goes with the painter: whatever the owner forgot to detach is detached here, so
  // the window never keeps a registration that points at a freed painter.
  ~cSkinCaption();
  cSkinCaption(const cSkinCaption&) = delete;
  cSkinCaption& operator=(const cSkinCaption&) = delete;

  void Detach();
  void Attach(HWND form, HBITMAP PicCaption, HBITMAP PicBorder, long lButtonWidth, long lButtonHeight,
              long lActiveLeftEnd, long lActiveRightStart, long lActiveRightEnd, long lInactiveOffset);

  Colour MenuBackgroundColor() const { return menuBackgroundColor_; }
  void SetMenuBackgroundColor(Colour c) { menuBackgroundColor_ = c; }
  Colour ActiveCaptionColor() const { return activeCaptionColor_; }
  void SetActiveCaptionColor(Colour c) { activeCaptionColor_ = c; }
  Colour InActiveCaptionColor() const { return inActiveCaptionColor_; }
  void SetInActiveCaptionColor(Colour c) { inActiveCaptionColor_ = c; }
  const std::shared_ptr<SkinFont>& CaptionFont() const { return captionFont_; }
  void SetCaptionFont(std::shared_ptr<SkinFont> f) { if (f) captionFont_ = std::move(f); }
  const std::shared_ptr<SkinFont>& MenuFont() const { return menuFont_; }
  void SetMenuFont(std::shared_ptr<SkinFont> f) { if (f) menuFont_ = std::move(f); }
  Colour ActiveMenuColor() const { return activeMenuColor_; }
  void SetActiveMenuColor(Colour c) { activeMenuColor_ = c; }
  Colour ActiveMenuColorOver() const { return activeMenuColorOver_; }
  void SetActiveMenuColorOver(Colour c) { activeMenuColorOver_ = c; }
  Colour InActiveMenuColor() const { return inActiveMenuColor_; }
  void SetInActiveMenuColor(Colour c) { inActiveMenuColor_ = c; }

  // INCAreaModifier
  HWND hWnd() const override { return hWnd_; }
  void GetTopMarginHeight(long& height) override;
  void GetLeftMarginWidth(long& width) override;
  void GetRightMarginWidth(long& width) override;
  void GetBottomMarginHeight(long& height) override;
  void NCPaint(HDC hDC, long lLeft, long lTop, long lRight, long lBottom) override;
  void HitTest(long x, long y, int& eHitTest) override;
  void NCMouseDown(long x, long y, bool& bHandled, HDC hDC, long lLeft, long lTop, long lRight,
                   long lBottom) override;
  void NCMouseUp(long x, long y, HDC hDC, long lLeft, long lTop, long lRight, long lBottom) override;
  void InitMenuPopup(WPARAM wParam, LPARAM lParam) override;
  void ExitMenuLoop() override;
  bool AltKeyAccelerator(UINT vKey) override;

  // The engine of the current attachment (null before the first Attach).
  cNCCalcSize* Engine() const { return engine_.get(); }
  // The menu strip of the current attachment (null before the first Attach).
  cMenuBar* MenuBar() const { return menuBar_.get(); }
  // The button rectangles of the last painting, in window coordinates, and their state.
  skin::Rect ButtonRect(skin::CaptionButton b) const { return buttons_[b]; }
  bool ButtonExists(skin::CaptionButton b) const { return exists_[b]; }
  bool ButtonPressed(skin::CaptionButton b) const { return pressed_[b]; }

 private:
  void DrawButton(HDC hDC, skin::CaptionButton b, bool pressed);
  bool Maximized() const;

  HWND hWnd_ = nullptr;
  std::unique_ptr<cMemDC> captionPic_, borderPic_, captionBuf_, sideBuf_;
  std::unique_ptr<cNCCalcSize> engine_;
  std::unique_ptr<cMenuBar> menuBar_;
  skin::SkinMetrics metrics_;

  Colour menuBackgroundColor_ = 0xFFFFFF;
  Colour activeCaptionColor_ = 0xCCCCCC;
  Colour inActiveCaptionColor_ = 0x999999;
  std::shared_ptr<SkinFont> captionFont_;
  std::shared_ptr<SkinFont> menuFont_;
  Colour activeMenuColor_ = 0;
  Colour activeMenuColorOver_ = 0;
  Colour inActiveMenuColor_ = 0x808080;

  skin::Rect buttons_[skin::kButtonCount];
  bool exists_[skin::kButtonCount] = {};
  bool pressed_[skin::kButtonCount] = {};
};

}  // namespace lumadex
