#include "model/annotation/annotation_list.h"

#include "model/annotation/annotation_label.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <algorithm>
#include <unordered_map>

namespace {

bool IsRunLabel(int kind) { return kind >= CAnnotation::kBom && kind <= CAnnotation::kSection; }

std::unordered_map<const CDev*, CDev*> MapByChainPosition(const CRun& source, const CRun& copy) {
  const std::vector<CDev*> from = source.GetChainOrder();
  const std::vector<CDev*> to = copy.GetChainOrder();
  std::unordered_map<const CDev*, CDev*> map;
  for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) map.emplace(from[i], to[i]);
  return map;
}

}  // namespace

CAnnotation& CAnnotationList::Append(std::unique_ptr<CAnnotation> annotation) {
  Count(*annotation, 1);
  ++m_changes;
  m_items.push_back(std::move(annotation));
  return *m_items.back();
}

std::unique_ptr<CAnnotation> CAnnotationList::Remove(const CAnnotation* annotation) {
  for (std::size_t i = m_items.size(); i-- > 0;) {
    if (m_items[i].get() != annotation) continue;
    std::unique_ptr<CAnnotation> taken = std::move(m_items[i]);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
    Count(*taken, -1);
    ++m_changes;
    return taken;
  }
  return nullptr;
}

void CAnnotationList::Clear() {
  m_items.clear();
  m_mentions.Clear();
  ++m_changes;
}

void CAnnotationList::AppendAllOf(CAnnotationList& other) {
  if (other.m_items.empty()) return;
  m_items.reserve(m_items.size() + other.m_items.size());
  for (std::unique_ptr<CAnnotation>& annotation : other.m_items) {
    Count(*annotation, 1);
    m_items.push_back(std::move(annotation));
  }
  ++m_changes;
  other.Clear();
}

void CAnnotationList::Reverse() {
  std::reverse(m_items.begin(), m_items.end());
  ++m_changes;
}

bool CAnnotationList::Contains(const CAnnotation* annotation) const {
  return std::any_of(m_items.begin(), m_items.end(),
                     [annotation](const auto& item) { return item.get() == annotation; });
}

void CAnnotationList::Count(const CAnnotation& annotation, int delta) {
  auto count = [this, delta](const void* object) {
    if (object == nullptr) return;
    if ((m_mentions[object] += delta) <= 0) m_mentions.Erase(object);
  };
  count(annotation.GetOwnerElement());
  count(annotation.GetOwnerRun());
  count(annotation.GetLinkedRun());
  if (annotation.IsLabel()) {
    const auto& label = static_cast<const CAnnotationLabel&>(annotation);
    count(label.GetEnd(0));
    count(label.GetEnd(1));
  }
}

void CAnnotationList::RecountMentions() {
  m_mentions.Clear();
  for (const auto& item : m_items) Count(*item, 1);
  ++m_changes;
}

bool CAnnotationList::Mentions(const void* object) const {
  return m_mentions.Find(object) != nullptr;
}

void CAnnotationList::EraseAt(std::size_t index) {
  Count(*m_items[index], -1);
  m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
}

void CAnnotationList::RemoveElementAnnotations(const CDev& element, bool withDimensions) {
  if (!Mentions(&element)) return;
  for (std::size_t i = m_items.size(); i-- > 0;) {
    const CAnnotation& item = *m_items[i];
    bool owned =
        item.GetOwnerElement() == &element && (item.GetKind() <= CAnnotation::kPosition ||
                                               (item.GetFlags() & CAnnotation::kFlagAttached) != 0);
    bool endsHere = false;
    if (withDimensions && item.GetKind() == CAnnotation::kDistance && item.IsLabel()) {
      const auto& label = static_cast<const CAnnotationLabel&>(item);
      endsHere = label.GetEnd(0) == &element || label.GetEnd(1) == &element;
    }
    // An element's annotation that is neither automatic nor attached would point at a
    // dead element: it goes too.
    if (owned || endsHere || item.GetOwnerElement() == &element) EraseAt(i);
  }
}

void CAnnotationList::RemoveRunAnnotations(const CRun& run) {
  if (!Mentions(&run)) return;
  for (std::size_t i = m_items.size(); i-- > 0;) {
    CAnnotation& item = *m_items[i];
    if (item.GetOwnerRun() == &run &&
        (IsRunLabel(item.GetKind()) || item.GetOwnerKind() == EAnnotationOwner::kRun)) {
      EraseAt(i);
    } else if (item.GetLinkedRun() == &run) {
      if ((item.GetFlags() & CAnnotation::kFlagWithRun) != 0) {
        EraseAt(i);
      } else {
        Count(item, -1);
        item.SetLinkedRun(nullptr);
        Count(item, 1);
      }
    }
  }
}

void CAnnotationList::RetargetRun(const CRun& oldRun, CRun& newRun) {
  if (!Mentions(&oldRun)) return;
  for (auto& item : m_items) {
    Count(*item, -1);
    if (item->GetLinkedRun() == &oldRun) item->SetLinkedRun(&newRun);
    if (item->GetOwnerRun() == &oldRun) item->SetOwnerRun(&newRun);
    Count(*item, 1);
  }
}

void CAnnotationList::CopyRunAnnotations(const CRun& source, CRun& copy) {
  const auto map = MapByChainPosition(source, copy);
  auto mapped = [&map](const CDev* element) -> CDev* {
    const auto it = map.find(element);
    return it == map.end() ? nullptr : it->second;
  };
  std::vector<std::unique_ptr<CAnnotation>> copies;
  for (std::size_t i = m_items.size(); i-- > 0;) {
    const CAnnotation& item = *m_items[i];
    if (item.GetKind() <= CAnnotation::kPosition && !item.IsLabel()) {
      CDev* owner = mapped(item.GetOwnerElement());
      if (owner == nullptr) continue;
      auto clone = std::make_unique<CAnnotation>(item);
      clone->SetOwnerElement(owner);
      copies.push_back(std::move(clone));
    } else if (item.GetKind() == CAnnotation::kDistance && item.IsLabel()) {
      const auto& label = static_cast<const CAnnotationLabel&>(item);
      CDev* first = mapped(label.GetEnd(0));
      CDev* second = mapped(label.GetEnd(1));
      if (first == nullptr || second == nullptr) continue;
      auto clone = std::make_unique<CAnnotationLabel>(label);
      clone->SetEnd(0, first);
      clone->SetEnd(1, second);
      clone->SetOwnerDocument();
      copies.push_back(std::move(clone));
    }
  }
  for (auto& clone : copies) Append(std::move(clone));
}

void CAnnotationList::ResolveLinkedRuns(const std::vector<CRun*>& runs) {
  for (auto& item : m_items) {
    if ((item->GetFlags() & CAnnotation::kFlagWithRun) == 0) continue;
    const std::uint32_t index = item->GetFlags() >> CAnnotation::kRunIndexShift;
    Count(*item, -1);
    item->SetLinkedRun(index >= 1 && index <= runs.size() ? runs[index - 1] : nullptr);
    Count(*item, 1);
  }
}
