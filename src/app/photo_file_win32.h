// Saving a photo so that a failure never costs a good file: the bytes go to a temporary file
// in the same folder, which replaces the target only once it is complete.
#pragma once
#include <string>
#include <string_view>

namespace lumadex {

bool WritePhotoFile(const std::wstring& path, std::string_view bytes);
// True when `folder` is an existing folder in which a file can be created.
bool FolderAcceptsFiles(const std::wstring& folder);

}  // namespace lumadex
