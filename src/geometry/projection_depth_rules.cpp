#include "geometry/projection_depth_rules.h"

#include "geometry/3d_projection.h"
#include "geometry/box.h"

void CProjectionDepthRules::PrepareInsert(CBox& box) {
  m_projection.UpdateFaceVisibility(box);
  m_comparer.Forget();  // a new box: new faces, perhaps a new projection
}

int CProjectionDepthRules::CompareDepth(const CBox& a, const CBox& b, std::uint32_t flagsA,
                                        std::uint32_t flagsB) {
  return m_comparer.Compare(a, b, flagsA, flagsB);
}

bool CProjectionDepthRules::AnswerAlike(const CBox& a, const CBox& b) const {
  if (a.GetOwner() != nullptr || b.GetOwner() != nullptr) return false;
  if (!a.HasFiniteProjection() || !b.HasFiniteProjection()) return false;
  if (a.GetAttributes() != b.GetAttributes() || a.GetPassWord() != b.GetPassWord()) return false;
  if (a.GetProjectedCorners() != b.GetProjectedCorners()) return false;
  for (int k = 0; k < CBox::kCornerCount; ++k) {
    if (!(a.GetCorner(k) == b.GetCorner(k))) return false;
  }
  return true;
}

namespace {

class CWordComparer : public CDepthOrderRules::CConcurrentComparer {
 public:
  explicit CWordComparer(const C3DProjection& projection)
      : m_projection(projection), m_comparer(projection) {}
  void PrepareInsert(CBox& box) override { m_projection.UpdateFaceVisibility(box); }
  int CompareDepth(const CBox& a, std::uint32_t wordA, const CBox& b, std::uint32_t wordB,
                   std::uint32_t flagsA, std::uint32_t flagsB) override {
    return m_comparer.Compare(a, wordA, b, wordB, flagsA, flagsB);
  }

 private:
  const C3DProjection& m_projection;
  CDepthComparer m_comparer;
};

}  // namespace

std::unique_ptr<CDepthOrderRules::CConcurrentComparer>
CProjectionDepthRules::MakeConcurrentComparer() const {
  return std::make_unique<CWordComparer>(m_projection);
}
