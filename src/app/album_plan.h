// What a download run fetches: the album's photo count read from its first list page,
// and the pages and photos each download mode asks for. The site lists 15 photos a page,
// newest first.
#pragma once
#include <optional>
#include <string_view>

namespace lumadex {

inline constexpr int kPhotosPerPage = 15;

// A whole number as the form's boxes and the site's pager hold it: plain spaces and tabs
// around it, an optional sign, decimal digits. Values outside -32768..32767 are refused
// as the program has always done, however many digits are pasted.
std::optional<int> ParseInt16(std::wstring_view text);

// The count the pager states above the photos: "...pager-top...共 40 张...".
// Nullopt when a marker is missing or the text between 共 and 张 is not a number.
std::optional<int> ReadPhotoCount(std::wstring_view firstPage);

struct AlbumPages {
  int lastPageIndex;  // counted from 0; -1 for an empty album
  int lastPageCount;  // photos on that page; 0 for an empty album
};
AlbumPages ComputeAlbumPages(int n);

enum class DownloadMode { WholeAlbum, Newest, PageRange };

struct RunPlan {
  int startPage;    // numbered from 1
  int endPage;      // inclusive; below startPage when there is nothing to fetch
  int totalPhotos;  // what the progress bar counts up to
  int cutOff;       // photos taken from the end page; 0 = all of them
};

// Refused: the user asked for something the album does not have (the run says so and
// stops). Error: the input could not be read at all.
enum class PlanOutcome { Ok, Refused, Error };

struct PlanResult {
  PlanOutcome outcome;
  RunPlan plan;  // meaningful only when outcome is Ok
};

// n is the count from ReadPhotoCount; a negative one is an Error in every plan.
PlanResult PlanWholeAlbum(int n);
// The newest `countText` photos; 0 plans an empty run. A negative count or more than the
// album holds is Refused.
PlanResult PlanNewest(int n, std::wstring_view countText);
// Pages from `startText` to `endText`; an empty text means from the first page or to the
// last one. A start below 1, an end below 0 or after the last page, or a given start after
// the end, are Refused; an end of 0 without a start plans an empty run.
PlanResult PlanPageRange(int n, std::wstring_view startText, std::wstring_view endText);

}  // namespace lumadex
