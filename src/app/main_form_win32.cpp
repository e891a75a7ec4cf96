#include "app/main_form_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/main_form_buttons.h"
#include "app/main_form_labels.h"
#include "app/main_form_layout.h"
#include "app/main_form_progress_set.h"
#include "app/ui_texts.h"
#include "controls/host/container_box_win32.h"
#include "controls/host/labelled_accessible_win32.h"
#include "controls/host/window_text_win32.h"
#include "resources/resource_ids.h"
#include "services/ansi_win32.h"
#include "services/dir_path_win32.h"
#include "services/mod_tray_win32.h"
#include "winmsg/font_win32.h"
#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

constexpr wchar_t kClassName[] = L"LumadexMainForm";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerInterval = 100;
constexpr int kFirstControlId = 1000;

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  const size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

// Shown within `window` and usable. The window itself may still be on its way to the screen
// when it is activated.
bool CanTakeFocus(HWND window, HWND control) {
  if (!control || !IsWindow(control) || !IsChild(window, control)) return false;
  for (HWND w = control; w && w != window; w = GetParent(w)) {
    if (!(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE)) return false;
  }
  return IsUsable(control);
}

// The control's place in its box, in pixels.
RECT PlaceOf(const ControlSpec& spec) {
  const int left = TwipsToPixels(spec.left), top = TwipsToPixels(spec.top);
  return {left, top, left + TwipsToPixels(spec.width), top + TwipsToPixels(spec.height)};
}

// Text boxes, the check box and the option buttons: the platform's own controls.
HWND CreateStandardControl(const ControlSpec& spec, const RECT& place, HWND parent, int id) {
  const std::wstring text(spec.text);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
  DWORD exStyle = 0;
  const wchar_t* cls = L"BUTTON";
  if (spec.kind == ControlKind::TextBox) {
    cls = L"EDIT";
    style |= ES_AUTOHSCROLL | ES_LEFT;
    exStyle = WS_EX_CLIENTEDGE;
  } else {
    style |= spec.kind == ControlKind::CheckBox ? BS_AUTOCHECKBOX : BS_AUTORADIOBUTTON;
  }
  return CreateWindowExW(exStyle, cls, text.c_str(), style, place.left, place.top, place.right - place.left,
                         place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// The three modes share one place in the mode group, each showing its own box there.
struct ModeBox {
  const wchar_t* option;
  const wchar_t* box;
  const wchar_t* focus;  // null: the box of the whole album, which stays where it is
};
constexpr ModeBox kModeBoxes[] = {
    {L"OptionNew", L"NewModeContainer", nullptr},
    {L"OptionPage", L"PageModeContainer", L"PhotoBenginPage"},
    {L"OptionUpdate", L"UpdateModeContainer", L"NewPhotoCount"},
};
constexpr const wchar_t* kNumberBoxes[] = {L"PhotoBenginPage", L"PhotoEndPage", L"NewPhotoCount"};

}  // namespace

MainForm::MainForm(HINSTANCE instance, MainFormOptions options)
    : instance_(instance),
      hosts_(std::move(options.hosts)),
      settingsFile_(std::move(options.settingsFile)),
      settings_(IsAnsiLeadByte),
      run_(*this, site_, hosts_.photoHost) {}

// The window goes first, with every message still reaching this object: its last handlers take
// the frame's registrations back and stop the timer.
MainForm::~MainForm() { DestroyWindowNow(); }

bool MainForm::Create(int showCommand, bool quitOnDestroy) {
  quitOnDestroy_ = quitOnDestroy;
  // The common controls are initialised when the window is created.
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&icc);

  // Shared icons: loading them again for another window costs nothing and nothing must free them.
  const WindowClass windowClass{
      kClassName,
      CS_DBLCLKS,
      LoadCursorW(nullptr, IDC_ARROW),
      GetSysColorBrush(COLOR_BTNFACE),
      LoadIconW(instance_, MAKEINTRESOURCEW(IDI_LUMADEX)),
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_LUMADEX), IMAGE_ICON, 16, 16, LR_SHARED)),
  };
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  if (!CreateWindowFor(windowClass, 0, texts::kTitle, style, x, y, width, height, nullptr, nullptr, instance_))
    return false;
  Load();
  ShowWindow(hwnd(), showCommand);
  UpdateWindow(hwnd());
  return true;
}

int MainForm::RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

