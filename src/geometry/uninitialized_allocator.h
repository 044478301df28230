#pragma once

#include <memory>
#include <type_traits>
#include <utility>

// An allocator whose vectors leave plain items (trivially copyable and destructible, even
// with default member values) as the memory holds them when grown, rather than setting
// them: for the large working arrays a step fills on several threads, item by item, before
// anything reads them. Setting them first on the calling thread was a pass of its own over
// fresh memory (a fault for every page, one thread taking them all) that the threads
// waited for.
template <class T>
class CUninitializedAllocator : public std::allocator<T> {
 public:
  using value_type = T;
  template <class U>
  struct rebind {
    using other = CUninitializedAllocator<U>;
  };

  CUninitializedAllocator() = default;
  template <class U>
  CUninitializedAllocator(const CUninitializedAllocator<U>&) noexcept {}

  template <class U>
  void construct(U* place) {
    if constexpr (!(std::is_trivially_copyable_v<U> && std::is_trivially_destructible_v<U>))
      ::new (static_cast<void*>(place)) U();
  }
  template <class U, class... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
};

template <class T, class U>
bool operator==(const CUninitializedAllocator<T>&, const CUninitializedAllocator<U>&) {
  return true;
}
