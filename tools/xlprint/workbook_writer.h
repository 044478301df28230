#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "xlprint/exchange_reader.h"

namespace tvr::tools {

// A number as the exchange file writes it: digits with blanks between groups of three,
// an optional sign and a decimal point ("1 998", "34.10", "-2"). Nothing for any other
// text, so that designations stay texts.
std::optional<double> ExchangeNumber(std::string_view text);

// The look a laid-out cell asks for.
enum class CCellStyle { Plain, Bold, Metres };

// Where the laid-out cells of the exchange go (rows and columns counted from 0).
class CCellSink {
 public:
  virtual ~CCellSink() = default;
  virtual void Text(unsigned row, unsigned column, const std::string& text, CCellStyle style) = 0;
  virtual void Number(unsigned row, unsigned column, double value, CCellStyle style) = 0;
  virtual void Boolean(unsigned row, unsigned column, bool value, CCellStyle style) = 0;
};

// Lays out the project fields (a name and a value a row) from the row given; the lines
// (each one's fields and item table, numbers as numbers) followed by the project's
// totals. Each returns the row after the last it filled.
unsigned LayOutProject(const CExchange& exchange, CCellSink& sink, unsigned row);
unsigned LayOutLines(const CExchange& exchange, CCellSink& sink, unsigned row);

// Writes the exchange as an .xlsx workbook: sheet "Project" with the project fields,
// sheet "Lines" with each line's fields and item table (numbers as numbers) and the
// project's totals. False with error set when the workbook cannot be written.
bool WriteWorkbook(const CExchange& exchange, const std::string& path, std::string& error);

}  // namespace tvr::tools
