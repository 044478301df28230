#include "ranges/qg/part_builder_qg.h"

#include "model/bom/bom_grid.h"
#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr int kWalkBound = 65536;

bool IsWallPiece(const CDev* element) {
  return element != nullptr && element->GetKind() == CDev::kInLineVariant &&
         element->GetVariant() == 15;
}

bool IsDoubleElbowFamily(std::string_view family) {
  return family == "ZP" || family == "ZC" || family == "CP";
}

}  // namespace

CPartBuilderQG::CPartBuilderQG(CRunQG& run) : CPartBuilder(run), m_qg(run) {
  AddSplitDefinitions();
  const std::string elbows = run.GetPropText("ELBOWS");
  m_elbowJoin = elbows.empty() || elbows == "ALL" || elbows == "JCT" ? 1 : 0;
  SetPlanningFlag(m_elbowJoin);
}

// Every split row that one of the straight device patterns matches, with the row's
// length letters, is a straight piece of the list the device names.
void CPartBuilderQG::AddSplitDefinitions() {
  const std::vector<CPatternRow>* parts = m_qg.GetPatternTable();
  const std::vector<CCodeRow>* devices = m_qg.GetCodeTable();
  if (parts == nullptr || devices == nullptr) return;
  for (const CPatternRow& row : *parts) {
    const std::string& partRef = row.texts[0];
    for (auto device = devices->rbegin(); device != devices->rend(); ++device) {
      if (TextToInt(device->texts[0]) != 1) continue;
      std::string pattern(kRefWidth, ' ');
      LayRefText(pattern, 0, std::string_view(device->texts[3]).substr(0, kRefWidth));
      SetRefChar(pattern, 8, RefCharAt(partRef, 8));
      SetRefChar(pattern, 9, RefCharAt(partRef, 9));
      if (MatchWildcard(partRef, pattern))
        AddPartDef(partRef, row.texts[1], row.texts[2], device->texts[1]);
    }
  }
}

bool CPartBuilderQG::IsMounted(const CDev& element) const {
  const auto known = m_mounted.find(&element);
  if (known != m_mounted.end()) return known->second;
  // A run starts unmounted; every wall piece behind an element turns its mounting over.
  bool mounted = false;
  std::unordered_set<const CDev*> seen{&element};
  const CDev* behind = element.GetBackNeighbour();
  for (int step = 0; behind != nullptr && step < kWalkBound && seen.insert(behind).second; ++step) {
    if (IsWallPiece(behind)) mounted = !mounted;
    const auto cached = m_mounted.find(behind);
    if (cached != m_mounted.end()) {
      mounted = mounted != cached->second;
      break;
    }
    behind = behind->GetBackNeighbour();
  }
  return mounted;
}

CDev* CPartBuilderQG::PrepareElement(CDev& element) {
  m_mounted[&element] = IsMounted(element);
  // Support codes are written afresh by this build; one left by an earlier build would
  // stand for supports that are no longer there (and go with the pieces cut off).
  element.SetPropValue("SUPP", "");
  if (element.GetKind() != CDev::kInLine || element.GetVariant() != 1) return nullptr;
  CDev* behind = element.GetBackNeighbour();
  if (behind != nullptr && behind->GetKind() == CDev::kElbow)
    PrepareKitSide(element, *behind, true);
  CDev* ahead = element.GetNeighbour(element.GetDirection());
  if (ahead != nullptr && ahead->GetKind() == CDev::kElbow) PrepareKitSide(element, *ahead, false);
  return nullptr;
}

// A riser unit next to an elbow: the elbow can carry it when the elbow's leg range
// leaves room for the unit's half width; the kit's clearance to the elbow is checked.
void CPartBuilderQG::PrepareKitSide(CDev& element, CDev& elbow, bool first) {
  std::string pattern(kRefWidth, ' ');
  m_qg.CompleteDeviceRef(elbow, pattern);
  int face = element.GetDirection();
  if (!first) {
    for (int f = 0; f < CDev::kFaceCount; ++f) {
      const CDev* next = elbow.GetNeighbour(f);
      if (next != nullptr && next != &element) {
        face = f;
        break;
      }
    }
  }
  const int turn = m_qg.GetTurnCode(elbow, face, -1, 0);
  if (turn == 1 || turn == 2) LayRefText(pattern, 5, "LP");
  if (turn == 3 || turn == 4) LayRefText(pattern, 5, "LC");
  SetRefChar(pattern, 8, 'C');
  if (IsMounted(element)) SetRefChar(pattern, 5, 'F');
  std::int32_t lo = -1, hi = -1;
  ParseNumberList(m_qg.FindPartRow(pattern).texts[2], lo, hi);
  const CReferenceRow housing = m_qg.FindReference();
  const std::int64_t leg = first ? element.GetBookedLength() : elbow.GetBookedLength();
  if (housing.Width() / 2 + 200 + leg <= hi && element.GetVariant() > 0) {
    SetAsideKitVariant(element);
    Rebook(element, GetRun().GetKindText(element.GetKind(), 0));
    elbow.SetFieldText("SURMESURE", first ? "2" : "1");
  }
  CKitLimits kit;
  if (GetChainEditor().ClampKitcf(element, kit) == 0 || RefCharAt(pattern, 5) == 'F') return;
  const std::int64_t clearance = KitClearance(element, elbow, first, kit, pattern);
  if (clearance < 20) {
    FormatPartLabel(&element, 15, "CF", static_cast<std::int32_t>(20 - clearance), 1);
    MarkInError(&element);
  }
}

