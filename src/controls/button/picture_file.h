// The two kinds of file a button's picture may be, an icon file or a bitmap file, read far
// enough to know where the image is. Everything handed on lies inside the file's bytes, so
// a damaged or hostile picture is refused here before the platform sees any of it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace lumadex::button {

// One image of an icon file: its bytes, as the platform's icon maker takes them.
struct IconImage {
  std::size_t offset = 0, length = 0;
};

// The image of an icon file whose size is nearest to `size`; none for bytes that are no
// well-formed icon file.
std::optional<IconImage> ChooseIconImage(const std::uint8_t* bytes, std::size_t length, int size);

// A bitmap file's picture: its header with any colour masks and colour table, and its rows.
struct BitmapImage {
  std::size_t headerOffset = 0, headerLength = 0;
  std::size_t bitsOffset = 0, bitsLength = 0;
  int width = 0, height = 0;  // height as stored: negative for rows kept top first
};

// Pictures larger than this either way are refused: a button's picture is a few dozen pixels.
inline constexpr int kLargestPictureSide = 4096;

// The picture of a bitmap file with an information header (40 bytes or longer), 1, 4, 8, 16,
// 24 or 32 bits per pixel, uncompressed or with colour masks; none for anything else.
std::optional<BitmapImage> ReadBitmapFile(const std::uint8_t* bytes, std::size_t length);

}  // namespace lumadex::button
