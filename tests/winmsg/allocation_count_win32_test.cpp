// The replaced operator new behind AllocationCount. The file's name puts it into the Windows
// test executable; it holds no tests of its own.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

#include "winmsg/allocation_count_win32.h"

namespace {

std::atomic<DWORD> g_countedThread{0};
std::atomic<std::size_t> g_count{0};
std::atomic<bool> g_failNext{false};

void Count() {
  if (g_countedThread.load() != GetCurrentThreadId()) return;
  ++g_count;
  if (g_failNext.exchange(false)) throw std::bad_alloc();
}

void* Allocate(std::size_t bytes) {
  Count();
  if (void* p = std::malloc(bytes ? bytes : 1)) return p;
  throw std::bad_alloc();
}

// The standard memory resources ask for aligned memory.
void* AllocateAligned(std::size_t bytes, std::align_val_t alignment) {
  Count();
  if (void* p = _aligned_malloc(bytes ? bytes : 1, static_cast<std::size_t>(alignment))) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t bytes) { return Allocate(bytes); }
void* operator new[](std::size_t bytes) { return Allocate(bytes); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void* operator new(std::size_t bytes, std::align_val_t alignment) { return AllocateAligned(bytes, alignment); }
void* operator new[](std::size_t bytes, std::align_val_t alignment) { return AllocateAligned(bytes, alignment); }
void operator delete(void* p, std::align_val_t) noexcept { _aligned_free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { _aligned_free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { _aligned_free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { _aligned_free(p); }

namespace lumadex::test {

AllocationCount::AllocationCount() {
  g_count = 0;
  g_failNext = false;
  g_countedThread = GetCurrentThreadId();
}

AllocationCount::~AllocationCount() {
  g_countedThread = 0;
  g_failNext = false;
}

std::size_t AllocationCount::Count() const { return g_count.load(); }
void AllocationCount::FailNext() { g_failNext = true; }

}  // namespace lumadex::test
