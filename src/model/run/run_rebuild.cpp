#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/element/device_removal_batch.h"
#include "model/element/element_selection.h"
#include "model/builder/part_builder.h"
#include "model/props/prop_window_notifier.h"
#include "model/bom/ref_quantity_batch.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_range_rules.h"
#include "model/document/work_notifier.h"

#include <algorithm>
#include <deque>
#include <map>
#include <unordered_set>

namespace {

constexpr int kMsgPreparingParts = 31503;
constexpr int kMsgPartsBuilt = 31505;
constexpr int kMsgRebuildingBOM = 31511;
constexpr int kMsgBOMRebuilt = 31514;

// A dialog that keeps answering with a length correction cannot hold the program in a
// loop of rebuilds.
constexpr int kMaxCorrections = 32;

constexpr std::uint32_t kOptionBits = 0xF000u;
constexpr std::uint32_t kElbowBits = 0x00FF0000u;

void ClearFields(CDev& element, std::initializer_list<const char*> names) {
  for (const char* name : names) element.SetPropValue(name, "");
}

void SetPlacementFaceMaskFrom(CRunDocument* document, const CDev* start) {
  if (document != nullptr && start != nullptr)
    document->SetPlacementFaceMask(start->GetFreeFaceMask());
}

}  // namespace

bool CRun::HasPartBuilder() {
  if (!m_hasPartBuilder) m_hasPartBuilder = CreatePartBuilder() != nullptr;
  return *m_hasPartBuilder;
}

void CRun::SetPartBuilder(std::unique_ptr<CPartBuilder> builder) {
  m_partBuilder = std::move(builder);
}

int CRun::RebuildParts(int level) {
  if (m_catalog.empty()) {
    m_partBuilder.reset();
    return 0;
  }
  if (level < 0) {
    // On before the bill of materials is rebuilt, so that the cursor stays until the
    // build ends.
    if (!m_rebuildWait) m_rebuildWait = std::make_unique<CWaitCursorGuard>();
    if (!m_rebuildHold) m_rebuildHold = std::make_unique<CSceneHold>(m_document, *this);
    // Nobody sees the scene before the build redraws it.
    m_preparing = true;
    RebuildBOM(false);
    m_preparing = false;
    NotifyPropDialog(kPropMsgClear);
    DropSelection(Selection());
    ShowWorkStatus(kMsgPreparingParts);
    return 0;
  }
  // The preparation's wait cursor ends with this call, however it ends.
  std::unique_ptr<CWaitCursorGuard> wait = std::move(m_rebuildWait);
  if (!wait) wait = std::make_unique<CWaitCursorGuard>();
  {
    // The scene is drawn once, when the build is over.
    std::unique_ptr<CSceneHold> hold = std::move(m_rebuildHold);
    if (!hold) hold = std::make_unique<CSceneHold>(m_document, *this);
    BuildRounds(level);
  }
  if (m_document != nullptr) m_document->UpdateAllViews();
  m_partBuilder.reset();
  if (m_document != nullptr) m_document->SetModified();
  return 1;
}

void CRun::BuildRounds(int level) {
  for (int round = 0;; ++round) {
    RebuildOnce(level);
    if (level == 0 || !m_partBuilder || round >= kMaxCorrections) break;
    if (m_partBuilder->ShowCheckMessages() != 2) break;
    // The corrected lengths are booked anew from the generic form, by a fresh builder.
    m_preparing = true;
    RebuildBOM(false);
    m_preparing = false;
    m_partBuilder = CreatePartBuilder();
  }
}

void CRun::RebuildOnce(int level) {
  m_bom->NumberLines(-1);
  m_unbuilt.clear();
  if (m_partBuilder) {
    m_partBuilder->CollectSegments();
    m_partBuilder->FinishParts(level);
    const auto& failed = m_partBuilder->GetErrorElements();
    for (const CDev* device : m_devices)
      if (failed.contains(device)) m_unbuilt.push_back(device);
  }
  // The references just chosen decide the range's further drawing of an element (the
  // outlets of a tee), made again as a reading makes it: boxes made from the generic
  // texts of the preparation would stay until the run is read again.
  for (CDev* device : m_devices) {
    if (device->HasMainBox()) device->BuildFurtherBoxes(CDev::kStoredBoxCount);
  }
  UpdatePJPRecords(1);
  ComputeSupports();
  m_bom->NumberLines(-1);
  Validate();
  ShowWorkStatus(kMsgPartsBuilt);
  m_partsState = m_partBuilder && m_partBuilder->HasErrors() ? 1 : 2;
  UpdateElementColors(0);
  if (m_document != nullptr) m_document->RebuildScene();
  ComputeWeights();
  if (m_document != nullptr) m_document->RecomputeRunTotals(*this);
  SetPlacementFaceMaskFrom(m_document, GetFirstElement());
  if (m_document != nullptr) m_document->UpdateAllViews();
}

int CRun::RebuildBOM(bool recomputeTotals) {
  for (int i = 0; i < 4; ++i) m_totals[static_cast<std::size_t>(i)] = 0.0;
  if (m_devices.size() < 2) return 1;
  DropSelection(Selection());
  CWaitCursorGuard wait;
  m_bom->NumberLines(-1);
  ShowWorkStatus(kMsgRebuildingBOM);
  UpdatePJPRecords(0);
  NormalizeDevices();
  ResetDeviceStyles();
  RebookGenericReferences();
  GetRangeRules().FinishBOMRebuild(*this);
  ShowWorkStatus(kMsgBOMRebuilt);
  m_partsState = 0;
  UpdateElementColors(1);
  // One scene for the new colours; nothing is drawn in between.
  if (m_document != nullptr && !m_preparing) m_document->RebuildScene();
  if (m_document != nullptr && recomputeTotals) m_document->RecomputeRunTotals(*this);
  SetPlacementFaceMaskFrom(m_document, GetFirstElement());
  m_bom->NumberLines(-1);
  m_bom->NumberLines(1);
  if (m_document != nullptr) {
    m_document->UpdateAllViews();
    m_document->SetModified();
  }
  return 1;
}

