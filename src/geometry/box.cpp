#include "geometry/box.h"

#include "platform/archive.h"
#include "geometry/3d_projection.h"
#include "geometry/box_owner.h"
#include "geometry/plane_geometry.h"
#include "geometry/view_rotation.h"

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

namespace {

std::atomic<std::uint64_t> g_selectionMarksVersion{0};

constexpr int kFacePairs[6][6] = {
    {-1, 2, 3, 1, -2, 0}, {0, -1, 3, 1, 2, -2}, {3, 0, -1, -2, 1, 2},
    {0, 3, -2, -1, 2, 1}, {-2, 0, 3, 1, -1, 2}, {2, -2, 3, 1, 0, -1},
};

// Side 0..3 and rotation index to the side's place.
constexpr int kSidePlace[4][4] = {{0, 2, 1, 3}, {1, 3, 0, 2}, {2, 1, 3, 0}, {3, 0, 2, 1}};
// Place 0..3 and element direction 0..5 to the face.
constexpr int kPlaceFace[4][6] = {
    {1, 4, 0, 4, 5, 0}, {5, 0, 4, 0, 1, 4}, {2, 2, 1, 1, 2, 2}, {3, 3, 5, 5, 3, 3}};

// Rotation index and reference point 0..7 to a logical corner.
constexpr int kRotationCorner[4][8] = {{0, 1, 2, 3, 4, 5, 6, 7},
                                       {1, 3, 0, 2, 5, 7, 4, 6},
                                       {3, 2, 1, 0, 7, 6, 5, 4},
                                       {2, 0, 3, 1, 6, 4, 7, 5}};
// Element direction and logical corner to the box corner.
constexpr int kDirectionCorner[6][8] = {{2, 3, 6, 7, 0, 1, 4, 5}, {0, 1, 2, 3, 4, 5, 6, 7},
                                        {5, 1, 7, 3, 4, 0, 6, 2}, {2, 6, 0, 4, 3, 7, 1, 5},
                                        {4, 5, 0, 1, 6, 7, 2, 3}, {6, 7, 4, 5, 2, 3, 0, 1}};

// Reference points 8..19: the middles of these pairs of reference points.
constexpr int kMidPointPairs[12][2] = {{0, 2}, {2, 6}, {6, 4}, {4, 0}, {1, 3}, {3, 7},
                                       {7, 5}, {5, 1}, {0, 1}, {4, 5}, {2, 3}, {6, 7}};

std::int32_t AbsoluteExtent(std::int32_t e) {
  if (e == std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::max();
  return e < 0 ? -e : e;
}

// Half extents along A, B and C (extents 1, 2 and 0).
std::array<double, 3> HalfExtents(const std::array<std::int32_t, 3>& extent) {
  return {extent[1] / 2.0, extent[2] / 2.0, extent[0] / 2.0};
}

// Corner n of a box along the world axes: each coordinate moves by its own half extent
// alone. Worked out in place, since every projection and face normal asks for corners.
C3DPoint ExactCornerOf(const C3DPoint& origin, const std::array<double, 3>& half, int n) {
  return {origin.x + ((n & 2) ? half[0] : -half[0]), origin.y + ((n & 1) ? -half[1] : half[1]),
          origin.z + ((n & 4) ? -half[2] : half[2])};
}

// The two values each coordinate of a box's corners takes when they follow from its
// origin and extents: corner n is (x[(n >> 1) & 1], y[n & 1], z[(n >> 2) & 1]).
struct CornerValues {
  double x[2], y[2], z[2];

  C3DPoint At(int n) const { return {x[(n >> 1) & 1], y[n & 1], z[(n >> 2) & 1]}; }
};

// The very sums ExactCornerOf makes, each once: for a caller that goes through every corner.
CornerValues ExactCornerValues(const C3DPoint& origin, const std::array<double, 3>& half) {
  return {{origin.x + -half[0], origin.x + half[0]},
          {origin.y + half[1], origin.y + -half[1]},
          {origin.z + half[2], origin.z + -half[2]}};
}

// Whether every corner is the exact one, all 24 coordinates compared with no branch
// between them: nearly every box read from a file is exact.
template <std::size_t... N>
bool AllCornersExact(const std::array<C3DPoint, CBox::kCornerCount>& corners, const CornerValues& v,
                     std::index_sequence<N...>) {
  return ((static_cast<int>(corners[N].x == v.x[(N >> 1) & 1]) &
           static_cast<int>(corners[N].y == v.y[N & 1]) &
           static_cast<int>(corners[N].z == v.z[(N >> 2) & 1])) &
          ...) != 0;
}

// A stored corner: its three coordinates, then its projection, which is recomputed and
// never trusted.
constexpr std::size_t kStoredCornerSize = 20;

C3DPoint StoredPoint(const std::uint8_t* at) {
  const auto coordinate = [at](int i) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(DecodeLittleEndian<4>(at + 4 * i)));
  };
  return C3DPoint(coordinate(0), coordinate(1), coordinate(2));
}

