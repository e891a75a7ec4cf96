// Signing in to the site: the form is posted, the answer judged by a marker in the page, and a
// success unlocks the album and mode groups and remembers (or forgets) the sign-in details.
#include <chrono>

#include "app/main_form_win32.h"
#include "app/ui_texts.h"
#include "services/ansi_win32.h"
#include "services/get_html_win32.h"
#include "services/url_encode.h"
#include "winmsg/message_pump_win32.h"
#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

constexpr int kMaxLoginRequests = 4;
constexpr auto kLoginTimeout = std::chrono::seconds(60);

}  // namespace

void MainForm::OnLoginClick() {
  // A second press while the answer is awaited would start a second sign-in on top of it.
  if (signingIn_) return;
  // Taken once: what is sent is what a success remembers, whatever happens to the boxes later.
  const LoginDetails details{Text(L"email"), Text(L"password"), IsChecked(L"CheckUser")};
  if (details.email.empty() || details.password.empty()) {
    SetText(L"LoginInfo", texts::kLoginEmpty);
    SetFocus(Control(details.email.empty() ? L"email" : L"password"));
    return;
  }
  SetText(L"LoginInfo", texts::kLoginStarted);
  loginTries_ = 0;
  // Ends the wait however XNLogin leaves, so that the boxes and the button never stay locked.
  struct WaitScope {
    MainForm& form;
    explicit WaitScope(MainForm& f) : form(f) { form.BeginSignInWait(); }
    ~WaitScope() { form.EndSignInWait(); }
  } wait(*this);
  try {
    XNLogin(hosts_.LoginAddress(), details);
  } catch (const std::exception&) {
    // A sign-in that broke off has not succeeded.
    ReportCallbackFailure(L"the sign-in");
    EndSignInWait();
    SetText(L"LoginInfo", texts::kLoginNetworkFailed);
  }
}

// While the answer is awaited the window goes on handling input: the details already sent must
// not change under it. The boxes come back as they were once the answer is in.
void MainForm::BeginSignInWait() {
  signingIn_ = true;
  focusBeforeSignIn_ = GetFocus();
  for (const wchar_t* name : {L"email", L"password", L"CheckUser"}) SetEnabled(name, false);
}

void MainForm::EndSignInWait() {
  if (!signingIn_) return;
  signingIn_ = false;
  for (const wchar_t* name : {L"email", L"password", L"CheckUser"}) SetEnabled(name, true);
  // Disabling the box that had the focus took it away; give it back unless another took it.
  if (GetActiveWindow() == hwnd() && GetFocus() == nullptr) FocusFirstUsable(focusBeforeSignIn_);
  focusBeforeSignIn_ = nullptr;
}

// Each value is escaped on its own, so that "&", "=", "%" and "+" in a password reach the
// site as typed instead of cutting the form apart.
void MainForm::XNLogin(const std::wstring& url, const LoginDetails& details) {
  const std::string body = "email=" + UrlEncodeFormValue(WideToAnsi(details.email), IsAnsiLeadByte) +
                           "&password=" + UrlEncodeFormValue(WideToAnsi(details.password), IsAnsiLeadByte);
  for (;;) {
    ++loginTries_;
    HttpResponse response;
    bool answered = false;
    try {
      response = signInPoster_ ? signInPoster_(url, body)
                               : HttpRequest(L"POST", url, L"CONTENT-TYPE: application/x-www-form-urlencoded\r\n",
                                             body, kLoginTimeout);
      answered = response.status == 200;
    } catch (const FetchError& error) {
      if (error.kind() == FetchErrorKind::Cancelled) return;  // the program is ending
    } catch (const std::exception&) {
      // Whatever kept the request from going out, it goes the way of an unanswered one.
      ReportCallbackFailure(L"a sign-in request");
    }
    if (!answered) {
      if (!ProcessPendingMessages()) return;
      if (loginTries_ < kMaxLoginRequests) continue;
      SetText(L"LoginInfo", texts::kLoginNetworkFailed);
      return;
    }
    const std::wstring page = Utf8ToWide(response.body);
    EndSignInWait();
    if (page.empty() || IsLoginSuccess(page)) {
      AfterLogin(details);
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

// A failing step ends the sequence quietly; the steps before it stay done: the groups are
// unlocked first, the details saved before the profile page is asked for.
void MainForm::AfterLogin(const LoginDetails& details) {
  SetText(L"LoginInfo", texts::kLoginSucceeded);
  SetEnabled(L"FrameUser", false);
  SetEnabled(L"FrameAblum", true);
  SetEnabled(L"FrameMode", true);
  SetEnabled(L"NewModeContainer", true);
  SetFocus(Control(L"albumURLTxt"));
  try {
    std::optional<SignInDetails> remembered;
    if (details.remember) remembered = SignInDetails{WideToAnsi(details.email), WideToAnsi(details.password)};
    WriteRememberedSignIn(settings_, remembered, IsAnsiLeadByte);
    settings_.SaveFile(settingsFile_);
    FetchText(hosts_.ProfileAddress(), "UTF-8");
  } catch (const FileCfgError&) {
    ReportCallbackFailure(L"remembering the sign-in");
  } catch (const FetchError&) {
    ReportCallbackFailure(L"the profile page after a sign-in");
  }
}

}  // namespace lumadex
