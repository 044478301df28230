#pragma once

#include "model/element/chain_editor.h"
#include "model/builder/part_builder.h"
#include "model/run/range_rules.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CRunQG;

// What a support code is measured on: the faces of up to three legs, their lengths, and
// whether the element starts its own chain.
struct CSupportLegs {
  int d1 = -1, d2 = -1, d3 = -1;
  std::int64_t l1 = 0, l2 = 0, l3 = 0;
  bool ownStart = false;
  const CDev* firstEnd = nullptr;  // the element that ends the first leg
  // Of that element: the first faces whose turn code is 1 and 3, and its turn seen from
  // the second face.
  int turnFace1 = -1, turnFace3 = -1;
  int secondTurn = 0;
};

// The widths of the housing that the support rules read, and the name's family.
struct CSupportHousing {
  int w1 = 0, w2 = 0;
  std::string family;
  char variant = ' ';  // the family's variant character
};

// The support code ("SUPP") of one element from its legs; empty for none.
std::string ComposeSupportCode(const CSupportLegs& legs, const CSupportHousing& housing);
// The number of supports a code books: one more than the "/" within it, a two-support
// code of a "Z" family counting once.
int CountSupports(std::string_view code, std::string_view family);

// The counts of joints by class over a run, and the run-wide accessories they call for.
struct CJointCounts {
  int c1 = 0, c2 = 0, c4 = 0;
};
// How many of the second accessory a count of joints calls for: the count up to 4, 4 up
// to 12, a quarter (rounded up) above.
int JointAccessoryCount(int count);
// The coverage coefficient of a housing (width, height); 0 when the pair is not listed.
double HousingCoefficient(int width, int height);
// The family and variant characters of a double-elbow code: an empty family for a code
// with no part.
struct CElbowCode {
  std::string family;
  std::string variant;
  bool swapLegs = false;
};
CElbowCode LookUpElbowCode(int code);
// The length code of a riser kit's stretch between two joints: "10" to "30" by the
// half metre; empty outside 300..3000.
std::string_view KitLengthCode(std::int64_t length);
// The clips of a special shape: the clip choice k (7 to 9) on a bar of the width and
// thickness, at the rating (hundreds of amperes) with the conductor count; end clips
// when asked for; no split of the batch when told so. Factor 0: no clip fits the bar.
struct CClipPlan {
  int factor = 0;
  int count = 0;  // clips a conductor
  int split = 0;  // 1: wide bars, 2: the batch in two
  int endCode = 0;
  int endCount = 0;
};
CClipPlan PlanClips(int k, int width, int thickness, int rating, int conductors, bool endClips,
                    bool noSplit);
// The made-to-measure allowance of a straight of the type (sub-variant based): allowance
// and whether the s rule applies.
struct CAllowance {
  int allowance = 0;
  bool sRule = true;
};
CAllowance StraightAllowance(int type, int second, int third, int neutral, int housingHeight);

// The part builder of range QG: straights from the split table, single, flat-mounted and
// double elbows, tees and the special shapes' made-to-measure texts; the second pass turns
// kits, end pieces and "B" elbows into their final parts, numbers the groups of straights
// with covers and clips, writes the support codes and adds the run-wide accessories.
class CPartBuilderQG : public CPartBuilder {
 public:
  // Counts read from the tables or the stored run are held to this.
  static constexpr int kMaxCount = 10000;
  // The length from which a run asks for a check of its expansion joints.
  static constexpr std::int64_t kLongRun = 90000;
  static constexpr int kLongRunMessage = 30097;

  explicit CPartBuilderQG(CRunQG& run);

