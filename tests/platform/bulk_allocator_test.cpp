#include "platform/bulk_allocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tvr::platform {
namespace {

// Sizes on both sides of the point where blocks come from the system instead of the heap,
// grown and shrunk again: every element keeps what was written to it.
TEST(BulkAllocatorTest, BlocksOfEverySizeKeepTheirValuesAcrossGrowth) {
  for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{131071},
                                  std::size_t{131072}, std::size_t{600000}}) {
    SCOPED_TRACE(count);
    std::vector<std::uint64_t, CBulkAllocator<std::uint64_t>> values(count);
    for (std::size_t i = 0; i < count; ++i) values[i] = i * 2654435761u;
    values.resize(count * 2 + 1);
    for (std::size_t i = count; i < values.size(); ++i) values[i] = ~i;
    for (std::size_t i = 0; i < values.size(); ++i)
      ASSERT_EQ(values[i], i < count ? i * 2654435761u : ~i) << i;
    values.resize(count / 2);
    values.shrink_to_fit();
    EXPECT_EQ(values.size(), count / 2);
  }
}

}  // namespace
}  // namespace tvr::platform
