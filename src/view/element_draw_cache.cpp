#include "view/element_draw_cache.h"

#include "model/dev.h"
#include "model/run.h"
#include "view/calibre_band.h"

namespace {
const CSupportData kNoSupports;
}

CElementDrawCache::ElementKey CElementDrawCache::KeyOf(const CDev* element) {
  if (element == nullptr) return {};
  const int parts = element->GetRun() != nullptr ? element->GetRun()->GetPartsState() : 0;
  return {element, element->GetPosition(), element->GetLength(), element->GetStyle(), parts};
}

const CSupportData& CElementDrawCache::Supports(const CBox& box, int slot) {
  const CDev* support = FindSupportElement(box, slot);
  if (support == nullptr) return kNoSupports;
  const ElementKey key = KeyOf(support);
  const ElementKey boxKey = KeyOf(dynamic_cast<const CDev*>(box.GetOwner()));
  auto found = m_supports.find(&box);
  if (found != m_supports.end() && found->second.key == key && found->second.boxKey == boxKey) {
    return found->second.data;
  }
  ++m_computations;
  const std::string text = support->GetFieldText("SUPP").value_or(std::string());
  SupportEntry& entry = m_supports[&box];
  entry.key = key;
  entry.boxKey = boxKey;
  entry.data = ComputeSupports(box, slot, *support, text);
  return entry.data;
}

const COutletLayout& CElementDrawCache::Outlets(const COutletChain& chain, int side) {
  const std::uintptr_t id =
      reinterpret_cast<std::uintptr_t>(chain.joint) * 2 + static_cast<std::uintptr_t>(side & 1);
  const ElementKey key = KeyOf(chain.joint);
  auto found = m_outlets.find(id);
  if (found != m_outlets.end() && found->second.key == key &&
      found->second.length == chain.length) {
    return found->second.layout;
  }
  ++m_computations;
  OutletEntry& entry = m_outlets[id];
  entry.key = key;
  entry.length = chain.length;
  entry.layout = ComputeOutletLayout(MakeOutletQuery(chain, side));
  return entry.layout;
}

bool CElementDrawCache::SpecialCalibre(const CDev& element) {
  const auto [found, added] = m_specialCalibre.try_emplace(element.GetRun(), false);
  if (added) found->second = IsSpecialCalibre(element);
  return found->second;
}

void CElementDrawCache::Clear() {
  m_supports.clear();
  m_outlets.clear();
  m_specialCalibre.clear();
}
