#pragma once

#include <string>

class CDorneDoc;

// The cost comparison of a document: what each run would cost with the other kind of
// elbow. Mode 1 makes a working copy of every QM, QG or QP run with its "ELBOWS" switched
// (the copy's catalogue-known flag is minus the number of its run); mode 0 keeps each
// copy's sale total on its run ("COST_STD_C", "COST_JCT_C", "COST_STD_A", "COST_JCT_A",
// "-" first when the copy did not pass the design check) and removes the copies; mode 2
// or more gives the text naming the cheaper alternatives (empty when none).
std::string BuildCostSummary(CDorneDoc& document, int mode);
