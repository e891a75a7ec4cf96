// What the user-interface thread needs before the first window, shared by the program and
// every other entry point that drives the main window (the tests, the benchmarks), so that they
// all run in the conditions the program creates.
#pragma once
#include <functional>

namespace lumadex {

// Runs `body` on the calling thread inside a single-threaded apartment with OLE initialised
// (the folder dialog needs the apartment, its drag and drop needs OLE) and uninitialises
// afterwards, when `body` throws as well. Returns what `body` returns. Should the platform
// refuse (the thread already belongs to another kind of apartment) `body` still runs: the
// window works on, only the shell's dialogs may not.
int RunProgramThread(const std::function<int()>& body);

}  // namespace lumadex
