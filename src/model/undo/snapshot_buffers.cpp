#include "model/undo/snapshot_buffers.h"

#include <utility>

CSnapshotBuffers::CSnapshotBuffers(std::size_t mostKept) { m_store->mostKept = mostKept; }

CSnapshotBuffers::CBytes CSnapshotBuffers::Take() {
  std::unique_ptr<CBytes> buffer;
  {
    const std::lock_guard lock(m_store->mutex);
    if (m_store->kept.empty()) return {};
    buffer = std::move(m_store->kept.back());
    m_store->kept.pop_back();
  }
  return std::move(*buffer);
}

CSnapshotBuffers::CShared CSnapshotBuffers::Share(CBytes bytes) {
  const std::weak_ptr<CStore> store = m_store;
  return CShared(new CBytes(std::move(bytes)),
                 [store](const CBytes* shared) { GiveBack(store, shared); });
}

std::size_t CSnapshotBuffers::Kept() const {
  const std::lock_guard lock(m_store->mutex);
  return m_store->kept.size();
}

void CSnapshotBuffers::GiveBack(const std::weak_ptr<CStore>& store, const CBytes* bytes) {
  // Made by Share as a buffer of its own, shared read-only: nobody holds it any more.
  std::unique_ptr<CBytes> buffer(const_cast<CBytes*>(bytes));
  if (const std::shared_ptr<CStore> alive = store.lock()) {
    buffer->clear();  // the room stays
    const std::lock_guard lock(alive->mutex);
    if (alive->kept.size() < alive->mostKept) alive->kept.push_back(std::move(buffer));
  }
  // Else freed here, outside the lock: the freeing of a large buffer takes its time.
}
