#include "app/rating_table.h"

#include <array>
#include <span>

namespace {

struct RatingRow {
  int rating;
  std::array<std::uint32_t, 3> values;  // columns 3, 4 and 5
};

constexpr RatingRow kTableMA[] = {
    {800, {12, 13, 15}},  {1000, {14, 16, 19}}, {1250, {16, 18, 21}},
    {1600, {19, 22, 26}}, {2000, {22, 26, 31}}, {2500, {25, 30, 36}},
    {3200, {31, 37, 46}}, {4000, {38, 45, 56}}, {5000, {50, 60, 72}},
};
constexpr RatingRow kTableMC[] = {
    {1000, {19, 23, 25}}, {1350, {25, 31, 33}},   {1600, {29, 35, 39}},
    {2000, {36, 45, 49}}, {2500, {44, 55, 60}},   {3200, {51, 64, 71}},
    {4000, {66, 84, 92}}, {5000, {82, 104, 114}}, {6300, {102, 128, 142}},
};
constexpr RatingRow kTableGA[] = {
    {800, {21, 22, 22}},   {1000, {26, 29, 35}},    {1250, {30, 34, 40}},
    {1600, {43, 48, 58}},  {2000, {52, 58, 69}},    {2500, {61, 68, 81}},
    {3200, {85, 95, 113}}, {4000, {102, 115, 137}}, {5000, {120, 135, 161}},
};
constexpr RatingRow kTableGC[] = {
    {1000, {30, 31, 34}},    {1350, {36, 41, 49}},    {1600, {43, 48, 59}},
    {2000, {64, 72, 87}},    {2500, {77, 87, 105}},   {3200, {92, 103, 125}},
    {4000, {126, 142, 172}}, {5000, {155, 174, 211}}, {6300, {182, 205, 249}},
};

}  // namespace

std::uint32_t LookupRatingTable(std::string_view rangeCode, int rating, int column) {
  if (rangeCode.size() != 3 || rangeCode[0] != 'Q') return 0;
  const bool tableA = rangeCode[2] == 'A';
  if (!tableA && rangeCode[2] != 'C') return 0;
  std::span<const RatingRow> rows;
  bool nextRow = false;
  if (rangeCode[1] == 'M') {
    rows = tableA ? std::span<const RatingRow>(kTableMA) : std::span<const RatingRow>(kTableMC);
    if (column > 5) column = column % 2 == 0 ? 4 : 5;
  } else if (rangeCode[1] == 'G') {
    rows = tableA ? std::span<const RatingRow>(kTableGA) : std::span<const RatingRow>(kTableGC);
    if (column > 10) {
      column -= 10;
      nextRow = true;
    }
  } else {
    return 0;
  }
  if (rating < 1 || column < 3 || column > 5) return 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].rating != rating) continue;
    const std::size_t row = nextRow ? i + 1 : i;
    if (row >= rows.size()) return 0;
    return rows[row].values[static_cast<std::size_t>(column - 3)] * 1000u;
  }
  return 0;
}
