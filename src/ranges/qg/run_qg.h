#pragma once

#include "ranges/range_row_index.h"
#include "ranges/range_run.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// A run of range QG: "QG" and the variant; set A for variants beginning with 'A', set C
// for the others; the rating value table in the ninth slot.
//
// Short references carry a two-digit rating at places 3-4 (counted from 0); full ones
// carry the rating in amperes as four digits at places 3-6.
class CRunQG : public CRangeRun {
 public:
  explicit CRunQG(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;

  std::array<int, 5> GetLengthsPageArguments() const override { return {3000, 0, 0, 0, 0}; }

  std::unique_ptr<CPartBuilder> CreatePartBuilder() override;
  CPatternRow FindPartRow(std::string_view reference) const override;

  std::string GetElementRef(int kind) override;
  // The value of a catalogue code, for a made-to-measure part scaled by its developed
  // length from the per-metre rating table; -1 before the parts are built.
  int SeekCatalogCode(std::string_view key, tvr::platform::CDbfTable* table,
                      std::string_view keyField, std::string_view valueField) const override;
  // The run's code and rating, then the first character of "Neutral" at place 7.
  void FillRefPattern(std::string& pattern) const override;
  // The options a priced reference stands for: the catalogue's price formula of it.
  std::optional<std::string> GetReferenceOptionSuffix(std::string_view reference) override {
    return CRun::GetPriceFormula(reference);
  }
  // The element's device pattern: the device-kind row laid over the filled pattern and
  // the marks of the special shapes; no row makes it a part that does not exist.
  void CompleteDeviceRef(const CDev& element, std::string& pattern) const;
  // The short reference turned into the full one (rating in amperes, the size above with
  // the flag, the neutral label as a parameter); false, text untouched, when it cannot
  // be or was converted already.
  bool ExpandReference(std::string& text, bool nextSize) const;

  // The bar of the element, or of the entry numbered by the incoming length without an
  // element, for the run's housing height: the entry number, or -1 (outputs then 0).
  int GetBarGeometry(int& length, int& width, int& thickness, CDev* element) const;
  // The four centre distances of a special-shape straight, no smaller than its bars
  // allow, those beyond the conductor count 0.
  std::array<int, 4> GetCentreDistances(CDev& element) const;
  // The longest chain of lengths from the element away from the side (-1: from every
  // side, answered 1 when it reaches 90 m, else 0).
  int GetLongestPathLength(const CDev& element, int side) const;
  // "Neutral" as the conductor count, 3 to 5; 4 for anything else.
  int ConductorCount() const;
  // Bits 20-23 of the style word.
  static int SubVariant(const CDev& element);

  // The device housing row of the element's completed pattern; the housings that wrap
  // the busbar grow by the run's own housing, and a mounted joint takes the size of the
  // "F" housing of the rating ("Calibre" and "F").
  CHousingDims GetHousingDims(const CDev& element) const override;

  // The device's reference on its own side; a 2 or 4 m "ET" device shows its other end
  // on side 0, with the neutral and 'T'.
  std::string GetDeviceTextForSide(const CDev& device, int side) const override;
  // A joint by what lies on both sides: 0 not a live joint or beside a plain straight,
  // 1 an unmounted one, 2 a mounted one beside a wall piece (kind 8, variant 15), 6 any
  // other mounted one. Without `mounted`, IsMountedByWalls tells.
  int ClassifyKind9Element(const CDev* element) const;
  int ClassifyKind9Element(const CDev* element, bool mounted) const;
  // A run starts unmounted and every wall piece behind an element turns its mounting
  // over: true when an odd number of them lie on the chain behind it. (The element's
  // active word cannot tell: every laid element is active.)
  static bool IsMountedByWalls(const CDev& element);
  // The common pages up to the element name page; for the whole element the pages of
  // the special shapes, risers and accessories; the name page last.
  std::vector<int> GetSubObjects(const CDev& element) const override;
  // 1 for the second page of a single face's list, else 0.
  int GetPageWord(const CDev& element, int page) const override;

  // The bars, clips and envelopes of the special shapes, the outlet of "TD" tees, the
  // collars of wall pieces and the fixing kits of risers, as further boxes of the element.
  int GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const override;

 private:
  // Where the conductors of a special shape lie across it.
  struct CConductorLayout {
    std::vector<double> at;
    int span = 0;
    double shift = 0;
    bool mirror = false;
    bool reversed = false;
  };
  CConductorLayout LayOutConductors(CDev& element) const;
  int ShapeGeometry(CDev& element, int index, CElementGeometry& geometry) const;
  int ShapeEnvelope(const CDev& element, const CConductorLayout& layout, int barWidth,
                    int thickness, CElementGeometry& geometry) const;
  // The width B of a special shape's envelope: the conductors' span and 100, and the bars.
  int ShapeBaseWidth(const CDev& element, const CConductorLayout& layout, int barWidth,
                     int thickness) const;
  int ShapeCover(const CDev& element, int index, const CConductorLayout& layout, int barWidth,
                 int thickness, CElementGeometry& geometry) const;
  int ShapeSidePlates(const CDev& element, int index, int base, int thickness,
                      CElementGeometry& geometry) const;
  void TeeOutletGeometry(const CDev& element, int index, CElementGeometry& geometry) const;
  void WallPieceGeometry(const CDev& element, int index, CElementGeometry& geometry) const;
  void KitGeometry(const CDev& element, int index, CElementGeometry& geometry) const;
  void AddWholeElementPages(const CDev& element, std::vector<int>& pages) const;
  bool IsMountedJoint(const CDev& element) const;
  void FitJointToFHousing(const CDev& element, CHousingDims& dims) const;
  void MarkSpecialShape(const CDev& element, std::string& pattern) const;
  std::string LiteralElementRef(int kind, std::string& buffer) const;
  void AddNeutralLabel(std::string& text) const;
  // "n=" and the label of the neutral option without blanks; empty without one.
  std::string NeutralParameter(const std::string& neutral) const;
  void RaiseToBarMinimum(CDev& element, int sub, int conductors, std::array<int, 4>& d) const;

  mutable CRangeRowIndex m_index;
};

// The whole numbers of a text separated by "/", at most the count given.
std::vector<int> ReadSlashNumbers(std::string_view text, std::size_t most);
