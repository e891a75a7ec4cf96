// A main window for a test: with a fresh folder of its own (where its settings file lives),
// talking to the test site, and taken down with everything it wrote.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "app/main_form_win32.h"

namespace lumadex::test {

// The names of the files (not folders) in `folder`.
std::set<std::wstring> FilesIn(const std::wstring& folder);

class FormHarness {
 public:
  // `settings`: the bytes of a Lumadex.ini to start with; none: no file. `host`: where all
  // three of the site's hosts are; empty: the test site.
  explicit FormHarness(std::optional<std::string> settings = std::nullopt, const std::wstring& host = L"");
  ~FormHarness();
  FormHarness(const FormHarness&) = delete;
  FormHarness& operator=(const FormHarness&) = delete;

  MainForm& form() { return *form_; }
  HWND control(const wchar_t* name) { return form_->Control(name); }
  const std::wstring& folder() const { return folder_; }
  // The settings file the window was given, in the harness's folder.
  std::wstring SettingsFile() const { return folder_ + L"\\Lumadex.ini"; }
  // A second window on the same settings file and site, e.g. to see what a later start reads.
  std::unique_ptr<MainForm> StartAnother() const;
  // A new empty folder inside the harness's folder, e.g. for saved photos.
  std::wstring MakeFolder(const std::wstring& name);
  // A file in the harness's folder, or at a full path.
  std::string ReadFile(const std::wstring& name) const;

  // Types the characters into a control one WM_CHAR at a time, as the keyboard would.
  void Type(const wchar_t* control, const std::wstring& characters);
  // Signs in with the demo account; false when the sign-in did not succeed.
  bool SignIn(const std::wstring& email = L"demo@example.com", const std::wstring& password = L"demo");
  // Signs in and fills in the address of the test site's album `album` and a new save folder
  // named "photos"; that folder, or "" when the sign-in failed.
  std::wstring PrepareDownload(int album);
  // Presses 下 载 and runs `during` in the middle of the run, which must take long enough (the
  // site's latency faults); a run still going afterwards is stopped. Returns when the run is over.
  void DuringARun(std::function<void()> during);

 private:
  MainFormOptions Options() const;

  std::wstring folder_;
  std::wstring host_;
  std::unique_ptr<MainForm> form_;
};

// Puts plain text on the clipboard, as a copy from another program would.
void PutOnClipboard(HWND owner, const std::wstring& text);
// Replaces whatever is at `path` with exactly `bytes`.
void WriteBytes(const std::wstring& path, const std::string& bytes);

// A hidden top-level window, like the program's own, that hands its timer and application
// messages (WM_APP and above) to `onMessage`.
class MessageWindow final : public WindowBase {
 public:
  explicit MessageWindow(std::function<void(UINT, WPARAM)> onMessage);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wp, LPARAM lp) override;

  std::function<void(UINT, WPARAM)> onMessage_;
};

// Handles messages for the given time.
void Pump(std::chrono::milliseconds duration);
// Handles messages until the condition holds or the time is up; the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
// Runs `action` from inside whatever message loop is running `delay` from now (a modal box's too).
void RunSoon(std::chrono::milliseconds delay, std::function<void()> action);
std::wstring TestSiteHost();
void DeleteTree(const std::wstring& folder);

}  // namespace lumadex::test
