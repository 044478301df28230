#include "model/bom_line_index.h"

#include <algorithm>

#include "model/bom_group.h"

void CBOMLineIndex::SetCutsGroupSuffix(bool cut) {
  m_cutsGroupSuffix = cut;
  m_lines.clear();
}

std::string CBOMLineIndex::KeyOf(std::string_view reference) const {
  if (m_cutsGroupSuffix) reference = CutGroupSuffix(reference);
  return std::string(TrimBOMBlanks(reference));
}

void CBOMLineIndex::Insert(CBOMLine& line) {
  std::vector<CBOMLine*>& lines = m_lines[KeyOf(line.reference)];
  if (std::find(lines.begin(), lines.end(), &line) == lines.end()) lines.push_back(&line);
}

void CBOMLineIndex::Erase(const CBOMLine& line) {
  const auto found = m_lines.find(KeyOf(line.reference));
  if (found == m_lines.end()) return;
  std::vector<CBOMLine*>& lines = found->second;
  lines.erase(std::remove(lines.begin(), lines.end(), &line), lines.end());
  if (lines.empty()) m_lines.erase(found);
}

CBOMLine* CBOMLineIndex::Find(std::string_view text, int first, int last) const {
  const auto found = m_lines.find(KeyOf(text));
  if (found == m_lines.end()) return nullptr;
  CBOMLine* best = nullptr;
  for (CBOMLine* line : found->second) {
    if (line->row < first || line->row > last) continue;
    if (best == nullptr || line->row < best->row) best = line;
  }
  return best;
}
