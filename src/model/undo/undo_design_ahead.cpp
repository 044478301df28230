#include "model/undo/undo_design_ahead.h"

#include "app/app_settings_lock.h"
#include "model/document/doc_file_bytes.h"
#include "model/document/dorne_doc.h"
#include "model/run/range_rules.h"
#include "platform/archive.h"

#include <algorithm>
#include <exception>
#include <shared_mutex>
#include <system_error>

namespace {

struct CCalledOff : std::exception {};

}  // namespace

CUndoDesignAhead::~CUndoDesignAhead() {
  {
    const std::lock_guard lock(m_mutex);
    m_quitting = true;
    CallOffLocked();
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
  // Freed here, on the window thread, whatever the worker left.
  m_castOffs.clear();
}

bool CUndoDesignAhead::Start(std::uint64_t step,
                             std::shared_ptr<const std::vector<std::uint8_t>> bytes,
                             std::unique_ptr<CDorneDoc> design) {
  if (step == 0 || !bytes || !design) return false;
  {
    const std::lock_guard lock(m_mutex);
    CallOffLocked();
    if (!m_thread.joinable()) {
      try {
        m_thread = std::thread([this] { Work(); });
      } catch (const std::system_error&) {
        CastOff(std::move(design));
        return false;
      }
    }
    m_waiting = CJob{step, std::move(bytes), std::move(design)};
    ++m_counts.given;
  }
  m_changed.notify_all();
  return true;
}

bool CUndoDesignAhead::IsWorking(std::uint64_t step) const {
  const std::lock_guard lock(m_mutex);
  return step != 0 && (m_workingOn == step || (m_waiting && m_waiting->step == step));
}

bool CUndoDesignAhead::IsDone(std::uint64_t step) const {
  const std::lock_guard lock(m_mutex);
  return step != 0 && m_done && m_done->step == step;
}

std::unique_ptr<CDorneDoc> CUndoDesignAhead::Take(std::uint64_t step) {
  std::unique_ptr<CDorneDoc> design;
  {
    std::unique_lock lock(m_mutex);
    // The same reading the undo would do itself, already under way: never longer.
    m_changed.wait(lock,
                   [&] { return m_workingOn != step && !(m_waiting && m_waiting->step == step); });
    if (!m_done || m_done->step != step) return nullptr;
    design = std::move(m_done->design);
    m_done.reset();
  }
  return design;
}

void CUndoDesignAhead::CallOff() {
  const std::lock_guard lock(m_mutex);
  CallOffLocked();
}

void CUndoDesignAhead::CallOffLocked() {
  if (m_waiting) {
    CastOff(std::move(m_waiting->design));
    m_waiting.reset();
    ++m_counts.calledOff;
  }
  if (m_done) {
    CastOff(std::move(m_done->design));
    m_done.reset();
  }
  if (m_workingOn != 0) m_stop = true;
}

void CUndoDesignAhead::CastOff(std::unique_ptr<CDorneDoc> design) {
  if (design) m_castOffs.push_back(std::move(design));
}

std::vector<std::unique_ptr<CDorneDoc>> CUndoDesignAhead::TakeCastOffs() {
  const std::lock_guard lock(m_mutex);
  return std::exchange(m_castOffs, {});
}

CUndoDesignAhead::CCounts CUndoDesignAhead::Counts() const {
  const std::lock_guard lock(m_mutex);
  return m_counts;
}

void CUndoDesignAhead::Work() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [&] { return m_quitting || m_waiting; });
    if (m_quitting) return;
    CJob job = std::move(*m_waiting);
    m_waiting.reset();
    m_workingOn = job.step;
    m_stop = false;
    lock.unlock();
    const bool read = Read(job);
    // Of no use once read, and as large as the file: the writer holds its own share until
    // the file is written, and a design kept for a later undo should not keep them too.
    job.bytes.reset();
    lock.lock();
    m_workingOn = 0;
    if (m_stop) {
      ++m_counts.calledOff;
      CastOff(std::move(job.design));
    } else {
      ++(read ? m_counts.read : m_counts.unread);
      if (!read) CastOff(std::move(job.design));
      m_done = std::move(job);
    }
    m_changed.notify_all();
  }
}

bool CUndoDesignAhead::Read(CJob& job) const {
  // What the design reads of the process: no range table set is filled here, and the
  // settings stay as they are meanwhile.
  const CRangeTableCache::CFillRefusal refusal;
  const std::shared_lock settings(AppSettingsMutex());
  try {
    // Taken a stretch at a time, as a file is (a run or so each): a step called off stops
    // at the next stretch.
    ReadBytesStream(
        *job.bytes, [&job](CArchiveReader& archive) { job.design->Serialize(archive); },
        [this] {
          if (m_stop) throw CCalledOff();
        });
    if (m_stop) return false;
    job.design->RebuildScene();
  } catch (const std::exception&) {
    return false;  // a set it may not fill, damaged bytes, or called off
  }
  return !m_stop;
}
