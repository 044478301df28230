#pragma once

#include <string>
#include <vector>

// The phase arrangement list of a range QM variant-6 end piece ("EMBOUT_EL1",
// "EMBOUT_EL3", "EMBOUT_EL4"): which conductor orders it offers, which one is shown for
// the arrangement number stored first in "ENTRAX", and the number a choice stores.
struct CArrangementPlace {
  int piece = 0;  // 0 "EMBOUT_EL1", 1 "EMBOUT_EL3", 2 "EMBOUT_EL4"
  bool noNeutral = false;
  bool phaseCodeZero = false;  // the phase order at the element has code 0
  int direction = 0;
  int rotation = 0;
  bool neighbourOnDirection = false;
  bool largeCalibre = false;
  bool partsBuilt = false;  // the run's build state word is set
};

std::vector<std::string> ArrangementEntries(const CArrangementPlace& place);
bool IsArrangementEnabled(const CArrangementPlace& place);
// The arrangement a newly chosen piece (or one without a stored arrangement) starts with.
int DefaultArrangement(const CArrangementPlace& place);
// The list entry that a stored arrangement shows, and the arrangement an entry stores:
// each the inverse of the other.
int ArrangementIndex(const CArrangementPlace& place, int arrangement);
int StoredArrangement(const CArrangementPlace& place, int index);
// Whether the turn button is offered on the piece.
bool IsVariant6TurnShown(const CArrangementPlace& place);
