#include "export/csv_export.h"

#include "app/message_text.h"
#include "grid/grid_cell_format.h"
#include "model/bom/bom_column.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

constexpr int kMsgOptionsTitle = 31485;
constexpr char kSeparator = ';';

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
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

constexpr std::uint64_t kEveryByteOne = 0x0101010101010101;
constexpr std::uint64_t kEveryByteHigh = 0x8080808080808080;

// Whether one of the eight bytes of the word is the byte that the pattern repeats.
bool HoldsByte(std::uint64_t word, std::uint64_t pattern) {
  const std::uint64_t x = word ^ pattern;  // a zero byte where they are equal
  return ((x - kEveryByteOne) & ~x & kEveryByteHigh) != 0;
}

// The length of the text's start that holds no CR, LF nor separator. Most cells hold none,
// so the text is searched eight bytes at a time.
std::size_t CleanStartLength(std::string_view text, char separator) {
  const std::uint64_t cr = kEveryByteOne * '\r';
  const std::uint64_t lf = kEveryByteOne * '\n';
  const std::uint64_t mark = kEveryByteOne * static_cast<unsigned char>(separator);
  std::size_t k = 0;
  for (; k + sizeof(std::uint64_t) <= text.size(); k += sizeof(std::uint64_t)) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + k, sizeof word);
    if (HoldsByte(word, cr) || HoldsByte(word, lf) || HoldsByte(word, mark)) break;
  }
  for (; k < text.size(); ++k) {
    const char c = text[k];
    if (c == '\r' || c == '\n' || c == separator) break;
  }
  return k;
}

void AppendCleanCellText(std::string& out, std::string_view text, char separator) {
  const std::size_t clean = CleanStartLength(text, separator);
  out.append(text.substr(0, clean));
  for (const char c : text.substr(clean)) {
    if (c == '\r') continue;
    out += c == '\n' ? ' ' : c == separator ? '.' : c;
  }
}

// The decimal mark in out[from..] when that is a whole number.
void LocalizeDecimalFrom(std::string& out, std::size_t from, char decimalMark) {
  if (!IsWholeNumber(Trim(std::string_view(out).substr(from)))) return;
  for (std::size_t k = from; k < out.size(); ++k) {
    if (out[k] == '.') out[k] = decimalMark;
  }
}

// The text of a cell where it stands; empty for a cell without text.
std::string_view CellText(const CBOMGrid& grid, int row, int column) {
  const CGridCellFormat* cell = grid.GetTextCell(row, column);
  return cell != nullptr ? std::string_view(cell->GetText()) : std::string_view();
}

std::pair<std::string_view, std::string_view> SplitOptionView(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {text, {}};
  const std::size_t blank = text.rfind(' ', equals);
  if (blank == std::string_view::npos) return {text, {}};
  return {text.substr(0, blank), Trim(text.substr(blank))};
}

// What the writing keeps from bill to bill: the columns of the bill at hand and the lines
// being laid out, so that a bill's lines cost no allocation of their own.
struct CCsvWriting {
  struct Column {
    int index;
    bool text;
  };
  char decimalMark;
  std::string optionsTitle;
  std::vector<Column> columns;
  std::string lines;
  CXlExportFile file;
};

// The key under which a bill keeps the text of its lines: what the export makes of
// fresh cells differs by the decimal mark alone.
std::uint32_t KeptTextKey(char decimalMark) {
  return 0x43535600U | static_cast<unsigned char>(decimalMark);  // "CSV" and the mark
}

void CollectColumns(const CBOMGrid& grid, CCsvWriting& writing) {
  writing.columns.clear();
  for (int column = 2; column < grid.GetColumnCount(); ++column) {
    if (IsCsvColumn(grid, column))
      writing.columns.push_back({column, grid.GetColumn(column)->kind == kBOMKindRef});
  }
}

