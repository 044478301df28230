#include <algorithm>
#include <cstdint>

#include "app/message_text.h"
#include "linear/linear_notifier.h"
#include "reference/ref_line_edit.h"
#include "reference/ref_messages.h"

using Count = std::int64_t;

namespace {

bool IsQpWide(int kind) { return kind == 4 || kind == 8 || kind == 7; }

// The element lengths of a QYX line, in centimetres.
constexpr Count kQyxElement = 306, kQyxComplement = 153;

Count Divide(Count value, Count divisor) { return divisor > 0 ? value / divisor : 0; }

}  // namespace

int CRefLineEditContext::QyxExtraCentimetres(std::int32_t component36) {
  if (component36 <= 0) return 0;
  return component36 % 100;
}

void CRefLineEditContext::SetComponentCount(int component, Count value) {
  if (value > kMaxCount) m_overflow = true;
  const int held = static_cast<int>(std::clamp<Count>(value, 0, kMaxCount));
  const bool qfp = Kind() == 0;
  auto chosen = [&](RefFamily family) { return ChoiceOf(family) == component; };
  int control = 0;
  if ((component <= 1 || (component >= 28 && component <= 31)) && chosen(kFamilyFeed))
    control = kEditFeedCount;
  else if (component == 2) control = kEditEndClosureCount;
  else if (component >= 3 && component <= (qfp ? 8 : 5) && chosen(kFamilyStraight))
    control = kEditStraightCount;
  else if (!qfp && (component == 6 || component == 7) && chosen(kFamilyComplement))
    control = kEditComplementCount;
  else if (component == 8 && (Kind() == 1 || Kind() == 2)) control = kEditComponent8Count;
  else if (((component >= 9 && component <= 12) || component == 44) && chosen(kFamilyFixing))
    control = kEditFixingCount;
  else if (component >= 13 && component <= 15 && chosen(kFamilyLuminaireFixing))
    control = kEditLuminaireFixingCount;
  if (control != 0) edits[control] = held;
}

void CRefLineEditContext::StoreComponent(int component, Count value) {
  if (value > kMaxCount) m_overflow = true;
  m_line.components[static_cast<std::size_t>(component)] =
      static_cast<std::int32_t>(std::clamp<Count>(value, 0, kMaxCount));
}

void CRefLineEditContext::AddToComponent(const std::vector<int>& table, int component,
                                         Count amount) {
  if (component <= 0 || component >= CRefLine::kComponentCount || !Offered(table, component))
    return;
  StoreComponent(component, m_line.components[static_cast<std::size_t>(component)] + amount);
}

void CRefLineEditContext::ComputeComponentCounts(int which) {
  if (Kind() < 0 || Kind() >= kRefProductCount) return;
  const std::vector<int> table = GetChoiceTable(1);
  m_overflow = false;
  if (which == 0 || which == 1) CountFeed(table, which);
  if (which == 0 || which == 2) CountStraight(table);
  if (which == 0 || which == 3) CountFixings(table, which);
  if (which == 0 && Kind() == 0 && !m_line.sections.empty()) CountQfpSections(table);
  if (which == 0 && Kind() == 0 && m_line.sections.empty() && m_line.lineMode <= 9)
    CountQfpWithoutSections(table);
  if (m_overflow && m_notifier) m_notifier->ShowMessage(StringText(32165));
  m_overflow = false;
  if (which == 0) UpdateItemSlots();
  if (which == 5 && (Kind() == 1 || Kind() == 2)) DistributeItemSlots(5, true, true);
}

void CRefLineEditContext::CountFeed(const std::vector<int>& table, int which) {
  const int feed = ChoiceOf(kFamilyFeed), k = Kind();
  if (which == 0 && Offered(table, feed)) SetComponentCount(feed, 1);
  if (!Offered(table, 2)) return;
  const bool doubled = (IsQpWide(k) && feed == 1) ||
                       ((k == 1 || k == 2) && m_config.SpecialMode() == 2 && feed == 28);
  SetComponentCount(2, doubled ? 2 : 1);
}

