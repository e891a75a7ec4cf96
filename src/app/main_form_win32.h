// The program's only window. It owns the whole state of the program: the settings file, the
// sign-in, the download run and all controls.
#pragma once
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/download_run.h"
#include "app/download_run_win32.h"
#include "app/main_form_settings.h"
#include "app/site_hosts.h"
#include "controls/button/skin_button_win32.h"
#include "controls/progressbar/progress_bar_win32.h"
#include "services/file_cfg.h"
#include "services/get_html_win32.h"
#include "skin/skin_caption_win32.h"
#include "winmsg/unique_handle_win32.h"
#include "winmsg/window_base_win32.h"

namespace lumadex {

// Where the window finds the site and its settings file.
struct MainFormOptions {
  SiteHosts hosts = SiteHosts::Built();
  // A relative path is taken against the working folder.
  std::filesystem::path settingsFile = kSettingsFileName;
};

// What one press of the sign-in button sends, and what a success then remembers.
struct LoginDetails {
  std::wstring email;
  std::wstring password;
  bool remember = false;
};

class MainForm final : public WindowBase, private RunWindow {
 public:
  explicit MainForm(HINSTANCE instance, MainFormOptions options = {});
  ~MainForm() override;

  // Creates and shows the window. With quitOnDestroy the thread's message loop ends with it.
  bool Create(int showCommand, bool quitOnDestroy = true);
  int RunMessageLoop();

  // A control by its name, e.g. L"email" or L"FrameUser"; null for an unknown name.
  HWND Control(std::wstring_view name) const;
  std::wstring Text(std::wstring_view name) const;
  void SetText(std::wstring_view name, const std::wstring& text);
  bool IsChecked(std::wstring_view name) const;

  SkinButton& NBtnLogin() { return *buttons_.at(L"NBtnLogin"); }
  SkinButton& NBtnDown() { return *buttons_.at(L"NBtnDown"); }
  SkinButton& NBtnClip() { return *buttons_.at(L"NBtnClip"); }
  SkinButton& NBtnFile() { return *buttons_.at(L"NBtnFile"); }
  ProgressBar& NicePressBar() { return *progress_; }
  bool TimerEnabled() const { return timerEnabled_; }
  // The painter of the window's frame; null when the skin pictures could not be loaded.
  cSkinCaption* Caption() const { return caption_.get(); }

  // The download run: Downloading and the counters, read by the handlers that run in the
  // middle of a fetch.
  const DownloadRun& Run() const { return run_; }
  const FileCFG& Settings() const { return settings_; }
  std::int16_t LoginTries() const { return loginTries_; }

  // Sign-in (main_form_login_win32.cpp).
  void XNLogin(const std::wstring& url, const LoginDetails& details);
  static bool IsLoginSuccess(std::wstring_view resText);
  void AfterLogin(const LoginDetails& details);
  // Posts the sign-in form (address, escaped body). Tests put their own in place to reach
  // failures that no site can cause; an empty function restores the real one.
  using SignInPoster = std::function<HttpResponse(const std::wstring& url, const std::string& body)>;
  void SetSignInPosterForTesting(SignInPoster poster) { signInPoster_ = std::move(poster); }

  // The progress timer's tick: the bar follows the run's counters.
  void TimerTick();

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The window's own handling of its standard controls' messages (main_form_keys_win32.cpp).
  static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT HandleControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp);
  static constexpr UINT_PTR kControlSubclassId = 1;

  void CreateControls();
  void CreateTooltips();
  void Load();
  void EnsureSettingsFile();
  // Frame (main_form_caption_win32.cpp).
  void AttachCaption();
  void SetupCaption(cSkinCaption& painter);
  void Activate();
  void OnActivate(WPARAM wp);
  void OnCommand(HWND control, UINT code);
  void OnMinimized();
  void OnTrayMouse(int mouseMessage);
  bool OnCloseRequest();

  void OnLoginClick();
  void OnDownClick();
  void OnClipClick();
  void OnFileClick();
  void ChooseMode(std::wstring_view option);
  void SetChecked(std::wstring_view name, bool checked);
  void SetEnabled(std::wstring_view name, bool enabled);
  void SetVisible(std::wstring_view name, bool visible);
  void MoveFocus(HWND from, bool backwards);
  void SetTimerEnabled(bool enabled);
  DownloadMode SelectedMode() const;
  NamingScheme SelectedScheme() const;
  void BeginSignInWait();
  void EndSignInWait();
  void FocusFirstUsable(HWND preferred);

  // RunWindow: what the download run sees of the window.
  RunSettings ReadSettings() const override;
  void ShowStatus(const std::wstring& text) override;
  void ShowButtonCaption(const wchar_t* caption) override;
  void ShowProgress(int percent) override;
  void EnableModeBoxes(bool enabled) override;
  void ShowBalloon(const wchar_t* text) override;
  void RunTimer(bool running) override;

  HINSTANCE instance_;
  const SiteHosts hosts_;
  const std::filesystem::path settingsFile_;
  FileCFG settings_;
  SiteOverHttp site_;
  DownloadRun run_;
  bool quitOnDestroy_ = true;
  bool timerEnabled_ = false;

  // The sign-in being answered, and where the focus goes back to once it is.
  bool signingIn_ = false;
  HWND focusBeforeSignIn_ = nullptr;
  std::int16_t loginTries_ = 0;
  SignInPoster signInPoster_;

  // Whether the remembered details are still to be filled in at the next activation, and where
  // the focus was when the window last lost it.
  bool activationPending_ = true;
  HWND focusBeforeDeactivation_ = nullptr;

  HWND tooltip_ = nullptr;  // owned by the window, destroyed with it

  std::map<std::wstring, HWND, std::less<>> controls_;
  std::map<HWND, std::wstring> names_;
  std::map<std::wstring, std::unique_ptr<SkinButton>, std::less<>> buttons_;
  std::unique_ptr<ProgressBar> progress_;
  Font defaultFont_, fixedFont_, namingFont_;
  Bitmap picCaption_, picBorder_;
  std::unique_ptr<cSkinCaption> caption_;
};

}  // namespace lumadex
