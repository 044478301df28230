#include "model/builder/part_builder.h"

#include "model/element/dev.h"
#include "model/builder/placement_chain_editor.h"
#include "model/run/run.h"

#include <algorithm>
#include <charconv>

namespace {

std::int64_t Counted(std::int32_t number) { return number < 0 ? 0 : number; }

// The whole number at the start of a text (after blanks); none when it has no digits
// or does not fit.
std::optional<std::int32_t> LeadingNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end == text.data()) return std::nullopt;
  return value;
}

}  // namespace

std::int64_t CPartDef::MinTotal() const { return Counted(first1) + Counted(first2); }
std::int64_t CPartDef::MaxTotal() const { return Counted(last1) + Counted(last2); }

void ParseNumberList(std::string_view text, std::int32_t& first, std::int32_t& last) {
  first = -1;
  last = -1;
  // Pieces between "-" characters; empty pieces do not count, so "500-" is one number.
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t dash = std::min(text.find('-', start), text.size());
    if (dash > start) pieces.push_back(text.substr(start, dash - start));
    start = dash + 1;
  }
  if (pieces.empty()) return;
  last = LeadingNumber(pieces.back()).value_or(-1);
  if (text.front() != '-') first = LeadingNumber(pieces.front()).value_or(-1);
}

CPartBuilder::CPartBuilder(CRun& run)
    : m_run(run),
      m_ownEditor(std::make_unique<CPlacementChainEditor>()),
      m_editor(m_ownEditor.get()) {
  m_messages.Reset(true);
}

CPartBuilder::~CPartBuilder() = default;

void CPartBuilder::SetChainEditor(CChainEditor* editor) {
  m_editor = editor != nullptr ? editor : m_ownEditor.get();
}

CDev* CPartBuilder::PrepareElement(CDev& element) {
  (void)element;
  return nullptr;
}

void CPartBuilder::FinishPart(CDev& element, int position) {
  (void)element;
  (void)position;
}

void CPartBuilder::AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                              std::string_view reference, int pass) {
  (void)entry;
  (void)first;
  (void)last;
  (void)reference;
  (void)pass;
}

void CPartBuilder::AddPartDef(std::string_view text, std::string_view firstList,
                              std::string_view secondList, std::string_view listIndex) {
  CPartDef def;
  def.text = std::string(text);
  ParseNumberList(firstList, def.first1, def.last1);
  ParseNumberList(secondList, def.first2, def.last2);
  if (def.IsFixed()) {
    // A fixed length that the run already names as one of its own lengths is not offered.
    for (const char* name : {"L1", "L2", "L3", "L4"}) {
      const auto value = m_run.GetProp(name);
      if (!value || value->empty()) continue;
      const auto number = LeadingNumber(*value);
      if (number && *number == def.MinTotal()) return;
    }
  }
  const auto list = LeadingNumber(listIndex);
  if (!list || *list < 0 || *list >= kListCount) return;
  m_partDefs[static_cast<std::size_t>(*list)].push_back(std::move(def));
}

int CPartBuilder::GetJoinKind(const CSegment& segment, int entryIndex) const {
  if (entryIndex < 0 || entryIndex >= static_cast<int>(segment.size())) return 1;
  const CSegmentEntry& entry = segment[static_cast<std::size_t>(entryIndex)];
  const int kind = entry.element->GetKind();
  const bool last = entryIndex == static_cast<int>(segment.size()) - 1;
  if (kind == CDev::kEnd) return 1;
  if (kind != CDev::kJunction2 && kind != CDev::kJunction3) {
    const bool swapped = entry.value != 0;
    return last != swapped ? 1 : 2;
  }
  int face = entry.backFace;
  if (entryIndex == 0) face = segment.size() > 1 ? segment[1].direction : 6;
  if (face == entry.inFace) return 1;
  if (face == entry.outFace) return 3;
  if (face == entry.branchFace) return 2;
  return kind == CDev::kJunction2 ? 6 : 4;
}

void CPartBuilder::PropagatePartValue(const CSegmentEntry& entry, int segmentIndex) {
  if (entry.value == 0 || entry.element == nullptr) return;
  const auto next = static_cast<std::size_t>(segmentIndex) + 1;
  if (entry.element->GetKind() == CDev::kElbow) {
    if (next < m_segments.size() && !m_segments[next].empty())
      m_segments[next].front().value = entry.value;
  } else if (entry.element->GetKind() == CDev::kJunction2) {
    for (std::size_t s = next; s < m_segments.size(); ++s) {
      for (CSegmentEntry& later : m_segments[s]) {
        if (later.element == entry.element) later.value = entry.value;
      }
    }
  }
}

std::int32_t CPartBuilder::PostSegmentLengths(int segmentIndex, int count) {
  if (segmentIndex < 0 || segmentIndex >= static_cast<int>(m_segments.size())) return 0;
  const CSegment& segment = m_segments[static_cast<std::size_t>(segmentIndex)];
  std::int64_t sum = 0;
  for (std::size_t i = segment.size(); i-- > 1;) {
    const CDev& element = *segment[i].element;
    const std::int64_t length = element.GetBookedLength();
    m_run.AddLengthToBOM(element.GetCalibre(), count != 0 ? length : -length,
                         element.GetVariantIndex());
    sum += length;
  }
  for (int i = 1; i < count && m_segmentIndex >= 0; ++i) {
    PostSegmentLengths(m_segmentIndex, 1);
    --m_segmentIndex;
  }
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, 0, INT32_MAX));
}

int CPartBuilder::OverlayOwnRef(const CSegmentEntry& entry, std::string& pattern) const {
  const CDev& element = *entry.element;
  if (element.GetKind() == CDev::kJoint || element.GetKind() == CDev::kStraight) return 0;
  const std::string& reference = element.GetReference();
  if (reference == m_run.GetKindText(element.GetKind(), element.GetVariant())) return 0;
  std::string_view own = std::string_view(reference).substr(0, reference.find('='));
  while (!own.empty() && own.back() == ' ') own.remove_suffix(1);
  std::copy_n(own.begin(), std::min(own.size(), pattern.size()), pattern.begin());
  return 1;
}

std::int32_t CPartBuilder::RoundToStep(std::int64_t length) const {
  if (m_lengthStep <= 0)
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(length, INT32_MIN, INT32_MAX));
  std::int64_t base = length / m_lengthStep * m_lengthStep;
  const std::int64_t rest = length - base;
  // A remainder of exactly half a step rounds down.
  if (rest * 2 > m_lengthStep) base += m_lengthStep;
  if (rest * 2 < -m_lengthStep) base -= m_lengthStep;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(base, INT32_MIN, INT32_MAX));
}

int CPartBuilder::GetBuildMark(const CDev& element) const {
  const auto it = m_buildMarks.find(&element);
  return it == m_buildMarks.end() ? 0 : it->second;
}

void CPartBuilder::SetBuildMark(const CDev& element, int mark) {
  if (mark == 0) m_buildMarks.erase(&element);
  else m_buildMarks[&element] = mark;
}

void CPartBuilder::MarkInError(const CDev* element) {
  if (element != nullptr) m_errorElements.insert(element);
}

void CPartBuilder::ClearAfterCorrection() {
  m_segments.clear();
  ++m_segmentsMade;
  m_messages.Reset(true);
}
