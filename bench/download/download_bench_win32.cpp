// lumadex_download_bench HOST ALBUM FOLDER: signs in to the demo site on HOST with the demo
// account and downloads ALBUM through the real main window, then prints one line of figures:
// time, CPU, peak memory, and how long the window's messages waited to be handled during
// the run (another thread posts one to the window every 10 ms).
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "album_window_win32.h"
#include "app/main_form_win32.h"
#include "app/program_start_win32.h"
#include "cpu_time_win32.h"

using lumadex::bench::ProcessCpuSeconds;

namespace {

// A message number of the benchmark's own, seen by its subclass before the window's procedure.
constexpr UINT kProbeMessage = WM_APP + 0x3A5;
constexpr UINT_PTR kProbeSubclassId = 0x4C554D41;
constexpr size_t kMostProbes = 1 << 20;

double Now() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Posts a numbered message to the window every 10 ms and notes when each was posted; the
// window's subclass notes how long each waited until the window got to it.
class MessageDelayProbe {
 public:
  explicit MessageDelayProbe(HWND hwnd) : hwnd_(hwnd), posted_(kMostProbes) {
    SetWindowSubclass(hwnd_, Proc, kProbeSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  ~MessageDelayProbe() { RemoveWindowSubclass(hwnd_, Proc, kProbeSubclassId); }

  void Start() {
    thread_ = std::thread([this] {
      timeBeginPeriod(1);
      double next = Now();
      for (size_t i = 0; i < kMostProbes && !stop_; ++i) {
        posted_[i] = Now();
        PostMessageW(hwnd_, kProbeMessage, static_cast<WPARAM>(i), 0);
        next += 0.010;
        const double wait = next - Now();
        if (wait > 0) Sleep(static_cast<DWORD>(wait * 1000 + 0.5));
      }
      timeEndPeriod(1);
    });
  }
  void Stop() {
    stop_ = true;
    thread_.join();
    // Handles what is still queued, so the last messages count too.
    MSG msg;
    while (PeekMessageW(&msg, hwnd_, kProbeMessage, kProbeMessage, PM_REMOVE)) DispatchMessageW(&msg);
  }

  // The delay below which `share` of the messages were handled, in milliseconds.
  double Percentile(double share) {
    if (delays_.empty()) return 0;
    std::sort(delays_.begin(), delays_.end());
    const size_t at = std::min(delays_.size() - 1, static_cast<size_t>(share * static_cast<double>(delays_.size())));
    return delays_[at] * 1000;
  }
  size_t count() const { return delays_.size(); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (msg == kProbeMessage) {
      auto* self = reinterpret_cast<MessageDelayProbe*>(data);
      if (wParam < kMostProbes) self->delays_.push_back(Now() - self->posted_[wParam]);
      return 0;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  }

  HWND hwnd_;
  std::vector<std::atomic<double>> posted_;
  std::vector<double> delays_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace


namespace {

int Run(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: lumadex_download_bench HOST ALBUM FOLDER\n");
    return 2;
  }
  const std::wstring host = argv[1], album = argv[2], folder = argv[3];
  const auto window = lumadex::bench::AlbumWindow(host, album, folder);
  if (!window) return 1;
  lumadex::MainForm& form = *window;

  MessageDelayProbe probe(form.hwnd());
  const double cpuBefore = ProcessCpuSeconds();
  probe.Start();
  const double start = Now();
  form.NBtnDown().Click();
  const double wall = Now() - start;
  const double cpu = ProcessCpuSeconds() - cpuBefore;
  probe.Stop();

  const lumadex::DownloadRun& run = form.Run();
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("album=%ls photos=%d saved=%d failed=%d seconds=%.3f photos_per_second=%.1f cpu_seconds=%.3f "
              "peak_working_set_mib=%.1f peak_private_mib=%.1f message_delay_p50_ms=%.2f message_delay_p99_ms=%.2f "
              "message_delay_max_ms=%.2f messages=%zu\n",
              album.c_str(), run.TotalPhotos(), run.SavedPhotos(), run.FailedPhotos(), wall,
              run.SavedPhotos() / (wall > 0 ? wall : 1), cpu, memory.PeakWorkingSetSize / 1048576.0,
              memory.PeakPagefileUsage / 1048576.0, probe.Percentile(0.5), probe.Percentile(0.99), probe.Percentile(1.0),
              probe.count());
  return run.FailedPhotos() == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  return lumadex::RunProgramThread([&] { return Run(argc, argv); });
}
