#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>

#include "geometry/worker_threads.h"

// Work over many independent items spread over the processor's threads: [0, count) is cut
// into `chunks` consecutive pieces, work(chunk, begin, end) runs for each, the first on
// the calling thread and the others on threads of their own (kept from one call to the
// next, CWorkerThreads), and the call returns when all are done. Without a thread to be
// had, a piece runs here.
class CParallelChunks {
 public:
  // How many pieces pay for items of that count: none under minPerChunk items each, and
  // at most one per hardware thread (8 at most).
  static std::size_t ChunkCount(std::size_t count, std::size_t minPerChunk) {
    const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    return std::clamp<std::size_t>(count / std::max<std::size_t>(minPerChunk, 1), 1, threads);
  }

  template <class Work>
  static void Run(std::size_t count, std::size_t chunks, Work&& work) {
    chunks = std::clamp<std::size_t>(chunks, 1, std::max<std::size_t>(count, 1));
    auto begin = [&](std::size_t chunk) { return count * chunk / chunks; };
    // Waits, even when the piece here throws, for the others, which use the work.
    CWorkerThreads::CPending pending;
    for (std::size_t chunk = 1; chunk < chunks; ++chunk) {
      const std::size_t from = begin(chunk), to = begin(chunk + 1);
      if (!CWorkerThreads::Start([&work, chunk, from, to] { work(chunk, from, to); }, pending))
        work(chunk, from, to);
    }
    work(std::size_t{0}, begin(0), begin(1));
  }
};
