#pragma once

#include "ranges/range_row_index.h"
#include "ranges/range_run.h"

#include <optional>
#include <string>
#include <string_view>

// A run of range QJF: one code, one cache set, neutral and earth options.
//
// Its references are 22 characters: the code "QJF" (fixed pieces "QJ0"), the rating at
// places 3-4, the part family at 5-6, the neutral digit at 7, a mark of the part rules
// at 8, the option flag 'A' at 9 with the option letters from 10 on, the earth text from
// 13 and the treatment text from 19 (places counted from 0).
class CRunQJF : public CRangeRun {
 public:
  explicit CRunQJF(CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  void LoadCatalog() override;

  std::array<int, 5> GetLengthsPageArguments() const override { return {5000, 3000, 0, 0, 0}; }

  std::unique_ptr<CPartBuilder> CreatePartBuilder() override;
  std::string GetElementRef(int kind) override;
  CPatternRow FindPartRow(std::string_view reference) const override;
  CHousingDims GetHousingDims(const CDev& element) const override;
  int GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const override;
  void FillRefPattern(std::string& pattern) const override;
  void NormalizeRefCode(std::string& text) const override;
  std::optional<std::string> GetPriceFormula(std::string_view reference) override;
  std::vector<int> GetSubObjects(const CDev& element) const override;
  std::string GetDeviceTextForSide(const CDev& device, int side) const override;

  // The option prices of a bill-of-materials reference: the catalogue's formula when it
  // has one, else the reference's first nine characters followed by one option term for
  // each option letter; none for a reference that carries no options.
  using CRun::GetOptionSuffix;
  std::optional<std::string> GetOptionSuffix(std::string_view reference);
  std::optional<std::string> GetReferenceOptionSuffix(std::string_view reference) override {
    return GetOptionSuffix(reference);
  }
  // 22 '?' with the characters of the sparse code ('\0' for none) at their places.
  static std::string MakeWildcardRef(std::string_view sparse);
  // The run's pattern (FillRefPattern) with the device-kind row of the element's kind
  // group and variant laid over it, and the feed-unit family of its entrax type; 16 "Z"
  // when the element has no device-kind row.
  void BuildElementPattern(const CDev& element, std::string& pattern) const;

 protected:
  void PrepareRebuild() override { SetProp("COTE_NEUTRE", "0"); }

 private:
  // The run's element whose reference is the text, from the last device; null when none.
  const CDev* FindDeviceByReference(std::string_view reference) const;
  std::optional<std::string> GetFeedUnitFormula(const CDev& element, std::string_view formula);
  std::string MakeLengthFormula(std::string_view reference, std::string options) const;
  void SetFeedBoxDims(const CDev& element, CHousingDims& dims) const;

  mutable CRangeRowIndex m_index;
};

// The entrax type of a feed unit: bits 20-23 of its style.
inline int EntraxType(std::uint32_t style) { return static_cast<int>((style >> 20) & 0xF); }
