#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/element/element_iterator.h"
#include "model/bom/ref_quantity_batch.h"
#include "model/run/run.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace {

constexpr int kDeviceList = CRunRefIndex::kDeviceList;
constexpr int kLengthList = CRunRefIndex::kLengthList;

std::uint32_t SaturatedQuantity(std::int64_t value) {
  return static_cast<std::uint32_t>(
      std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace

CDev* CRun::FindManualRecord(std::string_view trimmed) const {
  const auto* devices = m_refIndex.Find(trimmed, kDeviceList);
  if (devices == nullptr) return nullptr;
  CDev* last = nullptr;
  for (const auto& [stamp, device] : *devices) {
    if (device->IsManualRecord()) last = device;
  }
  return last;
}

void CRun::RemoveManualQuantity(std::string_view reference, std::int64_t count) {
  if (count < 1) return;
  CDev* record = FindManualRecord(TrimBlanks(reference));
  if (record == nullptr) return;
  const std::int64_t quantity = record->GetStyle2();
  if (quantity > count) {
    record->SetStyle2(SaturatedQuantity(quantity - count));
    return;
  }
  DeleteElement(record);
}

void CRun::AddManualQuantity(std::string_view reference, std::int64_t count) {
  if (count < 1) return;
  const std::string_view trimmed = TrimBlanks(reference);
  if (CDev* record = FindManualRecord(trimmed)) {
    record->SetStyle2(SaturatedQuantity(static_cast<std::int64_t>(record->GetStyle2()) + count));
    return;
  }
  CDev* record = NewElement();
  record->SetKind(CDev::kAccessory);
  record->SetReference(std::string(reference));
  record->SetActive(0);
  record->SetStyle2(SaturatedQuantity(count));
  record->SetEdited();
  const CDev* model = m_refIndex.First(reference, kDeviceList);
  if (model == nullptr) {
    // Any record whose trimmed reference matches lends its properties.
    for (int list : {kDeviceList, kLengthList}) {
      const auto* indexed = m_refIndex.Find(trimmed, list);
      if (indexed == nullptr) continue;
      for (const auto& [stamp, device] : *indexed) {
        if (device != record) {
          model = device;
          break;
        }
      }
      if (model != nullptr) break;
    }
  }
  if (model != nullptr && model != record) {
    for (const auto& prop : model->GetPropArray())
      record->SetPropValue(prop->GetName(), prop->GetValue());
  }
  AddDevice(record);
}

void CRun::SetRefQuantity(std::string_view reference, std::int64_t quantity) {
  if (m_refQuantities != nullptr) {
    m_refQuantities->Add(reference);
    return;
  }
  // Counted by the rule that books the records, so that a quantity the records book
  // is one they hold, and a load never makes records.
  std::int64_t held = 0;
  for (int list : {kDeviceList, kLengthList}) {
    if (const auto* records = m_refIndex.Find(reference, list)) {
      for (const auto& [stamp, record] : *records) held += HeldQuantity(*record);
    }
  }
  if (held > quantity) RemoveManualQuantity(reference, held - quantity);
  else if (held < quantity) AddManualQuantity(reference, quantity - held);
}

std::int64_t CRun::CountByRef(std::string_view reference) const {
  std::int64_t count = 0;
  for (int list : {kDeviceList, kLengthList}) {
    const auto* indexed = m_refIndex.Find(reference, list);
    if (indexed == nullptr) continue;
    for (const auto& [stamp, device] : *indexed) {
      if (!device->IsActive() || device->GetReference() != reference) continue;
      if (device->GetKind() == CDev::kTapOff && m_partsState == 0) continue;
      ++count;
    }
  }
  return count;
}

const CDev* CRun::FirstRecordOf(std::string_view reference) const {
  const CDev* device = m_refIndex.First(reference, kDeviceList);
  return device != nullptr ? device : m_refIndex.First(reference, kLengthList);
}

std::optional<std::string> CRun::GetDevicePropByRef(std::string_view reference,
                                                    std::string_view field) const {
  const CDev* device = FirstRecordOf(reference);
  if (device == nullptr) return std::nullopt;
  return device->GetFieldText(field);
}

const CDev* CRun::FirstRecordOf(std::string_view reference, CBOMKeptRecord& kept) const {
  // The lists' mark changes with any element filed or unfiled, renamed included, so the
  // kept record is still the first of its own reference; the line's may have changed.
  const std::uint64_t lists = m_refIndex.GetState();
  if (kept.lists == lists && kept.record->GetReference() == reference) return kept.record;
  const CDev* device = FirstRecordOf(reference);
  kept = {device != nullptr ? lists : 0, device};
  return device;
}

void CRun::GetDevicePropsByRef(std::string_view reference, CBOMKeptRecord& kept,
                               std::span<const std::string_view> fields,
                               std::span<std::optional<std::string>> values) const {
  const CDev* device = FirstRecordOf(reference, kept);
  if (device != nullptr) return device->GetFieldTexts(fields, values);
  for (std::optional<std::string>& value : values.first(fields.size())) value.reset();
}

bool CRun::SetDevicePropByRef(std::string_view reference, std::string_view field,
                              std::string_view value) {
  std::vector<CDev*> targets;
  for (int list : {kDeviceList, kLengthList}) {
    const auto* indexed = m_refIndex.Find(reference, list);
    if (indexed == nullptr) continue;
    for (const auto& [stamp, device] : *indexed) {
      if (device->GetReference() == reference) targets.push_back(device);
    }
  }
  // The texts may be views into a record about to change.
  const std::string name(field);
  const std::string text(value);
  bool all = true;
  for (CDev* device : targets) all = device->SetFieldText(name, text) && all;
  return all;
}

const CBitmapDesc* CRun::GetPartRecordFieldByRef(std::string_view reference) const {
  const CDev* device = m_refIndex.First(reference, kDeviceList);
  if (device == nullptr) device = m_refIndex.First(reference, kLengthList);
  return device != nullptr ? device->GetPartRecordField() : nullptr;
}

bool CRun::IsChainStart(const CDev& device) {
  return device.GetKind() == CDev::kEnd && device.IsActive() &&
         device.GetBackNeighbour() == nullptr;
}

CDev* CRun::GetFirstElement() const {
  for (std::size_t i = m_devices.size(); i-- > 0;) {
    if (IsChainStart(*m_devices[i])) return m_devices[i];
  }
  return nullptr;
}

bool CRun::IsChainKind(int kind) { return kind >= CDev::kEnd && kind < CDev::kLengthRecord; }

std::vector<CDev*> CRun::GetChainWalk(const CDev& start) const {
  std::vector<CDev*> order;
  struct Frame {
    CDev* element;
    int face;
  };
  std::vector<Frame> stack{{const_cast<CDev*>(&start), 0}};
  std::unordered_set<const CDev*> seen{&start};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.face >= CDev::kFaceCount) {
      order.push_back(frame.element);
      stack.pop_back();
      continue;
    }
    const int face = frame.face++;
    if (face == frame.element->GetBackFace()) continue;
    CDev* neighbour = frame.element->GetNeighbour(face);
    if (neighbour != nullptr && IsChainKind(neighbour->GetKind()) &&
        seen.insert(neighbour).second) {
      stack.push_back({neighbour, 0});
    }
  }
  return order;
}

