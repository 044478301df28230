#pragma once

// Messages of costing by reference (texts in the language files). The table and
// article messages of linear costing (8140, 8144) serve here too.
inline constexpr int kMsgRefPriceNotANumber = 8160;     // %1 reference
inline constexpr int kMsgRefUnknownTerm = 8161;         // %1 term, %2 product
inline constexpr int kMsgRefBadFunction = 8162;         // %1 FCT text, %2 table
inline constexpr int kMsgRefUnpricedComponent = 62350;  // %1 count, %2 function, %3 product
inline constexpr int kMsgRefUnpricedSlot = 62351;       // %1 units, %2 slot, %3 product