  CDev* PrepareElement(CDev& element) override;
  void FinishPart(CDev& element, int position) override;
  void PropagatePartValue(const CSegmentEntry& entry, int segmentIndex) override;
  std::string GetPartReference(const CSegment& segment, int entryIndex, int alternative) override;
  int GetJoinKind(const CSegment& segment, int entryIndex) const override;
  std::string GetPartParameters(const CPlannedPart& part) override;
  int GetElbowReference(const CSegment& segment) override;
  int SelectCandidate(const CSegment& segment, int flag) override;
  void AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                  std::string_view reference, int pass) override;
  void FlushPartsToBOM() override;
  void FinishSecondPass() override;

  // The parameter text that follows an end piece's reference in its element's name.
  std::string MakeParameters(const CPlannedPart& part, const CSegmentEntry& entry);

  // The made-to-measure text of a special-shape straight; mode 'C' for its cover.
  std::string FormatPartDimensions(CDev& element, char mode) const;
  // Writes the element's "SUPP" and counts its supports.
  void BuildSupportCode(CDev& element);

  bool IsMounted(const CDev& element) const;
  int GetLastCandidate() const { return m_lastCandidate; }
  int GetGroupCounter() const { return m_groupCounter; }
  bool JoinsElbows() const { return m_elbowJoin != 0; }

 private:
  void AddSplitDefinitions();
  static void SetAsideKitVariant(CDev& element);
  // The length window of an end piece (AdjustPart); `later` for a piece planned to a
  // segment's last end.
  void NarrowKitWindow(CDev& unit, const CPatternRow& row, std::int32_t& first, std::int32_t& last,
                       bool later);
  void KeepElbowClearOfKit(CDev& elbow, std::int32_t& first, std::int32_t last,
                           std::string_view reference, bool later);
  void LimitLegTotal(CDev& element, const CPatternRow& row, std::string_view reference,
                     std::int32_t& first, std::int32_t& last, bool later);
  void AllowMadeToMeasure(CDev& element, std::int32_t& first, std::int32_t& last);
  std::int64_t KitClearanceBehind(const CDev& element, std::string_view reference);
  std::int64_t MountedJointChain(const CDev& element) const;
  std::int64_t KitClearance(const CDev& unit, const CDev& beside, bool firstSide,
                            const CKitLimits& kit, std::string_view pattern) const;

  std::string CoverDimensions(CDev& element, const std::array<int, 4>& d, int second,
                              int third) const;
  void PrepareKitSide(CDev& element, CDev& elbow, bool first);
  void BuildStraightRef(CDev& element, std::string& buffer);
  void BuildInLineVariantRef(CDev& element, std::string& buffer);
  void BuildElbowRef(const CSegmentEntry& entry, std::string& buffer);
  int GrowElbowCode(const CSegmentEntry& entry, int t1) const;
  bool ElbowLegsFit(const CSegmentEntry& entry, int code, const std::string& buffer);
  void CloseReference(std::string& buffer) const;
  const CSegmentEntry* FindEntry(const CDev* element) const;
  void Rebook(CDev& element, const std::string& reference);

  // Second pass.
  void FinishEndPiece(CDev& element);
  void FinishBElbow(CDev& element);
  CDev* FinishKit(CDev& element);
  void NameKitByLength(CDev& element, bool mounted);
  void FinishStraight(CDev& element);
  bool AddCover(CDev& element, const std::string& group);
  bool AddClips(CDev& element, const std::string& group);
  void ConvertToOrderingForm(CDev& element, CDev& holder);
  void FitFlatHousing(CDev& element, const CDev& holder);
  CSupportLegs MeasureLegs(const CDev& element, bool& found) const;
  void MeasureTurnLegs(const CDev& end, CSupportLegs& legs) const;
  void AddRunAccessories();

  CRunQG& m_qg;
  int m_elbowJoin = 0;
  int m_lastCandidate = 0;
  int m_groupCounter = 0;
  int m_longRun = 0;
  bool m_passStarted = false;
  std::unordered_map<const CDev*, bool> m_mounted;
  // The element whose line a kit's joint took over (the holder of its name).
  std::unordered_map<const CDev*, CDev*> m_holders;
};
