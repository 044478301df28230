#include "model/run_read_pipeline.h"

#include <algorithm>
#include <system_error>

namespace {

// The feeding thread is one of the readers too.
std::size_t WorkerCount() {
  const unsigned threads = std::thread::hardware_concurrency();
  return std::clamp<std::size_t>(threads, 2, 8) - 1;
}

}  // namespace

CRunReadPipeline::CRunReadPipeline(std::size_t maxHeldBytes, CRead read)
    : m_maxHeld(maxHeldBytes), m_read(std::move(read)) {
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
  }
  m_workGiven.notify_all();
  m_workers.clear();  // joins
}

void CRunReadPipeline::Work() {
  std::unique_lock lock(m_mutex);
  while (true) {
    ++m_idleWorkers;
    m_workGiven.wait(lock, [this] { return m_stopping || (!m_failed && m_next < m_runs.size()); });
    --m_idleWorkers;
    if (m_stopping) return;
    ReadNext(lock);
  }
}

bool CRunReadPipeline::ReadNext(std::unique_lock<std::mutex>& lock) {
  if (m_failed || m_next >= m_runs.size()) return false;
  CRunReadAside& run = *m_runs[m_next++];
  run.state = CRunReadAside::EState::kReading;
  ++m_reading;
  // The bytes of runs read before are freed here, outside the lock.
  std::vector<std::vector<std::uint8_t>> toFree = std::move(m_toFree);
  lock.unlock();
  toFree.clear();
  const bool read = m_read(run);
  lock.lock();
  --m_reading;
  run.state = read ? CRunReadAside::EState::kRead : CRunReadAside::EState::kFailed;
  if (!read) m_failed = true;
  m_toFree = TakeReadBytes();
  if (m_feederWaits) m_runRead.notify_one();
  return true;
}

std::vector<std::vector<std::uint8_t>> CRunReadPipeline::TakeReadBytes() {
  std::vector<std::vector<std::uint8_t>> taken;
  while (m_released < m_runs.size() && m_runs[m_released]->state == CRunReadAside::EState::kRead) {
    std::vector<std::uint8_t>& bytes = m_runs[m_released]->bytes;
    m_held -= bytes.size();
    taken.push_back(std::move(bytes));
    bytes = {};
    ++m_released;
  }
  return taken;
}

void CRunReadPipeline::Push(std::unique_ptr<CRunReadAside> run) {
  std::unique_lock lock(m_mutex);
  m_held += run->bytes.size();
  m_peakHeld = std::max(m_peakHeld, m_held);
  m_runs.push_back(std::move(run));
  if (m_idleWorkers > 0) m_workGiven.notify_one();
  while (m_held > m_maxHeld && !m_failed) {
    if (!ReadNext(lock)) WaitForARun(lock);
  }
}

void CRunReadPipeline::WaitUntilIdle() {
  std::unique_lock lock(m_mutex);
  while (ReadNext(lock)) {}
  while (m_reading != 0) WaitForARun(lock);
}

void CRunReadPipeline::WaitForARun(std::unique_lock<std::mutex>& lock) {
  m_feederWaits = true;
  m_runRead.wait(lock);
  m_feederWaits = false;
}

bool CRunReadPipeline::Failed() const {
  const std::lock_guard lock(m_mutex);
  return m_failed;
}

std::size_t CRunReadPipeline::FirstUnread() const {
  const std::lock_guard lock(m_mutex);
  std::size_t first = m_released;
  while (first < m_runs.size() && m_runs[first]->state == CRunReadAside::EState::kRead) ++first;
  return first;
}
