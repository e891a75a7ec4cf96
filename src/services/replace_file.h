// Puts a finished file in the place of another in one step, so that a reader (or a crash)
// sees either the old file or the new one, never a mixture.
#pragma once
#include <filesystem>

namespace lumadex {

// Flushes `from` to the disk and renames it to `to`, replacing any file there. Both must be on
// the same volume (callers write `from` beside `to`). False on any failure; `to` is then as it was.
bool ReplaceFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace lumadex
