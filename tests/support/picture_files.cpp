#include "support/picture_files.h"

namespace lumadex::test {
namespace {

struct Writer {
  std::vector<std::uint8_t> bytes;
  void U8(unsigned v) { bytes.push_back(static_cast<std::uint8_t>(v)); }
  void U16(unsigned v) { U8(v & 0xFF), U8(v >> 8); }
  void U32(std::uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
  void Pad(std::size_t to) {
    while (bytes.size() % 4 != to % 4) U8(0);
  }
};

// File header and information header; the rows follow once the colour table is written.
Writer Headers(int width, int height, int bitCount, std::size_t tableEntries) {
  const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitCount) + 31) / 32) * 4;
  const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
  const std::uint32_t bitsOffset = 14 + 40 + static_cast<std::uint32_t>(tableEntries) * 4;
  Writer w;
  w.U8('B'), w.U8('M'), w.U32(bitsOffset + stride * rows), w.U32(0), w.U32(bitsOffset);
  w.U32(40), w.U32(static_cast<std::uint32_t>(width)), w.U32(static_cast<std::uint32_t>(height)), w.U16(1),
      w.U16(static_cast<unsigned>(bitCount)), w.U32(0), w.U32(stride * rows), w.U32(2835), w.U32(2835),
      w.U32(static_cast<std::uint32_t>(tableEntries)), w.U32(0);
  return w;
}

template <typename Row>
void Rows(Writer& w, int height, bool topFirst, Row row) {
  const std::size_t rowsStart = w.bytes.size();
  for (int i = 0; i < height; ++i) {
    row(topFirst ? i : height - 1 - i);
    w.Pad(rowsStart);
  }
}

}  // namespace

std::vector<std::uint8_t> BitmapFile(int width, int height, int bitCount, const std::function<Colour(int x, int y)>& pixel,
                                     bool topFirst) {
  Writer w = Headers(width, topFirst ? -height : height, bitCount, 0);
  Rows(w, height, topFirst, [&](int y) {
    for (int x = 0; x < width; ++x) {
      const Colour c = pixel(x, y);
      w.U8(static_cast<unsigned>(BlueOf(c))), w.U8(static_cast<unsigned>(GreenOf(c))), w.U8(static_cast<unsigned>(RedOf(c)));
      if (bitCount == 32) w.U8(0);
    }
  });
  return w.bytes;
}

std::vector<std::uint8_t> PalettedBitmapFile(int width, int height, const std::vector<Colour>& palette,
                                             const std::function<int(int x, int y)>& index) {
  Writer w = Headers(width, height, 8, palette.size());
  for (Colour c : palette) {
    w.U8(static_cast<unsigned>(BlueOf(c))), w.U8(static_cast<unsigned>(GreenOf(c))), w.U8(static_cast<unsigned>(RedOf(c))),
        w.U8(0);
  }
  Rows(w, height, false, [&](int y) {
    for (int x = 0; x < width; ++x) w.U8(static_cast<unsigned>(index(x, y)));
  });
  return w.bytes;
}

}  // namespace lumadex::test
