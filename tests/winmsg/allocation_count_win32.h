// Counts the allocations made through operator new on this thread while it lives, and can make
// the next one fail. The test executable's operator new is replaced for this (the definition
// lives in allocation_count_win32_test.cpp); other threads are never counted nor failed.
#pragma once
#include <cstddef>

namespace lumadex::test {

class AllocationCount {
 public:
  AllocationCount();
  ~AllocationCount();
  AllocationCount(const AllocationCount&) = delete;
  AllocationCount& operator=(const AllocationCount&) = delete;

  std::size_t Count() const;
  // The next allocation on this thread throws std::bad_alloc; the ones after it succeed.
  void FailNext();
};

}  // namespace lumadex::test
