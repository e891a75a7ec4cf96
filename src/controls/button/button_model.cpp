#include "controls/button/button_model.h"

namespace lumadex::button {
namespace {

PropertyValue Int(std::int64_t v) { return PropertyValue{v}; }
PropertyValue ColourValue(Colour v) { return PropertyValue{static_cast<std::int64_t>(v)}; }

// Stored colours may name system colours; the model keeps plain values (or kColourInvalid) so
// that the painter never does arithmetic on a system-colour index.
Colour Plain(Colour stored, const SystemColours& system) { return TranslateColor(stored, system); }

}  // namespace

ButtonProperties NewButtonProperties(const std::wstring& name, const SystemColours& system) {
  ButtonProperties p;
  p.Style = kStyleClassic;
  p.Caption = name;
  p.IconSize = 16;
  p.IconAlign = kAlignCentre;
  p.NonThemeStyle = kStyleClassic;
  p.BackColor = system[kSysButtonFace];
  p.HighlightColor = system[kSysHighlight];
  p.FontColor = system[kSysButtonText];
  p.FontHighlightColor = system[kSysButtonText];
  p.ToolTipType = 1;
  p.ToolTipBackColor = 0;
  p.ToolTipForeColor = 0;
  p.MaskColor = 0;
  return p;
}

ButtonProperties ReadButtonProperties(const PropertyBag& bag, const SystemColours& system,
                                      const StoredFont& surfaceFont) {
  ButtonProperties p;
  p.Icon = bag.ReadPicture(L"Icon");
  p.Style = bag.ReadInt(L"Style", kStyleShaded);
  p.Caption = bag.ReadString(L"Caption", kDefaultCaption);
  p.IconSize = static_cast<std::int16_t>(bag.ReadInt(L"IconSize", 16));
  p.CaptionAlign = bag.ReadInt(L"CaptionAlign", kAlignCentre);
  p.IconAlign = bag.ReadInt(L"IconAlign", kAlignLeft);
  p.NonThemeStyle = bag.ReadInt(L"iNonThemeStyle", kStyleBlueFrame);
  p.Enabled = bag.ReadBool(L"Enabled", true);
  p.ShowFocus = bag.ReadBool(L"ShowFocus", false);
  p.UseCustomColors = bag.ReadBool(L"USeCustomColors", false);
  p.BackColor = Plain(bag.ReadColor(L"BackColor", system[kSysButtonFace]), system);
  p.HighlightColor = Plain(bag.ReadColor(L"HighlightColor", system[kSysHighlight]), system);
  p.FontColor = Plain(bag.ReadColor(L"FontColor", system[kSysButtonText]), system);
  p.FontHighlightColor = Plain(bag.ReadColor(L"FontHighlightColor", system[kSysButtonText]), system);
  p.ToolTipText = bag.ReadString(L"ToolTipText", L"");
  p.ToolTipTitle = bag.ReadString(L"Tooltiptitle", L"");
  p.ToolTipIcon = bag.ReadInt(L"ToolTipIcon", 0);
  p.ToolTipType = bag.ReadInt(L"ToolTipType", 1);
  // 0 means "the tooltip's own colour", so it must survive as 0 rather than be translated.
  const Colour ttBack = bag.ReadColor(L"ttBackColor", system[kSysInfoBack]);
  const Colour ttFore = bag.ReadColor(L"ttForeColor", system[kSysInfoText]);
  p.ToolTipBackColor = ttBack == 0 ? 0 : Plain(ttBack, system);
  p.ToolTipForeColor = ttFore == 0 ? 0 : Plain(ttFore, system);
  p.Font = bag.ReadFont(L"Font", surfaceFont);
  p.ButtonType = bag.ReadInt(L"ButtonType", kPushButton);
  p.Value = bag.ReadBool(L"Value", false);
  p.UseMaskColor = bag.ReadBool(L"UseMaskColor", false);
  p.MaskColor = Plain(bag.ReadColor(L"MaskColor", kDefaultMaskColor), system);
  p.MousePointer = static_cast<std::int16_t>(bag.ReadInt(L"MousePointer", 0));
  return p;
}

void WriteButtonProperties(const ButtonProperties& p, PropertyBag& bag, const SystemColours& system) {
  bag.Write(L"Icon", p.Icon);
  bag.Write(L"Style", Int(p.Style), Int(kStyleShaded));
  bag.Write(L"Caption", p.Caption, std::wstring());
  bag.Write(L"IconSize", Int(p.IconSize), Int(16));
  bag.Write(L"IconAlign", Int(p.IconAlign), Int(kAlignLeft));
  bag.Write(L"CaptionAlign", Int(p.CaptionAlign), Int(kAlignCentre));
  bag.Write(L"iNonThemeStyle", Int(p.NonThemeStyle), Int(kStyleBlueFrame));
  bag.Write(L"Enabled", p.Enabled, true);
  bag.Write(L"ShowFocus", p.ShowFocus, false);
  bag.Write(L"USeCustomColors", p.UseCustomColors, false);
  bag.Write(L"BackColor", ColourValue(p.BackColor), ColourValue(system[kSysButtonFace]));
  bag.Write(L"HighlightColor", ColourValue(p.HighlightColor), ColourValue(system[kSysHighlight]));
  bag.Write(L"FontColor", ColourValue(p.FontColor), ColourValue(system[kSysButtonText]));
  bag.Write(L"FontHighlightColor", ColourValue(p.FontHighlightColor), ColourValue(system[kSysButtonText]));
  // The control's own tooltip text is what is kept: written whenever it is not empty.
  bag.Write(L"ToolTipText", p.ToolTipText, std::wstring());
  bag.Write(L"Tooltiptitle", p.ToolTipTitle);
  bag.Write(L"ToolTipIcon", Int(p.ToolTipIcon));
  bag.Write(L"ToolTipType", Int(p.ToolTipType));
  bag.Write(L"ttBackColor", ColourValue(p.ToolTipBackColor), ColourValue(system[kSysInfoBack]));
  bag.Write(L"ttForeColor", ColourValue(p.ToolTipForeColor), ColourValue(system[kSysInfoText]));
  bag.Write(L"Font", p.Font);
  bag.Write(L"ButtonType", Int(p.ButtonType), Int(kPushButton));
  bag.Write(L"Value", p.Value, false);
  bag.Write(L"MaskColor", ColourValue(p.MaskColor), ColourValue(kDefaultMaskColor));
  bag.Write(L"UseMaskColor", p.UseMaskColor, false);
  bag.Write(L"MousePointer", Int(p.MousePointer), Int(0));
}

bool IsKnownStyle(std::int32_t style) { return style >= 0 && style < kStyleCount; }

int ToolTipIconOrNone(std::int32_t icon) { return icon >= 0 && icon <= 3 ? icon : 0; }

std::int32_t DrawnStyle(std::int32_t style, std::int32_t nonThemeStyle, bool themeFailed) {
  if (style != kStyleTheme || !themeFailed) return style;
  return nonThemeStyle == kStyleTheme ? kStyleClassic : nonThemeStyle;
}

int IconMargin(std::int32_t drawnStyle) {
  switch (drawnStyle) {
    case kStyleBlueFrame:
    case kStyleGlass:
      return 5;
    case kStyleMetal:
    case kStyleRounded:
      return 7;
    default:
      return 4;
  }
}

}  // namespace lumadex::button
