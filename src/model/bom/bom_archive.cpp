// The stored record of the bill-of-materials grid.

#include <stdexcept>
#include <utility>

#include "grid/grid_cell_format.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_record.h"
#include "model/bom/bom_source.h"
#include "model/document/scoped_flag.h"

namespace {

constexpr int kCurrentVersion = 10000;
constexpr int kCentred = 1;

// Adds the cell at that stored column to the row (nothing for a missing cell).
void AddStoredCell(const CGridCell* cell, std::size_t column, CBOMRecord& record,
                   CBOMRecord::Row& row) {
  if (cell == nullptr) return;
  CBOMRecord::Cell stored;
  stored.column = static_cast<std::uint16_t>(column);
  const auto* text = CGridCellFormat::Of(cell);
  stored.text = text != nullptr;
  if (text != nullptr && text->HasTextColor()) {
    stored.hasTextColor = true;
    stored.textColor = text->GetTextColor().ToColorRef();
  }
  if (text != nullptr && text->HasFont()) {
    stored.font = static_cast<std::int32_t>(record.fonts.size());
    record.fonts.push_back(text->GetLogFont());
  }
  row.cells.push_back(stored);
}

}  // namespace

CBOMRecord CBOMGrid::MakeRecordHead(std::vector<int>& stored) const {
  CBOMRecord record;
  record.defaultAutoRowHeight = m_defaultAutoRowHeight;
  record.defaultAutoColumnWidth = m_defaultAutoColumnWidth;
  // While the language system draws its own fonts the grid shows the language's font;
  // the document keeps the user's.
  record.font = GetIgnoreOwnFonts() ? m_defaultFont : GetLogFont();
  record.textColor = GetTextColor().ToColorRef();
  stored.clear();  // transient columns leave no trace
  for (int column = 0; column < GetColumnCount(); ++column) {
    // The two fixed columns are always stored: a reader refuses a record without them.
    if (column < 2 || m_columns[static_cast<std::size_t>(column)].excelFlag >= 0)
      stored.push_back(column);
  }
  if (stored.size() > 0xFFFF) throw std::length_error("bill of materials: too many columns");
  for (int column : stored) {
    CBOMRecord::Column block{m_columns[static_cast<std::size_t>(column)], GetColumnWidth(column)};
    block.column.position = static_cast<int>(record.columns.size());
    record.columns.push_back(std::move(block));
  }
  record.rectangle = m_rectangle;
  record.viewAngles = m_viewAngles;
  record.hasRectangle = record.hasViewAngles = true;
  return record;
}

void CBOMGrid::Serialize(CArchiveWriter& archive) const {
  // The rows are laid out one at a time in one block used again, with the fonts of that
  // row alone: a bill of tens of thousands of lines is never held a second time.
  std::vector<int> stored;
  CBOMRecord record = MakeRecordHead(stored);
  const int rows = GetRowCount();
  record.WriteHead(archive, m_storedFonts, static_cast<std::size_t>(rows));
  CBOMRecord::Row block;
  for (int row = 0; row < rows; ++row) {
    block.text = row == 0           ? CBOMRecord::kTitleLine
                 : row == EditRow() ? CBOMRecord::kEditLine
                                    : LineAt(row).reference;
    block.height = GetRowHeight(row);
    block.autoHeight = LineAt(row).autoRowHeight;
    block.cells.clear();
    record.fonts.clear();
    for (std::size_t index = 0; index < stored.size(); ++index)
      AddStoredCell(GetCell(row, stored[index]), index, record, block);
    record.WriteRow(archive, block, m_storedFonts);
  }
  record.WriteTail(archive);
}

void CBOMGrid::Serialize(CArchiveReader& archive) { Serialize(archive, RecordVersion()); }

void CBOMGrid::Serialize(CArchiveReader& archive, int fileVersion) {
  ApplyRecord(ReadStoredRecord(archive, fileVersion));
}

int CBOMGrid::RecordVersion() const {
  return m_source != nullptr ? m_source->GetFileVersion() : kCurrentVersion;
}