// The stored corners, each made as it is decoded rather than zeroed first: every box of a
// file passes here.
template <std::size_t... N>
std::array<C3DPoint, CBox::kCornerCount> DecodedCorners(const std::uint8_t* record,
                                                        std::index_sequence<N...>) {
  return {StoredPoint(record + kStoredCornerSize * N)...};
}

C3DPoint TruncatedPoint(const C3DPoint& p) {
  return {static_cast<double>(C3DPoint::ToStoredInt(p.x)),
          static_cast<double>(C3DPoint::ToStoredInt(p.y)),
          static_cast<double>(C3DPoint::ToStoredInt(p.z))};
}

// The values of ExactCornerValues truncated as a stored record keeps them: each of the
// six once, rather than three at every corner asked for.
CornerValues TruncatedValues(CornerValues values) {
  for (double* pair : {values.x, values.y, values.z}) {
    for (int i = 0; i < 2; ++i) pair[i] = C3DPoint::ToStoredInt(pair[i]);
  }
  return values;
}

// The values of the corners of a box whose corners follow from its origin and extents,
// as CBox::CornerAt gives them.
CornerValues RuledCornerValues(const C3DPoint& origin, const std::array<std::int32_t, 3>& extent,
                               bool truncated) {
  const CornerValues exact = ExactCornerValues(origin, HalfExtents(extent));
  return truncated ? TruncatedValues(exact) : exact;
}

bool IsFinite(const C3DPoint& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Strict bounds as the projection keeps them: a value replaces a bound only when it is
// smaller (larger), so the first corner's values stay on ties.
void Bounds(const std::array<C3DPoint, CBox::kCornerCount>& points, C3DPoint& low, C3DPoint& high) {
  low = points[0];
  high = points[0];
  for (const C3DPoint& p : points) {
    if (p.x < low.x) low.x = p.x;
    if (p.y < low.y) low.y = p.y;
    if (p.z < low.z) low.z = p.z;
    if (p.x > high.x) high.x = p.x;
    if (p.y > high.y) high.y = p.y;
    if (p.z > high.z) high.z = p.z;
  }
}

// Row r of the rotation at all eight corners from two products per coordinate, summed
// in the order CViewRotation::Rotate sums them: the same bits for a fifth of the work.
void RotateRow(const CViewRotation& rotation, int r, const CornerValues& v,
               std::array<double, CBox::kCornerCount>& out) {
  const double px[2] = {rotation.At(r, 0) * v.x[0], rotation.At(r, 0) * v.x[1]};
  const double py[2] = {rotation.At(r, 1) * v.y[0], rotation.At(r, 1) * v.y[1]};
  const double pz[2] = {rotation.At(r, 2) * v.z[0], rotation.At(r, 2) * v.z[1]};
  for (int n = 0; n < CBox::kCornerCount; ++n)
    out[n] = px[(n >> 1) & 1] + py[n & 1] + pz[(n >> 2) & 1];
}

}  // namespace

void CBox::SetOrigin(const C3DPoint& origin) {
  HoldProjectionUnlessReprojected();
  m_origin = origin;
  ComputeCorners();
}

void CBox::SetPlacement(const C3DPoint& origin, std::int32_t e0, std::int32_t e1, std::int32_t e2) {
  HoldProjectionUnlessReprojected();
  m_origin = origin;
  m_extent = {AbsoluteExtent(e0), AbsoluteExtent(e1), AbsoluteExtent(e2)};
  ComputeCorners();
}

void CBox::SetExtent1(std::int32_t e) {
  HoldProjectionUnlessReprojected();
  m_extent[0] = AbsoluteExtent(e);
  ComputeCorners();
}

void CBox::SetExtent2(std::int32_t e) {
  HoldProjectionUnlessReprojected();
  m_extent[1] = AbsoluteExtent(e);
  ComputeCorners();
}

void CBox::SetExtent3(std::int32_t e) {
  HoldProjectionUnlessReprojected();
  m_extent[2] = AbsoluteExtent(e);
  ComputeCorners();
}

