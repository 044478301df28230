#include "model/element/dev.h"
#include "model/run/phase_order.h"
#include "platform/text_conversions.h"
#include "ranges/qm/qm_part_refs.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include <string>

namespace {

// The connection message that stands for centre distances not given yet.
constexpr int kMessageDistancesToCome = 30034;

std::string Number(std::int64_t value) { return std::to_string(value); }

bool Among(std::string_view value, std::initializer_list<std::string_view> list) {
  for (std::string_view item : list) {
    if (item == value) return true;
  }
  return false;
}

std::string Joined(std::initializer_list<std::pair<char, int>> values) {
  std::string text;
  for (const auto& [letter, value] : values) {
    if (!text.empty()) text += ',';
    text += letter;
    text += '=' + Number(value);
  }
  return text;
}

}  // namespace

int CQMPartReferences::GetJoinKind(const CSegment& segment, int entryIndex,
                                   const std::string& reference) const {
  int kind = m_builder.CPartBuilder::GetJoinKind(segment, entryIndex);
  const std::string family = RefPairAt(reference, 5);
  if (kind == 2 && Among(family, {"ZP", "ZC", "CP"})) kind = 3;
  if (kind == 2 && family == "ZL") kind = 4;
  if (RefCharAt(reference, 5) != 'L' || RefCharAt(reference, 8) != 'D') return kind;
  if (entryIndex < 0 || entryIndex >= static_cast<int>(segment.size())) return kind;
  const CDev* element = segment[static_cast<std::size_t>(entryIndex)].element;
  if (element == nullptr) return kind;
  if (entryIndex != 0) {
    return TextToInt(element->GetFieldText("SURMESURE").value_or("")) == 2 ? 3 : kind;
  }
  const CPatternRow row = m_run.FindPartRow(reference);
  std::int32_t a1 = -1, a2 = -1, b1 = -1, b2 = -1;
  ParseNumberList(row.texts[3], a1, a2);
  ParseNumberList(row.texts[4], b1, b2);
  if (a2 <= 0) return kind;
  const std::int64_t length = element->GetBookedLength();
  if (b2 > 0) {
    if (length > a2) return length < b1 ? 5 : 3;
    if (length > a1) return 4;
    return kind;
  }
  return length > a2 ? 3 : kind;
}

std::string CQMPartReferences::ChainNumbers(const CSegmentEntry& entry, int proposalFace,
                                            std::int64_t proposalLength) const {
  std::string numbers;
  const CDev& element = *entry.element;
  const int faces[] = {entry.inFace, entry.branchFace, entry.outFace};
  for (int i = 0; i < 3; ++i) {
    const int face = faces[i];
    if (face < 0 || face >= CDev::kFaceCount) continue;
    const std::int64_t length =
        face == proposalFace ? proposalLength : element.GetChainLength(face, false);
    if (i != 1 && face != proposalFace && length == 0) continue;
    if (!numbers.empty()) numbers += ',';
    numbers += Number(length);
  }
  return numbers;
}

std::string CQMPartReferences::GetPartParameters(const CSegmentEntry& entry, int proposalFace,
                                                 std::int64_t proposalLength,
                                                 const std::string& reference) const {
  if (entry.element == nullptr) return {};
  const CDev& element = *entry.element;
  const std::string family = RefPairAt(reference, 5);
  const char suffix = RefCharAt(reference, 8);
  std::string text;
  const bool elbowLike =
      (family == "LC" || family == "LP") && (suffix == 'B' || suffix == 'D' || suffix == 'E');
  if (reference.size() >= 9 &&
      (elbowLike || Among(family, {"ZC", "ZP", "CP", "ZL"}) || (family == "ER" && suffix != '1'))) {
    std::string numbers = ChainNumbers(entry, proposalFace, proposalLength);
    if (Among(family, {"ZP", "ZC", "CP", "ZL"})) {
      const CDev* first = element.GetNeighbour(entry.inFace);
      if (first != nullptr) {
        numbers = Number(first->GetBookedLength()) + "," + numbers;
        const CDev* beyond = family == "ZL" ? first->GetNeighbour(first->GetBackFace()) : nullptr;
        if (beyond != nullptr) numbers = Number(beyond->GetBookedLength()) + "," + numbers;
      }
    }
    // Without a single length there is nothing to key.
    if (!numbers.empty()) text = "x=" + numbers;
    const CDev* unit = element.GetKind() == CDev::kElbow ? element.GetBackNeighbour() : &element;
    if (family == "ER" && unit != nullptr && unit->GetKind() == CDev::kEnd) {
      if (!text.empty()) {
        if (suffix == '2' || suffix == '7') text[0] = 'a';
        text += ',';
      }
      text += FormatPartParams(*unit, '?');
    }
  }
  if (element.GetKind() == CDev::kEnd && reference.size() > 6 && family == "EL")
    text += FormatPartParams(element, '?');
  if (element.GetKind() == CDev::kElbow && !IsRightAngle(element)) {
    if (!text.empty()) text += ',';
    text += "w=" + element.GetFieldText("ELBOW_ANGL").value_or("");
  }
  FormatPartCoords(text, CombinationFlag(element), ' ');
  return text;
}

