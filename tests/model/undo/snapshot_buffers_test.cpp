#include "model/undo/snapshot_buffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace {

using CBytes = CSnapshotBuffers::CBytes;

CBytes Filled(std::size_t size) { return CBytes(size, 0x5A); }

TEST(SnapshotBuffersTest, ABufferLetGoIsTakenAgainEmptyWithItsMemory) {
  CSnapshotBuffers buffers;
  CBytes bytes = Filled(1 << 16);
  const std::uint8_t* memory = bytes.data();
  CSnapshotBuffers::CShared shared = buffers.Share(std::move(bytes));
  CSnapshotBuffers::CShared other = shared;  // a second holder, as the writer is
  shared.reset();
  EXPECT_EQ(buffers.Kept(), 0u) << "given back while another holder reads it";
  other.reset();
  ASSERT_EQ(buffers.Kept(), 1u);
  const CBytes taken = buffers.Take();
  EXPECT_TRUE(taken.empty()) << "an older snapshot's bytes would lead the next one";
  EXPECT_EQ(taken.data(), memory) << "the memory of the buffer let go is not the one taken";
  EXPECT_GE(taken.capacity(), std::size_t{1} << 16);
  EXPECT_EQ(buffers.Kept(), 0u);
  EXPECT_TRUE(buffers.Take().empty());
}

TEST(SnapshotBuffersTest, OnlyAFewBuffersWaitAndTheRestAreFreed) {
  const struct {
    const char* guards;
    std::size_t mostKept;
    int letGo;
    std::size_t kept;
  } rows[] = {
      {"every buffer kept would hold a snapshot's memory for good", 2, 5, 2},
      {"fewer let go than may wait", 3, 2, 2},
      {"none may wait", 0, 3, 0},
  };
  for (const auto& row : rows) {
    CSnapshotBuffers buffers(row.mostKept);
    std::vector<CSnapshotBuffers::CShared> shared;
    for (int i = 0; i < row.letGo; ++i) shared.push_back(buffers.Share(Filled(100)));
    shared.clear();
    EXPECT_EQ(buffers.Kept(), row.kept) << row.guards;
  }
}

TEST(SnapshotBuffersTest, ABufferIsLetGoOnAnyThreadEvenAfterThePoolWent) {
  const struct {
    const char* guards;
    bool poolGoneFirst;
  } rows[] = {
      {"a writer thread gives its buffer back", false},
      {"a file still written when the history goes keeps its bytes", true},
  };
  for (const auto& row : rows) {
    auto buffers = std::make_unique<CSnapshotBuffers>();
    CSnapshotBuffers::CShared shared = buffers->Share(Filled(1000));
    if (row.poolGoneFirst) buffers.reset();
    std::size_t read = 0;
    std::thread([&read, held = std::move(shared)]() mutable {
      read = static_cast<std::size_t>(std::count(held->begin(), held->end(), 0x5A));
      held.reset();
    }).join();
    EXPECT_EQ(read, 1000u) << row.guards;
    if (buffers) {
      EXPECT_EQ(buffers->Kept(), 1u) << row.guards;
    }
  }
}

}  // namespace
