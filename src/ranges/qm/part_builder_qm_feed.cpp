#include "app/message_text.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "ranges/qm/part_builder_qm.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::string_view kTwoGroupParameters = "a=50,b=25,c=25,d=50,e=2,f=2,y=25";

int BoundedInt(std::string_view text) { return ReadBoundedInt(text, CPartBuilderQM::kMaxCount); }

int CoverKind(int capot) {
  if (capot == 10) return 13;
  if (capot >= 11 && capot <= 15) return capot + 4;
  if (capot == 20) return 62;
  return 0;
}

}  // namespace

int ReadBoundedInt(std::string_view text, int cap) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  std::int64_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    value = std::min<std::int64_t>(value * 10 + (text[at] - '0'), cap);
  return static_cast<int>(negative ? -value : value);
}

CQMClinqValues ReadQMClinq(std::string_view text) {
  CQMClinqValues values;
  const std::size_t colon = text.find(':');
  const std::string_view numbers = text.substr(0, colon);
  if (colon != std::string_view::npos) values.parameters = std::string(text.substr(colon + 1));
  std::array<int*, 4> slots{&values.n, &values.p1, &values.p2, &values.p3};
  std::size_t at = 0;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    *slots[i] = BoundedInt(numbers.substr(at));
    const std::size_t slash = numbers.find('/', at);
    if (slash == std::string_view::npos) break;
    at = slash + 1;
  }
  values.n -= 1;
  return values;
}

std::string SecondGroupText(std::string_view text) {
  const std::optional<int> c = QMParameterValue(text, "c=");
  const std::optional<int> d = QMParameterValue(text, "d=");
  if (!c || !d) return {};
  const int f = std::max(QMParameterValue(text, "f=").value_or(1), 1);
  const int y = QMParameterValue(text, "y=").value_or(0);
  std::string second = WithQMParameter(std::string(text), "c=", *d);
  return WithQMParameter(std::move(second), "y=", std::min(y * f, CPartBuilderQM::kMaxCount));
}

void CPartBuilderQM::FinishFeedUnit(CDev& element) {
  if (element.GetKind() != CDev::kEnd) return;
  std::string group;
  if (GroupsInUse()) {
    ++m_groupCounter;
    group = " \nGroup=" + std::to_string(m_groupCounter);
  }
  bool added = false;
  switch (element.GetVariant()) {
    case 0:
    case 1: ++m_packageBalance; break;
    case 2:
    case 3:
    case 6: {
      CQMClinqValues clinq = ReadQMClinq(element.GetFieldText("CLINQ").value_or(""));
      added = AddCover(element, group);
      added = AddTapOffFittings(element, group, clinq) || added;
      added = AddFurtherFittings(element, group, clinq) || added;
      break;
    }
    case 5:
      if (GetRun().AddAccessoryParts(12, 1, group) != 0) {
        added = true;
        element.SetFieldText("POS1", "07" + m_qm.GetElementRef(12) + group);
      }
      break;
    case 7:
    case 9: added = AddAdapter(element, group); break;
    case 20: added = AddTransformerConnection(element, group); break;
    default: break;
  }
  if (!group.empty()) {
    if (!added) {
      --m_groupCounter;
    } else {
      PlaceGroupText(element, group);
    }
  }
}

// A connection box that took over an "ER" elbow's code books it as its own piece.
void CPartBuilderQM::MarkTakenOverCode(CDev& element) {
  if (element.GetVariant() == 3 && element.GetBooked() != 0) {
    std::string code = element.GetReference();
    for (int replaced = 0, i = 0; replaced < 2 && i < static_cast<int>(code.size()); ++i) {
      if (code[static_cast<std::size_t>(i)] != ' ') continue;
      code[static_cast<std::size_t>(i)] = replaced == 0 ? 'S' : 'P';
      ++replaced;
    }
    Rebook(element, code);
  }
}

// The group text goes on the unit's own code, or on the "ER" elbow ahead of it that
// books the unit's part.
void CPartBuilderQM::PlaceGroupText(CDev& element, const std::string& group) {
  if (element.GetReference().starts_with("QM")) {
    Rebook(element, element.GetReference() + group);
    return;
  }
  CDev* ahead = element.GetNeighbour(element.GetDirection());
  if (ahead != nullptr && ahead->GetKind() == CDev::kInLine)
    ahead = ahead->GetNeighbour(ahead->GetDirection());
  if (ahead != nullptr && ahead->GetKind() == CDev::kElbow &&
      RefPairAt(ahead->GetReference(), 5) == "ER")
    Rebook(*ahead, ahead->GetReference() + group);
}

bool CPartBuilderQM::AddCover(CDev& element, const std::string& group) {
  const int capot = BoundedInt(element.GetFieldText("CAPOT").value_or(""));
  if (capot == 16 || capot == 17) element.SetFieldText("CAPOT", "");
  const int kind = CoverKind(capot);
  if (kind == 0) return false;
  const std::string parameters = m_references.FormatPartParams(element, 'C');
  if (GetRun().AddAccessoryParts(kind, 1, parameters + group) == 0) return false;
  element.SetFieldText("POS1", "03" + m_qm.GetElementRef(kind) + parameters);
  return true;
}

