#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "ranges/qjf/part_builder_qjf.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace {

constexpr int kMsgToBeSpecified = 30034;
constexpr std::uint32_t kSideFlag = 1u << 12;
constexpr std::uint32_t kVariantIndexBits = 0xF00u;
// A feed unit with a cable box (bit 28) mounted on either side (bits 24-25) comes with
// its fixing accessory.
constexpr std::uint32_t kMountSideBits = 3u << 24;
constexpr std::uint32_t kCableBoxBit = 1u << 28;
constexpr int kCableBoxAccessory = 13;

bool IsRangeReference(std::string_view reference) {
  return reference.starts_with("QJ0") || reference.starts_with("QJF");
}

// The options from place 10 on moved together: blanks between them are dropped.
void CompactOptions(std::string& text) {
  if (text.size() <= 10) return;
  std::string options = text.substr(10);
  std::erase(options, ' ');
  options.resize(text.size() - 10, ' ');
  text.replace(10, std::string::npos, options);
}

// The earth option "A<ground>" in the first blank of the reference (over it and the next
// place), or behind a reference without blanks.
void AddEarth(std::string& text, std::string_view ground) {
  const std::string earth = "A" + std::string(ground);
  const std::size_t blank = text.find(' ');
  if (blank == std::string::npos) {
    text += earth;
    return;
  }
  const std::string rest = blank + 2 < text.size() ? text.substr(blank + 2) : std::string();
  text = text.substr(0, blank) + earth + rest;
  // The reference keeps its width where blanks make room for the earth.
  while (text.size() > kRefWidth && text.back() == ' ') text.pop_back();
}

std::int32_t ClampToLength(std::int64_t length) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(length, INT32_MIN, INT32_MAX));
}

bool TakesEarth(const CDev& element) {
  const int variant = element.GetVariant() % 100;
  if (element.GetKind() == CDev::kEnd) return variant == 2 || variant == 3 || variant == 5;
  return element.GetKind() == CDev::kInLineVariant && variant == 3;
}

}  // namespace

void CPartBuilderQJF::Rebook(CDev& element, const std::string& reference) {
  // Most references are finished as they are: their lines are left alone, since a line
  // booked again is counted again over every element that holds it.
  if (element.GetReference() == reference) return;
  // The run counts what its elements hold: the old line loses its quantity while the
  // element still holds it, the new one gains it once the element does.
  CBOMGrid& bom = GetRun().GetBOM();
  const bool booked = element.GetBooked() != 0;
  if (booked) bom.RemoveRefQuantity(element.GetReference(), 1);
  element.SetReference(reference);
  if (booked) bom.AddRefQuantity(reference, 1);
}

// A tee that takes no length of the segment it ends is no origin for the pieces planned
// from it: they are counted on from where the first end's piece stops along the tee's
// chain, that is, moved by the chain length less the first end's length.
void ShiftPiecesBeforeFlushTee(std::vector<CPlannedPart>& parts) {
  if (parts.size() <= 2) return;
  const CPlannedPart& tee = parts[1];
  if (tee.element == nullptr || tee.element->GetKind() != CDev::kJunction2 || tee.length != 0)
    return;
  const std::int64_t shift =
      std::int64_t{parts.front().length} + tee.length - tee.element->GetChainLength(-1, false);
  for (std::size_t i = 2; i < parts.size(); ++i) {
    parts[i].length = ClampToLength(parts[i].length - shift);
    parts[i].firstLength = ClampToLength(parts[i].firstLength - shift);
  }
}

void CPartBuilderQJF::FlushPartsToBOM() {
  std::vector<CPlannedPart>& parts = GetPlannedParts();
  ShiftPiecesBeforeFlushTee(parts);
  for (std::size_t i = parts.size(); i-- > 0;) {
    CPlannedPart& part = parts[i];
    ApplyParameters(part);
    CDev* element = part.element;
    if (element != nullptr && element->GetKind() == CDev::kJunction2 && part.length == 0) {
      // A tee that takes no length of its own is no cut: only its line moves.
      if (!part.reference.empty()) BookRecordReference(*element, part.reference);
      continue;
    }
    CDev* added = ApplyCut(part);
    if (added != nullptr && element != nullptr && element->GetKind() == CDev::kJunction2 &&
        element->GetNeighbour(CDev::OppositeDirection(part.face)) != nullptr) {
      CopySideFromNeighbour(*added, part);
    }
  }
}

