// The WinHTTP client, apart: <winhttp.h> and <wininet.h> cannot meet in one file.
#include <windows.h>
#include <winhttp.h>

#include <algorithm>

#include "client/bare_client.h"

namespace lumadex::bench {
namespace {

class WinHttpClient : public BareClient {
 public:
  WinHttpClient(const std::wstring& host, INTERNET_PORT port) {
    session_ = WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session_) Die("WinHttpOpen");
    connection_ = WinHttpConnect(session_, host.c_str(), port, 0);
    if (!connection_) Die("WinHttpConnect");
  }
  ~WinHttpClient() override {
    WinHttpCloseHandle(connection_);
    WinHttpCloseHandle(session_);
  }

  std::string Request(const wchar_t* method, const std::wstring& path, const std::wstring& headers,
                      const std::string& body) override {
    HINTERNET request = WinHttpOpenRequest(connection_, method, path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES, 0);
    if (!request) Die("WinHttpOpenRequest");
    if (!WinHttpSendRequest(request, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                            static_cast<DWORD>(headers.size()),
                            body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data()),
                            static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0) ||
        !WinHttpReceiveResponse(request, nullptr))
      Die("WinHttpSendRequest");
    // Whatever has arrived, as soon as it has, as the WinINet clients read.
    std::string received;
    char buffer[64 * 1024];
    for (DWORD available = 0; WinHttpQueryDataAvailable(request, &available) && available > 0;) {
      DWORD got = 0;
      if (!WinHttpReadData(request, buffer, std::min<DWORD>(available, sizeof buffer), &got) || got == 0) break;
      received.append(buffer, got);
    }
    WinHttpCloseHandle(request);
    return received;
  }

 private:
  HINTERNET session_ = nullptr;
  HINTERNET connection_ = nullptr;
};

}  // namespace

std::unique_ptr<BareClient> MakeWinHttpClient(const std::wstring& host, unsigned short port) {
  return std::make_unique<WinHttpClient>(host, port);
}

}  // namespace lumadex::bench
