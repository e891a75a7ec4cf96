#include "support/gdi_count_win32.h"

#include <map>
#include <string_view>

namespace lumadex::test {
namespace {

struct Entry {
  DWORD kind = 0;
  int references = 0;  // a window's device context may be handed out again before it is released
};

struct Counts {
  std::map<void*, Entry> live;
  int created = 0, handedOver = 0, badDeletes = 0;
};
Counts* g_counts = nullptr;

void Made(void* handle) {
  if (!g_counts || !handle) return;
  Entry& entry = g_counts->live[handle];
  entry.kind = GetObjectType(handle);
  ++entry.references;
  ++g_counts->created;
}

// `done`: what the platform answered. A GDI object it still knows afterwards was not deleted,
// whatever it said.
void Gone(void* handle, bool done, bool gdiObject) {
  if (!g_counts || !handle) return;
  const auto it = g_counts->live.find(handle);
  if (!done || it == g_counts->live.end()) {
    ++g_counts->badDeletes;
    return;
  }
  if (--it->second.references > 0) return;
  g_counts->live.erase(it);
  if (gdiObject && GetObjectType(handle) != 0) ++g_counts->badDeletes;
}

void HandedOver(void* region) {
  if (!g_counts || !region) return;
  ++g_counts->handedOver;
  const auto it = g_counts->live.find(region);
  if (it == g_counts->live.end()) {
    ++g_counts->badDeletes;
    return;
  }
  g_counts->live.erase(it);
}

#define LUMADEX_HOOK(ret, name, params, args, after) \
  using name##_t = ret(WINAPI*) params;              \
  name##_t real_##name = nullptr;                    \
  ret WINAPI hook_##name params {                    \
    ret result = real_##name args;                   \
    after;                                           \
    return result;                                   \
  }

LUMADEX_HOOK(HBRUSH, CreateSolidBrush, (COLORREF c), (c), Made(result))
LUMADEX_HOOK(HPEN, CreatePen, (int s, int w, COLORREF c), (s, w, c), Made(result))
LUMADEX_HOOK(HDC, CreateCompatibleDC, (HDC dc), (dc), Made(result))
LUMADEX_HOOK(BOOL, DeleteDC, (HDC dc), (dc), Gone(dc, result != FALSE, true))
LUMADEX_HOOK(HBITMAP, CreateDIBSection, (HDC dc, const BITMAPINFO* bi, UINT u, void** bits, HANDLE s, DWORD o),
             (dc, bi, u, bits, s, o), Made(result))
LUMADEX_HOOK(HBITMAP, CreateCompatibleBitmap, (HDC dc, int w, int h), (dc, w, h), Made(result))
LUMADEX_HOOK(HBITMAP, CreateDIBitmap, (HDC dc, const BITMAPINFOHEADER* h, DWORD f, const void* b, const BITMAPINFO* bi, UINT u),
             (dc, h, f, b, bi, u), Made(result))
LUMADEX_HOOK(HFONT, CreateFontIndirectW, (const LOGFONTW* lf), (lf), Made(result))
LUMADEX_HOOK(HRGN, CreatePolygonRgn, (const POINT* p, int n, int m), (p, n, m), Made(result))
LUMADEX_HOOK(HRGN, CreateRectRgn, (int a, int b, int c, int d), (a, b, c, d), Made(result))
LUMADEX_HOOK(HRGN, CreateRoundRectRgn, (int a, int b, int c, int d, int e, int f), (a, b, c, d, e, f), Made(result))
LUMADEX_HOOK(BOOL, DeleteObject, (HGDIOBJ o), (o), Gone(o, result != FALSE, true))
LUMADEX_HOOK(int, SetWindowRgn, (HWND w, HRGN r, BOOL redraw), (w, r, redraw), if (result) HandedOver(r))
LUMADEX_HOOK(HICON, CreateIconIndirect, (PICONINFO i), (i), Made(result))
LUMADEX_HOOK(HICON, CreateIconFromResourceEx, (PBYTE b, DWORD n, BOOL i, DWORD v, int x, int y, UINT f),
             (b, n, i, v, x, y, f), Made(result))
LUMADEX_HOOK(BOOL, DestroyIcon, (HICON i), (i), Gone(i, result != FALSE, false))
LUMADEX_HOOK(BOOL, GetIconInfo, (HICON i, PICONINFO info), (i, info), if (result) {
  Made(info->hbmColor);
  Made(info->hbmMask);
})
LUMADEX_HOOK(HDC, GetDC, (HWND w), (w), Made(result))
LUMADEX_HOOK(HDC, GetWindowDC, (HWND w), (w), Made(result))
LUMADEX_HOOK(int, ReleaseDC, (HWND w, HDC dc), (w, dc), Gone(dc, result != 0, false))

struct Hook {
  const char* name;
  void* hook;
  void** real;
};

#define LUMADEX_ENTRY(name) \
  Hook { #name, reinterpret_cast<void*>(&hook_##name), reinterpret_cast<void**>(&real_##name) }

const Hook kHooks[] = {
    LUMADEX_ENTRY(CreateSolidBrush),   LUMADEX_ENTRY(CreatePen),          LUMADEX_ENTRY(CreateCompatibleDC),
    LUMADEX_ENTRY(DeleteDC),           LUMADEX_ENTRY(CreateDIBSection),   LUMADEX_ENTRY(CreateCompatibleBitmap),
    LUMADEX_ENTRY(CreateDIBitmap),     LUMADEX_ENTRY(CreateFontIndirectW), LUMADEX_ENTRY(CreatePolygonRgn),
    LUMADEX_ENTRY(CreateRectRgn),      LUMADEX_ENTRY(CreateRoundRectRgn), LUMADEX_ENTRY(DeleteObject),
    LUMADEX_ENTRY(SetWindowRgn),       LUMADEX_ENTRY(CreateIconIndirect), LUMADEX_ENTRY(CreateIconFromResourceEx),
    LUMADEX_ENTRY(DestroyIcon),        LUMADEX_ENTRY(GetIconInfo),        LUMADEX_ENTRY(GetDC),
    LUMADEX_ENTRY(GetWindowDC),        LUMADEX_ENTRY(ReleaseDC),
};

// Points the program's own import slots of the calls above at the counters, once.
void InstallHooks() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return;
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (!imp->OriginalFirstThunk) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      const std::string_view name(reinterpret_cast<const char*>(byName->Name));
      for (const Hook& h : kHooks) {
        if (name != h.name) continue;
        DWORD old = 0;
        VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
        *h.real = reinterpret_cast<void*>(slots->u1.Function);
        slots->u1.Function = reinterpret_cast<ULONG_PTR>(h.hook);
        VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
      }
    }
  }
}

}  // namespace

GdiCount::GdiCount() {
  InstallHooks();
  delete g_counts;
  g_counts = new Counts();
}

GdiCount::~GdiCount() {
  delete g_counts;
  g_counts = nullptr;
}

int GdiCount::Live() const {
  int n = 0;
  for (const auto& [handle, entry] : g_counts->live) n += entry.references;
  return n;
}

int GdiCount::Live(DWORD kind) const {
  int n = 0;
  for (const auto& [handle, entry] : g_counts->live) n += entry.kind == kind ? entry.references : 0;
  return n;
}

int GdiCount::Created() const { return g_counts->created; }
int GdiCount::HandedOver() const { return g_counts->handedOver; }
int GdiCount::BadDeletes() const { return g_counts->badDeletes; }

}  // namespace lumadex::test
