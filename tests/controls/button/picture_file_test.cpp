#include "controls/button/picture_file.h"

#include <gtest/gtest.h>

#include "support/picture_files.h"

namespace lumadex::button {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::optional<BitmapImage> Read(const Bytes& b) { return ReadBitmapFile(b.data(), b.size()); }

TEST(BitmapFiles, WellFormedFilesOfEveryDepthAreRead) {
  const auto red = [](int, int) { return Rgb(255, 0, 0); };
  // 5 pixels: rows of 15 bytes padded to 16 at 24 bits, 20 at 32 bits.
  for (const auto& [bits, stride] : {std::pair{24, 16}, std::pair{32, 20}}) {
    const auto image = Read(test::BitmapFile(5, 3, bits, red));
    ASSERT_TRUE(image) << bits;
    EXPECT_EQ(image->headerOffset, 14u);
    EXPECT_EQ(image->headerLength, 40u);
    EXPECT_EQ(image->bitsOffset, 54u);
    EXPECT_EQ(image->bitsLength, static_cast<std::size_t>(stride * 3));
    EXPECT_EQ(image->width, 5);
    EXPECT_EQ(image->height, 3);
  }
  const auto topFirst = Read(test::BitmapFile(4, 2, 24, red, true));
  ASSERT_TRUE(topFirst);
  EXPECT_EQ(topFirst->height, -2);
  // The colour table belongs to the header.
  const auto paletted = Read(test::PalettedBitmapFile(3, 3, {0, 0xFFFFFF}, [](int x, int) { return x % 2; }));
  ASSERT_TRUE(paletted);
  EXPECT_EQ(paletted->headerLength, 40u + 2 * 4);
  EXPECT_EQ(paletted->bitsLength, 12u);
}

TEST(BitmapFiles, AnythingElseIsRefused) {
  const Bytes good = test::BitmapFile(4, 4, 24, [](int, int) { return 0u; });
  ASSERT_TRUE(Read(good));
  struct Damage {
    const char* what;
    std::size_t at;
    std::uint32_t value;
  };
  const Damage damages[] = {
      {"not BM", 0, 0x4D43},           {"rows beyond the end", 10, 60},  {"rows inside the header", 10, 20},
      {"short header", 14, 12},        {"header past the end", 14, 4000}, {"no width", 18, 0},
      {"huge width", 18, 5000},        {"no height", 22, 0},              {"huge height", 22, 0xFFFFE000},
      {"two planes", 26, 0x00180002}, {"odd depth", 26, 0x00070001},     {"run-length coded", 30, 1},
      {"masks at 24 bits", 30, 3},    {"too many colours", 46, 257},
  };
  for (const Damage& d : damages) {
    Bytes bad = good;
    Put32(bad, d.at, d.value);
    EXPECT_FALSE(Read(bad)) << d.what;
  }
  for (std::size_t cut : std::initializer_list<std::size_t>{0, 1, 20, 53, 54, 60, good.size() - 1}) {
    EXPECT_FALSE(ReadBitmapFile(good.data(), cut)) << cut;
  }
  EXPECT_FALSE(ReadBitmapFile(nullptr, 100));
  // A colour table larger than the file.
  Bytes paletted = test::PalettedBitmapFile(2, 2, {0, 0xFFFFFF}, [](int, int) { return 0; });
  Put32(paletted, 46, 0);  // the full 256-entry table is implied
  EXPECT_FALSE(Read(paletted));
}

TEST(IconFiles, TheNearestImageInsideTheFileIsChosen) {
  // Two directory entries: 16 at offset 38 and 32 at offset 78, 40 bytes each.
  Bytes f(118, 0);
  f[2] = 1, f[4] = 2;
  auto entry = [&](std::size_t at, std::uint8_t side, std::uint32_t length, std::uint32_t offset) {
    f[at] = side;
    Put32(f, at + 8, length);
    Put32(f, at + 12, offset);
  };
  entry(6, 16, 40, 38);
  entry(22, 32, 40, 78);
  EXPECT_EQ(ChooseIconImage(f.data(), f.size(), 16)->offset, 38u);
  EXPECT_EQ(ChooseIconImage(f.data(), f.size(), 30)->offset, 78u);
  entry(22, 32, 41, 78);  // one byte past the end: only the other image is left
  EXPECT_EQ(ChooseIconImage(f.data(), f.size(), 32)->offset, 38u);
  entry(6, 16, 39, 38);  // shorter than its header
  EXPECT_FALSE(ChooseIconImage(f.data(), f.size(), 16));
  EXPECT_FALSE(ChooseIconImage(f.data(), 21, 16));  // the directory itself cut short
  const Bytes bitmap = test::BitmapFile(4, 4, 24, [](int, int) { return 0u; });
  EXPECT_FALSE(ChooseIconImage(bitmap.data(), bitmap.size(), 16));
  EXPECT_FALSE(ReadBitmapFile(f.data(), f.size()));
}

}  // namespace
}  // namespace lumadex::button
