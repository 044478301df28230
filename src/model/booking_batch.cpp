#include "model/booking_batch.h"

#include "model/bom_grid.h"

void CBookingBatch::Add(std::string_view reference, std::int64_t quantity) {
  // The bill refuses such a booking without a trace, so it cannot open a line either.
  if (quantity < 1 || quantity > CBOMGrid::kMaxQuantity) return;
  auto at = m_index.find(reference);
  if (at == m_index.end()) {
    at = m_index.emplace(std::string(reference), m_lines.size()).first;
    m_lines.push_back({at->first, 0});
  }
  m_lines[at->second].total += quantity;
  m_bookings.emplace_back(at->second, quantity);
}

void CBookingBatch::BookInto(CBOMGrid& bom) {
  const CBOMGrid::CBookingRound round(bom);
  for (std::size_t index = 0; index < m_lines.size(); ++index) {
    const Line& line = m_lines[index];
    if (line.total <= CBOMGrid::kMaxQuantity && bom.AddHeldQuantity(line.reference, line.total))
      continue;
    for (const auto& [lineIndex, quantity] : m_bookings) {
      if (lineIndex == index) bom.AddHeldQuantity(line.reference, quantity);
    }
  }
  m_lines.clear();
  m_index.clear();
  m_bookings.clear();
}
