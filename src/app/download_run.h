// The download run: the album's first page tells the photo count, the mode tells which pages to
// read, every entry of those pages leads to a photo page and from there to the photo file, which
// is saved into the save folder. The run is the one writer of its state and counters; the window
// and its handlers read them.
//
// The walk keeps a few requests on their way at once (see download_run_ahead.h) and commits their
// answers in album order. While it waits for them the window keeps handling its messages, so a
// press of the button, a timer tick or a close request can reach the run in the middle of a
// wait: a press while running stops the run as soon as the wait returns, giving up the requests
// still out; what was committed stays.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "app/album_address.h"
#include "app/album_plan.h"
#include "app/download_run_ahead.h"
#include "app/photo_naming.h"

namespace lumadex {

enum class RunState {
  Idle,       // no run; a press starts one
  Preparing,  // reading the first page and planning; a press does nothing
  Running,    // a press stops the run (the button reads "停 止")
  Stopping,   // stopped, the wait under way not yet over; a press does nothing
};

enum class RunEnding {
  Ended,    // every planned photo entry was handled
  Stopped,  // the user pressed "停 止"
  Refused,  // the album has no such pages or photos
  Failed,   // an address, a page or a folder was not what the run needs
};

// What the window's boxes hold.
struct RunSettings {
  std::wstring albumAddress;
  std::wstring saveFolder;
  DownloadMode mode = DownloadMode::WholeAlbum;
  NamingScheme scheme = NamingScheme::OwnName;
  std::wstring newestCount;  // NewPhotoCount
  std::wstring startPage;    // PhotoBenginPage
  std::wstring endPage;      // PhotoEndPage
};

// An album address, a save folder and what the chosen mode needs.
bool SettingsComplete(const RunSettings& settings);

// What the run sees of the window and may change in it.
class RunWindow {
 public:
  virtual RunSettings ReadSettings() const = 0;
  virtual void ShowStatus(const std::wstring& text) = 0;
  virtual void ShowButtonCaption(const wchar_t* caption) = 0;
  virtual void ShowProgress(int percent) = 0;
  // The mode and naming options, which a running run has taken from the user.
  virtual void EnableModeBoxes(bool enabled) = 0;
  virtual void ShowBalloon(const wchar_t* text) = 0;
  virtual void RunTimer(bool running) = 0;

 protected:
  ~RunWindow() = default;
};

// The answer to one request of the walk: the page's text, or the photo's bytes; either is
// nullopt when the request failed (for a photo: an error status, an empty or cut-off body, a
// time-out).
struct RunAnswer {
  RequestId id = 0;
  RequestKind kind = RequestKind::AlbumPage;
  std::optional<std::wstring> text;
  std::optional<std::string> bytes;
};

// Where the run's pages and photos come from, and where the photos go.
class RunSite {
 public:
  // The page as text, waited for; nullopt when it could not be fetched.
  virtual std::optional<std::wstring> FetchPage(const std::wstring& address) = 0;
  // Sends a request without waiting for it; its answer comes out of a later NextAnswer.
  virtual void Ask(const RunRequest& request) = 0;
  // Waits for the answer of a request asked and not yet answered, handling the window's
  // messages meanwhile. Nullopt when it returns without one, after some of those messages,
  // so that the run can look at what their handlers changed.
  virtual std::optional<RunAnswer> NextAnswer() = 0;
  // Gives up every request not yet answered: their answers never come.
  virtual void AbandonAll() = 0;
  // Whether the file now holds exactly `bytes`; a file of that name that was there before is
  // replaced only then.
  virtual bool WritePhoto(const std::wstring& path, std::string_view bytes) = 0;
  virtual bool FolderAcceptsFiles(const std::wstring& folder) = 0;

 protected:
  ~RunSite() = default;
};

class DownloadRun {
 public:
  DownloadRun(RunWindow& window, RunSite& site, std::wstring photoHost);
  DownloadRun(const DownloadRun&) = delete;
  DownloadRun& operator=(const DownloadRun&) = delete;

  // A press of the download button: starts a run (returning when it is over), stops the one
  // that is running, or does nothing while one is being prepared or is stopping.
  void Press();

  RunState State() const { return state_; }
  // From the start of the run's photo walk until it ends, fails or is stopped.
  bool Downloading() const { return state_ == RunState::Running; }
  int TotalPhotos() const { return totalPhotos_; }
  int DonePhotos() const { return donePhotos_; }  // photo entries with a link handled so far
  int SavedPhotos() const { return savedPhotos_; }
  int FailedPhotos() const { return failedPhotos_; }
  const std::wstring& SaveFolder() const { return saveFolder_; }

 private:
  void Start(const RunSettings& pressed);
  RunEnding DownloadAlbum(const RunSettings& pressed);
  RunEnding WalkPages(const AlbumAddress& album, const std::wstring& firstPage, int photoCount, const RunPlan& plan);
  void BeginRunning(const std::wstring& saveFolder, int photoCount);
  // The one way back to the idle state, whatever ended the run.
  void Finish(RunEnding ending);

  // Where photo `number` (counted from 0 among the entries with a link) of the address goes.
  std::optional<std::wstring> PathOf(const std::wstring& address, int number) const;
  // A failure here costs one photo, never the run.
  void CommitPhoto(const std::optional<std::wstring>& path, const std::optional<std::string>& bytes);

  RunWindow& window_;
  RunSite& site_;
  const std::wstring photoHost_;

  RunState state_ = RunState::Idle;
  DownloadMode mode_ = DownloadMode::WholeAlbum;
  NamingScheme scheme_ = NamingScheme::OwnName;
  std::wstring saveFolder_;
  int totalPhotos_ = 0;
  int donePhotos_ = 0;
  int savedPhotos_ = 0;
  int failedPhotos_ = 0;
};

}  // namespace lumadex
