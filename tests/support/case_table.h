#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One case of a table in tests/data/: where it stands in its file and its columns, escapes
// already undone.
struct CCaseRow {
  std::string where;  // "<name>:<line>", for SCOPED_TRACE
  std::vector<std::string> columns;

  const std::string& operator[](std::size_t column) const { return columns.at(column); }
  // The column as a whole decimal number (from_chars); throws when it is not one.
  long long Int(std::size_t column) const;
  // The column as a number with a decimal point (from_chars); throws when it is not one.
  double Number(std::size_t column) const;
  // The column as whole decimal numbers separated by blanks, none when it is empty.
  std::vector<long long> Ints(std::size_t column) const;
  // The column cut at every `separator`, none when it is empty.
  std::vector<std::string> Split(std::size_t column, char separator) const;
  // The column as a flag: "1" is true, "0" is false; throws on anything else.
  bool Flag(std::size_t column) const;
};

// Reads the case table tests/data/<name>, format in tests/data/README.md. Throws
// std::runtime_error naming the file and line when the file cannot be read, holds no case,
// or a case has not exactly `columns` columns, so the test reading it fails.
std::vector<CCaseRow> ReadCaseTable(const std::string& name, std::size_t columns);
