#include "model/element/dev.h"
#include "ranges/qjf/part_builder_qjf.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr int kMsgToBeSpecified = 30034;
constexpr std::string_view kNoFamily = "ZZ";
constexpr std::array<std::string_view, 4> kSingles = {"LB", "LC", "LE", "LF"};
// Rows: the last elbow's family; columns: the previous one's, in the order of kSingles.
constexpr std::array<std::array<std::string_view, 4>, 4> kDoubles = {{
    {"ZZ", "MC", "NG", "NK"},
    {"MB", "ZZ", "NH", "NL"},
    {"NB", "NE", "ZZ", "MF"},
    {"NC", "NF", "ME", "ZZ"},
}};
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kMirrors = {{
    {"MB", "MC"},
    {"ME", "MF"},
    {"NB", "NG"},
    {"NC", "NK"},
    {"NE", "NH"},
    {"NF", "NL"},
}};

int SingleIndex(std::string_view family) {
  const auto found = std::find(kSingles.begin(), kSingles.end(), family);
  return found != kSingles.end() ? static_cast<int>(found - kSingles.begin()) : -1;
}

// An elbow angle other than 90 degrees makes a special elbow, which pairs with no other.
bool HasSpecialAngle(const CDev& element) {
  const auto angle = element.GetFieldText("ELBOW_ANGL");
  return angle && TextToInt(*angle) != 90;
}

bool IsSide(int face) { return face >= 0 && face < CDev::kFaceCount; }

}  // namespace

