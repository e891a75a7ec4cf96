#include "services/internet_settings_win32.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

namespace lumadex {

std::optional<ProxySetting> SystemProxy() {
  DWORD size = 0;
  InternetQueryOptionW(nullptr, INTERNET_OPTION_PROXY, nullptr, &size);
  if (size < sizeof(INTERNET_PROXY_INFO)) return std::nullopt;
  // The strings the structure points at follow it in the same buffer.
  std::vector<unsigned char> buffer(size);
  if (!InternetQueryOptionW(nullptr, INTERNET_OPTION_PROXY, buffer.data(), &size)) return std::nullopt;
  const auto* info = reinterpret_cast<const INTERNET_PROXY_INFO*>(buffer.data());
  if (info->dwAccessType != INTERNET_OPEN_TYPE_PROXY || !info->lpszProxy || !*info->lpszProxy) return std::nullopt;
  ProxySetting setting;
  setting.proxy = reinterpret_cast<const wchar_t*>(info->lpszProxy);
  if (info->lpszProxyBypass) setting.bypass = reinterpret_cast<const wchar_t*>(info->lpszProxyBypass);
  return setting;
}

std::optional<std::wstring> CombineAddress(const std::wstring& base, const std::wstring& relative) {
  DWORD length = 0;
  InternetCombineUrlW(base.c_str(), relative.c_str(), nullptr, &length, 0);
  if (length == 0) return std::nullopt;
  std::wstring combined(length + 1, L'\0');
  length = static_cast<DWORD>(combined.size());
  if (!InternetCombineUrlW(base.c_str(), relative.c_str(), combined.data(), &length, 0)) return std::nullopt;
  combined.resize(length);
  return combined;
}

}  // namespace lumadex
