// The numbered errors of the message framework. Callers that grew up with the platform's error
// object read the same three facts from it: the raised number, the source and the description.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace lumadex {

// The subclassing's codes, then the timers'.
enum WinMsgErrorCode : long {
  kErrCantSubclass = 13081, kErrAlreadyHandled = 13082, kErrInvalidWindow = 13083, kErrExternalWindow = 13084,
  kErrForeignThreadWindow = 13085,
  kErrTooManyTimers = 13651, kErrCantCreateTimer = 13652,
};

class WinMsgError : public std::runtime_error {
 public:
  explicit WinMsgError(long code);

  // The code as the framework knows it (13081 …).
  long Code() const { return code_; }
  // The number raised: codes from 1001 up carry the object-error base 0x80040000.
  std::uint32_t Number() const { return number_; }
  // "Lumadex.WindowProc" for numbered codes, empty below 1001.
  const std::wstring& Source() const { return source_; }
  // The fixed English text of the code, empty below 1001 or for an unknown code.
  const std::wstring& Description() const { return description_; }

 private:
  long code_;
  std::uint32_t number_;
  std::wstring source_;
  std::wstring description_;
};

// The fixed text for a code, empty when the code has none.
const wchar_t* WinMsgErrorDescription(long code);

}  // namespace lumadex
