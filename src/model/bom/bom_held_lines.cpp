// Lines that a run being read books into its bill, appended in one go, and the stored
// record read after them.

#include <memory>
#include <string>

#include "model/bom/bom_grid.h"
#include "model/bom/bom_record.h"
#include "model/bom/bom_source.h"
#include "model/bom/booking_batch.h"
#include "model/bom/item_numbering.h"
#include "model/document/scoped_flag.h"

// The fixed columns of a line are written while it is still the edit line, and a line's
// other cells after it has its reference: writing them all once the rows are there holds
// only while no cell of the fixed columns depends on the line, and while nothing measures
// the cells or recomputes totals between two lines.
bool CBOMGrid::TakesHeldLinesInBulk() const {
  return m_numberingDeferred && m_source != nullptr && m_view == nullptr &&
         GetTextMeasurer() == nullptr && ColumnKind(0) == kBOMKindNone &&
         ColumnKind(1) == kBOMKindNone;
}

std::size_t CBOMGrid::AppendHeldLines(std::span<const CHeldLine> lines) {
  if (!TakesHeldLinesInBulk()) return 0;
  const int first = EditRow();
  const std::size_t taken = AppendHeldLineRecords(lines);
  if (taken == 0) return 0;
  const int count = static_cast<int>(taken);
  AppendRowsOfTextCells(
      count, 0, [this](int column) { return static_cast<unsigned>(ColumnAlignment(column)); });
  // The old edit line loses its mark; every row made was the edit line for a while, and
  // so keeps the unnumbered item it showed then, until the lines are numbered.
  SetCell(first, 0, "", ColumnAlignment(0));
  if (!m_storedRecordComing || !CItemNumbering::Instance().IsOn()) {
    const std::string unnumbered = m_itemPrefix + ".?";
    for (int row = first + 1; row <= first + count; ++row)
      SetCell(row, 1, unnumbered, ColumnAlignment(1));
  }
  SetCell(first + count, 0, "*", ColumnAlignment(0));
  if (!m_storedRecordComing) {
    RefreshRows(first, first + count);
  }
  m_numberingOwed = true;
  return taken;
}

// The line records as appending each line leaves them: the edit line's record takes the
// line and a new one follows it. A reference is looked up among the lines before it only,
// the ones just taken included, as each booking would find them.
std::size_t CBOMGrid::AppendHeldLineRecords(std::span<const CHeldLine> lines) {
  const int first = EditRow();
  const bool editAutoHeight = LineAt(first).autoRowHeight;
  // Each line taken and the new edit line after them.
  m_index.ReserveMore(lines.size() + 1);
  std::size_t taken = 0;
  for (const CHeldLine& held : lines) {
    const int row = first + static_cast<int>(taken);
    if (held.quantity < 1 || held.quantity > kMaxQuantity || row + 1 >= kMaxRowCount ||
        m_index.Find(held.reference, 1, row - 1) != nullptr) {
      break;
    }
    auto edit = std::make_unique<CBOMLine>();
    edit->row = row + 1;
    edit->autoRowHeight = editAutoHeight;
    m_lines.push_back(std::move(edit));
    CBOMLine& line = LineAt(row);
    // Only the first line appended after the numbered ones can be numbered on alone.
    if (row != m_numberedLines + 1) ForgetNumbering();
    // The old edit line's record leaves the index; the records made here were never in it.
    if (taken == 0) m_index.Erase(line);
    line.reference.assign(held.reference);
    m_index.InsertNew(line);
    line.quantity = held.quantity;
    line.autoRowHeight = m_defaultAutoRowHeight;
    ++taken;
  }
  if (taken == 0) return 0;
  m_index.InsertNew(*m_lines.back());
  // Totals go stale as a whole: once for all the lines, with no view to recompute between.
  MarkTotalsStale();
  return taken;
}

void CBOMGrid::ReadWithBookings(CArchiveReader& archive, std::string_view prefix,
                                CBookingBatch& bookings) {
  if (GetTextMeasurer() != nullptr) {
    bookings.BookInto(*this);
    SerializeWithItemPrefix(archive, prefix);
    return;
  }
  const CBOMRecord record = ReadStoredRecord(archive, RecordVersion());  // can throw
  // Within one round, the lines are numbered once, after the record: numbering them as
  // booked would be written over with the prefix.
  const CBookingRound round(*this);
  {
    // The record replaces the columns after the fixed ones, cells and all, and numbers
    // every line.
    const CScopedFlag coming(m_storedRecordComing);
    bookings.BookInto(*this);
  }
  m_itemPrefix = std::string(prefix);
  ForgetNumbering();
  ApplyRecord(record);
}
