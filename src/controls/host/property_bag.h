// The keyed set of values a hosted control stores its properties in. The form keeps one
// such set per control and hands it to the control to read when it is created and to
// write when the form is saved. Keys match without regard to letter case; a value equal
// to the default given when writing is left out, so reading it back gives the default.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "winmsg/font.h"

namespace lumadex {

// A picture kept by value (the bytes of an icon or bitmap file); empty means none.
struct StoredPicture {
  std::vector<std::uint8_t> bytes;
  bool empty() const { return bytes.empty(); }
  bool operator==(const StoredPicture&) const = default;
};

// Whole numbers are kept wide enough for both signed 32-bit values and colours, whose top
// bit marks a system colour.
using PropertyValue = std::variant<std::int64_t, bool, std::wstring, StoredFont, StoredPicture>;

class PropertyBag {
 public:
  // Stores value under key, or removes key when value equals *writeDefault. Without a
  // default the key is always written. A key already present keeps its place and spelling.
  void Write(std::wstring_view key, PropertyValue value,
             const std::optional<PropertyValue>& writeDefault = std::nullopt);

  // The stored value when it is there and of the asked kind, else readDefault. A value of
  // another kind (a string where a number belongs, say) is ignored rather than guessed at.
  std::int32_t ReadInt(std::wstring_view key, std::int32_t readDefault) const;
  std::uint32_t ReadColor(std::wstring_view key, std::uint32_t readDefault) const;
  bool ReadBool(std::wstring_view key, bool readDefault) const;
  std::wstring ReadString(std::wstring_view key, const std::wstring& readDefault) const;
  StoredFont ReadFont(std::wstring_view key, const StoredFont& readDefault) const;
  StoredPicture ReadPicture(std::wstring_view key) const;

  bool Contains(std::wstring_view key) const { return Find(key) != nullptr; }
  const PropertyValue* Find(std::wstring_view key) const;
  void Erase(std::wstring_view key);
  // Keys in the order they were first written, spelled as first written.
  std::vector<std::wstring> Keys() const;
  std::size_t Size() const { return entries_.size(); }

 private:
  struct Entry {
    std::wstring key;
    PropertyValue value;
  };
  std::vector<Entry> entries_;
};

// Keys are ASCII; letters compare without case, everything else exactly.
bool SameKey(std::wstring_view a, std::wstring_view b);

}  // namespace lumadex
