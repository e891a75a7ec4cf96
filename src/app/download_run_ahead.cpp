#include "app/download_run_ahead.h"

#include <algorithm>
#include <utility>

#include "app/album_markers.h"

namespace lumadex {

ReadAhead::ReadAhead(WalkSetup setup) : setup_(std::move(setup)), nextPage_(setup_.plan.startPage) {
  pagesDone_ = nextPage_ > setup_.plan.endPage;
  Unfold();
}

void ReadAhead::Append(Entry::State state, std::wstring address, int number) {
  Entry& entry = entries_.emplace_back();
  entry.state = state;
  entry.address = std::move(address);
  entry.number = number;
}

ReadAhead::Entry* ReadAhead::EntryAt(std::uint64_t serial) {
  if (serial < frontSerial_ || serial - frontSerial_ >= entries_.size()) return nullptr;
  return &entries_[static_cast<size_t>(serial - frontSerial_)];
}

void ReadAhead::TakeAlbumPage(std::wstring text) {
  const int page = nextPage_++;
  pagesDone_ = nextPage_ > setup_.plan.endPage;
  const std::optional<std::wstring_view> photoList = CutPhotoList(text);
  if (!photoList) {
    Append(Entry::Broken);
    pagesDone_ = true;
    return;
  }
  const size_t listStart = static_cast<size_t>(photoList->data() - text.data());
  pending_ = PendingPage{std::move(text), listStart, listStart + photoList->size(), 0, page, 0};
}

void ReadAhead::Unfold() {
  while (entries_.size() < static_cast<size_t>(kMostAhead)) {
    if (!pending_) {
      // Every page of a single-page album's plan is that one page: nothing is asked for but photos.
      if (!setup_.singlePage || pagesDone_) return;
      TakeAlbumPage(*setup_.singlePage);
      continue;
    }
    PendingPage& page = *pending_;
    const std::wstring_view list = std::wstring_view(page.text).substr(page.listStart, page.listEnd - page.listStart);
    std::optional<std::wstring_view> entry = NextPhotoEntry(list, page.at);
    const bool pastCutOff =
        setup_.cutsOff && page.page == setup_.plan.endPage && page.entryNumber + 1 > setup_.plan.cutOff;
    if (!entry || pastCutOff) {
      pending_.reset();
      continue;
    }
    ++page.entryNumber;
    EntryLinkResult link = EntryLink(*entry);
    if (link.kind == EntryLinkKind::Error) {
      // Nothing after a damaged entry is ever reached.
      Append(Entry::Broken);
      pending_.reset();
      pagesDone_ = true;
      return;
    }
    if (link.kind == EntryLinkKind::NoLink) {
      Append(Entry::NoLink);
    } else {
      Append(Entry::NeedsPage, std::move(link.link), linked_++);
    }
  }
}

size_t ReadAhead::Barrier() const {
  const auto broken = std::find_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.state == Entry::Broken; });
  return static_cast<size_t>(broken - entries_.begin());
}

bool ReadAhead::PhotosFull() const { return photosHeld_ >= kMostInFlight; }

std::optional<RunRequest> ReadAhead::NextRequest() {
  Unfold();
  if (InFlight() >= kMostInFlight) return std::nullopt;
  // Nothing is asked for past a page the walk is known to fail at, nor too far ahead.
  const size_t barrier = Barrier();
  const size_t reach = std::min({barrier, entries_.size(), static_cast<size_t>(kMostAhead)});
  const RequestId id = nextId_;
  // The earliest entry in album order that can use a request gets it. Photos go in album
  // order: none is asked while an earlier entry may still need one.
  bool photosWait = PhotosFull();
  for (size_t i = 0; i < reach; ++i) {
    Entry& entry = entries_[i];
    const std::uint64_t serial = frontSerial_ + i;
    if (entry.state == Entry::NeedsPage || entry.state == Entry::PageAsked) photosWait = true;
    if (entry.state == Entry::NeedsPhoto && !photosWait) {
      entry.state = Entry::PhotoAsked;
      ++photosHeld_;
      ++nextId_;
      asked_[id] = {RequestKind::Photo, serial};
      return RunRequest{id, RequestKind::Photo, entry.address};
    }
    if (entry.state == Entry::NeedsPage) {
      entry.state = Entry::PageAsked;
      ++nextId_;
      asked_[id] = {RequestKind::PhotoPage, serial};
      return RunRequest{id, RequestKind::PhotoPage, entry.address};
    }
  }
  const bool pageWanted = !pagesDone_ && !pageAsked_ && !pending_ && barrier == entries_.size() &&
                          entries_.size() < static_cast<size_t>(kMostAhead);
  if (!pageWanted) return std::nullopt;
  pageAsked_ = true;
  ++nextId_;
  asked_[id] = {RequestKind::AlbumPage, 0};
  return RunRequest{id, RequestKind::AlbumPage, PageAddress(setup_.photoHost, nextPage_, setup_.album)};
}

void ReadAhead::AnswerPage(RequestId id, std::optional<std::wstring> text) {
  const auto it = asked_.find(id);
  if (it == asked_.end() || it->second.kind == RequestKind::Photo) return;
  const Asked asked = it->second;
  asked_.erase(it);
  if (asked.kind == RequestKind::AlbumPage) {
    pageAsked_ = false;
    if (text) {
      TakeAlbumPage(std::move(*text));
    } else {
      Append(Entry::Broken);
      pagesDone_ = true;
    }
    return;
  }
  Entry* entry = EntryAt(asked.entry);
  if (!entry) return;
  std::optional<std::wstring> photoAddress = text ? PhotoFileAddress(*text) : std::nullopt;
  if (!photoAddress) {
    entry->state = Entry::Broken;
    return;
  }
  entry->path = setup_.pathOf(*photoAddress, entry->number);
  entry->address = std::move(*photoAddress);
  // A photo that cannot be stored is not worth fetching.
  entry->state = entry->path ? Entry::NeedsPhoto : Entry::Answered;
}

void ReadAhead::AnswerPhoto(RequestId id, std::optional<std::string> bytes) {
  const auto it = asked_.find(id);
  if (it == asked_.end() || it->second.kind != RequestKind::Photo) return;
  const std::uint64_t serial = it->second.entry;
  asked_.erase(it);
  if (Entry* entry = EntryAt(serial)) {
    entry->state = Entry::Answered;
    entry->bytes = std::move(bytes);
  }
}

std::optional<WalkStep> ReadAhead::NextStep() {
  Unfold();
  if (entries_.empty()) {
    if (pagesDone_ && !pageAsked_ && !pending_) return WalkStep{WalkStep::Ended, {}, {}};
    return std::nullopt;
  }
  Entry& front = entries_.front();
  WalkStep step{WalkStep::NoLink, {}, {}};
  switch (front.state) {
    case Entry::Broken:
      return WalkStep{WalkStep::Broken, {}, {}};
    case Entry::NoLink:
      break;
    case Entry::Answered:
      step = {WalkStep::Photo, std::move(front.path), std::move(front.bytes)};
      // A photo that was not stored was never asked for.
      if (step.path) --photosHeld_;
      break;
    case Entry::NeedsPage:
    case Entry::PageAsked:
    case Entry::NeedsPhoto:
    case Entry::PhotoAsked:
      return std::nullopt;
  }
  entries_.pop_front();
  ++frontSerial_;
  return step;
}

}  // namespace lumadex
