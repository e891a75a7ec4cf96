// Where the site lives. The hosts are settings of the build; tests point them elsewhere.
#pragma once
#include <string>

namespace lumadex {

struct SiteHosts {
  std::wstring loginHost;  // serves /Login.do
  std::wstring mainHost;   // serves /getuser.do
  std::wstring photoHost;  // serves /getalbum.do
  std::wstring profileId;  // the profile page fetched after a sign-in

  static SiteHosts Built();
  // All three hosts on one host[:port], with the built profile id.
  static SiteHosts AllOn(const std::wstring& host);

  std::wstring LoginAddress() const { return L"http://" + loginHost + L"/Login.do"; }
  std::wstring ProfileAddress() const { return L"http://" + mainHost + L"/getuser.do?id=" + profileId; }
};

}  // namespace lumadex