std::string DoubleElbowFamily(std::string_view last, std::string_view previous) {
  const int row = SingleIndex(last);
  const int column = SingleIndex(previous);
  if (row < 0 || column < 0) return std::string(kNoFamily);
  return std::string(kDoubles[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
}

bool IsDoubleElbowFamily(std::string_view family) {
  return std::any_of(kMirrors.begin(), kMirrors.end(), [family](const auto& pair) {
    return pair.first == family || pair.second == family;
  });
}

std::string MirrorDoubleElbow(std::string_view family) {
  for (const auto& [one, other] : kMirrors) {
    if (family == one) return std::string(other);
    if (family == other) return std::string(one);
  }
  return std::string(family);
}

int CPartBuilderQJF::GetElbowReference(const CSegment& segment) {
  return GetElbowReference(segment, EndsElbowPair(segment) && !EndsStandApart(segment));
}

bool CPartBuilderQJF::EndsElbowPair(const CSegment& segment) {
  return segment.size() >= 2 && segment.back().element->GetKind() == CDev::kElbow &&
         segment[segment.size() - 2].element->GetKind() == CDev::kElbow;
}

bool CPartBuilderQJF::EndsStandApart(const CSegment& segment) {
  if (segment.empty() || GetRemaining() < 0) return false;
  const std::vector<CPlannedPart>& parts = GetPlannedParts();
  const auto planned = [&parts](const CDev* end) {
    return std::any_of(parts.begin(), parts.end(),
                       [end](const CPlannedPart& part) { return part.element == end; });
  };
  return planned(segment.front().element) && planned(segment.back().element);
}

int CPartBuilderQJF::GetElbowReference(const CSegment& segment, bool report) {
  if (segment.size() < 2) return 0;
  const CSegmentEntry& last = segment.back();
  const CSegmentEntry& previous = segment[segment.size() - 2];
  std::string text = MakeDoubleElbow(previous, last, report);
  if (HasSpecialAngle(*previous.element) || HasSpecialAngle(*last.element)) text.clear();
  const int result = AssignPartRef(previous.element, last.element, text, report ? 1 : 0);
  if (report && result != 0) PropagatePartValue(last, GetSegmentIndex());
  return result;
}

std::string CPartBuilderQJF::MakeDoubleElbow(const CSegmentEntry& previous,
                                             const CSegmentEntry& last, bool report) {
  if (last.element->GetKind() != CDev::kElbow || previous.element->GetKind() != CDev::kElbow)
    return {};
  std::string text = GetEntryReference(last, false);
  if (RefCharAt(text, 5) != 'L') return {};
  const std::string before = GetEntryReference(previous, false);
  std::string family = DoubleElbowFamily(RefPairAt(text, 5), RefPairAt(before, 5));
  if (family == kNoFamily) return {};
  if ((previous.element->GetStyle() & (1u << 12)) != 0) family = MirrorDoubleElbow(family);
  LayRefText(text, 5, family);
  if (RefPairAt(text, 3) == "14") SetRefChar(text, 4, '6');
  SetRefChar(text, 8, 'X');
  const CPatternRow row = m_qjf.FindPartRow(text);
  if (row.texts[0].empty()) return {};
  std::int32_t low = -1, high = -1;
  ParseNumberList(row.texts[2], low, high);
  const std::int64_t length = last.element->GetChainLength(-1, false);
  if (low < 0 || high < 0) return {};
  if (length < low || length > high) {
    if (report) FormatPartLabel(last.element, 10, text, low, high);
    return {};
  }
  return text;
}

const CSegmentEntry* CPartBuilderQJF::FindEntry(const CDev* element) const {
  const int index = GetSegmentIndex();
  if (index < 0 || index >= static_cast<int>(GetSegments().size())) return nullptr;
  const CSegment& segment = GetSegments()[static_cast<std::size_t>(index)];
  const auto found =
      std::find_if(segment.begin(), segment.end(),
                   [element](const CSegmentEntry& e) { return e.element == element; });
  return found != segment.end() ? &*found : nullptr;
}

// The parameter text of an end piece goes with the piece's own reference, worked out when
// the segment is flushed with the leg lengths as planned by then (ApplyParameters); the
// text returned here would be booked on the cut.
std::string CPartBuilderQJF::GetPartParameters(const CPlannedPart& part) {
  (void)part;
  return {};
}

void CPartBuilderQJF::ApplyParameters(CPlannedPart& part) const {
  if (part.mode == -1 || part.reference.empty() || part.element == nullptr) return;
  const CSegmentEntry* entry = FindEntry(part.element);
  if (entry == nullptr) return;
  std::string reference = part.reference;
  const std::string text = MakeParameters(*entry, &part, reference);
  if (text.empty()) return;
  reference.resize(std::max<std::size_t>(reference.size(), kRefWidth), ' ');
  part.reference = reference + " " + text;
}

std::string CPartBuilderQJF::MakeParameters(const CSegmentEntry& entry, const CPlannedPart* part,
                                            std::string& reference) const {
  const CDev& element = *entry.element;
  const std::int64_t own = element.GetChainLength(-1, false);
  const std::int64_t start = part != nullptr ? part->length : 0;
  std::string p;
  if (RefCharAt(reference, 10) == '7') {
    const std::int64_t length = own + start;
    if (length == 3000) {
      SetRefChar(reference, 8, '3');
      p = "7=" + std::to_string(own);
    } else {
      // One letter for every 500 mm from 1001 on; a length outside the letters keeps it.
      const std::int64_t step = (length - 1001) / 500;
      if (step >= 0 && step < 26) SetRefChar(reference, 8, static_cast<char>('A' + step));
      const std::int64_t second = (element.GetStyle() & (1u << 12)) == 0 ? own : start;
      p = "x=" + std::to_string(length) + ",7=" + std::to_string(second);
    }
  } else if (reference.size() > 20 && RefCharAt(reference, 8) == 'X') {
    std::string values;
    for (const int side : {entry.inFace, entry.branchFace, entry.outFace}) {
      if (!IsSide(side)) continue;
      const std::int64_t length =
          part != nullptr && part->face == side ? start : element.GetChainLength(side, false);
      values += (values.empty() ? "" : ",") + std::to_string(length);
    }
    const char family = RefCharAt(reference, 5);
    p = family == 'M' || family == 'N' ? "x=" + std::to_string(own) + "," + values : "x=" + values;
  }
  if (RefCharAt(reference, 5) == 'A' && RefCharAt(reference, 8) == '2') {
    const std::string e = element.GetVariant() == 5
                              ? CRangeContext::Instance().LookupText(kMsgToBeSpecified)
                              : element.GetFieldText("ENTRAX").value_or("");
    if (!e.empty()) p += (p.empty() ? "e=" : ",e=") + e;
  }
  if (element.GetKind() == CDev::kElbow && HasSpecialAngle(element)) {
    p += (p.empty() ? "w=" : ",w=") + element.GetFieldText("ELBOW_ANGL").value_or("");
  }
  FormatPartCoords(p, entry.legSwap, ' ');
  return p;
}
