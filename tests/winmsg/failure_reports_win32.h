// Collects what the program's failure report writes while it lives. The report goes to the
// debugger output, which the platform raises as an exception a vectored handler sees first.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lumadex::test {

class FailureReports {
 public:
  FailureReports() : handler_(AddVectoredExceptionHandler(1, &Collect)) { Current() = this; }
  ~FailureReports() {
    RemoveVectoredExceptionHandler(handler_);
    Current() = nullptr;
  }
  FailureReports(const FailureReports&) = delete;
  FailureReports& operator=(const FailureReports&) = delete;

  // Whether a report naming `where` (as passed to the report) came in.
  bool Mention(const std::wstring& where) const {
    for (const auto& text : texts_)
      if (text.find(L"failure in " + where) != std::wstring::npos) return true;
    return false;
  }
  std::size_t Count() const { return texts_.size(); }

 private:
  static constexpr DWORD kDebugText = 0x40010006;      // DBG_PRINTEXCEPTION_C
  static constexpr DWORD kDebugWideText = 0x4001000A;  // DBG_PRINTEXCEPTION_WIDE_C

  static FailureReports*& Current() {
    static FailureReports* current = nullptr;
    return current;
  }
  static LONG CALLBACK Collect(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    FailureReports* self = Current();
    if (!self || record.NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    if (record.ExceptionCode == kDebugWideText) {
      self->texts_.emplace_back(reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]));
    } else if (record.ExceptionCode == kDebugText) {
      const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
      wchar_t wide[512]{};
      MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 511);
      self->texts_.emplace_back(wide);
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }

  PVOID handler_;
  std::vector<std::wstring> texts_;
};

}  // namespace lumadex::test
