#pragma once

class CDev;
class CRun;

// Deletes the tap-off units that stand on the joint: those counted from the same
// straight, at the same joint position and straight type, unbooked first. Only on a run
// whose parts have been built; any other element holds none. Returns how many went.
int DeleteTapOffUnitsAt(CDev& element);

// The units of the run marked last (other than the element) whose box carries a
// selection mark lose it: with `remove` they are deleted, otherwise their mark becomes 2
// (the lighter colour) when the element belongs to that run and 0 when not. The element,
// when given, is marked (1) and its run is the one marked last. Returns the units
// touched, plus one for the element.
int ResetMarkedTapOffUnits(CDev* element, bool remove);

// A run that goes is no longer the run marked last.
void ForgetTapOffMarksOf(const CRun& run);
