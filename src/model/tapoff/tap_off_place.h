#pragma once

class CBox;
class CDev;

// Places a unit of the remembered choice (RememberedTapOffChoice) at outlet point 10..29
// of the joint that owns the outlet box. With a unit and a negative point, that unit is
// moved to the point instead and takes the remembered choice. 1 when a unit now stands
// there; 0 when the point does not take the choice, when a unit already stands at that
// very spot (it becomes RememberedTapOffChoice's found unit), or when the unit would
// collide with another unit (message 30158) or a joint (30159): then nothing changed and,
// unless quiet, the message was shown.
// The outlet box is the joint's back box.
int PlaceTapOffUnit(CDev& joint, int point, CDev* unit, bool quiet);

// The same on the outlet box the user picked: the joint's back box counts the unit from
// the straight behind the joint, its front box from the straight ahead. Any other box of
// the joint takes no unit (0, with message 30236 unless quiet).
int PlaceTapOffUnitAt(CBox& box, int point, CDev* unit, bool quiet);

// The unit that stands at outlet point 10..29 of a joint's back or front box; null when
// none does, or when the box is no outlet box or the point is counted from no straight.
CDev* TapOffUnitAtOutlet(const CBox& box, int point);

// The unit found at the spot by the last PlaceTapOffUnit; null when the spot was free.
CDev* TapOffUnitFoundAtSpot();
