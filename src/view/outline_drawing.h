#pragma once

#include <string>

class C3DProjection;
class CBox;
class CDev;
class CDrawContext;

// What the details of an element's box (conductor bars and phase labels, end-face
// pictograms, cover lines, source symbols, the cabinet frame) are drawn from besides the
// box: worked out once for the box, since every face of it asks.
struct COutlineBox {
  const C3DProjection* projection = nullptr;
  int slot = 25;         // the box's slot among its element's, 25 when none
  int neutralSide = -1;  // the neutral side of the run being drawn, -1..3
  bool qg = false;       // the run's catalogue is of range QG
  bool smallQm = false;  // calibre 63 in "QMC" or 50 in "QMA"
  bool qma = false;      // the catalogue is exactly "QMA"
  bool dxfRecording = false;
};

// Whether a box of the element may carry any detail at all (the cheap test a repaint
// makes before it works out anything else), detail being the face mode of the box.
bool MayHaveOutline(const CDev& element, int detail);
// The box's details context; the range tests read the run's "Catalog" and "Calibre".
COutlineBox OutlineBoxOf(const CDev& element, int slot, int neutralSide, bool dxfRecording);

// Draws the details of one face of the box after its fill and edges. detail is the face
// mode of the element drawing: 0 for a box that is neither body nor part, its slot (10 and
// up: the conductor bars and shims) in ranges QM and QG, else 1. The context's pen is
// left as it was found.
void DrawOutline(CDrawContext& dc, const CBox& box, const CDev& element, int face, int detail,
                 const COutlineBox& context);
