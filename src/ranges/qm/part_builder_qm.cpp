#include "ranges/qm/part_builder_qm.h"

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"
#include "platform/wildcard.h"

#include <algorithm>

namespace {

bool IsFamily(std::string_view reference, std::string_view family) {
  return RefPairAt(reference, 5) == family;
}

}  // namespace

CPartBuilderQM::CPartBuilderQM(CRunQM& run)
    : CPartBuilder(run), m_qm(run), m_references(*this, run), m_twin(run.IsBuiltAsTwin()) {
  m_edStepOff = run.GetPropText("QM_ED_STEP") == "0";
  const std::string elbows = run.GetPropText("ELBOWS");
  SetPlanningFlag(elbows == "ALL" || elbows == "JCT" ? 1 : 0);
  AddSplitDefinitions();
}

// Whether a split row may not serve through an "ED" device of the sub-code.
bool CPartBuilderQM::RefusesEDRow(const std::string& partRef, int sub) const {
  const char size = RefCharAt(partRef, 8);
  if (size == '1') return true;
  if (sub == 1 && size != '4' && size != '2') return true;
  if (sub == 3 && size == '4') return true;
  if (!m_edStepOff) {
    const std::string neutral = m_qm.GetPropText("Neutral");
    if (neutral.starts_with('6') && m_qm.GetPropText("Calibre") == "32") return true;
    if (!m_twin) return false;
  }
  return size == '3';
}

// Every split row that a straight device pattern matches is a straight piece of the list
// the device names; "ED" and "EH" pieces take the step and neutral letters of the run.
void CPartBuilderQM::AddSplitDefinitions() {
  const std::vector<CPatternRow>* parts = m_qm.GetPatternTable();
  const std::vector<CCodeRow>* devices = m_qm.GetCodeTable();
  if (parts == nullptr || devices == nullptr) return;
  const bool neutralEight = m_qm.GetPropText("Neutral").starts_with('8');
  for (const CPatternRow& row : *parts) {
    const std::string& partRef = row.texts[0];
    for (auto device = devices->rbegin(); device != devices->rend(); ++device) {
      if (TextToInt(device->texts[0]) != 1) continue;
      const int sub = TextToInt(device->texts[1]);
      std::string pattern(kRefWidth, ' ');
      LayRefText(pattern, 0, std::string_view(device->texts[3]).substr(0, kRefWidth));
      SetRefChar(pattern, 8, RefCharAt(partRef, 8));
      SetRefChar(pattern, 9, RefCharAt(partRef, 9));
      const bool ed = IsFamily(pattern, "ED");
      if (ed && RefusesEDRow(partRef, sub)) continue;
      if (!MatchWildcard(partRef, pattern)) continue;
      std::string adjusted = partRef;
      if (ed && !m_edStepOff) {
        SetRefChar(adjusted, 10, RefPairAt(partRef, 8) == "30" ? '2' : '3');
        if (neutralEight && RefCharAt(partRef, 8) == '4') SetRefChar(adjusted, 7, '8');
      }
      if (IsFamily(pattern, "EH") && neutralEight) SetRefChar(adjusted, 7, '8');
      AddPartDef(adjusted, row.texts[1], row.texts[2], device->texts[1]);
    }
  }
}

int CPartBuilderQM::SegmentIndexOf(const CSegment& segment) const {
  const std::vector<CSegment>& segments = GetSegments();
  const int current = GetSegmentIndex();
  if (current >= 0 && current < static_cast<int>(segments.size()) &&
      &segments[static_cast<std::size_t>(current)] == &segment)
    return current;
  for (std::size_t i = 0; i < segments.size(); ++i)
    if (&segments[i] == &segment) return static_cast<int>(i);
  return -1;
}

const CSegmentEntry* CPartBuilderQM::FindEntry(const CDev* element, int& segmentIndex) const {
  // Where each element first stands, looked up rather than searched: every end piece of
  // a long run asks, and a search would walk the segments before it each time.
  const std::vector<CSegment>& segments = GetSegments();
  if (m_firstEntriesMade != SegmentsMade()) {
    m_firstEntries.clear();
    for (std::size_t s = 0; s < segments.size(); ++s) {
      for (std::size_t e = 0; e < segments[s].size(); ++e)
        m_firstEntries.try_emplace(segments[s][e].element, s, e);
    }
    m_firstEntriesMade = SegmentsMade();
  }
  const auto found = m_firstEntries.find(element);
  if (found == m_firstEntries.end()) return nullptr;
  const auto [s, e] = found->second;
  segmentIndex = static_cast<int>(s);
  return &segments[s][e];
}

// A parts row may be a pattern that serves many references: the part is then the
// reference that found it.
void CPartBuilderQM::FlushPartsToBOM() {
  for (CPlannedPart& part : GetPlannedParts()) {
    if (part.mode == -1 || part.element == nullptr) continue;
    if (part.reference.find_first_of("*#") == std::string::npos) continue;
    const auto asked = m_asked.find(part.element);
    if (asked == m_asked.end()) continue;
    part.reference = asked->second;
  }
  CPartBuilder::FlushPartsToBOM();
}

