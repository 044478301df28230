#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/run_document.h"
#include "ranges/qp/run_qp.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

namespace {

bool ReplaceEnd(std::string& text, std::string_view from, std::string_view to) {
  if (!text.ends_with(from)) return false;
  text.replace(text.size() - from.size(), from.size(), to);
  return true;
}

// The number after the key ("A=") in the element's parameter text; -1 when absent.
int ParameterValue(std::string_view text, std::string_view key) {
  const std::size_t at = text.find(key);
  return at == std::string_view::npos ? -1 : TextToInt(text.substr(at + key.size()));
}

// The length code that places 8-9 of a straight's reference give for its length.
std::string_view LengthCode(std::int64_t length) {
  switch (length) {
    case 5000: return "50";
    case 3000: return "30";
    case 2000: return "20";
    case 1500: return "15";
    default: return {};
  }
}

}  // namespace

std::string CRunQP::GetDeviceTextForSide(const CDev& device, int side) const {
  const std::string& reference = device.GetReference();
  if (device.GetVariantIndex() == side) return reference;
  const bool upper = m_upperCase != 0;
  // A damaged or short reference has no family to take over.
  if (reference.size() < 3 || side < 0) return std::string();
  std::size_t from = 5;
  if (upper) from = std::string_view(reference).substr(3).starts_with("1000") ? 7 : 6;
  if (reference.size() < from + 5) return std::string();
  std::string text = reference.substr(0, 3) + GetPropText("Calibre").substr(0, 2);
  text.resize(5, ' ');
  text += reference.substr(from, 5) + "  ";
  const std::int64_t length = device.GetChainLength(-1, false);
  const std::string family = RefPairAt(text, 5);
  const bool knownFamily = family == "ED" || family == "ET" || family == "EV" ||
                           (!upper && (family == "EA" || family == "EL"));
  if (LengthCode(length).empty() || RefPairAt(text, 8) != LengthCode(length) || !knownFamily)
    return std::string();
  const std::string neutralText = upper && m_a == 0 ? "4" : GetPropText("Neutral");
  const char neutral = neutralText.empty() ? ' ' : neutralText[0];
  const int calibre = GetRating();
  const bool c = m_a == 0;
  int which = side;
  if (neutral == '3' && (side == 1 || side == 2) && length > 2000)
    which = calibre < 40 || (calibre == 40 && upper) ? 2 : 1;
  switch (which) {
    case 0:
      if ((c && length == 5000) || (upper && (length < 3000 || (c && length != 3000))))
        return std::string();
      LayRefText(text, 6, "T4");
      if (upper && calibre < 40) LayRefText(text, 3, "40");
      if (!upper && length != 3000 && calibre < 25) LayRefText(text, 3, "25");
      break;
    case 1:
      if (c && length == 5000) return std::string();
      SetRefChar(text, 6, 'D');
      if (length > 2000) {
        SetRefChar(text, 7, neutral);
        if (upper && length == 5000) LayRefText(text, 10, "10");
        if (upper && length == 3000) SetRefChar(text, 10, '6');
        if (!upper && calibre < 40) SetRefChar(text, 6, 'L');
      } else if (upper) {
        SetRefChar(text, 10, calibre <= 40 && length == 2000 ? '8' : '6');
        if (calibre > 40 && length == 1500) SetRefChar(text, 10, '4');
        if (calibre < 25) LayRefText(text, 3, "25");
        if (calibre == 50) LayRefText(text, 3, "63");
        if (calibre == 80) LayRefText(text, 3, "99");
      } else {
        if (calibre < 25) LayRefText(text, 3, "25");
        if (calibre == 40) LayRefText(text, 3, "50");
        if (calibre == 63) LayRefText(text, 3, "80");
      }
      break;
    case 2:
      if ((!upper && m_a == 0) || length < 3000) return std::string();
      SetRefChar(text, 6, 'D');
      SetRefChar(text, 7, neutral);
      if (!upper && calibre >= 40) SetRefChar(text, 6, 'L');
      if (upper)
        LayRefText(text, 10,
                   calibre <= 40 ? (length == 5000 ? "20" : "12") : (length == 5000 ? "18" : "10"));
      break;
    case 3:
      if (length == 5000 || (upper && length != 2000)) return std::string();
      LayRefText(text, 6, "V4");
      if (upper) {
        SetRefChar(text, 10, '3');
        if (calibre == 16) LayRefText(text, 3, "25");
      }
      break;
    default: return std::string();
  }
  text.erase(text.find_last_not_of(' ') + 1);
  ExpandRatingInRef(text);
  return text;
}

