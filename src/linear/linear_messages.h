#pragma once

// Messages of the linear costing (texts in the language files).
inline constexpr int kMsgLinearTableMissing = 8140;      // %1 table, %2 why
inline constexpr int kMsgLinearTableSkipped = 8141;      // %1 table, %2 why
inline constexpr int kMsgLinearFormulaMalformed = 8142;  // %1 formula, %2 where
inline constexpr int kMsgLinearUnknownName = 8143;       // %1 name, %2 product
inline constexpr int kMsgLinearUnknownArticle = 8144;    // %1 reference
inline constexpr int kMsgLinearTooManyLines = 8145;
inline constexpr int kMsgLinearColumnFormulaMalformed = 8146;  // %1 formula, %2 column
