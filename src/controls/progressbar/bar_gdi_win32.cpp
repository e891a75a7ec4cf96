#include "controls/progressbar/bar_gdi_win32.h"

namespace lumadex {
namespace {

GdiWatch* g_watch = nullptr;

}  // namespace

void SetGdiWatch(GdiWatch* watch) { g_watch = watch; }
GdiWatch* CurrentGdiWatch() { return g_watch; }

BackBuffer::BackBuffer(int width, int height) : width_(width), height_(height) {
  HDC screen = GetDC(nullptr);
  if (!screen) return;
  dc_ = CreateCompatibleDC(screen);
  if (dc_ && g_watch) g_watch->Created(dc_);
  bitmap_ = WatchedObject<HBITMAP>(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  if (dc_ && bitmap_) oldBitmap_ = SelectObject(dc_, bitmap_.get());
}

BackBuffer::~BackBuffer() {
  if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_);
  bitmap_.reset();
  if (dc_) {
    const bool deleted = DeleteDC(dc_) != FALSE;
    if (g_watch) g_watch->Deleted(dc_, deleted);
  }
}

}  // namespace lumadex
