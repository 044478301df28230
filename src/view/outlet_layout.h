#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What decides the tap-off outlets of a straight length.
struct COutletQuery {
  std::string catalog;  // the run's "Catalog"
  int calibre = 0;      // the run's "Calibre" as an integer
  std::string neutral;  // the run's "Neutral"
  std::string edStep;   // the run's "QM_ED_STEP"
  bool eh44 = false;    // run options of range QM
  bool ed31 = false;
  int layout = 0;           // the joint's outlet layout (style bits 8-11)
  int jointSide = 0;        // the joint's outlet side (style bit 12)
  int side = 0;             // the side drawn: 0 or 1
  std::int32_t length = 0;  // the chain length L
  // Positions for connection codes rather than drawing: the connection points of ranges
  // "QW" and "QJF" without layout are added, and the positions of codes 2 and 4 lie 13
  // nearer the joint (outside "Qp").
  bool computeOnly = false;
};

// The outlets of a length as drawn: positions along the length in model units from the
// joint, the rectangle's sides (W along, H across) and the range code bit. No positions
// when the range and layout give none.
struct COutletLayout {
  std::vector<std::int32_t> positions;
  std::int32_t width = 0;
  std::int32_t height = 0;
  int code = 0;
};

COutletLayout ComputeOutletLayout(const COutletQuery& query);
