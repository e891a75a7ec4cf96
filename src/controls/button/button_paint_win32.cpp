#include "controls/button/button_paint_win32.h"

#include <uxtheme.h>

#include <algorithm>
#include <vector>

#include "controls/button/button_geometry.h"
#include "winmsg/gdi_win32.h"

namespace lumadex::button {
namespace {

using S = ButtonState;

struct Ctx {
  Surface& s;
  const PaintInput& in;
  const ButtonProperties& p;
  const SystemColours& pal;
  int w, h;
  Colour face() const { return pal[kSysButtonFace]; }
  Colour back() const { return p.UseCustomColors ? p.BackColor : face(); }
  Colour highlight(Colour otherwise) const { return p.UseCustomColors ? p.HighlightColor : otherwise; }
};

void Edge(Ctx& c, UINT edge) {
  RECT r{0, 0, c.w, c.h};
  DrawEdge(c.s.dc(), &r, edge, BF_RECT);
}

Colour PlainBackground(Ctx& c, bool customInDisabled) {
  if (!c.p.Enabled) return c.face();
  if (!c.p.UseCustomColors) return c.face();
  if (c.in.state == S::Normal || (customInDisabled && c.in.state == S::Disabled)) return c.p.BackColor;
  return c.p.HighlightColor;
}

void Classic(Ctx& c) {
  c.s.Fill(PlainBackground(c, false));
  Edge(c, c.in.state == S::Pressed ? EDGE_SUNKEN : EDGE_RAISED);
  if ((c.in.hasFocus && c.p.ShowFocus) || (!c.in.hasFocus && c.in.displayAsDefault)) {
    c.s.Outline(0, 0, c.w - 1, c.h - 1, 0);
  }
}

void Soft(Ctx& c, bool flat) {
  const Colour bg = PlainBackground(c, true);
  c.s.Fill(bg);
  switch (c.in.state) {
    case S::Normal:
      if (flat) c.s.Outline(0, 0, c.w - 1, c.h - 1, bg);
      else Edge(c, BDR_RAISEDINNER);
      break;
    case S::Hot:
      Edge(c, BDR_RAISEDINNER);
      break;
    case S::Pressed:
      Edge(c, BDR_SUNKENOUTER);
      break;
    case S::Disabled:
      c.s.Outline(0, 0, c.w - 1, c.h - 1, bg);
      break;
  }
}

void Shaded(Ctx& c) {
  c.s.Fill(c.back());
  const Colour shadow = c.pal[kSysButtonShadow], window = c.pal[kSysWindow];
  Colour fill;
  if (c.in.state == S::Hot) {
    fill = c.p.UseCustomColors ? BlendColors(c.p.HighlightColor, c.p.BackColor) : BlendColors(shadow, c.face());
  } else if (c.in.state == S::Pressed) {
    fill = c.highlight(shadow);
  } else {
    fill = c.back();
  }
  const Rect cap = CaptionRect(c.w, c.h);
  c.s.FillRect(cap.left, cap.top, cap.right - cap.left, cap.bottom - cap.top, fill);
  c.s.Outline(0, 0, c.w - 2, c.h - 2, shadow);
  c.s.Outline(1, 1, c.w - 2, c.h - 2, window);
  c.s.SetPixel(0, c.h - 1, fill);
  c.s.SetPixel(c.w - 1, 0, fill);
  const Colour mid = BlendColors(window, shadow);
  c.s.SetPixel(1, c.h - 2, mid);
  c.s.SetPixel(c.w - 2, 1, mid);
}

void Highlight(Ctx& c) {
  Colour base, tint;
  if (c.in.state == S::Hot || c.in.state == S::Pressed) {
    base = c.highlight(c.pal[kSysHighlight]);
    tint = TintTowardWhite(base, c.in.state == S::Hot ? 176 : 128);
  } else {
    base = c.back();
    tint = TintTowardWhite(base, 32);
  }
  c.s.Fill(tint);
  c.s.Outline(0, 0, c.w - 1, c.h - 1, base);
}

// Octagon A's frame with the corner pixels softened toward the face.
void OctagonAFrame(Ctx& c, Colour frame, Colour corner) {
  const int w = c.w, h = c.h;
  c.s.DrawLine(2, 0, w - 2, 0, frame);
  c.s.DrawLine(2, h - 1, w - 2, h - 1, frame);
  c.s.DrawLine(0, 2, 0, h - 2, frame);
  c.s.DrawLine(w - 1, 2, w - 1, h - 2, frame);
  for (const Point& p : {Point{1, 1}, Point{1, h - 2}, Point{w - 2, 1}, Point{w - 2, h - 2}}) c.s.SetPixel(p.x, p.y, frame);
  for (const Point& p : {Point{1, 0}, Point{w - 2, 0}, Point{0, 1}, Point{0, h - 2}, Point{1, h - 1}, Point{w - 2, h - 1},
                         Point{w - 1, 1}, Point{w - 1, h - 2}}) {
    c.s.SetPixel(p.x, p.y, corner);
  }
}

void BlueFrame(Ctx& c) {
  const int w = c.w, h = c.h;
  const S st = c.in.state;
  if (!c.p.UseCustomColors) {
    const Colour top = st == S::Pressed ? Rgb(214, 214, 214) : Rgb(250, 250, 250);
    const Colour bottom = st == S::Pressed ? Rgb(236, 236, 236) : Rgb(222, 222, 222);
    c.s.Fill(Rgb(240, 240, 240));
    c.s.Gradient(top, bottom, 1, 1, w - 1, h - 3);
    OctagonAFrame(c, Rgb(0, 60, 116), Rgb(122, 149, 175));
    Colour inner = 0;
    bool drawInner = false;
    if (st == S::Hot) {
      inner = Rgb(255, 184, 64);
      drawInner = true;
    } else if (c.in.hasFocus && st != S::Pressed) {
      inner = Rgb(120, 160, 224);
      drawInner = true;
    }
    if (drawInner) c.s.Outline(1, 1, w - 3, h - 3, inner);
    return;
  }
  const Colour b = c.p.BackColor;
  c.s.Fill(b);
  if (st == S::Pressed) c.s.Gradient(ShadeColor(b, -15), ShadeColor(b, 15), 1, 1, w - 1, h - 3);
  else c.s.Gradient(ShadeColor(b, 15), ShadeColor(b, -15), 1, 1, w - 1, h - 3);
  c.s.ColumnGradient(ShadeColor(b, 21), ShadeColor(b, -21), 1, 2, h - 5);
  c.s.ColumnGradient(ShadeColor(b, -5), ShadeColor(b, -32), w - 2, 2, h - 5);
  OctagonAFrame(c, ShadeColor(b, -128), ShadeColor(b, -21));
  if (st == S::Hot) c.s.Outline(1, 1, w - 3, h - 3, ShadeColor(b, 85));
  else if (c.in.hasFocus && st != S::Pressed) c.s.Outline(1, 1, w - 3, h - 3, ShadeColor(b, 69));
  else c.s.DrawLine(2, 1, w - 2, 1, ShadeColor(b, 16));
}

bool Theme(Ctx& c) {
  c.s.Fill(c.face());
  HTHEME theme = OpenThemeData(c.in.window, L"Button");
  if (!theme) return false;
  int state = static_cast<int>(c.in.state);
  if (c.in.hasFocus && c.in.state == S::Normal) state = 5;
  RECT r{0, 0, c.w, c.h};
  const HRESULT hr = DrawThemeBackground(theme, c.s.dc(), 1, state, &r, &r);
  CloseThemeData(theme);
  return SUCCEEDED(hr);
}

void Glass(Ctx& c) {
  const int w = c.w, h = c.h;
  const S st = c.in.state;
  const Colour b = c.back();
  const int faceOffset = st == S::Hot ? 24 : st == S::Pressed ? -9 : st == S::Disabled ? 18 : 8;
  const Colour f = ShadeColor(b, faceOffset);
  c.s.Fill(f);
  if (st == S::Pressed) {
    c.s.Gradient(ShadeColor(f, -15), f, 1, 1, w - 2, h - 3);
    c.s.ColumnGradient(ShadeColor(f, -5), ShadeColor(f, -32), 1, 2, h - 5);
    c.s.ColumnGradient(ShadeColor(f, 21), ShadeColor(f, -21), w - 2, 2, h - 5);
  } else {
    const int d = st == S::Hot ? 16 : 15;
    c.s.Gradient(ShadeColor(f, d), ShadeColor(f, -d), 1, 1, w - 2, h - 3);
    c.s.ColumnGradient(ShadeColor(f, 21), ShadeColor(f, -21), 1, 2, h - 5);
    c.s.ColumnGradient(ShadeColor(f, -5), ShadeColor(f, -32), w - 2, 2, h - 5);
  }
  // Light rows under the top edge and dark rows over the bottom edge; pressing turns them over.
  int light = 21, dark1 = -5, dark2 = -21;
  if (st == S::Hot) light = 32;
  if (st == S::Pressed) light = -21, dark1 = 5, dark2 = 21;
  if (st == S::Disabled) light = 5, dark1 = 5, dark2 = 5;
  c.s.DrawLine(2, 1, w - 2, 1, ShadeColor(b, light));
  c.s.DrawLine(2, 2, w - 2, 2, ShadeColor(b, light));
  c.s.DrawLine(2, h - 3, w - 2, h - 3, ShadeColor(b, dark1));
  c.s.DrawLine(2, h - 2, w - 2, h - 2, ShadeColor(b, dark2));
  OctagonAFrame(c, ShadeColor(f, -96), ShadeColor(b, st == S::Disabled ? 5 : -21));
}

void Gradient(Ctx& c) {
  const int w = c.w, h = c.h;
  const S st = c.in.state;
  Colour face;
  if (c.p.UseCustomColors) face = st == S::Normal ? c.p.BackColor : c.p.HighlightColor;
  else face = st == S::Normal ? c.face() : ShadeColor(c.face(), 15);
  c.s.Fill(face);
  if (st != S::Pressed) {
    c.s.Gradient(ShadeColor(face, 15), ShadeColor(face, -15), 2, 2, w - 3, h - 6);
    c.s.DrawLine(2, 1, w - 3, 1, ShadeColor(face, 96));
    c.s.DrawLine(1, 2, 1, h - 3, ShadeColor(face, 96));
    c.s.DrawLine(2, h - 3, w - 2, h - 3, face);
  } else {
    c.s.Gradient(ShadeColor(face, -15), ShadeColor(face, 15), 2, 2, w - 3, h - 6);
    c.s.DrawLine(2, 1, w - 3, 1, face);
    c.s.DrawLine(1, 2, 1, h - 3, face);
    c.s.DrawLine(2, h - 3, w - 2, h - 3, ShadeColor(face, 96));
  }
  const Colour base = c.back();
  const Colour frame = st == S::Pressed ? ShadeColor(base, -48) : ShadeColor(base, c.in.hasFocus ? -96 : -48);
  c.s.DrawLine(2, 0, w - 3, 0, frame);
  c.s.DrawLine(0, 2, 0, h - 3, frame);
  c.s.DrawLine(2, h - 2, w - 3, h - 2, frame);
  c.s.DrawLine(w - 2, 2, w - 2, h - 3, frame);
  for (const Point& p : {Point{1, 1}, Point{1, h - 3}, Point{w - 3, 1}, Point{w - 3, h - 3}}) c.s.SetPixel(p.x, p.y, frame);
  const Colour shadow = ShadeColor(frame, 21);
  c.s.DrawLine(3, h - 1, w - 4, h - 1, shadow);
  c.s.DrawLine(w - 1, 3, w - 1, h - 4, shadow);
  c.s.DrawLine(w - 4, h - 1, w, h - 5, shadow);
  c.s.DrawLine(w - 3, h - 1, w, h - 4, ShadeColor(shadow, 15));
}

void Metal(Ctx& c) {
  const int w = c.w, h = c.h;
  const S st = c.in.state;
  Colour f;
  switch (st) {
    case S::Hot:
      f = ShadeColor(c.highlight(c.face()), 1);
      break;
    case S::Pressed:
      f = ShadeColor(c.highlight(c.face()), 24);
      break;
    case S::Disabled:
      f = ShadeColor(c.back(), 15);
      break;
    default:
      f = ShadeColor(c.back(), -15);
      break;
  }
  c.s.Fill(f);
  // Narrow bands: a bright rim at the top, a dark one at the bottom, steel sides.
  c.s.Gradient(ShadeColor(f, 128), ShadeColor(f, 32), 2, 1, w - 2, 2);
  c.s.Gradient(ShadeColor(f, -32), ShadeColor(f, -53), 2, h - 4, w - 2, 2);
  c.s.ColumnGradient(ShadeColor(f, 32), ShadeColor(f, -37), 1, 2, h - 5);
  c.s.ColumnGradient(ShadeColor(f, -37), ShadeColor(f, -53), w - 2, 2, h - 5);
  const Colour frame = ShadeColor(f, -56);
  c.s.DrawLine(2, 0, w - 2, 0, frame);
  c.s.DrawLine(3, h - 1, w - 3, h - 1, frame);
  c.s.DrawLine(0, 2, 0, h - 3, frame);
  c.s.DrawLine(w - 1, 3, w - 1, h - 3, frame);
  c.s.SetPixel(1, 1, frame);
  c.s.SetPixel(w - 2, 1, frame);
  c.s.SetPixel(1, h - 3, frame);
  c.s.SetPixel(w - 2, h - 2, frame);
  if (c.in.hasFocus && st != S::Pressed) c.s.Outline(3, 3, w - 7, h - 7, ShadeColor(f, -37));
}

void Rounded(Ctx& c) {
  const int w = c.w, h = c.h;
  const S st = c.in.state;
  const bool hot = st == S::Hot || ((st == S::Normal || st == S::Disabled) && c.in.hasFocus);
  Colour top, bottom, frame;
  if (st == S::Pressed) {
    top = Rgb(200, 208, 220), bottom = Rgb(232, 236, 242), frame = Rgb(60, 80, 120);
  } else if (hot) {
    top = Rgb(252, 252, 255), bottom = Rgb(214, 226, 244), frame = Rgb(80, 130, 200);
  } else {
    top = Rgb(252, 252, 252), bottom = Rgb(220, 220, 220), frame = Rgb(112, 112, 112);
  }
  c.s.Fill(c.face());
  c.s.Gradient(top, bottom, 1, 1, w - 1, h - 3);
  Pen pen(CreatePen(PS_SOLID, 1, frame));
  ScopedSelect selPen(c.s.dc(), pen.get());
  ScopedSelect selBrush(c.s.dc(), GetStockObject(NULL_BRUSH));
  GdiFlush();
  RoundRect(c.s.dc(), 0, 0, w, h, kRoundedCorner, kRoundedCorner);
  GdiFlush();
  // The corners outside the rounded outline keep the face, matching the window's region.
  Region inside(CreateRoundRectRgn(0, 0, w + 1, h + 1, kRoundedCorner, kRoundedCorner));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (y > kRoundedCorner && y < h - kRoundedCorner) {
        x = std::max(x, w - kRoundedCorner);
        if (x >= w) break;
      }
      if (!PtInRegion(inside.get(), x, y)) c.s.SetPixel(x, y, c.face());
    }
  }
}

