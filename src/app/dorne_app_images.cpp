#include "app/dorne_app.h"

#include <algorithm>

const std::vector<std::string>& CDorneApp::ElementImageNames() {
  static const std::vector<std::string> names = {
      "FEEDUNIT_AA",  "FEEDUNIT_AB",  "FEEDUNIT_AC",  "FEEDUNIT_AD", "FEEDUNIT_AK", "FEEDUNIT_AL",
      "EMBOUT_CHANT", "EMBOUT_PLAT1", "EMBOUT_PLAT2", "EMBOUT_EL1",  "EMBOUT_EL3",  "EMBOUT_EL4",
      "ER1_QG",       "ER3_QG",       "ER4_QG",       "ER5_QG",      "ER6_QG",      "ER7_QG",
      "EL1_QG",       "EL3_QG",       "EL4_QG",       "ERACC_TRF",   "ERACC_TBL",   "CAPOT_CR1",
      "CAPOT_CR2",    "CAPOT_CR3",    "CAPOT_CR4",    "CAPOT_CR5",   "CAPOT_CR6",   "CAPOT_CR7",
      "CAPOT_CR8",    "CAPOT_CS0",    "CLINQ_YC0",    "CLINQ_YC1",   "CLINQ_YC2",   "CLINQ_YC3",
      "CLINQ_YC4",    "CLINQ_YC5",    "CLINQ_YT1",    "CLQQG_YC1",   "CLQQG_YC2",   "CLQQG_YC3",
      "CAPQG_CR1",    "CAPQG_CR3",    "CAPQG_CR5"};
  return names;
}

void CDorneApp::AddImage(CImage image) { m_images.push_back(std::move(image)); }

const CImage* CDorneApp::FindImage(std::string_view name) const {
  for (auto it = m_images.rbegin(); it != m_images.rend(); ++it) {
    if (it->ResourceName() == name) return &*it;
  }
  const auto& names = ElementImageNames();
  if (!m_imageDrawer || std::find(names.begin(), names.end(), name) == names.end() ||
      std::find(m_drawnNames.begin(), m_drawnNames.end(), name) != m_drawnNames.end())
    return nullptr;
  m_drawnNames.emplace_back(name);
  m_images.push_back(m_imageDrawer(std::string(name)));
  return m_images.back().ResourceName() == name ? &m_images.back() : nullptr;
}
