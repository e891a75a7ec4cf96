#include "controls/host/accessible_win32.h"

#include <gtest/gtest.h>

#include "controls/button/skin_button_win32.h"
#include "controls/host/container_box_win32.h"
#include "controls/host/labelled_accessible_win32.h"
#include "controls/progressbar/progress_bar_win32.h"
#include "support/accessible_client_win32.h"
#include "support/control_test_support_win32.h"
#include "support/real_input_win32.h"

namespace lumadex {
namespace {

using test::StateNames;

PropertyBag Caption(const std::wstring& caption) {
  PropertyBag bag;
  bag.Write(L"Caption", caption);
  return bag;
}

HWND MakeEdit(HWND parent, int y) {
  return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 80, y,
                         120, 22, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The object a WM_GETOBJECT answer refers to, collected as the platform collects it.
ComRef<IAccessible> Collect(LRESULT answer, WPARAM wp) {
  ComRef<IAccessible> object;
  if (answer <= 0 || FAILED(ObjectFromLresult(answer, kIidIAccessible, wp, object.put()))) object.reset();
  return object;
}

// A group of the controls that have objects of their own: boxes, captions, a button, a bar
// and a text box named by its caption.
struct Form {
  explicit Form(HWND host) {
    frame = CreateContainerBox(host, BoxStyle::Frame, L"用户信息", 0, 0, 300, 120);
    plain = CreateContainerBox(frame, BoxStyle::Plain, L"", 10, 80, 100, 30);
    label = CreateLabel(frame, L"校内帐号：", 10, 24, 70, 16);
    edit = MakeEdit(frame, 20);
    NameAfterLabel(edit, label);
    button = SkinButton::Load(frame, 1, 210, 20, 60, 26, Caption(L"登 录"));
    bar = ProgressBar::Create(frame, 2, RECT{10, 60, 200, 75}, L"Bar", nullptr, StoredFont{L"宋体", 9, 400});
  }
  ~Form() {
    button.reset();
    bar.reset();
    DestroyWindow(frame);
  }
  std::vector<HWND> Windows() const { return {frame, plain, label, edit, button->hwnd(), bar->hwnd()}; }

  HWND frame, plain, label, edit;
  std::unique_ptr<SkinButton> button;
  std::unique_ptr<ProgressBar> bar;
};

TEST(ControlObjects, BoxesAreGroupingsCaptionsAreTextAndTextBoxesAreNamedByTheirCaption) {
  test::TestHost host;
  Form form(host.hwnd());
  ComRef<IAccessible> frame = test::ClientObject(form.frame), plain = test::ClientObject(form.plain),
                      label = test::ClientObject(form.label), edit = test::ClientObject(form.edit);
  EXPECT_EQ(test::RoleOf(frame.get()), ROLE_SYSTEM_GROUPING);
  EXPECT_EQ(test::NameOf(frame.get()), L"用户信息");
  EXPECT_EQ(test::RoleOf(plain.get()), ROLE_SYSTEM_GROUPING);
  EXPECT_EQ(test::NameOf(plain.get()), std::nullopt);
  EXPECT_EQ(test::RoleOf(label.get()), ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(test::NameOf(label.get()), L"校内帐号：");
  EXPECT_TRUE(test::StateOf(label.get()) & STATE_SYSTEM_READONLY) << StateNames(test::StateOf(label.get()));
  // The box's children are the platform's to tell: every control in it.
  long children = 0;
  ASSERT_EQ(frame->get_accChildCount(&children), S_OK);
  EXPECT_EQ(children, 5);

  EXPECT_EQ(test::RoleOf(edit.get()), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(test::NameOf(edit.get()), L"校内帐号：");
  SetWindowTextW(form.edit, L"demo@example.com");
  EXPECT_EQ(test::ValueOf(edit.get()), L"demo@example.com");
  SetWindowTextW(form.label, L"帐号：");
  EXPECT_EQ(test::NameOf(edit.get()), L"帐号：");
  // A disabled box reads so, and so does a caption in it.
  SetOwnEnabled(form.frame, false);
  EXPECT_TRUE(test::StateOf(frame.get()) & STATE_SYSTEM_UNAVAILABLE) << StateNames(test::StateOf(frame.get()));
}

TEST(ControlObjects, APasswordBoxNeverGivesItsTextAway) {
  test::TestHost host;
  HWND label = CreateLabel(host.hwnd(), L"用户密码：", 10, 14, 70, 16);
  HWND edit = MakeEdit(host.hwnd(), 10);
  SendMessageW(edit, EM_SETPASSWORDCHAR, L'*', 0);
  SetWindowTextW(edit, L"secret");
  ASSERT_TRUE(NameAfterLabel(edit, label));
  ComRef<IAccessible> object = test::ClientObject(edit);
  EXPECT_EQ(test::NameOf(object.get()), L"用户密码：");
  EXPECT_EQ(test::ValueOf(object.get()), std::nullopt);
  EXPECT_TRUE(test::StateOf(object.get()) & STATE_SYSTEM_PROTECTED) << StateNames(test::StateOf(object.get()));
  object.reset();
  DestroyWindow(edit);
  DestroyWindow(label);
}

TEST(ControlObjects, OnlyTheClientAreaIsAnsweredWhateverTheWidthOfTheId) {
  test::TestHost host;
  auto button = SkinButton::Load(host.hwnd(), 1, 10, 10, 60, 26, Caption(L"登 录"));
  HWND w = button->hwnd();
  EXPECT_EQ(SendMessageW(w, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)), 0);
  EXPECT_EQ(SendMessageW(w, WM_GETOBJECT, 0, static_cast<LPARAM>(static_cast<DWORD>(OBJID_WINDOW))), 0);
  // The id is a 32-bit number: a sender may widen it with or without its sign.
  for (const LPARAM id : {static_cast<LPARAM>(OBJID_CLIENT), static_cast<LPARAM>(static_cast<DWORD>(OBJID_CLIENT))}) {
    ComRef<IAccessible> object = Collect(SendMessageW(w, WM_GETOBJECT, 0, id), 0);
    ASSERT_TRUE(object) << std::hex << static_cast<unsigned long long>(id);
    EXPECT_EQ(test::RoleOf(object.get()), ROLE_SYSTEM_PUSHBUTTON);
  }
}

TEST(ControlObjects, AnObjectOutlivingItsWindowIsCutOff) {
  test::TestHost host;
  const long before = AccessibleObject::LiveCount();
  auto button = SkinButton::Load(host.hwnd(), 1, 10, 10, 60, 26, Caption(L"登 录"));
  ComRef<IAccessible> object = test::ClientObject(button->hwnd());
  ASSERT_TRUE(object);
  button.reset();
  EXPECT_EQ(AccessibleObject::LiveCount(), before + 1);  // still held here
  BSTR name = nullptr;
  EXPECT_EQ(object->get_accName(test::SelfChild(), &name), RPC_E_DISCONNECTED);
  EXPECT_EQ(name, nullptr);
  long x, y, cx, cy;
  EXPECT_EQ(object->accLocation(&x, &y, &cx, &cy, test::SelfChild()), RPC_E_DISCONNECTED);
  EXPECT_EQ(object->accDoDefaultAction(test::SelfChild()), RPC_E_DISCONNECTED);
  EXPECT_EQ(test::RoleOf(object.get()), -1);
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_EQ(WindowFromAccessibleObject(object.get(), &window), RPC_E_DISCONNECTED);
  object.reset();
  EXPECT_EQ(AccessibleObject::LiveCount(), before);
}

TEST(ControlObjects, NoneStaysBehindTheirWindows) {
  test::TestHost host;
  const long before = AccessibleObject::LiveCount();
  for (int round = 0; round < 100; ++round) {
    Form form(host.hwnd());
    for (HWND w : form.Windows()) {
      ComRef<IAccessible> object = test::ClientObject(w);
      ASSERT_TRUE(object) << round;
      ASSERT_TRUE(test::RoleOf(object.get()) > 0) << round;
      test::NameOf(object.get());
    }
    // An answer nobody collects, as from a client that gave up.
    SendMessageW(form.button->hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    SendMessageW(form.bar->hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    EXPECT_EQ(AccessibleObject::LiveCount(), before + 6) << round;
  }
  EXPECT_EQ(AccessibleObject::LiveCount(), before);
}

}  // namespace
}  // namespace lumadex
