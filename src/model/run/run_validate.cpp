#include "model/bom/bom_grid.h"
#include "model/bom/bom_group.h"
#include "model/element/dev.h"
#include "model/element/element_iterator.h"
#include "model/run/run.h"
#include "model/run/run_range_rules.h"

#include <algorithm>
#include <unordered_map>

namespace {

constexpr int kMaxGroup = 500;

}  // namespace

bool IsNumericReference(std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() > 3 && text.starts_with("QMB")) text.remove_prefix(3);
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void CRun::Validate() {
  if (GetRangeRules().GathersNumericLines()) GatherNumericLines();
  OrderLinesAlongChain();
  OrderLinesByGroup();
  m_bom->NumberLines(1);
}

void CRun::GatherNumericLines() {
  int end = m_bom->GetLineCount() - 1;
  for (int row = end; row >= 1; --row) {
    const CBOMLine* line = m_bom->GetLine(row);
    if (line == nullptr || !IsNumericReference(line->reference)) continue;
    m_bom->MoveLine(row, end);
    --end;
  }
}

void CRun::OrderLinesAlongChain() {
  int position = 1;
  CElementIterator walk = IterateElements(true);
  for (CDev* element = walk.Next(); element != nullptr; element = walk.Next()) {
    if (IsNumericReference(element->GetReference())) continue;
    const int row = m_bom->FindLine(element->GetReference());
    if (row < position) continue;
    if (row > position) m_bom->MoveLine(row, position);
    ++position;
  }
}

void CRun::OrderLinesByGroup() {
  // Where the last line of each group stands so far.
  std::unordered_map<int, int> groupEnd;
  for (int row = 1; row < m_bom->GetLineCount(); ++row) {
    const int group = ParseBOMGroup(m_bom->GetLine(row)->reference).number;
    if (group < 1 || group > kMaxGroup) continue;
    const auto found = groupEnd.find(group);
    if (found == groupEnd.end()) {
      groupEnd.emplace(group, row);
      continue;
    }
    const int at = found->second;
    m_bom->MoveLine(row, at + 1);
    // The lines from the target on moved down by one, and with them the groups ending
    // there; this group now ends at the target.
    for (auto& [other, end] : groupEnd) {
      if (end >= at) ++end;
    }
  }
}
