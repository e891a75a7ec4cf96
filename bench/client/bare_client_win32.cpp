// lumadex_bare_client MODE HOST PATHS FOLDER: signs in to the demo site on HOST (host:port)
// with the demo account, then GETs every path listed in PATHS (one a line) in order, one at a
// time over one kept-alive connection, keeping page bodies in memory and writing every photo
// (a path under /photos/) to FOLDER as the program does. Nothing else: no threads, no
// window, no parsing. Prints one line of figures for the GETs (the sign-in is not timed).
//
// MODE is how the platform is used:
//   wininet-store  WinINet keeping the cookies in its own store (the program's old way)
//   wininet-jar    WinINet without its cookie store; the sign-in cookie sent by the client
//   winhttp        WinHTTP with one session, which keeps the cookies itself
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "client/bare_client.h"
#include "cpu_time_win32.h"

namespace lumadex::bench {

void Die(const char* what) {
  std::fprintf(stderr, "lumadex_bare_client: %s (error %lu)\n", what, GetLastError());
  std::exit(1);
}

}  // namespace lumadex::bench

namespace {

using lumadex::bench::BareClient;
using lumadex::bench::Die;

constexpr char kSignIn[] = "email=demo%40example.com&password=demo";
constexpr wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded\r\n";

double Now() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  for (size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<unsigned char>(text[i]);
  return wide;
}

void WriteFileWhole(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Die("cannot create a photo file");
  DWORD written = 0;
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written != bytes.size())
    Die("cannot write a photo file");
  CloseHandle(file);
}

// --- WinINet -------------------------------------------------------------------------------

class WinInetClient : public BareClient {
 public:
  WinInetClient(const std::wstring& host, INTERNET_PORT port, bool ownCookies) : ownCookies_(ownCookies) {
    session_ = InternetOpenW(lumadex::bench::kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session_) Die("InternetOpen");
    connection_ = InternetConnectW(session_, host.c_str(), port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection_) Die("InternetConnect");
  }
  ~WinInetClient() override {
    InternetCloseHandle(connection_);
    InternetCloseHandle(session_);
  }

  std::string Request(const wchar_t* method, const std::wstring& path, const std::wstring& headers,
                      const std::string& body) override {
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_UI |
                        (ownCookies_ ? INTERNET_FLAG_NO_COOKIES : 0);
    HINTERNET request = HttpOpenRequestW(connection_, method, path.c_str(), nullptr, nullptr, nullptr, flags, 0);
    if (!request) Die("HttpOpenRequest");
    std::wstring all = headers;
    if (ownCookies_ && !cookie_.empty()) all += L"Cookie: " + cookie_ + L"\r\n";
    if (!HttpSendRequestW(request, all.empty() ? nullptr : all.c_str(), static_cast<DWORD>(all.size()),
                          body.empty() ? nullptr : const_cast<char*>(body.data()), static_cast<DWORD>(body.size())))
      Die("HttpSendRequest");
    if (ownCookies_) {
      char value[1024];
      DWORD size = sizeof value, index = 0;
      if (HttpQueryInfoA(request, HTTP_QUERY_SET_COOKIE, value, &size, &index)) {
        std::string text(value, size);
        cookie_ = Widen(text.substr(0, text.find(';')));
      }
    }
    // Read as the program reads: whatever has arrived, as soon as it has.
    std::string received;
    char buffer[64 * 1024];
    for (DWORD available = 0; InternetQueryDataAvailable(request, &available, 0, 0) && available > 0;) {
      DWORD got = 0;
      if (!InternetReadFile(request, buffer, std::min<DWORD>(available, sizeof buffer), &got) || got == 0) break;
      received.append(buffer, got);
    }
    InternetCloseHandle(request);
    return received;
  }

 private:
  bool ownCookies_;
  HINTERNET session_ = nullptr;
  HINTERNET connection_ = nullptr;
  std::wstring cookie_;
};

int Run(BareClient& client, const std::string& mode, const std::vector<std::string>& paths, const std::wstring& folder) {
  const std::string home = client.Request(L"POST", L"/Login.do", kFormHeader, kSignIn);
  if (home.find("<body id=\"home\"") == std::string::npos) {
    std::fprintf(stderr, "lumadex_bare_client: sign-in failed\n");
    return 1;
  }
  const double cpuBefore = lumadex::bench::ProcessCpuSeconds();
  const double start = Now();
  int photos = 0;
  unsigned long long bytes = 0;
  for (const std::string& path : paths) {
    const std::string body = client.Request(L"GET", Widen(path), L"", {});
    bytes += body.size();
    if (path.rfind("/photos/", 0) == 0) WriteFileWhole(folder + L"\\" + std::to_wstring(++photos) + L".jpg", body);
  }
  const double seconds = Now() - start;
  const double cpu = lumadex::bench::ProcessCpuSeconds() - cpuBefore;
  std::printf("client=%s requests=%zu photos=%d bytes=%llu seconds=%.3f ms_per_request=%.3f cpu_seconds=%.3f\n",
              mode.c_str(), paths.size(), photos, bytes, seconds, seconds * 1000 / static_cast<double>(paths.size()),
              cpu);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: lumadex_bare_client wininet-store|wininet-jar|winhttp HOST PATHS FOLDER\n");
    return 2;
  }
  const std::wstring modeWide = argv[1], hostPort = argv[2], folder = argv[4];
  const std::string mode(modeWide.begin(), modeWide.end());
  const size_t colon = hostPort.rfind(L':');
  const std::wstring host = hostPort.substr(0, colon);
  const auto port = static_cast<INTERNET_PORT>(colon == std::wstring::npos ? 80 : _wtoi(hostPort.c_str() + colon + 1));

  std::vector<std::string> paths;
  std::ifstream list(argv[3]);
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) paths.push_back(line);
  }
  if (paths.empty()) Die("no paths to request");
  CreateDirectoryW(folder.c_str(), nullptr);

  if (mode == "wininet-store" || mode == "wininet-jar") {
    WinInetClient client(host, port, mode == "wininet-jar");
    return Run(client, mode, paths, folder);
  }
  if (mode == "winhttp") {
    const auto client = lumadex::bench::MakeWinHttpClient(host, port);
    return Run(*client, mode, paths, folder);
  }
  std::fprintf(stderr, "lumadex_bare_client: unknown mode %s\n", mode.c_str());
  return 2;
}
