#include "app/album_markers.h"

namespace lumadex {
namespace {

constexpr std::wstring_view kEntryMarker = L"photoPan";
constexpr std::wstring_view kListEnd = L"pager-bottom";
constexpr std::wstring_view kLinkOpen = L"<a href=\"";
constexpr std::wstring_view kLinkClose = L"\">";
constexpr std::wstring_view kPhotoOpen = L"<img id=\"photo\" src=\"";
constexpr std::wstring_view kPhotoClose = L"\" title=";

// The text between the first `open` and the first `close` after it.
std::optional<std::wstring_view> Between(std::wstring_view text, std::wstring_view open,
                                         std::wstring_view close) {
  const auto openAt = text.find(open);
  if (openAt == std::wstring_view::npos) return std::nullopt;
  const auto start = openAt + open.size();
  const auto closeAt = text.find(close, start);
  if (closeAt == std::wstring_view::npos) return std::nullopt;
  return text.substr(start, closeAt - start);
}

}  // namespace

std::optional<std::wstring_view> CutPhotoList(std::wstring_view page) {
  const auto start = page.find(kEntryMarker);
  const auto end = page.find(kListEnd);
  if (start == std::wstring_view::npos || end == std::wstring_view::npos || end < start) {
    return std::nullopt;
  }
  return page.substr(start, end - start);
}

std::optional<std::wstring_view> NextPhotoEntry(std::wstring_view photoList, size_t& at) {
  const auto marker = photoList.find(kEntryMarker, at);
  if (marker == std::wstring_view::npos) {
    at = photoList.size();
    return std::nullopt;
  }
  const auto start = marker + kEntryMarker.size();
  const auto next = photoList.find(kEntryMarker, start);
  at = next == std::wstring_view::npos ? photoList.size() : next;
  return photoList.substr(start, at - start);
}

std::vector<std::wstring_view> SplitPhotoEntries(std::wstring_view photoList) {
  std::vector<std::wstring_view> entries;
  size_t at = 0;
  while (const std::optional<std::wstring_view> entry = NextPhotoEntry(photoList, at)) entries.push_back(*entry);
  return entries;
}

EntryLinkResult EntryLink(std::wstring_view entry) {
  if (entry.find(kLinkOpen) == std::wstring_view::npos) return {EntryLinkKind::NoLink, {}};
  const auto link = Between(entry, kLinkOpen, kLinkClose);
  if (!link) return {EntryLinkKind::Error, {}};
  return {EntryLinkKind::Link, std::wstring(*link)};
}

std::optional<std::wstring> PhotoFileAddress(std::wstring_view photoPage) {
  const auto address = Between(photoPage, kPhotoOpen, kPhotoClose);
  if (!address) return std::nullopt;
  return std::wstring(*address);
}

}  // namespace lumadex
