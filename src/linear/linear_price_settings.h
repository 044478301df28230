#pragma once

#include <array>
#include <string>
#include <string_view>

#include "linear/linear_products.h"
#include "linear/price_vector.h"

class CProfile;

// The price settings of a linear project, handed to the costing explicitly. Read from
// section [Linear] of the settings file; OpenLinearTables fills the price list's titles
// and the UseTC state.
struct CLinearPriceSettings {
  int priceList = 0;                                  // current price list, 0..14
  std::array<double, kPriceListCount15> listCoefs{};  // "Coef%d"
  std::array<double, kPriceListCount15> rates{};      // "Taux%d"
  // Sale coefficients by product and price list; the costing reads the first value.
  std::array<std::array<double, kPriceListCount15>, kLinearProductCount> saleCoefs{};
  double services = 10.0;  // "Services", percent
  int kCoefs = 0;          // "KCoefs": sale coefficients on
  int taux = 0;            // "Taux": conversion rates on
  int useTc = 0;           // 1 on, -1 asked for but the article table has no TC, 0 off
  bool apod = false;
  std::array<bool, kLinearGroupCount> groupsOn{true, true, true, true};  // "Appli%d"
  // Column formulas by column (0..7); columns 2..7 are evaluated.
  std::array<std::string, 8> columnFormulas;
  std::string listTitle;     // DESIGN_1 of the current list's row
  std::string listCurrency;  // DESIGN_2

  CLinearPriceSettings();
};

// The settings of section [Linear] (and [Design] "APOD", [Database] "CurrentCat"):
// coefficients and rates default to 1, the range keys fill the sale coefficients (QM
// for QMA and QMC, QJ, QW for QWA and QWC, QP for QPA, QP-APOD defaulting to QP for QPC,
// QD, QY for QYA and QYB, QFP, QYX), Services defaults to 10.
CLinearPriceSettings ReadLinearPriceSettings(const CProfile& profile);

// The price list (0..14) that a "CurrentCat" text names: the whole number it ends with
// ("12" gives 11), 0 when it ends with no number from 1 to 15.
int PriceListIndexFromSetting(std::string_view currentCat);
