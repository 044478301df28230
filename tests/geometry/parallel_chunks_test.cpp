// Work spread over kept threads: every item once, in the pieces asked for; the pieces of
// one call all under way at once (pieces that wait for each other end); threads kept from
// one call to the next rather than made anew; a call that throws, or one made from within
// a piece, still waits for every piece.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "geometry/parallel_chunks.h"
#include "geometry/worker_threads.h"

namespace {

struct CPieceSeen {
  std::size_t chunk = 0;
  std::size_t from = 0;
  std::size_t to = 0;
  bool operator==(const CPieceSeen&) const = default;
};

// The pieces one call hands out, by chunk, and how often each item was met.
struct CCallSeen {
  std::vector<CPieceSeen> pieces;
  std::vector<int> visits;
};

CCallSeen RunAndSee(std::size_t count, std::size_t chunks) {
  CCallSeen seen;
  std::mutex mutex;
  std::vector<std::atomic<int>> visits(count);
  CParallelChunks::Run(count, chunks, [&](std::size_t chunk, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) visits[i].fetch_add(1);
    const std::lock_guard lock(mutex);
    seen.pieces.push_back({chunk, from, to});
  });
  std::sort(seen.pieces.begin(), seen.pieces.end(),
            [](const CPieceSeen& a, const CPieceSeen& b) { return a.chunk < b.chunk; });
  for (const auto& v : visits) seen.visits.push_back(v.load());
  return seen;
}

TEST(ParallelChunksTest, EveryItemOnceInConsecutivePieces) {
  const struct {
    const char* fault;
    std::size_t count;
    std::size_t chunks;
    std::vector<CPieceSeen> pieces;
  } rows[] = {
      {"no items: one empty piece, run here", 0, 4, {{0, 0, 0}}},
      {"one piece asked: all here", 10, 1, {{0, 0, 10}}},
      {"no piece asked: taken as one", 5, 0, {{0, 0, 5}}},
      {"more pieces than items: one item each", 3, 8, {{0, 0, 1}, {1, 1, 2}, {2, 2, 3}}},
      {"uneven split: the last piece not lost", 10, 3, {{0, 0, 3}, {1, 3, 6}, {2, 6, 10}}},
      {"eight pieces of many items",
       8000,
       8,
       {{0, 0, 1000},
        {1, 1000, 2000},
        {2, 2000, 3000},
        {3, 3000, 4000},
        {4, 4000, 5000},
        {5, 5000, 6000},
        {6, 6000, 7000},
        {7, 7000, 8000}}},
      {"more pieces than kept idle threads", 40, 20, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.fault);
    const CCallSeen seen = RunAndSee(row.count, row.chunks);
    if (!row.pieces.empty()) {
      EXPECT_EQ(seen.pieces, row.pieces);
    }
    for (std::size_t i = 0; i < seen.visits.size(); ++i)
      ASSERT_EQ(seen.visits[i], 1) << "item " << i;
    std::size_t next = 0;
    for (std::size_t k = 0; k < seen.pieces.size(); ++k) {
      EXPECT_EQ(seen.pieces[k].chunk, k);
      EXPECT_EQ(seen.pieces[k].from, next);
      next = seen.pieces[k].to;
    }
    EXPECT_EQ(next, row.count);
  }
}

// Runs pieces that each wait until all of them have begun: they end only when every piece
// has a thread at once, whatever threads are busy or kept (a pool that queued pieces for
// want of threads would leave them waiting, which the time limit turns into a failure).
// The threads of the pieces but the caller's, or none when they were not all under way.
std::set<std::thread::id> ThreadsAllUnderWayAtOnce(std::size_t chunks) {
  std::mutex mutex;
  std::condition_variable arrived;
  std::size_t begun = 0;
  bool allMet = true;
  std::set<std::thread::id> threads;
  CParallelChunks::Run(chunks, chunks, [&](std::size_t chunk, std::size_t, std::size_t) {
    std::unique_lock lock(mutex);
    ++begun;
    if (chunk != 0) threads.insert(std::this_thread::get_id());
    arrived.notify_all();
    if (!arrived.wait_for(lock, std::chrono::seconds(20), [&] { return begun == chunks; }))
      allMet = false;
  });
  return allMet ? threads : std::set<std::thread::id>();
}

TEST(ParallelChunksTest, PiecesOfOneCallRunAtOnce) {
  const struct {
    const char* fault;
    std::size_t chunks;
  } rows[] = {
      {"as many as the threads kept", 8},
      {"one more than the sort's groups", 9},
      {"more than are kept idle", CWorkerThreads::kMaxIdle + 4},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.fault);
    EXPECT_EQ(ThreadsAllUnderWayAtOnce(row.chunks).size(), row.chunks - 1);
  }
  // A burst beyond the idle threads kept leaves no more than that behind, besides the
  // threads of a call under way (none here).
  EXPECT_LE(CWorkerThreads::Kept(), CWorkerThreads::kMaxIdle);
}

TEST(ParallelChunksTest, ThreadsAreKeptFromOneCallToTheNext) {
  const std::set<std::thread::id> first = ThreadsAllUnderWayAtOnce(8);
  ASSERT_EQ(first.size(), 7u);
  const std::size_t kept = CWorkerThreads::Kept();
  for (int call = 0; call < 20; ++call) {
    const std::set<std::thread::id> again = ThreadsAllUnderWayAtOnce(8);
    ASSERT_EQ(again.size(), 7u);
    EXPECT_EQ(CWorkerThreads::Kept(), kept) << "call " << call << " made threads anew";
  }
}

TEST(ParallelChunksTest, CallsWaitForEveryPiece) {
  const struct {
    const char* fault;
    bool throwHere;
    bool nested;
  } rows[] = {
      {"the piece here throws: the others still end before the call", true, false},
      {"a piece spreads its own work: the inner call ends within it", false, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.fault);
    std::atomic<int> ended{0};
    std::atomic<int> innerItems{0};
    const auto run = [&] {
      CParallelChunks::Run(4, 4, [&](std::size_t chunk, std::size_t, std::size_t) {
        if (chunk == 0 && row.throwHere) throw std::runtime_error("piece");
        if (row.nested) {
          CParallelChunks::Run(100, 4, [&](std::size_t, std::size_t from, std::size_t to) {
            innerItems.fetch_add(static_cast<int>(to - from));
          });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ended.fetch_add(1);
      });
    };
    if (row.throwHere) {
      EXPECT_THROW(run(), std::runtime_error);
      EXPECT_EQ(ended.load(), 3);
    } else {
      run();
      EXPECT_EQ(ended.load(), 4);
      EXPECT_EQ(innerItems.load(), 400);
    }
  }
}

}  // namespace
