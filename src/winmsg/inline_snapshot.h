// A copy of a short list taken at the start of a callback round, so the callbacks may change
// the list itself. The first N entries live inside the object: the common round of one or two
// callees takes no memory at all; longer lists spill into the memory resource given.
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <memory_resource>
#include <vector>

namespace lumadex {

template <class T, std::size_t N>
class InlineSnapshot {
 public:
  explicit InlineSnapshot(std::pmr::memory_resource* memory = std::pmr::get_default_resource()) : spill_(memory) {}
  InlineSnapshot(const InlineSnapshot&) = delete;
  InlineSnapshot& operator=(const InlineSnapshot&) = delete;

  // Replaces the contents with [first, last).
  template <class It>
  void Assign(It first, It last) {
    const auto count = static_cast<std::size_t>(last - first);
    spill_.clear();
    if (count <= N) {
      std::copy(first, last, inline_.begin());
    } else {
      spill_.assign(first, last);
    }
    size_ = count;
  }
  void Clear() noexcept {
    spill_.clear();
    size_ = 0;
  }

  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  const T& operator[](std::size_t i) const noexcept { return size_ <= N ? inline_[i] : spill_[i]; }

 private:
  std::array<T, N> inline_{};
  std::pmr::vector<T> spill_;
  std::size_t size_ = 0;
};

}  // namespace lumadex
