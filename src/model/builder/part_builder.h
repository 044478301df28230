#pragma once

#include "model/document/check_message_table.h"
#include "model/builder/length_split_memo.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CChainEditor;
class CDev;
class CRun;

// A candidate straight piece of a range: its key text and two number lists (first and
// last number of each; -1 for an absent number).
struct CPartDef {
  std::string text;
  std::int32_t first1 = -1;
  std::int32_t last1 = -1;
  std::int32_t first2 = -1;
  std::int32_t last2 = -1;

  // Smallest and largest total; an absent number counts as 0.
  std::int64_t MinTotal() const;
  std::int64_t MaxTotal() const;
  // True when both pairs give one total (a fixed length).
  bool IsFixed() const { return MinTotal() == MaxTotal(); }
};

// One element of a segment with the faces through which the run enters, leaves and
// branches off it (-1 or 15 where none).
struct CSegmentEntry {
  CDev* element = nullptr;
  int direction = 0;
  int backFace = -1;
  CDev* inElement = nullptr;
  int inFace = -1;
  CDev* outElement = nullptr;
  int outFace = -1;
  CDev* branchElement = nullptr;
  int branchFace = -1;
  std::int32_t value = 0;  // carried by range builders from one segment to the next
  int legSwap = 0;         // written by range builders for elbows and tees
};

using CSegment = std::vector<CSegmentEntry>;

// One planned part of the current segment: an end piece (mode 0 or 3) or a straight
// piece (mode -1).
struct CPlannedPart {
  CDev* element = nullptr;
  int face = 6;                  // 6 = the whole element
  std::int32_t length = 0;       // planned length (straight pieces: distance of the far end)
  std::int32_t firstLength = 0;  // length as first planned (straight pieces: own length)
  std::string reference;
  std::string parameters;
  int mode = 0;
  int variant = 0;
  int branch = 0;
};

// The abstract part builder that every product range extends: it cuts a run's chain
// into segments at its junctions (CollectSegments), plans each segment's end pieces and
// straight lengths, books them in the run's bill of materials (FinishParts) and records
// design-check messages. The range builders give the catalogue knowledge through the
// virtual operations; their order is the contract with the range builders.
//
// Lengths are whole millimetres; sums are worked in 64 bits and kept in 32.
class CPartBuilder {
 public:
  static constexpr int kListCount = 5;
  // Bound on the back steps of one second pass: a range that keeps asking to build
  // earlier segments again cannot hold the rebuild in a loop.
  static constexpr int kMaxBackSteps = 16;

  explicit CPartBuilder(CRun& run);
  virtual ~CPartBuilder();
  CPartBuilder(const CPartBuilder&) = delete;
  CPartBuilder& operator=(const CPartBuilder&) = delete;

