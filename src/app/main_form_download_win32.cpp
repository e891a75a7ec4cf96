// The download run: the album's first page tells the photo count, the mode tells which pages
// to read, every entry of those pages leads to a photo page and from there to the photo file.
#include <chrono>

#include "app/album_address.h"
#include "app/album_markers.h"
#include "app/main_form_win32.h"
#include "app/photo_file_win32.h"
#include "app/progress_math.h"
#include "app/ui_texts.h"
#include "services/get_html_win32.h"
#include "services/mod_tray_win32.h"

namespace lumadex {
namespace {

constexpr auto kPhotoTimeout = std::chrono::seconds(20);
constexpr char kCharset[] = "UTF-8";

// Anything that ends the run through its failure steps.
struct RunError {};

template <typename T>
T Need(std::optional<T> value) {
  if (!value) throw RunError{};
  return std::move(*value);
}

}  // namespace

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

void MainForm::OnDownClick() {
  if (NBtnDown().Caption() != texts::kDownloadCaption) {
    NBtnDown().SetCaption(texts::kDownloadCaption);
    Downloading = false;
    return;
  }
  // A run that was just stopped may still be waiting for its last answer; a new one must not
  // start inside it.
  if (runsOnStack_ > 0) return;
  const bool common = !Text(L"albumURLTxt").empty() && !Text(L"DirPathTxt").empty();
  bool modeReady = false;
  switch (SelectedMode()) {
    case DownloadMode::WholeAlbum:
      modeReady = true;
      break;
    case DownloadMode::Newest:
      modeReady = !Text(L"NewPhotoCount").empty();
      break;
    case DownloadMode::PageRange:
      modeReady = !Text(L"PhotoBenginPage").empty() || !Text(L"PhotoEndPage").empty();
      break;
  }
  if (common && modeReady) {
    DownloadAlbum();
  } else {
    SetText(L"DownInfo", texts::kSettingsIncomplete);
  }
}

void MainForm::EnableModeBoxes() {
  for (const wchar_t* box : {L"NewModeContainer", L"UpdateModeContainer", L"PageModeContainer", L"ModeContainer"}) {
    SetEnabled(box, true);
  }
}

void MainForm::EndRunWithFailure() {
  SetText(L"DownInfo", texts::kRunFailed);
  NBtnDown().SetCaption(texts::kDownloadCaption);
  Downloading = false;
  SetTimerEnabled(false);
  EnableModeBoxes();
  ShowTrayBalloon(hwnd_, texts::kBalloonFailed, texts::kTitle, 0);
}

void MainForm::DownloadAlbum() {
  struct OnStack {
    int& count;
    explicit OnStack(int& c) : count(c) { ++count; }
    ~OnStack() { --count; }
  } onStack(runsOnStack_);

  try {
    DonePhotos = SavedPhotos = FailedPhotos = 0;
    const AlbumAddress album = Need(ParseAlbumAddress(Text(L"albumURLTxt")));
    const std::wstring firstPage = FetchText(FirstPageAddress(hosts_.photoHost, album), kCharset);
    const int photoCount = Need(ReadPhotoCount(firstPage));
    if (photoCount < 0) throw RunError{};
    const AlbumPages pages = ComputeAlbumPages(photoCount);

    runMode_ = SelectedMode();
    runScheme_ = SelectedScheme();
    PlanResult plan{};
    switch (runMode_) {
      case DownloadMode::WholeAlbum:
        plan = PlanWholeAlbum(photoCount);
        break;
      case DownloadMode::Newest:
        plan = PlanNewest(photoCount, Text(L"NewPhotoCount"));
        break;
      case DownloadMode::PageRange:
        plan = PlanPageRange(photoCount, Text(L"PhotoBenginPage"), Text(L"PhotoEndPage"));
        break;
    }
    if (plan.outcome == PlanOutcome::Error) throw RunError{};
    if (plan.outcome == PlanOutcome::Refused) {
      SetText(L"DownInfo", texts::kRunFailed);
      NBtnDown().SetCaption(texts::kDownloadCaption);
      Downloading = false;
      SetTimerEnabled(false);
      SetEnabled(L"ModeContainer", true);
      SetEnabled(L"NewModeContainer", true);
      ShowTrayBalloon(hwnd_, texts::kBalloonFailed, texts::kTitle, 0);
      return;
    }
    TotalPhotos = plan.plan.totalPhotos;
    // Without a usable folder every photo would fail one by one; say so at once instead.
    if (!FolderAcceptsFiles(Text(L"DirPathTxt"))) throw RunError{};

    NBtnDown().SetCaption(texts::kStopCaption);
    Downloading = true;
    SaveFolder = Text(L"DirPathTxt");
    NicePressBar().SetValue(0);
    SetTimerEnabled(true);
    SetEnabled(L"NewModeContainer", false);
    SetEnabled(L"ModeContainer", false);
    SetText(L"DownInfo", texts::RunStarted(photoCount, TotalPhotos));

    for (int page = plan.plan.startPage; page <= plan.plan.endPage; ++page) {
      const std::wstring pageText =
          pages.lastPageIndex != 0 ? FetchText(PageAddress(hosts_.photoHost, page, album), kCharset) : firstPage;
      const std::vector<std::wstring_view> entries = SplitPhotoEntries(Need(CutPhotoList(pageText)));
      int entryNumber = 0;
      for (const std::wstring_view entry : entries) {
        ++entryNumber;
        if (!Downloading) {
          SetTimerEnabled(false);
          NicePressBar().SetValue(0);
          SetText(L"DownInfo", texts::kRunStopped);
          EnableModeBoxes();
          return;
        }
        if (runMode_ == DownloadMode::Newest && page == plan.plan.endPage && entryNumber == plan.plan.cutOff + 1) {
          goto end_of_run;
        }
        const EntryLinkResult link = EntryLink(entry);
        if (link.kind == EntryLinkKind::Link) {
          const std::wstring photoPage = FetchText(link.link, kCharset);
          SavePhoto(Need(PhotoFileAddress(photoPage)));
          ++DonePhotos;
        } else if (link.kind == EntryLinkKind::NoLink) {
          ++FailedPhotos;
        } else {
          throw RunError{};
        }
      }
    }
  end_of_run:
    SetText(L"DownInfo", texts::RunEnded(SavedPhotos, FailedPhotos));
    NBtnDown().SetCaption(texts::kDownloadCaption);
    Downloading = false;
    EnableModeBoxes();
  } catch (...) {
    EndRunWithFailure();
  }
}

// Errors here cost one photo, never the run.
void MainForm::SavePhoto(const std::wstring& address) {
  try {
    const std::wstring name = SafeFileName(PhotoFileName(runMode_, runScheme_, address, DonePhotos, TotalPhotos));
    const std::optional<std::wstring> path = PhotoPath(SaveFolder, name);
    // A photo that cannot be stored is not worth fetching.
    if (!path) {
      ++FailedPhotos;
      return;
    }
    const HttpResponse response = HttpRequest(L"GET", address, L"", {}, kPhotoTimeout);
    // An error page, a cut-off body or nothing at all is no photo.
    const bool good = response.status >= 200 && response.status < 300 && response.complete && !response.body.empty();
    if (good && WritePhotoFile(*path, response.body)) {
      ++SavedPhotos;
      return;
    }
  } catch (...) {
  }
  ++FailedPhotos;
}

void MainForm::TimerTick() {
  if (NicePressBar().Value() >= 100) {
    SetTimerEnabled(false);
    ShowTrayBalloon(hwnd_, texts::kBalloonDone, texts::kTitle, 0);
  } else if (const std::optional<int> percent = ProgressPercent(DonePhotos, TotalPhotos)) {
    NicePressBar().SetValue(*percent);
  }
}

}  // namespace lumadex
