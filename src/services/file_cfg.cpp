#include "services/file_cfg.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#include "services/replace_file.h"

namespace lumadex {
namespace {

namespace fs = std::filesystem;

std::string Describe(const char* what, const fs::path& name) {
  // u8string keeps names outside the ANSI code page printable in the message.
  const std::u8string utf8 = name.u8string();
  return std::string(what) + ": " + std::string(utf8.begin(), utf8.end());
}

// Lines end at CR, CRLF or the end of the text. A bare LF is part of its line: a ciphered value
// may hold that byte, and cutting there would lose the value.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\r', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

// A name for the new file beside the target that no other writer (another copy of the program,
// another FileCFG) picks at the same moment.
fs::path TemporaryBeside(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  static const unsigned long long seed = std::random_device{}();
  const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  const unsigned long long unique = seed ^ (stamp * 0x9E3779B97F4A7C15ull) ^ counter.fetch_add(1);
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08llx.tmp", unique & 0xFFFFFFFFull);
  fs::path name = target;
  name += suffix;
  return name;
}

void RemoveQuietly(const fs::path& name) {
  std::error_code ignored;
  fs::remove(name, ignored);
}

}  // namespace

FileCFG::FileCFG(LeadBytePredicate isLead) : isLead_(isLead ? isLead : IsLeadByte936) {}

void FileCFG::RequireLoaded(const char* operation) const {
  if (!loaded_) throw FileCfgError(std::string(operation) + ": no settings file has been loaded");
}

size_t FileCFG::MatchKey(std::string_view line, std::string_view key) const {
  const size_t space = line.find(' ');
  if (space == std::string_view::npos || space != key.size()) return std::string_view::npos;
  // Lower-case only ASCII letters that are characters of their own: the second byte of a
  // double-byte character may lie in A..Z and is part of another character.
  const std::string_view fileKey = line.substr(0, space);
  for (size_t pos = 0; pos < fileKey.size();) {
    const size_t length = AnsiCharLength(fileKey, pos, isLead_);
    for (size_t i = 0; i < length; ++i) {
      char c = fileKey[pos + i];
      if (length == 1 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != key[pos + i]) return std::string_view::npos;
    }
    pos += length;
  }
  return space;
}

std::string FileCFG::ReadValue(std::string_view key) const {
  RequireLoaded("ReadValue");
  for (auto line = lines_.rbegin(); line != lines_.rend(); ++line) {
    const size_t space = MatchKey(*line, key);
    if (space != std::string_view::npos) return line->substr(space + 1);
  }
  return {};
}

void FileCFG::WriteValue(std::string_view value, std::string_view key) {
  RequireLoaded("WriteValue");
  for (std::string& line : lines_) {
    const size_t space = MatchKey(line, key);
    if (space == std::string_view::npos) continue;
    line.resize(space + 1);
    line.append(value);
  }
}

std::vector<std::string> FileCFG::LoadFile(const fs::path& name) {
  std::error_code error;
  if (fs::is_directory(name, error)) throw FileCfgError(Describe("The settings file is a folder", name));
  std::ifstream in(name, std::ios::binary);
  if (!in) throw FileCfgError(Describe("Cannot open the settings file", name));
  std::string text;
  char buffer[64 * 1024];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<size_t>(in.gcount()));
    if (in.eof()) break;
  }
  if (in.bad()) throw FileCfgError(Describe("Cannot read the settings file", name));
  LoadText(text);
  return lines_;
}

void FileCFG::LoadText(std::string_view text) {
  if (!text.empty()) lines_ = SplitLines(std::string(text));
  loaded_ = true;
}

void FileCFG::SaveFile(const fs::path& name) const {
  // Windows refuses to move a file over a read-only one, but Wine and POSIX renames do not: the
  // user's "keep this as it is" holds everywhere only when asked here.
  std::error_code error;
  const fs::file_status target = fs::status(name, error);
  constexpr auto kWritable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (!error && fs::is_regular_file(target) && (target.permissions() & kWritable) == fs::perms::none)
    throw FileCfgError(Describe("The settings file is read-only", name));
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }

  const fs::path temporary = TemporaryBeside(name);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw FileCfgError(Describe("Cannot create the settings file", temporary));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      RemoveQuietly(temporary);
      throw FileCfgError(Describe("Cannot write the settings file", temporary));
    }
  }
  // A full disk can let every call above succeed and still leave the file short.
  const auto written = fs::file_size(temporary, error);
  if (error || written != text.size()) {
    RemoveQuietly(temporary);
    throw FileCfgError(Describe("The settings file was not written completely", temporary));
  }
  if (!ReplaceFileAtomically(temporary, name)) {
    RemoveQuietly(temporary);
    throw FileCfgError(Describe("Cannot replace the settings file", name));
  }
}

}  // namespace lumadex
