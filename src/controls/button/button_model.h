// The stored properties of the program's push button: their values for a freshly placed
// button, and how they are read from and written to the form's stored property set.
#pragma once
#include <cstdint>
#include <string>

#include "winmsg/colour.h"
#include "controls/host/property_bag.h"

namespace lumadex::button {

enum Style : std::int32_t {
  kStyleClassic = 0,
  kStyleSoft = 1,
  kStyleFlat = 2,
  kStyleShaded = 3,
  kStyleHighlight = 4,
  kStyleBlueFrame = 5,
  kStyleTheme = 6,
  kStyleGlass = 7,
  kStyleGradient = 8,
  kStyleMetal = 9,
  kStyleRounded = 10,
};
inline constexpr int kStyleCount = 11;

enum Align : std::int32_t { kAlignCentre = 0, kAlignLeft = 1, kAlignRight = 2, kAlignTop = 3, kAlignBottom = 4 };

enum ButtonType : std::int32_t { kPushButton = 0, kCheckButton = 1 };

inline constexpr wchar_t kVersion[] = L"3.4.0";
inline constexpr wchar_t kDefaultCaption[] = L"SkinButton";
inline constexpr Colour kDefaultMaskColor = 0xC0C0C0;

struct ButtonProperties {
  std::int32_t Style = kStyleClassic;
  std::wstring Caption;
  StoredPicture Icon;
  std::int32_t IconAlign = kAlignCentre;
  std::int16_t IconSize = 16;
  std::int32_t CaptionAlign = kAlignCentre;
  std::int32_t NonThemeStyle = kStyleClassic;
  bool Enabled = true;
  bool ShowFocus = false;
  bool UseCustomColors = false;
  Colour BackColor = 0, HighlightColor = 0, FontColor = 0, FontHighlightColor = 0;
  std::wstring ToolTipText;
  std::wstring ToolTipTitle;
  std::int32_t ToolTipIcon = 0;
  std::int32_t ToolTipType = 1;
  Colour ToolTipBackColor = 0, ToolTipForeColor = 0;
  StoredFont Font{L"Verdana", 8.25, 400};
  std::int32_t ButtonType = kPushButton;
  std::int16_t MousePointer = 0;
  bool Value = false;
  Colour MaskColor = 0;
  bool UseMaskColor = false;

  bool IsCheckButton() const { return ButtonType == kCheckButton; }
};

// A button as it is first placed on a form: named `name`, coloured by the current system colours.
ButtonProperties NewButtonProperties(const std::wstring& name, const SystemColours& system);

// Reads a stored set; missing keys take their reading defaults (system colours of this machine,
// `surfaceFont` for the font). Values of the wrong kind count as missing.
ButtonProperties ReadButtonProperties(const PropertyBag& bag, const SystemColours& system,
                                      const StoredFont& surfaceFont);

// Writes every key in its order; a value equal to its writing default is left out.
void WriteButtonProperties(const ButtonProperties& p, PropertyBag& bag, const SystemColours& system);

// Range checks of the table-indexed properties, applied where they are used.
bool IsKnownStyle(std::int32_t style);
// The tooltip title icon (0 none … 3 error); anything else shows none.
int ToolTipIconOrNone(std::int32_t icon);

// The style a repaint draws. When themed drawing has failed once, Style 6 is drawn as
// NonThemeStyle, without ever changing the stored Style; a NonThemeStyle that names the
// theme style itself falls back to the classic look instead of trying again.
std::int32_t DrawnStyle(std::int32_t style, std::int32_t nonThemeStyle, bool themeFailed);

// The icon margin of a style.
int IconMargin(std::int32_t drawnStyle);

}  // namespace lumadex::button
