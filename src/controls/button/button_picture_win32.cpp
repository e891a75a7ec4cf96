#include "controls/button/button_picture_win32.h"

#include <vector>

#include "controls/button/button_colour.h"
#include "controls/button/picture_file.h"
#include "winmsg/gdi_win32.h"

namespace lumadex::button {
namespace {

Icon IconOf(const std::uint8_t* bytes, std::size_t length, int size) {
  const auto image = ChooseIconImage(bytes, length, size);
  if (!image) return {};
  std::vector<BYTE> copy(bytes + image->offset, bytes + image->offset + image->length);
  return Icon(CreateIconFromResourceEx(copy.data(), static_cast<DWORD>(copy.size()), TRUE, 0x00030000, size, size,
                                       LR_DEFAULTCOLOR));
}

DibSurface BitmapOf(const std::uint8_t* bytes, std::size_t length) {
  const auto image = ReadBitmapFile(bytes, length);
  if (!image) return {};
  // The header is read as a structure: an aligned copy, not the file's bytes in place.
  std::vector<std::uint32_t> header((image->headerLength + 3) / 4);
  std::copy(bytes + image->headerOffset, bytes + image->headerOffset + image->headerLength,
            reinterpret_cast<std::uint8_t*>(header.data()));
  const int rows = image->height < 0 ? -image->height : image->height;
  DibSurface surface(image->width, rows);
  if (!surface) return {};
  const int copied = StretchDIBits(surface.dc(), 0, 0, image->width, rows, 0, 0, image->width, rows,
                                   bytes + image->bitsOffset, reinterpret_cast<const BITMAPINFO*>(header.data()),
                                   DIB_RGB_COLORS, SRCCOPY);
  if (copied <= 0) return {};
  GdiFlush();
  return surface;
}

// The two bitmaps GetIconInfo makes for the caller, each with its owner.
struct IconParts {
  Bitmap colour, mask;
  explicit IconParts(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return;
    colour.reset(info.hbmColor);
    mask.reset(info.hbmMask);
  }
};

}  // namespace

ButtonPicture ButtonPicture::FromFileBytes(const std::uint8_t* bytes, std::size_t length, int size) {
  ButtonPicture picture;
  if (!bytes || length == 0) return picture;
  picture.icon_ = IconOf(bytes, length, size);
  if (!picture.icon_) picture.bitmap_ = BitmapOf(bytes, length);
  return picture;
}

bool ButtonPicture::Draw(HDC dc, int x, int y, int size) const {
  GdiFlush();
  if (icon_) return DrawIconEx(dc, x, y, icon_.get(), size, size, 0, nullptr, DI_NORMAL) != FALSE;
  if (!bitmap_) return false;
  // Whole pixels only: a scaled bitmap keeps the colours it has, as the masked forms need.
  const int mode = SetStretchBltMode(dc, COLORONCOLOR);
  const BOOL drawn = StretchBlt(dc, x, y, size, size, bitmap_.dc(), 0, 0, bitmap_.width(), bitmap_.height(), SRCCOPY);
  SetStretchBltMode(dc, mode);
  return drawn != FALSE;
}

bool ButtonPicture::DrawGrey(Surface& target, int x, int y, int size) const {
  if (icon_) return PaintIconGrayscale(target.dc(), icon_.get(), x, y, size, size);
  Surface scratch(size, size);
  if (!scratch.ok() || !Draw(scratch.dc(), 0, 0, size)) return false;
  GdiFlush();
  for (int j = 0; j < size; ++j)
    for (int i = 0; i < size; ++i) target.SetPixel(x + i, y + j, GreyIconPixel(scratch.Pixel(i, j)));
  return true;
}

bool PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int height, int width) {
  if (!dc || !icon) return false;
  const IconParts parts(icon);
  if (!parts.colour) return false;
  BITMAP bm{};
  if (!GetObjectW(parts.colour.get(), sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> px(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
  WindowDC screen(nullptr);
  if (!GetDIBits(screen.get(), parts.colour.get(), 0, static_cast<UINT>(bm.bmHeight), px.data(), &bi, DIB_RGB_COLORS)) {
    return false;
  }
  for (std::uint32_t& p : px) p = (p & 0xFF000000u) | DibSurface::ToDib(GreyIconPixel(DibSurface::FromDib(p)));
  Bitmap grey(CreateDIBitmap(screen.get(), &bi.bmiHeader, CBM_INIT, px.data(), &bi, DIB_RGB_COLORS));
  if (!grey) return false;
  ICONINFO made{};
  made.fIcon = TRUE;
  made.hbmMask = parts.mask.get();
  made.hbmColor = grey.get();
  const Icon greyIcon(CreateIconIndirect(&made));
  GdiFlush();
  return greyIcon && DrawIconEx(dc, x, y, greyIcon.get(), width, height, 0, nullptr, DI_NORMAL) != FALSE;
}

}  // namespace lumadex::button
