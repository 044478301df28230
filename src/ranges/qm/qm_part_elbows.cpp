#include "model/element/dev.h"
#include "ranges/qm/qm_part_refs.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include <array>

namespace {

constexpr std::string_view kAbsorbed = "#######";

struct CCombinedCode {
  int code;
  std::string_view family;
  std::string_view suffix;
  bool marks;
};

// Two elbows in successive segments (codes of two digits) or three (three digits), by
// the turn codes of the elbows in order; the marked codes set the combination flag.
constexpr std::array<CCombinedCode, 20> kCombined{{
    {12, "ZP", "   ", true},   {21, "ZP", "   ", false},  {34, "ZC", "1  ", false},
    {43, "ZC", "2  ", false},  {31, "CP", "2  ", true},   {14, "CP", "2  ", false},
    {32, "CP", "3  ", true},   {24, "CP", "3  ", false},  {42, "CP", "1  ", true},
    {23, "CP", "1  ", false},  {41, "CP", "4  ", true},   {13, "CP", "4  ", false},
    {143, "ZL", "2  ", true},  {431, "ZL", "2  ", false}, {134, "ZL", "4  ", true},
    {341, "ZL", "4  ", false}, {234, "ZL", "1  ", true},  {342, "ZL", "1  ", false},
    {243, "ZL", "3  ", true},  {432, "ZL", "3  ", false},
}};

const CCombinedCode* FindCombined(int code) {
  for (const CCombinedCode& row : kCombined) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

// The length range of a parts-table text; false when it holds none.
bool InRange(const std::string& text, std::int64_t length, std::int32_t& first,
             std::int32_t& last) {
  ParseNumberList(text, first, last);
  return first >= 0 && last >= 0 && length >= first && length <= last;
}

}  // namespace

void CQMPartReferences::ElbowReference(int segmentIndex, const CSegmentEntry& entry, bool finalPass,
                                       std::string& buffer) {
  CDev& element = *entry.element;
  const int turn = m_run.GetTurnCode(element, entry.inFace, entry.outFace, 0);
  if (turn == 0) return;
  const bool right = IsRightAngle(element);
  CElbowChoice choice =
      right ? CombineElbows(segmentIndex, entry, turn) : CElbowChoice{turn, &element};
  m_combination[&element] = 0;
  // Each rejection drops the last elbow of the combination; a single elbow always stays.
  for (int guard = 0; guard < 3; ++guard) {
    const bool combined = choice.code >= 10;
    const bool family = WriteElbowFamily(choice.code, right, element, buffer);
    bool accepted = !combined || (family && LegsFit(segmentIndex, choice.code, choice, buffer));
    if (accepted && IsRightAngle(*choice.last)) {
      const int unit = ConnectionAfterElbow(*choice.last, choice.code);
      if (unit != 0 && combined) accepted = false;
      if (unit != 0 && !combined && finalPass) LayRefText(buffer, 0, kAbsorbed);
    }
    if (accepted) return;
    choice.code /= 10;
    m_combination[&element] = 0;
    const CSegment& back =
        m_builder
            .GetSegments()[static_cast<std::size_t>(segmentIndex + (choice.code >= 10 ? 1 : 0))];
    choice.last = choice.code >= 10 ? back.back().element : &element;
  }
}

// The elbow code of the elbow and the right-angle elbows of the next two-entry segments.
CQMPartReferences::CElbowChoice CQMPartReferences::CombineElbows(int segmentIndex,
                                                                 const CSegmentEntry& entry,
                                                                 int turn) const {
  CElbowChoice choice{turn, entry.element};
  const std::vector<CSegment>& segments = m_builder.GetSegments();
  const CSegment& own = segments[static_cast<std::size_t>(segmentIndex)];
  if (&own.back() != &entry) return choice;
  for (std::size_t next = static_cast<std::size_t>(segmentIndex) + 1;
       next < segments.size() && next <= static_cast<std::size_t>(segmentIndex) + 2; ++next) {
    const CSegment& segment = segments[next];
    if (segment.size() != 2) break;
    const CSegmentEntry& last = segment.back();
    if (last.element == nullptr || last.element->GetKind() != CDev::kElbow ||
        !IsRightAngle(*last.element))
      break;
    const int nextTurn = m_run.GetTurnCode(*last.element, last.inFace, last.outFace, 0);
    if (nextTurn == 0) break;
    choice.code = choice.code * 10 + nextTurn;
    choice.last = last.element;
  }
  return choice;
}

// Family at places 5-6 and suffix at 8-10 of the code; false when the family is blank.
bool CQMPartReferences::WriteElbowFamily(int code, bool rightAngle, const CDev& element,
                                         std::string& buffer) {
  if (code >= 1 && code <= 4) {
    LayRefText(buffer, 5, code <= 2 ? "LP" : "LC");
    LayRefText(buffer, 8, rightAngle ? "A  " : "C  ");
    if (code <= 2) SetRefChar(buffer, 9, code == 2 ? '1' : '2');
    return true;
  }
  const CCombinedCode* row = FindCombined(code);
  if (row == nullptr) {
    LayRefText(buffer, 5, "  ");
    return false;
  }
  LayRefText(buffer, 5, row->family);
  LayRefText(buffer, 8, row->suffix);
  if (row->marks) m_combination[&element] = 1;
  return true;
}

// The later elbows of a combination must lie within the leg ranges of its parts row.
bool CQMPartReferences::LegsFit(int segmentIndex, int code, const CElbowChoice& choice,
                                const std::string& buffer) {
  (void)choice;
  const CPatternRow row = m_run.FindPartRow(buffer);
  const std::vector<CSegment>& segments = m_builder.GetSegments();
  const bool three = code >= 100;
  const bool flag =
      m_combination[segments[static_cast<std::size_t>(segmentIndex)].back().element] != 0;
  for (int later = 1; later <= (three ? 2 : 1); ++later) {
    const CSegmentEntry& entry = segments[static_cast<std::size_t>(segmentIndex + later)].back();
    int text = 2;
    if (three) text = (later == 1) == flag ? 3 : 2;
    std::int32_t first = -1, last = -1;
    const std::int64_t length = entry.element->GetBookedLength();
    if (InRange(row.texts[static_cast<std::size_t>(text)], length, first, last)) continue;
    if (first >= 0 && length < first && segmentIndex == m_builder.GetSegmentIndex())
      m_builder.FormatPartLabel(entry.element, 11, std::string(buffer).substr(0, kRefWidth), first,
                                last);
    return false;
  }
  return true;
}

// A connection unit right after the last elbow that its own reference fits absorbs
// the elbow: 1 when it does.
int CQMPartReferences::ConnectionAfterElbow(const CDev& last, int code) const {
  const int back = last.GetBackFace();
  const CDev* unit = nullptr;
  for (int face = 0; face < CDev::kFaceCount && unit == nullptr; ++face) {
    if (face != back) unit = last.GetNeighbour(face);
  }
  if (unit == nullptr || unit->GetKind() != CDev::kEnd) return 0;
  const int variant = unit->GetVariant();
  if (variant != 2 && variant != 3 && variant != 5 && variant != 7) return 0;
  std::string reference(kRefWidth, ' ');
  unit->OverlayRefCode(reference);
  m_run.ApplyRefPattern(*unit, reference);
  static constexpr char kDigits[] = {'4', '3', '6', '5'};
  const int digit = code % 10;
  if (digit >= 1 && digit <= 4) SetRefChar(reference, 8, kDigits[digit - 1]);
  std::int32_t first = -1, end = -1;
  const CPatternRow row = m_run.FindPartRow(reference);
  if (!InRange(row.texts[1], unit->GetBookedLength(), first, end)) return 0;
  return CRunQM::ConnectionMode(*unit) != 2 ? 1 : 0;
}
