#include "model/bom_line_index.h"

#include <algorithm>

#include "model/bom_group.h"

void CBOMLineIndex::SetCutsGroupSuffix(bool cut) {
  m_cutsGroupSuffix = cut;
  m_lines.clear();
}

std::string_view CBOMLineIndex::KeyView(std::string_view reference) const {
  if (m_cutsGroupSuffix) reference = CutGroupSuffix(reference);
  return TrimBOMBlanks(reference);
}

std::string CBOMLineIndex::KeyOf(std::string_view reference) const {
  return std::string(KeyView(reference));
}

void CBOMLineIndex::Insert(CBOMLine& line) {
  const std::string_view key = KeyView(line.reference);
  auto found = m_lines.find(key);
  if (found == m_lines.end()) found = m_lines.try_emplace(std::string(key)).first;
  std::vector<CBOMLine*>& lines = found->second;
  if (std::find(lines.begin(), lines.end(), &line) == lines.end()) lines.push_back(&line);
}

void CBOMLineIndex::Erase(const CBOMLine& line) {
  const auto found = m_lines.find(KeyView(line.reference));
  if (found == m_lines.end()) return;
  std::vector<CBOMLine*>& lines = found->second;
  lines.erase(std::remove(lines.begin(), lines.end(), &line), lines.end());
  if (lines.empty()) m_lines.erase(found);
}

CBOMLine* CBOMLineIndex::Find(std::string_view text, int first, int last) const {
  const auto found = m_lines.find(KeyView(text));
  if (found == m_lines.end()) return nullptr;
  CBOMLine* best = nullptr;
  for (CBOMLine* line : found->second) {
    if (line->row < first || line->row > last) continue;
    if (best == nullptr || line->row < best->row) best = line;
  }
  return best;
}
