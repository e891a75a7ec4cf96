// The host's own commands, for tests that change what Wine's file calls cannot: a folder's
// Unix permissions, a small filesystem mounted for a test. Under Wine only.
#pragma once
#include <chrono>
#include <optional>
#include <string>

namespace lumadex::test {

// The Unix path of a Windows path (Wine's own mapping); empty outside Wine or when unmapped.
std::string UnixPathOf(const std::wstring& path);
// A path quoted for /bin/sh.
std::string ShellQuoted(const std::string& text);
// Runs `command` through /bin/sh and returns its exit status; nullopt when it could not be
// started or had not ended within `limit`. Wine gives no handle for a Unix process, so the
// command's status comes back through a file.
std::optional<int> RunShell(const std::string& command, std::chrono::milliseconds limit = std::chrono::seconds(20));

}  // namespace lumadex::test
