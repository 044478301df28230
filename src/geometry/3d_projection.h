#pragma once

#include "geometry/3d_point.h"
#include "geometry/display_list.h"
#include "geometry/projection_depth_rules.h"
#include "geometry/view_rotation.h"
#include "geometry/window_point.h"

#include <array>
#include <atomic>
#include <span>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

class CBox;

// The document's view of its 3D model: an orthographic rotation by three whole-degree
// angles (no scale, zoom or offset: projected coordinates are logical window
// coordinates in model units, zoom and scrolling belong to the window), and the scene:
// the display list of element boxes in painting order, back to front.
class C3DProjection {
 public:
  static constexpr int kCircleSegments = 40;
  using CCircle = std::array<CPoint, kCircleSegments + 1>;

  // Angles 330, 315, 0 and an empty scene.
  C3DProjection();
  ~C3DProjection();
  C3DProjection(const C3DProjection&) = delete;
  C3DProjection& operator=(const C3DProjection&) = delete;

  // Sets (relative false) or turns by (relative true) the three angles in degrees, each
  // kept in 0..359; recomputes the rotation, then resorts the scene when asked.
  void SetViewAngles(int d0, int d1, int d2, bool resort, bool relative);
  // Angle 0..2 in degrees (0..359); 0 for any other index.
  int GetViewAngle(int index) const;

  // The window point of a world point: x and y of the rotation truncated toward zero.
  CPoint ProjectPoint(const C3DPoint& point) const;
  // The same, and the unrounded (window x, window y, depth); larger depth is nearer.
  CPoint ProjectPoint(const C3DPoint& point, C3DPoint& rotated) const;
  // The unrounded (window x, window y, depth) of a world point.
  C3DPoint Rotate(const C3DPoint& point) const;
  // The world vector that maps to depth (0, 0, 1): toward the viewer.
  C3DPoint GetViewDirection() const { return m_viewDirection; }
  // The world point of a rotated (window x, window y, depth) point.
  C3DPoint Unproject(const C3DPoint& rotated) const;
  C3DPoint UnprojectWindowPoint(CPoint point, double depth) const;
  // Where the view ray through a window point meets the plane, or none when the ray
  // runs (nearly) parallel to it.
  std::optional<C3DPoint> IntersectViewRay(CPoint point, const C3DPoint& planePoint,
                                           const C3DPoint& planeNormal) const;
  // The same for an unrounded window position.
  std::optional<C3DPoint> IntersectViewRayAt(double x, double y, const C3DPoint& planePoint,
                                             const C3DPoint& planeNormal) const;
  // The 41 window points of the ellipse centre + cos(t) radiusU - sin(t) radiusV for t
  // in steps of 9 degrees; the first and the last coincide.
  CCircle ProjectCircle(const C3DPoint& centre, const C3DPoint& radiusU,
                        const C3DPoint& radiusV) const;

  // The axis direction from a world point whose screen direction points (within 4
  // degrees) toward a window point: codes +x 1, -x 2, +y 4, -y 8, +z 32, -z 16, tried in
  // that order; -1 when none, or when the point projects onto the window point itself.
  // An axis whose 10000 units project shorter than 100 is never taken. *length, when
  // given, brings a preset axis 0..5 (taken before any angle test) and receives the model
  // length along the chosen axis that matches the screen distance.
  int FindAxisTowardPoint(const C3DPoint& origin, CPoint point, int* length = nullptr) const;
  // That length for a preset axis 0..5 (-1 to let the angle choose); -1 when no axis.
  int LengthTowardPoint(const C3DPoint& origin, CPoint point, int presetAxis) const;

  // Projects the box's corners and bounds and clears its face nibbles. A box listed in
  // this projection's scene is re-filed in it.
  void ProjectBox(CBox& box);
  // ProjectBox, except that a box out of the scene whose corners and bounds are already of
  // this projection's rotation keeps them (only its face nibbles are cleared): the box ends
  // exactly as ProjectBox would leave it.
  void ReprojectBox(CBox& box);
  // Recomputes which faces of the box look toward the viewer and which take part in
  // the depth order (joints between an element's boxes are closed).
  void UpdateFaceVisibility(CBox& box) const;
  // The unnormalised outward normal of face 0..5 from the box's world corners, the
  // axis normal when the corners give none.
  static C3DPoint GetFaceNormalFromCorners(const CBox& box, int face);
  // Whether b's corners, taken in a's frame, overlap a's volume (touching is not
  // overlapping); only a's axes are tested.
  static bool BoxesOverlap(const CBox& a, const CBox& b);

