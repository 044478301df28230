#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "model/run_read_sink.h"

class CRun;

// A run of a layout document as the file holds it, to be read on some thread.
struct CRunReadAside {
  CRunReadAside(CRun& run, int fileVersion) : run(&run), sink(fileVersion) {}

  CRun* run;
  std::vector<std::uint8_t> bytes;  // the run's record, its code first
  std::size_t offset = 0;           // of bytes[0] in the file
  CRunReadSink sink;
  enum class EState { kQueued, kReading, kRead, kFailed } state = EState::kQueued;
};

// Reads runs on worker threads while the thread that feeds it goes on through the file:
// the runs are given in the file's order and read in any order. Their bytes are kept until
// every run before them has been read, so that a reading that fails can be made again in
// place from the first run that failed; beyond a given amount of bytes held, the feeding
// thread reads runs itself instead of going on, which bounds the memory a large file takes.
class CRunReadPipeline {
 public:
  // read: reads the run from its bytes; false when it could not (it must not throw).
  using CRead = std::function<bool(CRunReadAside&)>;

  CRunReadPipeline(std::size_t maxHeldBytes, CRead read);
  ~CRunReadPipeline();
  CRunReadPipeline(const CRunReadPipeline&) = delete;
  CRunReadPipeline& operator=(const CRunReadPipeline&) = delete;

  // Takes the next run; returns once the bytes held are within bounds again.
  void Push(std::unique_ptr<CRunReadAside> run);
  // Returns once every run given is read or, after a failure, no run is being read.
  void WaitUntilIdle();
  // Whether some run failed (its reading, or one before it is then no longer started).
  bool Failed() const;

  // When idle: the runs in the order given, and the index of the first that was not
  // read (the count when all were). Runs before it hold no bytes any more.
  std::deque<std::unique_ptr<CRunReadAside>>& Runs() { return m_runs; }
  std::size_t FirstUnread() const;
  // The most bytes held at once.
  std::size_t PeakHeldBytes() const { return m_peakHeld; }

 private:
  void Work();
  // Reads the next queued run outside the lock; false when none is queued.
  bool ReadNext(std::unique_lock<std::mutex>& lock);
  // The feeding thread waits until some run has been read.
  void WaitForARun(std::unique_lock<std::mutex>& lock);
  // Takes the bytes of the runs read in order so far, to be freed outside the lock.
  std::vector<std::vector<std::uint8_t>> TakeReadBytes();

  const std::size_t m_maxHeld;
  const CRead m_read;
  mutable std::mutex m_mutex;
  // Every run read wakes the feeding thread alone, and only when it waits; a run given
  // wakes one idle worker: waking them all at each turn would have them queue for the lock.
  std::condition_variable m_workGiven;
  std::condition_variable m_runRead;
  std::size_t m_idleWorkers = 0;
  // Bytes of runs read, freed by whichever thread starts a run next.
  std::vector<std::vector<std::uint8_t>> m_toFree;
  bool m_feederWaits = false;
  std::deque<std::unique_ptr<CRunReadAside>> m_runs;
  std::size_t m_next = 0;      // the next run to start
  std::size_t m_released = 0;  // runs before it are read and hold no bytes
  std::size_t m_reading = 0;
  std::size_t m_held = 0;
  std::size_t m_peakHeld = 0;
  bool m_failed = false;
  bool m_stopping = false;
  std::vector<std::jthread> m_workers;
};
