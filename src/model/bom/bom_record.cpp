#include "model/bom/bom_record.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/archive.h"
#include "model/bom/bom_stored_fonts.h"

namespace {

constexpr std::uint32_t kColorMask = 0x00FFFFFFu;
// A column block holds at least a one-byte text and 13 bytes of numbers; a row block a
// one-byte text, 3 bytes, and one byte per cell. Only existing cells take memory, so a
// record never takes much more memory than its bytes.
constexpr std::size_t kColumnNumberBytes = 13;
constexpr std::uint64_t kMinColumnBlock = 1 + kColumnNumberBytes;
constexpr std::uint64_t kMinRowBlock = 4;

[[noreturn]] void Damaged(const CArchiveReader& archive, const std::string& what) {
  throw CArchiveError("bill-of-materials record: " + what, archive.Position());
}

[[noreturn, gnu::noinline, gnu::cold]] void BadFlag(const CArchiveReader& archive, const char* what,
                                                    std::uint8_t value) {
  Damaged(archive, std::string(what) + " flag " + std::to_string(value));
}

// Inline in the loops over cells: a bill reads a few flags for every cell.
inline bool ReadFlag(CArchiveReader& archive, const char* what) {
  const std::uint8_t value = archive.ReadByte();
  if (value > 1) [[unlikely]]
    BadFlag(archive, what, value);
  return value == 1;
}

std::uint32_t ReadColor(CArchiveReader& archive) {
  const std::uint32_t color = archive.ReadDword();
  if ((color & ~kColorMask) != 0) Damaged(archive, "colour out of range");
  return color;
}

CLogFont ReadFont(CArchiveReader& archive, int fileVersion, CBOMStoredFonts& fonts) {
  return fileVersion >= CBOMRecord::kWideFontVersion ? fonts.ReadWide(archive)
                                                     : fonts.ReadNarrow(archive);
}

CBOMRecord::Column ReadColumn(CArchiveReader& archive, int index) {
  CBOMRecord::Column block;
  CBOMColumn& column = block.column;
  column.title = archive.ReadString();
  archive.ReadWord();  // the position is where the column is read
  column.position = index;
  column.kind = archive.ReadWord();
  column.alignment = archive.ReadWord();
  if (column.alignment > 2) Damaged(archive, "alignment " + std::to_string(column.alignment));
  column.autoWidth = ReadFlag(archive, "auto width");
  column.excelFlag = static_cast<std::int8_t>(archive.ReadByte());
  // A negative flag marks a column the grid makes for itself and never stores: beyond the
  // two fixed columns, which are stored whatever their flag, it would vanish at the next
  // save.
  if (index >= 2 && column.excelFlag < 0)
    Damaged(archive,
            "transient column stored (Excel flag " + std::to_string(column.excelFlag) + ")");
  column.csvFlag = static_cast<std::int8_t>(archive.ReadByte());
  column.exportWidth = archive.ReadWord();
  block.width = archive.ReadWord();
  return block;
}

// Appends the cell of that column unless the record says it is missing.
void ReadCell(CArchiveReader& archive, int fileVersion, CBOMStoredFonts& fonts,
              std::uint16_t column, CBOMRecord& record, CBOMRecord::Row& row) {
  if (!ReadFlag(archive, "cell")) return;
  CBOMRecord::Cell cell;
  cell.column = column;
  cell.text = ReadFlag(archive, "text cell");
  if (cell.text) {
    cell.hasTextColor = ReadFlag(archive, "cell colour");
    if (cell.hasTextColor) cell.textColor = ReadColor(archive);
    if (ReadFlag(archive, "cell font")) {
      cell.font = static_cast<std::int32_t>(record.fonts.size());
      record.fonts.push_back(ReadFont(archive, fileVersion, fonts));
    }
  }
  row.cells.push_back(cell);
}

CBOMRecord::Row ReadRow(CArchiveReader& archive, std::uint16_t columns, int fileVersion,
                        CBOMStoredFonts& fonts, CBOMRecord& record) {
  CBOMRecord::Row row;
  row.text = archive.ReadString();
  row.height = archive.ReadWord();
  row.autoHeight = ReadFlag(archive, "auto height");
  // Each stored cell takes a byte at least, so what is left of the file bounds the room.
  row.cells.reserve(
      static_cast<std::size_t>(std::min<std::uint64_t>(columns, archive.Remaining())));
  for (std::uint16_t column = 0; column < columns; ++column) {
    ReadCell(archive, fileVersion, fonts, column, record, row);
  }
  return row;
}

std::uint16_t Word(std::size_t value, const char* what) {
  if (value > 0xFFFF) throw std::length_error(std::string("bill of materials: too many ") + what);
  return static_cast<std::uint16_t>(value);
}

std::uint16_t ClampedWord(int value) {
  return static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
}

void WriteColumn(CArchiveWriter& archive, const CBOMRecord::Column& block) {
  const CBOMColumn& column = block.column;
  archive.WriteString(column.title);
  archive.WriteWord(ClampedWord(column.position));
  archive.WriteWord(ClampedWord(column.kind));
  archive.WriteWord(ClampedWord(column.alignment));
  archive.WriteByte(column.autoWidth ? 1 : 0);
  archive.WriteByte(
      static_cast<std::uint8_t>(static_cast<std::int8_t>(std::clamp(column.excelFlag, -128, 127))));
  archive.WriteByte(
      static_cast<std::uint8_t>(static_cast<std::int8_t>(std::clamp(column.csvFlag, -128, 127))));
  archive.WriteWord(ClampedWord(column.exportWidth));
  archive.WriteWord(ClampedWord(block.width));
}

void WriteCell(CArchiveWriter& archive, const CBOMRecord::Cell& cell, const CBOMRecord& record,
               const CBOMStoredFonts& fonts) {
  archive.WriteByte(1);
  archive.WriteByte(cell.text ? 1 : 0);
  if (!cell.text) return;
  archive.WriteByte(cell.hasTextColor ? 1 : 0);
  if (cell.hasTextColor) archive.WriteDword(cell.textColor & kColorMask);
  const bool hasFont = cell.font >= 0 && cell.font < static_cast<std::int32_t>(record.fonts.size());
  archive.WriteByte(hasFont ? 1 : 0);
  if (hasFont) fonts.Write(archive, record.fonts[static_cast<std::size_t>(cell.font)]);
}

void WriteRowBlock(CArchiveWriter& archive, const CBOMRecord::Row& row, const CBOMRecord& record,
                   const CBOMStoredFonts& fonts) {
  archive.WriteString(row.text);
  archive.WriteWord(ClampedWord(row.height));
  archive.WriteByte(row.autoHeight ? 1 : 0);
  auto cell = row.cells.begin();
  for (std::size_t column = 0; column < record.columns.size(); ++column) {
    while (cell != row.cells.end() && cell->column < column) ++cell;
    if (cell != row.cells.end() && cell->column == column) {
      WriteCell(archive, *cell, record, fonts);
    } else {
      archive.WriteByte(0);
    }
  }
}

}  // namespace

