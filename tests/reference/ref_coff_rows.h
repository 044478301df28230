#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/dbf_table.h"

// A REF_COFF.DBF row of the rating tables: PROD PARAM POS POL FCT CAL IP1 TYP1 IP2 TYP2
// (REF1 and REF2 stay empty).
using RefCoffRow = std::array<const char*, 10>;

// Writes the rows as a REF_COFF.DBF at path; false when any of it could not be written.
inline bool WriteRefCoffRows(const std::string& path, const std::vector<RefCoffRow>& rows) {
  tvr::platform::CDbfTable table;
  bool written = table.Create(path, {{"PROD", 'C', 4},
                                     {"PARAM", 'C', 8},
                                     {"POS", 'C', 4},
                                     {"POL", 'C', 20},
                                     {"FCT", 'C', 4},
                                     {"CAL", 'C', 6},
                                     {"IP1", 'C', 6},
                                     {"TYP1", 'C', 20},
                                     {"IP2", 'C', 6},
                                     {"TYP2", 'C', 20},
                                     {"REF1", 'C', 20},
                                     {"REF2", 'C', 20}});
  for (const RefCoffRow& row : rows) {
    written = table.Append() && written;
    for (int field = 0; field < 10; ++field)
      table.Assign(field, row[static_cast<std::size_t>(field)]);
  }
  return table.Close() && written;
}