// A joint cut beside a tee takes the side of the first element beyond the tees.
void CPartBuilderQJF::CopySideFromNeighbour(CDev& added, const CPlannedPart& part) const {
  const CDev* reached = added.GetNeighbour(part.face);
  std::unordered_set<const CDev*> seen{&added};
  while (reached != nullptr && reached->GetKind() == CDev::kJunction2 &&
         seen.insert(reached).second) {
    reached = reached->GetNeighbour(part.face);
  }
  if (reached == nullptr) return;
  added.SetStyle((added.GetStyle() & ~kSideFlag) | (reached->GetStyle() & kSideFlag));
}

void CPartBuilderQJF::FinishPart(CDev& element, int position) {
  (void)position;
  const std::string old = element.GetReference();
  if (IsRangeReference(old)) {
    std::string text = old.substr(0, std::min<std::size_t>(old.size(), kRefWidth));
    if (const auto angle = element.GetFieldText("ELBOW_ANGL"); angle && TextToInt(*angle) != 90) {
      SetRefChar(text, 9, 'A');
      SetRefChar(text, 11, 'W');
    }
    if (RefCharAt(text, 9) == 'A') CompactOptions(text);
    const std::string ground = m_qjf.GetPropText("Ground");
    if (ground != " " && TakesEarth(element)) AddEarth(text, ground);
    if (old.size() > kRefWidth) text += old.substr(kRefWidth);
    Rebook(element, text);
    if (element.GetKind() == CDev::kJunction2 && text.starts_with("QJ0") &&
        RefPairAt(text, 5) == "PB") {
      FinishFeedBox(element);
    }
  }
  const std::uint32_t style = element.GetStyle();
  if (element.GetKind() == CDev::kEnd && (style & kMountSideBits) != 0 &&
      (style & kCableBoxBit) != 0) {
    GetRun().AddAccessoryParts(kCableBoxAccessory, 1,
                               " a/b/c=" + CRangeContext::Instance().LookupText(kMsgToBeSpecified));
  }
}

void CPartBuilderQJF::FinishFeedBox(CDev& element) {
  const int direction = element.GetDirection();
  const CDev* beyond = element.GetNeighbour(direction);
  std::unordered_set<const CDev*> seen{&element};
  while (beyond != nullptr && beyond->GetKind() == CDev::kStraight && seen.insert(beyond).second) {
    beyond = beyond->GetNeighbour(direction);
  }
  if (beyond != nullptr) {
    element.SetStyle((element.GetStyle() & ~kVariantIndexBits) |
                     (beyond->GetStyle() & kVariantIndexBits));
  }
  const int opposite = CDev::OppositeDirection(direction);
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (face == direction || face == opposite || element.GetNeighbour(face) == nullptr) continue;
    SplitFeedBoxBranch(element, face);
    return;
  }
}

// The joint on the branch of a feed box becomes the box's elbow, and the adapter piece
// in front of it is cut off the branch.
void CPartBuilderQJF::SplitFeedBoxBranch(CDev& element, int face) {
  CDev* joint = element.GetNeighbour(face);
  if (joint->GetKind() != CDev::kJoint || joint->GetActive() == 0 || joint->GetDirection() != face)
    return;
  std::string text(kRefWidth, ' ');
  joint->OverlayRefCode(text);
  m_qjf.FillRefPattern(text);
  const int turn =
      m_qjf.GetTurnCode(element, CDev::OppositeDirection(element.GetDirection()), face, 0);
  LayRefText(text, 5, turn == 1 ? "LC" : "LB");
  SetRefChar(text, 8, '1');
  if (RefCharAt(text, 9) == 'A') CompactOptions(text);
  BookRecordReference(*joint, text);
  std::string piece = text;
  LayRefText(piece, 0, "QJ0");
  LayRefText(piece, 4, "6FA");
  LayRefText(piece, 8, std::string(13, ' '));
  if (m_qjf.GetRating() == 18) SetRefChar(piece, 4, '8');
  // The adapter is as long as its parts-list row says; without a row nothing is cut.
  std::int32_t low = -1, high = -1;
  ParseNumberList(m_qjf.FindPartRow(piece).texts[1], low, high);
  CDev* adapter = high > 0 ? joint->SplitAtLength(joint->GetDirection(), high) : nullptr;
  if (adapter == nullptr) return;
  BookRecordReference(*adapter, piece);
}
