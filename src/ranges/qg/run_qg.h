#pragma once

#include "ranges/range_run.h"

#include <string_view>

// A run of range QG: "QG" and the variant; set A for variants beginning with 'A', set C
// for the others; the rating value table in the ninth slot.
class CRunQG : public CRangeRun {
 public:
  explicit CRunQG(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;

  std::array<int, 5> GetLengthsPageArguments() const override { return {3000, 0, 0, 0, 0}; }
};
