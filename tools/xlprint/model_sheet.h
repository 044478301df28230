#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// The parts of a workbook's XML that a model workbook is read and filled through.
namespace tvr::tools {

// A cell of a sheet, counted from 0.
struct CSheetPlace {
  unsigned row = 0;
  unsigned column = 0;
};

// A cell that the workbook names: its sheet and place.
struct CDefinedCell {
  std::string sheet;
  CSheetPlace place;
};

// The cell of a defined name of xl/workbook.xml ("'Sheet 1'!$B$6", the first cell of a
// range); nothing when the workbook does not define it as a cell.
std::optional<CDefinedCell> FindDefinedCell(std::string_view workbook, std::string_view name);

// The path in the archive of the worksheet of that name (the first sheet for an empty
// name), through the workbook's relationships; nothing when there is none.
std::optional<std::string> WorksheetPath(std::string_view workbook, std::string_view rels,
                                         const std::string& sheetName);

// The first cell of column A below every row the sheet holds.
CSheetPlace PlaceBelow(std::string_view sheet);

// "B6" for column 1 and row 5.
std::string CellName(unsigned column, unsigned row);

// The text with the characters XML reserves written as references; characters XML
// cannot hold at all are left out.
std::string XmlText(std::string_view text);

// Puts the rows (their cells' XML, by row counted from 0) into the sheet's data, in
// place of any row of the same number, and drops the sheet's dimension, which no longer
// holds. False when the sheet has no sheet data.
bool SpliceRows(std::string& sheet, const std::map<unsigned, std::string>& rows);

}  // namespace tvr::tools
