#include "view/element_draw_cache.h"

#include <optional>
#include <string>

#include "model/element/dev.h"
#include "model/run/run.h"
#include "view/calibre_band.h"
#include "view/element_draw_support.h"

namespace {

const CSupportData kNoSupports;

std::uint64_t NewEra() {
  static std::atomic<std::uint64_t> eras{0};
  return eras.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace

CElementDrawCache::CElementDrawCache() : m_era(NewEra()) {}

CElementDrawCache::ElementKey CElementDrawCache::KeyOf(const CDev* element) {
  if (element == nullptr) return {};
  const int parts = element->GetRun() != nullptr ? element->GetRun()->GetPartsState() : 0;
  return {element,
          element->GetPosition(),
          element->GetLength(),
          element->GetBookedLength(),
          element->GetStyle(),
          parts};
}

const CSupportData& CElementDrawCache::Supports(const CBox& box, int slot) {
  const CDev* support = FindSupportElement(box, slot);
  if (support == nullptr) return kNoSupports;
  // Most elements have no supports: they need not wait for the lock that the threads
  // drawing the other boxes share.
  std::optional<std::string> text = support->GetFieldText("SUPP");
  if (!text || text->empty()) return kNoSupports;
  const ElementKey key = KeyOf(support);
  const ElementKey boxKey = KeyOf(dynamic_cast<const CDev*>(box.GetOwner()));
  auto current = [&](const SupportEntry& entry) {
    return entry.key == key && entry.boxKey == boxKey;
  };
  {
    const std::lock_guard lock(m_mutex);
    const auto found = m_supports.find(&box);
    if (found != m_supports.end() && current(found->second)) return found->second.data;
  }
  CSupportData data = ComputeSupports(box, slot, *support, *text);
  const std::lock_guard lock(m_mutex);
  ++m_computations;
  SupportEntry& entry = m_supports[&box];
  if (!current(entry)) entry = {key, boxKey, std::move(data)};
  return entry.data;
}

const COutletLayout& CElementDrawCache::Outlets(const COutletChain& chain, int side) {
  const std::uintptr_t id =
      reinterpret_cast<std::uintptr_t>(chain.joint) * 2 + static_cast<std::uintptr_t>(side & 1);
  const ElementKey key = KeyOf(chain.joint);
  auto current = [&](const OutletEntry& entry) {
    return entry.key == key && entry.length == chain.length;
  };
  {
    const std::lock_guard lock(m_mutex);
    const auto found = m_outlets.find(id);
    if (found != m_outlets.end() && current(found->second)) return found->second.layout;
  }
  COutletLayout layout = ComputeOutletLayout(MakeOutletQuery(chain, side));
  const std::lock_guard lock(m_mutex);
  ++m_computations;
  OutletEntry& entry = m_outlets[id];
  if (!current(entry)) entry = {key, chain.length, std::move(layout)};
  return entry.layout;
}

// Threads drawing stretches of the scene at once ask about nearly every box, mostly about
// the run of the box before: each remembers its last answer to each question (every use
// is an instantiation of its own) rather than queue for the lock every time. An answer is
// found outside the lock; the first one stored stands.
template <class T, class Find>
T CElementDrawCache::PerRun(std::unordered_map<const void*, T>& kept, const void* run, Find find) {
  struct CLastAnswer {
    std::uint64_t era = 0;
    const void* run = nullptr;
    T value{};
  };
  thread_local CLastAnswer last;
  const std::uint64_t era = m_era.load(std::memory_order_relaxed);
  if (last.era == era && last.run == run) return last.value;
  auto keptAnswer = [&]() -> T {
    {
      const std::lock_guard lock(m_mutex);
      const auto found = kept.find(run);
      if (found != kept.end()) return found->second;
    }
    const T value = find();
    const std::lock_guard lock(m_mutex);
    return kept.try_emplace(run, value).first->second;
  };
  last = {era, run, keptAnswer()};
  return last.value;
}

bool CElementDrawCache::SpecialCalibre(const CDev& element) {
  return PerRun(m_specialCalibre, element.GetRun(), [&] { return IsSpecialCalibre(element); });
}

int CElementDrawCache::NeutralSide(const CDev& element) {
  if (element.GetRun() == nullptr) return -1;
  return PerRun(m_neutralSides, element.GetRun(), [&] {
    const int side = element_draw::RunPropertyInt(element, "COTE_NEUTRE", -1);
    return side >= 0 && side <= 3 ? side : -1;
  });
}

void CElementDrawCache::Clear() {
  const std::lock_guard lock(m_mutex);
  m_supports.clear();
  m_outlets.clear();
  m_specialCalibre.clear();
  m_neutralSides.clear();
  m_era.store(NewEra(), std::memory_order_relaxed);
}
