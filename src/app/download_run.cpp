#include "app/download_run.h"

#include <utility>

#include "app/ui_texts.h"

namespace lumadex {

bool SettingsComplete(const RunSettings& settings) {
  if (settings.albumAddress.empty() || settings.saveFolder.empty()) return false;
  switch (settings.mode) {
    case DownloadMode::WholeAlbum:
      return true;
    case DownloadMode::Newest:
      return !settings.newestCount.empty();
    case DownloadMode::PageRange:
      return !settings.startPage.empty() || !settings.endPage.empty();
  }
  return false;
}

namespace {

PlanResult PlanFor(const RunSettings& settings, int photoCount) {
  switch (settings.mode) {
    case DownloadMode::Newest:
      return PlanNewest(photoCount, settings.newestCount);
    case DownloadMode::PageRange:
      return PlanPageRange(photoCount, settings.startPage, settings.endPage);
    case DownloadMode::WholeAlbum:
      break;
  }
  return PlanWholeAlbum(photoCount);
}

}  // namespace

DownloadRun::DownloadRun(RunWindow& window, RunSite& site, std::wstring photoHost)
    : window_(window), site_(site), photoHost_(std::move(photoHost)) {}

void DownloadRun::Press() {
  switch (state_) {
    case RunState::Running:
      // The walk gives up what it asked for as soon as the wait it is in returns.
      state_ = RunState::Stopping;
      window_.ShowButtonCaption(texts::kDownloadCaption);
      return;
    case RunState::Preparing:
    case RunState::Stopping:
      // The run that is still on its way must not have another started inside it.
      return;
    case RunState::Idle:
      break;
  }
  const RunSettings pressed = window_.ReadSettings();
  if (SettingsComplete(pressed)) {
    Start(pressed);
  } else {
    window_.ShowStatus(texts::kSettingsIncomplete);
  }
}

void DownloadRun::Start(const RunSettings& pressed) {
  state_ = RunState::Preparing;
  RunEnding ending = RunEnding::Failed;
  try {
    ending = DownloadAlbum(pressed);
  } catch (...) {
    // Whatever broke the run, the window must not stay in it; the caller reports what it was.
    Finish(RunEnding::Failed);
    throw;
  }
  Finish(ending);
}

RunEnding DownloadRun::DownloadAlbum(const RunSettings& pressed) {
  donePhotos_ = savedPhotos_ = failedPhotos_ = 0;
  const std::optional<AlbumAddress> album = ParseAlbumAddress(pressed.albumAddress);
  if (!album) return RunEnding::Failed;
  const std::optional<std::wstring> firstPage = site_.FetchPage(FirstPageAddress(photoHost_, *album));
  if (!firstPage) return RunEnding::Failed;
  const std::optional<int> photoCount = ReadPhotoCount(*firstPage);
  if (!photoCount || *photoCount < 0) return RunEnding::Failed;

  // The boxes stay usable until the run has started, the first page's fetch included: the run
  // takes the mode, the numbers and the folder they hold now.
  const RunSettings settings = window_.ReadSettings();
  const PlanResult plan = PlanFor(settings, *photoCount);
  if (plan.outcome == PlanOutcome::Refused) return RunEnding::Refused;
  if (plan.outcome == PlanOutcome::Error) return RunEnding::Failed;
  totalPhotos_ = plan.plan.totalPhotos;
  // Without a usable folder every photo would fail one by one; say so at once instead.
  if (!site_.FolderAcceptsFiles(settings.saveFolder)) return RunEnding::Failed;
  mode_ = settings.mode;
  scheme_ = settings.scheme;
  BeginRunning(settings.saveFolder, *photoCount);
  return WalkPages(*album, *firstPage, *photoCount, plan.plan);
}

void DownloadRun::BeginRunning(const std::wstring& saveFolder, int photoCount) {
  state_ = RunState::Running;
  window_.ShowButtonCaption(texts::kStopCaption);
  saveFolder_ = saveFolder;
  window_.ShowProgress(0);
  window_.RunTimer(true);
  window_.EnableModeBoxes(false);
  window_.ShowStatus(texts::RunStarted(photoCount, totalPhotos_));
}

RunEnding DownloadRun::WalkPages(const AlbumAddress& album, const std::wstring& firstPage, int photoCount,
                                 const RunPlan& plan) {
  WalkSetup setup{album, photoHost_, plan, mode_ == DownloadMode::Newest, std::nullopt,
                  [this](const std::wstring& address, int number) { return PathOf(address, number); }};
  // An album of one page has been read already; any other is read page by page, the first too.
  if (ComputeAlbumPages(photoCount).lastPageIndex == 0) setup.singlePage = firstPage;
  ReadAhead walk(std::move(setup));
  // However the walk ends, a thrown exception included, nothing it asked for is waited for.
  struct GiveUp {
    RunSite& site;
    ~GiveUp() { site.AbandonAll(); }
  } giveUpOnExit{site_};
  for (;;) {
    if (state_ != RunState::Running) return RunEnding::Stopped;
    while (std::optional<RunRequest> request = walk.NextRequest()) site_.Ask(*request);
    if (std::optional<WalkStep> step = walk.NextStep()) {
      switch (step->kind) {
        case WalkStep::Ended:
          return RunEnding::Ended;
        case WalkStep::Broken:
          return RunEnding::Failed;
        case WalkStep::NoLink:
          ++failedPhotos_;
          break;
        case WalkStep::Photo:
          CommitPhoto(step->path, step->bytes);
          ++donePhotos_;
          break;
      }
      continue;
    }
    std::optional<RunAnswer> answer = site_.NextAnswer();
    if (!answer) continue;
    if (answer->kind == RequestKind::Photo) {
      walk.AnswerPhoto(answer->id, std::move(answer->bytes));
    } else {
      walk.AnswerPage(answer->id, std::move(answer->text));
    }
  }
}

void DownloadRun::Finish(RunEnding ending) {
  state_ = RunState::Idle;
  window_.ShowButtonCaption(texts::kDownloadCaption);
  window_.EnableModeBoxes(true);
  switch (ending) {
    case RunEnding::Ended:
      // The timer goes on until the bar shows 100, and then announces the end itself.
      window_.ShowStatus(texts::RunEnded(savedPhotos_, failedPhotos_));
      break;
    case RunEnding::Stopped:
      window_.RunTimer(false);
      window_.ShowProgress(0);
      window_.ShowStatus(texts::kRunStopped);
      break;
    case RunEnding::Refused:
    case RunEnding::Failed:
      // The counters and the bar keep what they had.
      window_.RunTimer(false);
      window_.ShowStatus(texts::kRunFailed);
      window_.ShowBalloon(texts::kBalloonFailed);
      break;
  }
}

std::optional<std::wstring> DownloadRun::PathOf(const std::wstring& address, int number) const {
  return PhotoPath(saveFolder_, SafeFileName(PhotoFileName(mode_, scheme_, address, number, totalPhotos_)));
}

void DownloadRun::CommitPhoto(const std::optional<std::wstring>& path, const std::optional<std::string>& bytes) {
  if (path && bytes && site_.WritePhoto(*path, *bytes)) {
    ++savedPhotos_;
  } else {
    ++failedPhotos_;
  }
}

}  // namespace lumadex
