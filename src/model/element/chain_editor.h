#pragma once

#include <array>
#include <cstdint>

class CDev;

// Kit limits of an in-line unit: the kit's length, its end margin and its clearance to a
// cut (from the run's kit row), and the unit's "KITCF" offset held within the room the kit
// leaves it.
struct CKitLimits {
  std::array<std::int32_t, 4> values{};
};

// The chain operations that the part builder asks of the run's elements: inserting a
// joint at a cut, taking an inserted element off the chain again, and the kit limits of
// in-line units. The builder's own is the element placement edits
// (CPlacementChainEditor); a range may give another.
class CChainEditor {
 public:
  virtual ~CChainEditor() = default;

  // Inserts a joint (kind 9) into the stretch of line the element carries behind it,
  // `length` from the stretch's start along `face` (from the element itself along its
  // back face). Returns the joint, or null when the length does not fall inside.
  virtual CDev* SplitAtLength(CDev& element, int face, std::int32_t length) = 0;
  // Takes the element out of its run's chain: an in-line element (kinds 7 to 11) joins
  // its two neighbours; the caller deletes the element afterwards.
  virtual void RemoveFromRun(CDev& element, int face) = 0;
  // Non-zero when the run's kit rows give the in-line unit kit limits; the limits go to
  // `limits` and a "KITCF" offset beyond them is brought back within (ClampElementKit).
  virtual int ClampKitcf(CDev& element, CKitLimits& limits);
};
