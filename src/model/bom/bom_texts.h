#pragma once

// Message numbers of the bill-of-materials grid.

// Default column titles, by column kind.
constexpr int kMsgBOMTitleRef = 7501;
constexpr int kMsgBOMTitleQuantity = 7511;
constexpr int kMsgBOMTitleUnitPrice = 7512;
constexpr int kMsgBOMTitleTotalPrice = 7565;
constexpr int kMsgBOMTitleDiscount = 7625;
constexpr int kMsgBOMTitleSalesCoefficient = 7566;
constexpr int kMsgBOMTitleSalesPrice = 7567;
constexpr int kMsgBOMTitleUnitSalesPrice = 7626;
constexpr int kMsgBOMTitleGlobalDiscount = 7628;
constexpr int kMsgBOMTitleGlobalCoefficient = 7629;
constexpr int kMsgBOMTitleUnitTime = 7568;
constexpr int kMsgBOMTitleTotalTime = 7569;
constexpr int kMsgBOMTitleComment = 7513;
constexpr int kMsgBOMTitlePicture = 7514;
constexpr int kMsgBOMTitleDesignation = 7591;
constexpr int kMsgBOMTitleUnitWeight = 7592;
constexpr int kMsgBOMTitleTotalWeight = 7593;
constexpr int kMsgBOMTitleFurtherPrice = 7631;
// The title of the item-number column.
constexpr int kMsgBOMTitleItem = 7517;
// Added under the designation of an accessory line of a QP run.
constexpr int kMsgBOMAccessoryNote = 30217;

// Editing: a reference typed that already has a line (%1 its item number).
constexpr int kMsgBOMMergeLines = 7502;
constexpr int kMsgBOMMergeLinesCaption = 7503;
// Renaming a line that elements use (%1 item number, %2 their count).
constexpr int kMsgBOMRenameRefused = 7504;
constexpr int kMsgBOMRenameRefusedCaption = 7505;
// A quantity typed below the number of elements that use the reference (%1, %2 as above).
constexpr int kMsgBOMQuantityBelowCount = 7506;
constexpr int kMsgBOMQuantityBelowCountCaption = 7507;

// Deleting a line that elements use: two texts split at a line break (%1 item number,
// %2 their count), the first when the quantity does not exceed the count.
constexpr int kMsgBOMDeleteUsedLine = 7508;
constexpr int kMsgBOMDeleteUsedLineCaption = 7509;
// The size word of rows and columns fitted to their cells.
constexpr int kMsgBOMAutoSize = 7510;
