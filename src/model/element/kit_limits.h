#pragma once

#include "model/element/chain_editor.h"

class CDev;
class CRun;

// What the kit rows of a run give an in-line unit (kind 7) with a "KITCF" value.
struct CKitReading {
  // True when the unit has a "KITCF" value and a kit row matches the run's kit reference.
  bool found = false;
  // The row's length A, margin B and clearance C, and the "KITCF" offset held within
  // the limit; as the chain editor hands them out.
  CKitLimits limits;
  // Half the room the unit may move within the kit: (A - its housing length) / 2 - B.
  std::int32_t limit = 0;
  // True when the stored "KITCF" lies outside the limit.
  bool clamped = false;
};

// Reads the kit of an in-line unit. The run's device housing rows serve as its kit rows:
// searched from the last, the first whose pattern matches the run's kit reference (its
// element reference 80) gives A, B and C from its first three numbers. A negative A
// counts from the unit's housing length and leaves the unit no room to move. Nothing is
// changed.
CKitReading ReadKitLimits(CRun& run, const CDev& element);

// As ReadKitLimits, and an offset outside the limit is stored within it, after which the
// chain from the unit is rebuilt and the views are redrawn. Non-zero when a kit was found.
int ClampElementKit(CDev& element, CKitLimits& limits);
