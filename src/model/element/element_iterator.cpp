#include "model/element/element_iterator.h"

#include "model/element/dev.h"

CElementIterator::CElementIterator(CDev* start, bool ownDirectionFirst)
    : m_cursor(start), m_ownDirectionFirst(ownDirectionFirst) {}

CDev* CElementIterator::Next() {
  if (m_cursor == nullptr) {
    if (m_pending == nullptr) return nullptr;
    CDev* node = m_pending->GetBackNeighbour();
    m_cursor = m_pending;
    m_pending = nullptr;
    return node;
  }
  CDev* element = m_cursor;
  Advance(element);
  return element;
}

void CElementIterator::Advance(CDev* element) {
  m_walked.insert(element);
  m_cursor = nullptr;
  const int back = element->GetBackFace();
  auto take = [&](int face) {
    CDev* neighbour = element->GetNeighbour(face);
    if (neighbour == nullptr || m_walked.count(neighbour) != 0) return;
    m_walked.insert(neighbour);
    if (m_cursor == nullptr) m_cursor = neighbour;
    else m_branches.push_back(neighbour);
  };
  const int own = element->GetDirection();
  if (m_ownDirectionFirst && own >= 0 && own < CDev::kFaceCount && own != back) take(own);
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    if (face == back || (m_ownDirectionFirst && face == own)) continue;
    take(face);
  }
  if (m_cursor == nullptr && !m_branches.empty()) {
    m_pending = m_branches.front();
    m_branches.pop_front();
  }
}
