#include "model/element/dev.h"

#include "geometry/box.h"
#include "model/element/dev_placement_support.h"
#include "model/run/run.h"

#include <algorithm>
#include <cstdlib>

using namespace dev_placement;

namespace {

// Where the offset of a further box goes for each direction and rotation: per layout
// axis x, y, z the offset component (1 along, 2 first cross, 3 second cross), negative
// when it changes sign.
constexpr int kFrame[6][4][3] = {
    {{-1, 3, 2}, {-1, -2, 3}, {-1, -3, -2}, {-1, 2, -3}},
    {{-2, 3, -1}, {-3, -2, -1}, {2, -3, -1}, {3, 2, -1}},
    {{2, 1, -3}, {3, 1, 2}, {-2, 1, 3}, {-3, 1, -2}},
    {{-2, -1, -3}, {-3, -1, 2}, {2, -1, 3}, {3, -1, -2}},
    {{1, 3, -2}, {1, -2, -3}, {1, -3, 2}, {1, 2, 3}},
    {{2, 3, 1}, {3, -2, 1}, {-2, -3, 1}, {-3, 2, 1}},
};

int FurtherBoxLimit(int kind) {
  switch (kind) {
    case CDev::kEnd: return 24;
    case CDev::kInLine: return 17;
    case CDev::kInLineVariant: return 14;
    default: return 12;
  }
}

double SizeOnAxis(const CBox& box, int axis) {
  return static_cast<double>(box.GetExtent(axis == 0 ? 1 : (axis == 1 ? 2 : 0)));
}

std::int32_t Magnitude(std::int32_t value) { return value < 0 ? -value : value; }

// Sizes on x, y, z of a body `along` long whose cross-section is a by b (exchanged by a
// quarter turn): along X or Z, b stands on Y; along Y, a lies on X and b on Z.
C3DPoint HousingSizes(int direction, int rotation, double along, double a, double b) {
  if (rotation == 32 || rotation == 128) std::swap(a, b);
  switch (AxisOf(direction)) {
    case 0: return C3DPoint(along, b, a);
    case 1: return C3DPoint(a, along, b);
    default: return C3DPoint(a, b, along);
  }
}

// Sizes on x, y, z of a node box: the absolute offsets across the direction, and along
// it the smaller of the two cross values of `section`.
C3DPoint NodeSizes(int direction, const std::array<std::int32_t, 3>& own,
                   const std::array<std::int32_t, 3>& section) {
  const int axis = AxisOf(direction);
  std::array<double, 3> sizes{};
  double along = -1;
  for (int other = 0; other < 3; ++other) {
    if (other == axis) continue;
    sizes[static_cast<std::size_t>(other)] = Magnitude(own[static_cast<std::size_t>(other)]);
    const double cross = Magnitude(section[static_cast<std::size_t>(other)]);
    along = along < 0 ? cross : std::min(along, cross);
  }
  sizes[static_cast<std::size_t>(axis)] = along;
  return C3DPoint(sizes[0], sizes[1], sizes[2]);
}

}  // namespace

void CDev::BuildBoxes(int mode) {
  CBox* main = GetBox(kBodySlot);
  if (main == nullptr) return;
  TakeOut(*this, main);
  const bool node = m_kind == kStraight || (m_kind >= kElbow && m_kind <= kJunction5 && mode > 0);
  if (node || m_kind == kBend) {
    const CDev* front = GetNeighbour(m_direction);
    const auto& section =
        m_kind == kBend && front != nullptr ? front->m_backOffsets : m_backOffsets;
    const C3DPoint sizes = NodeSizes(m_direction, m_backOffsets, section);
    PlaceBySizes(*main, m_position, sizes.x, sizes.y, sizes.z);
  } else if (m_kind == kEnd || m_kind == kInLine || m_kind == kInLineVariant || m_kind == kJoint ||
             m_kind == kJoint2) {
    const CHousingDims dims = m_run != nullptr ? m_run->GetHousingDims(*this) : CHousingDims();
    const double along = m_kind == kInLine ? m_offset : dims.length;
    const C3DPoint sizes = HousingSizes(m_direction, m_rotation, along, dims.width, dims.height);
    PlaceBySizes(*main, m_position, sizes.x, sizes.y, sizes.z);
  }
  PutBack(*this, main);
  if (CDev* back = GetBackNeighbour(); back != nullptr && back->GetBox(kBodySlot) != nullptr) {
    CBox* backMain = back->GetBox(kBodySlot);
    TakeOut(*back, backMain);
    std::array<double, 3> sizes{SizeOnAxis(*backMain, 0), SizeOnAxis(*backMain, 1),
                                SizeOnAxis(*backMain, 2)};
    for (int axis = 0; axis < 3; ++axis) {
      if (axis == AxisOf(m_direction)) continue;
      const double wanted = Magnitude(m_backOffsets[static_cast<std::size_t>(axis)]);
      sizes[static_cast<std::size_t>(axis)] =
          std::max(sizes[static_cast<std::size_t>(axis)], wanted);
    }
    PlaceBySizes(*backMain, backMain->GetOrigin(), sizes[0], sizes[1], sizes[2]);
    PutBack(*back, backMain);
  }
  BuildFurtherBoxes();
  if (m_kind != kEnd && m_kind != kInLineVariant) {
    // Only end elements and kind-8 units carry an equipment box.
    m_style &= 0x00FFFFFFu;
    m_style2 &= 0x00FFFFFFu;
  } else {
    BuildEquipmentBox();
  }
}

