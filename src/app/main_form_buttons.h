// The stored property sets of the main window's four push buttons, as the form keeps them.
#pragma once
#include <string_view>

#include "controls/host/property_bag.h"

namespace lumadex {

// The set of `NBtnLogin`, `NBtnDown`, `NBtnClip` or `NBtnFile`; an empty set for another name.
PropertyBag MainFormButtonSet(std::wstring_view name);

}  // namespace lumadex
