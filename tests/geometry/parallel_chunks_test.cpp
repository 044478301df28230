// Work spread over the kept worker threads: every item once, in the same pieces as ever,
// whoever calls and however deep, and no thread left behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "geometry/parallel_chunks.h"

namespace {

using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;

struct CVisits {
  explicit CVisits(std::size_t count) : times(std::make_unique<std::atomic<int>[]>(count)) {}
  std::unique_ptr<std::atomic<int>[]> times;
};

// Runs the pieces, each counting its items, and gives the pieces' ranges by chunk.
Ranges RunCounting(std::size_t count, std::size_t chunks, CVisits& visits) {
  std::mutex mutex;
  Ranges ranges;
  CParallelChunks::Run(count, chunks, [&](std::size_t chunk, std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k) ++visits.times[k];
    const std::lock_guard lock(mutex);
    if (ranges.size() <= chunk) ranges.resize(chunk + 1, {~std::size_t{0}, 0});
    ranges[chunk] = {from, to};
  });
  return ranges;
}

void ExpectEachOnce(const CVisits& visits, std::size_t count) {
  std::size_t wrong = 0;
  for (std::size_t k = 0; k < count; ++k) wrong += visits.times[k].load() != 1 ? 1 : 0;
  EXPECT_EQ(wrong, 0u) << "of " << count << " items";
}

// The threads of this process, where the system lists them.
std::ptrdiff_t ProcessThreads() {
  std::error_code error;
  std::filesystem::directory_iterator tasks("/proc/self/task", error);
  if (error) return -1;
  return std::distance(tasks, std::filesystem::directory_iterator());
}

TEST(ParallelChunksTest, CutsTheItemsAsEverAndVisitsEachOnce) {
  const struct {
    std::size_t count;
    std::size_t chunks;
    Ranges expected;
  } rows[] = {
      {0, 1, {{0, 0}}},
      {0, 5, {{0, 0}}},
      {1, 8, {{0, 1}}},
      {5, 0, {{0, 5}}},
      {3, 8, {{0, 1}, {1, 2}, {2, 3}}},
      {10, 4, {{0, 2}, {2, 5}, {5, 7}, {7, 10}}},
      {7, 3, {{0, 2}, {2, 4}, {4, 7}}},
      {2, 2, {{0, 1}, {1, 2}}},
      {16, 8, {{0, 2}, {2, 4}, {4, 6}, {6, 8}, {8, 10}, {10, 12}, {12, 14}, {14, 16}}},
      {9, 9, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9}}},
      {100001,
       7,
       {{0, 14285},
        {14285, 28571},
        {28571, 42857},
        {42857, 57143},
        {57143, 71429},
        {71429, 85715},
        {85715, 100001}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.count << " items in " << row.chunks);
    CVisits visits(row.count);
    EXPECT_EQ(RunCounting(row.count, row.chunks, visits), row.expected);
    ExpectEachOnce(visits, row.count);
  }
}

TEST(ParallelChunksTest, TheFirstPieceRunsOnTheCallingThread) {
  for (int round = 0; round < 50; ++round) {
    std::atomic<bool> firstHere = false;
    const std::thread::id caller = std::this_thread::get_id();
    CParallelChunks::Run(8, 8, [&](std::size_t chunk, std::size_t, std::size_t) {
      if (chunk == 0) firstHere = std::this_thread::get_id() == caller;
    });
    ASSERT_TRUE(firstHere) << "round " << round;
  }
}

TEST(ParallelChunksTest, KeepsNoMoreWorkersThanHardwareThreadsLessOne) {
  const std::size_t workers = CParallelChunks::WorkerCount();
  EXPECT_LE(workers, 7u);
  EXPECT_LE(workers, std::max(std::thread::hardware_concurrency(), 1u) - 1);
}

// Each piece spreads its own items again, down to three levels.
void RunNested(std::size_t from, std::size_t to, int depth, CVisits& visits) {
  CParallelChunks::Run(to - from, 4, [&](std::size_t, std::size_t begin, std::size_t end) {
    if (depth == 0) {
      for (std::size_t k = from + begin; k < from + end; ++k) ++visits.times[k];
    } else {
      RunNested(from + begin, from + end, depth - 1, visits);
    }
  });
}

