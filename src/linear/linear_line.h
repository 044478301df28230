#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int kLinearSlotCount = 130;
inline constexpr int kLinearColumnCount = 7;
inline constexpr int kLinearFirstBoxSlot = 30;
inline constexpr int kLinearMaxLines = 100;

// The longest text a linear project keeps, in UTF-16 units (what its file can hold).
inline constexpr std::size_t kMaxLinearTextUnits = 511;

// The text cut to at most 511 UTF-16 units, never inside a character. Names, comments
// and properties go through it when they are entered, so a save never cuts them.
std::string LimitLinearText(std::string_view text);

// One busbar line of a linear project, described by totals. Slots hold the line's
// quantities and choices (-1 = not offered or not set); the value tables hold what the
// price formulas computed for each slot (column c in index c-1).
class CLinearLine {
 public:
  using SlotArray = std::array<std::int32_t, kLinearSlotCount>;
  using ColumnArray = std::array<std::int32_t, kLinearColumnCount>;

  CLinearLine() { Clear(); }

  // Empties the texts, sets the choices and slots to -1 and the values to 0;
  // LineWeight is left as it is.
  void Clear();
  // Copies every field but LineWeight.
  void Assign(const CLinearLine& source);

  // The number of identical lines the line stands for: slot 29, at least 1.
  int Multiplier() const;

  // True when the other record holds the same computed values, as a saved project keeps
  // them (an item value of 0 or less is not kept, and reads back as 0).
  bool HasSamePrices(const CLinearLine& other) const;

  std::string Name;
  std::string Comment;
  std::int32_t Group = -1;
  std::int32_t Product = -1;
  std::int32_t Rating = -1;
  std::int32_t Conductors = -1;
  std::int32_t IpDegree = -1;
  SlotArray Slots{};
  std::int32_t SecondVariant = 0;
  std::array<SlotArray, kLinearColumnCount> ItemValues{};
  ColumnArray ExtraValues{};
  ColumnArray TotalValues{};
  double LineWeight = 0.0;
};
