#include "services/http_session_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <initializer_list>
#include <string>

#include "services/get_html_win32.h"
#include "support/scripted_server_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::HttpAnswer;
using test::ScriptedServer;

constexpr wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded\r\n";

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A request head that starts with `start` and holds every one of `present` and none of `absent`.
void ExpectHead(const std::string& head, const std::string& start, std::initializer_list<const char*> present,
                std::initializer_list<const char*> absent = {}) {
  EXPECT_EQ(head.rfind(start, 0), 0u) << head;
  for (const char* part : present) EXPECT_TRUE(Has(head, part)) << part << " in " << head;
  for (const char* part : absent) EXPECT_FALSE(Has(head, part)) << part << " in " << head;
}

struct RegistryKeyTraits {
  using Handle = HKEY;
  static constexpr Handle Empty() noexcept { return nullptr; }
  static bool Close(Handle h) noexcept { return RegCloseKey(h) == ERROR_SUCCESS; }
};
using RegistryKey = UniqueHandle<RegistryKeyTraits>;

// The request path of a request head: "GET /a?b HTTP/1.1" gives "/a?b".
std::string Target(const std::string& head) {
  const size_t start = head.find(' ') + 1;
  return head.substr(start, head.find(' ', start) - start);
}

// Sets the system's proxy, the way the Internet settings dialog stores it, for the life of
// the object; the program's session is reopened on both sides so that it reads the
// settings in force.
class SystemProxy {
 public:
  explicit SystemProxy(const std::wstring& server) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    key_.reset(key);
    enable_ = ReadValue(L"ProxyEnable");
    server_ = ReadValue(L"ProxyServer");
    override_ = ReadValue(L"ProxyOverride");
    const DWORD on = 1;
    RegSetValueExW(key_.get(), L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    SetString(L"ProxyServer", server);
    RegDeleteValueW(key_.get(), L"ProxyOverride");
    ReopenInternetSession();
  }
  SystemProxy(const SystemProxy&) = delete;
  SystemProxy& operator=(const SystemProxy&) = delete;
  ~SystemProxy() {
    Restore(L"ProxyEnable", enable_);
    Restore(L"ProxyServer", server_);
    Restore(L"ProxyOverride", override_);
    ReopenInternetSession();
  }

 private:
  struct Value {
    DWORD type = 0;
    std::string bytes;
  };
  static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

  std::optional<Value> ReadValue(const wchar_t* name) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key_.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    Value value{type, std::string(size, '\0')};
    RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value.bytes.data()), &size);
    return value;
  }
  void SetString(const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  void Restore(const wchar_t* name, const std::optional<Value>& value) {
    if (!value) {
      RegDeleteValueW(key_.get(), name);
      return;
    }
    RegSetValueExW(key_.get(), name, 0, value->type, reinterpret_cast<const BYTE*>(value->bytes.data()),
                   static_cast<DWORD>(value->bytes.size()));
  }

  RegistryKey key_;
  std::optional<Value> enable_, server_, override_;
};

TEST(HttpSession, RequestsGoThroughTheSystemProxy) {
  ForgetCookies();
  // Stands in for a campus proxy: it answers for any host, and sets a cookie the way the
  // site behind it would.
  ScriptedServer proxy([](const std::string& head) {
    if (Has(head, "/Login.do")) return HttpAnswer("200 OK", "Set-Cookie: xnsid=via-proxy; path=/\r\n", "<body id=\"home\">");
    return HttpAnswer("200 OK", "Content-Type: text/html; charset=utf-8\r\n", "<p>\xE7\x9B\xB8\xE5\x86\x8C</p>");
  });
  SystemProxy settings(L"127.0.0.1:" + std::to_wstring(proxy.port()));

  // The host does not exist: only a proxy can answer for it.
  const HttpResponse signIn =
      HttpRequest(L"POST", L"http://login.proxy-test.invalid/Login.do", kFormHeader, "email=a&password=b", 10s);
  EXPECT_EQ(signIn.status, 200u);
  EXPECT_EQ(FetchText(L"http://login.proxy-test.invalid/getalbum.do?id=1", "UTF-8", 10s), L"<p>\u76f8\u518c</p>");

  const auto heads = proxy.heads();
  ASSERT_EQ(heads.size(), 2u);
  // The whole address goes to the proxy (with or without the default port written out).
  for (const std::string& head : heads) {
    EXPECT_TRUE(Has(head, "Host: login.proxy-test.invalid\r\n")) << head;
    EXPECT_TRUE(Has(head.substr(0, head.find("\r\n")), " http://login.proxy-test.invalid")) << head;
  }
  // The cookie follows the site's host, not the proxy's.
  ExpectHead(heads[0], "POST ", {"/Login.do HTTP/1."}, {"Cookie:"});
  ExpectHead(heads[1], "GET ", {"/getalbum.do?id=1 HTTP/1.", "Cookie: xnsid=via-proxy\r\n"});
  ForgetCookies();
}

