#include "geometry/3d_projection.h"

#include "geometry/box.h"
#include "geometry/face_visibility.h"

#include <cmath>
#include <numbers>

namespace {

// -pi + 4 degrees: screen angles below it are taken one turn up.
constexpr double kAngleWrap = -3.07177948351002;
constexpr double kAxisTolerance = 0.06981317007977318;  // 4 degrees
constexpr double kAxisProbe = 10000.0;
constexpr int kShortestAxis = 100;

// (angle + delta + 720) modulo 360, floored so that any delta lands in 0..359.
int WrapDegrees(int angle, int delta) {
  const std::int64_t sum = std::int64_t{angle} + delta + 720;
  return static_cast<int>(((sum % 360) + 360) % 360);
}

double ScreenAngle(CPoint from, CPoint to) {
  const double angle =
      std::atan2(static_cast<double>(to.y) - from.y, static_cast<double>(to.x) - from.x);
  return angle < kAngleWrap ? angle + 2.0 * std::numbers::pi : angle;
}

// cos and sin of k steps of 9 degrees, exact at the quarter turns so that the points
// there truncate to the values the caller expects.
std::pair<double, double> CircleStep(int k) {
  switch (k % C3DProjection::kCircleSegments) {
    case 0: return {1.0, 0.0};
    case 10: return {0.0, 1.0};
    case 20: return {-1.0, 0.0};
    case 30: return {0.0, -1.0};
    default: {
      const double t = k * std::numbers::pi / 20.0;
      return {std::cos(t), std::sin(t)};
    }
  }
}

}  // namespace

C3DProjection::C3DProjection() : m_rules(*this), m_list(m_rules) {
  SetViewAngles(-30, -45, 0, false, false);
}

C3DProjection::~C3DProjection() {
  // A rebuild put off would read a design that is going.
  m_list.CancelDeferred();
  m_list.Clear();
}

void C3DProjection::SetViewAngles(int d0, int d1, int d2, bool resort, bool relative) {
  // A rebuild put off is made with the angles it was put off with.
  m_list.Settle();
  if (!relative) m_angles = {0, 0, 0};
  const int deltas[3] = {d0, d1, d2};
  for (int i = 0; i < 3; ++i) {
    m_angles[i] = WrapDegrees(m_angles[i], deltas[i]);
  }
  ComputeMatrices();
  if (resort) ResortDisplayList();
}

int C3DProjection::GetViewAngle(int index) const {
  return (index >= 0 && index < 3) ? m_angles[index] : 0;
}

void C3DProjection::ComputeMatrices() {
  m_rotation = &CViewRotation::ForAngles(m_angles[0], m_angles[1], m_angles[2]);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m_inverse[c][r] = m_rotation->At(r, c);
  }
  m_viewDirection = C3DPoint(m_inverse[0][2], m_inverse[1][2], m_inverse[2][2]);
}

C3DPoint C3DProjection::Rotate(const C3DPoint& p) const { return m_rotation->Rotate(p); }

CPoint C3DProjection::ProjectPoint(const C3DPoint& point) const {
  C3DPoint rotated;
  return ProjectPoint(point, rotated);
}

CPoint C3DProjection::ProjectPoint(const C3DPoint& point, C3DPoint& rotated) const {
  rotated = Rotate(point);
  return {TruncateCoordinate(rotated.x), TruncateCoordinate(rotated.y)};
}

C3DPoint C3DProjection::Unproject(const C3DPoint& r) const {
  const auto row = [&](int i) {
    return m_inverse[i][0] * r.x + m_inverse[i][1] * r.y + m_inverse[i][2] * r.z;
  };
  return {row(0), row(1), row(2)};
}

C3DPoint C3DProjection::UnprojectWindowPoint(CPoint point, double depth) const {
  return Unproject(C3DPoint(point.x, point.y, depth));
}

std::optional<C3DPoint> C3DProjection::IntersectViewRay(CPoint point, const C3DPoint& planePoint,
                                                        const C3DPoint& planeNormal) const {
  return IntersectViewRayAt(point.x, point.y, planePoint, planeNormal);
}

std::optional<C3DPoint> C3DProjection::IntersectViewRayAt(double x, double y,
                                                          const C3DPoint& planePoint,
                                                          const C3DPoint& planeNormal) const {
  const C3DPoint a = Unproject(C3DPoint(x, y, 0.0));
  const C3DPoint b = a + m_viewDirection;
  const double da = DotProduct(a - planePoint, planeNormal);
  const double db = DotProduct(b - planePoint, planeNormal);
  // Written so that a not-a-number normal also gives none.
  if (!(std::fabs(db - da) >= 0.05)) return std::nullopt;
  return (a * db - b * da) / (db - da);
}

C3DProjection::CCircle C3DProjection::ProjectCircle(const C3DPoint& centre, const C3DPoint& radiusU,
                                                    const C3DPoint& radiusV) const {
  CCircle points;
  for (int k = 0; k <= kCircleSegments; ++k) {
    const auto [c, s] = CircleStep(k);
    points[k] = ProjectPoint(centre + radiusU * c - radiusV * s);
  }
  return points;
}

