// Finding the photos in the site's pages. The markers are matched exactly, case included,
// as the site writes them; a page without them is not the page the run asked for.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumadex {

// The part of a list page that holds the photos: from the first "photoPan" up to the
// first "pager-bottom". Nullopt when either is missing or the pager comes first.
std::optional<std::wstring_view> CutPhotoList(std::wstring_view page);

// One entry per "photoPan" in the list, in page order, each the text after its marker up
// to the next one. Entries view `photoList`, which must outlive them.
std::vector<std::wstring_view> SplitPhotoEntries(std::wstring_view photoList);

// The same entries one at a time, for a list of any length: `at` starts at 0 and is moved on
// past the entry returned; nullopt once none is left.
std::optional<std::wstring_view> NextPhotoEntry(std::wstring_view photoList, size_t& at);

enum class EntryLinkKind {
  Link,    // `link` holds the photo page's address
  NoLink,  // the entry has no link (the site shows such entries); it is skipped
  Error,   // a link that never closes: the page is damaged
};
struct EntryLinkResult {
  EntryLinkKind kind;
  std::wstring link;
};

// The address in the entry's first <a href="...">.
EntryLinkResult EntryLink(std::wstring_view entry);

// The full-size photo's address on a photo page: the src of <img id="photo" src="..." title=...>.
std::optional<std::wstring> PhotoFileAddress(std::wstring_view photoPage);

}  // namespace lumadex
