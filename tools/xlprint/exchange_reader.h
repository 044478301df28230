#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tvr::tools {

// One line of a project in the exchange file: its fields and its item table.
struct CExchangeLine {
  std::string name;
  std::vector<std::pair<std::string, std::string>> fields;
  std::vector<std::string> kinds;  // the column kinds ("c14", ...)
  std::vector<std::string> titles;
  std::vector<std::string> formats;  // the number formats, "@" for text
  // Item rows; a linear project's total row last (a reference project's table has none).
  std::vector<std::vector<std::string>> rows;
};

// What the program hands over in "XlExport.txt".
struct CExchange {
  std::vector<std::pair<std::string, std::string>> fields;  // project fields in order
  std::vector<CExchangeLine> lines;

  // The value of a project field, empty when absent.
  std::string Field(std::string_view key) const;
};

// The cells of one exchange line: separated by commas; a cell in double quotes may hold
// commas, and a doubled quote inside it is one quote.
std::vector<std::string> SplitExchangeCells(std::string_view line);

// Reads the exchange file (UTF-16LE with its mark, CR LF lines). Nothing, with error
// set, when the file is missing or does not follow the layout.
std::optional<CExchange> ReadExchangeFile(const std::string& path, std::string& error);
std::optional<CExchange> ParseExchange(std::string_view bytes, std::string& error);

}  // namespace tvr::tools
