#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class CDorneDoc;

// Makes the design of the step the next undo restores on a thread of its own, right
// after the edit that wrote the step, so that the undo only swaps it in and the window
// thread never spends the reading: the step's snapshot bytes are read into an empty
// design (made on the window thread), its runs on several threads as a file's are, and
// its scene is rebuilt there.
//
// One step at a time: a new one calls off the one before. The empty designs are made on
// the window thread; what the worker leaves, called off, unread or done and not taken
// before another step, it frees itself, a run at a time while no step waits, so that the window
// thread never spends the freeing of a design it did not use (most of its memory came
// from the worker's own allocations). What the worker's freeing reaches of the process
// (the range tables' counts of live runs, the tap-off marks) is guarded as its reading is.
// A design done is handed over by Take only. The worker fills no range table set
// (CRangeTableCache::CFillRefusal): a step that needs one comes back unread, and the undo
// reads its file as before. Every member is for the window thread.
class CUndoDesignAhead {
 public:
  CUndoDesignAhead() = default;
  // Calls the work off, waits for the thread and frees what it left.
  ~CUndoDesignAhead();
  CUndoDesignAhead(const CUndoDesignAhead&) = delete;
  CUndoDesignAhead& operator=(const CUndoDesignAhead&) = delete;

  // The step (a number other than 0) read from its bytes into the design, empty as
  // CDorneDoc::MakeSibling makes it. False, nothing started, when no thread can be had.
  bool Start(std::uint64_t step, std::shared_ptr<const std::vector<std::uint8_t>> bytes,
             std::unique_ptr<CDorneDoc> design);
  // Whether the step is being worked on, or waits for it.
  bool IsWorking(std::uint64_t step) const;
  // Whether the step is done with, read or not, and not taken yet.
  bool IsDone(std::uint64_t step) const;
  // Waits for the step if it is worked on: its design with its scene, or null when it
  // could not be read (its design is then among the cast-offs) or is not the step of the
  // object. The step is forgotten either way.
  std::unique_ptr<CDorneDoc> Take(std::uint64_t step);
  // The work is called off (between two stretches of the bytes; a scene already being
  // rebuilt is finished and thrown away), and the design of a step done but not taken
  // is let go: the worker frees both.
  void CallOff();

  // Steps given, and of those read, not readable, called off; designs the worker freed;
  // for tests and benchmarks.
  struct CCounts {
    int given = 0;
    int read = 0;
    int unread = 0;
    int calledOff = 0;
    int freed = 0;
  };
  CCounts Counts() const;

 private:
  struct CJob {
    std::uint64_t step = 0;
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;
    std::unique_ptr<CDorneDoc> design;
  };
  void Work();
  // On the worker: true when the design was read whole, with its scene, and not called off.
  bool Read(CJob& job) const;
  // With the lock held: the design goes to the worker to be freed.
  void CastOff(std::unique_ptr<CDorneDoc> design);
  // On the worker, the lock held by `lock`: frees the last design cast off, the lock let
  // go meanwhile, unless a step is handed over first (it then waits among the cast-offs).
  void FreeCastOffs(std::unique_lock<std::mutex>& lock);
  void CallOffLocked();

  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::optional<CJob> m_waiting;  // handed over, not yet begun
  std::uint64_t m_workingOn = 0;  // the step the worker reads now
  std::optional<CJob> m_done;     // its design null when unread
  std::vector<std::unique_ptr<CDorneDoc>> m_castOffs;
  std::atomic<bool> m_stop = false;  // the step worked on is called off
  // A step waits, or the object goes: the worker's freeing stops at the next run.
  std::atomic<bool> m_freeingHeld = false;
  bool m_quitting = false;
  CCounts m_counts;
  std::thread m_thread;  // started with the first step
};