TEST(HttpSession, RedirectsKeepTheirCookiesButNeverCarryThemToAnotherHost) {
  ForgetCookies();
  unsigned short port = 0;
  ScriptedServer site([&port](const std::string& head) {
    const std::string target = Target(head);
    if (target == "/Login.do")
      return HttpAnswer("302 Found", "Set-Cookie: sid=42; path=/\r\nLocation: /home.do?from=login\r\n", "");
    if (target == "/home.do?from=login")
      return HttpAnswer("302 Found", "Location: http://localhost:" + std::to_string(port) + "/elsewhere.do\r\n", "");
    return HttpAnswer("200 OK", "", "arrived");
  });
  port = site.port();
  const std::wstring base = L"http://127.0.0.1:" + std::to_wstring(port);

  const HttpResponse answer = HttpRequest(L"POST", base + L"/Login.do", kFormHeader, "email=a&password=b", 10s);
  EXPECT_EQ(answer.status, 200u);
  EXPECT_EQ(answer.body, "arrived");
  EXPECT_TRUE(answer.complete);

  const auto heads = site.heads();
  ASSERT_EQ(heads.size(), 3u);
  ExpectHead(heads[0], "POST /Login.do ", {}, {"Cookie:"});
  // A redirect after a POST is followed with a GET that carries the cookie it set...
  ExpectHead(heads[1], "GET /home.do?from=login ", {"Cookie: sid=42\r\n"}, {"Content-Type:"});
  // ...and "localhost" is another host, even on the same machine and port.
  ExpectHead(heads[2], "GET /elsewhere.do ", {"Host: localhost:"}, {"Cookie:"});

  // The cookie stays for later requests to its own host, until it is forgotten.
  FetchText(base + L"/later.do", "UTF-8", 10s);
  ForgetCookies();
  FetchText(base + L"/after.do", "UTF-8", 10s);
  const auto later = site.heads();
  ASSERT_EQ(later.size(), 5u);
  EXPECT_TRUE(Has(later[3], "Cookie: sid=42\r\n")) << later[3];
  EXPECT_FALSE(Has(later[4], "Cookie:")) << later[4];
}

TEST(HttpSession, ALaterSetCookieReplacesTheCookieSent) {
  ForgetCookies();
  int served = 0;
  ScriptedServer site([&served](const std::string&) {
    ++served;
    if (served == 1) return HttpAnswer("200 OK", "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2; path=/\r\n", "one");
    if (served == 2) return HttpAnswer("200 OK", "Set-Cookie: a=3; path=/\r\nSet-Cookie: b=; Max-Age=0; path=/\r\n", "two");
    return HttpAnswer("200 OK", "", "three");
  });
  const std::wstring base = L"http://127.0.0.1:" + std::to_wstring(site.port());
  for (const wchar_t* page : {L"/1", L"/2", L"/3"}) FetchText(base + page, "UTF-8", 10s);
  const auto heads = site.heads();
  ASSERT_EQ(heads.size(), 3u);
  EXPECT_FALSE(Has(heads[0], "Cookie:"));
  EXPECT_TRUE(Has(heads[1], "Cookie: a=1; b=2\r\n")) << heads[1];
  EXPECT_TRUE(Has(heads[2], "Cookie: a=3\r\n")) << heads[2];
  ForgetCookies();
}

}  // namespace
}  // namespace lumadex
