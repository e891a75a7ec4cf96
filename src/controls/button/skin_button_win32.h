// The program's own push button: a window of class "LumadexButton" that draws itself in one of
// eleven styles, follows the pointer, the keyboard and the focus, shows a balloon tooltip and
// raises Click, MouseEnter and MouseLeave. Its properties come from a stored property set.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/button/button_geometry.h"
#include "controls/button/button_input.h"
#include "controls/button/button_model.h"
#include "controls/button/button_picture_win32.h"
#include "controls/host/accessible_text.h"
#include "controls/host/accessible_win32.h"
#include "controls/host/property_bag.h"
#include "controls/host/self_drawn_win32.h"
#include "winmsg/colour.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {
namespace button {
class AboutWindow;
}

class SkinButton : public SelfDrawnWindow {
 public:
  static constexpr wchar_t kClassName[] = L"LumadexButton";

  // A button loaded from its stored set, placed at (x, y) in pixels in `parent`.
  static std::unique_ptr<SkinButton> Load(HWND parent, int id, int x, int y, int width, int height,
                                          const PropertyBag& stored);
  // A freshly placed button named `name`.
  static std::unique_ptr<SkinButton> CreateNew(HWND parent, int id, const std::wstring& name, int x, int y, int width,
                                               int height);
  // The window goes first, with its timer and tooltip, while the object is still whole.
  ~SkinButton() override;

  // The button of one of its windows; null for any other window.
  static SkinButton* FromWindow(HWND hwnd) { return FromHandleAs<SkinButton>(hwnd); }

  std::wstring Caption() const { return props_.Caption; }
  void SetCaption(const std::wstring& caption);
  // Runs the Click event exactly as a press by the user would. The handler runs from a copy:
  // it may destroy the button.
  void Click() {
    if (const auto handler = onClick_) handler();
  }

  const button::ButtonProperties& Properties() const { return props_; }
  // Changes properties; every change is reported under its name, then the button is rebuilt
  // (size rules, caption flags, outline) when `resize`, and repainted.
  void Change(const wchar_t* name, const std::function<void(button::ButtonProperties&)>& change, bool resize = false);
  void SetStyle(std::int32_t style) { Change(L"Style", [=](auto& p) { p.Style = style; }, true); }
  void SetEnabled(bool enabled);
  void SetValue(bool value) { Change(L"Value", [=](auto& p) { p.Value = value; }); }
  void SetToolTipText(const std::wstring& text);
  void SetFont(const StoredFont& font);
  // An icon file or a bitmap file, or none (empty). Bytes that are neither are refused: the
  // button keeps the picture it had, and the answer is false.
  [[nodiscard]] bool SetIcon(const StoredPicture& icon);
  // Whether the stored picture could be drawn; false also when there is none.
  bool HasPicture() const { return !picture_.empty(); }
  void Save(PropertyBag& bag) const;

  void SetOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
  void SetOnMouseEnter(std::function<void()> handler) { onMouseEnter_ = std::move(handler); }
  void SetOnMouseLeave(std::function<void()> handler) { onMouseLeave_ = std::move(handler); }
  void SetOnPropertyChanged(std::function<void(const wchar_t*)> handler) { onPropertyChanged_ = std::move(handler); }
  // Where the left and right arrows move the focus; without one, to the parent window's
  // previous or next tab stop.
  void SetFocusMover(std::function<void(bool backwards)> mover) { focusMover_ = std::move(mover); }

  // The tooltip text the form keeps for this control, the one of its plain tooltips. The
  // button takes it over while its balloon shows and gives its own back when the pointer
  // leaves and when the button is hidden.
  const std::wstring& HostToolTipText() const { return hostToolTip_; }
  void SetHostToolTipText(const std::wstring& text) { hostToolTip_ = text; }

  // Shows the About window; it hides again at a click on it.
  void About();
  HWND AboutWindowHandle() const;

  // Ambient values of the form. While the form is being designed the button neither tracks
  // the pointer nor answers its access key.
  void SetUserMode(bool userMode);
  void SetDisplayAsDefault(bool isDefault);

  button::ButtonState State() const { return input_.State(); }
  bool HasFocus() const { return input_.HasFocus(); }
  HWND ToolTipWindow() const { return tooltip_; }
  bool ThemeFailed() const { return themeFailed_; }
  void Refresh();

  // The access key of a button under `root` (Alt + character): clicks the enabled, visible
  // button whose caption carries it; false when none does.
  static bool HandleAccessKey(HWND root, wchar_t ch);
  // The button under `root` that Alt + `ch` clicks; null when none does.
  static HWND AccessKeyTarget(HWND root, wchar_t ch);
  // What the access-key hook sends to the button it found (wParam: the character).
  static constexpr UINT kAccessKeyMessage = WM_USER + 0x42;

  // Opens an http, https or mailto address with the shell; other addresses are refused (0).
  INT_PTR OpenLink(const std::wstring& link) const;
  static constexpr const wchar_t* Version() { return button::kVersion; }

 private:
  friend class ButtonAccessible;
  SkinButton();
  bool CreateWindowIn(HWND parent, int id, int x, int y, int width, int height);
  LRESULT HandleControlMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Apply(unsigned effects);
  void Resize();
  void RebuildFont();
  void RebuildIcon();
  bool TakesInput() const;
  void CreateToolTip();
  void GiveToolTipBack();
  void RemoveToolTip();
  void TrackLeave();
  void PaintTo(HDC dc) override;
  bool ChainEnabled() const;
  button::CheckRef Check() { return {props_.IsCheckButton(), props_.Value}; }

  HWND tooltip_ = nullptr;
  SystemColours system_;
  button::ButtonProperties props_;
  button::ButtonInput input_;
  std::uint32_t captionFormat_ = button::kCentredWordWrap;
  bool userMode_ = true;
  bool displayAsDefault_ = false;
  bool themeFailed_ = false;
  bool trackingAvailable_ = false;
  bool accessKeys_ = false;  // served by the access-key hook
  std::wstring hostToolTip_;
  Font font_;
  button::ButtonPicture picture_;
  std::unique_ptr<button::AboutWindow> about_;
  std::function<void()> onClick_, onMouseEnter_, onMouseLeave_;
  std::function<void(const wchar_t*)> onPropertyChanged_;
  std::function<void(bool)> focusMover_;
  // What screen readers and automation tools read of the button, and its state as last told them.
  AccessibleSlot accessible_;
  access::Announcement<long> announcedState_;
};

}  // namespace lumadex
