#pragma once

#include "ranges/range_row_index.h"
#include "ranges/range_run.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A run of range QD, variants "QDA" and "QDT". Each code has its own cache set: a set
// filled by a run of one code holds that code's rows, which the other code must not use.
//
// References are built with the rating code of the catalogue ("04", "06", "10", "16") at
// characters 4-5 and turned into amperes at the end of a rebuild (NormalizeQDRef).
class CRunQD : public CRangeRun {
 public:
  // Run flags: the default mounting side is known, and it is not reversed.
  static constexpr std::uint32_t kSideCached = 0x40;
  static constexpr std::uint32_t kSideNotReversed = 0x80;

  // variant: at least one character; its first replaces the third of "QDA".
  explicit CRunQD(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;

  std::array<int, 5> GetLengthsPageArguments() const override { return {3000, 2000, 0, 0, 0}; }
  // 1 when the code is "QDT".
  int IsQDT() const { return m_qdt; }

  std::unique_ptr<CPartBuilder> CreatePartBuilder() override;
  std::string GetElementRef(int kind) override;
  // The row of the parts list that the reference matches, as CRun finds it; the answers
  // are kept per reference, since a rebuild asks for the same few references again and
  // again.
  CPatternRow FindPartRow(std::string_view reference) const override;
  CHousingDims GetHousingDims(const CDev& element) const override;
  void FillRefPattern(std::string& pattern) const override;
  std::optional<std::string> GetPriceFormula(std::string_view reference) override;
  std::vector<int> GetSubObjects(const CDev& element) const override;
  std::string GetDeviceTextForSide(const CDev& device, int side) const override;

  // The rating code at characters 4-6 turned into amperes (4 -> 40, 6 -> 63, 10 -> 100,
  // 16 -> 160; a three-digit rating makes the text one character longer), and in a QDT
  // run the third character "T" for the families that QDT offers. False, and the text
  // unchanged, for a text shorter than seven characters or another rating code.
  bool NormalizeQDRef(std::string& reference) const;
  // The run's pattern (FillRefPattern) with the device-kind row of the element's kind
  // group and variant laid over it; 16 "Z" when there is none (no catalogue part).
  void BuildHousingPattern(const CDev& element, std::string& pattern) const;
  // 1 when the element is mounted on the reversed side. Without an element, the run's
  // default side, which is worked out once and kept in the run flags. Mode -1 ignores
  // the element's "MOUNT" field; mode 1 works the default side out again.
  int IsMountReversed(const CDev* element, int mode) const override;

 private:
  // The last device-kind row of the code and variant (sub-code modulo 100); null when
  // there is none.
  const CCodeRow* FindDeviceRow(int code, int variant) const;

  int m_qdt = 0;
  mutable CRangeRowIndex m_index;
};
