// lumadex_download_bench HOST ALBUM FOLDER: signs in to the demo site on HOST with the demo
// account and downloads ALBUM through the real main window, then prints one line of figures.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "app/main_form_win32.h"
#include "app/program_start_win32.h"
#include "cpu_time_win32.h"

using lumadex::bench::ProcessCpuSeconds;


namespace {

int Run(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: lumadex_download_bench HOST ALBUM FOLDER\n");
    return 2;
  }
  const std::wstring host = argv[1], album = argv[2], folder = argv[3];
  CreateDirectoryW(folder.c_str(), nullptr);

  lumadex::MainForm form(GetModuleHandleW(nullptr), lumadex::SiteHosts::AllOn(host));
  form.Create(SW_SHOWNORMAL, false);
  form.SetText(L"email", L"demo@example.com");
  form.SetText(L"password", L"demo");
  form.NBtnLogin().Click();
  if (form.Text(L"LoginInfo") != L"登录成功，请配置相册信息") {
    std::fprintf(stderr, "sign-in failed\n");
    return 1;
  }
  form.SetText(L"albumURLTxt", L"http://" + host + L"/getalbum.do?id=" + album + L"&owner=222300001");
  form.SetText(L"DirPathTxt", folder);

  const double cpuBefore = ProcessCpuSeconds();
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  form.NBtnDown().Click();
  QueryPerformanceCounter(&end);
  const double wall = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  const double cpu = ProcessCpuSeconds() - cpuBefore;

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("album=%ls photos=%d saved=%d failed=%d seconds=%.3f photos_per_second=%.1f cpu_seconds=%.3f "
              "peak_working_set_mib=%.1f\n",
              album.c_str(), form.TotalPhotos, form.SavedPhotos, form.FailedPhotos, wall,
              form.SavedPhotos / (wall > 0 ? wall : 1), cpu, memory.PeakWorkingSetSize / 1048576.0);
  return form.FailedPhotos == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  return lumadex::RunProgramThread([&] { return Run(argc, argv); });
}
