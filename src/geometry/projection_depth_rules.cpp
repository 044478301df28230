#include "geometry/projection_depth_rules.h"

#include "geometry/3d_projection.h"

void CProjectionDepthRules::PrepareInsert(CBox& box) {
  m_projection.UpdateFaceVisibility(box);
  m_comparer.Forget();  // a new box: new faces, perhaps a new projection
}

int CProjectionDepthRules::CompareDepth(const CBox& a, const CBox& b, std::uint32_t flagsA,
                                        std::uint32_t flagsB) {
  return m_comparer.Compare(a, b, flagsA, flagsB);
}
