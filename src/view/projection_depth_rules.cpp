#include "view/projection_depth_rules.h"

#include "view/3d_projection.h"
#include "view/depth_compare.h"

void CProjectionDepthRules::PrepareInsert(CBox& box) { m_projection.UpdateFaceVisibility(box); }

int CProjectionDepthRules::CompareDepth(const CBox& a, const CBox& b, std::uint32_t flagsA,
                                        std::uint32_t flagsB) {
  return ::CompareDepth(m_projection, a, b, flagsA, flagsB);
}
