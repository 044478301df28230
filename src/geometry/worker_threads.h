#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>

// Threads kept for the short pieces of work that are spread over several threads many
// times a second (each step of a re-sort, a recording, a playback): a thread whose task is
// done waits for the next one rather than ending, so that such work does not pay for
// making and ending its threads every time. Each task gets a thread to itself at once, an
// idle one or else a new one, as it would with a thread of its own: tasks that wait for
// each other cannot wait for want of a thread.
class CWorkerThreads {
 public:
  // The tasks started and not yet ended; the destructor waits for them (also when the
  // caller leaves by an exception, since the tasks may use what it holds).
  class CPending {
   public:
    CPending() = default;
    ~CPending() { Wait(); }
    CPending(const CPending&) = delete;
    CPending& operator=(const CPending&) = delete;
    void Wait();

   private:
    friend class CWorkerThreads;
    void Add();
    void Done();

    std::mutex m_mutex;
    std::condition_variable m_ended;
    std::size_t m_left = 0;
  };

  // Runs the task on a thread of its own, counted in pending until it has ended (and its
  // thread is free for the next task). False, with nothing run or counted, when no thread
  // can be had: the caller then runs the task itself.
  static bool Start(std::function<void()> task, CPending& pending);
  // How many threads are kept now, busy or idle.
  static std::size_t Kept();
  // How many idle threads are kept at most: more, from a burst of tasks, end.
  static constexpr std::size_t kMaxIdle = 16;

 private:
  friend class CWorkerPool;
  static void Counted(CPending& pending) { pending.Add(); }
  static void Ended(CPending& pending) { pending.Done(); }
};
