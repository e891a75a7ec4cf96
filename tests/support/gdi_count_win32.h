// Counts the GDI objects, device contexts and icons that the code of this test program creates
// and does not give back, for leak tests: Wine's GetGuiResources always answers 0, so the
// program's own imports of the creating and deleting calls are routed through counters while a
// GdiCount lives. A region handed to a window with SetWindowRgn belongs to the window from
// then on and is no longer counted.
#pragma once
#include <windows.h>

namespace lumadex::test {

class GdiCount {
 public:
  GdiCount();  // counting starts at zero
  ~GdiCount();
  GdiCount(const GdiCount&) = delete;
  GdiCount& operator=(const GdiCount&) = delete;

  // Objects created since the start and neither deleted nor handed to a window.
  int Live() const;
  // Of one kind (OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION, OBJ_MEMDC, OBJ_DC…).
  int Live(DWORD kind) const;
  // Everything created since the start (shows that counting sees the code at all).
  int Created() const;
  // Regions a window accepted.
  int HandedOver() const;
  // Deletions the platform refused or that left the handle valid, and deletions or hand-overs
  // of objects not created since the start (a double delete, say).
  int BadDeletes() const;
};

}  // namespace lumadex::test