CBOMRecord CBOMGrid::ReadStoredRecord(CArchiveReader& archive, int fileVersion) {
  CBOMStoredFonts fonts;
  CBOMRecord record = CBOMRecord::Read(archive, fileVersion, fonts);  // can throw
  m_storedFonts = std::move(fonts);
  return record;
}

void CBOMGrid::SerializeWithItemPrefix(CArchiveReader& archive, std::string_view prefix) {
  if (GetTextMeasurer() != nullptr) {
    Serialize(archive);
    SetItemPrefix(prefix);
    return;
  }
  const CBOMRecord record = ReadStoredRecord(archive, RecordVersion());
  m_itemPrefix = std::string(prefix);
  ForgetNumbering();
  ApplyRecord(record);  // numbers every line
}

void CBOMGrid::ApplyRecord(const CBOMRecord& record) {
  DeleteColumnsFrom(2);
  m_defaultAutoRowHeight = record.defaultAutoRowHeight;
  m_defaultAutoColumnWidth = record.defaultAutoColumnWidth;
  SetDefaultLogFont(record.font);
  SetTextColor(CColor::FromColorRef(record.textColor));
  {
    // NumberLines(1) below writes each line's cell that has a value, in every column. Left
    // to it alone only while no measurer fits columns to cells: a measured cell written
    // twice and one written once would leave the column fitted apart.
    const CScopedFlag follow(m_lineValuesFollow, GetTextMeasurer() == nullptr);
    ApplyColumns(record);
  }
  for (std::size_t index = 0; index < record.rows.size(); ++index) {
    ApplyRow(TargetRowOf(record.rows[index].text, static_cast<int>(index)), record, index);
  }
  if (record.hasRectangle) m_rectangle = record.rectangle;
  if (record.hasViewAngles) m_viewAngles = record.viewAngles;
  NumberLines(1);
}

void CBOMGrid::ApplyColumns(const CBOMRecord& record) {
  for (std::size_t index = 0; index < record.columns.size(); ++index) {
    const CBOMRecord::Column& block = record.columns[index];
    const int column = static_cast<int>(index);
    if (column >= 2) InsertColumn(column - 1, block.column.kind, block.column.title);
    m_columns[index] = block.column;
    m_columns[index].position = column;
    PutColumnWidth(column, block.width);
  }
  m_columns[1].alignment = 0;
  for (int column = 2; column < GetColumnCount(); ++column) {
    CBOMColumn& record = m_columns[static_cast<std::size_t>(column)];
    std::string title = BOMDefaultTitle(record.kind);
    if (!title.empty()) record.title = std::move(title);
    SetCell(0, column, record.title, kCentred);
  }
  ForgetFitting(-1);
  NotifyLayoutChanged();
}

int CBOMGrid::TargetRowOf(const std::string& text, int storedRow) {
  if (text == CBOMRecord::kTitleLine) return 0;
  if (text == CBOMRecord::kEditLine) return EditRow();
  CBOMLine* line = FindLineRecord(text);
  if (line == nullptr) return 0;  // a line gone since: its formats go to the title row
  const int found = line->row;
  if (found == storedRow || !IsLineRow(storedRow)) return found;
  // Lines come back in the order of the run's records; the stored order wins.
  ForgetNumbering();
  std::swap(m_lines[static_cast<std::size_t>(found)], m_lines[static_cast<std::size_t>(storedRow)]);
  LineAt(found).row = found;
  LineAt(storedRow).row = storedRow;
  return storedRow;
}

void CBOMGrid::ApplyRow(int row, const CBOMRecord& record, std::size_t index) {
  const CBOMRecord::Row& stored = record.rows[index];
  PutRowHeight(row, stored.height);
  LineAt(row).autoRowHeight = stored.autoHeight;
  for (const CBOMRecord::Cell& cell : stored.cells) {
    if (!cell.text || cell.column >= GetColumnCount()) continue;
    CGridCellFormat* own = MakeTextCell(row, cell.column);
    if (own == nullptr) continue;
    if (cell.hasTextColor) own->SetTextColor(CColor::FromColorRef(cell.textColor));
    if (cell.font >= 0) own->SetFont(record.fonts[static_cast<std::size_t>(cell.font)]);
  }
}
