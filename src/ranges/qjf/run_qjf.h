#pragma once

#include "ranges/range_run.h"

// A run of range QJF: one code, one cache set, neutral and earth options.
class CRunQJF : public CRangeRun {
 public:
  explicit CRunQJF(CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  void LoadCatalog() override;

  std::array<int, 5> GetLengthsPageArguments() const override { return {5000, 3000, 0, 0, 0}; }

 protected:
  void PrepareRebuild() override { SetProp("COTE_NEUTRE", "0"); }
};
