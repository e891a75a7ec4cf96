// Two thread hooks of the skinned frame: a keyboard hook that offers Alt-key accelerators to
// the frame of the active window, and a message-filter hook that shows a menu tracker the
// messages of a popup menu's modal loop. Both hold their targets' addresses only; a target
// detaches before it goes.
#pragma once
#include <windows.h>

#include <cstddef>

namespace lumadex {

// A frame engine served by the keyboard hook.
class IAltKeyTarget {
 public:
  // Whether the engine's window is the active one; the first active engine gets the key.
  virtual bool WindowActive() const = 0;
  // Offered a key pressed with Alt; true when the key was used (it then goes no further).
  virtual bool HandleAltKey(UINT vKey) = 0;

 protected:
  ~IAltKeyTarget() = default;
};

// A popup tracker served by the message-filter hook.
class IMenuMessageFilter {
 public:
  // Offered every message of the menu's modal loop, as a copy; true when eaten.
  virtual bool FilterMenuMessage(const MSG& msg) = 0;

 protected:
  ~IMenuMessageFilter() = default;
};

// Installs the keyboard hook on this thread with the first engine and adds the engine once.
// Returns false when the platform refuses the hook (the engine is not added then).
bool AttachKeyboardHook(IAltKeyTarget* engine);
// The same for an engine serving `window`: the engine is dropped when the window is destroyed,
// so the hook never asks an engine whose window is gone. False also when the window cannot be
// watched (no window of this thread).
bool AttachKeyboardHook(IAltKeyTarget* engine, HWND window);
// Removes the engine; the hook goes with the last one.
void DetachKeyboardHook(IAltKeyTarget* engine) noexcept;

// Replaces any filter hook by one on this thread serving this tracker; false when refused.
bool AttachMenuFilterHook(IMenuMessageFilter* tracker);
// Removes the filter hook and forgets its tracker.
void DetachMenuFilterHook() noexcept;

// Read-only views for tests and diagnostics.
namespace thread_hooks {
bool KeyboardHookInstalled() noexcept;
std::size_t KeyboardHookEngineCount() noexcept;
bool MenuFilterHookInstalled() noexcept;
}  // namespace thread_hooks

}  // namespace lumadex
