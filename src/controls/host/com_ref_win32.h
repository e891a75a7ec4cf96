// The owner of one COM reference: released when the owner goes or takes another.
#pragma once
#include <utility>

namespace lumadex {

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  // Takes over a reference the caller already holds (a new object's first, an out parameter's).
  explicit ComRef(T* adopted) noexcept : p_(adopted) {}
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) reset(std::exchange(other.p_, nullptr));
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() { reset(); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // Releases what is held and takes over `adopted`.
  void reset(T* adopted = nullptr) noexcept {
    if (T* old = std::exchange(p_, adopted)) old->Release();
  }
  // For an out parameter: what was held goes first.
  void** put() noexcept {
    reset();
    return reinterpret_cast<void**>(&p_);
  }

 private:
  T* p_ = nullptr;
};

}  // namespace lumadex
