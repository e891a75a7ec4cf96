// What the main window needs of a progress bar: its Value, in per cent.
#pragma once

namespace lumadex {

class IProgressBar {
 public:
  virtual ~IProgressBar() = default;
  virtual int Value() const = 0;
  // Values outside 0..100 are stored as the nearest end of the range.
  virtual void SetValue(int value) = 0;
};

}  // namespace lumadex
