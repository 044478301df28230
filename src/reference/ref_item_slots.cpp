#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "reference/ref_line_edit.h"

namespace {

constexpr int kSpreadProtection = 54;
constexpr int kSpreadSlot = 96;  // a line spread over three tap-off slots starts here

bool ValidSlot(int slot) { return slot >= 0 && slot < CRefLine::kSlotCount; }

std::int32_t SlotValue(int units, std::int32_t high) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) & 0xFFFF0000u) |
                                   static_cast<std::uint32_t>(std::clamp(units, 0, 9999)));
}

int UnitsOf(const std::array<std::int32_t, CRefLine::kSlotCount>& slots) {
  int units = 0;
  for (std::int32_t slot : slots) units += CRefLine::SlotUnits(slot);
  return units;
}

// How mode 5 spreads a line over the slots 0-3, by connection code; 6 takes two thirds.
std::array<int, 4> Divisors(int connection, int conductors) {
  switch (connection) {
    case 0:
      return conductors >= 2 ? std::array<int, 4>{6, 0, 3, 0} : std::array<int, 4>{1, 0, 0, 0};
    case 1: return {2, 0, 2, 0};
    case 2: return {3, 3, 3, 0};
    case 3: return {0, 0, 0, 1};
    default: return {0, 0, 0, 0};
  }
}

}  // namespace

void CRefLineEditContext::TallyItemSlots() {
  m_line.slots.fill(0);
  const CRefConfig::Record& qfp = m_config.Connection(0);
  const auto& positions = m_config.QfpPositions();
  const int spreadSlot = qfp[2] & 0xFFFF;
  auto add = [&](int slot, std::int64_t units) {
    if (!ValidSlot(slot)) return;
    std::int32_t& value = m_line.slots[static_cast<std::size_t>(slot)];
    value = SlotValue(
        static_cast<int>(std::clamp<std::int64_t>(CRefLine::SlotUnits(value) + units, 0, 9999)),
        value);
  };
  if (m_line.lineMode == 2) {
    const bool own = positions[0] >= 0 && State48(GetChoiceTable(1)) >= 0;
    add(own ? positions[0] : spreadSlot, count);
    return;
  }
  for (const CRefLineSection& section : m_line.sections) {
    const int n = section.values[2], p = section.values[3], w = section.values[4];
    if (p < 1 || p > 5) continue;
    const int slot = w == 2 && p == 1 ? spreadSlot
                     : w == 2         ? positions[static_cast<std::size_t>(p + 3)]
                                      : positions[static_cast<std::size_t>(p - 1)];
    add(slot, n);
  }
}

void CRefLineEditContext::SpreadEvenly() {
  const int c = m_line.connection;
  if (c < 0 || c > 4) return;
  const int n = std::clamp(count, 0, kMaxCount);
  const std::array<int, 4> divisors = Divisors(c, m_line.conductors);
  m_line.slots.fill(0);
  std::array<int, 4> units{};
  int rest = -1;
  for (std::size_t i = 0; i < 4; ++i) {
    const int d = divisors[i];
    if (d <= 0) continue;
    units[i] = d == 6 ? 2 * (n / 3) : n / d;
    if (rest < 0) rest = d == 6 ? n % 3 : n % d;
  }
  for (std::size_t i = 0; rest > 0; i = (i + 1) % 4)
    if (divisors[i] > 0) ++units[i], --rest;
  for (std::size_t i = 0; i < 4; ++i)
    if (divisors[i] > 0) m_line.slots[i] = SlotValue(units[i], kSpreadProtection << 16);
  ShowDistribution(UnitsOf(m_line.slots));
}

// Puts the whole count on the slot of a position code (its high 16 bits kept), or over
// the three phase slots of a spread line. False when a spread four-pole line takes none.
bool CRefLineEditContext::PlaceCount(std::int32_t code) {
  m_line.slots.fill(0);
  if (count < 1) return true;
  const int n = std::min(count, kMaxCount);
  const int slot = code & 0xFFFF;
  if (slot == kSpreadSlot && connectionFlag && m_line.conductors == 3) return false;
  if (slot == kSpreadSlot && connectionFlag) {
    for (int i = 0; i < 3; ++i)
      m_line.slots[static_cast<std::size_t>(kSpreadSlot + i)] =
          SlotValue(n / 3 + (i < n % 3 ? 1 : 0), code);
  } else if (ValidSlot(slot)) {
    m_line.slots[static_cast<std::size_t>(slot)] = SlotValue(n, code);
  }
  return true;
}

void CRefLineEditContext::DistributeItemSlots(int mode, bool on, bool record) {
  if (mode == 5) return SpreadEvenly();
  CRefConfig::Record& r = m_config.Connection(ConnectionRecordIndex());
  const int state48 = State48(GetChoiceTable(1));
  int p = 0;
  if (on && (mode == 1 || mode == 2 || mode == 6)) {
    if (mode == 1) p = state48 > 0 ? 1 : 2;
    if (mode == 2) p = 2;
    if (!PlaceCount(mode == 6 ? lightingFixingCode : r[static_cast<std::size_t>(p)])) return;
  } else {
    m_line.slots.fill(0);
  }
  if (record) {
    checks[kCheckPosition1] = p == 1;
    checks[kCheckPosition2] = p == 2;
    if (p == 2 && r[1] > 0 && state48 <= 0) p = 1;
    if (!(r[0] > 0 && r[0] % 111 == 0)) r[0] = p;
  }
  ShowDistribution(UnitsOf(m_line.slots));
}

void CRefLineEditContext::ShowDistribution(int units) {
  if (m_quietDisplay) return;
  char text[32];
  if (m_line.group == 3)
    std::snprintf(text, sizeof text, units > 999 || count > 999 ? "%d/%d" : "%d / %d", units,
                  count);
  else std::snprintf(text, sizeof text, "%d", units);
  texts[kStaticDistribution] = text;
}

void CRefLineEditContext::UpdateDistributionChecks() {
  const CRefConfig::Record& r = m_config.Connection(ConnectionRecordIndex());
  if (r[0] < 0) return;
  const auto saved = m_line.slots;
  m_quietDisplay = true;
  for (int position : {1, 2}) {
    if (r[static_cast<std::size_t>(position)] <= 0) continue;
    DistributeItemSlots(position, true, false);
    checks[position == 1 ? kCheckPosition1 : kCheckPosition2] = m_line.slots == saved && count > 0;
    m_line.slots = saved;
  }
  m_quietDisplay = false;
}

void CRefLineEditContext::UpdateItemSlots() {
  const int k = Kind();
  if (k == 0 && m_line.lineMode > 1) return TallyItemSlots();
  if (lightingFixingCode != 0) {
    if (k != kRefProductQYX) return DistributeItemSlots(6, true, false);
    const int v = Edit(kEditStraightCount) * 2 + Edit(kEditComplementCount);
    for (int bit = 0; bit < 3; ++bit)
      if (lightingFixingCode & (1 << bit))
        m_line.components[static_cast<std::size_t>(16 + bit)] = v;
    return;
  }
  const CRefConfig::Record& r = m_config.Connection(ConnectionRecordIndex());
  const int c = r[0];
  const int p = c > 0 && c % 111 == 0 ? c / 111 : c;
  if (p >= 1 && p <= 4 && r[static_cast<std::size_t>(p)] > 0) DistributeItemSlots(p, true, false);
}