void CRefLineEditContext::MeasureStraight(const std::vector<int>& table, StraightRun& run) {
  const int k = Kind(), special = m_config.SpecialMode(), straight = ChoiceOf(kFamilyStraight);
  const bool qy = k == 1 || k == 2;
  if (k == 0) {
    run.count = run.length;
    return;
  }
  if (k == kRefProductQYX) {
    run.count = run.centimetres / kQyxElement;
    return;
  }
  const bool complementOffered = Offered(table, ChoiceOf(kFamilyComplement));
  // The step is the length of the element the catalogue prices: 3 m for every straight
  // but the QYA and QYB elements of the special mode 2. A 5 m step over 3 m elements left
  // a third of a QPA line without elements.
  run.step = qy && special == 2 && straight == 3 ? 5 : 3;
  if (qy && (special == 1 || special == 2)) {
    const Count entered = run.length;
    run.length = (run.length + run.step - 1) / run.step * run.step;
    if (run.step == 5 && complementOffered && run.length - entered > 1) run.length -= 2;
  }
  run.count = run.length / run.step;
  if (run.count > 0 && run.length % run.step == 1 && complementOffered) --run.count;
}

// The elements that go on component 8 (QYA and QYB): all without a count, else those
// between the luminaires when they are far enough apart.
Count CRefLineEditContext::Component8Share(Count elements) const {
  if (count <= 0) return elements;
  const Count q = 3 * elements / count;
  if (q < 6 || elements <= 1 || m_line.components[8] < 0) return 0;
  return elements - (elements - 1) / (q / 3) - 1;
}

Count CRefLineEditContext::CountComplements(const std::vector<int>& table, const StraightRun& run) {
  const int k = Kind();
  if (k == 0 || !Offered(table, ChoiceOf(kFamilyComplement))) return 0;
  Count complements = 0;
  if (k == kRefProductQYX) {
    complements = (run.centimetres - run.count * kQyxElement) / kQyxComplement;
  } else {
    const Count rest = run.length - run.step * run.count;
    if (rest != 0 && rest % 3 == 0) {
      complements = rest / 3;
      if (IsQpWide(k)) Choice(kFamilyComplement) = 7;
    } else {
      complements = rest / 2;
    }
  }
  SetComponentCount(ChoiceOf(kFamilyComplement), complements);
  return complements;
}

CRefLineEditContext::RunMeasure CRefLineEditContext::MeasureRun() {
  const std::vector<int> table = GetChoiceTable(1);
  StraightRun run;
  run.length = std::max(0, m_line.length);
  run.centimetres = run.length * 100 + QyxExtraCentimetres(m_line.components[36]);
  RunMeasure measure{run.centimetres, 100};
  if (table.size() < CRefConfig::kStateCount || Kind() == 0) return measure;
  if (Kind() == kRefProductQYX) return {run.centimetres, kQyxElement};
  MeasureStraight(table, run);
  return {run.length * 100, run.step * 100};
}

void CRefLineEditContext::CountStraight(const std::vector<int>& table) {
  const int k = Kind();
  if (IsQpWide(k)) Choice(kFamilyComplement) = 6;
  StraightRun run;
  run.length = std::max(0, m_line.length);
  run.centimetres = run.length * 100 + QyxExtraCentimetres(m_line.components[36]);
  const int straight = ChoiceOf(kFamilyStraight);
  if (Offered(table, straight)) {
    MeasureStraight(table, run);
    Count c8 = 0;
    if ((k == 1 || k == 2) && Offered(table, 8)) {
      c8 = Component8Share(run.count);
      SetComponentCount(8, c8);
    }
    SetComponentCount(straight, run.count - c8);
  }
  const Count complements = CountComplements(table, run);
  if (k != 4 && k != 8) return;
  Count joints = 0;
  if (m_line.connection == 5) joints = run.count + complements;
  if (m_line.connection == 6) joints = Divide(count, run.step);
  StoreComponent(39, Offered(table, 39) ? joints : 0);
}

