#pragma once

#include <cstddef>
#include <new>
#include <type_traits>

namespace tvr::platform {

// Large blocks straight from the system, each in pages of 2 MiB where the system allows,
// so that the first use of a block of several megabytes costs a few page faults instead
// of one per 4 KiB (each page fault costs microseconds, far more than filling the page).
// Small blocks come from the ordinary heap.
void* AllocateBulk(std::size_t bytes);
void FreeBulk(void* block, std::size_t bytes) noexcept;

// An allocator for containers of plain values that are filled right after they grow:
// growing leaves the new elements uninitialised instead of zeroing them first.
template <typename T>
class CBulkAllocator {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  using value_type = T;

  CBulkAllocator() = default;
  template <typename U>
  CBulkAllocator(const CBulkAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) { return static_cast<T*>(AllocateBulk(count * sizeof(T))); }
  void deallocate(T* block, std::size_t count) noexcept { FreeBulk(block, count * sizeof(T)); }

  template <typename U>
  void construct(U* at) noexcept {
    ::new (static_cast<void*>(at)) U;
  }
  template <typename U, typename... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(static_cast<Args&&>(args)...);
  }

  friend bool operator==(const CBulkAllocator&, const CBulkAllocator&) { return true; }
};

}  // namespace tvr::platform
