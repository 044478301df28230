#include "model/run/run_read_pipeline.h"

#include "model/run/run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Case {
  std::string name;
  std::size_t runs;
  std::size_t bytesEach;
  std::size_t maxHeld;
  std::size_t failAt;  // runs: none fails
};

// Runs given to the pipeline and read by a reader that counts its calls and fails at one
// run; the reading of every fourth run takes longer, so that runs finish out of order. Runs
// are handed over alone, or in batches of two, three, seven runs, and of more than a file
// holds (handed over only when the feeder waits).
void ReadAllRunsInBatches(std::size_t batchRuns) {
  const std::vector<Case> cases = {
      {"one run", 1, 100, 1000, 1},
      {"many small runs", 500, 10, 1 << 20, 500},
      {"held bytes bound the feeding", 200, 1000, 5000, 200},
      {"a bound below one run", 50, 1000, 10, 50},
      {"the first run fails", 100, 100, 2000, 0},
      {"a middle run fails", 300, 100, 2000, 150},
      {"the last run fails", 80, 100, 2000, 79},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CRun run;
    std::vector<std::atomic<int>> reads(c.runs);
    std::vector<CRunReadAside*> given;
    // A batch is full once it holds that many runs' bytes (none: each run alone).
    const std::size_t batchBytes = batchRuns * c.bytesEach;
    CRunReadPipeline pipeline(
        c.maxHeld,
        [&](CRunReadAside& aside) {
          const std::size_t index = aside.bytes.at(0) + 256u * aside.bytes.at(1);
          ++reads.at(index);
          if (index % 4 == 0) {
            for (int i = 0; i < 2000; ++i) std::this_thread::yield();
          }
          return index != c.failAt;
        },
        batchBytes);
    for (std::size_t i = 0; i < c.runs && !pipeline.Failed(); ++i) {
      auto aside = std::make_unique<CRunReadAside>(run, 0);
      aside->bytes.assign(c.bytesEach, 0);
      aside->bytes[0] = static_cast<std::uint8_t>(i % 256);
      aside->bytes[1] = static_cast<std::uint8_t>(i / 256);
      given.push_back(aside.get());
      pipeline.Push(std::move(aside));
    }
    pipeline.WaitUntilIdle();
    EXPECT_EQ(pipeline.FirstUnread(), c.failAt);
    EXPECT_EQ(pipeline.Failed(), c.failAt < c.runs);
    ASSERT_EQ(pipeline.Runs().size(), given.size());
    for (std::size_t i = 0; i < given.size(); ++i) {
      const CRunReadAside& aside = *pipeline.Runs()[i];
      EXPECT_EQ(&aside, given[i]);
      // Before the failure every run is read once; after it, at most once.
      EXPECT_LE(reads[i].load(), 1) << "run " << i;
      if (i < c.failAt) {
        EXPECT_EQ(reads[i].load(), 1) << "run " << i;
      }
      // A run read lets its bytes go, whether it could be read or not.
      if (reads[i].load() == 1) {
        EXPECT_TRUE(aside.bytes.empty()) << "run " << i;
      }
    }
    // Past the bound the feeder reads a waiting batch itself: one batch more at most waits
    // (a batch holds one run beyond its size at most).
    EXPECT_LE(pipeline.PeakQueuedBytes(), c.maxHeld + batchBytes + c.bytesEach);
  }
}

TEST(RunReadPipelineTest, EveryRunBeforeAFailureIsReadOnceAndTheWaitingBytesStayBounded) {
  for (const std::size_t batchRuns : {0u, 2u, 3u, 7u, 1000u}) {
    SCOPED_TRACE("batches of " + std::to_string(batchRuns) + " runs");
    ReadAllRunsInBatches(batchRuns);
  }
}

// Runs given one at a time with pauses longer than the workers look on for the next one:
// each must wake a worker that has gone to sleep, rather than wait for the feeding thread
// to read it once it waits itself.
TEST(RunReadPipelineTest, ARunGivenAfterTheWorkersSleptIsReadByAWorker) {
  CRun run;
  const std::thread::id feeder = std::this_thread::get_id();
  std::atomic<int> read = 0;
  std::atomic<int> readByFeeder = 0;
  CRunReadPipeline pipeline(1 << 20, [&](CRunReadAside&) {
    if (std::this_thread::get_id() == feeder) ++readByFeeder;
    ++read;
    return true;
  });
  constexpr int kRuns = 6;
  for (int i = 0; i < kRuns; ++i) {
    auto aside = std::make_unique<CRunReadAside>(run, 0);
    aside->bytes.assign(10, 0);
    pipeline.Push(std::move(aside));
    // Long after the workers stopped looking on; a busy machine gets a second to start one.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (read.load() <= i && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  pipeline.WaitUntilIdle();
  EXPECT_EQ(read.load(), kRuns);
  EXPECT_EQ(readByFeeder.load(), 0);
  EXPECT_EQ(pipeline.FirstUnread(), std::size_t{kRuns});
}

}  // namespace
