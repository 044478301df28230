#pragma once

#include "model/element/chain_editor.h"

// The chain operations of the part builder done by the element placement edits, so a
// rebuild's joints are placed, booked and coloured as the user's own: each element
// carries the stretch of line behind it, a joint splits that stretch in two.
class CPlacementChainEditor : public CChainEditor {
 public:
  // A new joint only: a cut on an element's end inserts none and gives null, so the
  // builder never takes the user's elements for its own.
  CDev* SplitAtLength(CDev& element, int face, std::int32_t length) override;
  // The whole element taken out; an element the edit refuses (nothing behind it) still
  // leaves the run's list and the links of its neighbours, as the caller deletes it.
  void RemoveFromRun(CDev& element, int face) override;
};
