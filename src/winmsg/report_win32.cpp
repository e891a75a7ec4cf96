#include "winmsg/report_win32.h"

#include <windows.h>

#include <exception>
#include <string>

namespace lumadex {

void ReportCallbackFailure(const wchar_t* where) noexcept {
  try {
    std::wstring text = L"Lumadex: failure in ";
    text += where;
    try {
      throw;
    } catch (const std::exception& error) {
      text += L": ";
      for (const char* p = error.what(); *p; ++p) text += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    } catch (...) {
      text += L": unknown exception";
    }
    text += L"\n";
    OutputDebugStringW(text.c_str());
  } catch (...) {
    OutputDebugStringW(L"Lumadex: failure in a callback\n");
  }
}

}  // namespace lumadex
