// The one owner of every platform handle that has a closing function: GDI objects, icons,
// memory device contexts, Internet handles, files and events all go through UniqueHandle
// with a traits type that names the handle, its empty value and how it is closed.
#pragma once
#include <windows.h>

#include <utility>

namespace lumadex {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Empty(); }

  // Closes the handle held (if any) and takes `handle` in its place.
  void reset(Handle handle = Traits::Empty()) noexcept {
    if (handle_ != Traits::Empty()) Traits::Close(handle_);
    handle_ = handle;
  }
  // Gives the handle up without closing it: the caller, or the system, owns it from now on
  // (a region set as a window's region, say).
  Handle release() noexcept { return std::exchange(handle_, Traits::Empty()); }
  // Closes now and tells whether the platform accepted it; a file's last write errors show
  // only here. True when nothing was held.
  bool close() noexcept {
    if (handle_ == Traits::Empty()) return true;
    return Traits::Close(std::exchange(handle_, Traits::Empty()));
  }

 private:
  Handle handle_ = Traits::Empty();
};

template <typename H>
struct GdiObjectTraits {
  using Handle = H;
  static constexpr Handle Empty() noexcept { return nullptr; }
  static bool Close(Handle h) noexcept { return DeleteObject(h) != FALSE; }
};

struct IconTraits {
  using Handle = HICON;
  static constexpr Handle Empty() noexcept { return nullptr; }
  static bool Close(Handle h) noexcept { return DestroyIcon(h) != FALSE; }
};

// A device context made with CreateCompatibleDC or CreateDC (not one from GetDC).
struct MemoryDcTraits {
  using Handle = HDC;
  static constexpr Handle Empty() noexcept { return nullptr; }
  static bool Close(Handle h) noexcept { return DeleteDC(h) != FALSE; }
};

// Events, threads and other kernel objects, whose empty value is null.
struct KernelObjectTraits {
  using Handle = HANDLE;
  static constexpr Handle Empty() noexcept { return nullptr; }
  static bool Close(Handle h) noexcept { return CloseHandle(h) != FALSE; }
};

// Files from CreateFile, whose empty value is INVALID_HANDLE_VALUE.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) noexcept { return CloseHandle(h) != FALSE; }
};

using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Pen = UniqueHandle<GdiObjectTraits<HPEN>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Region = UniqueHandle<GdiObjectTraits<HRGN>>;
using Icon = UniqueHandle<IconTraits>;
using MemoryDC = UniqueHandle<MemoryDcTraits>;
using KernelObject = UniqueHandle<KernelObjectTraits>;
using FileHandle = UniqueHandle<FileTraits>;

}  // namespace lumadex
