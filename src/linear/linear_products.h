#pragma once

#include <string>
#include <string_view>

// The products of the linear window, by index. The same index is a line's Product, the
// row of the option and choice tables and the key of the costing-table queries.
enum LinearProduct : int {
  kProductQMA = 0,
  kProductQMC = 1,
  kProductQWA = 2,
  kProductQWC = 3,
  kProductQPA = 4,
  kProductQJF = 5,
  kProductQDA = 6,
  kProductQYA = 7,
  kProductQYB = 8,
  kProductQFP = 9,
  kProductQPC = 10,
  kProductQYX = 11,
  kProductQYL = 12,  // only the component chooser's tap-off boxes of group-3 lines
};

inline constexpr int kLinearProductCount = 12;
inline constexpr int kLinearGroupCount = 4;

// The three-letter code of a product (0..11): in APOD mode products 4 and 10 read "Qpa"
// and "Qpc". 12 gives "QYL"; any other index an empty text.
std::string LinearProductCode(int product, bool apod);

// The range letter (the code's second letter); 0 for an index outside 0..12.
char LinearRangeLetter(int product, bool apod);

// True for products 7 and 8 (QYA, QYB), the "QY ranges" of the reference rules.
constexpr bool IsQyProduct(int product) { return product == kProductQYA || product == kProductQYB; }
constexpr bool IsQmProduct(int product) { return product == kProductQMA || product == kProductQMC; }
constexpr bool IsQwProduct(int product) { return product == kProductQWA || product == kProductQWC; }
constexpr bool IsQpProduct(int product) { return product == kProductQPA || product == kProductQPC; }