std::vector<CDev*> CRun::GetChainOrder(const CDev* start) const {
  if (start == nullptr) start = GetFirstElement();
  if (start == nullptr) return {};
  std::vector<CDev*> order = GetChainWalk(*start);
  for (CDev* device : m_devices) {
    if (device->GetKind() == CDev::kAccessory || device->GetKind() == CDev::kTapOff)
      order.push_back(device);
  }
  return order;
}

void CRun::RebuildLengthRecords(int allowedVariantMask) {
  const std::string fallback = GetPropText("DroitParDefaut");
  if (fallback.empty()) return;
  const int fallbackIndex = TextToInt(fallback);
  while (!m_lengths.empty()) {
    CDev* record = m_lengths.back();
    m_bom->RemoveRefQuantity(record->GetReference(), 1);
    DeleteElement(record);
  }
  CElementIterator walk = IterateElements(false);
  std::unordered_set<const CDev*> booked;
  for (CDev* element = walk.Next(); element != nullptr; element = walk.Next()) {
    // A branch node comes back once per further branch; its length counts once.
    if (!booked.insert(element).second) continue;
    element->SetCalibre(std::string());
    if ((allowedVariantMask & (1 << element->GetVariantIndex())) == 0) {
      element->SetVariantIndexBoth(fallbackIndex);
    }
    AddLengthToBOM(element->GetCalibre(), element->GetBookedLength(), element->GetVariantIndex());
  }
}
