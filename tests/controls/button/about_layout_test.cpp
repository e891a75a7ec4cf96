#include "controls/button/about_layout.h"

#include <gtest/gtest.h>

namespace lumadex::button {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(AboutWindowLayout, TextsAndStyle) {
  EXPECT_EQ(AboutTitle(), L"About SkinButton 3.4.0");
  EXPECT_EQ(AboutVersionLine(), L"Version 3.4.0");
  // Child and clip-siblings at creation: the child bit becomes the pop-up bit, then the
  // caption, sizing frame and minimise box are added.
  EXPECT_EQ(AboutShownStyle(0x44000000u), 0x84000000u + 0xC60000u);
}

TEST(AboutWindowLayout, CloseSitsBottomRightAndNeverCoversTheTexts) {
  const AboutLayout open = LayOutAbout(kAboutWidth, kAboutHeight);
  EXPECT_EQ(open.close.right, kAboutWidth - 14);
  EXPECT_EQ(open.close.bottom, kAboutHeight - 10);
  for (const auto& [w, h] : {std::pair{kAboutWidth, kAboutHeight}, std::pair{40, 20}, std::pair{0, 0}, std::pair{900, 700}}) {
    const AboutLayout l = LayOutAbout(w, h);
    for (const Rect& text : {l.name, l.version, l.credit, l.link}) {
      EXPECT_FALSE(Overlap(text, l.close)) << w << "x" << h;
      EXPECT_LE(text.left, text.right);
    }
  }
}

}  // namespace
}  // namespace lumadex::button
