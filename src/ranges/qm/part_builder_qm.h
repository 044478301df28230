#pragma once

#include "model/builder/part_builder.h"
#include "ranges/qm/qm_part_refs.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

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
// The fitting text of the second group of a split fitting: "c=" takes the "d=" value
// and "y=" the "y=" value times "f=" (once when "f=" is absent or below 1). Empty when
// the text has no "c=" or no "d=", so no second group can be laid.
std::string SecondGroupText(std::string_view text);

// A transformer connection's plate: its accessory kind, the length of its bars and the
// places a, b, c, d of their holes, by the direction group (up or down, or any other),
// the run's housing height and the transformer's kVA.
struct CQMConnectionRow {
  int kind = 0;
  int length = 320;
  int a = 50, b = 25, c = 25, d = 50;
};
CQMConnectionRow QMConnectionRow(bool vertical, int height, int kva);
// One group of connection bars: accessory kind, count and parameter text.
struct CQMBarGroup {
  int kind = 0;
  int count = 0;
  std::string text;
};
// The connection bars of a transformer connection with the plate, on a run of the
// calibre (the run's "Calibre" read as a number).
std::vector<CQMBarGroup> TransformerBars(const CQMConnectionRow& row, int calibre, bool threePoles,
                                         int kva, bool vertical);

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
// The legs of a combined piece ("ZP", "ZC", "CP") as its supports see them: the faces
// of its first, middle and last legs, the middle leg's length from corner to corner and
// the run's housing width.
struct CQMCombinedLegs {
  int d = 0, e = 0, f = 0;
  std::int64_t middle = 0;
  int width = 0;
};
std::string CombinedElbowSupportText(std::string_view family, const CQMCombinedLegs& legs);
// The support text of a feed box of family "ER" by its connection character, on a line of
// face d and length L that it ends (or, without predecessor, starts).
std::string FeedBoxSupportText(char connection, int d, std::int64_t length, bool predecessor);
// The support text of a special connection unit (family "EL") by its connection character,
// held on the face `side`; empty for a connection it has no rule for.
std::string SpecialUnitSupportText(char connection, int d, int side, bool predecessor);
// The support text of a tee of family "TC" whose branch leaves by the face `side`.
std::string TeeSupportText(int d, int side);
// Supports a text books: one more than its '/', a two-support text of a 'Z' family once.
int CountQMSupports(std::string_view text, std::string_view family);

// The place of a parameter key ("c=") in a part text: where it starts the text or follows
// a blank or a comma; npos when absent.
std::size_t FindQMParameter(std::string_view text, std::string_view key);
// The parameter's whole number (held to CPartBuilderQM::kMaxCount); none when absent.
std::optional<int> QMParameterValue(std::string_view text, std::string_view key);
// The text with the parameter's number replaced; unchanged when the key is absent.
std::string WithQMParameter(std::string text, std::string_view key, int value);

// The parts of the two single runs that a part of a twin run (QMC 6300 A, QMA 5000 A) is
// made of, from the part's code without its group suffix: not split (another rating, or
// a piece the twin run has whole), refused (a piece that cannot be split), or split into
// the first run's part and the second run's part; `secondKind`, when not 0, is the
// accessory kind whose reference is the second run's part.
struct CQMTwinHalves {
  enum Outcome { kNotSplit, kRefused, kSplit };
  Outcome outcome = kNotSplit;
  std::string first, second;
  int secondKind = 0;
};
CQMTwinHalves SplitTwinCode(std::string_view code, int direction, int variant);

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
  // Lists the element's part of a twin run as the parts of its two single runs, in a
  // group of the bill (a new number from the counter when the part has none).
  void AssignGroupLines(CDev& element, int& groupCounter);

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
  void SplitEndAccessories();

  // Packages (part_builder_qm_packages.cpp).
  bool AddBreakerPackage(CDev& element, int mode, bool prefix, const std::string& neutral,
                         bool sevenOrFive, std::string& code);
  bool AddConnectionPieces(const std::string& breaker, int cls, int sub, int n,
                           const std::string& neutral, const std::string& rating);

  // Group lines of twin runs (part_builder_qm_groups.cpp).
  bool GroupsInUse() const;
  int SplitGroup(const std::string& key, int& groupCounter);
  void RefuseTwinSplit(CDev& element);

  // Feed units (part_builder_qm_feed.cpp).
  void FinishFeedUnit(CDev& element);
  void MarkTakenOverCode(CDev& element);
  bool AddCover(CDev& element, const std::string& group);
  bool AddTapOffFittings(CDev& element, const std::string& group, CQMClinqValues& clinq);
  bool AddFittingPacks(int kind, int f, int poles, const std::string& text, bool splittable,
                       const std::string& group);
  bool AddFurtherFittings(CDev& element, const std::string& group, const CQMClinqValues& clinq);
  bool AddAdapter(CDev& element, const std::string& group);
  bool AddTransformerConnection(CDev& element, const std::string& group);
  void PlaceGroupText(CDev& element, const std::string& group);
  // Supports (part_builder_qm_supports.cpp): the stretch that a piece's supports are
  // measured along.
  struct CQMStretch {
    bool predecessor = false;  // false when the piece starts the stretch itself
    int d = 0;                 // the face of the stretch
    const CDev* first = nullptr;
    std::int64_t length = 0;
  };
  std::string SupportText(const CDev& element, const CQMStretch& stretch) const;
  std::string ElbowSupports(const CDev& elbow, const std::string& family,
                            const CQMStretch& stretch) const;
  std::string CombinedSupports(const std::string& family, const CQMStretch& stretch) const;
  std::string SpecialUnitSupports(const CDev& unit, char connection,
                                  const CQMStretch& stretch) const;

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
  // The group of each twin split made in the pass, by its three lines.
  std::unordered_map<std::string, int> m_splitGroups;
  // The last reference asked for each element, which a pattern row of the parts table
  // stands for.
  std::unordered_map<const CDev*, std::string> m_asked;
  // FindEntry's index of the segments made last: where each element first stands.
  mutable std::unordered_map<const CDev*, std::pair<std::size_t, std::size_t>> m_firstEntries;
  mutable std::uint64_t m_firstEntriesMade = ~std::uint64_t{0};
};
