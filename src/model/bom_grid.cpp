#include "model/bom_grid.h"

#include "model/run.h"

namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

CBOMGrid::CBOMGrid(CRun* source) : m_source(source) {}

bool CBOMGrid::AddRefQuantity(std::string_view reference, std::int64_t quantity) {
  if (quantity < 1) return false;
  int row = FindLine(reference);
  if (row < 0) {
    m_lines.push_back(Line{std::string(reference), 0});
    row = static_cast<int>(m_lines.size());
  }
  Line& line = m_lines[static_cast<std::size_t>(row - 1)];
  line.quantity += quantity;
  if (m_source != nullptr) m_source->SetRefQuantity(line.reference, line.quantity);
  return true;
}

bool CBOMGrid::RemoveRefQuantity(std::string_view reference, std::int64_t quantity) {
  const int row = FindLine(reference);
  if (row < 0) return false;
  Line& line = m_lines[static_cast<std::size_t>(row - 1)];
  std::int64_t amount = Trim(reference).empty() ? line.quantity + 1 : quantity;
  if (amount < 1) return false;
  if (amount > line.quantity) amount = line.quantity;
  line.quantity -= amount;
  if (line.quantity > 0) return true;
  const std::string removed = line.reference;
  m_lines.erase(m_lines.begin() + (row - 1));
  if (m_source != nullptr) m_source->SetRefQuantity(removed, 0);
  return true;
}

bool CBOMGrid::ClearLines() {
  bool all = true;
  while (!m_lines.empty()) {
    const Line last = m_lines.back();
    if (!RemoveRefQuantity(last.reference, last.quantity) && !m_lines.empty()) {
      m_lines.pop_back();
      all = false;
    }
  }
  return all;
}

bool CBOMGrid::RenameLine(std::string_view oldReference, std::string_view newReference) {
  const int row = FindLine(oldReference);
  if (row < 0) return false;
  m_lines[static_cast<std::size_t>(row - 1)].reference = std::string(newReference);
  return true;
}

int CBOMGrid::FindLine(std::string_view reference) const {
  const std::string_view wanted = Trim(reference);
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    if (Trim(m_lines[i].reference) == wanted) return static_cast<int>(i) + 1;
  }
  return -1;
}

std::int64_t CBOMGrid::GetLineQuantity(int row) const {
  if (row < 1 || row > static_cast<int>(m_lines.size())) return 0;
  return m_lines[static_cast<std::size_t>(row - 1)].quantity;
}

std::optional<std::string> CBOMGrid::GetLineFieldText(int row, int kind) const {
  if (row < 1 || row > static_cast<int>(m_lines.size())) return std::nullopt;
  const Line& line = m_lines[static_cast<std::size_t>(row - 1)];
  if (kind == kKindReference) return line.reference;
  if (kind == kKindQuantity) return std::to_string(line.quantity);
  return std::nullopt;
}

void CBOMGrid::Serialize(CArchiveWriter& archive) const { (void)archive; }

void CBOMGrid::Serialize(CArchiveReader& archive) { (void)archive; }
