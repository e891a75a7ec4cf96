#include "app/main_form_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/main_form_buttons.h"
#include "app/main_form_layout.h"
#include "app/main_form_progress_set.h"
#include "app/ui_texts.h"
#include "controls/host/container_box_win32.h"
#include "controls/host/window_text_win32.h"
#include "resources/resource_ids.h"
#include "services/ansi_win32.h"
#include "services/dir_path_win32.h"
#include "services/mod_crypt.h"
#include "services/mod_tray_win32.h"
#include "winmsg/font_win32.h"

namespace lumadex {
namespace {

constexpr wchar_t kClassName[] = L"LumadexMainForm";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerInterval = 100;
constexpr UINT_PTR kSubclassId = 1;
constexpr int kFirstControlId = 1000;
constexpr char kSettingsFile[] = "Lumadex.ini";

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

HWND CreateLeaf(const ControlSpec& spec, HWND parent, int id) {
  const int x = TwipsToPixels(spec.left), y = TwipsToPixels(spec.top);
  const int w = TwipsToPixels(spec.width), h = TwipsToPixels(spec.height);
  const std::wstring text(spec.text);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  const wchar_t* cls = L"STATIC";
  switch (spec.kind) {
    case ControlKind::TextBox:
      cls = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::CheckBox:
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case ControlKind::OptionButton:
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_AUTORADIOBUTTON;
      break;
    default:
      break;
  }
  return CreateWindowExW(exStyle, cls, text.c_str(), style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

MainForm::MainForm(HINSTANCE instance, SiteHosts hosts)
    : Settings(IsAnsiLeadByte), instance_(instance), hosts_(std::move(hosts)) {}

MainForm::~MainForm() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool MainForm::Create(int showCommand, bool quitOnDestroy) {
  quitOnDestroy_ = quitOnDestroy;
  // The common controls are initialised when the window is created.
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&icc);

  static const ATOM atom = [this] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_LUMADEX));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_LUMADEX), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  (void)atom;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  hwnd_ = CreateWindowExW(0, kClassName, texts::kTitle, style, x, y, width, height, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  Load();
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
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
    HWND parent = spec.parent.empty() ? hwnd_ : Control(spec.parent);
    HWND control = nullptr;
    if (spec.kind == ControlKind::Label) {
      const std::wstring text(spec.text);
      control = CreateLabel(parent, text.c_str(), TwipsToPixels(spec.left), TwipsToPixels(spec.top),
                            TwipsToPixels(spec.width), TwipsToPixels(spec.height));
      SetWindowLongPtrW(control, GWLP_ID, id);
    } else if (spec.kind == ControlKind::Frame || spec.kind == ControlKind::ContainerBox) {
      const std::wstring text(spec.text);
      control = CreateContainerBox(parent, spec.kind == ControlKind::Frame ? BoxStyle::Frame : BoxStyle::Plain,
                                   text.c_str(), TwipsToPixels(spec.left), TwipsToPixels(spec.top),
                                   TwipsToPixels(spec.width), TwipsToPixels(spec.height));
      SetWindowLongPtrW(control, GWLP_ID, id);
    } else if (spec.kind == ControlKind::ProgressBar) {
      const RECT place{TwipsToPixels(spec.left), TwipsToPixels(spec.top),
                       TwipsToPixels(spec.left) + TwipsToPixels(spec.width),
                       TwipsToPixels(spec.top) + TwipsToPixels(spec.height)};
      const PropertyBag stored = NicePressBarStoredSet();
      progress_ = ProgressBar::Create(parent, id, place, std::wstring(spec.name), &stored, MainFormHostFont());
      control = progress_ ? progress_->hwnd() : nullptr;
    } else if (spec.kind == ControlKind::Button) {
      auto button = SkinButton::Load(parent, id, TwipsToPixels(spec.left), TwipsToPixels(spec.top),
                                     TwipsToPixels(spec.width), TwipsToPixels(spec.height),
                                     MainFormButtonSet(spec.name));
      control = button ? button->hwnd() : nullptr;
      if (button) {
        button->SetFocusMover([this, control](bool backwards) { MoveFocus(control, backwards); });
        buttons_[std::wstring(spec.name)] = std::move(button);
      }
    } else {
      control = CreateLeaf(spec, parent, id);
    }
    ++id;
    const std::wstring name(spec.name);
    controls_[name] = control;
    names_[control] = name;
    HFONT font = defaultFont_.get();
    if (name == L"email" || name == L"albumURLTxt" || name == L"DirPathTxt") font = fixedFont_.get();
    if (name == L"NewModeContainer" || spec.parent == L"NewModeContainer") font = namingFont_.get();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (spec.kind != ControlKind::Frame && spec.kind != ControlKind::ContainerBox &&
        spec.kind != ControlKind::Label && spec.kind != ControlKind::ProgressBar) {
      SetWindowSubclass(control, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
  }
  SendLabelsToBack(hwnd_);
  // The first option of each box starts its own group of options.
  for (const wchar_t* first : {L"OptionNew", L"UrlInitName"}) {
    HWND option = Control(first);
    SetWindowLongW(option, GWL_STYLE, GetWindowLongW(option, GWL_STYLE) | WS_GROUP);
  }

  SendMessageW(Control(L"password"), EM_SETPASSWORDCHAR, L'*', 0);
  SendMessageW(Control(L"PhotoBenginPage"), EM_SETLIMITTEXT, 3, 0);
  SendMessageW(Control(L"PhotoEndPage"), EM_SETLIMITTEXT, 3, 0);
  SendMessageW(Control(L"NewPhotoCount"), EM_SETLIMITTEXT, 4, 0);
  SetChecked(L"OptionNew", true);
  SetChecked(L"UrlInitName", true);
  SetEnabled(L"FrameAblum", false);
  SetEnabled(L"FrameMode", false);
  SetEnabled(L"NewModeContainer", false);
  // The page-range and photo-count boxes wait below the mode group's visible area until their
  // mode is chosen; hidden, they are also out of the way of the keyboard.
  SetVisible(L"PageModeContainer", false);
  SetVisible(L"UpdateModeContainer", false);
  CreateTooltips();
  buttons_.at(L"NBtnLogin")->SetOnClick([this] { OnLoginClick(); });
  buttons_.at(L"NBtnDown")->SetOnClick([this] { OnDownClick(); });
  buttons_.at(L"NBtnClip")->SetOnClick([this] { OnClipClick(); });
  buttons_.at(L"NBtnFile")->SetOnClick([this] { OnFileClick(); });
}

void MainForm::CreateTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                             0, 0, hwnd_, nullptr, instance_, nullptr);
  const std::pair<const wchar_t*, const wchar_t*> tips[] = {
      {L"OptionNew", L"下载整个相册的照片，推荐使用"},
      {L"OptionUpdate", L"下载相册最近更新的照片，需要配置更新照片的数量"},
      {L"OptionPage", L"下载相册指定页数的照片，需要配置开始页数和结束页数"},
  };
  for (const auto& [name, tip] : tips) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(Control(name));
    info.lpszText = const_cast<wchar_t*>(tip);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

// Start-up after the controls exist: a failing step is passed over and the next one runs.
void MainForm::Load() {
  CreateControls();
  AttachCaption();
  try {
    if (GetFileAttributesA(kSettingsFile) == INVALID_FILE_ATTRIBUTES) {
      HANDLE file = CreateFileA(kSettingsFile, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        static constexpr char kDefault[] = "1 \r\n2 \r\n3 F\r\n";
        DWORD written = 0;
        WriteFile(file, kDefault, sizeof(kDefault) - 1, &written, nullptr);
        CloseHandle(file);
      }
    }
  } catch (...) {
  }
  try {
    Settings.LoadFile(kSettingsFile);
  } catch (...) {
  }
}

// Runs when the window is first shown and whenever it comes back from the notification area.
void MainForm::Activate() {
  // The boxes hold what the sign-in in progress has sent; the remembered details must not
  // replace them.
  if (signingIn_) {
    FocusFirstUsable(focusBeforeDeactivation_);
    return;
  }
  bool remembered = false;
  try {
    remembered = Settings.IsLoaded() && Settings.ReadValue("3") == "T";
  } catch (...) {
  }
  HWND target = Control(L"email");
  if (remembered) {
    SetChecked(L"CheckUser", true);
    try {
      SetText(L"email", AnsiToWide(Decipher(Settings.ReadValue("1"), texts::kCredentialKey, IsAnsiLeadByte)));
      SetText(L"password", AnsiToWide(Decipher(Settings.ReadValue("2"), texts::kCredentialKey, IsAnsiLeadByte)));
    } catch (...) {
    }
    target = Control(L"password");
    const int length = GetWindowTextLengthW(target);
    SendMessageW(target, EM_SETSEL, length, length);
  } else {
    SetChecked(L"CheckUser", false);
  }
  // Once signed in both boxes sit in the locked sign-in group and cannot take the focus.
  FocusFirstUsable(CanTakeFocus(hwnd_, target) ? target : focusBeforeDeactivation_);
}

// The preferred control when it can take the focus, otherwise the first one in keyboard order
// that can: a window without focus lets no key reach its buttons.
void MainForm::FocusFirstUsable(HWND preferred) {
  if (CanTakeFocus(hwnd_, preferred)) {
    SetFocus(preferred);
    return;
  }
  for (const std::wstring_view name : MainFormTabOrder()) {
    if (HWND control = Control(name); CanTakeFocus(hwnd_, control)) {
      SetFocus(control);
      return;
    }
  }
}

void MainForm::ChooseMode(std::wstring_view option) {
  const int top = TwipsToPixels(705), left = TwipsToPixels(120);
  if (option == L"OptionNew") {
    SetVisible(L"PageModeContainer", false);
    SetVisible(L"UpdateModeContainer", false);
    SetChecked(L"UrlInitName", true);
    SetChecked(L"AblumUpName", false);
    SetChecked(L"AblumDownName", false);
    SetVisible(L"NewModeContainer", true);
    SetText(L"PhotoBenginPage", L"");
    SetText(L"PhotoEndPage", L"");
    SetText(L"NewPhotoCount", L"");
  } else if (option == L"OptionPage") {
    SetVisible(L"UpdateModeContainer", false);
    SetVisible(L"NewModeContainer", false);
    SetWindowPos(Control(L"PageModeContainer"), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetVisible(L"PageModeContainer", true);
    SetFocus(Control(L"PhotoBenginPage"));
    SetText(L"NewPhotoCount", L"");
  } else if (option == L"OptionUpdate") {
    SetVisible(L"PageModeContainer", false);
    SetVisible(L"NewModeContainer", false);
    SetWindowPos(Control(L"UpdateModeContainer"), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetVisible(L"UpdateModeContainer", true);
    SetFocus(Control(L"NewPhotoCount"));
    SetText(L"PhotoBenginPage", L"");
    SetText(L"PhotoEndPage", L"");
  }
}

void MainForm::OnCommand(HWND control, UINT code) {
  const auto it = names_.find(control);
  if (it == names_.end()) return;
  const std::wstring& name = it->second;
  if (code == BN_CLICKED) {
    if (auto button = buttons_.find(name); button != buttons_.end()) {
      button->second->Click();
    } else if (name == L"OptionNew" || name == L"OptionPage" || name == L"OptionUpdate") {
      ChooseMode(name);
    }
  }
}

void MainForm::OnClipClick() {
  std::wstring text;
  if (OpenClipboard(hwnd_)) {
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

void MainForm::OnFileClick() { SetText(L"DirPathTxt", BrowseForFolder(hwnd_, texts::kFolderPrompt)); }

void MainForm::OnMinimized() {
  AddTrayIcon(hwnd_, ProgramFolder() + L"\\AppTray.ico", texts::kTitle);
  ShowWindow(hwnd_, SW_HIDE);
  ShowTrayBalloon(hwnd_, Downloading ? texts::kBalloonDownloading : texts::kBalloonThanks, texts::kTitle, 0);
  activationPending_ = true;
}

void MainForm::OnTrayMouse(int mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) {
    ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    RemoveTrayIcon();
  } else if (mouseMessage == WM_MOUSEMOVE && Downloading) {
    SetTrayTip(hwnd_, texts::kBalloonDownloading);
  }
}

bool MainForm::OnCloseRequest() {
  if (Downloading) {
    MessageBoxW(hwnd_, texts::kCloseRefused, texts::kCloseRefusedTitle, MB_OK);
    return false;
  }
  if (caption_) caption_->Detach();
  return true;
}

void MainForm::SetTimerEnabled(bool enabled) {
  if (enabled == timerEnabled_) return;
  timerEnabled_ = enabled;
  if (enabled) {
    SetTimer(hwnd_, kTimerId, kTimerInterval, nullptr);
  } else {
    KillTimer(hwnd_, kTimerId);
  }
}

LRESULT CALLBACK MainForm::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<MainForm*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<MainForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, msg, wp, lp);
  return form->HandleMessage(msg, wp, lp);
}

LRESULT MainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp) OnCommand(reinterpret_cast<HWND>(lp), HIWORD(wp));
      return 0;

    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        focusBeforeDeactivation_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
        return 0;
      }
      if (HIWORD(wp)) break;  // activated while minimised
      if (activationPending_) {
        activationPending_ = false;
        Activate();
      } else {
        FocusFirstUsable(focusBeforeDeactivation_);
      }
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
      break;
    case WM_CLOSE:
      if (OnCloseRequest()) DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      // A window destroyed without a close request must not keep the frame's registrations.
      if (caption_) caption_->Detach();
      if (timerEnabled_) SetTimerEnabled(false);
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace lumadex