void CBox::ComputeCorners() {
  HoldProjectionUnlessReprojected();
  m_cornerForm = CornerForm::kExact;
  m_listedCorners.Clear();
  UpdateProjection();
}

C3DPoint CBox::ExactCorner(int corner) const {
  return ExactCornerOf(m_origin, HalfExtents(m_extent), corner);
}

C3DPoint CBox::CornerAt(int corner) const {
  switch (m_cornerForm) {
    case CornerForm::kExact: return ExactCorner(corner);
    case CornerForm::kTruncated: return TruncatedPoint(ExactCorner(corner));
    case CornerForm::kListed: return m_listedCorners[static_cast<std::size_t>(corner)];
  }
  return {};
}

std::array<C3DPoint, CBox::kCornerCount> CBox::GetCorners() const {
  if (m_cornerForm == CornerForm::kListed) return m_listedCorners.All();
  const CornerValues values =
      RuledCornerValues(m_origin, m_extent, m_cornerForm == CornerForm::kTruncated);
  std::array<C3DPoint, kCornerCount> corners;
  for (int n = 0; n < kCornerCount; ++n) corners[n] = values.At(n);
  return corners;
}

CBox::CornerForm CBox::FormOf(const std::array<C3DPoint, kCornerCount>& corners) const {
  // Every box read from a file passes here, so the half extents are worked out once and
  // a corner is truncated only where it differs from the exact one: a stored corner that
  // equals the exact one is a whole number, which truncating leaves as it is.
  const CornerValues values = ExactCornerValues(m_origin, HalfExtents(m_extent));
  if (AllCornersExact(corners, values, std::make_index_sequence<kCornerCount>())) {
    return CornerForm::kExact;
  }
  const auto matchesTruncated = [](double stored, double exact) {
    return stored == exact || stored == static_cast<double>(C3DPoint::ToStoredInt(exact));
  };
  bool exact = true;
  for (int n = 0; n < kCornerCount; ++n) {
    const C3DPoint& stored = corners[static_cast<std::size_t>(n)];
    const C3DPoint computed = values.At(n);
    if (stored == computed) continue;
    exact = false;
    if (!matchesTruncated(stored.x, computed.x) || !matchesTruncated(stored.y, computed.y) ||
        !matchesTruncated(stored.z, computed.z))
      return CornerForm::kListed;
  }
  return exact ? CornerForm::kExact : CornerForm::kTruncated;
}

void CBox::HoldProjectionUnlessReprojected() {
  if (m_rotation == nullptr) return;
  if (m_owner != nullptr && m_owner->GetProjection() != nullptr) return;
  m_heldProjection.Keep(GetProjectedCorners());
  m_rotation = nullptr;
}

C3DPoint CBox::ProjectedCornerAt(int corner) const {
  if (m_rotation != nullptr) return m_rotation->Rotate(CornerAt(corner));
  if (m_heldProjection.IsKept()) return m_heldProjection[static_cast<std::size_t>(corner)];
  return {};
}

bool CBox::ProjectRows(int rows, std::array<std::array<double, kCornerCount>, 3>& out) const {
  if (m_rotation == nullptr || m_cornerForm == CornerForm::kListed) return false;
  const CornerValues values =
      RuledCornerValues(m_origin, m_extent, m_cornerForm == CornerForm::kTruncated);
  for (int r = 0; r < rows; ++r) RotateRow(*m_rotation, r, values, out[r]);
  return true;
}

CPoint CBox::WindowCornerAt(int corner) const {
  if (m_rotation != nullptr) {
    const C3DPoint c = CornerAt(corner);
    return {TruncateCoordinate(m_rotation->Row(0, c)), TruncateCoordinate(m_rotation->Row(1, c))};
  }
  const C3DPoint p = ProjectedCornerAt(corner);
  return {TruncateCoordinate(p.x), TruncateCoordinate(p.y)};
}

std::array<C3DPoint, CBox::kCornerCount> CBox::GetProjectedCorners() const {
  std::array<C3DPoint, kCornerCount> projected;
  std::array<std::array<double, kCornerCount>, 3> rows;
  if (ProjectRows(3, rows)) {
    for (int n = 0; n < kCornerCount; ++n) projected[n] = {rows[0][n], rows[1][n], rows[2][n]};
  } else {
    for (int n = 0; n < kCornerCount; ++n) projected[n] = ProjectedCornerAt(n);
  }
  return projected;
}

