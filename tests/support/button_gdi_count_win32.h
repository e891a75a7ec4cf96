// Counts the GDI objects, device contexts and icons that the code of this test program creates
// and does not give back, by routing the program's own imports of the creating and deleting
// calls through counters (Wine's GetGuiResources always answers 0). A region handed to a
// window with SetWindowRgn belongs to the window from then on and is no longer counted.
#pragma once
#include <windows.h>

#include <cstddef>

namespace lumadex::test {

class ButtonGdiCount {
 public:
  ButtonGdiCount();  // counting starts at zero
  ~ButtonGdiCount();
  ButtonGdiCount(const ButtonGdiCount&) = delete;
  ButtonGdiCount& operator=(const ButtonGdiCount&) = delete;
  // Objects created since the start and still alive.
  std::size_t Live() const;
  // How many objects were created in all since the start (shows that counting works).
  std::size_t Created() const;
};

// Top-level windows of the calling thread, visible or not (tooltips among them).
int ThreadTopLevelWindowCount();

}  // namespace lumadex::test
