#pragma once

#include <array>
#include <string>
#include <vector>

#include "reference/ref_line_edit.h"

struct CRefRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
};

// One row of a zone of the line's schematic: a caption, and the count edit (or the
// static of a total) that stands beside it.
struct CRefSchematicRow {
  int captionControl = 0;
  std::string caption;
  int countControl = 0;  // 0: no count on this row
  int component = -1;    // the component whose count the edit holds, -1 for a static
  bool editable = false;
  int chooseButton = 0;  // the "..." button of the row (RefChoiceOfButton), 0 for none
  int checkControl = 0;  // the position check box on the row (1476, 1477), 0 for none
  bool checked = false;  // whether that box is checked
};

// The six zones of the schematic: feed, straight elements, supplementary equipment,
// connections, fixing and luminaire fixing. An absent zone has no rows and an empty
// rectangle.
struct CRefSchematicZone {
  int rows = 0;
  CRefRect rect;
  int titleMessage = 0;
  std::vector<CRefSchematicRow> lines;
};

struct CRefSchematicLayout {
  std::array<CRefSchematicZone, 6> zones;
  // The luminaire options of a QFP line from line mode 2 on, under the connections: the
  // equipment button and the total of the line's luminaire equipment. Empty otherwise.
  CRefSchematicZone options;
  int pictureTop = 0, pictureBottom = 0;  // the band the line's picture is centred in
};

// What a "..." button of the schematic opens for a product kind: a choice kind of the
// choice panel (0..9, 20..26; 7 the equipment quantities), or -1 the fixing chooser and
// -3 the equipment of the line options; -100 for no button.
int RefChoiceOfButton(int button, int productKind);
// Whether a button is one of the line page's own options (line mode, fixing spacing,
// extra code), usable before the header is validated.
bool RefIsLineOptionButton(int button);

// How many rows each zone needs for the line (its title row included; 0 when absent).
std::array<int, 6> RefZoneRows(CRefLineEditContext& context);

// Lays the zones out in the client area with rows h high and zones w wide, the margin
// half a row, and fills their rows from the line and the family choices.
CRefSchematicLayout LayOutRefSchematic(CRefLineEditContext& context, CRefRect client, int h, int w);

// The total shown by the supplementary zone: the line's supplementary counts.
int RefSupplementaryTotal(const CRefLine& line);
// The luminaire equipment of a QFP line: components 24-36, without the extra feed below
// line mode 10 and without the centre feed outside line mode 11.
int RefLuminaireEquipmentTotal(const CRefLine& line);

// The picture of a line's schematic, by product kind, line mode and special mode (the
// numbers of the pictures the program draws).
int RefPictureOf(int kind, int lineMode, int specialMode);