  void InsertInDisplayList(CBox& box) { m_list.Insert(box); }
  // CDisplayList::InsertUnlisted.
  void InsertUnlistedInDisplayList(std::span<CBox* const> boxes) { m_list.InsertUnlisted(boxes); }
  void InsertUnlistedInDisplayList(std::span<CBox* const> boxes,
                                   std::span<const std::uint64_t> keys) {
    m_list.InsertUnlisted(boxes, keys);
  }
  void RemoveFromDisplayList(CBox& box) { m_list.Remove(box); }
  void ClearDisplayList() { m_list.Clear(); }
  // CDisplayList::Defer, CancelDeferred and Forget.
  void DeferDisplayList(std::function<void()> make) { m_list.Defer(std::move(make)); }
  bool CancelDeferredDisplayList() { return m_list.CancelDeferred(); }
  bool HasDeferredDisplayList() const { return m_list.HasDeferred(); }
  void ForgetInDisplayList(CBox& box) { m_list.Forget(box); }
  void SwapDisplayList(C3DProjection& other) { m_list.SwapContents(other.m_list); }
  // CDisplayList::TakeOutIsolated and InsertIsolated.
  bool TakeOutIsolated(std::span<CBox* const> boxes, CDisplayList::CPlace& place) {
    return m_list.TakeOutIsolated(boxes, place);
  }
  bool InsertIsolated(std::span<CBox* const> boxes, const CDisplayList::CPlace& place) {
    return m_list.InsertIsolated(boxes, place);
  }
  // CDisplayList::ListedBoxesMeeting and ReplaceKeyedGroup.
  bool ListedBoxesMeeting(std::span<CBox* const> boxes, std::vector<CBox*>& met, std::size_t most) {
    return m_list.ListedBoxesMeeting(boxes, met, most);
  }
  bool ReplaceKeyedGroup(std::span<CBox* const> boxes, std::span<const std::uint64_t> keys,
                         std::span<CBox* const> metBefore, std::size_t most,
                         const CDisplayList::CKeyedWalk& walk) {
    return m_list.ReplaceKeyedGroup(boxes, keys, metBefore, most, walk);
  }
  // Lays the list's screen cells out for the boxes about to be inserted (projected
  // already), so that a list filled from empty is not laid out again and again.
  void PrepareDisplayList(std::span<CBox* const> boxes) { m_list.PrepareFor(boxes); }
  // Projects every listed box again and rebuilds the order, inserting the boxes from
  // the front one (the tail) back to the head.
  void ResortDisplayList();
  // The same for a list left unordered, on a thread of its own that another may stop
  // (CDisplayList::ResortUnlessStopped); true when done.
  bool ResortDisplayListUnlessStopped(const std::atomic<bool>& stop);
  // Projects every listed box again and orders the list as inserting them in that order
  // into an empty one would (CDisplayList::ResortInOrder); stop may be null.
  bool ResortDisplayListInOrder(std::span<CBox* const> order, const std::atomic<bool>* stop);
  // Projects every listed box again, leaving the order as it was and the faces' flags
  // cleared (CDisplayList::ProjectUnordered): for quick pictures while the view turns.
  void ProjectDisplayListUnordered();
  // The list cursor (see CDisplayList::Iterate): 10 then -1 walks back to front, 0 then
  // 1 front to back.
  CBox* IterateDisplayList(int mode) { return m_list.Iterate(mode); }
  const CDisplayList& GetDisplayList() const { return m_list; }

 private:
  void ComputeMatrices();
  void ProjectCorners(CBox& box) const;
  // The same for a listed box about to be ordered again, not from within a change of it.
  void ProjectCornersAgain(CBox& box) const;

  std::array<int, 3> m_angles{0, 0, 0};
  const CViewRotation* m_rotation = nullptr;
  double m_inverse[3][3] = {};
  C3DPoint m_viewDirection;
  CProjectionDepthRules m_rules;
  CDisplayList m_list;
};

double DotProduct(const C3DPoint& a, const C3DPoint& b);
C3DPoint CrossProduct(const C3DPoint& a, const C3DPoint& b);
// The 3D distance truncated toward zero.
std::int32_t PointDistance(const C3DPoint& a, const C3DPoint& b);
// The window distance truncated toward zero (exact for any 32-bit points).
std::int32_t WindowDistance(CPoint p, CPoint q);