void CBox::UpdateProjection() {
  if (m_owner == nullptr) return;
  if (C3DProjection* projection = m_owner->GetProjection()) projection->ProjectBox(*this);
}

C3DPoint CBox::GetWorldMin() const {
  C3DPoint low, high;
  Bounds(GetCorners(), low, high);
  return low;
}

C3DPoint CBox::GetWorldMax() const {
  C3DPoint low, high;
  Bounds(GetCorners(), low, high);
  return high;
}

std::array<CPoint, CBox::kCornerCount> CBox::GetWindowCorners() const {
  std::array<CPoint, kCornerCount> window;
  std::array<std::array<double, kCornerCount>, 3> rows;
  if (ProjectRows(2, rows)) {
    for (int n = 0; n < kCornerCount; ++n) {
      window[n] = {TruncateCoordinate(rows[0][n]), TruncateCoordinate(rows[1][n])};
    }
  } else {
    for (int n = 0; n < kCornerCount; ++n) window[n] = WindowCornerAt(n);
  }
  return window;
}

C3DPoint CBox::GetCornerNormal(int face) const {
  const int* corners = kFaceCorners[face];
  const bool exact = m_cornerForm == CornerForm::kExact;
  const std::array<double, 3> half = HalfExtents(m_extent);
  return FaceNormalOf(face, [&](int k) {
    return exact ? ExactCornerOf(m_origin, half, corners[k]) : CornerAt(corners[k]);
  });
}

std::array<C3DPoint, CBox::kFaceCount> CBox::GetCornerNormals() const {
  std::array<C3DPoint, kFaceCount> normals;
  if (m_cornerForm == CornerForm::kListed) {
    for (int face = 0; face < kFaceCount; ++face) normals[face] = GetCornerNormal(face);
    return normals;
  }
  // Each coordinate takes one of two values, worked out once for all six faces: the
  // corners come to the same bits as one at a time, and the arithmetic is FaceNormalOf's
  // on plain numbers, which stay in registers.
  const CornerValues values =
      RuledCornerValues(m_origin, m_extent, m_cornerForm == CornerForm::kTruncated);
  const double *xs = values.x, *ys = values.y, *zs = values.z;
  for (int face = 0; face < kFaceCount; ++face) {
    const int* c = kFaceCorners[face];
    const double x0 = xs[(c[0] >> 1) & 1], y0 = ys[c[0] & 1], z0 = zs[(c[0] >> 2) & 1];
    const double ux = xs[(c[2] >> 1) & 1] - x0, uy = ys[c[2] & 1] - y0,
                 uz = zs[(c[2] >> 2) & 1] - z0;
    double vx = xs[(c[1] >> 1) & 1] - x0, vy = ys[c[1] & 1] - y0, vz = zs[(c[1] >> 2) & 1] - z0;
    if (vx == 0.0 && vy == 0.0 && vz == 0.0) {
      vx = xs[(c[3] >> 1) & 1] - x0;
      vy = ys[c[3] & 1] - y0;
      vz = zs[(c[3] >> 2) & 1] - z0;
    }
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const bool none = nx == 0.0 && ny == 0.0 && nz == 0.0;
    normals[face] = none ? GetFaceNormal(face) : C3DPoint(nx, ny, nz);
  }
  return normals;
}

template <class Corner>
C3DPoint CBox::FaceNormalOf(int face, const Corner& corner) const {
  const C3DPoint c0 = corner(0), c1 = corner(1), c2 = corner(2);
  const C3DPoint u(c2.x - c0.x, c2.y - c0.y, c2.z - c0.z);
  C3DPoint v(c1.x - c0.x, c1.y - c0.y, c1.z - c0.z);
  if (v == C3DPoint()) {
    const C3DPoint c3 = corner(3);
    v = C3DPoint(c3.x - c0.x, c3.y - c0.y, c3.z - c0.z);
  }
  const C3DPoint n(u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x);
  return n == C3DPoint() ? GetFaceNormal(face) : n;
}

void CBox::StoreProjection(const CViewRotation& rotation) {
  m_rotation = &rotation;
  m_heldProjection.Clear();
  Bounds(GetProjectedCorners(), m_projectedMin, m_projectedMax);
  m_finite = IsFinite(m_projectedMin) && IsFinite(m_projectedMax);
  ClearFaceNibbles();
}

bool CBox::IsListed() const {
  if (m_owner != nullptr) {
    if (const C3DProjection* projection = m_owner->GetProjection())
      projection->GetDisplayList().Settle();
  }
  return InListBit();
}

