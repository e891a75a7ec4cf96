#include "app/album_plan.h"

#include <string_view>

namespace lumadex {
namespace {

constexpr int kInt16Min = -32768;
constexpr int kInt16Max = 32767;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Division and remainder for page numbers: the page index rounds down (an empty album
// has its last page at -1, so no page is fetched), the remainder keeps the sign of the
// dividend.
int FloorDiv(int a, int b) {
  const int q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

PlanResult Ok(int startPage, int endPage, int totalPhotos, int cutOff) {
  return {PlanOutcome::Ok, {startPage, endPage, totalPhotos, cutOff}};
}
PlanResult NotOk(PlanOutcome outcome) { return {outcome, {0, 0, 0, 0}}; }

}  // namespace

std::optional<int> ParseInt16(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::size_t end = text.size();
  while (end > i && IsBlank(text[end - 1])) --end;
  text = text.substr(i, end - i);

  bool negative = false;
  if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;

  // Accumulated in a wider type and stopped as soon as it leaves the range, so a long
  // pasted run of digits cannot overflow.
  long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
    if (value > -static_cast<long>(kInt16Min)) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < kInt16Min || value > kInt16Max) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<int> ReadPhotoCount(std::wstring_view firstPage) {
  const auto pager = firstPage.find(L"pager-top");
  if (pager == std::wstring_view::npos) return std::nullopt;
  const std::wstring_view fromPager = firstPage.substr(pager);
  const auto total = fromPager.find(L"\u5171");  // 共
  if (total == std::wstring_view::npos) return std::nullopt;
  const std::wstring_view fromTotal = fromPager.substr(total + 1);
  const auto unit = fromTotal.find(L"\u5f20");  // 张
  if (unit == std::wstring_view::npos) return std::nullopt;
  return ParseInt16(fromTotal.substr(0, unit));
}

AlbumPages ComputeAlbumPages(int n) {
  return {FloorDiv(n - 1, kPhotosPerPage), (n - 1) % kPhotosPerPage + 1};
}

PlanResult PlanWholeAlbum(int n) {
  if (n < 0) return NotOk(PlanOutcome::Error);
  return Ok(1, ComputeAlbumPages(n).lastPageIndex + 1, n, 0);
}

PlanResult PlanNewest(int n, std::wstring_view countText) {
  if (n < 0) return NotOk(PlanOutcome::Error);
  const auto wanted = ParseInt16(countText);
  if (!wanted) return NotOk(PlanOutcome::Error);
  // None wanted is an empty run that ends at once with nothing saved. A negative count could
  // only be pasted and would make the run promise a negative number of photos.
  if (*wanted < 0 || *wanted > n) return NotOk(PlanOutcome::Refused);
  const AlbumPages pages = ComputeAlbumPages(*wanted);
  return Ok(1, pages.lastPageIndex + 1, *wanted, *wanted == 0 ? 0 : pages.lastPageCount);
}

PlanResult PlanPageRange(int n, std::wstring_view startText, std::wstring_view endText) {
  if (n < 0) return NotOk(PlanOutcome::Error);
  const bool hasStart = !startText.empty();
  const bool hasEnd = !endText.empty();
  if (!hasStart && !hasEnd) return NotOk(PlanOutcome::Error);

  const AlbumPages pages = ComputeAlbumPages(n);
  const int lastPage = pages.lastPageIndex + 1;

  int start = 1;
  int end = lastPage;
  if (hasStart) {
    const auto value = ParseInt16(startText);
    if (!value) return NotOk(PlanOutcome::Error);
    start = *value;
  }
  if (hasEnd) {
    const auto value = ParseInt16(endText);
    if (!value) return NotOk(PlanOutcome::Error);
    end = *value;
  }
  // A start below 1 would ask the site for a page before the first and count photos that are
  // not there; so would a negative end. An end of 0 alone asks for the pages up to none: an
  // empty run that saves nothing.
  if (start < 1 || end < 0 || (hasStart && start > end) || end > lastPage) return NotOk(PlanOutcome::Refused);
  if (end < start) return Ok(start, end, 0, 0);

  const int total = end == lastPage ? pages.lastPageCount + kPhotosPerPage * (end - start)
                                    : kPhotosPerPage * (end - start + 1);
  return Ok(start, end, total, 0);
}

}  // namespace lumadex
