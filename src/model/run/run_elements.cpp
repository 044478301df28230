#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/element/device_removal_batch.h"

#include <algorithm>
#include <unordered_set>

CDev* CRun::NewElement() { return AdoptElement(std::make_unique<CDev>(this)); }

CDev* CRun::AdoptElement(std::unique_ptr<CDev> element) {
  if (!element) return nullptr;
  CDev* raw = element.get();
  raw->SetRun(this);
  raw->m_listed = 0;
  // Room in the table for every element owned, kept from here: filing the elements that
  // wait then takes no memory, so a run whose reading failed for want of it still goes
  // (its destruction files them).
  m_ownedPlaces.Reserve(m_owned.size() + 1);
  m_owned.push_back(std::move(element));
  if (!m_fileOwnedLater) FileOwned();
  return raw;
}

void CRun::FileOwned() const {
  const std::size_t count = m_owned.size();
  if (m_ownedFiled == count) return;
  // Slots a few elements ahead are fetched while the current one is filed.
  constexpr std::size_t kAhead = 8;
  for (std::size_t i = m_ownedFiled; i < count; ++i) {
    if (i + kAhead < count) __builtin_prefetch(m_ownedPlaces.HomeSlot(m_owned[i + kAhead].get()));
    m_ownedPlaces[m_owned[i].get()] = static_cast<std::uint32_t>(i);
  }
  m_ownedFiled = count;
}

const std::uint32_t* CRun::FindOwnedPlace(const CDev* element) const {
  if (element == nullptr) return nullptr;
  FileOwned();
  return m_ownedPlaces.Find(element);
}

// Callers ask about elements that may be gone already (a walk over a copy of a list whose
// steps delete units), so the address is looked up and never followed.
bool CRun::OwnsElement(const CDev* element) const { return FindOwnedPlace(element) != nullptr; }

std::unique_ptr<CDev> CRun::Disown(const CDev* element) {
  const std::uint32_t* place = FindOwnedPlace(element);
  if (place == nullptr) return nullptr;
  const std::uint32_t at = *place;
  m_ownedPlaces.Erase(element);
  std::unique_ptr<CDev> owned = std::move(m_owned[at]);
  if (at + 1 != m_owned.size()) {
    m_owned[at] = std::move(m_owned.back());
    m_ownedPlaces[m_owned[at].get()] = at;
  }
  m_owned.pop_back();
  m_ownedFiled = m_owned.size();
  return owned;
}

namespace {

void EraseFrom(std::vector<CDev*>& list, CDev* element) {
  const auto it = std::find(list.rbegin(), list.rend(), element);
  if (it != list.rend()) list.erase(std::next(it).base());
}

}  // namespace

std::unique_ptr<CDev> CRun::ReleaseElement(CDev* element) {
  if (!OwnsElement(element)) return nullptr;
  if (element->m_listed == 1 && m_deviceRemovals != nullptr) m_deviceRemovals->Leave(*element);
  else if (element->m_listed == 1) EraseFrom(m_devices, element);
  if (element->m_listed == 2) EraseFrom(m_lengths, element);
  m_refIndex.Erase(*element);
  MarkBillStale();
  return Disown(element);
}

void CRun::DeleteElement(CDev* element) { DeleteElement(element, true); }

void CRun::DeleteElement(CDev* element, bool detachUnits) {
  if (!OwnsElement(element)) return;
  if (element->GetKind() >= CDev::kEnd && element->GetKind() <= CDev::kJunction5) {
    std::vector<CDev*> units;
    for (CDev* device : m_refIndex.TapOffUnits()) {
      if (device->GetKind() == CDev::kTapOff && device->GetAttached() == element)
        units.push_back(device);
    }
    // In list order, as the units were deleted before.
    std::sort(units.begin(), units.end(),
              [](const CDev* a, const CDev* b) { return a->m_listStamp < b->m_listStamp; });
    for (CDev* unit : units) DeleteElement(unit);
  }
  if (detachUnits) {
    for (CDev* device : m_refIndex.TapOffUnits()) {
      if (device->GetAttached() == element) device->SetAttached(nullptr);
    }
  }
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    CDev* neighbour = element->GetNeighbour(face);
    if (neighbour == nullptr) continue;
    for (int other = 0; other < CDev::kFaceCount; ++other) {
      if (neighbour->GetNeighbour(other) == element) neighbour->SetNeighbour(other, nullptr);
    }
  }
  if (m_current == element) m_current = nullptr;
  if (m_startMarker == element) m_startMarker = nullptr;
  // A remembered joint option counted from the element has nowhere to go back to.
  std::erase_if(m_pjpRecords, [&](const CPJPRecord& record) { return record.element == element; });
  std::unique_ptr<CDev> owned = ReleaseElement(element);
  if (m_deviceRemovals != nullptr) m_deviceRemovals->Bury(std::move(owned));
}

int CRun::DeleteTapOffUnits(std::string_view text) {
  std::vector<CDev*> units;
  for (std::size_t i = m_devices.size(); i-- > 0;) {
    CDev* device = m_devices[i];
    if (device->GetKind() != CDev::kTapOff) continue;
    if (!text.empty() && device->GetReference().find(text) == std::string::npos) continue;
    units.push_back(device);
  }
  // Whatever hangs on a unit about to go is let go in one pass, not one pass per unit,
  // so that a run of many units is cleared in linear time.
  const std::unordered_set<const CDev*> going(units.begin(), units.end());
  for (CDev* device : m_devices) {
    if (going.count(device->GetAttached()) != 0) device->SetAttached(nullptr);
  }
  // The list is closed up once, not once per unit: units listed among the other elements
  // made each deletion move the rest of the list.
  CDeviceRemovalBatch removals(*this);
  for (CDev* unit : units) DeleteElement(unit, false);
  return static_cast<int>(units.size());
}
