#pragma once

#include <array>

#include "linear/linear_project.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_line.h"

// A costing-by-reference project: its 17 properties, the price settings of its
// configurator and its lines. Line 0 is the configurator's working record; the lines a
// user made are 1..100, numbered without gaps.
struct CRefProject : CProjectFields {
  static constexpr int kLineCount = 101;

  CRefPriceSettings priceSettings;
  int labourRate = 0;  // the configurator's [Comp] "MO"
  int lineCount = 0;   // lines 1..lineCount are the project's
  std::array<CRefLine, kLineCount> lines;
};
