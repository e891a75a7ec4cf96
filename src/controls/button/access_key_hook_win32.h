// Alt + a button's access key clicks the button wherever the focus is in its window, as a form
// tells its controls of their access keys: a thread hook looks at the Alt-key characters on
// their way to any control and hands those a button of the same window carries to that
// button instead.
#pragma once

namespace lumadex::button {

// Counted: the hook is on this thread from the first attach to the last detach.
void AttachAccessKeyHook();
void DetachAccessKeyHook() noexcept;
bool AccessKeyHookInstalled() noexcept;

}  // namespace lumadex::button
