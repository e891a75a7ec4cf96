#include "app/photo_file_win32.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "app/extended_path.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {
namespace {

// Absolute and clean ("/" as "\", "." and ".." resolved, doubled separators gone, as the file
// calls would make it), then in the form that works at any length. Input of any length is
// resolved; should that fail the path goes on as given.
std::wstring LongFormOf(const std::wstring& path) {
  std::wstring full(32768, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return ExtendedLengthPath(path);
  full.resize(length);
  return ExtendedLengthPath(full);
}

// A drive's root keeps its backslash ("\\?\C:\"); any other folder loses a trailing one, so
// that names can be joined to it with exactly one.
std::wstring WithoutTrailingSeparator(std::wstring folder) {
  while (folder.size() > 1 && folder.back() == L'\\' && folder[folder.size() - 2] != L':') folder.pop_back();
  return folder;
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// Creates a new, empty, uniquely named file in `folder` (already in its long form) and opens
// it for writing; the name is empty when none can be made.
std::wstring CreateTemporaryIn(const std::wstring& folder, FileHandle& file) {
  static std::atomic<unsigned> counter{0};
  const unsigned long stamp = GetTickCount() ^ (GetCurrentProcessId() << 16);
  for (int attempt = 0; attempt < 16; ++attempt) {
    wchar_t unique[32];
    std::swprintf(unique, 32, L"lmx%08lx%04x.tmp", stamp, counter.fetch_add(1) & 0xFFFF);
    std::wstring name = Join(folder, unique);
    file.reset(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return name;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return {};
}

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
  const std::wstring target = LongFormOf(path);
  FileHandle file;
  const std::wstring temporary = CreateTemporaryIn(FolderOf(target), file);
  if (temporary.empty()) return false;
  const bool written = WriteAll(file.get(), bytes);
  bool ok = file.close() && written;
  // The move is what keeps a good file whole: the target is only ever replaced by a file
  // that was written completely. Forcing every photo to the disk as well would cost more
  // than the download itself and protect only against a power cut.
  ok = ok && MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!ok) DeleteFileW(temporary.c_str());
  return ok;
}

bool FolderAcceptsFiles(const std::wstring& folder) {
  const std::wstring longFolder = WithoutTrailingSeparator(LongFormOf(folder));
  const DWORD attributes = GetFileAttributesW(longFolder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  FileHandle file;
  const std::wstring probe = CreateTemporaryIn(longFolder, file);
  if (probe.empty()) return false;
  file.close();
  DeleteFileW(probe.c_str());
  return true;
}

}  // namespace lumadex
