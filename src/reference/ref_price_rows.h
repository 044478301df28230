#pragma once

#include <array>
#include <string>
#include <string_view>

class CRefConfig;

// The product rows of the reference price panel, top to bottom: each shows a product's
// sales coefficient beside the equivalent discount, and only when the option lists offer
// the product up to a rating large enough for the range (its CALMAX).
struct CRefPriceRow {
  std::string_view label;
  int product = 0;      // product kind 0..8
  int apodProduct = 0;  // the kind with [Design] "APOD" on
  int minCalMax = 0;
};

inline constexpr int kRefPriceRowCount = 7;
inline constexpr std::array<CRefPriceRow, kRefPriceRowCount> kRefPriceRows{{
    {"QPC", 8, 5, 100},
    {"QPA", 4, 7, 100},
    {"QDA", 3, 3, 40},
    {"QYB", 2, 2, 25},
    {"QYA", 1, 1, 25},
    {"QFP", 0, 0, 20},
    {"QYX", 6, 6, 25},
}};

// The product kind a row edits; -1 for a row that is none.
int RefPriceRowProduct(int row, bool apod);

// Whether the row is shown: its product's CALMAX reaches the row's threshold.
bool RefPriceRowShown(const CRefConfig& config, int row, bool apod);

// What the partner edit of a coefficient (discount = (1 - c) x 100) or of a discount
// (coefficient = 1 - d x 0.01) shows: "%.15g" with the decimal character. The text read
// takes the decimal character or ',' as '.'; an empty text or one that is not a number
// gives an empty partner.
std::string PartnerNumberText(std::string_view text, char decimal, bool fromDiscount);

// A number as the panel shows it: "%.15g" with the decimal character.
std::string PanelNumberText(double value, char decimal);

// A number the user typed, the decimal character or ',' read as '.'; false when the
// whole text is not one number.
bool ReadPanelNumber(std::string_view text, char decimal, double& value);
