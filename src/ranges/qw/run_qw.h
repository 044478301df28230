#pragma once

#include "ranges/range_run.h"

#include <string_view>

// A run of range QW: "QW" and the variant; set A for variants beginning with 'A', set C
// for the others. No run lengths page.
class CRunQW : public CRangeRun {
 public:
  explicit CRunQW(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;
};
