#include "geometry/parallel_chunks.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <vector>

namespace {

// A round of pieces often follows another within microseconds (a re-sort makes several in
// a row), and a pause that short is over before a sleeping thread has woken: the workers and
// the caller look on a while before they sleep.
constexpr auto kLookOn = std::chrono::microseconds(100);

// Looks at `done` until it holds or the while is over; whether it held.
template <class Done>
bool LookOn(Done done) {
  const auto until = std::chrono::steady_clock::now() + kLookOn;
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::yield();
  }
  return true;
}

// One call's pieces, on its caller's stack while the call lasts. The pieces are claimed
// in turn by whoever comes: the caller, which has the first, and the workers.
struct CPieces {
  CPieces(std::size_t chunks, void* context, void (*run)(void*, std::size_t))
      : count(chunks), context(context), run(run) {}

  bool Unclaimed() const { return next.load(std::memory_order_relaxed) < count; }

  void RunUnclaimed() {
    for (std::size_t chunk = next.fetch_add(1, std::memory_order_relaxed); chunk < count;
         chunk = next.fetch_add(1, std::memory_order_relaxed)) {
      run(context, chunk);
      finished.fetch_add(1, std::memory_order_release);
    }
  }

  const std::size_t count;
  void* const context;
  void (*const run)(void*, std::size_t);
  std::atomic<std::size_t> next = 1;
  std::atomic<std::size_t> finished = 1;  // the first is finished when the caller claims
  std::size_t helpers = 0;                // workers on these pieces, under the workers' lock
  std::condition_variable helpersDone;
};

// Threads started once and kept: starting a thread for each piece cost about a millisecond
// a call, several under load, and a picture makes many calls.
class CWorkers {
 public:
  static CWorkers& Instance() {
    static CWorkers workers;
    return workers;
  }

  CWorkers(const CWorkers&) = delete;
  CWorkers& operator=(const CWorkers&) = delete;

  ~CWorkers() {
    {
      const std::lock_guard lock(m_mutex);
      m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads) thread.join();
  }

  std::size_t Count() const { return m_threads.size(); }

  void Run(CPieces& pieces) {
    if (m_threads.empty()) {
      pieces.run(pieces.context, 0);
      return pieces.RunUnclaimed();
    }
    {
      const std::lock_guard lock(m_mutex);
      m_waiting.push_back(&pieces);
      m_posted.fetch_add(1, std::memory_order_relaxed);
    }
    if (pieces.count - 1 >= m_threads.size()) {
      m_wake.notify_all();
    } else {
      for (std::size_t k = 1; k < pieces.count; ++k) m_wake.notify_one();
    }
    try {
      pieces.run(pieces.context, 0);
      pieces.RunUnclaimed();
    } catch (...) {
      pieces.next.store(pieces.count, std::memory_order_relaxed);
      AwaitHelpers(pieces);
      throw;
    }
    AwaitHelpers(pieces);
  }

 private:
  CWorkers() {
    const std::size_t wanted =
        std::min<std::size_t>(std::max(std::thread::hardware_concurrency(), 1u) - 1, 7);
    m_threads.reserve(wanted);
    for (std::size_t k = 0; k < wanted; ++k) {
      try {
        m_threads.emplace_back([this] { Serve(); });
      } catch (const std::system_error&) {
        break;  // fewer workers, or none: the callers run the rest
      }
    }
  }

  // The oldest call with pieces unclaimed, those without any taken off.
  CPieces* Waiting() {
    while (!m_waiting.empty() && !m_waiting.front()->Unclaimed())
      m_waiting.erase(m_waiting.begin());
    return m_waiting.empty() ? nullptr : m_waiting.front();
  }

  // A piece that throws here ends the program, as it did on a thread of its own.
  void Serve() noexcept {
    std::unique_lock lock(m_mutex);
    for (;;) {
      CPieces* pieces = nullptr;
      if (!m_stopping && Waiting() == nullptr) {
        const std::size_t posted = m_posted.load(std::memory_order_relaxed);
        lock.unlock();
        LookOn([&] { return m_posted.load(std::memory_order_relaxed) != posted; });
        lock.lock();
      }
      m_wake.wait(lock, [&] { return m_stopping || (pieces = Waiting()) != nullptr; });
      if (m_stopping) return;
      ++pieces->helpers;
      lock.unlock();
      pieces->RunUnclaimed();
      lock.lock();
      // Notified under the lock: the caller cannot leave, and take the pieces with it,
      // before this thread is done with them.
      if (--pieces->helpers == 0) pieces->helpersDone.notify_all();
    }
  }

  // No worker joins the pieces afterwards; those on them finish what they claimed.
  void AwaitHelpers(CPieces& pieces) {
    LookOn([&] { return pieces.finished.load(std::memory_order_acquire) >= pieces.count; });
    std::unique_lock lock(m_mutex);
    std::erase(m_waiting, &pieces);
    pieces.helpersDone.wait(lock, [&] { return pieces.helpers == 0; });
  }

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::vector<CPieces*> m_waiting;  // calls with pieces perhaps unclaimed, oldest first
  bool m_stopping = false;
  std::atomic<std::size_t> m_posted = 0;  // calls ever made, for the workers looking on
  std::vector<std::thread> m_threads;
};

}  // namespace

std::size_t CParallelChunks::WorkerCount() { return CWorkers::Instance().Count(); }

void CParallelChunks::RunPieces(std::size_t chunks, void* context, PieceRunner run) {
  CPieces pieces(chunks, context, run);
  CWorkers::Instance().Run(pieces);
}
