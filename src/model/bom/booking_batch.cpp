#include "model/bom/booking_batch.h"

#include "model/bom/bom_grid.h"

#include <span>

void CBookingBatch::Add(std::string_view reference, std::int64_t quantity) {
  Add(reference, quantity, nullptr);
}

void CBookingBatch::Add(std::string_view reference, std::int64_t quantity, const void* key) {
  // The bill refuses such a booking without a trace, so it cannot open a line either.
  if (quantity < 1 || quantity > CBOMGrid::kMaxQuantity) return;
  if (key == nullptr) {
    Count(m_lines[LineOf(reference)], quantity);
    return;
  }
  if (const std::size_t* known = m_byKey.Find(key)) {
    Line& line = m_lines[*known];
    if (line.reference == reference) {
      Count(line, quantity);
      return;
    }
  }
  const std::size_t index = LineOf(reference);
  m_byKey[key] = index;
  Count(m_lines[index], quantity);
}

std::size_t CBookingBatch::LineOf(std::string_view reference) {
  auto at = m_index.find(reference);
  if (at == m_index.end()) {
    at = m_index.emplace(std::string(reference), m_lines.size()).first;
    m_lines.emplace_back().reference = at->first;
  }
  return at->second;
}

void CBookingBatch::Count(Line& line, std::int64_t quantity) {
  if (line.quantities.empty() && quantity != 1) line.quantities.assign(line.count, 1);
  if (!line.quantities.empty() || quantity != 1) line.quantities.push_back(quantity);
  line.total += quantity;
  ++line.count;
}

void CBookingBatch::BookInto(CBOMGrid& bom) {
  const CBOMGrid::CBookingRound round(bom);
  std::vector<CBOMGrid::CHeldLine> totals;
  totals.reserve(m_lines.size());
  for (const Line& line : m_lines) totals.push_back({line.reference, line.total});
  // A run being read books mostly new lines, which the bill appends in one go; whatever it
  // will not take so is booked line by line.
  std::size_t next = 0;
  while (next < m_lines.size()) {
    next += bom.AppendHeldLines(std::span(totals).subspan(next));
    if (next < m_lines.size()) BookLine(bom, m_lines[next++]);
  }
  m_lines.clear();
  m_index.clear();
  m_byKey.Clear();
}

void CBookingBatch::BookLine(CBOMGrid& bom, const Line& line) {
  if (line.total <= CBOMGrid::kMaxQuantity && bom.AddHeldQuantity(line.reference, line.total))
    return;
  if (!line.quantities.empty()) {
    for (const std::int64_t quantity : line.quantities)
      bom.AddHeldQuantity(line.reference, quantity);
    return;
  }
  // Bookings of one each: a refused one changes nothing, so every one after it is
  // refused too.
  for (std::int64_t i = 0; i < line.count; ++i) {
    if (!bom.AddHeldQuantity(line.reference, 1)) break;
  }
}
