#include "services/replace_file.h"

#include <windows.h>

namespace lumadex {
namespace {

bool FlushToDisk(const std::filesystem::path& name) {
  const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool flushed = FlushFileBuffers(file) != FALSE;
  CloseHandle(file);
  return flushed;
}

}  // namespace

bool ReplaceFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (!FlushToDisk(from)) return false;
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace lumadex
