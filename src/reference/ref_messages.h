#pragma once

// Messages of costing by reference (texts in the language files). The table and
// article messages of linear costing (8140, 8144) serve here too.
inline constexpr int kMsgRefPriceNotANumber = 8150;  // %1 reference
inline constexpr int kMsgRefUnknownTerm = 8151;      // %1 term, %2 product
inline constexpr int kMsgRefBadFunction = 8152;      // %1 FCT text, %2 table
