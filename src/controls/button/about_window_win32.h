// The button's About window. It is made hidden, as a child of the button that owns it; shown,
// it stands on its own as a topmost window with a caption, a sizing frame and a minimise box,
// and a click anywhere on it hides it again. It goes when its button goes.
#pragma once
#include <windows.h>

#include <memory>

#include "controls/host/self_drawn_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex::button {

class AboutWindow final : public SelfDrawnWindow {
 public:
  // Hidden, inside `button`; null when the window cannot be made.
  static std::unique_ptr<AboutWindow> Create(HWND button);

  // Shows the window, centred over the button's top-level window, in front of every other.
  void Show();
  void Hide();
  LONG_PTR StyleAtCreation() const { return styleAtCreation_; }
  bool ClosePressed() const { return pressed_; }

 private:
  AboutWindow() = default;
  LRESULT HandleControlMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void PaintTo(HDC dc) override;
  void SetPressed(bool pressed);

  LONG_PTR styleAtCreation_ = 0;
  bool pressed_ = false;
  Font nameFont_, textFont_, underlinedFont_;
};

}  // namespace lumadex::button
