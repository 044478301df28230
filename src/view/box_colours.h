#pragma once

#include <cstdint>

#include "platform/draw_types.h"

// The pen and fills of one box: the fill colour and its shades for the three face
// brushes, and whether the faces are only outlined (edge flag).
struct CBoxColours {
  CColor pen{0, 0, 0};
  CColor fill{255, 255, 255};
  CColor full{255, 255, 255};
  CColor half{255, 255, 255};
  CColor threeQuarter{255, 255, 255};
  bool edges = false;
};

// What the colours of a box depend on.
struct CBoxColourInput {
  CColor boxColour{255, 255, 255};
  int selection = 0;            // 0 none, 1 selected, 2 selected in the lighter colour
  bool edgeColourFlag = false;  // the box asks for outlined faces
  bool monochrome = false;
  bool patternedBody = false;
  int faceMode = 0;
  CColor highlight{0, 120, 215};
  // Tap-off units: a pen that replaces black and outlines the faces, and a fill.
  bool hasTapOffPen = false;
  CColor tapOffPen;
  bool hasTapOffFill = false;
  CColor tapOffFill;
};

CBoxColours ChooseBoxColours(const CBoxColourInput& input);

// The brush of face 0..5 among the three shades. Defined here: the colour handed back
// from a call was stored a byte at a time and read back whole, which waited for those
// stores on every face of a picture.
inline CColor FaceShade(const CBoxColours& colours, int face) {
  switch (face) {
    case 0:
    case 4: return colours.half;
    case 2:
    case 3: return colours.threeQuarter;
    default: return colours.full;
  }
}
