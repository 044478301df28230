#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/props/dimension.h"
#include "model/run/run.h"
#include "model/bom/booking_batch.h"
#include "model/element/device_removal_batch.h"
#include "model/document/run_document.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kDeviceList = CRunRefIndex::kDeviceList;
constexpr int kLengthList = CRunRefIndex::kLengthList;

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void CRun::OnReferenceChanged(CDev& element) {
  if (element.GetRun() != this) return;
  m_refIndex.Rekey(element);
  MarkBillStale();
}

int CRun::FindDeviceIndex(const CDev* element) const {
  // Outward from where the last search ended, nearest first on either side: a rebuild
  // takes its joints out in list order, each a little further on, and placing at the end
  // of a run takes out an element just before the last one found; neither may walk the
  // whole list for each.
  const std::size_t count = m_devices.size();
  const std::size_t from = std::min(m_deviceSearchFrom, count);
  const auto found = [&](std::size_t i) {
    if (m_devices[i] != element) return false;
    m_deviceSearchFrom = i;
    return true;
  };
  for (std::size_t distance = 0; distance <= std::max(from, count - from); ++distance) {
    if (from + distance < count && found(from + distance)) return static_cast<int>(from + distance);
    if (distance > 0 && distance <= from && found(from - distance))
      return static_cast<int>(from - distance);
  }
  return -1;
}

void CRun::AddDevice(CDev* element) {
  if (OwnsElement(element)) ListDevice(*element);
}

void CRun::ListDevice(CDev& owned) {
  CDev* element = &owned;
  if (element->m_listed == 2) {
    const auto it = std::find(m_lengths.begin(), m_lengths.end(), element);
    if (it != m_lengths.end()) m_lengths.erase(it);
    m_refIndex.Erase(*element);
    MarkBillStale();
  }
  if (element->m_listed == 0) {
    m_devices.push_back(element);
    m_refIndex.Insert(*element, kDeviceList);
    MarkBillStale();
  }
  BookDevice(*element);
}

void CRun::BookDevice(CDev& element) {
  // An accessory record is booked with its quantity by whoever made or read it.
  if (element.GetKind() == CDev::kAccessory) return;
  if (HeldQuantity(element) <= 0) return;
  // While a run is read its listed elements book by their index key, which the elements
  // of one reference share: the batch finds their line without hashing each text again.
  if (m_bookings != nullptr) m_bookings->Add(element.GetReference(), 1, element.m_indexKey);
  else BookHeld(element.GetReference(), 1);
}

void CRun::BookHeld(std::string_view reference, std::int64_t quantity) {
  if (m_bookings != nullptr) {
    m_bookings->Add(reference, quantity);
  } else {
    m_bom->AddHeldQuantity(reference, quantity);
  }
}

std::int64_t CRun::HeldQuantity(const CDev& record) const {
  const int kind = record.GetKind();
  if (record.m_listed == kLengthList + 1) return 1;
  if (kind == CDev::kAccessory) return record.GetStyle2() == 0 ? 1 : record.GetStyle2();
  if (record.GetBooked() == 0) return 0;
  if (kind == CDev::kEnd || (kind >= CDev::kElbow && kind <= CDev::kInLineVariant)) return 1;
  return record.IsActive() && !IsKindText(record.GetReference(), kind, record.GetVariant()) ? 1 : 0;
}

void CRun::RemoveDevice(CDev* element) {
  if (element == nullptr || element->m_listed != 1 || element->GetRun() != this) return;
  if (m_deviceRemovals != nullptr) {
    m_deviceRemovals->Leave(*element);
  } else if (const int index = FindDeviceIndex(element); index >= 0) {
    m_devices.erase(m_devices.begin() + index);
  }
  m_refIndex.Erase(*element);
  MarkBillStale();
  const int kind = element->GetKind();
  if (kind != CDev::kStraight && kind >= CDev::kEnd && kind <= CDev::kJoint &&
      element->GetBooked() != 0) {
    m_bom->RemoveRefQuantity(element->GetReference(), 1);
  }
}

int CRun::FindLengthRecord(std::string_view rating, int variantIndex) const {
  for (std::size_t i = m_lengths.size(); i-- > 0;) {
    const CDev* record = m_lengths[i];
    if (record->GetCalibre() == rating && record->GetVariantIndex() == variantIndex)
      return static_cast<int>(i);
  }
  return -1;
}

std::string CRun::GetLengthReference(int variantIndex, double length) const {
  static const CDimension kMetric = CDimension::Metric();
  const CDimension& units = m_document != nullptr ? m_document->GetUnits() : kMetric;
  return GetKindText(CDev::kStraight, variantIndex) + " - " + units.FormatScaled(length);
}

void CRun::AddLengthToBOM(std::string_view rating, std::int64_t length, int variantIndex) {
  const int index = FindLengthRecord(rating, variantIndex);
  if (index >= 0) {
    CDev* record = m_lengths[static_cast<std::size_t>(index)];
    const std::int32_t total = ClampToInt32(record->GetBookedLength() + length);
    const std::string oldReference = record->GetReference();
    record->SetReference(GetLengthReference(variantIndex, total));
    record->SetEdited();
    m_bom->RenameLine(oldReference, record->GetReference());
    if (total == 0) {
      m_bom->RemoveRefQuantity(record->GetReference(), 1);
      DeleteElement(record);
    } else {
      record->SetBookedLength(total);
    }
    return;
  }
  // Nothing to book yet; a record of no length would only add an empty line.
  if (length == 0) return;
  if (GetKindText(CDev::kStraight, variantIndex).find(" #[") != std::string::npos) return;
  CDev* record = NewElement();
  record->SetKind(CDev::kLengthRecord);
  record->SetVariantIndexBoth(variantIndex);
  record->SetEdited();
  record->SetActive(1);
  record->SetCalibre(std::string(rating));
  record->SetBookedLength(ClampToInt32(length));
  record->SetReference(GetLengthReference(variantIndex, record->GetBookedLength()));
  m_lengths.push_back(record);
  m_refIndex.Insert(*record, kLengthList);
  MarkBillStale();
  m_bom->AddHeldQuantity(record->GetReference(), 1);
}

void CRun::RenameLengthRecords() {
  for (CDev* record : m_lengths) {
    const std::string oldReference = record->GetReference();
    record->SetReference(GetLengthReference(record->GetVariantIndex(), record->GetBookedLength()));
    record->SetEdited();
    m_bom->RenameLine(oldReference, record->GetReference());
  }
}

void CRun::ReplaceReference(std::string_view oldReference, std::string_view newReference) {
  const auto* indexed = m_refIndex.Find(oldReference, kDeviceList);
  if (indexed == nullptr) return;
  std::vector<CDev*> devices;
  for (const auto& [stamp, device] : *indexed) {
    if (device->IsActive() && device->GetReference() == oldReference) devices.push_back(device);
  }
  const std::string oldText(oldReference);
  for (CDev* device : devices) {
    device->SetReference(std::string(newReference));
    m_bom->RemoveRefQuantity(oldText, 1);
    m_bom->AddHeldQuantity(newReference, 1);
  }
}
