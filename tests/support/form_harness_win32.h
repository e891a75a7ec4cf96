// A main window for a test: in a fresh working folder of its own (where the settings file
// lives), talking to the test site, and taken down with everything it wrote.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/main_form_win32.h"

namespace lumadex::test {

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
  // A new empty folder inside the working folder, e.g. for saved photos.
  std::wstring MakeFolder(const std::wstring& name);
  std::string ReadFile(const std::wstring& name) const;

  // Types the characters into a control one WM_CHAR at a time, as the keyboard would.
  void Type(const wchar_t* control, const std::wstring& characters);
  // Signs in with the demo account; false when the sign-in did not succeed.
  bool SignIn(const std::wstring& email = L"demo@example.com", const std::wstring& password = L"demo");

 private:
  std::wstring previousFolder_;
  std::wstring folder_;
  std::unique_ptr<MainForm> form_;
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
