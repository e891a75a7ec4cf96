// Reports a failure that must not travel further: the platform cannot unwind a C++ exception
// through a window procedure, a hook procedure or a timer procedure.
#pragma once

namespace lumadex {

// Call from inside a catch block; writes the exception's text to the debugger output.
void ReportCallbackFailure(const wchar_t* where) noexcept;

}  // namespace lumadex
