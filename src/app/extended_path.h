// Paths of any length for the platform's file calls. Without a prefix those calls refuse paths
// of MAX_PATH (260) characters or more, yet the folder dialog returns folders up to 32,767.
#pragma once
#include <string>
#include <string_view>

namespace lumadex {

// The "\\?\" form of an absolute path: "\\?\" before a drive path ("C:\..."), "\\?\UNC\" in
// place of the "\\" of a network path ("\\server\share\..."). That form reaches the file
// system as written, so `fullPath` must already be clean (backslashes only, no "." or ".."
// parts, no doubled separators). A path already in a "\\?\" or "\\.\" form, and anything that
// is not an absolute path, is returned unchanged.
std::wstring ExtendedLengthPath(std::wstring_view fullPath);

}  // namespace lumadex
