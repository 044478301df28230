#pragma once

#include <array>
#include <string>
#include <string_view>

class CRefConfig;
struct CRefPriceSettings;

// The product rows of the reference price panel, top to bottom: each shows a product's
// sales coefficient beside the equivalent discount, and only when the option lists offer
// the product up to a rating large enough for the range (its CALMAX).
struct CRefPriceRow {
  std::string_view label;
  int product = 0;      // product kind 0..8
  int apodProduct = 0;  // the kind with [Design] "APOD" on
  int minCalMax = 0;
  int specialCaption = 0;  // the caption in the configurator's special mode 2; 0 none
};

inline constexpr int kRefPriceRowCount = 7;
inline constexpr std::array<CRefPriceRow, kRefPriceRowCount> kRefPriceRows{{
    {"QPC", 8, 5, 100},
    {"QPA", 4, 7, 100},
    {"QDA", 3, 3, 40},
    {"QYB", 2, 2, 25, 32231},
    {"QYA", 1, 1, 25, 32063},
    {"QFP", 0, 0, 20},
    {"QYX", 6, 6, 25},
}};

// The product kind a row edits; -1 for a row that is none.
int RefPriceRowProduct(int row, bool apod);

// Whether the row is shown: its product's CALMAX reaches the row's threshold.
bool RefPriceRowShown(const CRefConfig& config, int row, bool apod);

// The message a shown lighting row carries in place of its product code when the
// configurator is in special mode 2, where those ranges are sold as lighting busbars;
// 0 when the code stands.
int RefPriceRowSpecialCaption(const CRefConfig& config, int row, bool apod);

// The coefficients a new project prices with: those the configurator read as the
// defaults ([Ref] in the settings file), the same in every column of a product.
void TakeDefaultCoefficients(const CRefConfig& config, CRefPriceSettings& settings);

// An opened project's coefficients, for what the configurator shows of them.
void TakeProjectCoefficients(const CRefPriceSettings& settings, CRefConfig& config);

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
