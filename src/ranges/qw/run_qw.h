#pragma once

#include "ranges/range_row_index.h"
#include "ranges/range_run.h"

#include <optional>
#include <string>
#include <string_view>

// A run of range QW: "QW" and the variant; set A for variants beginning with 'A', set C
// for the others. No run lengths page.
//
// References: "QW0" (or the run's code) at 1-3, the rating class at 4-5 (from "Calibre"
// by the rules of each operation), the family at 6-7, the neutral at 8.
class CRunQW : public CRangeRun {
 public:
  explicit CRunQW(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;

  // "Calibre" as a whole number; 0 when it is not one.
  int GetRating() const;
  // Whether the run's code is "QWA".
  bool IsQWA() const { return GetPropText("Catalog") == "QWA"; }

  std::unique_ptr<CPartBuilder> CreatePartBuilder() override;
  // Kind 1 takes its rating class; kinds 10 and 11 are built when the catalogue has no
  // row for them; any other kind without a row gives the empty text.
  std::string GetElementRef(int kind) override;
  // Special lengths of family "EF" size "2" carry their two lengths ("1500-0600" from
  // character 11): the row is made from them. Other references as CRun finds them.
  CPatternRow FindPartRow(std::string_view reference) const override;
  // "TP" tees size their tap box by the housing height; devices by their housing row.
  CHousingDims GetHousingDims(const CDev& element) const override;
  // The outlets and plug-in unit of end feed units with outlets (kind 0, variant 2).
  int GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const override;
  // The base fill, then the run's "Neutral" from character 8.
  void FillRefPattern(std::string& pattern) const override;
  // The catalogue formula with the rating class of every "QW0" rewritten, or, for a
  // reference with option "A1", a formula of the option by the metre.
  std::optional<std::string> GetPriceFormula(std::string_view reference) override;
  // The option formula of a reference with option "A1"; none for any other.
  std::optional<std::string> GetOptionSuffix(std::string_view reference);
  using CRangeRun::GetOptionSuffix;
  std::optional<std::string> GetReferenceOptionSuffix(std::string_view reference) override {
    return GetOptionSuffix(reference);
  }
  std::vector<int> GetSubObjects(const CDev& element) const override;
  // The elbow page of an elbow that does not turn flat offers only the right angle (1).
  int GetPageWord(const CDev& element, int page) const override;

  // The key of an element's device housing: the run's pattern with the device row of
  // the element's kind group and variant, the neutral and the rating class; 16 "Z" when
  // the catalogue has no row for the element.
  void BuildDevicePattern(const CDev& element, std::string& pattern) const;

 private:
  // The last device row of the code and variant (sub-code modulo 100); null when none.
  const CCodeRow* FindDeviceRow(int code, int variant) const;

  // Look-ups by key, made again when the run's tables change.
  mutable CRangeRowIndex m_index;
};
