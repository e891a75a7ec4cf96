#include "demo_catalog.h"

#include "gbk.h"

namespace lumadex::site {
namespace {

struct DemoAccount {
  const char* email;
  const char* password;
};

struct DemoAlbum {
  std::int64_t id;
  std::int64_t count;
  const char* title;
};

// One account that any keyboard can type, and one that only works if the client sends
// its Chinese password in GBK as the old site expected.
constexpr DemoAccount kAccounts[] = {
    {"demo@example.com", "demo"},
    {"测试@example.com", "校内密码"},
};

// One page, a short last page, two full pages, one large enough for benchmarks, and one
// as large as an album of a heavy user ever got.
constexpr DemoAlbum kAlbums[] = {
    {1001, 12, "毕业旅行"},
    {1002, 40, "大学时光"},
    {1003, 30, "家乡风景"},
    {1004, 1000, "手机随拍"},
    {1005, 10000, "十年存档"},
};

}  // namespace

void add_demo_set(Catalog& catalog) {
  for (const auto& d : kAccounts) {
    Account a;
    a.email = d.email;
    a.password = d.password;
    a.email_gbk = utf8_to_gbk(a.email).value_or(a.email);
    a.password_gbk = utf8_to_gbk(a.password).value_or(a.password);
    a.from_demo = true;
    bool taken = false;
    for (const auto& existing : catalog.accounts) taken = taken || existing.email == a.email;
    if (!taken) catalog.accounts.push_back(std::move(a));
  }
  for (const auto& d : kAlbums) {
    if (catalog.find_album(d.id)) continue;
    catalog.albums.push_back(Album{d.id, kDemoOwner, d.count, d.title, true});
  }
}

Catalog demo_catalog() {
  Catalog c;
  add_demo_set(c);
  return c;
}

}  // namespace lumadex::site
