#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "model/run/run_read_sink.h"

class CRun;

// A run of a layout document as the file holds it, to be read on some thread.
struct CRunReadAside {
  CRunReadAside(CRun& run, int fileVersion);
  // A run made for the reading, or none: the reader then makes it from its code.
  CRunReadAside(std::unique_ptr<CRun> madeRun, int fileVersion);
  ~CRunReadAside();
  CRunReadAside(const CRunReadAside&) = delete;
  CRunReadAside& operator=(const CRunReadAside&) = delete;

  CRun* run;
  std::unique_ptr<CRun> made;       // the run made for the reading, until its document takes it
  std::vector<std::uint8_t> bytes;  // the run's record, its code first
  std::size_t offset = 0;           // of bytes[0] in the file
  CRunReadSink sink;
  enum class EState { kQueued, kReading, kRead, kFailed } state = EState::kQueued;
};

// Reads runs on worker threads while the thread that feeds it goes on through the file:
// the runs are given in the file's order and read in any order, each from its bytes, which
// are let go once it has been read. Runs are handed to the readers in batches, read in
// their order by one reader: small runs then cost one hand-off for several. Beyond a given
// amount of bytes waiting to be read, the feeding thread reads batches itself instead of
// going on, which bounds the memory a large file takes beside the document.
class CRunReadPipeline {
 public:
  // read: reads the run from its bytes; false when it could not (it must not throw).
  using CRead = std::function<bool(CRunReadAside&)>;

  // A batch is handed over once its runs hold batchBytes or more (0: each run alone); the
  // bytes waiting may pass maxQueuedBytes by one batch.
  CRunReadPipeline(std::size_t maxQueuedBytes, CRead read, std::size_t batchBytes = 0);
  ~CRunReadPipeline();
  CRunReadPipeline(const CRunReadPipeline&) = delete;
  CRunReadPipeline& operator=(const CRunReadPipeline&) = delete;

  // Takes the next run; returns once the bytes waiting are within bounds again.
  void Push(std::unique_ptr<CRunReadAside> run);
  // Returns once every run given is read or, after a failure, no run is being read; a batch
  // not yet full is handed over first.
  void WaitUntilIdle();
  // Whether some run failed (its reading, or one before it is then no longer started).
  bool Failed() const;

  // When idle: the runs in the order given, and the index of the first that was not
  // read (the count when all were).
  std::deque<std::unique_ptr<CRunReadAside>>& Runs() { return m_runs; }
  std::size_t FirstUnread() const;
  // The most bytes waiting to be read at once.
  std::size_t PeakQueuedBytes() const { return m_peakQueued; }

 private:
  void Work();
  // Hands the batch being filled to the readers.
  void HandOver();
  // Reads the next queued batch outside the lock; false when none is queued.
  bool ReadNext(std::unique_lock<std::mutex>& lock);
  // Reads the runs of a batch in order up to the first that fails; how many were read.
  std::size_t ReadBatch(const std::vector<CRunReadAside*>& batch);
  bool RunWaiting() const {
    return !m_failed.load(std::memory_order_relaxed) && m_next < m_runs.size();
  }
  // Looks on until then, outside the lock, for a run to be given or the pipeline to stop;
  // whether either came.
  bool LookOnForRun(std::unique_lock<std::mutex>& lock,
                    std::chrono::steady_clock::time_point until);

  const std::size_t m_maxQueued;
  const CRead m_read;
  const std::size_t m_batchBytes;
  // The batch being filled, the feeding thread's alone.
  std::vector<std::unique_ptr<CRunReadAside>> m_filling;
  std::size_t m_fillingBytes = 0;
  mutable std::mutex m_mutex;
  // Every run read wakes the feeding thread alone, and only when it waits; a run given
  // wakes one sleeping worker, and none while enough workers look on: waking a thread costs
  // the feeding thread about as much as skimming a run, and runs come in faster than that.
  std::condition_variable m_workGiven;
  std::condition_variable m_runRead;
  std::size_t m_idleWorkers = 0;
  std::size_t m_lookingOn = 0;
  std::atomic<std::size_t> m_changes = 0;  // runs given, and the stop, for those looking on
  bool m_feederWaits = false;
  std::deque<std::unique_ptr<CRunReadAside>> m_runs;
  std::deque<std::size_t> m_batchEnds;  // in m_runs, of every batch handed over
  std::size_t m_nextBatch = 0;
  std::size_t m_next = 0;  // the next run to start, the first of the next batch
  std::size_t m_reading = 0;
  std::size_t m_queued = 0;
  std::size_t m_peakQueued = 0;
  // Set under the lock; the feeding thread asks it after every run, without the lock.
  std::atomic<bool> m_failed = false;
  bool m_stopping = false;
  std::vector<std::jthread> m_workers;
};
