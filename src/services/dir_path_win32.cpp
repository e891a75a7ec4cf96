#include "services/dir_path_win32.h"

#include <shlobj.h>

#include <memory>
#include <vector>

#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

struct ItemListFree {
  void operator()(ITEMIDLIST* item) const { CoTaskMemFree(item); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

// Paths longer than MAX_PATH exist on NTFS; the long buffer keeps them whole.
constexpr DWORD kPathBufferLength = 32768;

}  // namespace

std::wstring BrowseForFolder(HWND owner, const std::wstring& prompt) {
  try {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const ItemList item(SHBrowseForFolderW(&info));
    if (!item) return {};
    std::vector<wchar_t> path(kPathBufferLength, L'\0');
    if (!SHGetPathFromIDListEx(item.get(), path.data(), kPathBufferLength, GPFIDL_DEFAULT)) return {};
    return std::wstring(path.data());
  } catch (const std::exception&) {
    // The caller gets an empty folder, as for a cancelled dialog.
    ReportCallbackFailure(L"the folder dialog");
    return {};
  }
}

}  // namespace lumadex
