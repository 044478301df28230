#include "geometry/worker_threads.h"

#include <atomic>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

// The threads kept, with the task each is given.
class CWorkerPool {
 public:
  ~CWorkerPool();
  bool Start(std::function<void()>& task, CWorkerThreads::CPending& pending);
  std::size_t Kept();

 private:
  struct CWorker {
    std::mutex mutex;
    std::condition_variable woken;
    std::function<void()> task;
    CWorkerThreads::CPending* pending = nullptr;
    bool stop = false;
    std::thread thread;
  };

  void Give(CWorker& worker, std::function<void()>& task, CWorkerThreads::CPending& pending);
  void Serve(CWorker& worker);
  // Back among the idle threads; false when enough are idle and this one is to end.
  bool Idle(CWorker& worker);
  void Forget(CWorker& worker);

  std::mutex m_mutex;
  std::vector<std::unique_ptr<CWorker>> m_workers;
  std::vector<CWorker*> m_idle;
};

namespace {

// A task started while the program ends (from the destructor of another static object)
// runs on the thread that starts it.
std::atomic<bool> g_closed{false};

CWorkerPool& Pool() {
  static CWorkerPool pool;
  return pool;
}

}  // namespace

CWorkerPool::~CWorkerPool() {
  g_closed.store(true);
  std::vector<std::unique_ptr<CWorker>> workers;
  {
    const std::lock_guard lock(m_mutex);
    workers = std::move(m_workers);
    m_idle.clear();
  }
  for (const auto& worker : workers) {
    {
      const std::lock_guard lock(worker->mutex);
      worker->stop = true;
    }
    worker->woken.notify_one();
    worker->thread.join();
  }
}

void CWorkerPool::Give(CWorker& worker, std::function<void()>& task,
                       CWorkerThreads::CPending& pending) {
  CWorkerThreads::Counted(pending);
  const std::lock_guard lock(worker.mutex);
  worker.task = std::move(task);
  worker.pending = &pending;
}

bool CWorkerPool::Start(std::function<void()>& task, CWorkerThreads::CPending& pending) {
  CWorker* idle = nullptr;
  {
    const std::lock_guard lock(m_mutex);
    if (!m_idle.empty()) {
      idle = m_idle.back();
      m_idle.pop_back();
    }
  }
  if (idle != nullptr) {
    Give(*idle, task, pending);
    idle->woken.notify_one();
    return true;
  }
  std::unique_ptr<CWorker> made;
  try {
    made = std::make_unique<CWorker>();
  } catch (const std::bad_alloc&) {
    return false;
  }
  CWorker& fresh = *made;
  Give(fresh, task, pending);
  // Listed before it runs, so that a thread that ends for good finds itself in the list.
  const std::lock_guard lock(m_mutex);
  try {
    fresh.thread = std::thread([this, &fresh] { Serve(fresh); });
  } catch (const std::system_error&) {
    task = std::move(fresh.task);
    CWorkerThreads::Ended(pending);
    return false;
  }
  m_workers.push_back(std::move(made));
  return true;
}

void CWorkerPool::Serve(CWorker& worker) {
  std::unique_lock lock(worker.mutex);
  for (;;) {
    worker.woken.wait(lock, [&worker] { return worker.task || worker.stop; });
    if (!worker.task) return;
    std::function<void()> task = std::exchange(worker.task, nullptr);
    CWorkerThreads::CPending* pending = std::exchange(worker.pending, nullptr);
    lock.unlock();
    task();
    // What the task holds goes before it counts as ended.
    task = nullptr;
    // Idle (or gone) before it is counted: the caller's next tasks find this thread free.
    const bool kept = Idle(worker);
    if (!kept) Forget(worker);
    CWorkerThreads::Ended(*pending);
    if (!kept) return;
    lock.lock();
  }
}

bool CWorkerPool::Idle(CWorker& worker) {
  const std::lock_guard lock(m_mutex);
  if (m_idle.size() >= CWorkerThreads::kMaxIdle) return false;
  m_idle.push_back(&worker);
  return true;
}

void CWorkerPool::Forget(CWorker& worker) {
  // The thread ends for good and lets its record go, detached; unless the pool is going,
  // which joins it.
  const std::lock_guard lock(m_mutex);
  for (auto it = m_workers.begin(); it != m_workers.end(); ++it) {
    if (it->get() != &worker) continue;
    const std::unique_ptr<CWorker> self = std::move(*it);
    m_workers.erase(it);
    self->thread.detach();
    return;
  }
}

std::size_t CWorkerPool::Kept() {
  const std::lock_guard lock(m_mutex);
  return m_workers.size();
}

void CWorkerThreads::CPending::Add() {
  const std::lock_guard lock(m_mutex);
  ++m_left;
}

void CWorkerThreads::CPending::Done() {
  // Counted and told under the lock: the waiter cannot go (and take the count with it)
  // before this thread has let go of it.
  const std::lock_guard lock(m_mutex);
  if (--m_left == 0) m_ended.notify_all();
}

void CWorkerThreads::CPending::Wait() {
  std::unique_lock lock(m_mutex);
  m_ended.wait(lock, [this] { return m_left == 0; });
}

bool CWorkerThreads::Start(std::function<void()> task, CPending& pending) {
  if (g_closed.load()) return false;
  return Pool().Start(task, pending);
}

std::size_t CWorkerThreads::Kept() { return g_closed.load() ? 0 : Pool().Kept(); }
