#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/log_font.h"
#include "model/bom/bom_column.h"

class CArchiveReader;
class CArchiveWriter;
class CBOMStoredFonts;

// The stored record of a bill-of-materials grid, read completely (and checked) before
// anything of it is applied, so that a damaged record changes nothing.
//
// Layout (little-endian): a word count of stored columns, a byte for each default auto
// flag (rows, columns), the grid font (CBOMStoredFonts), the dword text colour, one
// block per stored column (title text, words position, kind and alignment, bytes auto
// width, Excel flag and CSV flag, words export width and current width), a word row
// count and one block per row (text, word height, byte auto height, one cell block per
// stored column), then four dwords of rectangle (files of version 490 on) and three
// dwords of view angles (version 512 on).
//
// Cell block: byte 0 for a missing cell; else byte 1, then byte 1 for a text cell (0 for
// another cell, nothing follows), then for a text cell a byte colour flag (and the dword
// colour) and a byte font flag (and the font).
struct CBOMRecord {
  static constexpr const char* kTitleLine = "#TitleLine#";
  static constexpr const char* kEditLine = "#EditLine#";
  // Versions from which the record holds the rectangle, wide fonts, the view angles.
  static constexpr int kRectangleVersion = 490;
  static constexpr int kWideFontVersion = 511;
  static constexpr int kViewAngleVersion = 512;

  // A cell that exists; missing cells are not listed (a record can hold many).
  struct Cell {
    std::uint16_t column = 0;
    bool text = false;  // false: another kind of cell (a picture), nothing more stored
    bool hasTextColor = false;
    std::uint32_t textColor = 0;  // COLORREF
    std::int32_t font = -1;       // index in fonts, -1 without own font
  };
  struct Row {
    std::string text;  // kTitleLine, kEditLine or a line's reference
    int height = 0;
    bool autoHeight = true;
    std::vector<Cell> cells;  // by increasing column
  };
  struct Column {
    CBOMColumn column;
    int width = 0;
  };

  bool defaultAutoRowHeight = true;
  bool defaultAutoColumnWidth = true;
  CLogFont font;
  std::uint32_t textColor = 0;  // COLORREF
  std::vector<Column> columns;
  std::vector<Row> rows;
  std::vector<CLogFont> fonts;  // the cells' own fonts
  std::array<std::int32_t, 4> rectangle{};
  std::array<std::int32_t, 3> viewAngles{};
  bool hasRectangle = false;
  bool hasViewAngles = false;

  // Reads a record of a document of that effective version; fonts remembers the bytes of
  // the fonts read. Throws CArchiveError for a damaged record: a stream that ends early,
  // fewer than two columns or rows, an alignment above 2, a flag byte other than 0 or 1,
  // a colour with bits above the 24 of red, green and blue, a font out of range.
  static CBOMRecord Read(CArchiveReader& archive, int fileVersion, CBOMStoredFonts& fonts);

  // Passes a record by its form alone, keeping nothing and checking no value: where a
  // record ends is known before it is read. Throws CArchiveError where the stream ends.
  static void Skip(CArchiveReader& archive, int fileVersion);

  // Writes the record in the current form (wide fonts, rectangle and angles). Throws
  // std::length_error when there are more than 65535 columns or rows.
  void Write(CArchiveWriter& archive, const CBOMStoredFonts& fonts) const;
  // The same in three steps, for a writer that lays the rows out one at a time rather
  // than holding them all: the head with the count of rows to follow (it throws as
  // Write does, before writing anything), each row (its fonts in `fonts` of the record
  // as it stands then), the tail.
  void WriteHead(CArchiveWriter& archive, const CBOMStoredFonts& fonts, std::size_t rowCount) const;
  void WriteRow(CArchiveWriter& archive, const Row& row, const CBOMStoredFonts& fonts) const;
  void WriteTail(CArchiveWriter& archive) const;
};