int C3DProjection::FindAxisTowardPoint(const C3DPoint& origin, CPoint point, int* length) const {
  static const C3DPoint kDirections[6] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                          {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
  static const int kCodes[6] = {1, 2, 4, 8, 32, 16};
  const int preset = (length != nullptr && *length >= 0 && *length <= 5) ? *length : -1;
  const CPoint start = ProjectPoint(origin);
  if (start == point) return -1;
  const double target = ScreenAngle(start, point);
  for (int k = 0; k < 6; ++k) {
    const CPoint end = ProjectPoint(origin + kDirections[k] * kAxisProbe);
    const std::int32_t axisLength = WindowDistance(start, end);
    if (axisLength < kShortestAxis) continue;
    bool chosen = k == preset;
    if (!chosen) {
      const double angle = ScreenAngle(start, end);
      chosen = angle - kAxisTolerance < target && target < angle + kAxisTolerance;
    }
    if (!chosen) continue;
    if (length != nullptr) {
      const double screen = WindowDistance(start, point);
      *length = C3DPoint::ToStoredInt(screen / axisLength * kAxisProbe);
    }
    return kCodes[k];
  }
  return -1;
}

int C3DProjection::LengthTowardPoint(const C3DPoint& origin, CPoint point, int presetAxis) const {
  int length = presetAxis;
  return FindAxisTowardPoint(origin, point, &length) == -1 ? -1 : length;
}

void C3DProjection::ProjectCorners(CBox& box) const { box.StoreProjection(*m_rotation); }

void C3DProjection::ProjectCornersAgain(CBox& box) const {
  // Outside its own changes, a box named projected by a rotation holds that projection of
  // its corners as they stand (a change of its corners projects it anew or lets go of the
  // rotation): projecting it again would only clear its faces' flags.
  if (box.ProjectedBy(*m_rotation)) return box.ClearFaceNibbles();
  ProjectCorners(box);
}

void C3DProjection::ProjectBox(CBox& box) {
  // A rebuild put off takes the box as it stood then.
  m_list.Settle();
  ProjectCorners(box);
  if (box.IsListed()) m_list.Refile(box);
}

void C3DProjection::ReprojectBox(CBox& box) {
  if (box.IsListed() || !box.ProjectedBy(*m_rotation)) return ProjectBox(box);
  box.ClearFaceNibbles();
}

void C3DProjection::UpdateFaceVisibility(CBox& box) const { ::UpdateFaceVisibility(*this, box); }

C3DPoint C3DProjection::GetFaceNormalFromCorners(const CBox& box, int face) {
  if (face < 0 || face >= CBox::kFaceCount) return {};
  return box.GetCornerNormal(face);
}

bool C3DProjection::BoxesOverlap(const CBox& a, const CBox& b) {
  const C3DPoint origin = a.GetOrigin();
  C3DPoint low, high;
  for (int n = 0; n < CBox::kCornerCount; ++n) {
    const C3DPoint d = b.GetCorner(n) - origin;
    const C3DPoint local(DotProduct(d, a.GetAxis(0)), DotProduct(d, a.GetAxis(1)),
                         DotProduct(d, a.GetAxis(2)));
    if (n == 0) {
      low = high = local;
      continue;
    }
    if (local.x < low.x) low.x = local.x;
    if (local.y < low.y) low.y = local.y;
    if (local.z < low.z) low.z = local.z;
    if (local.x > high.x) high.x = local.x;
    if (local.y > high.y) high.y = local.y;
    if (local.z > high.z) high.z = local.z;
  }
  const double hA = a.GetExtent(1) / 2.0;
  const double hB = a.GetExtent(2) / 2.0;
  const double hC = a.GetExtent(0) / 2.0;
  return hA > low.x && -hA < high.x && hB > low.y && -hB < high.y && hC > low.z && -hC < high.z;
}

// A re-sort projects each box after taking it out of the list, so there is nothing to
// file again: the corners alone, without asking the box's owner whether it is listed.
void C3DProjection::ResortDisplayList() {
  m_list.Resort([this](CBox& box) { ProjectCornersAgain(box); });
}

bool C3DProjection::ResortDisplayListUnlessStopped(const std::atomic<bool>& stop) {
  return m_list.ResortUnlessStopped([this](CBox& box) { ProjectCornersAgain(box); }, stop);
}

bool C3DProjection::ResortDisplayListInOrder(std::span<CBox* const> order,
                                             const std::atomic<bool>* stop) {
  return m_list.ResortInOrder(
      order, [this](CBox& box) { ProjectCornersAgain(box); }, stop);
}

void C3DProjection::ProjectDisplayListUnordered() {
  m_list.ProjectUnordered([this](CBox& box) { ProjectCorners(box); });
}

double DotProduct(const C3DPoint& a, const C3DPoint& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

C3DPoint CrossProduct(const C3DPoint& a, const C3DPoint& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

std::int32_t PointDistance(const C3DPoint& a, const C3DPoint& b) { return a.DistanceTo(b); }

std::int32_t WindowDistance(CPoint p, CPoint q) {
  const double dx = static_cast<double>(q.x) - p.x;
  const double dy = static_cast<double>(q.y) - p.y;
  return C3DPoint::ToStoredInt(std::sqrt(dx * dx + dy * dy));
}