// Draws the picture onto a scratch surface filled with `key`; the square's pixels are then
// read back by the caller. The scratch is as large as the picture, so reading it never leaves it.
bool PictureOnScratch(const ButtonPicture& picture, int size, Colour key, Surface& scratch) {
  if (!scratch.ok()) return false;
  scratch.Fill(key);
  return picture.Draw(scratch.dc(), 0, 0, size);
}

void DrawPicture(Ctx& c) {
  const ButtonPicture& picture = *c.in.picture;
  const int size = std::clamp<int>(c.p.IconSize, 1, 1024);
  const int margin = IconMargin(c.in.drawnStyle);
  Point at = IconPosition(c.p.IconAlign, c.w, c.h, size, margin);
  if (c.in.state == S::Pressed) ++at.x, ++at.y;
  const bool enabled = c.in.state != S::Disabled;
  if (c.in.state == S::Hot && c.in.drawnStyle == kStyleHighlight) {
    Surface scratch(size, size);
    const Colour key = c.p.UseMaskColor ? c.p.MaskColor : c.s.Pixel(1, 1);
    if (PictureOnScratch(picture, size, key, scratch)) {
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
          if (scratch.Pixel(x, y) != key) c.s.SetPixel(at.x + x, at.y + y, 0x808080);
    }
    at.x -= 2, at.y -= 2;
  }
  if (c.p.UseMaskColor) {
    Surface scratch(size, size);
    if (!PictureOnScratch(picture, size, c.p.MaskColor, scratch)) return;  // masked drawing ignores failures
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const Colour px = scratch.Pixel(x, y);
        if (px == c.p.MaskColor) continue;
        c.s.SetPixel(at.x + x, at.y + y, enabled ? px : AverageGray(px));
      }
    }
    return;
  }
  if (enabled) picture.Draw(c.s.dc(), at.x, at.y, size);
  else picture.DrawGrey(c.s, at.x, at.y, size);
}