std::string CQMPartReferences::FormatPartParams(const CDev& element, char mode) const {
  const int variant = element.GetVariant();
  if (element.GetKind() != CDev::kEnd || !(variant == 2 || variant == 3 || variant == 5 ||
                                           variant == 6 || variant == 7 || variant == 20))
    return {};
  const std::array<int, 4> d = m_run.GetCentreDistances(element, mode);
  return variant == 6 ? ShapeParams(element, d, mode) : PlainParams(element, d, mode);
}

std::string CQMPartReferences::ShapeParams(const CDev& element, const std::array<int, 4>& d,
                                           char mode) const {
  if (mode == 'C') return "z=" + Number(d[3]);
  const int connection = CRunQM::ConnectionMode(element);
  std::string phase = "?";
  if (d[0] >= 1 && d[0] <= 4) {
    static constexpr int kTurned[] = {3, 4, 1, 2};
    static constexpr int kFlat[] = {3, 2, 3, 2};
    int value = d[0];
    if (connection == 3) value = kFlat[value - 1];
    else if (GetPhaseOrderAt(element, 0) != 0) value = kTurned[value - 1];
    phase = Number(value);
  }
  std::string text = "t=" + phase + ",e=" + Number(d[1]);
  if (m_run.HasNeutral()) text += ",n=" + Number(d[2]);
  if (connection == 2) text += ",f=" + Number(d[3]);
  return text;
}

std::string CQMPartReferences::PlainParams(const CDev& element, const std::array<int, 4>& d,
                                           char mode) const {
  const int connection = CRunQM::ConnectionMode(element);
  const int variant = element.GetVariant();
  const bool neutral = m_run.HasNeutral();
  const std::string toCome = CRangeContext::Instance().LookupText(kMessageDistancesToCome);
  if (variant == 3 || d[0] == 0) {
    if (mode == 'C') return "d/g/y/z=" + toCome;
    if (connection == 1) return (neutral ? "j/k/m=" : "j/k=") + toCome;
    if (connection == 2) return (neutral ? "p/q/r/s=" : "p/q/r=") + toCome;
    return toCome;
  }
  if (mode == 'C') {
    const int capot = TextToInt(element.GetFieldText("CAPOT").value_or(""));
    if (capot >= 10 && capot <= 12) return Joined({{'d', d[0]}, {'g', d[1]}, {'z', d[3]}});
    if (capot >= 13 && capot <= 15) return Joined({{'z', d[3]}});
    if (capot == 20) return Joined({{'c', d[3]}});
    return {};
  }
  std::string text;
  if (connection == 1 || variant == 5 || variant == 7 || variant == 20) {
    text = neutral ? Joined({{'j', d[0]}, {'k', d[1]}, {'m', d[2]}})
                   : Joined({{'j', d[0]}, {'k', d[1]}});
  }
  if (connection == 2) {
    text += neutral ? Joined({{'p', d[0]}, {'q', d[1]}, {'r', d[2]}, {'s', d[3]}})
                    : Joined({{'p', d[0]}, {'q', d[1]}, {'r', d[2]}});
  }
  return text;
}
