#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// The byte buffers of the undo history's snapshots, kept for the next snapshot once every
// holder has let one go. A snapshot is as large as the document's file, and memory given
// back to the system and faulted in again costs far more than the writing of the bytes:
// each edit writes into the room an earlier one left instead.
// Any thread may let a shared buffer go; the object may go before the buffers it shared.
class CSnapshotBuffers {
 public:
  using CBytes = std::vector<std::uint8_t>;
  using CShared = std::shared_ptr<const CBytes>;

  // mostKept: how many buffers wait at most; a buffer let go beyond them is freed.
  explicit CSnapshotBuffers(std::size_t mostKept = 1);

  // An empty buffer, with the room of one let go when one waits.
  CBytes Take();
  // The bytes, to be shared; their buffer comes back to wait here once the last holder
  // lets it go, or is freed when enough wait already or this object is gone.
  CShared Share(CBytes bytes);
  // How many buffers wait to be taken.
  std::size_t Kept() const;

 private:
  struct CStore {
    std::mutex mutex;
    std::vector<std::unique_ptr<CBytes>> kept;
    std::size_t mostKept = 0;
  };
  static void GiveBack(const std::weak_ptr<CStore>& store, const CBytes* bytes);

  std::shared_ptr<CStore> m_store = std::make_shared<CStore>();
};
