#include <algorithm>
#include <cctype>
#include <cstdint>

#include "platform/text_conversions.h"
#include "reference/ref_line_edit.h"
#include "reference/ref_schematic_layout.h"

namespace {

struct FamilyControls {
  int caption;
  int edit;  // 0: the family's count is not edited on its own
  int spin;
  int choiceKind;
  int offset;  // member - offset is the value DescribeChoice takes
};

FamilyControls ControlsOf(RefFamily family) {
  switch (family) {
    case kFamilyFeed: return {kCaptionFeed, 0, 0, kChoiceFeed, -1};
    case kFamilyStraight: return {kCaptionStraight, kEditStraightCount, 1221, kChoiceStraight, 2};
    case kFamilyComplement: return {kCaptionComplement, 0, 0, kChoiceComplement, 5};
    case kFamilyFixing: return {kCaptionFixing, kEditFixingCount, 1223, kChoiceFixing, 8};
    default:
      return {kCaptionLuminaireFixing, kEditLuminaireFixingCount, 1230, kChoiceCableEntry, 12};
  }
}

RefFamily FamilyOfChoice(int which) {
  switch (which) {
    case 1: return kFamilyStraight;
    case 2: return kFamilyComplement;
    case 4: return kFamilyFixing;
    case 5: return kFamilyLuminaireFixing;
    default: return kFamilyFeed;
  }
}

// The members of each family, by component index.
bool InFamily(RefFamily family, int member, int kind) {
  switch (family) {
    case kFamilyFeed: return member == 0 || member == 1 || (member >= 28 && member <= 31);
    case kFamilyStraight: return member >= 3 && member <= (kind == 0 ? 8 : 5);
    case kFamilyComplement: return kind != 0 && (member == 6 || member == 7);
    case kFamilyFixing: return (member >= 9 && member <= 12) || member == 44;
    default: return member >= 13 && member <= 15;
  }
}

}  // namespace

void CRefLineEditContext::DescribeFamily(RefFamily family, int member) {
  const FamilyControls controls = ControlsOf(family);
  const bool variant = family == kFamilyFixing && m_line.components[42] != 0;
  texts[controls.caption] = DescribeChoice(Kind(), controls.choiceKind, member - controls.offset,
                                           false, variant, ChoiceContext());
  if (controls.edit == 0) return;
  const std::vector<int> table = GetChoiceTable(1);
  const bool editable = Offered(table, member) && table[static_cast<std::size_t>(member)] % 2 == 0;
  enabled[controls.edit] = enabled[controls.spin] = editable;
}

void CRefLineEditContext::ChooseComponent(int which, int member) {
  const int k = Kind();
  if (k < 0 || k >= kRefProductCount) return;
  switch (which) {
    case 3: return ComputeComponentCounts(3);
    case 7: return UpdateItemSlots();
    case 9: return ComputeComponentCounts(2);
    case 1:
    case 2:
    case 4:
    case 5:
    case 6: break;
    default: return;
  }
  const RefFamily family = FamilyOfChoice(which);
  if (!InFamily(family, member, k)) return;
  Choice(family) = member;
  if (family == kFamilyStraight) {
    if (k == 4 || k == 8 || k == 7 || ((k == 1 || k == 2) && m_config.SpecialMode() == 2))
      ComputeComponentCounts(2);
    if (k == 1 && m_config.SpecialMode() != 2) {
      const bool six = Offered(GetChoiceTable(1), 6) && m_line.rating == 25 &&
                       m_line.connection == 0 && member != 5;
      Choice(kFamilyComplement) = six ? 6 : 7;
    }
  }
  if (family == kFamilyFixing && (k == 4 || k == 8 || k == 5 || k == 7) && member != 9)
    m_line.components[37] = m_line.components[38] = 0;
  if (family == kFamilyFixing && (k == 1 || k == 2) && member != 44)
    m_line.components[39] = m_line.components[40] = 0;
  DescribeFamily(family, member);
  ComputeComponentCounts(family == kFamilyFeed              ? 1
                         : family == kFamilyFixing          ? 3
                         : family == kFamilyLuminaireFixing ? 0
                                                            : 2);
}

void CRefLineEditContext::EditLineOptions(int which, int member, int cableRange) {
  if (Kind() < 0 || Kind() >= kRefProductCount) return;
  if (which == 0) {
    const std::vector<int> table = GetChoiceTable(1);
    m_line.ResizeSections(count, table.data(), &m_config.QfpPositions()[0], 0);
    return;
  }
  if (which == 1) {
    if (member >= 0 && member != ChoiceOf(kFamilyFixing) &&
        InFamily(kFamilyFixing, member, Kind())) {
      Choice(kFamilyFixing) = member;
      DescribeFamily(kFamilyFixing, member);
      if (member == 44) enabled[kEditFixingCount] = enabled[1223] = false;
      m_line.components[13] = -10;
    }
    if (cableRange >= 1 && cableRange - 1 != m_line.components[13]) {
      m_line.components[13] = cableRange - 1;
      texts[kCaptionLuminaireFixing] = DescribeChoice(
          Kind(), kChoiceCableEntry, 10 * ChoiceOf(kFamilyFixing) + m_line.components[13] - 79,
          false, false, ChoiceContext());
    }
    return;
  }
  if (which == 3) texts[kStaticEquipment] = std::to_string(RefLuminaireEquipmentTotal(m_line));
}

void CRefLineEditContext::StoreFamilyCounts() {
  const int k = Kind();
  auto store = [&](RefFamily family, int control) {
    for (int member = 0; member < CRefLine::kComponentCount; ++member)
      if (InFamily(family, member, k))
        m_line.components[static_cast<std::size_t>(member)] =
            member == ChoiceOf(family) ? Edit(control) : 0;
  };
  store(kFamilyFeed, kEditFeedCount);
  store(kFamilyStraight, kEditStraightCount);
  store(kFamilyFixing, kEditFixingCount);
  store(kFamilyLuminaireFixing, kEditLuminaireFixingCount);
  if (k != 0) store(kFamilyComplement, kEditComplementCount);
  if (edits.contains(kEditEndClosureCount)) m_line.components[2] = Edit(kEditEndClosureCount);
  if ((k == 1 || k == 2) && edits.contains(kEditComponent8Count))
    m_line.components[8] = Edit(kEditComponent8Count);
}

void CRefLineEditContext::SetQyxLengthText(const std::string& text) {
  std::string whole, decimals;
  bool afterSeparator = false;
  for (char c : text) {
    if (c == '.' || c == ',') afterSeparator = true;
    else if (std::isdigit(static_cast<unsigned char>(c)) == 0) continue;
    else if (!afterSeparator) whole += c;
    else if (decimals.size() < 2) decimals += c;
  }
  m_line.length = std::clamp(TextToInt(whole), 0, 9999);
  // Two digits always: "5" is fifty hundredths, stored 150, as the length 6.50 reads back.
  if (decimals.size() == 1) decimals += '0';
  const int hundredths = decimals.empty() ? 0 : TextToInt(decimals);
  m_line.components[36] = hundredths == 0 ? 0 : 100 + hundredths;
}
