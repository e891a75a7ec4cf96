// Asking the user for a folder (the save folder of the downloads).
#pragma once
#include <windows.h>

#include <string>

namespace lumadex {

// Shows the shell's folder dialog over `owner` with `prompt` above the tree. Returns the chosen
// folder's path, or L"" when the user cancels, picks something that is no folder on a disk
// (such as "Network"), or anything fails.
std::wstring BrowseForFolder(HWND owner, const std::wstring& prompt);

}  // namespace lumadex
