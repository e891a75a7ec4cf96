// Stands in for the shell's notification-area call while it lives, and keeps every record sent.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "services/mod_tray_win32.h"

namespace lumadex::test {

struct TrayCall {
  DWORD message;
  NOTIFYICONDATAA record;
  std::string tip() const { return record.szTip; }
  std::string info() const { return record.szInfo; }
  std::string title() const { return record.szInfoTitle; }
};

class TrayRecorder {
 public:
  TrayRecorder() {
    SetTrayShellCallForTesting([this](DWORD message, NOTIFYICONDATAA* record) {
      calls_.push_back({message, *record});
      return TRUE;
    });
  }
  ~TrayRecorder() { SetTrayShellCallForTesting(nullptr); }
  TrayRecorder(const TrayRecorder&) = delete;
  TrayRecorder& operator=(const TrayRecorder&) = delete;

  const std::vector<TrayCall>& calls() const { return calls_; }
  // The last call; a zeroed one with message ~0 when there was none.
  TrayCall last() const { return calls_.empty() ? TrayCall{~0u, {}} : calls_.back(); }
  void clear() { calls_.clear(); }

 private:
  std::vector<TrayCall> calls_;
};

}  // namespace lumadex::test