int CRunQP::AccessOption(CDev* element, int mode) {
  // Only elbows, joints and in-line units can hold the option: the rest are answered
  // before their referenced element is looked for (this runs for every element drawn).
  if (GetPartsState() == 0 || element == nullptr || m_upperCase == 0 || m_a == 0) return 0;
  const int kind = element->GetKind();
  if (kind != CDev::kElbow && kind != CDev::kJoint && kind != CDev::kInLine) return 0;
  if (GetPropText("QP_STEP") == "0") return 0;
  CDev* holder = element->FindReferencedElement();
  if (holder == nullptr) return 0;
  const std::string& full = holder->GetReference();
  const std::size_t cut = full.find(' ');
  std::string code = full.substr(0, cut);
  const std::string rest = cut == std::string::npos ? std::string() : full.substr(cut);
  if (code.size() < 10 || !code.starts_with("QPA")) return 0;
  std::string expanded = code;
  ExpandRatingInRef(expanded);
  const int rating = TextToInt(std::string_view(expanded).substr(3, 4));
  if (rating != 250 && rating != 400 && rating != 630 && rating != 1000) return 0;
  const std::size_t familyAt = rating == 1000 ? 7 : 6;
  const std::string family = expanded.substr(std::min(familyAt, expanded.size()));
  std::string changed = expanded;
  int state = 0;
  if (kind == CDev::kElbow && family.starts_with("DL")) {
    if (expanded.ends_with("4AM") || expanded.ends_with("CFM")) state = 1;
    for (std::string_view end : {"41A", "42A", "43A", "41F", "42F", "43F"}) {
      if (expanded.ends_with(end)) state = -1;
    }
    if (state == 1 && mode == -1) {
      changed.pop_back();
      const std::size_t dlc = changed.find("DLC", familyAt);
      const int turn = GetTurnCode(*element, element->GetBackFace(), -1, 0);
      if (dlc != std::string::npos) changed.replace(dlc, 3, turn == 1 ? "DLL" : "DLR");
      const int norm = rating > 400 ? 300 : 250;
      const std::string digit = ParameterValue(rest, "A=") == norm   ? "1"
                                : ParameterValue(rest, "B=") == norm ? "2"
                                                                     : "3";
      if (!ReplaceEnd(changed, "4A", "4" + digit + "A"))
        ReplaceEnd(changed, "4CF", "4" + digit + "F");
    } else if (state == -1 && mode == 1) {
      for (std::string_view side : {"DLL", "DLR"}) {
        const std::size_t at = changed.find(side, familyAt);
        if (at != std::string::npos) changed.replace(at, 3, "DLC");
      }
      for (std::string_view end : {"41A", "42A", "43A"}) ReplaceEnd(changed, end, "4A");
      for (std::string_view end : {"41F", "42F", "43F"}) ReplaceEnd(changed, end, "4CF");
      changed.push_back('M');
    }
  } else if ((kind == CDev::kJoint || kind == CDev::kInLine) && family.starts_with("ET")) {
    if (family == "ET4AM" || family == "ET4AFM") state = 1;
    if (family == "ET43A" || family == "ET43AF") state = -1;
    const std::string wanted = mode == 1 ? (family == "ET43A" ? "ET4AM" : "ET4AFM")
                                         : (family == "ET4AM" ? "ET43A" : "ET43AF");
    if (state != 0 && mode != 0 && mode != state) changed = expanded.substr(0, familyAt) + wanted;
  }
  if (mode == 0 || mode == state || state == 0 || changed == expanded) return state;
  if (CRunDocument* document = GetDocument()) document->SaveUndoState(kUndoOption);
  const std::string replaced = changed + rest;
  GetBOM().RemoveRefQuantity(full, 1);
  holder->SetReference(replaced);
  GetBOM().AddRefQuantity(replaced, 1);
  return mode;
}
