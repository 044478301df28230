#pragma once

#include "geometry/depth_comparer.h"
#include "geometry/depth_order_rules.h"

class C3DProjection;

// The depth rules of a projection: face visibility on insertion and CompareDepth.
class CProjectionDepthRules : public CDepthOrderRules {
 public:
  explicit CProjectionDepthRules(const C3DProjection& projection)
      : m_projection(projection), m_comparer(projection) {}

  void PrepareInsert(CBox& box) override;
  int CompareDepth(const CBox& a, const CBox& b, std::uint32_t flagsA,
                   std::uint32_t flagsB) override;
  // Two boxes without owner whose rules could tell them apart, with the same corners and
  // words.
  bool AnswerAlike(const CBox& a, const CBox& b) const override;
  std::unique_ptr<CConcurrentComparer> MakeConcurrentComparer() const override;

 private:
  const C3DProjection& m_projection;
  CDepthComparer m_comparer;
};