bool CPartBuilderQM::AddTapOffFittings(CDev& element, const std::string& group,
                                       CQMClinqValues& clinq) {
  const int n = clinq.n;
  if (n <= 0) return false;
  const std::string catalog = m_qm.GetPropText("Catalog");
  const std::string calibre = m_qm.GetPropText("Calibre");
  if (n < 6 && clinq.p3 < 2 && catalog == "QMC") clinq.p3 += 2;
  int f = std::clamp(TextToInt(calibre), 0, kMaxCount) / 10;
  if (f == 6) f = 7;
  if (n < 6) {
    ++f;
  } else {
    if ((f == 1 && calibre != "10") || calibre == "25" || f == 7) ++f;
    if (m_twin && f == 5) f = 6;
  }
  if (m_twin && element.GetVariant() == 6) {
    if (n != 5) {
      element.SetFieldText("CLINQ", "");
      return false;
    }
    f = f == 8 ? 12 : 10;
  }
  int p3 = clinq.p3;
  std::string parameters = clinq.parameters;
  if (n == 2 || n == 4) {
    p3 = 2;
    parameters = std::string(kTwoGroupParameters);
  }
  int kind = 31;
  if (n <= 2) kind = 141 + p3;
  else if (n <= 4) kind = 151 + p3;
  else if (n == 5) kind = 161 + p3 + (clinq.p1 == 600 ? 1 : 0);
  if (f == 0) return false;
  const int poles = m_qm.GetPropText("Neutral") == "3" ? 3 : 4;
  // Fittings of the first families without parameters say that these are to come.
  if (parameters.empty() && kind >= 141 && kind <= 159)
    parameters = LookupText(kFittingTextMessage);
  std::string text = n < 5 ? "l=" + std::to_string(clinq.p1) : std::string();
  if (!text.empty() && !parameters.empty()) text += ",";
  text += parameters;
  const bool splittable = n == 3 && !clinq.parameters.empty();
  const bool added = AddFittingPacks(kind, f, poles, text, splittable, group);
  if (!added) return false;
  element.SetFieldText("POS2", "02" + m_qm.GetElementRef(kind) + text);
  return true;
}

// A one-sided fitting whose text places a second group lays its bars in two packs: f - f/2
// and f/2 a pole.
bool CPartBuilderQM::AddFittingPacks(int kind, int f, int poles, const std::string& text,
                                     bool splittable, const std::string& group) {
  CRun& run = GetRun();
  const int count = std::min(f * poles, kMaxCount);
  const std::string second = splittable && f >= 2 ? SecondGroupText(text) : std::string();
  if (second.empty() || second == text)
    return run.AddAccessoryParts(kind, count, text + group) != 0;
  const int firstCount = std::min((f - f / 2) * poles, kMaxCount);
  const bool first = run.AddAccessoryParts(kind, firstCount, text + group) != 0;
  return run.AddAccessoryParts(kind, count - firstCount, second + group) != 0 || first;
}

bool CPartBuilderQM::AddFurtherFittings(CDev& element, const std::string& group,
                                        const CQMClinqValues& clinq) {
  const int variant = element.GetVariant();
  const int m = CRunQM::ConnectionMode(element);
  const int d = element.GetDirection(), r = element.GetRotation();
  const bool vertical = d == 2 || d == 3;
  bool endFlag = false;
  if (variant == 6) {
    if (m == 1 || m == 2) endFlag = !vertical && r != 16 && r != 64;
    if (m == 3) endFlag = vertical;
    if (m_twin && m == 1) endFlag = !vertical && r != 32 && r != 128;
  }
  const int n = clinq.n, p2 = clinq.p2;
  const int kind = n > 2 ? 44 : (n > 0 ? 43 : 42);
  int count = p2 > 3 || (p2 == 3 && n < 3) ? 2 : 1;
  CRun& run = GetRun();
  bool added = false;
  auto add = [&](int k, int c) { added = run.AddAccessoryParts(k, c, group) != 0 || added; };
  if (endFlag && (kind == 44 || n < 0)) {
    add(41, 1);
    --count;
  }
  if (p2 != 0 && count > 0) add(kind, count);
  if (n > 2 && (p2 == 2 || p2 == 5)) add(52, 1);
  if (n > 2 && (p2 == 3 || p2 == 6)) add(53, 1);
  if ((n == 1 || n == 2) && (p2 == 2 || p2 == 4)) add(51, 1);
  if (variant == 6) {
    const bool flag = m == 1 ? (r == 16 || r == 64) : (m == 2 ? vertical : endFlag);
    if (flag) add(4, m_twin ? 4 : 2);
  }
  return added;
}

bool CPartBuilderQM::AddAdapter(CDev& element, const std::string& group) {
  int mode = 1;
  m_qm.CrossRangeAdapters(element, mode);
  const int index = mode;
  if (index <= 0) return false;
  const std::string reference = m_qm.GetElementRef(90 + index);
  if (element.GetVariant() == 9) {
    if (!reference.empty()) Rebook(element, reference);
    return false;
  }
  if (GetRun().AddAccessoryParts(90 + index, 1, group) == 0) return false;
  element.SetFieldText("POS1", "07" + reference + group);
  return true;
}
