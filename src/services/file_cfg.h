// The settings file: lines of "key value" in the ANSI code page, kept and written as bytes.
//
// Each line is a key, one space and a value (the value may hold further spaces). A line without
// a space has no key: no look-up finds it, and it is written back as it was read. Keys are
// compared after lower-casing the key in the file, so callers ask with lower-case keys.
#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "services/ansi_codes.h"

namespace lumadex {

class FileCfgError : public std::runtime_error {
  using runtime_error::runtime_error;
};

class FileCFG {
 public:
  explicit FileCFG(LeadBytePredicate isLead = IsLeadByte936);

  // Value of the last line whose key is `key`; "" when no line has it.
  // Throws FileCfgError until a file has been loaded.
  std::string ReadValue(std::string_view key) const;

  // Sets every line whose key is `key` to that key as the file spells it, a space and `value`.
  // A key that no line has adds nothing. Throws FileCfgError until a file has been loaded.
  // (The value comes first: the callers were written against that order.)
  void WriteValue(std::string_view value, std::string_view key);

  // Reads the file's lines (ended by CR, CRLF or the end of the file; a lone LF belongs to its
  // line) in place of the ones held, and returns them. An empty file has no lines and leaves
  // those held as they were.
  // Throws FileCfgError when the file cannot be read; the lines held are then unchanged.
  std::vector<std::string> LoadFile(const std::filesystem::path& name);
  // Takes the lines of `text` as LoadFile takes a file's.
  void LoadText(std::string_view text);

  // Writes every line followed by CRLF. The file is written beside the target under another name
  // and then put in its place, so a failure (thrown as FileCfgError) leaves the old file whole.
  // A file made read-only is not replaced.
  void SaveFile(const std::filesystem::path& name) const;

  const std::vector<std::string>& Lines() const { return lines_; }
  bool IsLoaded() const { return loaded_; }

 private:
  // Index of the space that ends the key of `line` when the key, lower-cased, is `key`; npos otherwise.
  size_t MatchKey(std::string_view line, std::string_view key) const;
  void RequireLoaded(const char* operation) const;

  LeadBytePredicate isLead_;
  std::vector<std::string> lines_;
  bool loaded_ = false;
};

}  // namespace lumadex
