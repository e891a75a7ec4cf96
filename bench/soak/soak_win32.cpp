// lumadex_soak HOST ALBUM FOLDER: signs in to the demo site on HOST with the demo account and
// downloads ALBUM through the real main window, noting every 1,000 photos the process's working
// set, kernel handles, GDI objects, windows and threads; then prints one line (soak_samples.h).
// Wine answers 0 to GetGuiResources, so GDI objects are counted through the program's imports
// (the tests' counter) and USER objects as the process's windows.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "album_window_win32.h"
#include "app/main_form_win32.h"
#include "app/program_start_win32.h"
#include "soak/soak_samples.h"
#include "support/gdi_count_win32.h"

namespace {

using lumadex::bench::SoakSample;

constexpr int kEvery = 1000;

std::int64_t ThreadsOfThisProcess() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  std::int64_t count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM counter) {
  ++*reinterpret_cast<std::int64_t*>(counter);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM counter) {
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process == GetCurrentProcessId()) {
    ++*reinterpret_cast<std::int64_t*>(counter);
    EnumChildWindows(hwnd, CountChild, counter);
  }
  return TRUE;
}

std::int64_t WindowsOfThisProcess() {
  std::int64_t count = 0;
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
  return count;
}

// Wine answers 0 to GetProcessHandleCount; there the open handles are found by asking about
// every handle value in turn (they are small multiples of four, handed out from the bottom).
std::int64_t KernelHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
  std::int64_t found = 0;
  for (std::uintptr_t value = 4; value < (1u << 18); value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++found;
  }
  return found;
}

PROCESS_MEMORY_COUNTERS Memory() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  return memory;
}

struct Soak {
  const lumadex::DownloadRun* run = nullptr;
  const lumadex::test::GdiCount* gdi = nullptr;
  std::vector<SoakSample> samples;
  int nextMark = kEvery;

  int Committed() const { return run->SavedPhotos() + run->FailedPhotos(); }
  void Take(int photos) {
    SoakSample s;
    s.photos = photos;
    s.workingSetMib = static_cast<double>(Memory().WorkingSetSize) / 1048576.0;
    s.handles = KernelHandles();
    s.gdi = gdi->Live();
    s.user = WindowsOfThisProcess();
    s.threads = ThreadsOfThisProcess();
    samples.push_back(s);
    std::fprintf(stderr, "soak: photos=%d working_set_mib=%.1f handles=%lld gdi=%lld user=%lld threads=%lld\n", photos,
                 s.workingSetMib, static_cast<long long>(s.handles), static_cast<long long>(s.gdi),
                 static_cast<long long>(s.user), static_cast<long long>(s.threads));
  }
  void Check() {
    while (Committed() >= nextMark) {
      Take(nextMark);
      nextMark += kEvery;
    }
  }
};
Soak* g_soak = nullptr;

// A thread timer: the run's own message wait dispatches it, as it does the window's timers.
void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) { g_soak->Check(); }

int Run(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: lumadex_soak HOST ALBUM FOLDER\n");
    return 2;
  }
  const std::wstring host = argv[1], album = argv[2], folder = argv[3];
  // Counting from before the window exists: its own objects are part of the level.
  const lumadex::test::GdiCount gdi;
  const auto window = lumadex::bench::AlbumWindow(host, album, folder);
  if (!window) return 1;
  lumadex::MainForm& form = *window;

  Soak soak;
  soak.run = &form.Run();
  soak.gdi = &gdi;
  g_soak = &soak;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, OnTick);
  form.NBtnDown().Click();
  KillTimer(nullptr, timer);
  soak.Check();
  // The last stretch of an album that is not a whole number of thousands.
  if (soak.Committed() > 0 && (soak.samples.empty() || soak.samples.back().photos != soak.Committed())) {
    soak.Take(soak.Committed());
  }
  g_soak = nullptr;

  const double peakMib = static_cast<double>(Memory().PeakWorkingSetSize) / 1048576.0;
  std::printf("%s\n", lumadex::bench::SoakLine(soak.run->SavedPhotos(), peakMib, soak.samples).c_str());
  if (soak.run->FailedPhotos() != 0 || soak.run->SavedPhotos() != soak.run->TotalPhotos()) {
    std::fprintf(stderr, "soak: %d of %d photos saved, %d failed\n", soak.run->SavedPhotos(), soak.run->TotalPhotos(),
                 soak.run->FailedPhotos());
    return 1;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  return lumadex::RunProgramThread([&] { return Run(argc, argv); });
}
