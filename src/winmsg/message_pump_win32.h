#pragma once

namespace lumadex {

// Handles the messages already waiting in this thread's queue, then returns. A WM_QUIT met on
// the way is put back for the outer loop; the result is false then.
bool ProcessPendingMessages();

}  // namespace lumadex