CBOMRecord CBOMRecord::Read(CArchiveReader& archive, int fileVersion, CBOMStoredFonts& fonts) {
  CBOMRecord record;
  const std::uint16_t columnCount = archive.ReadWord();
  if (columnCount < 2) Damaged(archive, "column count " + std::to_string(columnCount));
  record.defaultAutoRowHeight = ReadFlag(archive, "default auto height");
  record.defaultAutoColumnWidth = ReadFlag(archive, "default auto width");
  record.font = ReadFont(archive, fileVersion, fonts);
  record.textColor = ReadColor(archive);
  archive.RequireCount(columnCount, kMinColumnBlock, "bill-of-materials columns");
  record.columns.reserve(columnCount);
  for (int i = 0; i < columnCount; ++i) record.columns.push_back(ReadColumn(archive, i));
  const std::uint16_t rowCount = archive.ReadWord();
  if (rowCount < 2) Damaged(archive, "row count " + std::to_string(rowCount));
  archive.RequireCount(rowCount, kMinRowBlock + columnCount, "bill-of-materials rows");
  record.rows.reserve(rowCount);
  for (int i = 0; i < rowCount; ++i) {
    record.rows.push_back(ReadRow(archive, columnCount, fileVersion, fonts, record));
  }
  if (fileVersion >= kRectangleVersion) {
    for (std::int32_t& value : record.rectangle) value = archive.ReadLong();
    record.hasRectangle = true;
  }
  if (fileVersion >= kViewAngleVersion) {
    for (std::int32_t& value : record.viewAngles) value = archive.ReadLong();
    record.hasViewAngles = true;
  }
  return record;
}

void CBOMRecord::Skip(CArchiveReader& archive, int fileVersion) {
  const std::size_t fontSize =
      fileVersion >= kWideFontVersion ? CBOMStoredFonts::kWideSize : CBOMStoredFonts::kNarrowSize;
  const std::uint16_t columnCount = archive.ReadWord();
  archive.Skip(2 + fontSize + 4);  // default auto flags, font, colour
  archive.RequireCount(columnCount, kMinColumnBlock, "bill-of-materials columns");
  for (int i = 0; i < columnCount; ++i) {
    archive.SkipString();  // title
    archive.Skip(kColumnNumberBytes);
  }
  const std::uint16_t rowCount = archive.ReadWord();
  archive.RequireCount(rowCount, kMinRowBlock + columnCount, "bill-of-materials rows");
  for (int i = 0; i < rowCount; ++i) {
    archive.SkipString();  // text
    archive.Skip(3);       // height, auto height
    for (int column = 0; column < columnCount; ++column) {
      if (archive.ReadByte() == 0 || archive.ReadByte() == 0) continue;  // no cell, no text
      if (archive.ReadByte() != 0) archive.Skip(4);                      // colour
      if (archive.ReadByte() != 0) archive.Skip(fontSize);
    }
  }
  if (fileVersion >= kRectangleVersion) archive.Skip(4 * 4);
  if (fileVersion >= kViewAngleVersion) archive.Skip(3 * 4);
}

void CBOMRecord::Write(CArchiveWriter& archive, const CBOMStoredFonts& fonts) const {
  WriteHead(archive, fonts, rows.size());
  for (const Row& row : rows) WriteRow(archive, row, fonts);
  WriteTail(archive);
}

void CBOMRecord::WriteHead(CArchiveWriter& archive, const CBOMStoredFonts& fonts,
                           std::size_t rowCount) const {
  const std::uint16_t columnCount = Word(columns.size(), "columns");
  const std::uint16_t rowWord = Word(rowCount, "rows");
  archive.WriteWord(columnCount);
  archive.WriteByte(defaultAutoRowHeight ? 1 : 0);
  archive.WriteByte(defaultAutoColumnWidth ? 1 : 0);
  fonts.Write(archive, font);
  archive.WriteDword(textColor & kColorMask);
  for (const Column& column : columns) WriteColumn(archive, column);
  archive.WriteWord(rowWord);
}

void CBOMRecord::WriteRow(CArchiveWriter& archive, const Row& row,
                          const CBOMStoredFonts& fonts) const {
  WriteRowBlock(archive, row, *this, fonts);
}

void CBOMRecord::WriteTail(CArchiveWriter& archive) const {
  for (std::int32_t value : rectangle) archive.WriteLong(value);
  for (std::int32_t value : viewAngles) archive.WriteLong(value);
}
