#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// One row of the tap-off dialog, and the unit the user last chose there. Texts: the
// unit's reference, the device reference, the rating, the type text and the protection.
// Ratings: the unit's width, depth and height, then its three front offsets.
struct CTapOffRecord {
  int function = 0;
  int subFunction = 0;
  int value = 0;
  std::uint32_t mask = 0;
  std::array<std::string, 5> texts;
  std::array<std::int32_t, 6> ratings{};
};

// The bit of a placed unit's connection mask that marks a unit the automatic
// distribution flagged; it is no outlet kind.
inline constexpr std::uint32_t kTapOffMarkBit = 0x2000;

// The range family of a run's product code: 1 "Qp...", 2 "QM...", 3 "QW...", 4 "QJF",
// 5 "QD...", 0 any other.
int TapOffFamily(std::string_view productCode);

// The outlet kinds that accept a unit of the record in the family (connection mask).
std::uint32_t TapOffMask(const CTapOffRecord& record, int family);

// The choice the next placed unit takes, kept while the program runs.
struct CTapOffChoice {
  CTapOffRecord record;
  std::string reference;
};
CTapOffChoice& RememberedTapOffChoice();
void ResetRememberedTapOffChoice();
