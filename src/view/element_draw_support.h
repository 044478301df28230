#pragma once

#include <array>
#include <span>
#include <string>

#include "geometry/3d_point.h"
#include "geometry/box.h"
#include "platform/draw_types.h"

class C3DProjection;
class CDev;
class CDrawContext;

// Small shared pieces of the element drawing.
namespace element_draw {

// The projected corners of face f of the box, starting at position `start` of the face
// table (corner (start + i) mod 4 first).
std::array<CPoint, 4> FacePolygon(const CBox& box, int face, int start = 0);
// The same from the box's window corners as GetWindowCorners gives them, written into
// `points`: a box whose faces are drawn one by one projects its corners once rather than
// four times a face. Defined here: each face of a picture takes it, and a polygon made
// apart was copied back before its bytes had reached memory.
inline void FacePolygonInto(const std::array<CPoint, CBox::kCornerCount>& corners, int face,
                            std::array<CPoint, 4>& points, int start = 0) {
  if (face >= 0 && face < CBox::kFaceCount && start >= 0) {
    // A face of the table, as every face drawn is, skips the checks of each corner.
    for (std::size_t i = 0; i < 4; ++i) {
      const auto k = (static_cast<std::size_t>(start) + i) % 4;
      points[i] = corners[static_cast<std::size_t>(CBox::kFaceCorners[face][k])];
    }
    return;
  }
  for (int i = 0; i < 4; ++i) {
    const int corner = CBox::GetFaceCorner(face, (start + i) % 4);
    points[static_cast<std::size_t>(i)] =
        corner >= 0 ? corners[static_cast<std::size_t>(corner)] : CPoint();
  }
}
// The same, returned.
inline std::array<CPoint, 4> FacePolygon(const std::array<CPoint, CBox::kCornerCount>& corners,
                                         int face, int start = 0) {
  std::array<CPoint, 4> points{};
  FacePolygonInto(corners, face, points, start);
  return points;
}
// World corners of face f in the same order.
std::array<C3DPoint, 4> FaceCorners(const CBox& box, int face, int start = 0);
// The centre of face f: the mid-point of its corners 0 and 2.
C3DPoint FaceCentre(const CBox& box, int face);
C3DPoint MidPoint(const C3DPoint& a, const C3DPoint& b);
// The world points projected and filled as one polygon with the context's pen and brush.
void FillProjected(CDrawContext& dc, const C3DProjection& projection,
                   std::span<const C3DPoint> points);
// A move to a and a line to b, projected.
void LineProjected(CDrawContext& dc, const C3DProjection& projection, const C3DPoint& a,
                   const C3DPoint& b);
// The element that owns the box, or null.
const CDev* OwningElement(const CBox& box);
// The run property as an integer; `fallback` when empty or not a number.
int RunPropertyInt(const CDev& element, const char* name, int fallback);
// The element's field as an integer; 0 when empty or not a number.
int FieldInt(const CDev& element, const char* name);
// The face of the run's neutral side ("COTE_NEUTRE" 0..3) with the turn, or -1.
int NeutralFace(const CBox& box, int turn);

}  // namespace element_draw
