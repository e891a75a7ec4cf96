// What assistive software reads of the program's own controls, worked out from their
// properties without the platform: the numbers of roles and states, a caption as it is read
// aloud, the keyboard shortcut of an access key, and when a change is worth announcing.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumadex::access {

// The platform's role and state numbers (the Win32 side checks that they match its headers).
inline constexpr long kRoleGrouping = 0x14;
inline constexpr long kRoleStaticText = 0x29;
inline constexpr long kRolePushButton = 0x2B;
inline constexpr long kRoleCheckButton = 0x2C;
inline constexpr long kRoleProgressBar = 0x30;

inline constexpr long kStateUnavailable = 0x1;
inline constexpr long kStateFocused = 0x4;
inline constexpr long kStatePressed = 0x8;
inline constexpr long kStateChecked = 0x10;
inline constexpr long kStateReadOnly = 0x40;
inline constexpr long kStateHotTracked = 0x80;
inline constexpr long kStateDefault = 0x100;
inline constexpr long kStateInvisible = 0x8000;
inline constexpr long kStateOffscreen = 0x10000;
inline constexpr long kStateFocusable = 0x100000;
inline constexpr long kStateProtected = 0x20000000;

// A caption as it is read: the "&" that marks the access key is not spoken, "&&" reads as one
// "&", and a lone "&" at the very end (marking nothing) stays.
std::wstring WithoutAccessMarker(std::wstring_view caption);

// "Alt+S" for the access key S; empty without a key.
std::wstring AltShortcut(std::optional<wchar_t> key);

// One announced property of a control: a change is news only when what is shown differs from
// what was last announced, so that a value set again and again (a timer's tick) is heard once.
// The first value is the control's starting point, not a change.
template <typename T>
class Announcement {
 public:
  // True when `shown` is a change to announce.
  bool Update(const T& shown) {
    const bool news = last_.has_value() && *last_ != shown;
    last_ = shown;
    return news;
  }

 private:
  std::optional<T> last_;
};

}  // namespace lumadex::access
