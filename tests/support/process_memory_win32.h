// What the test process has committed, for checks that memory a request took is given back.
#pragma once
#include <windows.h>
#include <psapi.h>

#include <cstddef>

namespace lumadex::test {

inline size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  return memory.PrivateUsage;
}

}  // namespace lumadex::test
