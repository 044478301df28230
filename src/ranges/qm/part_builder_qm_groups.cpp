#include "model/bom/bom_group.h"
#include "model/element/dev.h"
#include "ranges/qm/part_builder_qm.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>

namespace {

bool IsTwinCode(std::string_view code) {
  static constexpr std::array<std::string_view, 3> kTwins{"QMC6300", "QMA5000", "QMB0622"};
  return std::any_of(kTwins.begin(), kTwins.end(),
                     [code](std::string_view twin) { return code.starts_with(twin); });
}

// The rating of one of the two runs in place of the twin rating.
void LayHalfRating(std::string& code) {
  switch (RefCharAt(code, 2)) {
    case 'C': LayRefText(code, 3, "32"); break;
    case 'A': LayRefText(code, 3, "25"); break;
    case 'B': LayRefText(code, 4, "244"); break;
    default: break;
  }
}

// One feed box or special connection unit serves both housings of a twin run, so the
// second run's half of it is the wall support that holds the second housing there (of a
// feed box only where the run stands up or down); a twin kit's second half is its
// sealing kit.
int SecondHalfKind(const std::string& family, char connection, int direction, int variant) {
  if (family == "EL" && (connection == '1' || connection == '2')) return 204;
  if (family == "EL" && connection == '5') return 203;
  if (family == "ER" && connection >= '1' && connection <= '6' && variant != 20) {
    if (direction == 2) return 202;
    if (direction == 3) return 201;
  }
  if (family == "CF") return 81;
  return 0;
}

// The legs of the second run's piece: the inner housing of a turn runs shorter by the
// housings' offset, except the last leg of a 'Z' piece, which turns back and runs longer
// by as much. Legs of 300 or less are the catalogue's fixed ends and stay. (A larger
// shift would make legs just above 300 negative.)
std::string ShiftedLegs(std::string text, bool zKind) {
  static constexpr int kOffset = 188;
  for (const std::string_view key : {"a=", "b=", "c="}) {
    const std::optional<int> value = QMParameterValue(text, key);
    if (!value || *value <= 300) continue;
    const int shifted = zKind && key == "c=" ? *value + kOffset : *value - kOffset;
    text = WithQMParameter(std::move(text), key, shifted);
  }
  return text;
}

}  // namespace

// A twin run is two single runs side by side: each of its parts is listed as the twin
// part (a line without price) and the parts of the two runs under it.
CQMTwinHalves SplitTwinCode(std::string_view code, int direction, int variant) {
  CQMTwinHalves halves;
  if (!IsTwinCode(code)) return halves;
  const std::string family = RefPairAt(code, 7);
  if (family == "HC") return halves;
  if (family == "EH") {
    halves.outcome = CQMTwinHalves::kRefused;
    return halves;
  }
  halves.outcome = CQMTwinHalves::kSplit;
  std::string first(code);
  LayHalfRating(first);
  const char connection = RefCharAt(code, 10);
  if ((family == "ED" || family == "EB") && RefCharAt(code, 11) == '0' &&
      (connection == '4' || connection == '2')) {
    // The single runs' straights of these steps are the plain ones of the catalogue.
    SetRefChar(first, 8, 'T');
    first.resize(12);
    first.resize(static_cast<std::size_t>(kRefWidth), ' ');
  }
  halves.secondKind = SecondHalfKind(family, connection, direction, variant);
  if (halves.secondKind == 204) SetRefChar(first, 11, 'A');
  if (halves.secondKind == 203) SetRefChar(first, 11, 'B');
  halves.second = first;
  const bool shifted = family == "LC" || family == "ZC" || family == "CP" ||
                       (family == "ER" && (connection == '5' || connection == '6'));
  if (halves.secondKind == 0 && shifted) halves.second = ShiftedLegs(first, family[0] == 'Z');
  halves.first = std::move(first);
  return halves;
}

bool CPartBuilderQM::GroupsInUse() const {
  const std::string indexGroup = m_qm.GetPropText("INDEXGRP");
  return indexGroup.empty() || ReadBoundedInt(indexGroup, kMaxCount) > 0;
}

// The group of a part split before in this pass with the same lines, else a new one.
// The three lines of a group are made only here, so the record of the splits answers
// what a search of the bill's groups would, without a look-up per group.
int CPartBuilderQM::SplitGroup(const std::string& key, int& groupCounter) {
  const auto found = m_splitGroups.find(key);
  if (found != m_splitGroups.end() && found->second <= groupCounter) return found->second;
  return ++groupCounter;
}

void CPartBuilderQM::RefuseTwinSplit(CDev& element) {
  const int rating = TextToInt(std::string_view(element.GetReference()).substr(3, 4));
  FormatPartLabel(&element, 3, {}, rating, rating);
  MarkInError(&element);
  MarkInError(element.GetBackNeighbour());
  MarkInError(element.GetNeighbour(element.GetDirection()));
}

// The twin part keeps its own line, marked as the group's line without price; the
// parts of the first and the second run follow it as the group's items "a" and "b".
// Without groups the element books the first run's part and the second run's part
// gets a line of its own.
void CPartBuilderQM::AssignGroupLines(CDev& element, int& groupCounter) {
  if (!m_twin || element.GetBooked() == 0) return;
  const std::string& code = element.GetReference();
  const CBOMGroup group = ParseBOMGroup(code);
  if (code.ends_with('a') || group.flag != ' ') return;
  const std::string base(CutGroupSuffix(code));
  CQMTwinHalves halves = SplitTwinCode(base, element.GetDirection(), element.GetVariant());
  if (halves.outcome == CQMTwinHalves::kRefused) RefuseTwinSplit(element);
  if (halves.outcome != CQMTwinHalves::kSplit) return;
  if (halves.secondKind != 0) halves.second = m_qm.GetElementRef(halves.secondKind);
  if (halves.second.empty()) halves.second = halves.first;
  CRun& run = GetRun();
  if (!GroupsInUse()) {
    Rebook(element, halves.first);
    run.AddAccessoryParts(-1, 1, halves.second);
    return;
  }
  const std::string key = base + '\n' + halves.first + '\n' + halves.second;
  // A feed box is a group of its own, with or without accessories: another feed box of
  // the same parts feeds another place of the run.
  const bool feed = element.GetKind() == CDev::kEnd;
  const int number =
      group.number > 0 ? group.number : (feed ? ++groupCounter : SplitGroup(key, groupCounter));
  int& recorded = m_splitGroups[key];
  recorded = std::max(recorded, number);
  const std::string suffix = std::string(kBOMGroupSuffix) + std::to_string(number);
  Rebook(element, base + suffix + "!");
  run.AddAccessoryParts(-1, 1, halves.first + suffix + "a");
  run.AddAccessoryParts(-1, 1, halves.second + suffix + "b");
}
