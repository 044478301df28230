#pragma once

#include <vector>

#include "reference/ref_line_edit.h"
#include "reference/ref_line_page.h"

// The option buttons and the tap-off count of the line page, and whether each shows for
// the line being edited.
struct CRefLineControls {
  bool luminaireMode = false;    // "..." 1201: the line mode (the luminaire option)
  bool spacing = false;          // "..." 1205: the fixing spacing
  bool extraCode = false;        // "..." 1206: the extra code of a three-slot connection
  bool itemTabs = false;         // 1371: the sections of a luminaire line
  bool connectionCount = false;  // edit 1646: the tap-off count of connection 6
};

// Whether the line's tap-offs are spread over the three slots from 96 on: a group 3 line
// other than a QFP line below line mode 10, with a conductor code of 1 or at least 3,
// whose product's connection record holds slot 96 in its entry 1.
bool RefConnectionFlag(const CRefLine& line, const CRefConfig& config);
// Whether the product offers at least two of the luminaire modes (components 45-47).
bool RefLuminaireOptionFlag(const std::vector<int>& table);

// What the page shows for the line, from its product's table (kind 1) and the flags.
CRefLineControls RefLineControlsFor(const CRefLine& line, const std::vector<int>& table,
                                    bool connectionFlag);

// The message over the connection combo: the tap-off outlets of QPA (and of QPC when it
// offers their joints), the circuits of the lighting lines in special mode 2, else the
// connections.
int RefConnectionLabelMessage(CRefLineEditContext& context);

// The conductor or rating combo changed while the header is open: the line takes the
// new choice, the connection flag follows, and without it the extra code goes back to 0.
// True when the connection combo must be filled again (QYB).
bool RefHeaderChoiceChanged(CRefLineEditContext& context, int rating, int conductors);

// The connection combo chose a connection: the line takes it. In special mode 3 a QFP
// line in a luminaire mode loses its tap-off units and its sections, which were laid out
// for the old connection; true when that happened (its sections must be laid out again).
bool RefConnectionChosen(CRefLineEditContext& context, int connection);

// Whether taking the counts of a line on connection 7 must first ask about the units its
// chosen connections already hold (a QFP line outside special mode 3 also when it counts
// luminaire equipment, components 24-36).
bool RefConnectionsHoldUnits(const CRefLine& line, int specialMode);

// The limits of the tap-off count of connection 6: 1 up to the length typed (one outlet
// a metre at most).
CRefFieldLimit RefConnectionCountLimit(int length);

// Whether the straight elements and complements typed for the line cover more than its
// length: each element counts at its step (Len / step of the counting rules), each
// complement at the shortest complement length.
bool RefFamiliesExceedLength(CRefLineEditContext& context, int straight, int complement);
