#include "app/message_text.h"
#include "model/bom/bom_grid.h"
#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "model/props/dimension.h"
#include "model/document/run_document.h"
#include "ranges/qm/part_builder_qm.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace {

constexpr int kWalkBound = 65536;

bool IsJoint(const CDev* element) {
  return element != nullptr && element->GetKind() == CDev::kJoint;
}

// The whole number that follows the label in the text; 0 when absent.
int NumberAfter(std::string_view text, std::string_view label) {
  const std::size_t at = text.find(label);
  return at == std::string_view::npos ? 0 : TextToInt(text.substr(at + label.size()));
}

// The length code of a "CF" kit over the stretch L; empty for a length without one.
std::string_view CFLengthCode(char letter, std::int64_t length) {
  if (letter == 'T') {
    if (length >= 500 && length <= 1500) return "1A";
    if (length > 1500 && length < 2000) return "2B";
    if (length == 2000) return "20";
    if (length > 2000 && length <= 2500) return "2C";
    if (length > 2500 && length <= 3000) return "3D";
    if (length == 4000) return "40";
    return {};
  }
  if (length >= 2500 && length <= 3000) return "302";
  if (length > 3000 && length <= 3500) return "353";
  return {};
}

int KitBodyLength(int n) {
  switch (n) {
    case 201:
    case 301:
    case 351: return 1200;
    case 203: return 1800;
    case 302: return 1700;
    case 353: return 2200;
    case 403: return 3020;
    case 404: return 3750;
    default: return 200;
  }
}

bool TakesColourMark(const std::string& code) {
  static constexpr std::array<std::string_view, 15> kFamilies{
      "CP", "DB", "ET", "LC", "LP", "TC", "ZC", "ZP", "RL", "TN", "TP", "GK", "QL", "ES", "EH"};
  const std::string family = RefPairAt(code, 7);
  if (std::find(kFamilies.begin(), kFamilies.end(), family) != kFamilies.end()) return true;
  if (family == "ER") return RefCharAt(code, 10) == '1';
  const char twelfth = RefCharAt(code, 11), thirteenth = RefCharAt(code, 12);
  return family == "ED" && (twelfth == '0' || twelfth == '5') && thirteenth >= '1';
}

}  // namespace

void CPartBuilderQM::FinishPart(CDev& element, int position) {
  (void)position;
  // The pass starts with its first call whatever the element count: the base calls
  // active elements only, so a count-based start could be missed.
  if (!m_passStarted) {
    m_passStarted = true;
    m_packageBalance = -1;
    m_groupCounter = 0;
    m_jointCounter = 0;
    m_splitGroups.clear();
  }
  CountJoint(element);
  CDev* current = &element;
  CDev* tookOver = nullptr;
  const int kind = element.GetKind();
  if (kind == CDev::kElbow && RefPairAt(element.GetReference(), 5) == "ER") {
    tookOver = HandOverERCode(element);
    if (tookOver != nullptr) current = tookOver;
  }
  if (kind == CDev::kElbow) FinishMadeToMeasureElbow(element);
  if (kind == CDev::kInLine) {
    FinishCFKit(element);
    current = FinishKit(element);
  }
  if (kind == CDev::kEnd) FinishFeedUnit(element);
  if (tookOver != nullptr) MarkTakenOverCode(*tookOver);
  if (element.GetReference().starts_with("QMPackage")) FinishPackage(element);
  FinishCode(*current);
}

void CPartBuilderQM::CountJoint(const CDev& element) {
  if (element.GetKind() != CDev::kJoint || !element.IsActive() || element.GetBookedLength() == 0)
    return;
  const CDev* next = element.GetNeighbour(element.GetDirection());
  if (next != nullptr && (next->GetKind() != CDev::kEnd || next->GetBookedLength() > 0))
    ++m_jointCounter;
}

// The unit behind an "ER" elbow (past kits) books the elbow's part; the elbow keeps its
// default text without a line.
CDev* CPartBuilderQM::HandOverERCode(CDev& element) {
  const int back = element.GetBackFace();
  CDev* reached = element.GetNeighbour(back);
  std::unordered_set<const CDev*> seen{&element};
  for (int step = 0; reached != nullptr && reached->GetKind() == CDev::kInLine &&
                     step < kWalkBound && seen.insert(reached).second;
       ++step)
    reached = reached->GetNeighbour(back);
  if (reached == nullptr) return nullptr;
  const int v = reached->GetVariant();
  if (reached->GetKind() != CDev::kEnd || !(v == 2 || v == 3 || v == 5 || v == 7 || v == 20))
    return nullptr;
  reached->SetReference(element.GetReference());
  reached->SetBooked(1);
  element.SetReference(GetRun().GetKindText(CDev::kElbow, element.GetVariant()));
  element.SetBooked(0);
  return reached;
}

