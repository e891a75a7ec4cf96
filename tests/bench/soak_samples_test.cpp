#include "soak/soak_samples.h"

#include <gtest/gtest.h>

namespace lumadex::bench {
namespace {

SoakSample At(int photos, double mib, std::int64_t handles, std::int64_t gdi = 30, std::int64_t user = 40,
              std::int64_t threads = 10) {
  return {photos, mib, handles, gdi, user, threads};
}

TEST(SoakVerdict, FlatAgainstTheFirstThousandWithItsOwnShareForMemory) {
  // Memory may move 10 %, every count 5 %; what happens in between does not matter.
  EXPECT_TRUE(Flat({At(1000, 40, 100), At(5000, 60, 200), At(10000, 44, 105)}));
  EXPECT_FALSE(Flat({At(1000, 40, 100), At(10000, 44.5, 100)}));
  EXPECT_FALSE(Flat({At(1000, 40, 100), At(10000, 40, 106)}));
  EXPECT_FALSE(Flat({At(1000, 40, 100), At(10000, 40, 94)}));
  EXPECT_FALSE(Flat({At(1000, 40, 100, 30), At(10000, 40, 100, 32)}));
  EXPECT_FALSE(Flat({At(1000, 40, 100, 30, 40, 10), At(10000, 40, 100, 30, 40, 11)}));
  // A count that starts at none must stay at none; one sample shows nothing.
  EXPECT_FALSE(Flat({At(1000, 40, 100, 0), At(10000, 40, 100, 1)}));
  EXPECT_FALSE(Flat({At(1000, 40, 100)}));
}

TEST(SoakVerdict, LineNamesFirstAndLastOfEachCount) {
  EXPECT_EQ(SoakLine(10000, 41.24, {At(1000, 40, 120, 31, 40, 9), At(10000, 41, 121, 31, 40, 9)}),
            "photos=10000 peak_mib=41.2 handles=120..121 gdi=31..31 user=40..40 threads=9..9 flat=yes");
  EXPECT_EQ(SoakLine(0, 0, {}), "photos=0 peak_mib=0.0 handles=0..0 gdi=0..0 user=0..0 threads=0..0 flat=no");
}

}  // namespace
}  // namespace lumadex::bench