void CPartBuilderQM::Rebook(CDev& element, const std::string& code) {
  if (element.GetReference() == code) return;
  CBOMGrid& bom = GetRun().GetBOM();
  const bool booked = element.GetBooked() != 0;
  if (booked) bom.RemoveRefQuantity(element.GetReference(), 1);
  element.SetReference(code);
  if (booked) bom.AddRefQuantity(code, 1);
}

std::string CPartBuilderQM::GetPartReference(const CSegment& segment, int entryIndex,
                                             int alternative) {
  std::string reference =
      m_references.GetPartReference(SegmentIndexOf(segment), entryIndex, alternative != 0);
  if (entryIndex >= 0 && entryIndex < static_cast<int>(segment.size()))
    m_asked[segment[static_cast<std::size_t>(entryIndex)].element] = reference;
  return reference;
}

int CPartBuilderQM::GetJoinKind(const CSegment& segment, int entryIndex) const {
  if (entryIndex < 0 || entryIndex >= static_cast<int>(segment.size()))
    return CPartBuilder::GetJoinKind(segment, entryIndex);
  const CDev* element = segment[static_cast<std::size_t>(entryIndex)].element;
  return m_references.GetJoinKind(segment, entryIndex, element->GetReference());
}

std::string CPartBuilderQM::GetPartParameters(const CPlannedPart& part) {
  int segmentIndex = -1;
  const CSegmentEntry* entry = FindEntry(part.element, segmentIndex);
  if (entry == nullptr) return {};
  return m_references.GetPartParameters(*entry, part.face, part.length, part.reference);
}

void CPartBuilderQM::AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                                std::string_view reference, int pass) {
  // The window rules take the pass as their mode: 0 for the piece leaving a segment's
  // first end, any other for one reaching a later end.
  m_references.AdjustPart(entry, std::string(reference), first, last, pass);
}

// The choice starts afresh with every builder, so the same run rebuilt twice gives the
// same parts.
int CPartBuilderQM::SelectCandidate(const CSegment& segment, int flag) {
  const int last = segment.empty() ? 0 : static_cast<int>(segment.size()) - 1;
  const std::vector<CPlannedPart>& parts = GetPlannedParts();
  bool standard = true, preferLast = false, lCase = false;
  if (!parts.empty() && parts.front().reference.size() >= 9) {
    const std::string& first = parts.front().reference;
    const std::string family = RefPairAt(first, 5);
    if ((family == "ET" || family == "ED") && first.size() >= 10) {
      standard = first[9] == '0';
    } else if (family == "LC" || family == "LP") {
      lCase = true;
      standard = first[8] == 'A';
      preferLast = first[8] == 'B' || (m_twin && family == "LC" && first[8] != 'A');
    } else if (family == "ER") {
      standard = first[8] == '1';
    } else if (family == "CF") {
      standard = false;
    }
  }
  int result = 0;
  if (flag == 0) {
    result = m_lastCandidate == 0 ? last : (preferLast ? -1 : 0);
  } else {
    bool endPart = false;
    if (!parts.empty()) {
      const std::string& lastRef = parts.back().reference;
      endPart = (IsFamily(lastRef, "ER") && RefCharAt(lastRef, 8) != '1') ||
                RefPairAt(lastRef, 8) == "CF";
    }
    result = endPart || preferLast || standard != lCase ? last : 0;
  }
  m_lastCandidate = result;
  return result;
}

// A combined elbow is booked on the last element of the segments it spans: the entry
// and the segments passed over leave the bill.
void CPartBuilderQM::PropagatePartValue(const CSegmentEntry& entry, int segmentIndex) {
  std::vector<CPlannedPart>& parts = GetPlannedParts();
  const auto planned = std::find_if(parts.rbegin(), parts.rend(), [&entry](const CPlannedPart& p) {
    return p.element == entry.element;
  });
  static constexpr std::string_view kCombined[] = {"ZP", "ZC", "CP", "ZL"};
  const std::string family =
      planned == parts.rend() ? std::string() : RefPairAt(planned->reference, 5);
  if (std::find(std::begin(kCombined), std::end(kCombined), family) == std::end(kCombined)) {
    CPartBuilder::PropagatePartValue(entry, segmentIndex);
    return;
  }
  const int segments = static_cast<int>(GetSegments().size());
  int cursor = segmentIndex + 1;
  if (cursor >= segments || SegmentAt(cursor).empty()) return;
  CBOMGrid& bom = GetRun().GetBOM();
  auto leave = [&bom](CDev& element) {
    if (element.GetBooked() != 0) bom.RemoveRefQuantity(element.GetReference(), 1);
    element.SetBooked(0);
  };
  SetSegmentIndex(cursor);
  PostSegmentLengths(cursor, 0);
  leave(*entry.element);
  if (family == "ZL" && cursor + 1 < segments && !SegmentAt(cursor + 1).empty()) {
    ++cursor;
    SetSegmentIndex(cursor);
    PostSegmentLengths(cursor, 0);
    CDev& first = *SegmentAt(cursor).front().element;
    leave(first);
    first.SetStyle(first.GetStyle() & ~0xF00u);
  }
  CDev& last = *SegmentAt(cursor).back().element;
  leave(last);
  last.SetReference(planned->reference + planned->parameters);
  last.SetBooked(1);
  bom.AddRefQuantity(last.GetReference(), 1);
  planned->reference.clear();
  CPartBuilder::PropagatePartValue(entry, segmentIndex);
}
