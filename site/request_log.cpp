#include "request_log.h"

namespace lumadex::site {

bool RequestLog::mirror_to(const std::string& path) {
  std::lock_guard lock(mutex_);
  file_.open(path, std::ios::out | std::ios::app | std::ios::binary);
  return file_.is_open();
}

void RequestLog::append(std::string line) {
  std::lock_guard lock(mutex_);
  if (file_.is_open()) {
    file_ << line << '\n';
    file_.flush();
  }
  lines_.push_back(std::move(line));
}

void RequestLog::clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

std::string RequestLog::text() const {
  std::lock_guard lock(mutex_);
  std::string out;
  for (const auto& l : lines_) {
    out += l;
    out += '\n';
  }
  return out;
}

std::vector<std::string> RequestLog::lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

}  // namespace lumadex::site
