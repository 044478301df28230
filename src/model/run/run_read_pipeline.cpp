#include "model/run/run_read_pipeline.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "model/run/run.h"

namespace {

// The feeding thread is one of the readers too.
std::size_t WorkerCount() {
  const unsigned threads = std::thread::hardware_concurrency();
  return std::clamp<std::size_t>(threads, 2, 8) - 1;
}

// Longer than the feeding thread takes to skim a run, so that a worker that has read one
// finds the next without sleeping; short enough to cost little once the runs are all given.
constexpr auto kLookOn = std::chrono::microseconds(200);

}  // namespace

CRunReadAside::CRunReadAside(CRun& run, int fileVersion) : run(&run), sink(fileVersion) {}

CRunReadAside::CRunReadAside(std::unique_ptr<CRun> madeRun, int fileVersion)
    : run(madeRun.get()), made(std::move(madeRun)), sink(fileVersion) {}

CRunReadAside::~CRunReadAside() = default;

CRunReadPipeline::CRunReadPipeline(std::size_t maxQueuedBytes, CRead read, std::size_t batchBytes)
    : m_maxQueued(maxQueuedBytes), m_read(std::move(read)), m_batchBytes(batchBytes) {
  const std::size_t count = WorkerCount();
  m_workers.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    try {
      m_workers.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      break;  // fewer threads: the feeding thread reads more itself
    }
  }
}

CRunReadPipeline::~CRunReadPipeline() {
  {
    const std::lock_guard lock(m_mutex);
    m_stopping = true;
    m_changes.fetch_add(1, std::memory_order_release);
  }
  m_workGiven.notify_all();
  m_workers.clear();  // joins
}

void CRunReadPipeline::Work() {
  std::unique_lock lock(m_mutex);
  auto until = std::chrono::steady_clock::now() + kLookOn;
  while (!m_stopping) {
    if (ReadNext(lock)) {
      until = std::chrono::steady_clock::now() + kLookOn;
      continue;
    }
    // Another worker may take the run given: look on again, for the rest of the while.
    if (LookOnForRun(lock, until)) continue;
    ++m_idleWorkers;
    m_workGiven.wait(lock, [this] { return m_stopping || RunWaiting(); });
    --m_idleWorkers;
    until = std::chrono::steady_clock::now() + kLookOn;
  }
}

bool CRunReadPipeline::LookOnForRun(std::unique_lock<std::mutex>& lock,
                                    std::chrono::steady_clock::time_point until) {
  const std::size_t seen = m_changes.load(std::memory_order_relaxed);
  ++m_lookingOn;
  lock.unlock();
  bool changed = false;
  // A busy machine gets the processor back at each look.
  while (!(changed = m_changes.load(std::memory_order_acquire) != seen) &&
         std::chrono::steady_clock::now() < until)
    std::this_thread::yield();
  lock.lock();
  --m_lookingOn;
  return changed;
}

bool CRunReadPipeline::ReadNext(std::unique_lock<std::mutex>& lock) {
  if (!RunWaiting()) return false;
  // Taken under the lock: the feeding thread may add to the runs meanwhile.
  std::vector<CRunReadAside*> batch;
  batch.reserve(m_batchEnds[m_nextBatch] - m_next);
  for (; m_next < m_batchEnds[m_nextBatch]; ++m_next) {
    CRunReadAside& run = *m_runs[m_next];
    run.state = CRunReadAside::EState::kReading;
    m_queued -= run.bytes.size();  // the reading takes them over
    batch.push_back(&run);
  }
  ++m_nextBatch;
  ++m_reading;
  lock.unlock();
  const std::size_t read = ReadBatch(batch);
  lock.lock();
  --m_reading;
  for (std::size_t i = 0; i < batch.size(); ++i) {
    using EState = CRunReadAside::EState;
    batch[i]->state = i < read ? EState::kRead : i == read ? EState::kFailed : EState::kQueued;
  }
  if (read < batch.size()) m_failed.store(true, std::memory_order_release);
  if (m_feederWaits) m_runRead.notify_one();
  return true;
}

std::size_t CRunReadPipeline::ReadBatch(const std::vector<CRunReadAside*>& batch) {
  for (std::size_t i = 0; i < batch.size(); ++i) {
    const bool read = m_read(*batch[i]);
    std::vector<std::uint8_t>().swap(batch[i]->bytes);  // whatever the reading left of them
    if (!read) return i;
  }
  return batch.size();
}

void CRunReadPipeline::Push(std::unique_ptr<CRunReadAside> run) {
  m_fillingBytes += run->bytes.size();
  m_filling.push_back(std::move(run));
  if (m_fillingBytes >= m_batchBytes) HandOver();
}

void CRunReadPipeline::HandOver() {
  if (m_filling.empty()) return;
  std::unique_lock lock(m_mutex);
  m_queued += m_fillingBytes;
  m_peakQueued = std::max(m_peakQueued, m_queued);
  for (std::unique_ptr<CRunReadAside>& run : m_filling) m_runs.push_back(std::move(run));
  m_filling.clear();
  m_fillingBytes = 0;
  m_batchEnds.push_back(m_runs.size());
  m_changes.fetch_add(1, std::memory_order_release);
  if (m_idleWorkers > 0 && m_batchEnds.size() - m_nextBatch > m_lookingOn) m_workGiven.notify_one();
  // Beyond the bound there is always a batch waiting: the feeding thread reads it itself
  // rather than wait for a worker that may not get the processor.
  while (m_queued > m_maxQueued && ReadNext(lock)) {}
}

void CRunReadPipeline::WaitUntilIdle() {
  HandOver();
  std::unique_lock lock(m_mutex);
  while (ReadNext(lock)) {}
  while (m_reading != 0) {
    m_feederWaits = true;
    m_runRead.wait(lock);
    m_feederWaits = false;
  }
}

bool CRunReadPipeline::Failed() const { return m_failed.load(std::memory_order_acquire); }

std::size_t CRunReadPipeline::FirstUnread() const {
  const std::lock_guard lock(m_mutex);
  std::size_t first = 0;
  while (first < m_runs.size() && m_runs[first]->state == CRunReadAside::EState::kRead) ++first;
  return first;
}
