#include "xlprint/exchange_reader.h"

#include <algorithm>

#include <charconv>
#include <fstream>
#include <iterator>

#include "platform/text_encoding.h"

namespace tvr::tools {

namespace {

struct ParseError {
  std::string what;
};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

class CLineCursor {
 public:
  explicit CLineCursor(std::vector<std::string> lines) : m_lines(std::move(lines)) {}
  const std::string& Next(const char* what) {
    if (m_pos >= m_lines.size()) throw ParseError{std::string("the file ends before ") + what};
    return m_lines[m_pos++];
  }
  bool AtEnd() const { return m_pos >= m_lines.size(); }

 private:
  std::vector<std::string> m_lines;
  std::size_t m_pos = 0;
};

int Count(const std::string& text, const char* what) {
  int value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || value < 0 || value > 100000)
    throw ParseError{std::string("bad ") + what + ": " + text};
  return value;
}

// A field line: key, then the value as its last cell.
std::pair<std::string, std::string> Field(const std::string& line) {
  const std::vector<std::string> cells = SplitExchangeCells(line);
  if (cells.size() < 2) throw ParseError{"a field without value: " + line};
  return {cells.front(), cells.back()};
}

bool IsSwitchRow(const std::vector<std::string>& cells) {
  return std::all_of(cells.begin(), cells.end(),
                     [](const std::string& cell) { return cell == "#TRUE#" || cell == "#FALSE#"; });
}

// A layout document's table (its totals hold "SellingRate") gives its column count first
// and then its number of lines, all data rows; a linear project's gives its item rows
// first, its total row following them.
CExchangeLine ReadLine(CLineCursor& cursor, bool layout) {
  CExchangeLine line;
  const std::vector<std::string> name = SplitExchangeCells(cursor.Next("a line name"));
  line.name = name.empty() ? std::string() : name.front();
  for (std::string text = cursor.Next("a line field"); text != "-,-";
       text = cursor.Next("a line field"))
    line.fields.push_back(Field(text));
  const std::vector<std::string> size = SplitExchangeCells(cursor.Next("the table size"));
  if (size.size() != 2) throw ParseError{"bad table size"};
  const int rows = layout ? Count(size[1], "row count") - 1 : Count(size[0], "row count");
  line.kinds = SplitExchangeCells(cursor.Next("the widths"));
  line.titles = SplitExchangeCells(cursor.Next("the titles"));
  cursor.Next("the alignments");
  line.formats = SplitExchangeCells(cursor.Next("the formats"));
  // The row of sum switches ends the table; a reference project's table reaches it a row
  // earlier than the others, having no total row.
  for (int r = 0; r <= rows; ++r) {
    std::vector<std::string> cells = SplitExchangeCells(cursor.Next("an item row"));
    if (IsSwitchRow(cells)) return line;
    line.rows.push_back(std::move(cells));
  }
  cursor.Next("the switches");
  return line;
}

}  // namespace

std::string CExchange::Field(std::string_view key) const {
  for (const auto& [name, value] : fields)
    if (name == key) return value;
  return {};
}

std::vector<std::string> SplitExchangeCells(std::string_view line) {
  std::vector<std::string> cells;
  std::string cell;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      cell += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      cells.push_back(std::move(cell));
      cell.clear();
    } else {
      cell += c;
    }
  }
  cells.push_back(std::move(cell));
  return cells;
}

std::optional<CExchange> ParseExchange(std::string_view bytes, std::string& error) {
  if (bytes.size() < 2 || bytes.size() % 2 != 0 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xFE) {
    error = "not a UTF-16LE text with its mark";
    return std::nullopt;
  }
  std::u16string wide;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
    wide += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  const std::optional<std::string> text = tvr::platform::Utf16ToUtf8(wide);
  if (!text) {
    error = "invalid UTF-16";
    return std::nullopt;
  }
  try {
    CLineCursor cursor(SplitLines(*text));
    CExchange exchange;
    for (std::string line = cursor.Next("the project end"); line != "-,-,-";
         line = cursor.Next("the project end"))
      exchange.fields.push_back(Field(line));
    const int count = Count(cursor.Next("the line count"), "line count");
    const bool layout = !exchange.Field("SellingRate").empty();
    for (int i = 0; i < count; ++i) exchange.lines.push_back(ReadLine(cursor, layout));
    return exchange;
  } catch (const ParseError& e) {
    error = e.what;
    return std::nullopt;
  }
}

std::optional<CExchange> ReadExchangeFile(const std::string& path, std::string& error) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) {
    error = "cannot open " + path;
    return std::nullopt;
  }
  const std::string bytes((std::istreambuf_iterator<char>(stream)),
                          std::istreambuf_iterator<char>());
  return ParseExchange(bytes, error);
}

}  // namespace tvr::tools
