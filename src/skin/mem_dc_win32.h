// A memory device context holding a picture that only grows: painting code sets the size it
// needs every time and pays for a new picture only when a dimension exceeds what it already
// has. The picture is a 32-bit DIB, so what is copied in comes out exactly as it went in,
// whatever the display's depth.
#pragma once
#include <windows.h>

#include "winmsg/dib_surface_win32.h"

namespace lumadex {

class cMemDC {
 public:
  // Takes the size of the bitmap and copies its picture to the origin. A handle that is no
  // bitmap leaves the object as it was.
  void CreateFromPicture(HBITMAP sPic);

  // Null while either size is 0: a size alone is recorded, the picture waits for the other.
  HDC hDC() const { return surface_.dc(); }
  long Width() const { return width_; }
  long Height() const { return height_; }
  // A value not larger than the current one changes nothing; a larger one re-creates the
  // picture (its content is lost) with the other dimension kept.
  void SetWidth(long width);
  void SetHeight(long height);

 private:
  void Recreate(long width, long height);

  DibSurface surface_;
  long width_ = 0;
  long height_ = 0;
};

}  // namespace lumadex
