#include "winmsg/alt_key_filter.h"

namespace lumadex {
namespace {

constexpr std::uint32_t kAltDownBit = 1u << 29;
constexpr std::uint32_t kKeyUpBit = 1u << 31;
constexpr std::uintptr_t kVkMenu = 18;
constexpr std::uintptr_t kVkEscape = 27;
constexpr std::uintptr_t kVkDelete = 46;
constexpr std::uintptr_t kVkF1 = 112;
constexpr std::uintptr_t kVkF12 = 123;

}  // namespace

bool IsAltAccelerator(int code, std::uintptr_t vKey, std::uint32_t flags, bool controlDown) noexcept {
  if (code != 0) return false;
  if ((flags & kAltDownBit) == 0 || (flags & kKeyUpBit) != 0) return false;
  if (vKey == 0 || vKey == kVkMenu) return false;
  if (controlDown) return false;
  if (vKey >= kVkF1 && vKey <= kVkF12) return false;
  return vKey != kVkEscape && vKey != kVkDelete;
}

}  // namespace lumadex
