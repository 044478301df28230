#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>

namespace {

constexpr std::string_view kEndPieceTail = "30             x=3000";

// The whole number that follows the label in the text; 0 when absent.
int NumberAfter(std::string_view text, std::string_view label) {
  const std::size_t at = text.find(label);
  return at == std::string_view::npos ? 0 : TextToInt(text.substr(at + label.size()));
}

bool IsJoint(const CDev* element) {
  return element != nullptr && element->GetKind() == CDev::kJoint;
}

}  // namespace

// The length code of a kit between two joints: "10" to "30" by the half metre; empty
// outside 300..3000.
std::string_view KitLengthCode(std::int64_t length) {
  if (length < 300 || length > 3000) return {};
  if (length <= 1000) return "10";
  if (length <= 1500) return "15";
  if (length <= 2000) return "20";
  if (length <= 2500) return "25";
  return "30";
}

void CPartBuilderQG::FinishPart(CDev& element, int position) {
  (void)position;
  if (!m_passStarted) {
    m_passStarted = true;
    m_groupCounter = 0;
  }
  const int kind = element.GetKind();
  CDev* holder = &element;
  if (kind == CDev::kJoint || kind == CDev::kInLine) FinishEndPiece(element);
  if (kind == CDev::kElbow) FinishBElbow(element);
  if (kind == CDev::kInLine) holder = FinishKit(element);
  if (kind == CDev::kEnd) FinishStraight(element);
  ConvertToOrderingForm(element, *holder);
  FitFlatHousing(element, *holder);
}

void CPartBuilderQG::FinishEndPiece(CDev& element) {
  const std::string& name = element.GetReference();
  const std::string family = RefPairAt(name, 5);
  if ((family != "ET" && family != "FT") || RefCharAt(name, 8) != 'A') return;
  Rebook(element, name.substr(0, 8) + std::string(kEndPieceTail));
}

// A "C" elbow whose two legs the shorter "B" part takes becomes that part.
void CPartBuilderQG::FinishBElbow(CDev& element) {
  const std::string& name = element.GetReference();
  const char family = RefCharAt(name, 5);
  if ((family != 'L' && family != 'F') || RefCharAt(name, 8) != 'C') return;
  std::string candidate = name;
  candidate[8] = 'B';
  const int x = NumberAfter(candidate, "x="), y = NumberAfter(candidate, "y=");
  const CPatternRow row = m_qg.FindPartRow(std::string_view(candidate).substr(0, kRefWidth));
  std::int32_t six = -1, sixLast = -1, lo = -1, hi = -1;
  ParseNumberList(row.texts[6], six, sixLast);
  ParseNumberList(row.texts[1], lo, hi);
  if (row.texts[0].empty() || x == 0 || y == 0) return;
  if (std::int64_t{x} + y <= six && x >= lo && x <= hi && y >= lo && y <= hi)
    Rebook(element, candidate);
}

// A riser kit between two joints takes the length code of its stretch; one that does
// not stays the run's default text. Returns the element that holds its line.
CDev* CPartBuilderQG::FinishKit(CDev& element) {
  const bool mounted = IsMounted(element);
  if (element.GetReference().size() > 9 && RefPairAt(element.GetReference(), 8) == "CF")
    NameKitByLength(element, mounted);
  // Only a kit gives up its variant: another in-line unit (an end piece) would lose its
  // part in the next rebuild.
  if (element.GetVariant() == 1) SetAsideKitVariant(element);
  if (element.GetPropValue("KITCF").empty() || mounted) return &element;
  CDev* holder = &element;
  CDev* ahead = element.GetNeighbour(element.GetDirection());
  const bool jointFree =
      IsJoint(ahead) &&
      ahead->GetReference() == GetRun().GetKindText(CDev::kJoint, ahead->GetVariant());
  // The joint ahead, while it has no part of its own, holds the kit's line.
  if (element.GetBooked() != 0 && jointFree) {
    ahead->SetReference(element.GetReference());
    ahead->SetBooked(1);
    holder = ahead;
  } else if (element.GetBooked() != 0) {
    GetRun().GetBOM().RemoveRefQuantity(element.GetReference(), 1);
  }
  element.SetReference(GetRun().GetElementRef(80));
  element.SetBooked(1);
  GetRun().GetBOM().AddRefQuantity(element.GetReference(), 1);
  return holder;
}

