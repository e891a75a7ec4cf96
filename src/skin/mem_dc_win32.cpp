#include "skin/mem_dc_win32.h"

#include "winmsg/gdi_win32.h"

namespace lumadex {

void cMemDC::CreateFromPicture(HBITMAP sPic) {
  BITMAP info{};
  if (!sPic || GetObjectW(sPic, sizeof info, &info) != sizeof info) return;
  SetWidth(info.bmWidth);
  SetHeight(info.bmHeight);
  if (!surface_) return;
  MemoryDC source(CreateCompatibleDC(surface_.dc()));
  if (!source) return;
  ScopedSelect picture(source.get(), sPic);
  surface_.CopyFrom(source.get(), 0, 0, info.bmWidth, info.bmHeight);
}

void cMemDC::SetWidth(long width) {
  if (width > width_) Recreate(width, height_);
}

void cMemDC::SetHeight(long height) {
  if (height > height_) Recreate(width_, height);
}

void cMemDC::Recreate(long width, long height) {
  // The old picture goes first: two full-size pictures are never held at once.
  surface_ = DibSurface();
  width_ = width;
  height_ = height;
  // A side of 0 makes no picture at all; the size is only recorded until the other arrives.
  if (width <= 0 || height <= 0) return;
  surface_ = DibSurface(static_cast<int>(width), static_cast<int>(height));
  if (!surface_) width_ = height_ = 0;
}

}  // namespace lumadex
