#pragma once

#include "ranges/range_run.h"

#include <string_view>

// A run of range QP: "QPA", "Qpa", "QPC" or "Qpc" by the variant's first letter ('A',
// 'a', 'C', any other); one cache set per code.
class CRunQP : public CRangeRun {
 public:
  explicit CRunQP(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;

  std::array<int, 5> GetLengthsPageArguments() const override;
  // 1 for "QPA" and "QPC".
  int IsUpperCase() const { return m_upperCase; }
  // 1 for "QPA" and "Qpa".
  int IsA() const { return m_a; }

 private:
  int m_upperCase = 0;
  int m_a = 0;
};
