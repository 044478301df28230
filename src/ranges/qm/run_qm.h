#pragma once

#include "ranges/range_run.h"

#include <string_view>

// A run of range QM: "QM" and the variant; set A for variants beginning with 'A', set C
// for the others; the rating value table in the ninth slot.
class CRunQM : public CRangeRun {
 public:
  explicit CRunQM(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;

  std::array<int, 5> GetLengthsPageArguments() const override { return {4000, 2000, 0, 0, 0}; }

  // True for a "_DEVICES" row that a set of that code leaves out.
  static bool IsDroppedDeviceRow(const CCodeRow& row, std::string_view code);
};