void CBox::SetListed(bool listed) {
  if (listed) {
    m_attributes |= kInListBit;
  } else {
    m_attributes &= ~kInListBit;
  }
}

C3DPoint CBox::GetFaceNormal(int face) const {
  switch (face) {
    case 0: return kAxes[0] * -1.0;
    case 1: return kAxes[2] * -1.0;
    case 2: return kAxes[1];
    case 3: return kAxes[1] * -1.0;
    case 4: return kAxes[0];
    case 5: return kAxes[2];
    default: return {};
  }
}

void CBox::SetFaceBits(int face, std::uint32_t bits) {
  if (face < 0 || face >= kFaceCount) return;
  m_attributes |= (bits & 0xF) << (4 * face);
}

void CBox::ClearFaceBits(int face, std::uint32_t bits) {
  if (face < 0 || face >= kFaceCount) return;
  m_attributes &= ~((bits & 0xF) << (4 * face));
}

int CBox::MapSideToFace(int side, int turn) const {
  if (m_owner == nullptr || side < 0 || side > 3) return -1;
  const int direction = m_owner->GetDirection();
  if (direction < 0 || direction >= kFaceCount) return -1;
  int r = CBoxOwner::RotationIndex(m_owner->GetRotation());
  if (turn == 1000) {
    r = 0;
  } else if (turn != 0) {
    // A floored remainder: a large negative turn must not index before the table.
    const std::int64_t sum = std::int64_t{turn} + r + 1000;
    r = static_cast<int>(((sum % 4) + 4) % 4);
  }
  return kPlaceFace[kSidePlace[side][r]][direction];
}

C3DPoint CBox::GetRefPoint(int n) const {
  if (m_owner == nullptr || n < 0 || n >= kRefPointCount) return {};
  if (n >= kCornerCount) {
    const int* pair = kMidPointPairs[n - kCornerCount];
    return (GetRefPoint(pair[0]) + GetRefPoint(pair[1])) / 2.0;
  }
  const int direction = m_owner->GetDirection();
  if (direction < 0 || direction >= kFaceCount) return {};
  const int slot = m_owner->GetBoxSlot(*this);
  const bool inSlot = slot < CBoxOwner::kSlotCount;
  const int r = inSlot ? CBoxOwner::RotationIndex(m_owner->GetRotation()) : 0;
  const int corner = kDirectionCorner[direction][kRotationCorner[r][n]];
  return inSlot ? RefCorner(corner) : ExtraBoxCorner(corner);
}

C3DPoint CBox::RefCorner(int corner) const { return CornerAt(corner); }

C3DPoint CBox::ExtraBoxCorner(int corner) const {
  // A part outside the slots: the document's extra boxes of this element and kind code,
  // from the last one; a second one gives the far end of a two-box part.
  const std::vector<const CBox*> extra = m_owner->GetExtraBoxes();
  const CBox* found[2] = {nullptr, nullptr};
  int count = 0;
  for (auto it = extra.rbegin(); it != extra.rend() && count < 2; ++it) {
    const CBox* box = *it;
    if (box != nullptr && box->m_owner == m_owner && box->GetKindCode() == GetKindCode()) {
      found[count++] = box;
    }
  }
  if (count == 0) return {};
  if (count == 1 || corner < 4) return found[0]->CornerAt(corner);
  return found[0]->CornerAt(corner - 4) - (found[1]->CornerAt(0) - found[1]->CornerAt(4));
}

int CBox::HitTestFace(std::int32_t x, std::int32_t y, bool restricted) const {
  // The window corners are worked out together, eight for the price of the four of one
  // face, and only for a box that can be hit.
  if (HitTestBlocked(restricted)) return 0;
  return HitTestFace(x, y, restricted, GetWindowCorners());
}

int CBox::HitTestFace(std::int32_t x, std::int32_t y, bool restricted,
                      const std::array<CPoint, kCornerCount>& window) const {
  if (HitTestBlocked(restricted)) return 0;
  for (int face = 0; face < kFaceCount; ++face) {
    if ((GetFaceFlags(face) & kFaceVisible) == 0) continue;
    std::array<CPoint, 4> quad;
    for (int k = 0; k < 4; ++k) quad[k] = window[kFaceCorners[face][k]];
    if (PointInPolygon(x, y, quad)) return face + 1;
  }
  return 0;
}

bool CBox::HitTestBlocked(bool restricted) const {
  if (restricted && (m_passWord & kPassBitsMask) != 0) {
    const bool isBody = m_owner != nullptr && m_owner->GetBox(CBoxOwner::kBodySlot) == this;
    if (!isBody) return true;
  }
  return !HasFiniteProjection();
}

