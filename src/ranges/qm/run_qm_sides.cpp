#include "model/element/dev.h"
#include "platform/text_conversions.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_ref_text.h"

#include <unordered_set>

namespace {

int SideField(const CDev& element) { return static_cast<int>((element.GetStyle() >> 8) & 0xF); }

// The element that carries the option: along the direction past the pieces that pass
// it on. Each element is visited once, so a damaged chain that loops ends the walk.
template <typename PassesOn>
CDev* OptionHolder(CDev* element, PassesOn passesOn) {
  std::unordered_set<const CDev*> seen;
  while (element != nullptr && passesOn(*element) && seen.insert(element).second) {
    CDev* next = element->GetNeighbour(element->GetDirection());
    if (next == nullptr) break;
    element = next;
  }
  return element;
}

bool SetOrRead(CDev& holder, std::string_view name, int mode) {
  if (mode < 0) return TextToInt(holder.GetFieldText(name).value_or("")) != 0;
  holder.SetPropValue(name, mode > 0 ? "1" : "");
  return true;
}

}  // namespace

bool CRunQM::AccessEH44Option(CDev& element, int mode) const {
  const int neutral = GetNeutral();
  if (!IsQMA() || GetPropText("Calibre") != "25" || neutral < 6 || neutral > 8) return false;
  CDev* holder = OptionHolder(&element, [](const CDev& at) {
    return (at.GetKind() == CDev::kJoint && at.GetActive() >= 1) ||
           (at.GetKind() == CDev::kInLine && at.GetStyle() == 0 && at.GetStyle2() == 0);
  });
  return SetOrRead(*holder, "EH44", mode);
}

bool CRunQM::AccessED31Option(CDev& element, int mode) const {
  CDev* holder = OptionHolder(&element, [](const CDev& at) {
    return (at.GetKind() == CDev::kJoint && at.GetActive() > 0) || at.GetKind() == CDev::kInLine;
  });
  if (mode >= 0) return SetOrRead(*holder, "ED31", mode);
  if (IsTwinRating()) return false;
  bool set = SetOrRead(*holder, "ED31", mode);
  if (GetNeutral() == 8 && SideField(*holder) == 1 && holder->GetChainLength(-1, false) == 2000)
    set = true;
  if (GetPartsState() != 0 && SideField(*holder) == 3) {
    const CDev* referenced = holder->FindReferencedElement();
    const std::string reference = referenced != nullptr ? referenced->GetReference() : "";
    if (reference.size() >= 13 && RefPairAt(reference, 7) == "ED") {
      const std::string number = reference.substr(10, 3);
      if (number == "201" || number == "351" || number == "301") set = true;
      if (number == "203" || number == "353" || number == "302") set = false;
    }
  }
  return set;
}

std::string CRunQM::GetDeviceTextForSide(const CDev& device, int side) const {
  const std::string& reference = device.GetReference();
  if (SideField(device) == side) return reference;
  if (IsTwinRating() && !GetPropText("INDEXGRP").empty() && GetPropText("INDEXGRP").back() == 'a')
    return {};
  const bool grey = GetPropText("RAL") == "7035";
  const bool step = GetPropText("QM_ED_STEP") == "0";
  const std::int64_t length = device.GetChainLength(-1, false);
  const std::string neutralText = GetPropText("Neutral");
  char neutral = neutralText.empty() ? ' ' : neutralText[0];
  if (neutral == '8' && side != 4 && !(step && side == 1 && length == 4000)) neutral = '6';
  if (length != 4000 && length != 2000) return {};
  const std::string family = RefPairAt(reference, 7);
  if (family != "ET" && family != "ED" && family != "EB" && family != "EH") return {};
  if (side == 3 || (side == 1 && !step && neutral == '6' && RefPairAt(reference, 3) == "32") ||
      (side == 4 && IsTwinRating()) || side < 0 || side > 4)
    return {};
  std::string text = reference + "     ";
  SetRefChar(text, 9, neutral);
  static constexpr char kSides[] = {'T', 'D', 'B', ' ', 'H'};
  SetRefChar(text, 8, kSides[side]);
  CDev& element = const_cast<CDev&>(device);
  SetRefChar(text, 11, side == 4 && length == 4000 && AccessEH44Option(element, -1) ? '4' : '0');
  char mark = ' ';
  if (!step && side == 1) {
    if (length == 4000 && AccessEH44Option(element, -1)) {
      mark = '4';
    } else if (length == 2000 && AccessED31Option(element, -1)) {
      mark = '1';
      if (neutralText.starts_with("8")) SetRefChar(text, 9, '8');
    } else {
      mark = '3';
    }
  } else if (grey && side == 4) {
    mark = 'G';
  }
  SetRefChar(text, 12, mark);
  SetRefChar(text, 13, grey && mark != 'G' && mark != ' ' ? 'G' : ' ');
  text.resize(reference.size());
  return text;
}
