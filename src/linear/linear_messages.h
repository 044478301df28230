#pragma once

// Messages of the linear costing (texts in the language files).
inline constexpr int kMsgLinearTableMissing = 8140;      // %1 table, %2 why
inline constexpr int kMsgLinearTableSkipped = 8141;      // %1 table, %2 why
inline constexpr int kMsgLinearFormulaMalformed = 8142;  // %1 formula, %2 where
inline constexpr int kMsgLinearUnknownName = 8143;       // %1 name, %2 product
inline constexpr int kMsgLinearUnknownArticle = 8144;    // %1 reference
inline constexpr int kMsgLinearTooManyLines = 8145;
inline constexpr int kMsgLinearColumnFormulaMalformed = 8146;  // %1 formula, %2 column
inline constexpr int kMsgLinearPriceNotNumber = 8147;          // %1 reference, field, text
inline constexpr int kMsgLinearWorkbookNotOpened = 8148;       // %1 workbook
inline constexpr int kMsgLinearWorkbookNotWritten = 8149;      // %1 workbook, %2 exit code
inline constexpr int kMsgLinearHelperNotStarted = 8150;
inline constexpr int kMsgLinearFileFilter = 8151;          // "... (*.lin)"
inline constexpr int kMsgWorkbookFilter = 8152;            // "... (*.xlsx)"
inline constexpr int kMsgLinearExchangeNotWritten = 8154;  // %1 exchange file
