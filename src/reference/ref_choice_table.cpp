#include <algorithm>

#include "reference/ref_line_edit.h"

namespace {

void Withdraw(std::vector<int>& table, std::initializer_list<int> components) {
  for (int c : components) table[static_cast<std::size_t>(c)] = 0;
}

void Move(int& choice, int from, int to) {
  if (choice == from) choice = to;
}

bool IsQp(int kind) { return kind == 4 || kind == 8 || kind == 5 || kind == 7; }

}  // namespace

CRefLineEditContext::CRefLineEditContext(CRefConfig& config, CRefLine& line,
                                         CLinearNotifier* notifier)
    : m_config(config), m_line(line), m_notifier(notifier) {}

int CRefLineEditContext::Edit(int control) const {
  const auto found = edits.find(control);
  return found == edits.end() ? 0 : found->second;
}

bool CRefLineEditContext::Checked(int control) const {
  const auto found = checks.find(control);
  return found != checks.end() && found->second;
}

bool CRefLineEditContext::Offered(const std::vector<int>& table, int component) const {
  return component >= 0 && static_cast<std::size_t>(component) < table.size() &&
         table[static_cast<std::size_t>(component)] != 0;
}

std::vector<int> CRefLineEditContext::GetChoiceTable(int kind) {
  if (Kind() < 0 || Kind() >= kRefProductCount) return {};
  const CRefProductOptions& options = m_config.Product(Kind());
  switch (kind) {
    case 1: {
      std::vector<int> table(options.states.begin(), options.states.end());
      ReduceComponents(table);
      return table;
    }
    case 2: {
      std::vector<int> table(options.ratings.begin(), options.ratings.end());
      for (int& rating : table)
        if (rating > options.CalMax()) rating = 0;
      return table;
    }
    case 3: {
      const auto flags = ref_defaults::ConnectionFlags(Kind(), m_config.SpecialMode());
      return {flags.begin(), flags.end()};
    }
    case 4: return {options.optionSlots.begin(), options.optionSlots.begin() + 8};
    default: return {};
  }
}

void CRefLineEditContext::ReduceQy(std::vector<int>& table) {
  const int r = m_line.rating, c = m_line.connection;
  if (Kind() == 1 && m_config.SpecialMode() != 2 && r > 0 && !(r == 25 && c == 0)) {
    Withdraw(table, {3, 0});
    Move(Choice(kFamilyStraight), 3, 4);
    Move(Choice(kFamilyFeed), 0, 1);
  }
  if (Kind() == 1 && c >= 0 && c != 0 && c != 2 && c != 7) {
    Withdraw(table, {5});
    Move(Choice(kFamilyStraight), 5, 4);
  }
  if (c > 0) Withdraw(table, {8});
  if (ChoiceOf(kFamilyFixing) != 44) table[39] = table[40] = 1;
}

void CRefLineEditContext::ReduceQp(std::vector<int>& table) {
  const int r = m_line.rating, k = Kind();
  const int limit = k == 4 || k == 8 ? 400 : 250;
  int& feed = Choice(kFamilyFeed);
  if (r > 100) Withdraw(table, {29}), Move(feed, 29, 0);
  if (r <= limit) {
    Withdraw(table, {28});
    Move(feed, 28, table[29] > table[0] ? 29 : 0);
  }
  if (r > 400) {
    Withdraw(table, {30, 31});
    Move(feed, 30, 0), Move(feed, 31, 0);
  }
  if (r == 1000) m_line.components[8] = 0, Withdraw(table, {8});
  if (r > limit) Withdraw(table, {44}), Move(Choice(kFamilyFixing), 44, 9);
  if (ChoiceOf(kFamilyFixing) != 9) table[37] = table[38] = 1;
  if (k == 8 && r < 400) Withdraw(table, {1}), Move(feed, 1, 0);
}

void CRefLineEditContext::ReduceComponents(std::vector<int>& table) {
  const int k = Kind(), r = m_line.rating, c = m_line.connection;
  const int special = m_config.SpecialMode();
  if (k == 1 || k == 2) ReduceQy(table);
  if (k == 3 && r > 0) {
    if (r == 160 || c == 2) {
      Withdraw(table, {5, 23});
      Move(Choice(kFamilyStraight), 5, 3);
      m_line.components[23] = 0;
    }
    if (c != 2) Withdraw(table, {26}), m_line.components[26] = 0;
  }
  if (IsQp(k)) ReduceQp(table);
  if ((m_line.extraCode == 1 && connectionFlag) || (k == 0 && m_line.lineMode > 9))
    Withdraw(table, {48});
  if (k == 0 && m_line.lineMode < 10) Withdraw(table, {50});
  if (special == 3 && k <= 2 && c == 7) table[48] = -1;
  if (special == 2 && (k == 1 || k == 2) && m_line.conductors > 1) {
    Withdraw(table, {0, 17});
    Move(Choice(kFamilyFeed), 0, 1);
    m_line.components[17] = 0;
  }
  if (m_line.lineMode == 3) {
    Withdraw(table, {13, 14, 15});
    std::copy(m_config.QyaPairs().begin(), m_config.QyaPairs().end(), table.begin() + 48);
  }
}

void CRefLineEditContext::ApplyLineDefaults(const CRefLine& line) {
  static constexpr std::array<std::array<int, 6>, kRefProductCount> kParams = {{
      {120, 135, 150, 240, 270, 300},
      {2, 3, 5, 2, 3, 0},
      {0, 3, 0, 2, 0, 0},
      {3, 6, 1, 4, 0, 0},
      {10, 6, 0, 6, 4, 0},
      {0, 6, 0, 6, 4, 0},
      {0, 0, 0, 0, 0, 0},
      {10, 6, 0, 6, 4, 0},
      {10, 6, 0, 6, 4, 0},
  }};
  const int k = line.productKind, special = m_config.SpecialMode();
  params.fill(0);
  if (k < 0 || k >= kRefProductCount) return;
  params = kParams[static_cast<std::size_t>(k)];
  if (special == 2 && k == 1) params = {5, 3, 0, 3, 3, 0};
  if (special == 2 && k == 2) params = {5, 3, 0, 3, 0, 0};
  if (IsQp(k)) {
    const int limit = k == 4 || k == 8 ? 400 : 250;
    const bool fourPoles = (m_line.components[8] & 1) != 0;
    if (line.rating > limit && fourPoles) params[0] = 18, params[1] = 10, params[4] = 10;
    if (line.rating <= limit) {
      params[3] = 8, params[4] = 6;
      if (fourPoles) params[0] = 20, params[1] = 12, params[4] = 12;
    }
  }
  if (k == 2 && line.conductors > 1)
    for (int i = 0; i < 5; ++i)
      params[static_cast<std::size_t>(i)] = 2 * params[i] - (special == 2 ? 0 : 1);
  if (k == 1 && special == 1 && line.rating == 40) params[1] = 6;
}

CRefChoiceContext CRefLineEditContext::ChoiceContext() const {
  CRefChoiceContext context;
  context.specialMode = m_config.SpecialMode();
  context.conductors = m_line.conductors;
  context.straightChoice = ChoiceOf(kFamilyStraight);
  context.params = params;
  context.decimalSeparator = decimalSeparator;
  return context;
}
