#include "support/gdi_count_win32.h"

namespace lumadex::test {

GdiCount::GdiCount() : previous_(CurrentGdiWatch()) { SetGdiWatch(this); }

GdiCount::~GdiCount() { SetGdiWatch(previous_); }

void GdiCount::Created(HGDIOBJ object) {
  ++created_;
  live_[object] = GetObjectType(object);
}

void GdiCount::Deleted(HGDIOBJ object, bool deleted) {
  // A handle the platform still knows after its deletion was not deleted, whatever was said.
  if (!deleted || GetObjectType(object) != 0 || live_.erase(object) == 0) ++badDeletes_;
}

void GdiCount::HandedOver(HGDIOBJ object) {
  ++handedOver_;
  if (live_.erase(object) == 0) ++badDeletes_;
}

int GdiCount::Live(DWORD kind) const {
  int n = 0;
  for (const auto& [object, objectKind] : live_) n += objectKind == kind ? 1 : 0;
  return n;
}

}  // namespace lumadex::test