void CRefLineEditContext::CountFixings(const std::vector<int>& table, int which) {
  const int fixing = ChoiceOf(kFamilyFixing);
  if (Offered(table, fixing) && (which == 0 || which == 3)) {
    const Count spacing = m_line.fixingSpacing;
    // A line without a spacing has no fixing to count rather than a division by zero.
    const Count fixings = spacing > 0 ? Count{std::max(0, m_line.length)} * 100 / spacing + 1 : 0;
    SetComponentCount(fixing, fixings);
  }
  if (which != 0) return;
  const int luminaire = ChoiceOf(kFamilyLuminaireFixing);
  if (Offered(table, luminaire)) {
    SetComponentCount(luminaire, m_line.lineMode == 1 ? Count{count} * 2 : Count{count});
  } else if (m_line.lineMode == 3) {
    for (int c = 13; c <= 15; ++c) SetComponentCount(c, 0);
  }
}

void CRefLineEditContext::CountQfpSections(const std::vector<int>& table) {
  static constexpr std::array<int, 10> kTableA = {0, 0, 30, 31, 32, 33, 0, 34, 0, 35};
  static constexpr std::array<int, 6> kTableB = {0, 24, 0, 25, 0, 26};
  // Table B continues into table A: codes from 6 on read A from its start.
  auto a = [](int code) { return code >= 0 && code < 10 ? kTableA[code] : 0; };
  auto b = [&](int code) { return code >= 0 && code < 6 ? kTableB[code] : a(code - 6); };
  const bool mode10 = m_line.lineMode == 10;
  for (int c = 24; c <= 36; ++c)
    if (!(mode10 && c == 29)) m_line.components[static_cast<std::size_t>(c)] = 0;
  for (const CRefLineSection& section : m_line.sections) {
    const auto& v = section.values;
    const Count sa = v[0], sb = v[1], n = v[2];
    const int w = v[4], e = v[5], p = v[6], q = v[7], r = v[8], t = v[9];
    auto x = [&](int code) { return w == 1 ? a(code) : b(code); };
    AddToComponent(table, x(p), n);
    if (sb > 0) AddToComponent(table, x(r), n);
    if (mode10) {
      if (sa > 1) AddToComponent(table, 28, n * (sa - 1));
      if (sb > 1) AddToComponent(table, 28, n * (sb - 1));
      if (q != 0 && sa > 1) AddToComponent(table, a(q), n * (sa - 1));
      if (t != 0 && sb > 1) AddToComponent(table, a(t), n * (sb - 1));
      if (e == 2) AddToComponent(table, 36, (sa + sb) * n);
      continue;
    }
    if (sa > 1) AddToComponent(table, Offered(table, 28) && sa == 2 ? 28 : 29, n);
    if (sb > 1) AddToComponent(table, Offered(table, 28) && sb == 2 ? 28 : 29, n);
    if (q != 0 && sa > 0) AddToComponent(table, a(q), n * sa);
    if (t != 0 && sb > 1) AddToComponent(table, a(t), n * sb);
  }
}

void CRefLineEditContext::CountQfpWithoutSections(const std::vector<int>& table) {
  const bool mode2 = m_line.lineMode == 2;
  for (int c = 21; c <= 36; ++c)
    if (!mode2 || (c >= 24 && c != 28)) m_line.components[static_cast<std::size_t>(c)] = 0;
  if (!mode2 || (m_config.QfpPositions()[0] >= 0 && State48(table) >= 0)) return;
  for (int c : {25, 24, 26})
    if (Offered(table, c)) {
      StoreComponent(c, count);
      return;
    }
}
