#include "xlprint/workbook_writer.h"

#include <charconv>
#include <set>

#include <xlsxwriter.h>

namespace tvr::tools {

namespace {

// Fields whose values are numbers.
const std::set<std::string> kNumberFields = {
    "TotalPrice", "Discount", "TotalLabourTime", "TotalWeight", "LineTotal", "LineLabourTime",
    "Length", "Elbow", "Tapoff", "LineWeight", "SellingRate", "flgs", "Support",
    // The lighting study.
    "Width", "Height", "PlaneHeight", "RCeiling", "RWall", "RFloor", "Depreciation", "Illumination",
    "HangingHeight", "LightFlow", "Index", "Utilance", "Suspension", "TotalFlow", "NbLights",
    "NbRuns", "RunsSpacing", "RunsSpacingWall", "LightsPerRun", "LightsSpacing",
    "LightsSpacingWall", "TotalIllumination"};

std::string Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

enum class CellKind { Text, Quantity, Number };

struct CFormats {
  lxw_format* bold = nullptr;
  lxw_format* metres = nullptr;  // a length in metres: "12.50 m"
};

// A quantity cell of an item table: a count ("4") or a length ("125.50 m").
struct CQuantity {
  double value = 0;
  bool metres = false;
};

std::optional<CQuantity> ReadQuantity(std::string_view text) {
  // Lengths of 1000 m and more come without the blank.
  const bool metres = text.size() > 1 && text.ends_with("m");
  if (metres) text.remove_suffix(text.ends_with(" m") ? 2 : 1);
  const std::optional<double> number = ExchangeNumber(text);
  if (!number) return std::nullopt;
  return CQuantity{*number, metres};
}

class CSheet {
 public:
  CSheet(lxw_workbook* book, const char* name) : m_sheet(workbook_add_worksheet(book, name)) {}
  lxw_worksheet* Get() const { return m_sheet; }
  // A cell: a number when the text reads as one (and asNumber), else the text.
  void Cell(lxw_row_t row, lxw_col_t column, const std::string& text, bool asNumber,
            lxw_format* format = nullptr) {
    // A switch of the exchange file is a truth value, not the text of its spelling.
    if (text == "#TRUE#" || text == "#FALSE#") {
      worksheet_write_boolean(m_sheet, row, column, text == "#TRUE#", format);
      return;
    }
    const std::optional<double> number = asNumber ? ExchangeNumber(text) : std::nullopt;
    if (number) worksheet_write_number(m_sheet, row, column, *number, format);
    else if (!text.empty()) worksheet_write_string(m_sheet, row, column, text.c_str(), format);
  }
  // A quantity: a number (lengths with the metre format), or the text when it is none.
  void Quantity(lxw_row_t row, lxw_col_t column, const std::string& text, const CFormats& formats) {
    const std::optional<CQuantity> quantity = ReadQuantity(text);
    if (!quantity) return Cell(row, column, text, false);
    worksheet_write_number(m_sheet, row, column, quantity->value,
                           quantity->metres ? formats.metres : nullptr);
  }

 private:
  lxw_worksheet* m_sheet;
};

void WriteProjectSheet(lxw_workbook* book, const CExchange& exchange, lxw_format* bold) {
  CSheet sheet(book, "Project");
  worksheet_set_column(sheet.Get(), 0, 0, 20, nullptr);
  worksheet_set_column(sheet.Get(), 1, 1, 40, nullptr);
  lxw_row_t row = 0;
  for (const auto& [key, value] : exchange.fields) {
    sheet.Cell(row, 0, key, false, bold);
    sheet.Cell(row, 1, Trim(value), kNumberFields.contains(key));
    ++row;
  }
}

lxw_row_t WriteLine(CSheet& sheet, lxw_row_t row, const CExchangeLine& line,
                    const CFormats& formats) {
  lxw_format* bold = formats.bold;
  sheet.Cell(row++, 0, line.name, false, bold);
  for (const auto& [key, value] : line.fields) {
    sheet.Cell(row, 0, key, false);
    sheet.Cell(row, 1, Trim(value), kNumberFields.contains(key));
    ++row;
  }
  for (std::size_t c = 0; c < line.titles.size(); ++c)
    sheet.Cell(row, static_cast<lxw_col_t>(c), Trim(line.titles[c]), false, bold);
  ++row;
  // A reference project's table (its first column of kind c0) says per column what it
  // holds: "@" texts, kind c1 quantities, numbers else. The others keep their quantity
  // in column 1 and numbers from column 2.
  const bool described = !line.kinds.empty() && line.kinds.front() == "c0";
  auto kindOf = [&](std::size_t c) {
    if (!described) return c == 1 ? CellKind::Quantity : c >= 2 ? CellKind::Number : CellKind::Text;
    if (c < line.kinds.size() && line.kinds[c] == "c1") return CellKind::Quantity;
    return c < line.formats.size() && line.formats[c] == "@" ? CellKind::Text : CellKind::Number;
  };
  for (const std::vector<std::string>& cells : line.rows) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const lxw_col_t column = static_cast<lxw_col_t>(c);
      const CellKind kind = kindOf(c);
      if (kind == CellKind::Quantity) sheet.Quantity(row, column, Trim(cells[c]), formats);
      else sheet.Cell(row, column, Trim(cells[c]), kind == CellKind::Number);
    }
    ++row;
  }
  return row + 1;
}

}  // namespace

std::optional<double> ExchangeNumber(std::string_view text) {
  std::string compact;
  for (char c : text)
    if (c != ' ') compact += c;
  if (compact.empty()) return std::nullopt;
  // Digits with one optional point and sign: never "inf", "nan" or an exponent.
  std::size_t points = 0;
  for (std::size_t i = 0; i < compact.size(); ++i) {
    const char c = compact[i];
    if (c == '.') ++points;
    else if (!(c >= '0' && c <= '9') && !(c == '-' && i == 0)) return std::nullopt;
  }
  if (points > 1) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(compact.data(), compact.data() + compact.size(), value,
                                            std::chars_format::fixed);
  if (error != std::errc() || end != compact.data() + compact.size()) return std::nullopt;
  return value;
}

bool WriteWorkbook(const CExchange& exchange, const std::string& path, std::string& error) {
  lxw_workbook* book = workbook_new(path.c_str());
  if (!book) {
    error = "cannot create " + path;
    return false;
  }
  CFormats formats;
  formats.bold = workbook_add_format(book);
  format_set_bold(formats.bold);
  formats.metres = workbook_add_format(book);
  format_set_num_format(formats.metres, "0.00\" m\"");
  lxw_format* bold = formats.bold;
  WriteProjectSheet(book, exchange, bold);
  CSheet sheet(book, "Lines");
  worksheet_set_column(sheet.Get(), 0, 0, 45, nullptr);
  lxw_row_t row = 0;
  for (const CExchangeLine& line : exchange.lines) row = WriteLine(sheet, row, line, formats);
  for (const char* key : {"TotalPrice", "TotalLabourTime", "TotalWeight"}) {
    sheet.Cell(row, 0, key, false, bold);
    sheet.Cell(row, 1, Trim(exchange.Field(key)), true);
    ++row;
  }
  const lxw_error result = workbook_close(book);
  if (result != LXW_NO_ERROR) {
    error = std::string("cannot write ") + path + ": " + lxw_strerror(result);
    return false;
  }
  return true;
}

}  // namespace tvr::tools
