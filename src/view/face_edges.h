#pragma once

#include <array>

#include "platform/draw_types.h"
#include "view/bevel_faces.h"

class CBox;
class CDev;

// What decides which edges of an outlined face are drawn: where the element's other boxes
// join this one, the bevel, and the covers.
struct CFaceEdgeQuery {
  const CDev* element = nullptr;
  const CBox* box = nullptr;
  int slot = 0;
  int role = 0;
  int face = 0;
  CBevelledFace shape;
  bool bevelledBody = false;  // the element is an elbow with a bevelled body
  bool qjShaped = false;      // a junction of catalogue QJ with a part box in slot 7
  int coverCode = 0;          // the element's "CAPOT" for covers
};

// The edges of one face: which of the polygon's four edges (edge k from point k+1 to
// point k) are drawn, the polygon with a cover edge cut where the body box hides it, and
// whether the face's outline and supports are left out too.
struct CFaceEdges {
  std::array<bool, 4> draw{true, true, true, true};
  std::array<CPoint, 4> polygon{};
  bool faceHidden = false;
};

CFaceEdges ChooseFaceEdges(const CFaceEdgeQuery& query);

// The face of a cover (box role 3) that lies open: the element's direction (its
// opposite without a neighbour there) for style bits 26-27 equal to 2, face 3 for 1 and
// 3, face 2 for 0.
int CoverFace(const CDev& element);
