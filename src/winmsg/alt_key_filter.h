// Which keyboard-hook calls are Alt-key accelerators for the menu strip. Alt+F1…F12,
// Alt+Escape, Alt+Delete and every Control+Alt combination belong to the system and the
// window manager and are never taken.
#pragma once
#include <cstdint>

namespace lumadex {

// code: the hook code (0 for a key action); vKey: the virtual-key code; flags: the key
// message's lParam (bit 29 Alt down, bit 31 key going up); controlDown: Control is held.
bool IsAltAccelerator(int code, std::uintptr_t vKey, std::uint32_t flags, bool controlDown) noexcept;

}  // namespace lumadex
