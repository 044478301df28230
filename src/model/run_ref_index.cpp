#include "model/run_ref_index.h"

#include "model/dev.h"

void CRunRefIndex::Insert(CDev& element, int list) {
  Erase(element);
  element.m_listed = list + 1;
  element.m_listStamp = m_nextStamp++;
  element.m_indexKey = std::string(TrimBlanks(element.GetReference()));
  m_lists[static_cast<std::size_t>(list)][element.m_indexKey].emplace(element.m_listStamp,
                                                                      &element);
  if (list == kDeviceList && element.GetKind() == CDev::kTapOff) m_tapOffUnits.insert(&element);
}

void CRunRefIndex::Erase(CDev& element) {
  if (element.m_listed == 0) return;
  m_tapOffUnits.erase(&element);
  Unfile(element);
  element.m_listed = 0;
}

void CRunRefIndex::Rekey(CDev& element) {
  if (element.m_listed == 0) return;
  Unfile(element);
  element.m_indexKey = std::string(TrimBlanks(element.GetReference()));
  m_lists[static_cast<std::size_t>(element.m_listed - 1)][element.m_indexKey].emplace(
      element.m_listStamp, &element);
}

void CRunRefIndex::Clear(int list) {
  m_lists[static_cast<std::size_t>(list)].clear();
  if (list == kDeviceList) m_tapOffUnits.clear();
}

void CRunRefIndex::Unfile(CDev& element) {
  auto& index = m_lists[static_cast<std::size_t>(element.m_listed - 1)];
  const auto it = index.find(element.m_indexKey);
  if (it == index.end()) return;
  it->second.erase(element.m_listStamp);
  if (it->second.empty()) index.erase(it);
}

const CRunRefIndex::CIndexedDevices* CRunRefIndex::Find(std::string_view reference,
                                                        int list) const {
  const auto& index = m_lists[static_cast<std::size_t>(list)];
  const auto it = index.find(std::string(TrimBlanks(reference)));
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
