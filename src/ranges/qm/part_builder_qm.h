#pragma once

#include "model/part_builder.h"
#include "ranges/qm/qm_part_refs.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

class CRunQM;

// The whole number at the start of a stored text (blanks and a sign allowed), held to
// -cap..cap however many digits follow; 0 when the text does not start with one.
int ReadBoundedInt(std::string_view text, int cap);

// The bar counts of a THERMAL text ("m/a/b/c"): how many accessories of each level.
struct CThermalCounts {
  int first = 0, second = 0, third = 0;
};
// The counts of the text; a leading 1 works them out from the joints counted. Every count
// is held to CPartBuilderQM::kMaxCount.
CThermalCounts ThermalCounts(std::string_view text, int joints, bool twin);

// The numbers of a CLINQ text ("N/p1/p2/p3:parameters"), read with bounds.
struct CQMClinqValues {
  int n = 0, p1 = 0, p2 = 0, p3 = 0;
  std::string parameters;
};
CQMClinqValues ReadQMClinq(std::string_view text);

// The support text of a straight of the family with the face d, the stretch length L and
// whether its first piece lies on its side (rotation 16 or 64); empty for none.
std::string StraightSupportText(std::string_view family, int d, std::int64_t length, bool onSide);
// The legs of an elbow as its supports see them: the face d of the first leg and e of the
// second, their lengths up to the corner and from it, and the second and third values of
// the run's reference record.
struct CQMElbowLegs {
  int d = 0, e = 0;
  std::int64_t first = 0, second = 0;
  int w2 = 0, w3 = 0;
};
// The support text of an elbow of family "LP" or "LC"; empty for none or another family.
std::string ElbowSupportText(std::string_view family, const CQMElbowLegs& legs);
// The support text of the fittings whose supports stand at fixed places ("SL", "PL", "RL",
// "DB"), on a line of face d; empty for none or another family.
std::string FittingSupportText(std::string_view family, int d);
// Supports a text books: one more than its '/', a two-support text of a 'Z' family once.
int CountQMSupports(std::string_view text, std::string_view family);

// The part builder of range QM: straights from the split table, the references of
// CQMPartReferences, kits placed and split before the walk; the second pass gives the
// kits, elbows and packages their final codes, adds the feed units' covers, tap-off
// fittings and connection accessories, writes the support texts and adds the run-wide
// accessories.
class CPartBuilderQM : public CPartBuilder {
 public:
  // Counts read from the tables or the stored run are held to this.
  static constexpr int kMaxCount = 10000;
  static constexpr int kKitTooLongMessage = 31546;
  static constexpr int kPackageMessage = 30188;
  static constexpr int kTransformerMessage = 30213;
  static constexpr int kTransformerCodeMessage = 30149;
  static constexpr int kFittingTextMessage = 30214;
  static constexpr int kKitRoomMessage = 30074;
  static constexpr int kKitRoomHintMessage = 30075;
  // The numbers that the package codes are counted from (catalogue numbers of the
  // package line; only the steps from them are fixed).
  static constexpr int kFirstPackageBase = 47000;
  static constexpr int kSecondPackageBase = 47100;

  explicit CPartBuilderQM(CRunQM& run);

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

  // Writes the element's "SUPP" and counts its supports.
  void SetSupportCodes(CDev& element);

  bool IsTwin() const { return m_twin; }
  int GetLastCandidate() const { return m_lastCandidate; }
  int GetPackageBalance() const { return m_packageBalance; }
  int GetGroupCounter() const { return m_groupCounter; }
  int GetJointCounter() const { return m_jointCounter; }
  CQMPartReferences& References() { return m_references; }

 private:
  void AddSplitDefinitions();
  bool RefusesEDRow(const std::string& partRef, int sub) const;
  int SegmentIndexOf(const CSegment& segment) const;
  const CSegmentEntry* FindEntry(const CDev* element, int& segmentIndex) const;
  void Rebook(CDev& element, const std::string& code);

  // Preparation of kits.
  int ChooseKitVariant(CDev& element) const;
  void SetKitVariant(CDev& element, int variant);
  CDev* SplitBesideKit(CDev& element, int& variant, std::int64_t& needed);
  CDev* SplitAhead(CDev& element, std::int64_t length);
  CDev* TakePendingSplit();
  void CheckKitElbow(CDev& element, CDev& elbow, bool against, std::int64_t extra);

  // Second pass (part_builder_qm_finish.cpp).
  void CountJoint(const CDev& element);
  CDev* HandOverERCode(CDev& element);
  void FinishMadeToMeasureElbow(CDev& element);
  void FinishCFKit(CDev& element);
  CDev* FinishKit(CDev& element);
  void FinishPackage(CDev& element);
  bool FinishCode(CDev& current);
  void AddEndAccessories();

  // Packages (part_builder_qm_packages.cpp).
  bool AddBreakerPackage(CDev& element, int mode, bool prefix, const std::string& neutral,
                         bool sevenOrFive, std::string& code);
  bool AddConnectionPieces(const std::string& breaker, int cls, int sub, int n,
                           const std::string& neutral, const std::string& rating);

  // Feed units (part_builder_qm_feed.cpp).
  void FinishFeedUnit(CDev& element);
  void MarkTakenOverCode(CDev& element);
  bool AddCover(CDev& element, const std::string& group);
  bool AddTapOffFittings(CDev& element, const std::string& group, CQMClinqValues& clinq);
  bool AddFurtherFittings(CDev& element, const std::string& group, const CQMClinqValues& clinq);
  bool AddAdapter(CDev& element, const std::string& group);
  bool AddTransformerConnection(CDev& element, const std::string& group);
  void PlaceGroupText(CDev& element, const std::string& group);
  // The support text of an elbow whose first leg has the face d and the length.
  std::string ElbowSupports(const CDev& elbow, const std::string& family, int d,
                            std::int64_t length) const;

  CRunQM& m_qm;
  CQMPartReferences m_references;
  bool m_twin = false;
  bool m_edStepOff = false;
  int m_lastCandidate = 0;
  // The farther of a kit's two cuts, visited after the nearer one.
  CDev* m_pendingSplit = nullptr;
  // Second pass: started by the first call, finished by FinishSecondPass.
  bool m_passStarted = false;
  int m_packageBalance = -1;
  int m_groupCounter = 0;
  int m_jointCounter = 0;
  // The last reference asked for each element, which a pattern row of the parts table
  // stands for.
  std::unordered_map<const CDev*, std::string> m_asked;
};
