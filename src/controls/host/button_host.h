// What the main window needs of a push button: its caption and its Click event. The
// standard button stands behind this until the skinned button takes its place.
#pragma once
#include <functional>
#include <string>

namespace lumadex {

class IButton {
 public:
  virtual ~IButton() = default;
  virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
  // Runs the Click event exactly as a press by the user would.
  void Click() {
    if (onClick_) onClick_();
  }
  void SetOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }

 private:
  std::function<void()> onClick_;
};

}  // namespace lumadex
