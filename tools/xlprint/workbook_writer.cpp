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

// The cells of the exchange as they are laid out, told to a sink.
class CSheet {
 public:
  explicit CSheet(CCellSink& sink) : m_sink(sink) {}

  // A cell: a number when the text reads as one (and asNumber), else the text.
  void Cell(unsigned row, unsigned column, const std::string& text, bool asNumber,
            CCellStyle style = CCellStyle::Plain) {
    // A switch of the exchange file is a truth value, not the text of its spelling.
    if (text == "#TRUE#" || text == "#FALSE#") {
      m_sink.Boolean(row, column, text == "#TRUE#", style);
      return;
    }
    const std::optional<double> number = asNumber ? ExchangeNumber(text) : std::nullopt;
    if (number) m_sink.Number(row, column, *number, style);
    else if (!text.empty()) m_sink.Text(row, column, text, style);
  }
  // A quantity: a number (lengths with the metre format), or the text when it is none.
  void Quantity(unsigned row, unsigned column, const std::string& text) {
    const std::optional<CQuantity> quantity = ReadQuantity(text);
    if (!quantity) return Cell(row, column, text, false);
    m_sink.Number(row, column, quantity->value,
                  quantity->metres ? CCellStyle::Metres : CCellStyle::Plain);
  }

 private:
  CCellSink& m_sink;
};

// The sink of a worksheet of libxlsxwriter.
class CWorksheetSink : public CCellSink {
 public:
  CWorksheetSink(lxw_workbook* book, const char* name, lxw_format* bold, lxw_format* metres)
      : m_sheet(workbook_add_worksheet(book, name)), m_bold(bold), m_metres(metres) {}
  lxw_worksheet* Get() const { return m_sheet; }

  void Text(unsigned row, unsigned column, const std::string& text, CCellStyle style) override {
    worksheet_write_string(m_sheet, row, Column(column), text.c_str(), Format(style));
  }
  void Number(unsigned row, unsigned column, double value, CCellStyle style) override {
    worksheet_write_number(m_sheet, row, Column(column), value, Format(style));
  }
  void Boolean(unsigned row, unsigned column, bool value, CCellStyle style) override {
    worksheet_write_boolean(m_sheet, row, Column(column), value, Format(style));
  }

 private:
  static lxw_col_t Column(unsigned column) { return static_cast<lxw_col_t>(column); }
  lxw_format* Format(CCellStyle style) const {
    return style == CCellStyle::Bold ? m_bold : style == CCellStyle::Metres ? m_metres : nullptr;
  }
  lxw_worksheet* m_sheet;
  lxw_format* m_bold;
  lxw_format* m_metres;
};

unsigned WriteLine(CSheet& sheet, unsigned row, const CExchangeLine& line) {
  const CCellStyle bold = CCellStyle::Bold;
  sheet.Cell(row++, 0, line.name, false, bold);
  for (const auto& [key, value] : line.fields) {
    sheet.Cell(row, 0, key, false);
    sheet.Cell(row, 1, Trim(value), kNumberFields.contains(key));
    ++row;
  }
  for (std::size_t c = 0; c < line.titles.size(); ++c)
    sheet.Cell(row, static_cast<unsigned>(c), Trim(line.titles[c]), false, bold);
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
      const unsigned column = static_cast<unsigned>(c);
      const CellKind kind = kindOf(c);
      if (kind == CellKind::Quantity) sheet.Quantity(row, column, Trim(cells[c]));
      else sheet.Cell(row, column, Trim(cells[c]), kind == CellKind::Number);
    }
    ++row;
  }
  return row + 1;
}

}  // namespace

unsigned LayOutProject(const CExchange& exchange, CCellSink& sink, unsigned row) {
  CSheet sheet(sink);
  for (const auto& [key, value] : exchange.fields) {
    sheet.Cell(row, 0, key, false, CCellStyle::Bold);
    sheet.Cell(row, 1, Trim(value), kNumberFields.contains(key));
    ++row;
  }
  return row;
}

unsigned LayOutLines(const CExchange& exchange, CCellSink& sink, unsigned row) {
  CSheet sheet(sink);
  for (const CExchangeLine& line : exchange.lines) row = WriteLine(sheet, row, line);
  for (const char* key : {"TotalPrice", "TotalLabourTime", "TotalWeight"}) {
    sheet.Cell(row, 0, key, false, CCellStyle::Bold);
    sheet.Cell(row, 1, Trim(exchange.Field(key)), true);
    ++row;
  }
  return row;
}

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
  lxw_format* bold = workbook_add_format(book);
  format_set_bold(bold);
  lxw_format* metres = workbook_add_format(book);
  format_set_num_format(metres, "0.00\" m\"");
  CWorksheetSink project(book, "Project", bold, metres);
  worksheet_set_column(project.Get(), 0, 0, 20, nullptr);
  worksheet_set_column(project.Get(), 1, 1, 40, nullptr);
  LayOutProject(exchange, project, 0);
  CWorksheetSink lines(book, "Lines", bold, metres);
  worksheet_set_column(lines.Get(), 0, 0, 45, nullptr);
  LayOutLines(exchange, lines, 0);
  const lxw_error result = workbook_close(book);
  if (result != LXW_NO_ERROR) {
    error = std::string("cannot write ") + path + ": " + lxw_strerror(result);
    return false;
  }
  return true;
}

}  // namespace tvr::tools
