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

// Writes the exchange as an .xlsx workbook: sheet "Project" with the project fields,
// sheet "Lines" with each line's fields and item table (numbers as numbers) and the
// project's totals. False with error set when the workbook cannot be written.
bool WriteWorkbook(const CExchange& exchange, const std::string& path, std::string& error);

}  // namespace tvr::tools
