// A memory device context with a bitmap compatible with the display. The bitmap only grows:
// painting code sets the size it needs every time and pays for a new bitmap only when a
// dimension exceeds what it already has.
#pragma once
#include <windows.h>

namespace lumadex {

class cMemDC {
 public:
  cMemDC() = default;
  ~cMemDC();
  cMemDC(const cMemDC&) = delete;
  cMemDC& operator=(const cMemDC&) = delete;

  // Takes the size of the bitmap and copies its picture to the origin. A handle that is no
  // bitmap leaves the object as it was.
  void CreateFromPicture(HBITMAP sPic);

  // Null while either size is 0: a size alone is recorded, the bitmap waits for the other.
  HDC hDC() const { return hDC_; }
  long Width() const { return width_; }
  long Height() const { return height_; }
  // A value not larger than the current one changes nothing; a larger one re-creates the
  // bitmap (its content is lost) with the other dimension kept.
  void SetWidth(long width);
  void SetHeight(long height);

 private:
  void Recreate(long width, long height);
  void Release();

  HDC hDC_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  long width_ = 0;
  long height_ = 0;
};

}  // namespace lumadex
