#include "controls/button/button_model.h"

#include <gtest/gtest.h>

#include "app/main_form_buttons.h"

namespace lumadex::button {
namespace {

SystemColours Palette(Colour face = 0xF0F0F0, Colour infoBack = 0xE1FFFF, Colour infoText = 0) {
  SystemColours p;
  for (int i = 0; i < SystemColours::kCount; ++i) p.colours[static_cast<size_t>(i)] = Rgb(i, i * 2, i * 3);
  p.colours[kSysButtonFace] = face;
  p.colours[kSysHighlight] = 0xD77800;
  p.colours[kSysButtonText] = 0x000000;
  p.colours[kSysInfoBack] = infoBack;
  p.colours[kSysInfoText] = infoText;
  return p;
}

const StoredFont kSurfaceFont{L"Tahoma", 8.0, 400};

TEST(ButtonPersistence, ANewButtonStoresOnlyWhatDiffersFromTheReadingDefaults) {
  const SystemColours pal = Palette();
  PropertyBag bag;
  WriteButtonProperties(NewButtonProperties(L"Command1", pal), bag, pal);
  for (const wchar_t* key : {L"Style", L"IconAlign", L"iNonThemeStyle", L"MaskColor", L"ttBackColor"}) {
    ASSERT_TRUE(bag.Contains(key)) << key;
    EXPECT_EQ(std::get<std::int64_t>(*bag.Find(key)), 0) << key;
  }
  EXPECT_EQ(bag.ReadString(L"Caption", L""), L"Command1");
  for (const wchar_t* key : {L"Icon", L"Tooltiptitle", L"ToolTipIcon", L"ToolTipType", L"Font"}) {
    EXPECT_TRUE(bag.Contains(key)) << key;  // always written
  }
  for (const wchar_t* key : {L"BackColor", L"HighlightColor", L"FontColor", L"FontHighlightColor", L"IconSize",
                             L"CaptionAlign", L"Enabled", L"ShowFocus", L"USeCustomColors", L"ButtonType", L"Value",
                             L"UseMaskColor", L"MousePointer", L"ttForeColor", L"ToolTipText"}) {
    EXPECT_FALSE(bag.Contains(key)) << key;
  }
  // Keys are written in their order and with their own spelling.
  const std::vector<std::wstring> keys = bag.Keys();
  ASSERT_GE(keys.size(), 3u);
  EXPECT_EQ(keys[0], L"Icon");
  EXPECT_EQ(keys[1], L"Style");
  EXPECT_EQ(keys[2], L"Caption");
}

TEST(ButtonPersistence, BlackSystemTooltipBackgroundIsNotStoredForANewButton) {
  const SystemColours pal = Palette(0xF0F0F0, 0x000000, 0x000000);
  PropertyBag bag;
  WriteButtonProperties(NewButtonProperties(L"b", pal), bag, pal);
  EXPECT_FALSE(bag.Contains(L"ttBackColor"));
  EXPECT_FALSE(bag.Contains(L"ttForeColor"));
}

TEST(ButtonPersistence, AnEmptySetReadsTheReadingDefaults) {
  const SystemColours pal = Palette();
  const ButtonProperties p = ReadButtonProperties(PropertyBag{}, pal, kSurfaceFont);
  EXPECT_EQ(p.Style, kStyleShaded);
  EXPECT_EQ(p.Caption, L"SkinButton");
  EXPECT_EQ(p.IconAlign, kAlignLeft);
  EXPECT_EQ(p.NonThemeStyle, kStyleBlueFrame);
  EXPECT_EQ(p.ToolTipType, 1);
  EXPECT_EQ(p.MaskColor, 12632256u);
  EXPECT_EQ(p.IconSize, 16);
  EXPECT_TRUE(p.Enabled);
  EXPECT_EQ(p.BackColor, 0xF0F0F0u);
  EXPECT_EQ(p.HighlightColor, 0xD77800u);
  EXPECT_EQ(p.ToolTipBackColor, 0xE1FFFFu);
  EXPECT_EQ(p.ToolTipForeColor, 0u);
  EXPECT_EQ(p.Font, kSurfaceFont);
  EXPECT_TRUE(p.Icon.empty());
}

TEST(ButtonPersistence, AnEmptyCaptionComesBackAsTheComponentName) {
  const SystemColours pal = Palette();
  ButtonProperties p = NewButtonProperties(L"x", pal);
  p.Caption.clear();
  PropertyBag bag;
  WriteButtonProperties(p, bag, pal);
  EXPECT_FALSE(bag.Contains(L"Caption"));
  EXPECT_EQ(ReadButtonProperties(bag, pal, kSurfaceFont).Caption, L"SkinButton");
}

TEST(ButtonPersistence, EveryPropertySurvivesARoundTrip) {
  const SystemColours pal = Palette();
  ButtonProperties p;
  p.Style = kStyleMetal;
  p.Caption = L"下 载";
  p.Icon.bytes = {0, 0, 1, 0, 1, 0, 9};
  p.IconAlign = kAlignBottom;
  p.IconSize = 24;
  p.CaptionAlign = kAlignRight;
  p.NonThemeStyle = kStyleGlass;
  p.Enabled = false;
  p.ShowFocus = true;
  p.UseCustomColors = true;
  p.BackColor = 0x112233;
  p.HighlightColor = 0x445566;
  p.FontColor = 0x778899;
  p.FontHighlightColor = 0xAABBCC;
  p.ToolTipText = L"提示";
  p.ToolTipTitle = L"标题";
  p.ToolTipIcon = 2;
  p.ToolTipType = 0;
  p.ToolTipBackColor = 0x010203;
  p.ToolTipForeColor = 0x040506;
  p.Font = StoredFont{L"宋体", 10.5, 700, true, false, true, 134};
  p.ButtonType = kCheckButton;
  p.MousePointer = 11;
  p.Value = true;
  p.MaskColor = 0xFF00FF;
  p.UseMaskColor = true;
  PropertyBag bag;
  WriteButtonProperties(p, bag, pal);
  const ButtonProperties q = ReadButtonProperties(bag, pal, kSurfaceFont);
  EXPECT_EQ(q.Style, p.Style);
  EXPECT_EQ(q.Caption, p.Caption);
  EXPECT_EQ(q.Icon, p.Icon);
  EXPECT_EQ(q.IconAlign, p.IconAlign);
  EXPECT_EQ(q.IconSize, p.IconSize);
  EXPECT_EQ(q.CaptionAlign, p.CaptionAlign);
  EXPECT_EQ(q.NonThemeStyle, p.NonThemeStyle);
  EXPECT_EQ(q.Enabled, p.Enabled);
  EXPECT_EQ(q.ShowFocus, p.ShowFocus);
  EXPECT_EQ(q.UseCustomColors, p.UseCustomColors);
  EXPECT_EQ(q.BackColor, p.BackColor);
  EXPECT_EQ(q.HighlightColor, p.HighlightColor);
  EXPECT_EQ(q.FontColor, p.FontColor);
  EXPECT_EQ(q.FontHighlightColor, p.FontHighlightColor);
  EXPECT_EQ(q.ToolTipText, p.ToolTipText);
  EXPECT_EQ(q.ToolTipTitle, p.ToolTipTitle);
  EXPECT_EQ(q.ToolTipIcon, p.ToolTipIcon);
  EXPECT_EQ(q.ToolTipType, p.ToolTipType);
  EXPECT_EQ(q.ToolTipBackColor, p.ToolTipBackColor);
  EXPECT_EQ(q.ToolTipForeColor, p.ToolTipForeColor);
  EXPECT_EQ(q.Font, p.Font);
  EXPECT_EQ(q.ButtonType, p.ButtonType);
  EXPECT_EQ(q.MousePointer, p.MousePointer);
  EXPECT_EQ(q.Value, p.Value);
  EXPECT_EQ(q.MaskColor, p.MaskColor);
  EXPECT_EQ(q.UseMaskColor, p.UseMaskColor);
}

TEST(ButtonPersistence, SystemColoursFollowTheReadingMachine) {
  const SystemColours writer = Palette(0xF0F0F0);
  const SystemColours reader = Palette(0xC8D0D4);
  PropertyBag bag;
  ButtonProperties p = ReadButtonProperties(PropertyBag{}, writer, kSurfaceFont);
  p.FontColor = 0x0000FF;  // not a system colour: kept as it is
  WriteButtonProperties(p, bag, writer);
  const ButtonProperties q = ReadButtonProperties(bag, reader, kSurfaceFont);
  EXPECT_EQ(q.BackColor, 0xC8D0D4u);
  EXPECT_EQ(q.FontColor, 0x0000FFu);
}

TEST(ButtonPersistence, StoredSystemColourValuesAreTranslatedOnReading) {
  const SystemColours pal = Palette();
  PropertyBag bag;
  bag.Write(L"backcolor", std::int64_t{0x8000000F});  // the button face by index
  bag.Write(L"highlightcolor", std::int64_t{0x800000FF});  // no such system colour
  bag.Write(L"fontcolor", std::int64_t{0x123456});
  bag.Write(L"fonthighlightcolor", std::int64_t{0x05000000});  // neither a system colour nor plain
  const ButtonProperties p = ReadButtonProperties(bag, pal, kSurfaceFont);
  EXPECT_EQ(p.BackColor, 0xF0F0F0u);
  EXPECT_EQ(p.HighlightColor, kColourInvalid);
  EXPECT_EQ(p.FontColor, 0x123456u);
  EXPECT_EQ(p.FontHighlightColor, kColourInvalid);
}

TEST(ButtonPersistence, ValuesOfTheWrongKindReadAsMissing) {
  const SystemColours pal = Palette();
  PropertyBag bag;
  bag.Write(L"Style", std::wstring(L"eight"));
  bag.Write(L"Caption", std::int64_t{5});
  const ButtonProperties p = ReadButtonProperties(bag, pal, kSurfaceFont);
  EXPECT_EQ(p.Style, kStyleShaded);
  EXPECT_EQ(p.Caption, L"SkinButton");
}

TEST(ButtonPersistence, TheMainWindowSetsGiveStyle8AndTheirCaptionsAndFonts) {
  const SystemColours pal = Palette();
  struct Expect {
    const wchar_t* name;
    const wchar_t* caption;
    double points;
  } expected[] = {{L"NBtnDown", L"下 载", 10.5}, {L"NBtnFile", L"目 录", 9}, {L"NBtnClip", L"粘 贴", 9},
                  {L"NBtnLogin", L"登 录", 9}};
  for (const Expect& e : expected) {
    SCOPED_TRACE(testing::Message() << e.points);
    const ButtonProperties p = ReadButtonProperties(MainFormButtonSet(e.name), pal, kSurfaceFont);
    EXPECT_EQ(p.Style, kStyleGradient);
    EXPECT_EQ(p.Caption, e.caption);
    EXPECT_EQ(p.Font, (StoredFont{L"宋体", e.points, 400}));
    EXPECT_EQ(p.IconAlign, kAlignCentre);
    EXPECT_EQ(p.NonThemeStyle, kStyleClassic);
    EXPECT_EQ(p.ToolTipType, 1);
    EXPECT_EQ(p.ToolTipForeColor, 0u);
    EXPECT_EQ(p.MaskColor, 0u);
    EXPECT_EQ(p.ButtonType, kPushButton);
    EXPECT_FALSE(p.UseCustomColors);
    EXPECT_EQ(p.BackColor, pal[kSysButtonFace]);
    EXPECT_TRUE(p.Icon.empty());
  }
  EXPECT_EQ(MainFormButtonSet(L"NBtnOther").Size(), 0u);
}

TEST(ButtonStyleRules, ThemeFallbackIsKeptApartFromTheStoredStyle) {
  EXPECT_EQ(DrawnStyle(kStyleTheme, kStyleBlueFrame, false), kStyleTheme);
  EXPECT_EQ(DrawnStyle(kStyleTheme, kStyleBlueFrame, true), kStyleBlueFrame);
  EXPECT_EQ(DrawnStyle(kStyleGradient, kStyleBlueFrame, true), kStyleGradient);
  // A fallback naming the theme style itself must not lead back into themed drawing.
  EXPECT_EQ(DrawnStyle(kStyleTheme, kStyleTheme, true), kStyleClassic);
  // Saving after a fallback keeps the user's style.
  const SystemColours pal = Palette();
  ButtonProperties p = NewButtonProperties(L"t", pal);
  p.Style = kStyleTheme;
  PropertyBag bag;
  WriteButtonProperties(p, bag, pal);
  EXPECT_EQ(bag.ReadInt(L"style", -1), kStyleTheme);
}

TEST(ButtonStyleRules, TableIndexedValuesAreRangeChecked) {
  EXPECT_TRUE(IsKnownStyle(0));
  EXPECT_TRUE(IsKnownStyle(10));
  EXPECT_FALSE(IsKnownStyle(11));
  EXPECT_FALSE(IsKnownStyle(-1));
  EXPECT_EQ(ToolTipIconOrNone(3), 3);
  EXPECT_EQ(ToolTipIconOrNone(4), 0);
  EXPECT_EQ(ToolTipIconOrNone(-7), 0);
  EXPECT_EQ(IconMargin(kStyleGradient), 4);
  EXPECT_EQ(IconMargin(kStyleBlueFrame), 5);
  EXPECT_EQ(IconMargin(kStyleGlass), 5);
  EXPECT_EQ(IconMargin(kStyleMetal), 7);
  EXPECT_EQ(IconMargin(kStyleRounded), 7);
  EXPECT_EQ(IconMargin(99), 4);
}

}  // namespace
}  // namespace lumadex::button
