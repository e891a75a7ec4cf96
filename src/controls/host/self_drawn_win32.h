// The program's own controls draw their whole surface themselves: no background is erased
// under them, and the screen and WM_PRINTCLIENT get the same picture.
#pragma once
#include <windows.h>

#include "winmsg/gdi_win32.h"
#include "winmsg/window_base_win32.h"

namespace lumadex {

class SelfDrawnWindow : public WindowBase {
 protected:
  // The whole picture, onto the window's own device context or the one WM_PRINTCLIENT brings;
  // whatever it changes in that context it puts back.
  virtual void PaintTo(HDC dc) = 0;
  // Every message but the three of painting, one handler each; what a control does not handle
  // goes to DefaultHandling.
  virtual LRESULT HandleControlMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) final {
    switch (msg) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PaintScope paint(hwnd());
        if (paint.dc()) PaintTo(paint.dc());
        return 0;
      }
      case WM_PRINTCLIENT:
        if (wp) PaintTo(reinterpret_cast<HDC>(wp));
        return 0;
    }
    return HandleControlMessage(msg, wp, lp);
  }
};

}  // namespace lumadex
