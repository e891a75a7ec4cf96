// lumadex_fetch_bench HOST [COUNT [PAGE]]: against the demo site on HOST (host:port), loads
// the demo set, signs in with the demo account and fetches one page COUNT times (default
// 2000; PAGE defaults to an album page of album 1004) in a row, from a UI thread with a
// window and a 100 ms timer as the program has. Prints what one fetch costs: requests per
// second, and the CPU time the UI thread spends in each wait.
#include <windows.h>

#include <cstdio>
#include <string>

#include "services/ansi_win32.h"
#include "services/get_html_win32.h"
#include "services/worker_pool_win32.h"

#include "cpu_time_win32.h"

using lumadex::bench::ProcessCpuSeconds;
using lumadex::bench::ThreadCpuSeconds;

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kDefaultPage[] = L"/getalbum.do?id=1004&owner=222300001&curpage=3";
constexpr wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded\r\n";

int g_ticks = 0;

LRESULT CALLBACK BenchWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    ++g_ticks;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}




double Now() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: lumadex_fetch_bench HOST [COUNT [PAGE]]\n");
    return 2;
  }
  const std::wstring site = L"http://" + std::wstring(argv[1]);
  const int count = argc >= 3 ? _wtoi(argv[2]) : 2000;
  const std::wstring path = argc >= 4 ? argv[3] : kDefaultPage;
  if (count <= 0) {
    std::fprintf(stderr, "COUNT must be a positive number\n");
    return 2;
  }

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BenchWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LumadexFetchBench";
  RegisterClassExW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"fetch bench", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, wc.hInstance, nullptr);
  SetTimer(window, 1, 100, nullptr);

  const std::wstring page = site + path;
  size_t pageBytes = 0;
  try {
    lumadex::HttpRequest(L"POST", site + L"/_ctl/config", L"", "demo\n", 10s);
    const auto signIn =
        lumadex::HttpRequest(L"POST", site + L"/Login.do", kFormHeader, "email=demo%40example.com&password=demo", 10s);
    if (signIn.status != 200) {
      std::fprintf(stderr, "sign-in answered %u\n", signIn.status);
      return 1;
    }
    // Warm-up: the connection, the worker thread, WinINet's first-use costs.
    for (int i = 0; i < 20; ++i) pageBytes = lumadex::WideToUtf8(lumadex::FetchText(page, "UTF-8")).size();
  } catch (const lumadex::FetchError& error) {
    std::fprintf(stderr, "setup failed: %s\n", error.what());
    return 1;
  }

  int failures = 0, wrongPages = 0;
  g_ticks = 0;
  const double uiCpuBefore = ThreadCpuSeconds();
  const double processCpuBefore = ProcessCpuSeconds();
  const double start = Now();
  for (int i = 0; i < count; ++i) {
    try {
      const std::wstring text = lumadex::FetchText(page, "UTF-8");
      // A signed-out page would measure the wrong thing.
      if (text.find(L"Logout.do") == std::wstring::npos) ++wrongPages;
    } catch (const lumadex::FetchError& error) {
      if (failures++ == 0) std::fprintf(stderr, "fetch failed: %s\n", error.what());
    }
  }
  const double wall = Now() - start;
  const double uiCpu = ThreadCpuSeconds() - uiCpuBefore;
  const double processCpu = ProcessCpuSeconds() - processCpuBefore;
  KillTimer(window, 1);
  DestroyWindow(window);

  std::printf("page          %s (%zu bytes)\n", lumadex::WideToUtf8(path).c_str(), pageBytes);
  std::printf("requests      %d in %.3f s, %d failed, %d wrong pages\n", count, wall, failures, wrongPages);
  std::printf("rate          %.0f requests/s, %.3f ms each\n", count / wall, wall * 1000 / count);
  std::printf("UI thread     %.1f us CPU per wait, %.2f %% of wall time\n", uiCpu * 1e6 / count,
              100 * uiCpu / wall);
  std::printf("process       %.2f %% of one CPU (workers and WinINet included)\n", 100 * processCpu / wall);
  std::printf("timer ticks   %d handled during the run (%.0f due)\n", g_ticks, wall * 10);
  std::printf("idle workers  %d\n", lumadex::IdleWorkerCount());
  std::printf("lumadex_fetch_bench: %d x %zu B, %.0f req/s, UI CPU %.1f us/wait = %.2f %% of wall, %s\n", count,
              pageBytes, count / wall, uiCpu * 1e6 / count, 100 * uiCpu / wall,
              failures == 0 && wrongPages == 0 && uiCpu / wall < 0.05 ? "OK" : "NOT OK");
  return failures == 0 && wrongPages == 0 ? 0 : 1;
}
