#include "ranges/qd/part_builder_qd.h"

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "ranges/qd/run_qd.h"
#include "ranges/range_context.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"
#include "platform/wildcard.h"

namespace {

constexpr std::string_view kNotOffered = "YENAPAS";
constexpr int kEndWithoutPart = 30025;

void LayOver(std::string& buffer, std::string_view text, std::size_t at = 0) {
  for (std::size_t i = 0; i < text.size() && at + i < buffer.size(); ++i) buffer[at + i] = text[i];
}

char CharAt(std::string_view text, std::size_t index) {
  return index < text.size() ? text[index] : ' ';
}

// The device-kind pattern of a straight with the length letters (characters 9-10) and
// the conductor count of a parts-list row: the row offers a straight piece of that kind
// when its reference matches it.
std::string StraightTest(std::string_view partRef, std::string_view devicePattern) {
  std::string test(kRefWidth, ' ');
  LayOver(test, devicePattern.substr(0, kRefWidth));
  test[8] = CharAt(partRef, 8);
  test[9] = CharAt(partRef, 9);
  if (CharAt(partRef, 7) == '4') test[7] = '4';
  return test;
}

}  // namespace

CPartBuilderQD::CPartBuilderQD(CRunQD& run) : CPartBuilder(run), m_qd(run) {
  m_rating = run.GetRating();
  AddStraightDefinitions();
  auto limits = [&run](std::string_view reference) {
    std::string padded(reference);
    padded.resize(kRefWidth, ' ');
    const CPatternRow row = run.FindPartRow(padded);
    CElbowGroupLimits found;
    found.found = !row.texts[0].empty();
    found.leg = TextToInt(row.texts[1]);
    found.share = TextToInt(row.texts[5]);
    found.longest = TextToInt(row.texts[6]);
    return found;
  };
  m_flat = limits("QDA10DF410");
  m_edgewise = limits("QDA10EDF430");
}

void CPartBuilderQD::AddStraightDefinitions() {
  const std::vector<CPatternRow>* parts = m_qd.GetPatternTable();
  const std::vector<CCodeRow>* devices = m_qd.GetCodeTable();
  if (parts == nullptr || devices == nullptr) return;
  for (const CPatternRow& row : *parts) {
    const std::string& partRef = row.texts[0];
    for (auto device = devices->rbegin(); device != devices->rend(); ++device) {
      if (TextToInt(device->texts[0]) != 1) continue;
      const std::string test = StraightTest(partRef, device->texts[3]);
      if (!MatchWildcard(partRef, test)) continue;
      std::string definition = partRef;
      const std::string& subCode = device->texts[1];
      if (test.compare(5, 2, "ED") != 0 || definition.size() <= 10) {
        // Only standard straights carry the length and bend letters below.
      } else if (CharAt(partRef, 8) == '2' && m_rating == 4) {
        definition[4] = '6';
        definition[10] = '4';
      } else if (CharAt(partRef, 8) == '3') {
        definition[10] = subCode == "2" ? '6' : subCode == "4" ? '1' : '3';
      }
      AddPartDef(definition, row.texts[1], row.texts[2], subCode);
    }
  }
}

CDev* CPartBuilderQD::PrepareElement(CDev& element) {
  // A group is worked out afresh by every rebuild: what an earlier one left is dropped.
  if (element.GetKind() == CDev::kElbow &&
      (element.GetFieldText("EF20nbc").has_value() || (element.GetStyle() >> 16 & 0xFF) == 0x64)) {
    element.SetFieldText("EF20nbc", "");
    element.SetStyle(element.GetStyle() & ~0x00FF0000u);
  }
  return nullptr;
}

void CPartBuilderQD::Rebook(CDev& element, const std::string& reference) {
  if (element.GetReference() == reference) return;
  // The run counts what its elements hold: the old line loses its quantity while the
  // element still holds it, the new one gains it once the element does.
  CBOMGrid& bom = GetRun().GetBOM();
  const bool booked = element.GetBooked() != 0;
  if (booked) bom.RemoveRefQuantity(element.GetReference(), 1);
  element.SetReference(reference);
  if (booked) bom.AddRefQuantity(reference, 1);
}

void CPartBuilderQD::FinishPart(CDev& element, int position) {
  (void)position;
  if (element.GetKind() == CDev::kEnd && element.GetVariant() == 1) {
    if (element.GetBooked() != 0) GetRun().GetBOM().RemoveRefQuantity(element.GetReference(), 1);
    element.SetReference(CRangeContext::Instance().LookupText(kEndWithoutPart));
    element.SetBooked(0);
    // The text of the message is no reference: it is neither normalised nor booked.
    return;
  }
  if (element.GetKind() == CDev::kTapOff) return;
  std::string reference = element.GetReference();
  if (m_qd.NormalizeQDRef(reference)) Rebook(element, reference);
}

std::string CPartBuilderQD::GetPartReference(const CSegment& segment, int entryIndex,
                                             int alternative) {
  (void)alternative;
  const CSegmentEntry& entry = segment.at(static_cast<std::size_t>(entryIndex));
  CDev& element = *entry.element;
  std::string buffer(kRefWidth, ' ');
  m_rating = m_qd.GetRating();
  if (OverlayOwnRef(entry, buffer) != 0) return buffer;
  element.OverlayRefCode(buffer);
  m_qd.BuildHousingPattern(element, buffer);
  switch (element.GetKind()) {
    case CDev::kStraight: LayOver(buffer, "##", 5); break;
    case CDev::kJoint: LayOver(buffer, "__", 5); break;
    case CDev::kElbow: {
      const int turn = m_qd.GetTurnCode(element, entry.outFace, -1, 0);
      if (turn == 1 || turn == 2) {
        LayOver(buffer, "DL", 5);
        if (m_rating == 4) LayOver(buffer, "06", 3);
      } else if (turn == 3 || turn == 4) {
        LayOver(buffer, kNotOffered);
      }
      GroupElbows(entry, buffer);
      break;
    }
    case CDev::kJunction2:
    case CDev::kJunction3:
      LayOver(buffer, kNotOffered);
      FormatPartLabel(&element, 1, {}, 0, 0);
      break;
    case CDev::kJunction4:
    case CDev::kJunction5: FormatPartLabel(&element, 1, {}, 0, 0); break;
    default: break;
  }
  return buffer;
}

std::string CPartBuilderQD::GetPartParameters(const CPlannedPart& part) {
  std::string text;
  FormatPartCoords(text, part.element != nullptr ? part.element->GetKind() : 0, ' ');
  return text;
}

int CPartBuilderQD::GetElbowReference(const CSegment& segment) {
  if (segment.size() < 2) return 0;
  const CSegmentEntry& last = segment.back();
  if (last.element->GetKind() == CDev::kElbow) PropagatePartValue(last, GetSegmentIndex());
  return AssignPartRef(segment[segment.size() - 2].element, last.element, {}, 0);
}

int CPartBuilderQD::SelectCandidate(const CSegment& segment, int flag) {
  return ::SelectCandidate(static_cast<int>(segment.size()), flag != 0);
}
