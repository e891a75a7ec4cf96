// What the site was asked and how it answered, one line per request, so tests can check
// exactly what a client did. Kept in memory and, optionally, appended to a file.
#pragma once

#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace lumadex::site {

class RequestLog {
 public:
  RequestLog() = default;
  // Appends to `path` as well; false when it cannot be opened.
  bool mirror_to(const std::string& path);

  void append(std::string line);
  // Only the in-memory lines; the file keeps the whole history.
  void clear();
  // Oldest first, each line ending in "\n".
  std::string text() const;
  std::vector<std::string> lines() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::ofstream file_;
};

}  // namespace lumadex::site