// Appends the row's line, ended by a line feed (which no cleaned field holds). Each field
// is cleaned, trimmed and localized straight into its line, as CleanCellText, a right trim
// and LocalizeDecimal one after the other would give it.
void AppendLine(const CBOMGrid& grid, int row, CCsvWriting& writing) {
  std::string& line = writing.lines;
  AppendCleanCellText(line, CellText(grid, row, 1), kSeparator);
  for (const CCsvWriting::Column& column : writing.columns) {
    const std::string_view text = CellText(grid, row, column.index);
    std::string_view value = text;
    std::string_view options;
    if (column.text && row > 0) std::tie(value, options) = SplitOptionView(text);
    // Blanks at its end are trimmed once cleaned, and cleaning leaves blanks as they are:
    // they are dropped first, since references stand padded with them to their width.
    value = value.substr(0, value.find_last_not_of(' ') + 1);
    line += kSeparator;
    const std::size_t from = line.size();
    AppendCleanCellText(line, value, kSeparator);
    std::size_t end = line.size();
    while (end > from && line[end - 1] == ' ') --end;
    line.resize(end);
    LocalizeDecimalFrom(line, from, writing.decimalMark);
    if (column.text) {
      line += kSeparator;
      AppendCleanCellText(line, row == 0 ? std::string_view(writing.optionsTitle) : options,
                          kSeparator);
    }
  }
  line += '\n';
}

// The lines of a bill whose cells have not changed since its last export are the text it
// kept then; the title line is never kept (only the first bill writes it).
void WriteGrid(CBOMGrid& grid, bool withTitle, CCsvWriting& writing) {
  if (!grid.AreCellsFresh()) grid.NumberLines(1);
  const std::uint32_t key = KeptTextKey(writing.decimalMark);
  const std::optional<std::string_view> kept = grid.GetFreshExportText(key);
  if (!kept || withTitle) CollectColumns(grid, writing);
  if (withTitle) {
    writing.optionsTitle = StringText(kMsgOptionsTitle);
    writing.lines.clear();
    AppendLine(grid, 0, writing);
    writing.file.AddLines(writing.lines);
  }
  if (kept) {
    writing.file.AddLines(*kept);
    return;
  }
  writing.lines.clear();
  for (int row = 1; row < grid.GetLineCount(); ++row) AppendLine(grid, row, writing);
  grid.KeepExportText(key, writing.lines);
  writing.file.AddLines(writing.lines);
}

// Asks the processor for what writing the bill reads: its kept text when it has one.
void PrefetchGrid(const CBOMGrid& grid, char decimalMark) {
  if (const std::optional<std::string_view> kept =
          grid.GetFreshExportText(KeptTextKey(decimalMark))) {
    constexpr std::size_t kCacheLine = 64;
    for (std::size_t k = 0; k < kept->size(); k += kCacheLine) __builtin_prefetch(kept->data() + k);
  } else {
    grid.PrefetchRecords();
  }
}

}  // namespace

std::string CleanCellText(std::string_view text, char separator) {
  std::string clean;
  clean.reserve(text.size());
  AppendCleanCellText(clean, text, separator);
  return clean;
}

std::string LocalizeDecimal(std::string_view text, char decimalMark) {
  std::string result(text);
  LocalizeDecimalFrom(result, 0, decimalMark);
  return result;
}

std::pair<std::string, std::string> SplitOptionPart(std::string_view text) {
  const auto [item, options] = SplitOptionView(text);
  return {std::string(item), std::string(options)};
}

bool IsCsvColumn(const CBOMGrid& grid, int column) {
  const CBOMColumn* record = grid.GetColumn(column);
  return column > 0 && record != nullptr && record->exportWidth > 0 && record->excelFlag >= 0 &&
         record->kind != kBOMKindPicture;
}

CXlExportFile WriteCsvList(CDorneDoc& document, bool allRuns, char decimalMark) {
  CCsvWriting writing{decimalMark, {}, {}, {}, {}};
  CRun* current = document.GetCurrentRun();
  if (!allRuns && current != nullptr && document.GetBomPage() == 0) {
    if (CBOMGrid* totals = current->GetBOM().GetTotalPage()) {
      WriteGrid(*totals, true, writing);
      return std::move(writing.file);
    }
  }
  std::vector<CBOMGrid*> grids;
  for (CRun* run : document.GetRuns()) {
    if (allRuns || run == current) grids.push_back(&run->GetBOM());
  }
  for (std::size_t i = 0; i < grids.size(); ++i) {
    if (i + 2 < grids.size()) grids[i + 2]->PrefetchHead();
    if (i + 1 < grids.size()) PrefetchGrid(*grids[i + 1], decimalMark);
    WriteGrid(*grids[i], i == 0, writing);
  }
  return std::move(writing.file);
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
