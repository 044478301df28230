#pragma once

#include <string>
#include <vector>

#include "geometry/3d_point.h"

class CBox;
class CDev;
class CDrawContext;
struct CElementDrawOptions;

// The support points of one box: at most nine world points, the first face named by a
// placement on a box slot, the side face without supports, and 10 after a placement at
// half a box extent ("e"); -1 where unset.
struct CSupportData {
  std::vector<C3DPoint> points;
  // The numbers of the points whose 50-unit cube meets the box (the only ones drawn on
  // it), and whether a face box is hidden inside its element's body.
  std::vector<std::size_t> touching;
  bool insideBody = false;
  int firstFace = -1;
  int side = -1;
  int extraOffset = -1;
  bool operator==(const CSupportData&) const = default;
};

// The element whose "SUPP" text gives the supports of the box in that slot, or null
// when the box shows none (range other than QM and QG, parts not built, no such element).
const CDev* FindSupportElement(const CBox& box, int slot);

// The support data of the box from the support element's "SUPP" text (slot: the box's).
CSupportData ComputeSupports(const CBox& box, int slot, const CDev& supportElement,
                             const std::string& text);

// Draws on face f of the box the band of every support point that touches it.
void DrawSupports(CDrawContext& dc, const CBox& box, int face, int slot, const CSupportData& data,
                  const CElementDrawOptions& options);
