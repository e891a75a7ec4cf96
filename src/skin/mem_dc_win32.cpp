#include "skin/mem_dc_win32.h"

namespace lumadex {

cMemDC::~cMemDC() { Release(); }

void cMemDC::CreateFromPicture(HBITMAP sPic) {
  BITMAP info{};
  if (!sPic || GetObjectW(sPic, sizeof info, &info) != sizeof info) return;
  SetWidth(info.bmWidth);
  SetHeight(info.bmHeight);
  if (!hDC_) return;
  HDC source = CreateCompatibleDC(hDC_);
  if (!source) return;
  HGDIOBJ old = SelectObject(source, sPic);
  BitBlt(hDC_, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void cMemDC::SetWidth(long width) {
  if (width > width_) Recreate(width, height_);
}

void cMemDC::SetHeight(long height) {
  if (height > height_) Recreate(width_, height);
}

void cMemDC::Recreate(long width, long height) {
  Release();
  width_ = width;
  height_ = height;
  // A bitmap with a side of 0 is no picture at all (the platform hands out a 1 x 1
  // monochrome one); the size is only recorded until the other side arrives.
  if (width <= 0 || height <= 0) return;
  HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  if (!display) {
    width_ = height_ = 0;
    return;
  }
  hDC_ = CreateCompatibleDC(display);
  bitmap_ = hDC_ ? CreateCompatibleBitmap(display, width, height) : nullptr;
  previous_ = bitmap_ ? SelectObject(hDC_, bitmap_) : nullptr;
  DeleteDC(display);
  if (!previous_ || previous_ == HGDI_ERROR) {
    previous_ = nullptr;
    Release();
  }
}

void cMemDC::Release() {
  if (hDC_ && previous_) SelectObject(hDC_, previous_);
  previous_ = nullptr;
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = 0;
  if (hDC_) DeleteDC(hDC_);
  hDC_ = nullptr;
}

}  // namespace lumadex
