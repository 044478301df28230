#pragma once

#include "ranges/range_run.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// A run of range QM: "QM" and the variant; set A for variants beginning with 'A', set C
// for the others; the rating value table in the ninth slot.
//
// References are 22 characters: the code at places 0-2, the two-digit rating at 3-4,
// the family at 5-6, the neutral digit at 7 and the variant suffix from 8 on (places
// count from 0). Every fixed-place read and write stays inside the text.
class CRunQM : public CRangeRun {
 public:
  explicit CRunQM(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;

  std::array<int, 5> GetLengthsPageArguments() const override { return {4000, 2000, 0, 0, 0}; }
  std::unique_ptr<CPartBuilder> CreatePartBuilder() override;

  // True for a "_DEVICES" row that a set of that code leaves out.
  static bool IsDroppedDeviceRow(const CCodeRow& row, std::string_view code);

  // Old files: a rating "30" is read as "32" and "QM_ED_STEP" is forgotten.
  using CRun::Serialize;
  void Serialize(CArchiveReader& archive) override;

  // Rating as stored ("Calibre"), code ("Catalog") and "Neutral" as a whole number.
  int GetNeutral() const;
  bool IsQMA() const { return GetPropText("Catalog") == "QMA"; }
  // The ratings the run's own rules treat as twins: Calibre 63 whatever the catalogue,
  // and QMA 50.
  bool IsTwinRating() const;
  // The part builder's twin-rating flag: exactly QMC 63 and QMA 50, the runs built of two
  // runs side by side (a QMA run of Calibre 63 is not one).
  bool IsBuiltAsTwin() const;
  // The run has a neutral conductor unless "Neutral" is "3".
  bool HasNeutral() const { return GetPropText("Neutral") != "3"; }
  // The run carries a protective conductor of its own when "Neutral" is "5" or "7" (the
  // five-conductor column of the rating table).
  bool HasProtectiveConductor() const {
    const std::string neutral = GetPropText("Neutral");
    return neutral == "5" || neutral == "7";
  }

  // References (run_qm_refs.cpp).
  // The code and rating, then "Neutral" ("8" written "6") from place 7.
  void FillRefPattern(std::string& pattern) const override;
  // FillRefPattern, the element's row of the code table and the connection digit of
  // connection units; a device without a row gets 16 "Z".
  void ApplyRefPattern(const CDev& element, std::string& reference) const;
  // The reference of an accessory kind code; empty when the code has none.
  std::string GetElementRef(int kind) override;
  // The rating at places 3-4 (or 3-5) written in amperes on four digits; false, text
  // untouched, when the text is no rating reference.
  bool ExpandRatingRef(std::string& reference) const;
  // The value of the run's reference-table row (its rating row).
  int GetReferenceValue() const;

  // Prices (run_qm_refs.cpp): the base formula; on QMA the two characters after each
  // "QM0" become the rating's code.
  std::optional<std::string> GetPriceFormula(std::string_view reference) override;
  // The options a priced reference stands for: the catalogue's price formula of it,
  // without the rating codes of QMA.
  std::optional<std::string> GetReferenceOptionSuffix(std::string_view reference) override {
    return CRun::GetPriceFormula(reference);
  }

  // Housings and pages (run_qm_housing.cpp).
  CHousingDims GetHousingDims(const CDev& element) const override;
  std::vector<int> GetSubObjects(const CDev& element) const override;
  int GetPageWord(const CDev& element, int page) const override;
  // The first parts row whose pattern matches (see MatchPaddedPattern).
  CPatternRow FindPartRow(std::string_view reference) const override;
  // The key of the element's device housing row: its pattern, or the accessory that a
  // tap-off box or adapter unit stands for, without colour mark or parameters.
  std::string HousingKey(const CDev& element) const;

  // Catalogue values (run_qm_catalog.cpp): a QM part's value worked out from the rating
  // table per metre and its length; the base value for the rest.
  int SeekCatalogCode(std::string_view key, tvr::platform::CDbfTable* table,
                      std::string_view keyField, std::string_view valueField) const override;

  // Geometry, breakers and adapters (run_qm_geometry.cpp).
  // The four conductor centre distances of a connection unit; mode 'C' the cover form.
  std::array<int, 4> GetCentreDistances(const CDev& element, char mode) const;
  // The breaker key of a feed unit with breaker ("HK%02d_D"); empty for other elements.
  // a and b replace the element's breaker fields when 0 or more.
  std::string ChooseBreakerRef(const CDev& element, bool useStored, int a, int b) const;
  std::string GetBreakerKey(const CDev& element) const override {
    return ChooseBreakerRef(element, true, -1, -1);
  }
  // The adapters of the run's rating to the QJ and QZ ranges; mode in, then the adapter
  // digit or index, -1 (none for the rating) or -2 (not in this orientation).
  std::string CrossRangeAdapters(const CDev& element, int& mode) const;
  int GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const override;

  // Sides (run_qm_sides.cpp): the options of a line piece, held by the element the walk
  // along the direction reaches past joints and pass units; mode below 0 reads, 0
  // clears, above 0 sets (true when written).
  bool AccessEH44Option(CDev& element, int mode) const;
  bool AccessED31Option(CDev& element, int mode) const;
  // A 2 or 4 m line piece seen from another side: its reference with that side's letters.
  std::string GetDeviceTextForSide(const CDev& device, int side) const override;

  // Connection mode (style bits 20-23) and breaker fields (24-25, 26-27).
  static int ConnectionMode(const CDev& element);
  static int BreakerFieldA(const CDev& element);
  static int BreakerFieldB(const CDev& element);

 private:
  bool RefersAsAccessory(int kind, std::string& buffer, bool& colour, int& sizeBase) const;
  void ApplySizeRule(int kind, int sizeBase, std::string& buffer) const;
  void ApplyConnectionDigit(const CDev& element, std::string& reference) const;
  char FeedUnitSideDigit(const CDev& element) const;
  std::array<int, 4> CoverDistances(const CDev& element, int x, int y) const;
  int ConnectionBox(const CDev& element, int index, CElementGeometry& geometry) const;
  int BarBox(const CDev& element, int index, CElementGeometry& geometry) const;
  std::optional<double> BarPlace(const CDev& element, int bar) const;
};

// MatchWildcard of a table pattern read padded to the width of a reference: the blanks
// after a closing '*' are no part of the pattern.
bool MatchPaddedPattern(std::string_view pattern, std::string_view text);
