#include "export/layout_xl_grid.h"

#include "app/message_text.h"
#include "export/csv_export.h"
#include "model/bom/bom_column.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/run/run.h"
#include "platform/text_conversions.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kMsgOptionsTitle = 31485;
constexpr int kMsgIndexTitle = 31462;
constexpr int kMsgVariantTitle = 30216;

struct CTableShape {
  std::vector<int> columns;  // grid columns exported
  bool index = false;
  bool variant = false;
};

std::string TrimRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string Quoted(const std::string& text) { return XlQuote(text); }

bool IndexGroupAllows(const std::string& group, bool endingA) {
  if (group.empty()) return true;
  if (TextToInt(group) > 0) return true;
  return endingA && group.back() == 'a';
}

CTableShape ShapeOf(const CBOMGrid& grid, const CRun* run) {
  CTableShape shape;
  for (int column = 1; column < grid.GetColumnCount(); ++column) {
    if (IsCsvColumn(grid, column)) shape.columns.push_back(column);
  }
  if (run == nullptr) return shape;
  const std::string catalog = run->GetPropText("Catalog");
  const std::string group = run->GetPropText("INDEXGRP");
  shape.index = (catalog.starts_with("QG") && IndexGroupAllows(group, false)) ||
                (catalog.starts_with("QM") && IndexGroupAllows(group, true));
  const int rating = TextToInt(run->GetPropText("Calibre"));
  shape.variant = shape.index &&
                  ((catalog == "QMA" && rating == 50) || (catalog == "QMC" && rating == 63)) &&
                  !group.empty() && group.back() == 'a';
  return shape;
}

const char* FormatOfKind(int kind) {
  switch (kind) {
    case 1: return "\"0\"";
    case 2: return "\" # ##0.00## \"";
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 10:
    case 11:
    case 15:
    case 16:
    case 17: return "\" # ##0.00 \"";
    case 9: return "\" # ##0.000 \"";
    default: return "\"@\"";
  }
}

bool QuotedKind(int kind) {
  return kind == 0 || kind == 8 || kind == 12 || kind == 14 || kind == 18 || kind == 20;
}

std::string Join(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) line += (i == 0 ? "" : ",") + cells[i];
  return line;
}

// Each column's cells of one row; the first column carries the index and variant cells.
std::vector<std::string> HeadRow(const CBOMGrid& grid, const CTableShape& shape, int which) {
  static const char* kAlign[] = {"l", "c", "r"};
  std::vector<std::string> cells;
  for (std::size_t i = 0; i < shape.columns.size(); ++i) {
    const CBOMColumn& column = *grid.GetColumn(shape.columns[i]);
    const bool text = column.kind == kBOMKindRef;
    const bool first = i == 0;
    const std::string align =
        column.alignment >= 0 && column.alignment <= 2 ? kAlign[column.alignment] : "";
    std::string cell;
    switch (which) {
      case 0:
        cell = "c" + std::to_string(column.kind) + (text ? ",c21" : "") +
               (first && shape.index ? ",c23" : "") + (first && shape.variant ? ",c24" : "");
        break;
      case 1:
        cell = Quoted(grid.GetCellText(0, shape.columns[i])) +
               (text ? "," + Quoted(StringText(kMsgOptionsTitle)) : "") +
               (first && shape.index ? "," + Quoted(StringText(kMsgIndexTitle)) : "") +
               (first && shape.variant ? "," + Quoted(StringText(kMsgVariantTitle)) : "");
        break;
      case 2:
        cell = align + (text ? "," + align : "") + (first && shape.index ? "," + align : "") +
               (first && shape.variant ? ",c" : "");
        break;
      default: {
        const int extra =
            (text ? 1 : 0) + (first && shape.index ? 1 : 0) + (first && shape.variant ? 1 : 0);
        cell = FormatOfKind(column.kind);
        for (int e = 0; e < extra; ++e) cell += ",\"@\"";
      }
    }
    cells.push_back(cell);
  }
  return cells;
}

std::string DataRow(const CBOMGrid& grid, const CTableShape& shape, int row, int& variants) {
  std::vector<std::string> cells;
  for (std::size_t i = 0; i < shape.columns.size(); ++i) {
    const CBOMColumn& column = *grid.GetColumn(shape.columns[i]);
    std::string text = TrimRight(CleanCellText(grid.GetCellText(row, shape.columns[i]), ','));
    std::string cell;
    if (column.kind == kBOMKindRef) {
      auto [item, options] = SplitOptionPart(text);
      cell = Quoted(item) + "," + Quoted(options);
    } else {
      cell = QuotedKind(column.kind) ? Quoted(text) : text;
    }
    if (i == 0 && shape.index) {
      const std::string index = text.size() > 1 ? text.substr(1) : std::string();
      cell += "," + Quoted(index);
      if (shape.variant) {
        char number[16] = "";
        if (!index.empty() && index.back() == 'a')
          std::snprintf(number, sizeof number, "%02d", ++variants);
        cell += "," + Quoted(number);
      }
    }
    cells.push_back(cell);
  }
  return Join(cells);
}

// A QP line whose item (its first word) ends in "AM" or "FM" goes last.
bool GoesLast(const CBOMGrid& grid, const CRun* run, int row) {
  if (run == nullptr || !run->GetPropText("Catalog").starts_with("QP")) return false;
  const CBOMLine* line = grid.GetLine(row);
  if (line == nullptr) return false;
  const std::string item = line->reference.substr(0, line->reference.find_first_of(" \n"));
  return item.ends_with("AM") || item.ends_with("FM");
}

}  // namespace

void WriteGridTable(CXlExportFile& file, CBOMGrid& grid, const CRun* run) {
  const CTableShape shape = ShapeOf(grid, run);
  int spreadsheetColumns = 0;
  for (int column : shape.columns)
    spreadsheetColumns += grid.GetColumn(column)->kind == kBOMKindRef ? 2 : 1;
  spreadsheetColumns += (shape.index ? 1 : 0) + (shape.variant ? 1 : 0);
  const int lines = grid.GetLineCount() - 1;
  file.AddLine(std::to_string(spreadsheetColumns) + "," + std::to_string(lines));
  for (int which = 0; which < 4; ++which) file.AddLine(Join(HeadRow(grid, shape, which)));
  int variants = 0;
  std::vector<std::string> last;
  for (int row = 1; row <= lines; ++row) {
    std::string line = DataRow(grid, shape, row, variants);
    if (GoesLast(grid, run, row)) last.push_back(std::move(line));
    else file.AddLine(std::move(line));
  }
  for (std::string& line : last) file.AddLine(std::move(line));
  std::vector<std::string> totals;
  for (std::size_t i = 0; i < shape.columns.size(); ++i) {
    const int kind = grid.GetColumn(shape.columns[i])->kind;
    const bool summed = kind == 3 || kind == 6 || kind == 11 || kind == 16 || kind == 17;
    std::string cell = summed ? "#TRUE#" : "#FALSE#";
    const int extra = (kind == kBOMKindRef ? 1 : 0) + (i == 0 && shape.index ? 1 : 0) +
                      (i == 0 && shape.variant ? 1 : 0);
    for (int e = 0; e < extra; ++e) cell += ",#FALSE#";
    totals.push_back(cell);
  }
  file.AddLine(Join(totals));
}
