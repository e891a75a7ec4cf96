// The window's side of the download run: the boxes it reads, the controls it changes, and the
// progress timer that turns the run's counters into the bar's value.
#include "app/main_form_win32.h"
#include "app/progress_math.h"
#include "app/ui_texts.h"
#include "services/mod_tray_win32.h"

namespace lumadex {

DownloadMode MainForm::SelectedMode() const {
  if (IsChecked(L"OptionUpdate")) return DownloadMode::Newest;
  if (IsChecked(L"OptionPage")) return DownloadMode::PageRange;
  return DownloadMode::WholeAlbum;
}

NamingScheme MainForm::SelectedScheme() const {
  if (IsChecked(L"AblumUpName")) return NamingScheme::Ascending;
  if (IsChecked(L"AblumDownName")) return NamingScheme::Descending;
  return NamingScheme::OwnName;
}

void MainForm::OnDownClick() { run_.Press(); }

RunSettings MainForm::ReadSettings() const {
  return {Text(L"albumURLTxt"),     Text(L"DirPathTxt"),      SelectedMode(),      SelectedScheme(),
          Text(L"NewPhotoCount"),   Text(L"PhotoBenginPage"), Text(L"PhotoEndPage")};
}

void MainForm::ShowStatus(const std::wstring& text) { SetText(L"DownInfo", text); }

void MainForm::ShowButtonCaption(const wchar_t* caption) { NBtnDown().SetCaption(caption); }

void MainForm::ShowProgress(int percent) { NicePressBar().SetValue(percent); }

// The mode and naming choices are what the run has taken; the page and count boxes stay usable,
// their values having been read already.
void MainForm::EnableModeBoxes(bool enabled) {
  for (const wchar_t* box : {L"NewModeContainer", L"ModeContainer"}) SetEnabled(box, enabled);
}

void MainForm::ShowBalloon(const wchar_t* text) { ShowTrayBalloon(hwnd(), text, texts::kTitle, 0); }

void MainForm::RunTimer(bool running) { SetTimerEnabled(running); }

void MainForm::TimerTick() {
  if (NicePressBar().Value() >= 100) {
    SetTimerEnabled(false);
    ShowBalloon(texts::kBalloonDone);
  } else if (const std::optional<int> percent = ProgressPercent(run_.DonePhotos(), run_.TotalPhotos())) {
    NicePressBar().SetValue(*percent);
  }
}

}  // namespace lumadex