// The next rebuild gives a unit whose active word is 2 its kit variant back before it
// walks the run, so that the same run rebuilds into the same bill.
void CPartBuilderQG::SetAsideKitVariant(CDev& element) {
  element.SetVariantBoth(0);
  element.SetActive(2);
}

void CPartBuilderQG::NameKitByLength(CDev& element, bool mounted) {
  CDev* ahead = element.GetNeighbour(element.GetDirection());
  std::string name = element.GetReference();
  std::string_view code;
  std::int64_t s = 0;
  if (IsJoint(element.GetBackNeighbour()) && IsJoint(ahead)) {
    s = std::int64_t{ahead->GetBookedLength()} + element.GetBookedLength();
    code = KitLengthCode(s);
  }
  CBOMGrid& bom = GetRun().GetBOM();
  if (element.GetBooked() != 0) bom.RemoveRefQuantity(name, 1);
  element.SetBooked(0);
  if (code.empty()) {
    element.SetReference(GetRun().GetKindText(element.GetKind(), 1));
    return;
  }
  LayRefText(name, 8, code);
  if (mounted) SetRefChar(name, 5, 'F');
  name.resize(std::max<std::size_t>(name.size(), kRefWidth), ' ');
  name += "x=" + std::to_string(s);
  element.SetReference(name);
  element.SetBooked(1);
  bom.AddRefQuantity(name, 1);
}

void CPartBuilderQG::FinishStraight(CDev& element) {
  std::string group;
  const std::string index = GetRun().GetPropText("INDEXGRP");
  if (index.empty() || TextToInt(index) > 0) {
    ++m_groupCounter;
    group = " \nGroup=" + std::to_string(m_groupCounter);
  }
  bool accessory = AddCover(element, group);
  accessory = AddClips(element, group) || accessory;
  if (group.empty()) return;
  if (accessory) Rebook(element, element.GetReference() + group);
  else --m_groupCounter;
}

void CPartBuilderQG::ConvertToOrderingForm(CDev& element, CDev& holder) {
  (void)element;
  std::string name = holder.GetReference();
  if (!m_qg.ExpandReference(name, false)) return;
  Rebook(holder, name);
  BuildSupportCode(holder);
}

void CPartBuilderQG::FitFlatHousing(CDev& element, const CDev& holder) {
  const bool wallPiece = element.GetKind() == CDev::kInLineVariant && element.GetVariant() == 15;
  if (!IsMounted(element) && !wallPiece) return;
  const std::string& name = holder.GetReference();
  const std::string family = RefPairAt(name, 7);
  if (name.size() <= 8 || (family != "FC" && family != "FP" && family != "FT" && family != "RU"))
    return;
  const std::string& own = element.GetReference();
  const CReferenceRow row =
      m_qg.FindReference(std::string{RefCharAt(own, 3), RefCharAt(own, 4), 'F'});
  int w1 = row.Width(), w2 = row.Height();
  const bool variantPiece = element.GetKind() == CDev::kInLineVariant;
  if (variantPiece) {
    w1 -= 40;
    w2 -= 40;
  }
  const int flags = variantPiece ? 0x400 : 0;
  if (variantPiece && IsMounted(element)) {
    if (CDev* behind = element.GetBackNeighbour())
      behind->ResetOptionsAlongChain(w1, w2, -8, flags);
  } else {
    element.ResetOptionsAlongChain(w1, w2, -9, flags);
  }
}

void CPartBuilderQG::FinishSecondPass() {
  m_passStarted = false;
  AddRunAccessories();
  const CDev* first = GetRun().GetFirstElement();
  const bool counted =
      first != nullptr && (first->GetKind() == CDev::kEnd ||
                           (first->GetKind() == CDev::kInLineVariant && first->GetVariant() == 13));
  m_longRun = counted ? m_qg.GetLongestPathLength(*first, -1) : 0;
  if (m_longRun != 0 && GetMessages().At(0).state == CCheckMessage::kEmpty)
    CRangeContext::Instance().Notify(kLongRunMessage, {});
}
