#include "support/unix_shell_win32.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "support/form_harness_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex::test {
namespace {

std::wstring FromUtf8(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return wide;
}

}  // namespace

std::string UnixPathOf(const std::wstring& path) {
  using Mapper = char*(CDECL*)(LPCWSTR);
  const auto toUnix =
      reinterpret_cast<Mapper>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* unix = toUnix(path.c_str());
  if (!unix) return {};
  // The host's paths are UTF-8 bytes; so are the commands that name them.
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::optional<int> RunShell(const std::string& command, std::chrono::milliseconds limit) {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring statusFile = std::wstring(temp) + L"lumadex-shell-" + std::to_wstring(GetCurrentProcessId()) +
                                  L"-" + std::to_wstring(counter++) + L".status";
  DeleteFileW(statusFile.c_str());
  const std::string statusUnix = UnixPathOf(statusFile);
  if (statusUnix.empty()) return std::nullopt;
  // Written under another name and renamed, so that a half-written status is never read.
  const std::string script = "(" + command + ") >/dev/null 2>&1; echo $? >" + ShellQuoted(statusUnix + ".part") +
                             " && mv " + ShellQuoted(statusUnix + ".part") + " " + ShellQuoted(statusUnix);
  std::string escaped;
  for (char c : script) {
    if (c == '"' || c == '\\') escaped += '\\';
    escaped += c;
  }
  // Wine hands the arguments to a Unix program in UTF-8, as the host's paths are.
  std::wstring line = L"/bin/sh -c \"" + FromUtf8(escaped) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return std::nullopt;
  if (process.hProcess) CloseHandle(process.hProcess);
  if (process.hThread) CloseHandle(process.hThread);
  std::optional<int> status;
  PumpUntil(
      [&] {
        const FileHandle file(
            CreateFileW(statusFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        char text[16] = {};
        DWORD got = 0;
        if (!file || !::ReadFile(file.get(), text, sizeof text - 1, &got, nullptr) || got == 0) return false;
        status = std::atoi(text);
        return true;
      },
      limit);
  DeleteFileW(statusFile.c_str());
  return status;
}

}  // namespace lumadex::test
