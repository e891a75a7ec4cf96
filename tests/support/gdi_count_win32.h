// Counts the GDI objects the program's own controls create and delete while it is installed,
// for leak tests: Wine has no per-process GDI object count to ask.
#pragma once
#include <windows.h>

#include <map>
#include <set>

#include "controls/progressbar/bar_gdi_win32.h"

namespace lumadex::test {

class GdiCount : public GdiWatch {
 public:
  GdiCount();  // installs itself
  ~GdiCount() override;
  GdiCount(const GdiCount&) = delete;
  GdiCount& operator=(const GdiCount&) = delete;

  void Created(HGDIOBJ object) override;
  void Deleted(HGDIOBJ object, bool deleted) override;
  void HandedOver(HGDIOBJ object) override;

  // Objects created and neither deleted nor handed to the system.
  int Live() const { return static_cast<int>(live_.size()); }
  // Of one kind (OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION, OBJ_MEMDC...).
  int Live(DWORD kind) const;
  int Created() const { return created_; }
  int HandedOver() const { return handedOver_; }
  // Deletions the platform refused or that left the handle valid, and deletions of objects
  // never reported as created (a double delete, say).
  int BadDeletes() const { return badDeletes_; }

 private:
  std::map<HGDIOBJ, DWORD> live_;
  int created_ = 0;
  int handedOver_ = 0;
  int badDeletes_ = 0;
  GdiWatch* previous_ = nullptr;
};

}  // namespace lumadex::test
