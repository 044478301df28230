#pragma once

#include "ranges/range_run.h"

#include <string_view>

// A run of range QD, variants "QDA" and "QDT". Each code has its own cache set: a set
// filled by a run of one code holds that code's rows, which the other code must not use.
class CRunQD : public CRangeRun {
 public:
  // variant: at least one character; its first replaces the third of "QDA".
  explicit CRunQD(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;

  std::array<int, 5> GetLengthsPageArguments() const override { return {3000, 2000, 0, 0, 0}; }
  // 1 when the code is "QDT".
  int IsQDT() const { return m_qdt; }

 private:
  int m_qdt = 0;
};