void CPartBuilderQG::Rebook(CDev& element, const std::string& reference) {
  if (element.GetReference() == reference) return;
  CBOMGrid& bom = GetRun().GetBOM();
  const bool booked = element.GetBooked() != 0;
  if (booked) bom.RemoveRefQuantity(element.GetReference(), 1);
  element.SetReference(reference);
  if (booked) bom.AddRefQuantity(reference, 1);
}

int CPartBuilderQG::GetJoinKind(const CSegment& segment, int entryIndex) const {
  const int kind = CPartBuilder::GetJoinKind(segment, entryIndex);
  if (kind != 2 || entryIndex < 0 || entryIndex >= static_cast<int>(segment.size())) return kind;
  const CDev& element = *segment[static_cast<std::size_t>(entryIndex)].element;
  return IsDoubleElbowFamily(RefPairAt(element.GetReference(), 5)) ? 3 : kind;
}

// The alternation starts afresh with every builder: the same run rebuilt twice gives the
// same parts.
int CPartBuilderQG::SelectCandidate(const CSegment& segment, int flag) {
  const int last = segment.empty() ? 0 : static_cast<int>(segment.size()) - 1;
  const std::vector<CPlannedPart>& parts = GetPlannedParts();
  if (flag == 0) {
    m_lastCandidate = m_lastCandidate == 0 ? last : 0;
    return m_lastCandidate;
  }
  bool takeLast = true;
  bool elbow = false;
  if (!parts.empty() && parts.front().reference.size() >= 9) {
    const std::string& first = parts.front().reference;
    const std::string family = RefPairAt(first, 5);
    if (family == "LC" || family == "LP" || family == "FC" || family == "FP") {
      elbow = true;
      takeLast = first[8] == 'A';
    } else if (family == "ER" || family == "EL") {
      takeLast = first[8] == '1';
    } else if (family == "CF") {
      takeLast = false;
    }
  }
  bool endKit = false;
  if (!parts.empty() && parts.back().reference.size() >= 9) {
    const std::string& lastRef = parts.back().reference;
    const std::string family = RefPairAt(lastRef, 5);
    endKit =
        ((family == "ER" || family == "EL") && lastRef[8] != '1') || RefPairAt(lastRef, 8) == "CF";
  }
  m_lastCandidate = (takeLast && !elbow) || endKit ? last : 0;
  return m_lastCandidate;
}

// A double elbow is booked on its second elbow: the first one and the length between
// them leave the bill, and the second segment is passed over.
void CPartBuilderQG::PropagatePartValue(const CSegmentEntry& entry, int segmentIndex) {
  CDev& first = *entry.element;
  std::vector<CPlannedPart>& parts = GetPlannedParts();
  const auto planned = std::find_if(parts.rbegin(), parts.rend(), [&first](const CPlannedPart& p) {
    return p.element == &first;
  });
  if (planned == parts.rend() || !IsDoubleElbowFamily(RefPairAt(planned->reference, 5))) {
    CPartBuilder::PropagatePartValue(entry, segmentIndex);
    return;
  }
  const int next = segmentIndex + 1;
  if (next >= static_cast<int>(GetSegments().size()) || SegmentAt(next).empty()) return;
  SetSegmentIndex(next);
  PostSegmentLengths(next, 0);
  CBOMGrid& bom = GetRun().GetBOM();
  if (first.GetBooked() != 0) bom.RemoveRefQuantity(first.GetReference(), 1);
  first.SetReference(GetRun().GetKindText(first.GetKind(), first.GetVariant()));
  first.SetBooked(0);
  CDev& second = *SegmentAt(next).back().element;
  if (second.GetBooked() != 0) bom.RemoveRefQuantity(second.GetReference(), 1);
  std::string name = planned->reference;
  const std::string text = MakeParameters(*planned, entry);
  if (!text.empty()) name.resize(std::max<std::size_t>(name.size(), kRefWidth), ' ');
  second.SetReference(name + text);
  second.SetBooked(1);
  bom.AddRefQuantity(second.GetReference(), 1);
  planned->reference.clear();
  CPartBuilder::PropagatePartValue(entry, segmentIndex);
}

int CPartBuilderQG::GetElbowReference(const CSegment& segment) {
  if (segment.size() < 2) return 0;
  const CSegmentEntry& last = segment.back();
  if (last.element->GetKind() == CDev::kElbow) PropagatePartValue(last, GetSegmentIndex());
  return AssignPartRef(segment.front().element, last.element, {}, 0);
}