void CPartBuilderQM::FinishMadeToMeasureElbow(CDev& element) {
  const std::string& code = element.GetReference();
  if (RefCharAt(code, 5) != 'L' || RefCharAt(code, 8) != 'D') return;
  std::string copy = code;
  SetRefChar(copy, 8, 'B');
  const int a = NumberAfter(copy, "a="), b = NumberAfter(copy, "b=");
  std::int32_t lo = -1, hi = -1;
  ParseNumberList(m_qm.FindPartRow(std::string_view(copy).substr(0, kRefWidth)).texts[1], lo, hi);
  if (a != lo && b != lo) {
    SetRefChar(copy, 8, a > 0 ? 'E' : 'A');
  } else if (a > hi || b > hi) {
    return;
  } else if (a == lo && b == lo) {
    SetRefChar(copy, 8, 'A');
    const std::size_t at = copy.find("a=");
    if (at != std::string::npos) copy.erase(at);
    while (!copy.empty() && copy.back() == ' ') copy.pop_back();
  }
  Rebook(element, copy);
}

void CPartBuilderQM::FinishCFKit(CDev& element) {
  const std::string code = element.GetReference();
  if (code.size() <= 9 || RefPairAt(code, 8) != "CF") return;
  CDev* back = element.GetBackNeighbour();
  CDev* ahead = element.GetNeighbour(element.GetDirection());
  if (!IsJoint(back) || !IsJoint(ahead)) return;
  const std::int64_t length = std::int64_t{element.GetBookedLength()} + ahead->GetBookedLength();
  std::string copy = code;
  LayRefText(copy, 8, CFLengthCode(RefCharAt(code, 6), length));
  if (RefCharAt(copy, 8) != 'C' && !(RefCharAt(copy, 9) == '0' && RefCharAt(copy, 8) != '3'))
    copy += "l=" + std::to_string(length);
  CBOMGrid& bom = GetRun().GetBOM();
  if (element.GetBooked() != 0) bom.RemoveRefQuantity(code, 1);
  element.SetBooked(0);
  if (RefCharAt(copy, 8) == 'C') {
    element.SetReference(GetRun().GetKindText(CDev::kInLine, 1));
    return;
  }
  element.SetReference(copy);
  bom.AddRefQuantity(copy, 1);
  element.SetBooked(1);
  if (RefCharAt(code, 6) == 'D') {
    for (CDev* mounted : {&element, ahead})
      mounted->SetStyle((mounted->GetStyle() & ~0xF00u) | 0x300u);
  }
}

// Every kit ends as variant 0; one with a kit text books the kit's reference, on the
// joint ahead when that joint still has its default text.
CDev* CPartBuilderQM::FinishKit(CDev& element) {
  element.SetVariantBoth(0);
  if (element.GetFieldText("KITCF").value_or("").empty()) return &element;
  CDev* current = &element;
  CDev* ahead = element.GetNeighbour(element.GetDirection());
  const std::string& code = element.GetReference();
  if (code.size() > 10 && RefPairAt(code, 5) == "ED") {
    CKitLimits kit;
    GetChainEditor().ClampKitcf(element, kit);
    int n = TextToInt(std::string_view(code).substr(8, 3));
    if ((n == 203 || n == 302 || n == 353) && m_qm.AccessED31Option(element, -1))
      n = n / 10 * 10 + 1;
    const std::int64_t excess = std::int64_t{KitBodyLength(n)} + kit.values[0] / 2 -
                                (ahead != nullptr ? ahead->GetBookedLength() : 0) + kit.values[3];
    if (excess > 0) {
      const CRunDocument* document = GetRun().GetDocument();
      const std::string length =
          document != nullptr ? document->GetUnits().FormatLength(static_cast<double>(excess))
                              : std::to_string(excess);
      FormatPartLabel(&element, 6,
                      FormatMessageTextSSS(LookupText(kKitTooLongMessage), length,
                                           GetRun().GetKindText(CDev::kInLine, 1), "CF"),
                      0, 0);
      MarkInError(&element);
    }
  }
  CBOMGrid& bom = GetRun().GetBOM();
  if (element.GetBooked() != 0) {
    if (IsJoint(ahead) &&
        ahead->GetReference() == GetRun().GetKindText(CDev::kJoint, ahead->GetVariant())) {
      ahead->SetReference(element.GetReference());
      ahead->SetBooked(1);
      current = ahead;
    } else {
      bom.RemoveRefQuantity(element.GetReference(), 1);
    }
  }
  element.SetReference(m_qm.GetElementRef(80));
  bom.AddRefQuantity(element.GetReference(), 1);
  element.SetBooked(1);
  AssignGroupLines(element, m_groupCounter);
  return current;
}

