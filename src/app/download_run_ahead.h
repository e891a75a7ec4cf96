// The album walk with its next requests already on their way. While the run commits entry i,
// the photo pages and photos of the next entries and the next album page are being fetched,
// a few at a time; their answers may come in any order, and are handed back in album order,
// so that the run names, saves and counts each photo exactly as a walk one request at a time
// would.
//
// Requests of each kind (album pages, photo pages, photos) are asked for in album order, a
// photo only once its photo page has been read, and nothing past the last entry the plan
// takes. At most kMostInFlight requests are out at once, and at most that many photos are
// asked for and not yet taken back by the run, which bounds the memory a run holds.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "app/album_address.h"
#include "app/album_plan.h"

namespace lumadex {

inline constexpr int kMostInFlight = 4;
// How many entries past the one being committed may have requests out: enough to keep the
// window full while one slow answer holds the commit back, few enough that a run stopped
// or failed asked for little it did not need.
inline constexpr int kMostAhead = 2 * kMostInFlight;

using RequestId = std::uint64_t;
enum class RequestKind { AlbumPage, PhotoPage, Photo };

struct RunRequest {
  RequestId id;
  RequestKind kind;
  std::wstring address;
};

// What the walk needs to know of the run.
struct WalkSetup {
  AlbumAddress album;
  std::wstring photoHost;
  RunPlan plan;
  bool cutsOff = false;  // the newest-photos mode: the end page is taken up to plan.cutOff
  // An album of a single page: the first page's text serves as that page, nothing is fetched.
  std::optional<std::wstring> singlePage;
  // The file photo `number` (counted from 0 among the entries with a link) of `address` goes
  // to; nullopt when it cannot be stored, and then it is not fetched.
  std::function<std::optional<std::wstring>(const std::wstring& address, int number)> pathOf;
};

// One step of the walk in album order.
struct WalkStep {
  enum Kind {
    Photo,   // an entry with a link: store `bytes` at `path`; either is nullopt when it failed
    NoLink,  // an entry without a link
    Broken,  // a page that is not what the run needs: the run fails here
    Ended,   // every entry of the plan has been handed out
  } kind;
  std::optional<std::wstring> path;
  std::optional<std::string> bytes;
};

class ReadAhead {
 public:
  explicit ReadAhead(WalkSetup setup);

  // The next request to send, or nullopt when the window is full or nothing more is needed
  // yet. Each request returned must be answered once, unless the walk is given up.
  std::optional<RunRequest> NextRequest();
  // The answer to a page request (nullopt: it could not be fetched) ...
  void AnswerPage(RequestId id, std::optional<std::wstring> text);
  // ... and to a photo request (nullopt: no photo came).
  void AnswerPhoto(RequestId id, std::optional<std::string> bytes);

  // The next step, once what it needs has been answered; nullopt while it waits for that.
  std::optional<WalkStep> NextStep();

  int InFlight() const { return static_cast<int>(asked_.size()); }
  // Entries read from their page and not yet handed out.
  int EntriesHeld() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    enum State { NoLink, Broken, NeedsPage, PageAsked, NeedsPhoto, PhotoAsked, Answered } state = NoLink;
    std::wstring address;  // the photo page's, then the photo's
    int number = 0;        // among the entries with a link
    std::optional<std::wstring> path;
    std::optional<std::string> bytes;
  };
  struct Asked {
    RequestKind kind;
    std::uint64_t entry;  // serial of the entry, for photo pages and photos
  };

  // An album page's entries are read from its text as the window reaches them, not all at
  // once: a page of any number of entries holds no more than its text.
  struct PendingPage {
    std::wstring text;
    size_t listStart = 0, listEnd = 0;  // the photo list within the text
    size_t at = 0;                      // within the list: where the next entry starts
    int page = 0;
    int entryNumber = 0;                // entries of the page read so far
  };

  void TakeAlbumPage(std::wstring text);
  // Reads entries from the pending page (and takes the single page again) while fewer than
  // the walk looks ahead at are waiting.
  void Unfold();
  void Append(Entry::State state, std::wstring address = {}, int number = 0);
  Entry* EntryAt(std::uint64_t serial);
  // Index in entries_ of the first entry the walk fails at, or entries_.size().
  size_t Barrier() const;
  bool PhotosFull() const;

  WalkSetup setup_;
  std::deque<Entry> entries_;   // the uncommitted entries, in album order
  std::optional<PendingPage> pending_;  // the page whose entries come next
  std::uint64_t frontSerial_ = 0;  // serial of entries_.front()
  int linked_ = 0;              // entries with a link found so far
  int nextPage_;                // the next album page to read
  bool pageAsked_ = false;      // an album page is on its way
  bool pagesDone_ = false;      // no album page is left to read
  int photosHeld_ = 0;          // photos asked for and not yet handed out
  RequestId nextId_ = 1;
  std::map<RequestId, Asked> asked_;
};

}  // namespace lumadex
