#include "model/element_selection.h"

#include "model/run_document.h"

CElementSelection& CElementSelection::Instance() {
  static CElementSelection selection;
  return selection;
}

void CElementSelection::Select(CDev* element, int face) {
  m_element = element;
  m_face = element != nullptr ? face : kNoFace;
}

void CElementSelection::Forget(const CDev* element) {
  if (element != nullptr && m_element == element) Clear();
}

CElementSelection& CElementSelection::Of(CRunDocument* document) {
  return document != nullptr ? document->GetSelection() : Instance();
}
