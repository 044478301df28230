#include "model/undo/snapshot_writer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

CSnapshotWriter::CSnapshotWriter(std::size_t mostPending)
    : m_mostPending(std::max<std::size_t>(mostPending, 1)) {}

CSnapshotWriter::~CSnapshotWriter() { Stop(); }

void CSnapshotWriter::Stop() {
  {
    const std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

bool CSnapshotWriter::Start(const std::string& path, std::vector<std::uint8_t> bytes) {
  return Start(path, std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes)));
}

bool CSnapshotWriter::Start(const std::string& path,
                            std::shared_ptr<const std::vector<std::uint8_t>> bytes) {
  WaitFor(path);  // a slot's file is only given again once the old one is done with
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
  }
  bool queued = false;
  {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_jobs.size() < m_mostPending; });
    if (!m_thread.joinable()) {
      try {
        m_thread = std::thread([this] { Work(); });
      } catch (const std::system_error&) {}
    }
    queued = m_thread.joinable();
    if (queued) m_jobs.push_back({path, std::move(bytes)});
  }
  if (!queued) {  // no thread to be had: written here and now
    const bool whole = WriteFile(path, *bytes);
    std::error_code error;
    if (!whole) std::filesystem::remove(path, error);
    return whole;
  }
  m_changed.notify_all();
  return true;
}

bool CSnapshotWriter::Pending(const std::string& path) const {
  for (const CJob& job : m_jobs) {
    if (job.path == path) return true;
  }
  return false;
}

void CSnapshotWriter::WaitFor(const std::string& path) {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [&] { return !Pending(path); });
}

void CSnapshotWriter::Work() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    // Stopping still finishes every file given: none is left cut.
    m_changed.wait(lock, [&] { return m_stopping || !m_jobs.empty(); });
    if (m_jobs.empty()) return;
    CJob& job = m_jobs.front();
    lock.unlock();
    const bool whole = WriteFile(job.path, *job.bytes);
    if (!whole) {
      std::error_code error;
      std::filesystem::remove(job.path, error);  // a cut snapshot would restore a damaged design
    }
    // Let go without the lock: the last holder of the bytes may free them, which takes time.
    // Nobody else touches the bytes of the job being written.
    job.bytes.reset();
    lock.lock();
    m_jobs.pop_front();
    m_changed.notify_all();
  }
}

bool CSnapshotWriter::WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  return static_cast<bool>(file);
}
