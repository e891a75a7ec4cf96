// The stored property set of the main window's progress bar, as the form keeps it, and the
// form's font, which is what a missing text font falls back to.
#pragma once
#include "controls/host/property_bag.h"

namespace lumadex {

StoredFont MainFormHostFont();
PropertyBag NicePressBarStoredSet();

}  // namespace lumadex
