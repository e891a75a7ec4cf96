#include "winmsg/winmsg_error.h"

namespace lumadex {
namespace {

constexpr std::uint32_t kObjectErrorBase = 0x80040000u;
constexpr long kFirstNumberedCode = 1001;

std::string NarrowMessage(long code, const wchar_t* description) {
  std::string text = "message framework error " + std::to_string(code);
  if (*description) {
    text += ": ";
    // The descriptions are plain ASCII.
    for (const wchar_t* p = description; *p; ++p) text += static_cast<char>(*p);
  }
  return text;
}

}  // namespace

const wchar_t* WinMsgErrorDescription(long code) {
  switch (code) {
    case kErrCantSubclass: return L"Can't subclass window";
    case kErrAlreadyHandled: return L"Message already handled by another class";
    case kErrInvalidWindow: return L"Invalid window";
    case kErrExternalWindow: return L"Can't modify external window";
    case kErrForeignThreadWindow: return L"Can't modify window of another thread";
    // The table has 100 slots; the text is kept as callers have always seen it.
    case kErrTooManyTimers: return L"No more than 10 timers allowed per class";
    case kErrCantCreateTimer: return L"Can't create system timer";
    default: return L"";
  }
}

WinMsgError::WinMsgError(long code)
    : std::runtime_error(NarrowMessage(code, code >= kFirstNumberedCode ? WinMsgErrorDescription(code) : L"")),
      code_(code),
      number_(code >= kFirstNumberedCode ? kObjectErrorBase + static_cast<std::uint32_t>(code)
                                         : static_cast<std::uint32_t>(code)) {
  if (code >= kFirstNumberedCode) {
    source_ = L"Lumadex.WindowProc";
    description_ = WinMsgErrorDescription(code);
  }
}

}  // namespace lumadex