void CDev::BuildFurtherBoxes(int firstSlot) {
  const CBox* main = GetBox(kBodySlot);
  int direction = m_direction;
  int rotation = m_rotation;
  if (m_kind == kEnd && GetBackNeighbour() == nullptr) {
    // The start of a run draws its shape facing the run.
    direction = OppositeDirection(direction);
    rotation = rotation == 32 ? 128 : (rotation == 128 ? 32 : rotation);
  }
  // The last slot drawn: none without a run or a direction, whatever the slot.
  const int limit = m_run == nullptr || direction < 0 || direction >= kFaceCount
                        ? kBodySlot
                        : FurtherBoxLimit(m_kind);
  for (int slot = std::max(firstSlot, kBodySlot + 1); slot < kSlotCount; ++slot) {
    if (slot > limit) {
      // So for every slot after it too: only the boxes still held there need going.
      if (!m_boxes.AnyFilledFrom(slot)) break;
      DeleteBox(slot);
      continue;
    }
    CElementGeometry geometry;
    geometry.colour = main->GetColor();
    const int code = m_run->GetElementGeometry(*this, slot, geometry);
    if (geometry.extents[0] == 0 && geometry.extents[1] == 0 && geometry.extents[2] == 0) {
      // Most slots of an element just read are empty and stay so.
      if (GetBox(slot) != nullptr) DeleteBox(slot);
      continue;
    }
    CBox* box = GetBox(slot) != nullptr ? GetBox(slot) : MakeBox(slot);
    TakeOut(*this, box);
    std::uint32_t colour = geometry.colour;
    if (geometry.extents[0] < 0) {
      geometry.extents[0] = -geometry.extents[0];
      colour = ColorOfIndex(0);
    }
    box->SetColor(colour);
    box->SetSelectionState(main->GetSelectionState());
    box->SetKindCode(code);
    const double offset[3] = {geometry.offset.x, geometry.offset.y, geometry.offset.z};
    const int(&frame)[3] = kFrame[direction][RotationIndex(rotation)];
    double placed[3];
    double sizes[3];
    for (int axis = 0; axis < 3; ++axis) {
      const int component = std::abs(frame[axis]) - 1;
      placed[axis] = frame[axis] < 0 ? -offset[component] : offset[component];
      sizes[axis] = Magnitude(geometry.extents[static_cast<std::size_t>(component)]);
    }
    PlaceBySizes(*box, m_position + C3DPoint(placed[0], placed[1], placed[2]), sizes[0], sizes[1],
                 sizes[2]);
    PutBack(*this, box);
  }
}

void CDev::PlaceNextTo(CDev* back) {
  if (back == nullptr) return;
  int towardMe = m_direction;
  if (back->GetNeighbour(towardMe) != this) return;
  CBox* main = GetBox(kBodySlot);
  CBox* mine = GetBox(GetBackFace());
  CBox* backMain = back->GetBox(kBodySlot);
  CBox* theirs = back->GetBox(towardMe);
  if (main == nullptr || mine == nullptr || backMain == nullptr || theirs == nullptr) return;
  TakeOut(*this, mine);
  TakeOut(*back, theirs);
  const int axis = AxisOf(m_direction);
  const bool positive = Positive(m_direction);
  const std::int64_t gap = positive ? LowerBound(*main, axis) - UpperBound(*backMain, axis)
                                    : LowerBound(*backMain, axis) - UpperBound(*main, axis);
  const std::int64_t joint = JointThickness(gap);
  std::array<double, 3> sizes{};
  for (int other = 0; other < 3; ++other)
    sizes[static_cast<std::size_t>(other)] =
        Magnitude(m_backOffsets[static_cast<std::size_t>(other)]);
  sizes[static_cast<std::size_t>(axis)] = static_cast<double>(joint / 2);
  const double quarter = static_cast<double>(joint) / 4.0;
  C3DPoint myCentre = m_position;
  C3DPoint theirCentre = m_position;
  SetCoordinate(myCentre, axis,
                positive ? LowerBound(*main, axis) - quarter : UpperBound(*main, axis) + quarter);
  SetCoordinate(
      theirCentre, axis,
      positive ? UpperBound(*backMain, axis) + quarter : LowerBound(*backMain, axis) - quarter);
  PlaceBySizes(*mine, myCentre, sizes[0], sizes[1], sizes[2]);
  PlaceBySizes(*theirs, theirCentre, sizes[0], sizes[1], sizes[2]);
  PutBack(*this, mine);
  PutBack(*back, theirs);
}

std::int64_t JointThickness(std::int64_t gap) {
  // A gap that is already a multiple of 4 still grows by 4; an overlap (negative gap)
  // goes to the multiple of 4 just above it.
  if (gap < 0) return RoundUpToFour(gap);
  return gap + 4 - gap % 4;
}
