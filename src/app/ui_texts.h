// The texts the main window shows, in one place.
#pragma once

namespace lumadex::texts {

inline constexpr wchar_t kTitle[] = L"Lumadex";

inline constexpr wchar_t kLoginEmpty[] = L"用户名或者密码必须填写";
inline constexpr wchar_t kLoginStarted[] = L"开始登录，请稍候…";
inline constexpr wchar_t kLoginNetworkFailed[] = L"登录失败，可能是网络不通";
inline constexpr wchar_t kLoginRejected[] = L"登录失败，可能是帐号或者密码错误";
inline constexpr wchar_t kLoginSucceeded[] = L"登录成功，请配置相册信息";
inline constexpr wchar_t kLoginSuccessMarker[] = L"<body id=\"home\"";

inline constexpr wchar_t kDownloadCaption[] = L"下 载";
inline constexpr wchar_t kStopCaption[] = L"停 止";
inline constexpr wchar_t kSettingsIncomplete[] = L"[相册下载失败] 相册信息或者下载模式配置错误";
inline constexpr wchar_t kRunFailed[] = L"[相册下载失败] 相册可能不存在或者没有访问权限，参数配置错误";
inline constexpr wchar_t kRunStopped[] = L"相册下载中断…";
inline constexpr wchar_t kBalloonDone[] = L"相册下载完成";
inline constexpr wchar_t kBalloonFailed[] = L"相册下载失败";

inline constexpr wchar_t kBalloonDownloading[] = L"正在下载中…";
inline constexpr wchar_t kBalloonThanks[] = L"谢谢您的支持";
inline constexpr wchar_t kCloseRefused[] = L"相册下载中，请您先停止";
inline constexpr wchar_t kCloseRefusedTitle[] = L"退出程序";
inline constexpr wchar_t kFolderPrompt[] = L"请选择相册保存的目录";

}  // namespace lumadex::texts

#include <string>

namespace lumadex::texts {

inline std::wstring RunStarted(int photoCount, int totalPhotos) {
  return L"正在下载，该相册有 " + std::to_wstring(photoCount) + L" 张照片，需要下载 " + std::to_wstring(totalPhotos) +
         L" 张，请耐心等待";
}

inline std::wstring RunEnded(int saved, int failed) {
  return L"[相册下载结束] 成功：" + std::to_wstring(saved) + L" 张，失败：" + std::to_wstring(failed) + L" 张";
}

}  // namespace lumadex::texts
