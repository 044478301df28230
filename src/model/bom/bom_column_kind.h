#pragma once

#include <string>
#include <string_view>

// What a bill-of-materials column shows. Apart from the reference and the quantity, a
// column's value is the run-record property named by the kind's key.
enum BOMColumnKind : int {
  kBOMKindRef = 0,
  kBOMKindQuantity = 1,
  kBOMKindUnitPrice = 2,
  kBOMKindTotalPrice = 3,
  kBOMKindDiscount = 4,
  kBOMKindSalesCoefficient = 5,
  kBOMKindSalesPrice = 6,
  kBOMKindUnitSalesPrice = 7,
  kBOMKindGlobalDiscount = 8,
  kBOMKindGlobalCoefficient = 9,
  kBOMKindUnitTime = 10,
  kBOMKindTotalTime = 11,
  kBOMKindComment = 12,
  kBOMKindPicture = 13,
  kBOMKindDesignation = 14,
  kBOMKindUnitWeight = 15,
  kBOMKindTotalWeight = 16,
  kBOMKindFurtherPrice = 17,
  kBOMKindENumber = 18,
  kBOMKindNone = 20,
};

// Line fields beyond the column kinds (CBOMGrid::GetLineFieldText).
enum BOMLineField : int {
  kBOMFieldGroup = 21,      // the group number
  kBOMFieldBareRef = 22,    // the reference without its group suffix
  kBOMFieldItem = 23,       // the item number shown in column 1
  kBOMFieldGroupFlag = 24,  // the group number followed by the group flag
};

// The run-record property that holds a kind's value ("Ref", "Qte", "PrixU", ...);
// "?" for a kind without one.
std::string_view BOMColumnKey(int kind);

// The message number of a kind's default title; 0 when the kind has none.
int BOMDefaultTitleNumber(int kind);

// The default title of a kind in the program's language; empty when it has none.
std::string BOMDefaultTitle(int kind);

// Discounts and coefficients (kinds 4, 5, 8 and 9), left empty on lines without price.
bool IsBOMPriceAdjustmentKind(int kind);
