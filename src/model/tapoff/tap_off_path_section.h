#pragma once

#include <string>

class CDev;
class CRun;

// Appends the tap-off section ("nbtpf") of the 3D exchange file for the run's units that
// stand at their outlets and carry a station number (their comment, read as a whole
// number, not 0), taken from the last device to the first. Each unit gives an entry
// with its outlet point relative to its joint and the turns toward it; units on side
// outlets and on the double outlets of the QW range a second entry for their fixing.
// Nothing is appended when no unit qualifies. Returns the number of entries written.
int WriteRunPathSection(std::string& file, const CRun& run);

// Gives each tap-off unit of the run that stands at an outlet of the joint (kind 9) the
// station number as its comment, where the section above reads it. Returns how many
// units it numbered (0 for elements of other kinds).
int NumberTapOffStations(const CDev& joint, int number);
