#pragma once

#include "view/draw_tools.h"

class CBox;
class CDev;
class CDrawContext;

// The grey band that tells the two special calibres (63 in catalogue "QMC", 50 in "QMA")
// from the others at a glance: 130 units wide along the middle of the faces beside the
// neutral side, 15 wide on the small parts of in-line units, bent round the corner of
// an elbow.

// Whether the element's run is of one of the two special calibres.
bool IsSpecialCalibre(const CDev& element);

// Which band the box in that slot carries (special: the run's calibre is special): 0 none,
// 1 on the neutral faces, 2 also on the direction faces, 5 the narrow band on the
// direction faces too.
int CalibreBandMode(const CDev& element, int slot, bool special);

// What one face's band is drawn with.
struct CCalibreBandFace {
  int face = 0;
  int slot = 0;
  int mode = 0;
  int neutralSide = -1;  // 0..3
  bool edges = false;    // the box's faces are outlined: the band's long sides too
  CPen pen;              // the element pen for those sides
};

// Draws the band of face f of the box, when the face carries one.
void DrawCalibreBand(CDrawContext& dc, const CBox& box, const CCalibreBandFace& band);
