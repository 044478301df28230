#pragma once

#include "model/builder/part_builder.h"

#include <cstdint>
#include <string>
#include <vector>

class CDev;

// Turns the remaining straight length of one segment into catalogue pieces for a part
// builder: fixed lengths through the length solver, range pieces for what they leave,
// growth of the end pieces, custom sizes, and the booking of what cannot be made. One
// planner per call of CPartBuilder::PlanStraightLengths.
class CStraightPlanner {
 public:
  CStraightPlanner(CPartBuilder& builder, int segmentIndex, int entryIndex);

  // 1 when the whole length was planned, 0 when it was booked as a length record.
  int Run();

 private:
  struct Piece {
    std::int32_t length = 0;
    const CPartDef* def = nullptr;
    bool range = false;
  };

  void ChoosePermissionAndVariant();
  void CollectDefinitions();
  // One round of step 4; false ends the repetition.
  bool PlanRound();
  bool PlanRangePieces(std::int32_t r, std::string& answer, std::vector<Piece>& pieces);
  bool FallBack(std::int32_t r, const std::string& answer);
  void MakePieces(const std::vector<Piece>& rangePieces, const std::string& answer);
  void MakePiece(const Piece& piece);
  void BookCustomPiece(const Piece& piece);
  std::string PieceReference(const CPartDef& def) const;
  const CPartDef* FixedDefinition(std::int32_t length) const;
  const CPartDef* RangeDefinition(std::int32_t length) const;
  std::int32_t LastPiece(const std::string& answer) const;
  int Finish();
  bool AsksForBackStep() const;

  CPartBuilder& m_builder;
  CRun& m_run;
  const CSegment& m_segment;
  const CSegmentEntry& m_entry;
  CDev& m_element;
  int m_segmentIndex;
  int m_variant = 0;
  int m_list = -1;
  bool m_permission = false;
  bool m_rebuilding = false;
  bool m_widened = false;
  bool m_fellBack = false;
  std::vector<std::int32_t> m_totals;
  std::int64_t m_rangeMin = 0;
  std::int64_t m_rangeMax = 0;
  std::int64_t m_distance = 0;
};
