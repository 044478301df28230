#include "model/bom/bom_line_index.h"

#include <algorithm>

#include "model/bom/bom_group.h"

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
  const auto [from, to] = m_lines.equal_range(key);
  if (std::none_of(from, to, [&line](const auto& entry) { return entry.second == &line; }))
    m_lines.emplace(std::string(key), &line);
}

void CBOMLineIndex::InsertNew(CBOMLine& line) { m_lines.emplace(KeyView(line.reference), &line); }

void CBOMLineIndex::Erase(const CBOMLine& line) {
  const auto [from, to] = m_lines.equal_range(KeyView(line.reference));
  const auto at =
      std::find_if(from, to, [&line](const auto& entry) { return entry.second == &line; });
  if (at != to) m_lines.erase(at);
}

CBOMLine* CBOMLineIndex::Find(std::string_view text, int first, int last) const {
  const auto [from, to] = m_lines.equal_range(KeyView(text));
  CBOMLine* best = nullptr;
  for (auto entry = from; entry != to; ++entry) {
    CBOMLine* line = entry->second;
    if (line->row < first || line->row > last) continue;
    if (best == nullptr || line->row < best->row) best = line;
  }
  return best;
}
