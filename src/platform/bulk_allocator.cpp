#include "platform/bulk_allocator.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace tvr::platform {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this the heap serves: its blocks are reused without any page fault.
constexpr std::size_t kBulkThreshold = std::size_t{1} << 20;

std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* AllocateBulk(std::size_t bytes) {
  if (bytes < kBulkThreshold) {
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) throw std::bad_alloc();
    return block;
  }
  // Room to align the block on a huge page, then the spare ends go back.
  const std::size_t length = Rounded(bytes);
  void* area = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (area == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(area);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) ::munmap(area, aligned - start);
  const std::uintptr_t tail = aligned + length;
  if (start + length + kHugePage > tail)
    ::munmap(reinterpret_cast<void*>(tail), start + length + kHugePage - tail);
  void* block = reinterpret_cast<void*>(aligned);
  ::madvise(block, length, MADV_HUGEPAGE);  // a hint: without it the block still works
  return block;
}

void FreeBulk(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) return;
  if (bytes < kBulkThreshold) {
    std::free(block);
  } else {
    ::munmap(block, Rounded(bytes));
  }
}

}  // namespace tvr::platform
