#pragma once

#include <algorithm>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

// Work over many independent items spread over the processor's threads: [0, count) is cut
// into `chunks` consecutive pieces, work(chunk, begin, end) runs for each, the first on
// the calling thread and the others on threads of their own, and the call returns when
// all are done. Without a thread to be had, the pieces run one after the other here.
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
    std::vector<std::jthread> threads;
    threads.reserve(chunks - 1);
    for (std::size_t chunk = 1; chunk < chunks; ++chunk) {
      try {
        threads.emplace_back(
            [&work, chunk, from = begin(chunk), to = begin(chunk + 1)] { work(chunk, from, to); });
      } catch (const std::system_error&) {
        work(chunk, begin(chunk), begin(chunk + 1));
      }
    }
    work(std::size_t{0}, begin(0), begin(1));
  }  // the threads join as they go
};