// The last rules on the current code: the EH44 and ED31 options, the rating's long form
// and the colour mark; then the supports.
bool CPartBuilderQM::FinishCode(CDev& current) {
  std::string code = current.GetReference();
  const bool ed31Family = code.size() > 10 && RefPairAt(code, 5) == "ED";
  if (code.starts_with("QMA25E") && m_qm.AccessEH44Option(current, -1)) {
    std::string letters = code.substr(6, std::min<std::size_t>(5, code.size() - 6));
    while (!letters.empty() && letters.back() == ' ') letters.pop_back();
    if (letters.size() >= 2) letters[1] = '*';
    if (letters == "H*40") SetRefChar(code, 9, '4');
    if (letters == "D*403") SetRefChar(code, 10, '4');
  }
  const std::string step = code.size() > 10 ? code.substr(8, 3) : std::string();
  if (ed31Family && (step == "203" || step == "302" || step == "353") &&
      m_qm.AccessED31Option(current, -1)) {
    SetRefChar(code, 10, '1');
    if (step == "203" && m_qm.GetPropText("Neutral") == "8") SetRefChar(code, 7, '8');
  }
  if (code.starts_with("QMA25ES") && current.GetKind() == CDev::kEnd) LayRefText(code, 2, "C32");
  if (current.GetKind() == CDev::kJunction2) --m_packageBalance;
  std::string expanded = code;
  if (!m_qm.ExpandRatingRef(expanded)) {
    Rebook(current, code);
    return false;
  }
  // The code's line moves once, to its final text: a move through the option-rewritten
  // text would add and remove a line for nothing.
  if (m_qm.GetPropText("RAL") == "7035" && !expanded.ends_with('G') && TakesColourMark(expanded)) {
    const std::size_t blank = expanded.find(' ');
    if (blank == std::string::npos) {
      expanded += 'G';
    } else {
      expanded[blank] = 'G';
    }
  }
  Rebook(current, expanded);
  SetSupportCodes(current);
  AssignGroupLines(current, m_groupCounter);
  return true;
}

CThermalCounts ThermalCounts(std::string_view text, int joints, bool twin) {
  CThermalCounts counts;
  std::array<int, 4> values{};
  std::size_t at = 0;
  for (std::size_t i = 0; i < values.size() && at <= text.size(); ++i) {
    values[i] = std::max(ReadBoundedInt(text.substr(at), CPartBuilderQM::kMaxCount), 0);
    const std::size_t slash = text.find('/', at);
    if (slash == std::string_view::npos) break;
    at = slash + 1;
  }
  if (values[0] <= 0) return counts;
  const int cap = CPartBuilderQM::kMaxCount;
  int a = values[1], b = values[2], c = values[3];
  if (values[0] == 1) {
    a = std::min(cap, twin ? 2 * joints : joints);
    b = (2 * a + 39) / 40;
    c = (b + 7) / 8;
  }
  counts.first = std::clamp(a, 0, cap);
  counts.second = std::clamp(b, 0, cap);
  counts.third = std::clamp(c, 0, cap);
  return counts;
}

void CPartBuilderQM::FinishSecondPass() {
  if (!m_passStarted) {
    m_packageBalance = -1;
    m_groupCounter = 0;
    m_jointCounter = 0;
  }
  AddEndAccessories();
  m_passStarted = false;
}

// The end accessories of a twin run are listed by its single runs, as its parts are. The
// group is the one the split finds or gives out: raising the counter before it would
// leave a number unused.
void CPartBuilderQM::SplitEndAccessories() {
  const std::string end = m_qm.GetElementRef(10);
  const std::vector<CDev*> devices = GetRun().GetDevices();
  for (auto device = devices.rbegin(); device != devices.rend(); ++device) {
    if ((*device)->GetKind() == CDev::kAccessory && (*device)->GetActive() != 0 &&
        (*device)->GetReference() == end)
      AssignGroupLines(**device, m_groupCounter);
  }
}

// After the last element: end accessories for the packages short, and the thermal
// accessories.
void CPartBuilderQM::AddEndAccessories() {
  CRun& run = GetRun();
  if (m_packageBalance < 0) run.AddAccessoryParts(10, std::min(-m_packageBalance, kMaxCount), {});
  if (m_twin) SplitEndAccessories();
  const CThermalCounts thermal = ThermalCounts(run.GetPropText("THERMAL"), m_jointCounter, m_twin);
  if (thermal.first > 0) run.AddAccessoryParts(130, thermal.first, {});
  if (thermal.second > 0) run.AddAccessoryParts(131, thermal.second, {});
  if (thermal.third > 0) run.AddAccessoryParts(132, thermal.third, {});
}
