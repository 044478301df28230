#pragma once

#include <string>

// The record of one bill-of-materials column.
struct CBOMColumn {
  std::string title;
  // The column's index in the grid, kept up to date when columns move.
  int position = 0;
  // Which field the column shows (BOMColumnKind in bom_column_kind.h).
  int kind = 0;
  // 0 left, 1 centred, 2 right.
  int alignment = 0;
  // The column is fitted to its cells whenever they change.
  bool autoWidth = true;
  // 1: the column goes to the Excel exchange file, 0: it does not, negative: the column
  // is transient (not stored with the document, never exported).
  int excelFlag = 1;
  // The same for the CSV export.
  int csvFlag = 0;
  // 0, or the width chosen for the exports.
  int exportWidth = 200;

  bool operator==(const CBOMColumn&) const = default;
};