std::array<std::array<std::int32_t, 3>, CBox::kCornerCount> CBox::StoredCorners() const {
  std::array<std::array<std::int32_t, 3>, kCornerCount> stored;
  if (m_cornerForm == CornerForm::kListed) {
    for (int n = 0; n < kCornerCount; ++n) {
      const C3DPoint& c = m_listedCorners[static_cast<std::size_t>(n)];
      stored[n] = {C3DPoint::ToStoredInt(c.x), C3DPoint::ToStoredInt(c.y),
                   C3DPoint::ToStoredInt(c.z)};
    }
    return stored;
  }
  // A truncated corner truncates to itself, so both forms store the same.
  const CornerValues values = TruncatedValues(ExactCornerValues(m_origin, HalfExtents(m_extent)));
  for (int n = 0; n < kCornerCount; ++n) {
    const C3DPoint c = values.At(n);  // whole numbers
    stored[n] = {static_cast<std::int32_t>(c.x), static_cast<std::int32_t>(c.y),
                 static_cast<std::int32_t>(c.z)};
  }
  return stored;
}

void CBox::Serialize(CArchiveWriter& archive) const {
  // The record is laid out here and written at once: a document writes tens of
  // thousands of boxes. The projection written is that of the corners as stored (whole
  // numbers), so that a box read back and projected again writes the same record.
  const C3DProjection* projection = m_owner != nullptr ? m_owner->GetProjection() : nullptr;
  std::array<std::uint8_t, kRecordSize> record;
  std::uint8_t* at = record.data();
  auto put = [&at](std::int32_t value) {
    EncodeLittleEndian<4>(static_cast<std::uint32_t>(value), at);
    at += 4;
  };
  const std::array<std::array<std::int32_t, 3>, kCornerCount> corners = StoredCorners();
  for (int n = 0; n < kCornerCount; ++n) {
    const auto& [x, y, z] = corners[n];
    put(x);
    put(y);
    put(z);
    const CPoint w =
        projection != nullptr ? projection->ProjectPoint(C3DPoint(x, y, z)) : GetWindowCorner(n);
    put(w.x);
    put(w.y);
  }
  constexpr std::size_t kZeroBytes = 7 * 8;
  std::memset(at, 0, kZeroBytes);
  at += kZeroBytes;
  put(static_cast<std::int32_t>(m_passWord));
  put(C3DPoint::ToStoredInt(m_origin.x));
  put(C3DPoint::ToStoredInt(m_origin.y));
  put(C3DPoint::ToStoredInt(m_origin.z));
  for (std::int32_t e : m_extent) put(e);
  archive.WriteBytes(record.data(), record.size());
}

void CBox::Serialize(CArchiveReader& archive) {
  const std::uint8_t* record = archive.Take(kRecordSize);  // throws: the box stays as it is
  HoldProjectionUnlessReprojected();
  auto get = [&record]() {
    const auto bits = static_cast<std::uint32_t>(DecodeLittleEndian<4>(record));
    record += 4;
    return static_cast<std::int32_t>(bits);
  };
  auto getPoint = [&get]() {
    const std::int32_t x = get();
    const std::int32_t y = get();
    return C3DPoint(x, y, get());
  };
  const std::array<C3DPoint, kCornerCount> corners =
      DecodedCorners(record, std::make_index_sequence<kCornerCount>());
  record += kCornerCount * kStoredCornerSize + 7 * 8;
  m_passWord = static_cast<std::uint32_t>(get());
  m_origin = getPoint();
  for (std::int32_t& e : m_extent) e = AbsoluteExtent(get());
  m_cornerForm = FormOf(corners);
  m_listedCorners.Clear();
  if (m_cornerForm == CornerForm::kListed) m_listedCorners.Keep(corners);
  UpdateProjection();
}

int CBox::GetFacePairEntry(int face, int other) {
  if (face < 0 || face >= kFaceCount || other < 0 || other >= kFaceCount) return -1;
  return kFacePairs[face][other];
}

void CBox::SetSelectionState(int state) {
  const auto mark = static_cast<std::int8_t>(state >= 0 && state <= 2 ? state : 1);
  if (mark == m_selected) return;
  m_selected = mark;
  g_selectionMarksVersion.fetch_add(1, std::memory_order_relaxed);
}

std::uint64_t CBox::SelectionMarksVersion() {
  return g_selectionMarksVersion.load(std::memory_order_relaxed);
}
