#pragma once

#include <cstdint>
#include <string_view>

// A per-metre value of the QM and QG ranges by rating and conductor column, from four
// built-in tables (M-A, M-C, G-A, G-C). The linear price formulas and the QM and QG
// range rules share it.
//
// rangeCode: "QMA", "QMC", "QGA" or "QGC" (the third letter picks the A or C table);
// any other code gives 0. column: 3, 4 or 5. For the M tables a column above 5 reads
// 4 when even and 5 when odd. For the G tables a column above 10 is reduced by 10 and
// reads the row after the rating's row (the next higher rating).
// Returns the table value times 1000, or 0 when nothing matches.
std::uint32_t LookupRatingTable(std::string_view rangeCode, int rating, int column);
