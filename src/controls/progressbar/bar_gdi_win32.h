// The GDI objects the progress bar makes, each with one owner, and a process-wide watch that
// is told of every creation and deletion. The watch lets tests count what the bar leaves
// behind: the platform's own object counts are not available everywhere the tests run.
#pragma once
#include <windows.h>

#include <utility>

namespace lumadex {

class GdiWatch {
 public:
  virtual ~GdiWatch() = default;
  virtual void Created(HGDIOBJ object) = 0;
  // After DeleteObject or DeleteDC; `deleted` is what the call returned.
  virtual void Deleted(HGDIOBJ object, bool deleted) = 0;
  // The object now belongs to the system (a window region set with SetWindowRgn).
  virtual void HandedOver(HGDIOBJ object) = 0;
};

// Null: nobody watches. The watch must outlive its installation.
void SetGdiWatch(GdiWatch* watch);
GdiWatch* CurrentGdiWatch();

// An owned pen, brush, font, bitmap or region. A null handle (a failed creation) is not
// reported.
template <typename Handle>
class WatchedObject {
 public:
  WatchedObject() = default;
  explicit WatchedObject(Handle handle) : handle_(handle) {
    if (handle_ && CurrentGdiWatch()) CurrentGdiWatch()->Created(handle_);
  }
  WatchedObject(WatchedObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  WatchedObject& operator=(WatchedObject&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  WatchedObject(const WatchedObject&) = delete;
  WatchedObject& operator=(const WatchedObject&) = delete;
  ~WatchedObject() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset() {
    if (!handle_) return;
    const bool deleted = DeleteObject(handle_) != FALSE;
    if (CurrentGdiWatch()) CurrentGdiWatch()->Deleted(handle_, deleted);
    handle_ = nullptr;
  }
  // Gives the object up to the system, which deletes it from then on.
  Handle handOver() {
    if (handle_ && CurrentGdiWatch()) CurrentGdiWatch()->HandedOver(handle_);
    return std::exchange(handle_, nullptr);
  }

 private:
  Handle handle_ = nullptr;
};

// A memory device context holding one bitmap for its whole life: the bitmap is selected in
// on creation and put back out before either is deleted.
class BackBuffer {
 public:
  BackBuffer() = default;
  BackBuffer(int width, int height);
  ~BackBuffer();
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  explicit operator bool() const { return dc_ != nullptr && bitmap_; }

 private:
  HDC dc_ = nullptr;
  WatchedObject<HBITMAP> bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace lumadex
