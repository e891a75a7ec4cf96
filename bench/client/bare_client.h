// What the bare benchmark clients share.
#pragma once
#include <memory>
#include <string>

namespace lumadex::bench {

inline constexpr wchar_t kAgent[] = L"Mozilla/4.0 (compatible; Lumadex)";

// One way of using the platform: sends a request over the client's one connection and
// returns the body.
class BareClient {
 public:
  virtual ~BareClient() = default;
  virtual std::string Request(const wchar_t* method, const std::wstring& path, const std::wstring& headers,
                              const std::string& body) = 0;
};

// WinHTTP with one session, which keeps the cookies itself.
std::unique_ptr<BareClient> MakeWinHttpClient(const std::wstring& host, unsigned short port);

// Reports what failed, with the thread's last error, and ends the process.
[[noreturn]] void Die(const char* what);

}  // namespace lumadex::bench
