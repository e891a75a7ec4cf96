#include "winmsg/alt_key_filter.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

constexpr std::uint32_t kAltDown = 1u << 29;
constexpr std::uint32_t kKeyUp = 1u << 31;
constexpr std::uint32_t kRepeatOne = 1;  // a real key message's repeat count

TEST(AltKeyFilter, LettersAndDigitsWithAltAreAccelerators) {
  // Space, the key just below F1 and F13 border on the excluded ones.
  const std::uintptr_t keys[] = {'F', 'Z', '0', '9', 0x20, 0x6F, 0x7C};
  for (std::uintptr_t vKey : keys) {
    EXPECT_TRUE(IsAltAccelerator(0, vKey, kAltDown | kRepeatOne, false)) << vKey;
  }
}

TEST(AltKeyFilter, SystemCombinationsAreNeverTaken) {
  for (std::uintptr_t f = 112; f <= 123; ++f) EXPECT_FALSE(IsAltAccelerator(0, f, kAltDown, false)) << f;
  EXPECT_FALSE(IsAltAccelerator(0, 27, kAltDown, false));   // Alt+Escape
  EXPECT_FALSE(IsAltAccelerator(0, 46, kAltDown, false));   // Alt+Delete
  EXPECT_FALSE(IsAltAccelerator(0, 'F', kAltDown, true));   // Ctrl+Alt+F
  EXPECT_FALSE(IsAltAccelerator(0, 18, kAltDown, false));   // Alt itself
  EXPECT_FALSE(IsAltAccelerator(0, 0, kAltDown, false));
}

TEST(AltKeyFilter, OnlyKeyPressesWithAltInAKeyActionCount) {
  EXPECT_FALSE(IsAltAccelerator(0, 'F', kRepeatOne, false));                     // no Alt
  EXPECT_FALSE(IsAltAccelerator(0, 'F', kAltDown | kKeyUp, false));              // release
  EXPECT_FALSE(IsAltAccelerator(3 /*HC_NOREMOVE*/, 'F', kAltDown, false));       // only peeked
  EXPECT_FALSE(IsAltAccelerator(-1, 'F', kAltDown, false));
  // The previous-state bit (a held key repeating) does not matter.
  EXPECT_TRUE(IsAltAccelerator(0, 'F', kAltDown | (1u << 30), false));
}

}  // namespace
}  // namespace lumadex
