#include "controls/button/picture_file.h"

#include <cstdlib>

namespace lumadex::button {
namespace {

struct Reader {
  const std::uint8_t* bytes;
  std::size_t length;
  unsigned U16(std::size_t at) const { return static_cast<unsigned>(bytes[at] | (bytes[at + 1] << 8)); }
  std::uint32_t U32(std::size_t at) const {
    return static_cast<std::uint32_t>(U16(at)) | (static_cast<std::uint32_t>(U16(at + 2)) << 16);
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
};

constexpr std::uint32_t kUncompressed = 0, kColourMasks = 3;

}  // namespace

std::optional<IconImage> ChooseIconImage(const std::uint8_t* bytes, std::size_t length, int size) {
  const Reader r{bytes, length};
  if (!bytes || length < 6 || r.U16(0) != 0 || r.U16(2) != 1) return std::nullopt;
  const unsigned count = r.U16(4);
  if (count == 0 || 6 + static_cast<std::size_t>(count) * 16 > length) return std::nullopt;
  std::optional<IconImage> best;
  int bestDistance = 0;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t entry = 6 + static_cast<std::size_t>(i) * 16;
    const int side = bytes[entry] == 0 ? 256 : bytes[entry];
    const std::uint32_t imageLength = r.U32(entry + 8), offset = r.U32(entry + 12);
    // An image is at least its 40-byte header and lies wholly inside the file.
    if (offset > length || imageLength > length - offset || imageLength < 40) continue;
    const int distance = std::abs(side - size);
    if (!best || distance < bestDistance) {
      best = IconImage{offset, imageLength};
      bestDistance = distance;
    }
  }
  return best;
}

std::optional<BitmapImage> ReadBitmapFile(const std::uint8_t* bytes, std::size_t length) {
  constexpr std::size_t kFileHeader = 14, kInfoHeader = 40;
  const Reader r{bytes, length};
  if (!bytes || length < kFileHeader + kInfoHeader || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint32_t bitsOffset = r.U32(10), headerSize = r.U32(14);
  if (headerSize < kInfoHeader || headerSize > length - kFileHeader) return std::nullopt;
  const std::int32_t width = r.I32(18), height = r.I32(22);
  const unsigned planes = r.U16(26), bitCount = r.U16(28);
  const std::uint32_t compression = r.U32(30), coloursUsed = r.U32(46);
  if (width <= 0 || width > kLargestPictureSide || height == 0 || height < -kLargestPictureSide ||
      height > kLargestPictureSide || planes != 1) {
    return std::nullopt;
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return std::nullopt;
  }
  const bool masks = compression == kColourMasks;
  if (compression != kUncompressed && !(masks && (bitCount == 16 || bitCount == 32))) return std::nullopt;
  // A short information header is followed by its three colour masks; longer ones hold them.
  const std::size_t maskBytes = masks && headerSize == kInfoHeader ? 12 : 0;
  const std::size_t tableLimit = bitCount <= 8 ? (std::size_t{1} << bitCount) : 256;
  if (coloursUsed > tableLimit) return std::nullopt;
  const std::size_t tableEntries = coloursUsed != 0 ? coloursUsed : bitCount <= 8 ? tableLimit : 0;
  const std::size_t headerLength = headerSize + maskBytes + tableEntries * 4;
  if (headerLength > length - kFileHeader) return std::nullopt;
  const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
  const std::size_t rows = static_cast<std::size_t>(height < 0 ? -static_cast<std::int64_t>(height) : height);
  const std::size_t bitsLength = stride * rows;
  if (bitsOffset < kFileHeader + headerLength || bitsOffset > length || bitsLength > length - bitsOffset) {
    return std::nullopt;
  }
  return BitmapImage{kFileHeader, headerLength, bitsOffset, bitsLength, width, height};
}

}  // namespace lumadex::button
