// What a run reads from the site's pages: the photo count of the first list page, the plans
// made from it and from the user's boxes, the photo list with its entries and links, and the
// photo file's address on a photo page. Pages come from the network and may be anything.
//
// Input: list page, NUL, photo page, NUL, newest-N box, NUL, first-page box, NUL, last-page box.
#include <algorithm>
#include <cstdint>
#include <string>

#include "app/album_markers.h"
#include "app/album_plan.h"
#include "app/photo_naming.h"
#include "fuzz_support.h"

using namespace lumadex;

namespace {

int PagesFor(int photos) { return (photos + kPhotosPerPage - 1) / kPhotosPerPage; }

void CheckPlans(int n, std::wstring_view newest, std::wstring_view start, std::wstring_view end) {
  const PlanResult whole = PlanWholeAlbum(n);
  if (n < 0) {
    FUZZ_CHECK(whole.outcome == PlanOutcome::Error);
  } else {
    FUZZ_CHECK(whole.outcome == PlanOutcome::Ok);
    FUZZ_CHECK(whole.plan.startPage == 1);
    FUZZ_CHECK(whole.plan.endPage == PagesFor(n));
    FUZZ_CHECK(whole.plan.totalPhotos == n);
  }

  const PlanResult latest = PlanNewest(n, newest);
  if (latest.outcome == PlanOutcome::Ok) {
    const RunPlan& p = latest.plan;
    FUZZ_CHECK(p.totalPhotos >= 0 && p.totalPhotos <= n);
    FUZZ_CHECK(p.startPage == 1);
  }
  // None wanted is an empty run: nothing counted, nothing cut off.
  if (latest.outcome == PlanOutcome::Ok && latest.plan.totalPhotos == 0) FUZZ_CHECK(latest.plan.cutOff == 0);
  if (latest.outcome == PlanOutcome::Ok && latest.plan.totalPhotos > 0) {
    const RunPlan& p = latest.plan;
    FUZZ_CHECK(p.endPage == PagesFor(p.totalPhotos));
    // The end page gives exactly the photos the full pages before it leave over.
    FUZZ_CHECK(p.cutOff == p.totalPhotos - kPhotosPerPage * (p.endPage - 1));
    FUZZ_CHECK(p.cutOff >= 1 && p.cutOff <= kPhotosPerPage);
  }

  const PlanResult range = PlanPageRange(n, start, end);
  if (range.outcome == PlanOutcome::Ok) {
    const RunPlan& p = range.plan;
    FUZZ_CHECK(p.startPage >= 1);
  }
  // An end page before the start (an end of 0 alone) asks for nothing: an empty run.
  if (range.outcome == PlanOutcome::Ok && range.plan.endPage < range.plan.startPage) {
    FUZZ_CHECK(range.plan.totalPhotos == 0 && range.plan.cutOff == 0);
  } else if (range.outcome == PlanOutcome::Ok) {
    const RunPlan& p = range.plan;
    FUZZ_CHECK(p.startPage >= 1 && p.startPage <= p.endPage && p.endPage <= PagesFor(n));
    const int photosUpToEnd = std::min(n, kPhotosPerPage * p.endPage);
    FUZZ_CHECK(p.totalPhotos == photosUpToEnd - kPhotosPerPage * (p.startPage - 1));
    FUZZ_CHECK(p.totalPhotos >= 1 && p.totalPhotos <= n);
    FUZZ_CHECK(p.cutOff == 0);
  }
}

void CheckList(std::wstring_view page) {
  const auto list = CutPhotoList(page);
  if (!list) return;
  // The list views the page it was cut from.
  FUZZ_CHECK(list->data() >= page.data() && list->data() + list->size() <= page.data() + page.size());
  FUZZ_CHECK(list->starts_with(L"photoPan"));
  FUZZ_CHECK(list->find(L"pager-bottom") == std::wstring_view::npos);

  const auto entries = SplitPhotoEntries(*list);
  FUZZ_CHECK(entries.size() == fuzz::Count(*list, L"photoPan"));
  size_t covered = 0;
  for (const std::wstring_view entry : entries) {
    FUZZ_CHECK(entry.data() >= list->data() && entry.data() + entry.size() <= list->data() + list->size());
    FUZZ_CHECK(entry.find(L"photoPan") == std::wstring_view::npos);
    covered += entry.size() + 8;

    const EntryLinkResult link = EntryLink(entry);
    const auto open = entry.find(L"<a href=\"");
    switch (link.kind) {
      case EntryLinkKind::NoLink:
        FUZZ_CHECK(open == std::wstring_view::npos);
        break;
      case EntryLinkKind::Error:
        FUZZ_CHECK(open != std::wstring_view::npos);
        FUZZ_CHECK(entry.find(L"\">", open + 9) == std::wstring_view::npos);
        break;
      case EntryLinkKind::Link:
        FUZZ_CHECK(link.link.find(L"\">") == std::wstring::npos);
        FUZZ_CHECK(entry.find(L"<a href=\"" + link.link + L"\">") == open);
        break;
    }
  }
  FUZZ_CHECK(covered == list->size());
}

void CheckPhotoPage(std::wstring_view page) {
  const auto address = PhotoFileAddress(page);
  if (!address) return;
  FUZZ_CHECK(address->find(L"\" title=") == std::wstring::npos);
  FUZZ_CHECK(page.find(L"<img id=\"photo\" src=\"" + *address + L"\" title=") != std::wstring_view::npos);
  // Whatever the address, the photo is saved inside the folder under a plain name.
  const std::wstring name = SafeFileName(getFileName(*address));
  FUZZ_CHECK(PhotoPath(L"C:\\\u76f8\u518c", name).has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto fields = fuzz::Fields(fuzz::Bytes(data, size), 5);
  const std::wstring listPage = fuzz::WideFromUtf8(fields[0]);
  const std::wstring photoPage = fuzz::WideFromUtf8(fields[1]);

  const auto count = ReadPhotoCount(listPage);
  if (count) {
    FUZZ_CHECK(*count >= -32768 && *count <= 32767);
    FUZZ_CHECK(listPage.find(L"pager-top") != std::wstring::npos);
  }
  const std::wstring newest = fuzz::WideFromUtf8(fields[2]);
  const std::wstring start = fuzz::WideFromUtf8(fields[3]);
  const std::wstring end = fuzz::WideFromUtf8(fields[4]);
  for (const std::wstring* box : {&newest, &start, &end}) {
    const auto value = ParseInt16(*box);
    if (value) FUZZ_CHECK(ParseInt16(std::to_wstring(*value)) == value);
  }
  CheckPlans(count.value_or(0), newest, start, end);
  CheckList(listPage);
  CheckPhotoPage(photoPage);
  return 0;
}
