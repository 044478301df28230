#include "support/case_table.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": " + what);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Unescape(const std::string& text, const std::string& where) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) Fail(where, "a backslash ends a column");
    switch (text[i]) {
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      case '#': out += '#'; break;
      case 'e': break;
      case 'x': {
        const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) Fail(where, "\\x takes two hex digits");
        out += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default: Fail(where, std::string("unknown escape \\") + text[i]);
    }
  }
  return out;
}

template <typename T>
T Parse(const std::string& text, const std::string& where) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    Fail(where, "\"" + text + "\" is not a number");
  }
  return value;
}

}  // namespace

long long CCaseRow::Int(std::size_t column) const {
  return Parse<long long>(operator[](column), where);
}

double CCaseRow::Number(std::size_t column) const {
  return Parse<double>(operator[](column), where);
}

std::vector<long long> CCaseRow::Ints(std::size_t column) const {
  const std::string& text = operator[](column);
  std::vector<long long> values;
  for (std::size_t start = text.find_first_not_of(' '); start != std::string::npos;) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    values.push_back(Parse<long long>(text.substr(start, end - start), where));
    start = text.find_first_not_of(' ', end);
  }
  return values;
}

std::vector<std::string> CCaseRow::Split(std::size_t column, char separator) const {
  const std::string& text = operator[](column);
  std::vector<std::string> parts;
  for (std::size_t start = 0; !text.empty();) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    parts.push_back(text.substr(start, end - start));
    if (end == text.size()) break;
    start = end + 1;
  }
  return parts;
}

bool CCaseRow::Flag(std::size_t column) const {
  const std::string& text = operator[](column);
  if (text != "0" && text != "1") Fail(where, "\"" + text + "\" is not a flag (0 or 1)");
  return text == "1";
}

std::vector<CCaseRow> ReadCaseTable(const std::string& name, std::size_t columns) {
  const std::string path = std::string(TVR_SOURCE_DIR) + "/tests/data/" + name;
  std::ifstream stream(path, std::ios::binary);
  if (!stream) Fail(path, "cannot read the case table");
  std::vector<CCaseRow> rows;
  std::string line;
  for (int number = 1; std::getline(stream, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    CCaseRow row{name + ":" + std::to_string(number), {}};
    for (std::size_t start = 0;;) {
      const std::size_t tab = line.find('\t', start);
      row.columns.push_back(Unescape(line.substr(start, tab - start), row.where));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (row.columns.size() != columns) {
      Fail(row.where, std::to_string(row.columns.size()) + " columns, " + std::to_string(columns) +
                          " expected");
    }
    rows.push_back(std::move(row));
  }
  if (rows.empty()) Fail(path, "no case in the table");
  return rows;
}
