#include "model/element/dev.h"

namespace {

// Role of side s of an element pointing in direction d: 4 front, 7 back.
constexpr int kSideRoles[6][6] = {
    {4, 1, 6, 5, 7, 0}, {0, 4, 2, 3, 1, 7}, {5, 2, 4, 7, 6, 3},
    {6, 3, 7, 4, 5, 2}, {7, 0, 5, 6, 4, 1}, {1, 7, 2, 3, 0, 4},
};

// How a neighbour's rotation follows the element's: Same, Next, Prev, Half, or none (X).
constexpr char kSideRotation[6][7] = {
    "SSNNXS", "SSHSSX", "PHSXNS", "PSXSNH", "XSPPSS", "SXSHSS",
};

int StepRotation(int rotation, int quarters) {
  int index = -1;
  switch (rotation) {
    case 16: index = 0; break;
    case 32: index = 1; break;
    case 64: index = 2; break;
    case 128: index = 3; break;
    default: return -1;
  }
  index = ((index + quarters) % 4 + 4) % 4;
  return 16 << index;
}

}  // namespace

int CDev::GetSideRole(int side) const {
  if (side < 0 || side >= kFaceCount) return -1;
  if (m_direction < 0 || m_direction >= kFaceCount) return 7;
  return kSideRoles[m_direction][side];
}

int CDev::GetSideRotation(int side) const {
  if (side < 0 || side >= kFaceCount || m_direction < 0 || m_direction >= kFaceCount) return -1;
  switch (kSideRotation[m_direction][side]) {
    case 'S': return m_rotation;
    case 'N': return StepRotation(m_rotation, 1);
    case 'P': return StepRotation(m_rotation, -1);
    case 'H': return StepRotation(m_rotation, 2);
    default: return -1;
  }
}

int CDev::GetEffectiveSideRotation(int side) const {
  const int rotation = GetSideRotation(side);
  if (m_kind == kInLineVariant && GetVariant() == 7 && side == m_direction) {
    return StepRotation(rotation, 2);
  }
  return rotation;
}
