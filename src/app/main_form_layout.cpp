#include "app/main_form_layout.h"

#include <array>

namespace lumadex {
namespace {

using K = ControlKind;

// Parents come before their children, and every control of a box after the box.
constexpr std::array kControls = {
    ControlSpec{L"FrameUser", K::Frame, L"", 120, 120, 6975, 1250, L"用户信息"},
    ControlSpec{L"Label1", K::Label, L"FrameUser", 120, 340, 1095, 255, L"校内帐号："},
    ControlSpec{L"email", K::TextBox, L"FrameUser", 1080, 240, 2415, 375, L""},
    ControlSpec{L"Label2", K::Label, L"FrameUser", 120, 800, 1095, 255, L"用户密码："},
    ControlSpec{L"password", K::TextBox, L"FrameUser", 1080, 720, 2415, 375, L""},
    ControlSpec{L"CheckUser", K::CheckBox, L"FrameUser", 3645, 720, 2295, 375, L"记住用户登录信息"},
    ControlSpec{L"NBtnLogin", K::Button, L"FrameUser", 6000, 720, 855, 375, L"登 录"},
    ControlSpec{L"LoginInfo", K::Label, L"FrameUser", 3645, 340, 3105, 255, L"请放心使用校内网帐号登录"},

    ControlSpec{L"FrameAblum", K::Frame, L"", 120, 1440, 6975, 1215, L"相册信息"},
    ControlSpec{L"Label3", K::Label, L"FrameAblum", 120, 360, 1095, 255, L"相册地址："},
    ControlSpec{L"albumURLTxt", K::TextBox, L"FrameAblum", 1080, 240, 4935, 375, L""},
    ControlSpec{L"NBtnClip", K::Button, L"FrameAblum", 6000, 240, 855, 375, L"粘 贴"},
    ControlSpec{L"Label4", K::Label, L"FrameAblum", 120, 800, 1095, 255, L"保存目录："},
    ControlSpec{L"DirPathTxt", K::TextBox, L"FrameAblum", 1080, 720, 4935, 375, L""},
    ControlSpec{L"NBtnFile", K::Button, L"FrameAblum", 6000, 720, 855, 375, L"目 录"},

    ControlSpec{L"FrameMode", K::Frame, L"", 120, 2760, 6975, 1095, L"下载模式"},
    ControlSpec{L"ModeContainer", K::ContainerBox, L"FrameMode", 135, 240, 5415, 375, L""},
    ControlSpec{L"OptionNew", K::OptionButton, L"ModeContainer", 0, 60, 1215, 255, L"全新模式"},
    ControlSpec{L"OptionUpdate", K::OptionButton, L"ModeContainer", 1680, 0, 1095, 375, L"更新模式"},
    ControlSpec{L"OptionPage", K::OptionButton, L"ModeContainer", 3300, 0, 1095, 375, L"翻页模式"},
    ControlSpec{L"NewModeContainer", K::ContainerBox, L"FrameMode", 120, 680, 5655, 255, L""},
    ControlSpec{L"Label8", K::Label, L"NewModeContainer", 0, 50, 975, 255, L"命名方式："},
    ControlSpec{L"UrlInitName", K::OptionButton, L"NewModeContainer", 960, 30, 1335, 255, L"原始文件名"},
    ControlSpec{L"AblumUpName", K::OptionButton, L"NewModeContainer", 2400, 30, 1095, 255, L"相册升序"},
    ControlSpec{L"AblumDownName", K::OptionButton, L"NewModeContainer", 3720, 30, 1215, 255, L"相册降序"},
    ControlSpec{L"PageModeContainer", K::ContainerBox, L"FrameMode", 480, 2280, 3135, 300, L""},
    ControlSpec{L"Label6", K::Label, L"PageModeContainer", 0, 30, 900, 255, L"开始页数："},
    ControlSpec{L"PhotoBenginPage", K::TextBox, L"PageModeContainer", 960, 0, 495, 270, L""},
    ControlSpec{L"Label7", K::Label, L"PageModeContainer", 1680, 30, 900, 255, L"结束页数："},
    ControlSpec{L"PhotoEndPage", K::TextBox, L"PageModeContainer", 2640, 0, 495, 270, L""},
    ControlSpec{L"UpdateModeContainer", K::ContainerBox, L"FrameMode", 3960, 2280, 2055, 300, L""},
    ControlSpec{L"Label5", K::Label, L"UpdateModeContainer", 0, 30, 1300, 255, L"更新照片数量："},
    ControlSpec{L"NewPhotoCount", K::TextBox, L"UpdateModeContainer", 1320, 0, 495, 270, L""},
    ControlSpec{L"NBtnDown", K::Button, L"FrameMode", 6000, 240, 855, 705, L"下 载"},

    ControlSpec{L"FrameDown", K::Frame, L"", 120, 3960, 6975, 975, L"下载进度"},
    ControlSpec{L"DownInfo", K::Label, L"FrameDown", 120, 300, 5655, 255, L"必须登录校内网，配置相册信息，才能下载相册"},
    ControlSpec{L"NicePressBar", K::ProgressBar, L"FrameDown", 120, 600, 6735, 225, L""},
};

constexpr std::array<std::wstring_view, 18> kTabOrder = {
    L"email",         L"password",    L"CheckUser",     L"NBtnLogin",       L"albumURLTxt", L"NBtnClip",
    L"DirPathTxt",    L"NBtnFile",    L"OptionNew",     L"UrlInitName",     L"AblumUpName", L"AblumDownName",
    L"OptionUpdate",  L"PhotoBenginPage", L"OptionPage", L"PhotoEndPage",   L"NewPhotoCount", L"NBtnDown",
};

}  // namespace

std::span<const ControlSpec> MainFormControls() { return kControls; }
std::span<const std::wstring_view> MainFormTabOrder() { return kTabOrder; }

}  // namespace lumadex
