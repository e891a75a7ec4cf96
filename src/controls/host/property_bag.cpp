#include "controls/host/property_bag.h"

#include <algorithm>
#include <limits>

namespace lumadex {

namespace {

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

template <class T>
const T* As(const PropertyValue* value) {
  return value ? std::get_if<T>(value) : nullptr;
}

}  // namespace

bool SameKey(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

const PropertyValue* PropertyBag::Find(std::wstring_view key) const {
  for (const Entry& e : entries_)
    if (SameKey(e.key, key)) return &e.value;
  return nullptr;
}

void PropertyBag::Erase(std::wstring_view key) {
  std::erase_if(entries_, [&](const Entry& e) { return SameKey(e.key, key); });
}

void PropertyBag::Write(std::wstring_view key, PropertyValue value, const std::optional<PropertyValue>& writeDefault) {
  if (writeDefault && *writeDefault == value) {
    Erase(key);
    return;
  }
  for (Entry& e : entries_) {
    if (SameKey(e.key, key)) {
      e.value = std::move(value);
      return;
    }
  }
  entries_.push_back(Entry{std::wstring(key), std::move(value)});
}

std::int32_t PropertyBag::ReadInt(std::wstring_view key, std::int32_t readDefault) const {
  const auto* v = As<std::int64_t>(Find(key));
  if (!v) return readDefault;
  // Out-of-range stored numbers saturate instead of wrapping into a different meaning.
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(*v, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

std::uint32_t PropertyBag::ReadColor(std::wstring_view key, std::uint32_t readDefault) const {
  const auto* v = As<std::int64_t>(Find(key));
  return v ? static_cast<std::uint32_t>(*v) : readDefault;
}

bool PropertyBag::ReadBool(std::wstring_view key, bool readDefault) const {
  const auto* v = As<bool>(Find(key));
  return v ? *v : readDefault;
}

std::wstring PropertyBag::ReadString(std::wstring_view key, const std::wstring& readDefault) const {
  const auto* v = As<std::wstring>(Find(key));
  return v ? *v : readDefault;
}

StoredFont PropertyBag::ReadFont(std::wstring_view key, const StoredFont& readDefault) const {
  const auto* v = As<StoredFont>(Find(key));
  return v ? *v : readDefault;
}

StoredPicture PropertyBag::ReadPicture(std::wstring_view key) const {
  const auto* v = As<StoredPicture>(Find(key));
  return v ? *v : StoredPicture{};
}

std::vector<std::wstring> PropertyBag::Keys() const {
  std::vector<std::wstring> keys;
  keys.reserve(entries_.size());
  for (const Entry& e : entries_) keys.push_back(e.key);
  return keys;
}

}  // namespace lumadex
