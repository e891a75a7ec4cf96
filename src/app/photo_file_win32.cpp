#include "app/photo_file_win32.h"

#include <windows.h>

namespace lumadex {
namespace {

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A new, empty, uniquely named file in the folder; empty when none can be made.
std::wstring CreateTemporaryIn(const std::wstring& folder) {
  wchar_t name[MAX_PATH + 1] = {};
  if (folder.size() >= MAX_PATH - 14 || GetTempFileNameW(folder.c_str(), L"lmx", 0, name) == 0) return {};
  return name;
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool close() {
    if (!valid()) return true;
    const bool ok = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool WritePhotoFile(const std::wstring& path, std::string_view bytes) {
  const std::wstring temporary = CreateTemporaryIn(FolderOf(path));
  if (temporary.empty()) return false;
  bool ok = false;
  {
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    ok = file.valid() && WriteAll(file.get(), bytes) && file.close();
  }
  // The move is what keeps a good file whole: the target is only ever replaced by a file
  // that was written completely. Forcing every photo to the disk as well would cost more
  // than the download itself and protect only against a power cut.
  ok = ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!ok) DeleteFileW(temporary.c_str());
  return ok;
}

bool FolderAcceptsFiles(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  const std::wstring probe = CreateTemporaryIn(folder);
  if (probe.empty()) return false;
  DeleteFileW(probe.c_str());
  return true;
}

}  // namespace lumadex
