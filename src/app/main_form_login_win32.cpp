// Signing in to the site: the form is posted, the answer judged by a marker in the page, and a
// success unlocks the album and mode groups and remembers (or forgets) the sign-in details.
#include <chrono>

#include "app/main_form_win32.h"
#include "app/ui_texts.h"
#include "services/ansi_win32.h"
#include "services/get_html_win32.h"
#include "services/mod_crypt.h"
#include "services/url_encode.h"
#include "winmsg/message_pump_win32.h"

namespace lumadex {
namespace {

constexpr int kMaxLoginRequests = 4;
constexpr auto kLoginTimeout = std::chrono::seconds(60);
constexpr char kSettingsFile[] = "Lumadex.ini";

}  // namespace

void MainForm::OnLoginClick() {
  // A second press while the answer is awaited would start a second sign-in on top of it.
  if (signingIn_) return;
  const std::wstring email = Text(L"email");
  const std::wstring password = Text(L"password");
  if (email.empty() || password.empty()) {
    SetText(L"LoginInfo", texts::kLoginEmpty);
    SetFocus(Control(email.empty() ? L"email" : L"password"));
    return;
  }
  SetText(L"LoginInfo", texts::kLoginStarted);
  LoginTries = 0;
  signingIn_ = true;
  XNLogin(hosts_.LoginAddress(), email, password);
  signingIn_ = false;
}

// Each value is escaped on its own, so that "&", "=", "%" and "+" in a password reach the
// site as typed instead of cutting the form apart.
void MainForm::XNLogin(const std::wstring& url, const std::wstring& email, const std::wstring& password) {
  const std::string body = "email=" + UrlEncodeFormValue(WideToAnsi(email), IsAnsiLeadByte) +
                           "&password=" + UrlEncodeFormValue(WideToAnsi(password), IsAnsiLeadByte);
  for (;;) {
    ++LoginTries;
    HttpResponse response;
    bool answered = false;
    try {
      response = HttpRequest(L"POST", url, L"CONTENT-TYPE: application/x-www-form-urlencoded\r\n", body,
                             kLoginTimeout);
      answered = response.status == 200;
    } catch (const FetchError& error) {
      if (error.kind() == FetchErrorKind::Cancelled) return;  // the program is ending
    }
    if (!answered) {
      if (!ProcessPendingMessages()) return;
      if (LoginTries < kMaxLoginRequests) continue;
      SetText(L"LoginInfo", texts::kLoginNetworkFailed);
      return;
    }
    const std::wstring page = Utf8ToWide(response.body);
    if (page.empty() || IsLoginSuccess(page)) {
      AfterLogin();
      return;
    }
    SetText(L"LoginInfo", texts::kLoginRejected);
    HWND emailBox = Control(L"email");
    SetFocus(emailBox);
    SendMessageW(emailBox, EM_SETSEL, 0, 100);
    SetEnabled(L"FrameAblum", false);
    SetEnabled(L"FrameMode", false);
    SetEnabled(L"FrameUser", true);
    return;
  }
}

bool MainForm::IsLoginSuccess(std::wstring_view resText) {
  return resText.find(texts::kLoginSuccessMarker) != std::wstring_view::npos;
}

// A failing step ends the sequence quietly; the steps before it stay done.
void MainForm::AfterLogin() {
  try {
    SetText(L"LoginInfo", texts::kLoginSucceeded);
    SetEnabled(L"FrameUser", false);
    SetEnabled(L"FrameAblum", true);
    SetEnabled(L"FrameMode", true);
    SetEnabled(L"NewModeContainer", true);
    SetFocus(Control(L"albumURLTxt"));
    if (IsChecked(L"CheckUser")) {
      Settings.WriteValue(Encipher(WideToAnsi(Text(L"email")), texts::kCredentialKey, IsAnsiLeadByte), "1");
      Settings.WriteValue(Encipher(WideToAnsi(Text(L"password")), texts::kCredentialKey, IsAnsiLeadByte), "2");
      Settings.WriteValue("T", "3");
    } else {
      Settings.WriteValue("", "1");
      Settings.WriteValue("", "2");
      Settings.WriteValue("F", "3");
    }
    Settings.SaveFile(kSettingsFile);
    FetchText(hosts_.ProfileAddress(), "UTF-8");
  } catch (...) {
  }
}

}  // namespace lumadex