void CRun::NormalizeDevices() {
  // A copy: joints and accessory records leave the list on the way.
  const std::vector<CDev*> devices = m_devices;
  CDeviceRemovalBatch removals(*this);
  // The accessory records (supports above all, often hundreds of one reference) leave
  // the bill one reference at a time, not one record at a time.
  std::map<std::string, std::int64_t> accessories;
  for (CDev* device : devices) {
    if (!OwnsElement(device)) continue;
    const int active = device->GetActive();
    if (active < 0) device->SetActive(0);
    if (active > 1) {
      device->SetActive(1);
      // Both words: the style is taken back from the second one below.
      if (device->GetKind() == CDev::kInLine) device->SetVariantBoth(1);
    }
    if (device->GetKind() == CDev::kStraight && device->GetVariant() == 123)
      device->SetKind(CDev::kJoint);
    if (!device->IsActive()) continue;
    if (device->GetKind() == CDev::kJoint) {
      // The builder makes its joints again; the lengths beyond go back to the front.
      if (m_current == device) m_current = device->GetBackNeighbour();
      if (device->RemoveFromRun(CElementSelection::kWholeElement, nullptr) != 0)
        DeleteElement(device);
    } else if (device->GetKind() == CDev::kAccessory) {
      RemoveDevice(device);
      ++accessories[device->GetReference()];
      DeleteElement(device);
    }
  }
  for (const auto& [reference, count] : accessories) m_bom->RemoveRefQuantity(reference, count);
}

void CRun::ResetDeviceStyles() {
  for (CDev* device : m_devices) {
    const int kind = device->GetKind();
    if (device->IsActive()) {
      device->RemoveHBv2Props();
      if (kind != CDev::kTapOff) {
        device->SetStyle(device->GetStyle2());
        if (kind == CDev::kElbow) {
          device->SetPropValue("EF20nbc", "");
          device->SetStyle(device->GetStyle() & ~kElbowBits);
          device->SetStyle2(device->GetStyle2() & ~kElbowBits);
        }
        if (kind == CDev::kEnd) device->SetPropValue("NEEDREF", "");
        device->SetEdited();
        if (device->GetBooked() == 0) {
          device->SetBooked(1);
          m_bom->AddHeldQuantity(device->GetReference(), 1);
        }
        ClearFields(*device, {"POS1", "POS2", "SURMESURE"});
      }
    } else if (kind == CDev::kJoint) {
      device->SetStyle(device->GetStyle2());
    }
    if (kind == CDev::kEnd || kind == CDev::kJoint) device->SetPropValue("SUPP", "");
  }
  SetPropValue("SUPP", "");
}

void CRun::RebookGenericReferences() {
  // A line emptied on the way (the blank one of joints above all) is emptied again at
  // every element: its records are brought to its quantity once, at the end.
  const CRefQuantityBatch batch(*this);
  while (!m_lengths.empty()) {
    CDev* record = m_lengths.back();
    m_bom->RemoveRefQuantity(record->GetReference(), 1);
    DeleteElement(record);
  }
  CDev* start = GetFirstElement();
  if (start == nullptr) return;
  // Breadth over branches, depth along each: every element once, whatever its links.
  std::deque<CDev*> pending{start};
  std::unordered_set<const CDev*> seen{start};
  while (!pending.empty()) {
    CDev* element = pending.front();
    pending.pop_front();
    while (element != nullptr) {
      AddLengthToBOM(element->GetCalibre(), element->GetBookedLength(), element->GetVariantIndex());
      m_bom->RemoveRefQuantity(element->GetReference(), 1);
      const int kind = element->GetKind();
      if (kind != CDev::kStraight && kind != CDev::kBend) {
        element->SetReference(GetKindText(kind, element->GetVariant()));
        if (kind != CDev::kJoint) m_bom->AddHeldQuantity(element->GetReference(), 1);
      }
      CDev* next = nullptr;
      for (int face : element->ForwardFaces()) {
        CDev* neighbour = element->GetNeighbour(face);
        if (!IsChainKind(neighbour->GetKind()) || !seen.insert(neighbour).second) continue;
        if (next == nullptr) next = neighbour;
        else pending.push_back(neighbour);
      }
      element = next;
    }
  }
}

void CRun::UpdateElementColors(int flag) {
  const CDev::CIndexColors colors = CDev::CurrentIndexColors();
  for (CDev* device : m_devices) {
    const int kind = device->GetKind();
    if ((device->IsActive() && kind != CDev::kAccessory) || kind == CDev::kJoint)
      device->UpdateBoxColors(flag != 0, colors);
  }
}

std::vector<const CDev*> CRun::GetUnbuiltElements() const {
  std::vector<const CDev*> unbuilt;
  // An end of a failed segment that has a piece of its own is in the bill all the same.
  for (const CDev* device : m_devices)
    if (std::find(m_unbuilt.begin(), m_unbuilt.end(), device) != m_unbuilt.end() &&
        m_bom->FindLine(device->GetReference()) < 1)
      unbuilt.push_back(device);
  return unbuilt;
}
