#include "model/undo/undo_design_ahead.h"

#include "app/app_settings_lock.h"
#include "model/document/dorne_doc.h"
#include "model/run/range_rules.h"

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
    m_freeingHeld = true;
    CallOffLocked();
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
  // Freed here, on the window thread, whatever the worker had no time to free.
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
        return false;  // the design, still empty, goes here
      }
    }
    m_waiting = CJob{step, std::move(bytes), std::move(design)};
    m_freeingHeld = true;
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
  {
    const std::lock_guard lock(m_mutex);
    CallOffLocked();
  }
  m_changed.notify_all();  // the worker frees what was let go
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

void CUndoDesignAhead::FreeCastOffs(std::unique_lock<std::mutex>& lock) {
  std::unique_ptr<CDorneDoc> design = std::move(m_castOffs.back());
  m_castOffs.pop_back();
  lock.unlock();
  // A run at a time: a step handed over meanwhile waits for one run's freeing at most.
  const bool whole = design->FreeRunsUnless([this] { return m_freeingHeld.load(); });
  if (whole) design.reset();
  lock.lock();
  if (whole) ++m_counts.freed;
  else m_castOffs.push_back(std::move(design));  // taken up again once the step is read
}

CUndoDesignAhead::CCounts CUndoDesignAhead::Counts() const {
  const std::lock_guard lock(m_mutex);
  return m_counts;
}

void CUndoDesignAhead::Work() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [&] { return m_quitting || m_waiting || !m_castOffs.empty(); });
    if (m_quitting) return;
    // A step waiting goes first: an undo may come at once and wait for it, while freeing
    // can wait for a moment nobody waits.
    if (!m_waiting) {
      FreeCastOffs(lock);
      continue;
    }
    CJob job = std::move(*m_waiting);
    m_waiting.reset();
    m_freeingHeld = false;
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
    // Its runs read on several threads, as a file's are, while the bytes are passed a
    // stretch at a time (a run or so each): a step called off stops at the next stretch.
    job.design->ReadFromBytes(*job.bytes, [this] {
      if (m_stop) throw CCalledOff();
    });
    if (m_stop) return false;
    job.design->RebuildScene();
  } catch (const std::exception&) {
    return false;  // a set it may not fill, damaged bytes, or called off
  }
  return !m_stop;
}
