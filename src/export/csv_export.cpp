#include "export/csv_export.h"

#include "app/message_text.h"
#include "model/bom/bom_column.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"

#include <cctype>

namespace {

constexpr int kMsgOptionsTitle = 31485;
constexpr char kSeparator = ';';

std::string TrimRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool IsWholeNumber(std::string_view text) {
  std::size_t i = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
  bool digits = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(text[i]))) digits = true;
    else if (text[i] == '.' && !point) point = true;
    else return false;
  }
  return digits;
}

void WriteGrid(CBOMGrid& grid, bool withTitle, char decimalMark, CXlExportFile& file) {
  grid.NumberLines(1);
  for (int row = withTitle ? 0 : 1; row < grid.GetLineCount(); ++row) {
    std::string line = CleanCellText(grid.GetCellText(row, 1), kSeparator);
    for (int column = 2; column < grid.GetColumnCount(); ++column) {
      if (!IsCsvColumn(grid, column)) continue;
      std::string text = grid.GetCellText(row, column);
      const bool textColumn = grid.GetColumn(column)->kind == kBOMKindRef;
      std::string options;
      if (textColumn && row > 0) std::tie(text, options) = SplitOptionPart(text);
      line += kSeparator + LocalizeDecimal(TrimRight(CleanCellText(text, kSeparator)), decimalMark);
      if (textColumn)
        line += kSeparator +
                CleanCellText(row == 0 ? StringText(kMsgOptionsTitle) : options, kSeparator);
    }
    file.AddLine(std::move(line));
  }
}

}  // namespace

std::string CleanCellText(std::string_view text, char separator) {
  std::string clean;
  clean.reserve(text.size());
  for (char c : text) {
    if (c == '\r') continue;
    clean += c == '\n' ? ' ' : c == separator ? '.' : c;
  }
  return clean;
}

std::string LocalizeDecimal(std::string_view text, char decimalMark) {
  std::string result(text);
  if (!IsWholeNumber(Trim(text))) return result;
  for (char& c : result) {
    if (c == '.') c = decimalMark;
  }
  return result;
}

std::pair<std::string, std::string> SplitOptionPart(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {std::string(text), {}};
  const std::size_t blank = text.rfind(' ', equals);
  if (blank == std::string_view::npos) return {std::string(text), {}};
  return {std::string(text.substr(0, blank)), Trim(text.substr(blank))};
}

bool IsCsvColumn(const CBOMGrid& grid, int column) {
  const CBOMColumn* record = grid.GetColumn(column);
  return column > 0 && record != nullptr && record->exportWidth > 0 && record->excelFlag >= 0 &&
         record->kind != kBOMKindPicture;
}

CXlExportFile WriteCsvList(CDorneDoc& document, bool allRuns, char decimalMark) {
  CXlExportFile file;
  CRun* current = document.GetCurrentRun();
  if (!allRuns && current != nullptr && document.GetBomPage() == 0) {
    if (CBOMGrid* totals = current->GetBOM().GetTotalPage()) {
      WriteGrid(*totals, true, decimalMark, file);
      return file;
    }
  }
  bool first = true;
  for (CRun* run : document.GetRuns()) {
    if (!allRuns && run != current) continue;
    WriteGrid(run->GetBOM(), first, decimalMark, file);
    first = false;
  }
  return file;
}

std::string CsvFileName(std::string_view title) {
  std::string name(title);
  if (name.size() >= 4) {
    std::string end = name.substr(name.size() - 4);
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (end == ".run") name.resize(name.size() - 4);
  }
  return name + ".csv";
}
