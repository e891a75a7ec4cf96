// The program's only window. It owns the whole state of the program: the settings file, the
// sign-in, the download run and its counters, and all controls.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/album_plan.h"
#include "app/photo_naming.h"
#include "app/site_hosts.h"
#include "controls/button/skin_button_win32.h"
#include "controls/progressbar/progress_bar_win32.h"
#include "services/file_cfg.h"
#include "services/get_html_win32.h"
#include "skin/skin_caption_win32.h"
#include "winmsg/gdi_win32.h"

namespace lumadex {

// What one press of the sign-in button sends, and what a success then remembers.
struct LoginDetails {
  std::wstring email;
  std::wstring password;
  bool remember = false;
};

class MainForm {
 public:
  explicit MainForm(HINSTANCE instance, SiteHosts hosts = SiteHosts::Built());
  ~MainForm();
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // Creates and shows the window. With quitOnDestroy the thread's message loop ends with it.
  bool Create(int showCommand, bool quitOnDestroy = true);
  int RunMessageLoop();

  HWND hwnd() const { return hwnd_; }
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

  // The window's state, read by the handlers that run in the middle of a fetch.
  FileCFG Settings;
  bool Downloading = false;
  int TotalPhotos = 0;
  int DonePhotos = 0;
  int SavedPhotos = 0;
  int FailedPhotos = 0;
  std::wstring SaveFolder;
  std::int16_t LoginTries = 0;

  // Sign-in (main_form_login_win32.cpp).
  void XNLogin(const std::wstring& url, const LoginDetails& details);
  static bool IsLoginSuccess(std::wstring_view resText);
  void AfterLogin(const LoginDetails& details);
  // Posts the sign-in form (address, escaped body). Tests put their own in place to reach
  // failures that no site can cause; an empty function restores the real one.
  using SignInPoster = std::function<HttpResponse(const std::wstring& url, const std::string& body)>;
  void SetSignInPosterForTesting(SignInPoster poster) { signInPoster_ = std::move(poster); }

  // Download run (main_form_download_win32.cpp).
  void DownloadAlbum();
  void SavePhoto(const std::wstring& address);
  void TimerTick();

 private:
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp);

  void CreateControls();
  void CreateTooltips();
  void Load();
  // Frame (main_form_caption_win32.cpp).
  void AttachCaption();
  void SetupCaption(cSkinCaption& painter);
  void Activate();
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
  void EnableModeBoxes();
  void EndRunWithFailure();
  DownloadMode SelectedMode() const;
  NamingScheme SelectedScheme() const;
  void BeginSignInWait();
  void EndSignInWait();
  void FocusFirstUsable(HWND preferred);

  HINSTANCE instance_;
  SiteHosts hosts_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  bool quitOnDestroy_ = true;
  bool activationPending_ = true;
  HWND focusBeforeDeactivation_ = nullptr;
  bool timerEnabled_ = false;
  bool signingIn_ = false;
  HWND focusBeforeSignIn_ = nullptr;
  SignInPoster signInPoster_;
  int runsOnStack_ = 0;
  DownloadMode runMode_ = DownloadMode::WholeAlbum;
  NamingScheme runScheme_ = NamingScheme::OwnName;

  std::map<std::wstring, HWND, std::less<>> controls_;
  std::map<HWND, std::wstring> names_;
  std::map<std::wstring, std::unique_ptr<SkinButton>, std::less<>> buttons_;
  std::unique_ptr<ProgressBar> progress_;
  Font defaultFont_, fixedFont_, namingFont_;
  Bitmap picCaption_, picBorder_;
  std::unique_ptr<cSkinCaption> caption_;
};

}  // namespace lumadex