void DrawCaption(Ctx& c) {
  const SystemColours& pal = c.pal;
  Colour color;
  if (c.in.state == S::Disabled) color = pal[kSysGrayText];
  else if (!c.p.UseCustomColors) color = pal[kSysButtonText];
  else color = c.in.state == S::Normal ? c.p.FontColor : c.p.FontHighlightColor;
  GdiFlush();
  HDC dc = c.s.dc();
  const COLORREF oldColor = SetTextColor(dc, color & 0xFFFFFF);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  ScopedSelect font(dc, c.in.font ? static_cast<HGDIOBJ>(c.in.font) : GetStockObject(DEFAULT_GUI_FONT));
  const Rect cr = CaptionRect(c.w, c.h);
  RECT r{cr.left, cr.top, cr.right, cr.bottom};
  DrawTextW(dc, c.p.Caption.c_str(), static_cast<int>(c.p.Caption.size()), &r, c.in.captionFormat);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  GdiFlush();
}

}  // namespace

PaintResult PaintButton(Surface& surface, const PaintInput& in) {
  PaintResult result;
  Ctx c{surface, in, *in.props, *in.system, surface.width(), surface.height()};
  surface.Fill(c.face());
  switch (in.drawnStyle) {
    case kStyleClassic: Classic(c); break;
    case kStyleSoft: Soft(c, false); break;
    case kStyleFlat: Soft(c, true); break;
    case kStyleShaded: Shaded(c); break;
    case kStyleHighlight: Highlight(c); break;
    case kStyleBlueFrame: BlueFrame(c); break;
    case kStyleTheme: result.themeFailed = !Theme(c); break;
    case kStyleGlass: Glass(c); break;
    case kStyleGradient: Gradient(c); break;
    case kStyleMetal: Metal(c); break;
    case kStyleRounded: Rounded(c); break;
    default: break;  // no pattern for an unknown style; icon and caption still show
  }
  if (in.picture && !in.picture->empty()) DrawPicture(c);
  DrawCaption(c);
  return result;
}

}  // namespace lumadex::button
