// The Windows tests' line to the demo site's control channel: a small HTTP/1.0 client on
// plain Winsock, so that what it reports does not depend on the WinINet code under test.
// Every call throws std::runtime_error when the site cannot be reached or answers with a
// status other than 200.
#pragma once
#include <string>
#include <vector>

namespace lumadex::test {

// host:port of the demo site: LUMADEX_TEST_SITE, else 127.0.0.1:18080.
std::string SiteHost();
// L"http://" + SiteHost() + pathAndQuery, for the code under test.
std::wstring SiteUrl(const std::string& pathAndQuery);

// Replaces the site's configuration (which also clears its log and sessions).
void SiteConfigure(const std::string& configText);
void SiteResetLog();
// As a restarted site: every session cookie handed out so far stops working.
void SiteForgetSessions();
// One line per request the site served since the log was last cleared.
std::vector<std::string> SiteLog();
// The JPEG the site serves as photo n of the album.
std::string SitePhotoBytes(int album, int n);
// The raw body of a GET, for comparisons (no cookie is sent).
std::string SiteGet(const std::string& pathAndQuery);

}  // namespace lumadex::test