  // Virtual operations of the range contract, in their contract order.
  virtual CDev* PrepareElement(CDev& element);
  virtual void FinishPart(CDev& element, int position);
  virtual void PropagatePartValue(const CSegmentEntry& entry, int segmentIndex);
  virtual std::string GetPartReference(const CSegment& segment, int entryIndex,
                                       int alternative) = 0;
  virtual int GetJoinKind(const CSegment& segment, int entryIndex) const;
  virtual std::string GetPartParameters(const CPlannedPart& part) = 0;
  virtual int GetElbowReference(const CSegment& segment) = 0;
  virtual int AddElementParts(const CSegment& segment, std::int32_t leftover, int flag);
  virtual int SelectCandidate(const CSegment& segment, int flag) = 0;
  // Narrows the length window [first, last] of the end piece `reference` at the entry;
  // `pass` is the index of that entry in its segment: 0 for a piece that leaves the
  // segment's first end forward, the last entry's index for one that reaches its last end.
  virtual void AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                          std::string_view reference, int pass);
  virtual std::int32_t SplitLength(std::int32_t total, const std::vector<std::int32_t>& lengths,
                                   std::int32_t minRemainder, std::string& answer);
  virtual void FlushPartsToBOM();
  // Called once the second pass has finished every element.
  virtual void FinishSecondPass() {}

  // One build of the run's parts: the walk, the second pass at the level, and the
  // run's parts state (1 with errors, 2 without).
  void Build(int level);
  // Shows the messages through the installed presenter: 0 when nothing was shown, 1
  // closed, 2 a length was corrected (segments and messages are then emptied).
  int ShowCheckMessages();

  // The walk and the second pass.
  void CollectSegments();
  void FinishParts(int level);

  // Shared routines.
  void AddPartDef(std::string_view text, std::string_view firstList, std::string_view secondList,
                  std::string_view listIndex);
  std::int32_t PostSegmentLengths(int segmentIndex, int count);
  int OverlayOwnRef(const CSegmentEntry& entry, std::string& pattern) const;
  // The element's bill line moves to the reference, which the element books itself.
  void BookRecordReference(CDev& element, const std::string& reference);

  // Segment work.
  int BuildSegment(int segmentIndex);
  int PlanSegmentEnd(int segmentIndex, int entryIndex);
  int PlanStraightLengths(int segmentIndex, int entryIndex);
  CDev* ApplyCut(const CPlannedPart& part);
  int AssignPartRef(CDev* first, CDev* second, std::string_view reference, int flag);

  // Design-check messages.
  void FormatPartLabel(CDev* element, int state, std::string_view text, std::int32_t value1,
                       std::int32_t value2);
  void ResetStateTable(bool all) { m_messages.Reset(all); }
  void AdvanceCheckMessage() { m_messages.Advance(); }
  bool HasErrors() const { return m_messages.HasErrors(); }
  CCheckMessageTable& GetMessages() { return m_messages; }
  const CCheckMessageTable& GetMessages() const { return m_messages; }
  // Empties the segments and the message table after a length correction.
  void ClearAfterCorrection();

  // Data read and written by the range builders.
  CRun& GetRun() const { return m_run; }
  const std::vector<CSegment>& GetSegments() const { return m_segments; }
  // Counts the times the segments were made anew (or emptied): between two, they keep
  // their elements in place.
  std::uint64_t SegmentsMade() const { return m_segmentsMade; }
  CSegment& SegmentAt(int index) { return m_segments.at(static_cast<std::size_t>(index)); }
  const std::vector<CPartDef>& GetPartDefs(int list) const {
    return m_partDefs.at(static_cast<std::size_t>(list));
  }
  std::vector<CPlannedPart>& GetPlannedParts() { return m_parts; }
  int GetSegmentIndex() const { return m_segmentIndex; }
  // A range that books several segments as one part moves the second pass past them.
  void SetSegmentIndex(int index) { m_segmentIndex = index; }
  std::int32_t GetRemaining() const { return m_remaining; }
  void SetRemaining(std::int32_t length) { m_remaining = length; }
  int GetBackStep() const { return m_backStep; }
  void SetBackStep(int step) { m_backStep = step; }
  int GetPlanningFlag() const { return m_planningFlag; }
  void SetPlanningFlag(int flag) { m_planningFlag = flag; }
  std::int32_t GetLengthStep() const { return m_lengthStep; }
  void SetLengthStep(std::int32_t step) { m_lengthStep = step < 0 ? 0 : step; }
  int GetSupportCount() const { return m_supportCount; }
  void SetSupportCount(int count) { m_supportCount = count; }
  CDev* GetFirstEnd() const { return m_firstEnd; }
  CDev* GetLastEnd() const { return m_lastEnd; }
  int GetBuildMark(const CDev& element) const;
  void SetBuildMark(const CDev& element, int mark);
  // Elements drawn in the document's error colour by this build.
  bool IsMarkedInError(const CDev& element) const { return m_errorElements.contains(&element); }
  const std::unordered_set<const CDev*>& GetErrorElements() const { return m_errorElements; }
  void MarkInError(const CDev* element);
  // The chain operations (joint insertion, removal, kit limits); the builder's own
  // default unless a caller supplies another, which must outlive the builder.
  void SetChainEditor(CChainEditor* editor);
  CChainEditor& GetChainEditor() const { return *m_editor; }

  // `length` rounded to the nearest multiple of the length step, an exact half down.
  std::int32_t RoundToStep(std::int64_t length) const;

 private:
  void AppendEntry(CDev& element, std::unique_ptr<CSegment>& open);
  void CloseSegments(const CDev& element, bool first, std::unique_ptr<CSegment>& open);
  void FinishDevices();
  void FinishInLineUnit(CDev& unit);
  bool FinishEnd(CDev& end);
  void UndoSegments(int segmentIndex);
  void UndoSegment(int segmentIndex);
  void ResetPlannedElement(CDev& element);
  bool TryEndRange(int segmentIndex, int entryIndex, const std::string& reference, int custom,
                   std::int32_t& min, std::string& rowReference);
  void AddEndPart(int segmentIndex, int entryIndex, std::int32_t min,
                  const std::string& rowReference);
  int GrowPart(const CSegment& segment, int entryIndex, std::int32_t& leftover);
  std::string ComposeProblem(CDev& element, int state, std::string_view text, std::int32_t& value1,
                             std::int32_t value2, std::string& solution);

  friend class CStraightPlanner;

  CRun& m_run;
  std::array<std::vector<CPartDef>, kListCount> m_partDefs;
  std::vector<CSegment> m_segments;
  std::uint64_t m_segmentsMade = 0;
  int m_segmentIndex = 0;
  std::vector<CPlannedPart> m_parts;
  std::int32_t m_remaining = 0;
  CDev* m_firstEnd = nullptr;
  CDev* m_lastEnd = nullptr;
  int m_planningFlag = 0;
  int m_backStep = 0;
  int m_backStepsTaken = 0;
  // The segment's two ends were booked as one piece (AssignPartRef): what their own
  // planning found wrong no longer stands.
  bool m_endsJoined = false;
  std::int32_t m_lengthStep = 0;
  CCheckMessageTable m_messages;
  int m_supportCount = 0;
  std::unordered_map<const CDev*, int> m_buildMarks;
  std::unordered_set<const CDev*> m_errorElements;
  std::unique_ptr<CChainEditor> m_ownEditor;
  CChainEditor* m_editor = nullptr;
  CLengthSplitMemo m_splitMemo;
};

// Splits a text at "-" into numbers: the last piece gives `last`, the first piece
// `first` unless the text begins with "-"; both stay -1 where absent. A piece that is not
// a number gives -1 too.
void ParseNumberList(std::string_view text, std::int32_t& first, std::int32_t& last);

// Rewrites a part's parameter text: the bare values after "x=" get keys (a=, b=, c=, d=;
// in R mode x=, y=, z=), reversed first with the join flag; see part_builder_coords.cpp.
void FormatPartCoords(std::string& text, int joinFlag, char mode);
