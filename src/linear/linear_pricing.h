#pragma once

#include <array>
#include <cstdint>

#include "linear/linear_formula.h"
#include "linear/linear_line.h"

class CLinearTables;
struct CLinearPriceSettings;

// Per slot of one line: the unit price under each of the 15 price lists (blocks 0..14),
// the unit labour time (15) and the unit weight (16).
struct CLinearPriceBuffer {
  static constexpr int kTimeBlock = 15;
  static constexpr int kWeightBlock = 16;
  std::array<std::array<std::int32_t, kLinearSlotCount>, 17> blocks{};
};

// The names of the column-formula dialect.
enum LinearColumnName : int {
  kColPrice,
  kColPrice1,
  kColPrice2,
  kColPrice3,
  kColPrice4,
  kColTime,
  kColWeight,
  kColCoef,
  kColCoef1,
  kColCoef2,
  kColCoef3,
  kColCoef4,
  kColConv,
  kColKCession,
  kColQ,
  kColC1,
  kColC2,
  kColC3,
};

// The column formulas (columns 0..7, of which 2..7 are evaluated), read once.
struct CLinearColumnFormulas {
  std::array<CLinearFormula, 8> formulas;
  static CLinearColumnFormulas Parse(const std::array<std::string, 8>& texts);
};

// Fills slots 30..129 of the buffer from REF_COFF.DBF: the summed prices of the row's
// reference list (REF1 or REF2, by the IP code of the slot), time and weight of its
// first item.
void QueryRefCoffByProduct(const CLinearLine& line, const CLinearTables& tables,
                           CLinearPriceBuffer& buffer);

// Clears the buffer and fills it for the line: slots 30..129 from REF_COFF, slots 0..29
// from the LIN_FORM rows of the line's product whose PARAM condition holds.
void LoadLinearFormula(const CLinearLine& line, const CLinearTables& tables,
                       CLinearPriceBuffer& buffer);

// The value of one column formula for one slot (columns 6 and 7 times 100), truncated
// and held to 32 bits.
std::int32_t EvaluatePriceFormula(const CLinearLine& line, int column, int slot,
                                  const CLinearPriceBuffer& buffer, const CLinearFormula& formula,
                                  const CLinearPriceSettings& settings);

// Prices the line: column 1..7 computes that column only, any other value all seven.
// Item values of slots that are not used (negative, slot 29 excepted) are kept; slots
// that the line's price table shows no row for are priced 0, so the totals are the sum
// of the rows; totals are summed in 64 bits and held to 32; column 3 gets the services surcharge.
void ComputeLinearItem(CLinearLine& line, int column, const CLinearColumnFormulas& formulas,
                       const CLinearTables& tables, const CLinearPriceSettings& settings);
