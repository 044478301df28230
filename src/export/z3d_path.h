#pragma once

#include "model/run/path_tokens.h"

#include <string>

class CDev;
class CRun;

// The range family that the path coding of the 3D exchange file follows: 1 "QJF", 2 the
// "QP"/"Qp" catalogues, 3 "QMA"/"QMC", 4 "QWA"/"QWC", 5 "QGA"/"QGC", 0 all others.
int Z3dRangeFamily(const std::string& catalog);

// The straight length of an element towards a face: towards its back face its own length
// and the run-on lengths behind it; towards another face the lengths of the neighbours
// on that face while each is plain straight (fixing variant 0 or straight variant 123).
int StraightLengthTowards(const CDev& element, int face);

// Appends the path of the run (position and device lines, ending "pos:end") to file and
// returns the number of device lines counted.
int EncodeRunGeometry(std::string& file, const CRun& run);
