#include "model/run/run_ref_index.h"

#include "model/element/dev.h"

#include <algorithm>
#include <atomic>

namespace {

constexpr std::size_t kFirstRoom = 8;
// Shared by every index, so that no two indexes' states meet: 0 is never taken.
std::atomic<std::uint64_t> g_nextState{1};

}  // namespace

void CRunRefIndex::Insert(CDev& element, int list) {
  Erase(element);
  m_changedSinceState = true;
  element.m_listed = list + 1;
  element.m_listStamp = m_nextStamp++;
  File(element);
  if (list == kDeviceList && element.GetKind() == CDev::kTapOff) m_tapOffUnits.insert(&element);
}

void CRunRefIndex::Erase(CDev& element) {
  if (element.m_listed == 0) return;
  m_changedSinceState = true;
  m_tapOffUnits.erase(&element);
  Unfile(element);
  element.m_listed = 0;
}

void CRunRefIndex::Rekey(CDev& element) {
  if (element.m_listed == 0) return;
  m_changedSinceState = true;
  Unfile(element);
  File(element);
}

void CRunRefIndex::File(CDev& element) {
  auto& index = m_lists[static_cast<std::size_t>(element.m_listed - 1)];
  const std::string_view reference = TrimBlanks(element.GetReference());
  auto entry = index.find(reference);
  if (entry == index.end()) {
    entry = index.try_emplace(std::string(reference)).first;
    // A reference seldom stands alone in a run: room for a few saves the growing steps,
    // each a new block, that the first elements of it would cost.
    entry->second.Reserve(kFirstRoom);
  }
  element.m_indexKey = &entry->first;  // a node's key stays where it is
  entry->second.Add(element.m_listStamp, element);
}

void CRunRefIndex::Clear(int list) {
  m_changedSinceState = true;
  m_lists[static_cast<std::size_t>(list)].clear();
  if (list == kDeviceList) m_tapOffUnits.clear();
}

void CRunRefIndex::Unfile(CDev& element) {
  auto& index = m_lists[static_cast<std::size_t>(element.m_listed - 1)];
  if (element.m_indexKey == nullptr) return;
  const auto it = index.find(*element.m_indexKey);
  if (it == index.end()) return;
  CIndexedDevices& devices = it->second;
  devices.Remove(element.m_listStamp);
  if (devices.empty()) index.erase(it);
  element.m_indexKey = nullptr;
}

const CRunRefIndex::CIndexedDevices* CRunRefIndex::Find(std::string_view reference,
                                                        int list) const {
  const auto& index = m_lists[static_cast<std::size_t>(list)];
  const auto it = index.find(TrimBlanks(reference));
  return it == index.end() ? nullptr : &it->second;
}

CDev* CRunRefIndex::First(std::string_view reference, int list) const {
  const auto* devices = Find(reference, list);
  if (devices == nullptr) return nullptr;
  // In list order: the first whose whole reference matches, most often the very first.
  for (const auto& [stamp, device] : *devices) {
    if (device->GetReference() == reference) return device;
  }
  return nullptr;
}

std::uint64_t CRunRefIndex::GetState() const {
  if (m_changedSinceState) {
    m_state = g_nextState.fetch_add(1, std::memory_order_relaxed);
    m_changedSinceState = false;
  }
  return m_state;
}