TEST(ParallelChunksTest, RunsCallsMadeFromWithinPieces) {
  constexpr std::size_t kCount = 6400;
  CVisits visits(kCount);
  RunNested(0, kCount, 3, visits);
  ExpectEachOnce(visits, kCount);
}

TEST(ParallelChunksTest, RunsCallsMadeOnWorkersWhileAllWorkersAreBusy) {
  // Each outer piece waits a while for all the others to begin, so that every worker
  // holds one when the inner calls are made.
  const std::size_t outer = CParallelChunks::WorkerCount() + 1;
  constexpr std::size_t kInner = 5000;
  CVisits visits(outer * kInner);
  std::atomic<std::size_t> begun = 0;
  CParallelChunks::Run(outer, outer, [&](std::size_t chunk, std::size_t, std::size_t) {
    ++begun;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (begun.load() < outer && std::chrono::steady_clock::now() < until)
      std::this_thread::yield();
    CParallelChunks::Run(kInner, 8, [&](std::size_t, std::size_t from, std::size_t to) {
      for (std::size_t k = from; k < to; ++k) ++visits.times[chunk * kInner + k];
    });
  });
  ExpectEachOnce(visits, outer * kInner);
}

TEST(ParallelChunksTest, RunsCallsFromSeveralThreadsAtOnce) {
  constexpr std::size_t kCallers = 6;
  constexpr std::size_t kCount = 3000;
  constexpr int kRounds = 200;
  std::vector<std::unique_ptr<CVisits>> visits;
  for (std::size_t c = 0; c < kCallers; ++c) visits.push_back(std::make_unique<CVisits>(kCount));
  {
    std::vector<std::jthread> callers;
    for (std::size_t c = 0; c < kCallers; ++c) {
      callers.emplace_back([&, c] {
        for (int round = 0; round < kRounds; ++round) {
          // Some calls nest, some spread over more pieces than there are workers.
          const std::size_t chunks = 2 + (c + static_cast<std::size_t>(round)) % 11;
          CParallelChunks::Run(kCount, chunks, [&](std::size_t, std::size_t from, std::size_t to) {
            if (round % 3 == 0) {
              CParallelChunks::Run(to - from, 3, [&](std::size_t, std::size_t b, std::size_t e) {
                for (std::size_t k = from + b; k < from + e; ++k) ++visits[c]->times[k];
              });
            } else {
              for (std::size_t k = from; k < to; ++k) ++visits[c]->times[k];
            }
          });
        }
      });
    }
  }
  for (std::size_t c = 0; c < kCallers; ++c) {
    SCOPED_TRACE(testing::Message() << "caller " << c);
    std::size_t wrong = 0;
    for (std::size_t k = 0; k < kCount; ++k) wrong += visits[c]->times[k].load() != kRounds ? 1 : 0;
    EXPECT_EQ(wrong, 0u);
  }
}

TEST(ParallelChunksTest, ManyCallsStartNoFurtherThreads) {
  CParallelChunks::Run(2, 2, [](std::size_t, std::size_t, std::size_t) {});
  const std::ptrdiff_t before = ProcessThreads();
  if (before < 0) GTEST_SKIP() << "the system does not list a process's threads";
  std::atomic<std::size_t> items = 0;
  for (int round = 0; round < 20000; ++round) {
    CParallelChunks::Run(64, 1 + round % 8, [&](std::size_t, std::size_t from, std::size_t to) {
      items += to - from;
    });
  }
  EXPECT_EQ(items.load(), 20000u * 64u);
  EXPECT_EQ(ProcessThreads(), before);
}

TEST(ParallelChunksTest, AnExceptionOfTheCallersPieceWaitsForThePiecesBegun) {
  for (int round = 0; round < 100; ++round) {
    std::atomic<int> begun = 0;
    std::atomic<int> ended = 0;
    EXPECT_THROW(CParallelChunks::Run(8, 8,
                                      [&](std::size_t chunk, std::size_t, std::size_t) {
                                        if (chunk == 0) throw std::runtime_error("piece 0");
                                        ++begun;
                                        std::this_thread::sleep_for(std::chrono::microseconds(200));
                                        ++ended;
                                      }),
                 std::runtime_error);
    ASSERT_EQ(ended.load(), begun.load()) << "round " << round;
  }
  // The workers serve the next calls as before.
  CVisits visits(1000);
  RunCounting(1000, 8, visits);
  ExpectEachOnce(visits, 1000);
}

}  // namespace
