#include "view/element_point_source.h"

#include "model/dev.h"
#include "model/run_environment.h"
#include "view/support_drawing.h"

C3DPoint CElementPointSource::ConnectionCode(const CBox& box, int point, int mode) {
  return m_codes.Get(box, point, mode);
}

C3DPoint CElementPointSource::SupportPoint(const CBox& box, int point, int slot) {
  if (point >= 0 && point < CConnectionCodes::kPointCount) {
    const auto index = static_cast<std::size_t>(point);
    return index < m_supports.size() ? m_supports[index] : C3DPoint();
  }
  m_supports.clear();
  const CDev* element = dynamic_cast<const CDev*>(box.GetOwner());
  if (element == nullptr) return {};
  if (slot < 0) slot = element->GetBoxSlot(box);
  if (const CDev* support = FindSupportElement(box, slot)) {
    const std::string text = support->GetFieldText("SUPP").value_or(std::string());
    m_supports = ComputeSupports(box, slot, *support, text).points;
  }
  return C3DPoint(static_cast<double>(m_supports.size()), 0, 0);
}

void CElementPointSource::Install() {
  static CElementPointSource source;
  CRunEnvironment::Instance().SetBoxPoints(&source);
}
