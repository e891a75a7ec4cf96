#include "services/replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace lumadex {

bool ReplaceFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to) {
  // The data must be on the disk before the name points at it, or a crash right after the
  // rename can leave an empty file under the old name.
  const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  if (!synced) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace lumadex
