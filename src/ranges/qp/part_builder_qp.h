#pragma once

#include "model/builder/part_builder.h"
#include "ranges/qp/qp_step_parts.h"

#include <array>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>
#include <string>
#include <string_view>
#include <unordered_map>

class CRunQP;

// The combined code of two elbows (the last reference's family, its turn, the previous
// reference's family and turn) and the join value it gives: -1 stands for the feed
// answer of the last element. Empty when the pair makes no combined piece.
struct CElbowCombination {
  std::string code;
  int join = 0;
};
CElbowCombination CombineElbows(bool upperCase, std::string_view last, int lastTurn,
                                std::string_view previous, int previousTurn);

// The part builder of range QP: straight lengths cut into the long standard pieces and
// at most one shorter one, elbows combined in pairs, riser pieces split off the line, and
// at the end the accessories that the counted ends, tap-off points and joints need and
// the ratings turned into amperes.
//
// Everything a rebuild works out lives in the builder, which the run makes afresh for
// each rebuild: no element split off by one builder is handed back by another.
class CPartBuilderQP : public CPartBuilder {
 public:
  // Element states of a rebuild: a riser next to an elbow, the elbow behind it (10) or
  // in front of it (11), and an elbow combined with a riser (12).
  static constexpr int kRiserAtElbow = 2;
  static constexpr int kElbowBehindRiser = 10;
  static constexpr int kElbowBeforeRiser = 11;
  static constexpr int kElbowWithRiser = 12;
  // Bound on the riser accessories of one element: stored lengths may be anything.
  static constexpr std::int64_t kMaxRiserAccessories = 10000;

  explicit CPartBuilderQP(CRunQP& run);

  CDev* PrepareElement(CDev& element) override;
  void FinishPart(CDev& element, int position) override;
  std::string GetPartReference(const CSegment& segment, int entryIndex, int alternative) override;
  int GetJoinKind(const CSegment& segment, int entryIndex) const override;
  std::string GetPartParameters(const CPlannedPart& part) override;
  int GetElbowReference(const CSegment& segment) override;
  // With report set, a pair outside its piece's window is told by the design check.
  int GetElbowReference(const CSegment& segment, bool report);
  int SelectCandidate(const CSegment& segment, int flag) override;
  void AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                  std::string_view reference, int pass) override;
  std::int32_t SplitLength(std::int32_t total, const std::vector<std::int32_t>& lengths,
                           std::int32_t minRemainder, std::string& answer) override;
  void FinishSecondPass() override;

  // The reference of one element as the range builds it.
  std::string MakeElementReference(const CSegmentEntry& entry);
  // 0 when a feed point (a kind-8 unit of variant 3, a kind-0 element of variant 2, 3,
  // 5 or 7) lies behind the element; else 1 when the run holds one anywhere, else 0.
  int FindFeedElement(const CDev& element) const;

  int GetState(const CDev& element) const;
  void SetState(const CDev& element, int state);
  bool IsStepMode() const { return m_stepMode != 0; }
  bool IsRiserUK() const { return m_riserUK != 0; }
  int CounterA() const { return m_counterA; }
  int CounterB() const { return m_counterB; }
  int CounterC() const { return m_counterC; }

 private:
  // A riser piece next to a combined piece: the code of where it stands (21, 22 beside,
  // 31 and 33 at an elbow before or behind it, 32 in front) and the riser itself.
  struct CRiserMeasure {
    int code = 0;
    const CDev* riser = nullptr;
  };
  static std::array<int, 3> MeasuredFaces(const CDev& element);
  void AppendLegLengths(const CPlannedPart& part, std::string& text) const;
  CRiserMeasure FindRiserMeasure(const CDev& element) const;
  void AppendRiserDistance(const CDev& element, const CRiserMeasure& measure,
                           std::string& text) const;
  std::int32_t SplitStandardLengths(std::int32_t length, const std::vector<std::int32_t>& list,
                                    std::int32_t minRemainder, std::string& answer);
  void AddSplitDefinitions();
  void FitElbowBesideRiser(const CDev& elbow, std::int32_t& first, std::int32_t& last,
                           int pass) const;
  void MarkElbow(const CSegmentEntry& entry, std::string& buffer);
  void FinishElbowMark(std::string& buffer, int mark, bool special) const;
  bool FitsCombinedWindow(const CSegmentEntry& last, const std::string& combined, int riser,
                          bool hasRiser, bool report);
  void BuildTeeOrCross(CDev& element, int turn, std::string& buffer);
  void PrepareRiserAtElbow(CDev& element);
  CDev* TakePending();
  void SetVariantRebooked(CDev& element, int variant);
  void AddRiserAccessories(const CDev& element);
  void MoveLengthToIndexOne(const CDev& piece);
  std::int32_t SplitLongRiserLine(CDev& element);
  int RiserVariant(const CDev& element) const;
  void Rebook(CDev& element, const std::string& reference);
  void RebookAtPassEnd(CDev& element, std::string reference);
  void ApplyPassMoves();

  CRunQP& m_qp;
  int m_calibre = 0;
  int m_riserUK = 0;
  int m_upperCase = 0;
  int m_a = 0;
  int m_stepMode = 0;
  CDev* m_pending = nullptr;
  int m_counterA = -1;
  int m_counterB = 0;
  int m_counterC = 0;
  // Lengths already split in this rebuild: (length, least remainder, piece list) to the
  // remainder and the pieces.
  using CSplitKey = std::tuple<std::int32_t, std::int32_t, std::vector<std::int32_t>>;
  std::map<CSplitKey, std::pair<std::int32_t, std::string>> m_splits;
  std::unordered_map<const CDev*, int> m_states;
  // The bill moves of the second pass, one quantity each, made together when the pass
  // ends: hundreds of parts move between the same few lines. Removals and additions
  // are kept apart, each in the order first met.
  struct CPassMoves {
    std::vector<std::pair<std::string, std::int64_t>> removed;
    std::vector<std::pair<std::string, std::int64_t>> added;
    std::unordered_map<std::string, std::size_t> removedAt;
    std::unordered_map<std::string, std::size_t> addedAt;
  };
  CPassMoves m_passMoves;
  // The join value each element of a combined pair took (GetElbowReference).
  std::unordered_map<const CDev*, int> m_joins;
  // Whether a feed point lies behind an element (FindFeedElement), and whether the run
  // holds one at all (-1 not yet known).
  mutable std::unordered_map<const CDev*, bool> m_feedBehind;
  mutable int m_anyFeed = -1;
};
