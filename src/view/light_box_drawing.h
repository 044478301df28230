#pragma once

#include "view/box_colours.h"
#include "view/draw_tools.h"

class C3DProjection;
class CBox;
class CDrawContext;

// What the light picture of a box is drawn from: its colours as the full picture chooses
// them, its pen, and whether its faces are outlined rather than filled.
struct CLightBox {
  const CBox& box;
  const C3DProjection* projection = nullptr;
  CBoxColours colours;
  CPen pen;
  bool outlined = false;
};

// The quick picture of a box while the view moves, which needs neither the faces' flags
// nor the scene's order: a box within a pixel is that pixel, a small box its outline
// filled in the shade of the face that looks most toward the viewer, a larger one each
// face that looks toward the viewer in its shade; no edges, labels or details.
void DrawLightBox(CDrawContext& dc, const CLightBox& light);
