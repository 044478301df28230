#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CDev;
class CRun;

// Size of the real joint drawn between two built lengths: its length along the run and
// the margin around the housing (0 when the range draws none).
struct CRealJoint {
  std::int32_t length = 0;
  std::int32_t margin = 0;
};

// The rules in which the product ranges differ from one another, asked by the generic
// run, element, bill-of-materials and picking code. This class answers for a run of no
// particular range; each range (src/ranges) gives its own answers and registers them
// with CRunFactory::SetRules. Codes passed in are the run's "Catalog" ("QMC", "Qpa", ...).
class CRunRangeRules {
 public:
  virtual ~CRunRangeRules() = default;

  // The answers for a run of no particular range.
  static const CRunRangeRules& Generic();

  // Take-over of a run whose catalogue the user changed (see run_takeover.cpp).
  // The code of the other variant of the range that a run can change to keeping its
  // elements ("QMC" for "QMA"); empty when none.
  virtual std::string GetVariantCounterpart(std::string_view code) const;
  // Starts of the tap-off unit references that a change to the variant code drops.
  virtual std::vector<std::string> GetTapOffsDroppedByVariantChange(std::string_view code) const;
  // Whether a variant change keeps the run's "INDEXGRP" property.
  virtual bool KeepsIndexGroupOnVariantChange() const;
  // Clears what an element kept by a change to the variant code cannot keep.
  virtual void AdaptVariantElement(CDev& element, std::string_view code) const;
  // Whether the variant code lacks the element (it then goes back to its generic form).
  virtual bool IsMissingInVariant(const CDev& element, std::string_view code) const;
  // Corrects the properties a run of this range took over from the old run.
  virtual void AdaptTakenOverProperties(CRun& run) const;
  // Whether a run of the code may take the rating nearest to its old one.
  virtual bool TakesOverRating(std::string_view code, int rating) const;
  // The variant mask of the length records that a taken-over run rebuilds; 0 for none.
  virtual int GetTakeOverLengthMask(std::string_view code) const;

  // Rebuild of a run's parts (see run_rebuild.cpp and beside it).
  // Whether the run remembers its joints' options across a rebuild ("PJP").
  virtual bool KeepsJointOptions() const;
  // The range's last step of a bill-of-materials rebuild.
  virtual void FinishBOMRebuild(CRun& run) const;
  // Whether lines of numeric references gather at the end of the bill of materials.
  virtual bool GathersNumericLines() const;
  // Whether each support of a run of the code and rating is a double one.
  virtual bool DoublesSupports(std::string_view code, std::string_view rating) const;
  // Whether the element's length counts toward the flat length that supports carry.
  virtual bool CarriesSupports(const CDev& element) const;
  // Accessory records that come with `count` accessories of the reference: pairs of a
  // kind (of CRun::GetElementRef) and a count.
  virtual std::vector<std::pair<int, int>> GetCompanionAccessories(std::string_view reference,
                                                                   int count) const;
  // Whether an element keeps its option bits when the run's rotation changes.
  virtual bool KeepsOptionsOnRotation(const CDev& element) const;
  // Reversing a run: what moves from the next element to the one turned toward it, and
  // what an end element becomes once it is the far end.
  virtual void ReverseElement(CRun& run, CDev& element, CDev& next) const;
  virtual void FinishReversedEnd(CDev& end) const;

  // Drawing: the real joint between built lengths.
  virtual CRealJoint GetRealJoint() const;
  // Element records of old files: brings the element's variant and properties up to date.
  virtual void UpgradeLegacyElement(CDev& element, std::string_view code) const;
  // Bill of materials: whether the unit weight column may be shown, and whether a line
  // of the reference stands indented under its unit.
  virtual bool ShowsUnitWeights() const;
  virtual bool IsAccessoryLine(std::string_view reference) const;
  // Whether a run of the code, rating and neutral refuses the variant of an element of
  // the kind: its characteristics page leaves the variant out and a new element never
  // takes it.
  virtual bool RefusesVariant(std::string_view code, int rating, int neutral, int kind,
                              int variant) const;
  // Whether an in-line unit of variant 1 (a riser kit) carries a kit position ("KITCF")
  // from the moment it takes that variant.
  virtual bool PlacesRiserKit() const;
  // Picking: whether the element has a connection point in front of it, away from its
  // part box.
  virtual bool HasFarConnectionPoint(const CDev& element, std::string_view code) const;
};
