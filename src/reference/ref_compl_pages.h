#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "reference/ref_comparison.h"

// The complementary items of a comparison as their dialog pages them: twelve to a page.
inline constexpr int kComplRowsPerPage = 12;

// The items listed (state at least 1), or with usedOnly those a solution uses (state 2),
// in item order.
std::vector<int> ComplListedItems(const CRefComparison& comparison, bool usedOnly);
// count / 12, plus one when the count is not a multiple of 12 or is 0.
int ComplPageCount(std::size_t listed);
// The item numbers of the rows of page 1..count (0 = empty row); a page beyond the count
// gives the last page.
std::array<int, kComplRowsPerPage> ComplPageRows(const std::vector<int>& listed, int page);

// A typed number ("," and "." alike, ParseTypedNumber) rounded to that many decimals and
// scaled by them (four decimals: ten-thousandths); nothing when the text is not a number.
std::optional<std::int64_t> ReadRoundedValue(std::string_view text, int decimals);