HWND MainForm::Control(std::wstring_view name) const {
  const auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

std::wstring MainForm::Text(std::wstring_view name) const { return GetText(Control(name)); }

void MainForm::SetText(std::wstring_view name, const std::wstring& text) { lumadex::SetText(Control(name), text); }

bool MainForm::IsChecked(std::wstring_view name) const {
  return SendMessageW(Control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainForm::SetChecked(std::wstring_view name, bool checked) {
  SendMessageW(Control(name), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainForm::SetEnabled(std::wstring_view name, bool enabled) { SetOwnEnabled(Control(name), enabled); }

void MainForm::SetVisible(std::wstring_view name, bool visible) {
  ShowWindow(Control(name), visible ? SW_SHOW : SW_HIDE);
}

void MainForm::CreateControls() {
  defaultFont_ = CreateFontOf(StoredFont{L"宋体", 9});
  fixedFont_ = CreateFontOf(StoredFont{L"Courier New", 10.5});
  namingFont_ = CreateFontOf(StoredFont{L"微软雅黑", 9});
  int id = kFirstControlId;
  for (const ControlSpec& spec : MainFormControls()) {
    HWND parent = spec.parent.empty() ? hwnd() : Control(spec.parent);
    const RECT place = PlaceOf(spec);
    const int width = place.right - place.left, height = place.bottom - place.top;
    const std::wstring name(spec.name), text(spec.text);
    HWND control = nullptr;
    bool ownKeys = true;  // the window filters the control's keys and characters
    switch (spec.kind) {
      case ControlKind::Label:
        control = CreateLabel(parent, text.c_str(), place.left, place.top, width, height);
        SetWindowLongPtrW(control, GWLP_ID, id);
        ownKeys = false;
        break;
      case ControlKind::Frame:
      case ControlKind::ContainerBox:
        control = CreateContainerBox(parent, spec.kind == ControlKind::Frame ? BoxStyle::Frame : BoxStyle::Plain,
                                     text.c_str(), place.left, place.top, width, height);
        SetWindowLongPtrW(control, GWLP_ID, id);
        ownKeys = false;
        break;
      case ControlKind::ProgressBar: {
        const PropertyBag stored = NicePressBarStoredSet();
        progress_ = ProgressBar::Create(parent, id, place, name, &stored, MainFormHostFont());
        control = progress_ ? progress_->hwnd() : nullptr;
        ownKeys = false;
        break;
      }
      case ControlKind::Button:
        if (auto button = SkinButton::Load(parent, id, place.left, place.top, width, height, MainFormButtonSet(name))) {
          control = button->hwnd();
          button->SetFocusMover([this, control](bool backwards) { MoveFocus(control, backwards); });
          buttons_[name] = std::move(button);
        }
        break;
      case ControlKind::TextBox:
      case ControlKind::CheckBox:
      case ControlKind::OptionButton:
        control = CreateStandardControl(spec, place, parent, id);
        break;
    }
    ++id;
    controls_[name] = control;
    names_[control] = name;
    HFONT font = defaultFont_.get();
    if (name == L"email" || name == L"albumURLTxt" || name == L"DirPathTxt") font = fixedFont_.get();
    if (name == L"NewModeContainer" || spec.parent == L"NewModeContainer") font = namingFont_.get();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (ownKeys) SetWindowSubclass(control, ControlProc, kControlSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  SendLabelsToBack(hwnd());
  // Beneath the boxes they name, the captions no longer come before them for screen readers.
  for (const LabelledBox& pair : TextBoxLabels(MainFormControls())) NameAfterLabel(Control(pair.box), Control(pair.label));
  // The first option of each box starts its own group of options, and is the one chosen.
  for (const wchar_t* first : {L"OptionNew", L"UrlInitName"}) {
    HWND option = Control(first);
    SetWindowLongW(option, GWL_STYLE, GetWindowLongW(option, GWL_STYLE) | WS_GROUP);
    SetChecked(first, true);
  }

  SendMessageW(Control(L"password"), EM_SETPASSWORDCHAR, L'*', 0);
  for (const wchar_t* page : {L"PhotoBenginPage", L"PhotoEndPage"}) SendMessageW(Control(page), EM_SETLIMITTEXT, 3, 0);
  SendMessageW(Control(L"NewPhotoCount"), EM_SETLIMITTEXT, 4, 0);
  // Until a sign-in, only the sign-in group can be used.
  for (const wchar_t* locked : {L"FrameAblum", L"FrameMode", L"NewModeContainer"}) SetEnabled(locked, false);
  // The page-range and photo-count boxes wait below the mode group's visible area until their
  // mode is chosen; hidden, they are also out of the way of the keyboard.
  for (const wchar_t* waiting : {L"PageModeContainer", L"UpdateModeContainer"}) SetVisible(waiting, false);
  CreateTooltips();
  const std::pair<const wchar_t*, void (MainForm::*)()> clicks[] = {
      {L"NBtnLogin", &MainForm::OnLoginClick},
      {L"NBtnDown", &MainForm::OnDownClick},
      {L"NBtnClip", &MainForm::OnClipClick},
      {L"NBtnFile", &MainForm::OnFileClick},
  };
  for (const auto& [name, handler] : clicks) {
    // The Click comes from the button's own window procedure: nothing may go back through it.
    buttons_.at(name)->SetOnClick([this, handler = handler] {
      try {
        (this->*handler)();
      } catch (...) {
        ReportCallbackFailure(L"a button of the main window");
      }
    });
  }
}

void MainForm::CreateTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                             0, 0, hwnd(), nullptr, instance_, nullptr);
  const std::pair<const wchar_t*, const wchar_t*> tips[] = {
      {L"OptionNew", L"下载整个相册的照片，推荐使用"},
      {L"OptionUpdate", L"下载相册最近更新的照片，需要配置更新照片的数量"},
      {L"OptionPage", L"下载相册指定页数的照片，需要配置开始页数和结束页数"},
  };
  for (const auto& [name, tip] : tips) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(Control(name));
    info.lpszText = const_cast<wchar_t*>(tip);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

// Start-up after the window exists: a failing step is passed over and the next one runs.
void MainForm::Load() {
  CreateControls();
  AttachCaption();
  EnsureSettingsFile();
  try {
    settings_.LoadFile(settingsFile_);
    // A file without lines is one that another copy of the program has only just created and
    // not yet filled (or one cut short): taken as a new one, so that a sign-in writes every key
    // instead of an empty file over the other copy's.
    if (settings_.Lines().empty()) settings_.LoadText(kNewSettingsFile);
  } catch (const FileCfgError&) {
    // The window works on without remembered details.
    ReportCallbackFailure(L"loading the settings file");
  }
}

// A file is written only where there is nothing of its name yet; one that cannot be made shows
// when the file is loaded.
void MainForm::EnsureSettingsFile() {
  const FileHandle file(
      CreateFileW(settingsFile_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  WriteFile(file.get(), kNewSettingsFile.data(), static_cast<DWORD>(kNewSettingsFile.size()), &written, nullptr);
}

// Runs when the window is first shown and whenever it comes back from the notification area.
void MainForm::Activate() {
  // The boxes hold what the sign-in in progress has sent; the remembered details must not
  // replace them.
  if (signingIn_) {
    FocusFirstUsable(focusBeforeDeactivation_);
    return;
  }
  const std::optional<SignInDetails> remembered = ReadRememberedSignIn(settings_, IsAnsiLeadByte);
  SetChecked(L"CheckUser", remembered.has_value());
  HWND target = Control(L"email");
  if (remembered) {
    SetText(L"email", AnsiToWide(remembered->email));
    SetText(L"password", AnsiToWide(remembered->password));
    target = Control(L"password");
    const int length = GetWindowTextLengthW(target);
    SendMessageW(target, EM_SETSEL, length, length);
  }
  // Once signed in both boxes sit in the locked sign-in group and cannot take the focus.
  FocusFirstUsable(CanTakeFocus(hwnd(), target) ? target : focusBeforeDeactivation_);
}

// The preferred control when it can take the focus, otherwise the first one in keyboard order
// that can: a window without focus lets no key reach its buttons.
void MainForm::FocusFirstUsable(HWND preferred) {
  if (CanTakeFocus(hwnd(), preferred)) {
    SetFocus(preferred);
    return;
  }
  for (const std::wstring_view name : MainFormTabOrder()) {
    if (HWND control = Control(name); CanTakeFocus(hwnd(), control)) {
      SetFocus(control);
      return;
    }
  }
}

void MainForm::ChooseMode(std::wstring_view option) {
  const ModeBox* chosen = nullptr;
  for (const ModeBox& mode : kModeBoxes) {
    if (mode.option == option) chosen = &mode;
  }
  if (!chosen) return;
  for (const ModeBox& mode : kModeBoxes) {
    if (&mode != chosen) SetVisible(mode.box, false);
  }
  HWND box = Control(chosen->box);
  if (chosen->focus) {
    SetWindowPos(box, nullptr, TwipsToPixels(120), TwipsToPixels(705), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  } else {
    // Only the whole album is named by numbers; choosing it starts again from the photos' own names.
    SetChecked(L"UrlInitName", true);
    SetChecked(L"AblumUpName", false);
    SetChecked(L"AblumDownName", false);
  }
  SetVisible(chosen->box, true);
  if (chosen->focus) SetFocus(Control(chosen->focus));
  // The numbers of the modes not chosen go.
  for (const wchar_t* number : kNumberBoxes) {
    if (GetParent(Control(number)) != box) SetText(number, L"");
  }
}

void MainForm::OnCommand(HWND control, UINT code) {
  if (code != BN_CLICKED) return;
  if (const auto it = names_.find(control); it != names_.end()) ChooseMode(it->second);
}

void MainForm::OnClipClick() {
  std::wstring text;
  if (OpenClipboard(hwnd())) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
        text = chars;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  SetText(L"albumURLTxt", text);
}

void MainForm::OnFileClick() { SetText(L"DirPathTxt", BrowseForFolder(hwnd(), texts::kFolderPrompt)); }

void MainForm::OnMinimized() {
  AddTrayIcon(hwnd(), ProgramFolder() + L"\\AppTray.ico", texts::kTitle);
  ShowWindow(hwnd(), SW_HIDE);
  ShowTrayBalloon(hwnd(), run_.Downloading() ? texts::kBalloonDownloading : texts::kBalloonThanks, texts::kTitle, 0);
  activationPending_ = true;
}

void MainForm::OnTrayMouse(int mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) {
    ShowWindow(hwnd(), SW_RESTORE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    RemoveTrayIcon();
  } else if (mouseMessage == WM_MOUSEMOVE && run_.Downloading()) {
    SetTrayTip(hwnd(), texts::kBalloonDownloading);
  }
}

bool MainForm::OnCloseRequest() {
  if (run_.Downloading()) {
    MessageBoxW(hwnd(), texts::kCloseRefused, texts::kCloseRefusedTitle, MB_OK);
    return false;
  }
  if (caption_) caption_->Detach();
  return true;
}

void MainForm::SetTimerEnabled(bool enabled) {
  if (enabled == timerEnabled_) return;
  timerEnabled_ = enabled;
  if (enabled) {
    SetTimer(hwnd(), kTimerId, kTimerInterval, nullptr);
  } else {
    KillTimer(hwnd(), kTimerId);
  }
}

void MainForm::OnActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE) {
    HWND focus = GetFocus();
    focusBeforeDeactivation_ = focus && IsChild(hwnd(), focus) ? focus : nullptr;
    return;
  }
  if (activationPending_) {
    activationPending_ = false;
    Activate();
  } else {
    FocusFirstUsable(focusBeforeDeactivation_);
  }
}

LRESULT MainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp) OnCommand(reinterpret_cast<HWND>(lp), HIWORD(wp));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && HIWORD(wp)) break;  // activated while minimised
      OnActivate(wp);
      return 0;
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED) OnMinimized();
      return 0;
    case WM_MOUSEMOVE:
      // The notification-area icon reports its mouse messages as mouse moves whose horizontal
      // position is the message; the window is narrower than those values.
      OnTrayMouse(GET_X_LPARAM(lp));
      return 0;
    case WM_TIMER:
      if (wp == kTimerId) TimerTick();
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      // Child windows hear of colour and theme changes only from their parent.
      for (const auto& [name, button] : buttons_) SendMessageW(button->hwnd(), msg, wp, lp);
      if (progress_) SendMessageW(progress_->hwnd(), msg, wp, lp);
      break;
    case WM_CLOSE:
      if (OnCloseRequest()) DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      // A window destroyed without a close request must not keep the frame's registrations.
      if (caption_) caption_->Detach();
      if (timerEnabled_) SetTimerEnabled(false);
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
  }
  return DefaultHandling(msg, wp, lp);
}

}  // namespace lumadex
