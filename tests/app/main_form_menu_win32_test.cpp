// The main window has no menu: its frame carries a menu strip that must stay out of the way.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/menu_test_support_win32.h"
#include "skin/skin_caption_win32.h"
#include "support/form_harness_win32.h"

namespace lumadex {
namespace {

using namespace menu_test;
using test::FormHarness;

void Activate(HWND w) {
  SetForegroundWindow(w);
  SetActiveWindow(w);
  Pump(100);
}

TEST(MainWindowMenu, AltWithLettersOpensNothing) {
  FormHarness h;
  HWND w = h.form().hwnd();
  Activate(w);
  cMenuBar* bar = h.form().Caption()->MenuBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->hMenu(), nullptr);
  EXPECT_EQ(bar->Count(), 0);
  bool opened = false;
  MenuScript script({[&] { opened = OpenPopupWindow() != nullptr; }, [] { Key(VK_ESCAPE); }, [] { EndMenu(); }, [] {}});
  AltKey('F');
  AltKey('E');
  script.RunOut();
  EXPECT_FALSE(opened);
  EXPECT_EQ(bar->PopupItems().Count(), 0);
  EXPECT_FALSE(bar->Tracker()->Tracking());
}

TEST(MainWindowMenu, TheSystemMenuIsTheStandardOne) {
  FormHarness h;
  HWND w = h.form().hwnd();
  Activate(w);
  bool opened = false;
  bool ownerDrawn = false;
  int items = 0;
  MenuScript script({[&] {
                       opened = OpenPopupWindow() != nullptr;
                       for (const ItemState& item : ReadItems(GetSystemMenu(w, FALSE))) {
                         ++items;
                         ownerDrawn = ownerDrawn || (item.type & MFT_OWNERDRAW);
                       }
                     },
                     [] { Key(VK_ESCAPE); }, [] {},
                     // Escape may only step back to the window's menu mode: never leave it open.
                     [] { EndMenu(); }, [] {}});
  PostMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
  script.RunOut();
  Pump(100);
  EXPECT_TRUE(opened);
  EXPECT_GT(items, 0);
  EXPECT_FALSE(ownerDrawn);
  EXPECT_EQ(h.form().Caption()->MenuBar()->PopupItems().Count(), 0);
  EXPECT_EQ(OpenPopupWindow(), nullptr);
}

}  // namespace
}  // namespace lumadex
