#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>

// Work over many independent items spread over the processor's threads: [0, count) is cut
// into `chunks` consecutive pieces, work(chunk, begin, end) runs for each, the first on
// the calling thread and the others on whichever of the kept worker threads comes free
// first, or on the calling thread once it is done with its own; the call returns when all
// are done. Without a worker to be had (all busy, or none on a one-core machine), the
// pieces run one after the other here, so calls made from within a piece's work never wait
// on one another. A worker keeps its thread_local state from one call to the next.
class CParallelChunks {
 public:
  // How many pieces pay for items of that count: none under minPerChunk items each, and
  // at most one per hardware thread (8 at most).
  static std::size_t ChunkCount(std::size_t count, std::size_t minPerChunk) {
    const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    return std::clamp<std::size_t>(count / std::max<std::size_t>(minPerChunk, 1), 1, threads);
  }

  // A piece's work that throws on the calling thread leaves the pieces not yet begun
  // undone, and the exception goes on once those begun elsewhere have ended; on a worker
  // it ends the program, as an exception leaving any thread does.
  template <class Work>
  static void Run(std::size_t count, std::size_t chunks, Work&& work) {
    chunks = std::clamp<std::size_t>(chunks, 1, std::max<std::size_t>(count, 1));
    auto piece = [&](std::size_t chunk) {
      work(chunk, count * chunk / chunks, count * (chunk + 1) / chunks);
    };
    if (chunks == 1) return piece(0);
    RunPieces(chunks, &piece, [](void* context, std::size_t chunk) {
      (*static_cast<decltype(piece)*>(context))(chunk);
    });
  }

  // The worker threads kept for the pieces: one fewer than the hardware threads, 7 at most.
  static std::size_t WorkerCount();

 private:
  using PieceRunner = void (*)(void* context, std::size_t chunk);
  static void RunPieces(std::size_t chunks, void* context, PieceRunner run);
};
