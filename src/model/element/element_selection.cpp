#include "model/element/element_selection.h"

#include "model/element/dev.h"
#include "model/run/run.h"

void CElementSelection::Select(CDev* element, int face) {
  m_element = element;
  m_face = element != nullptr ? face : kNoFace;
}

void CElementSelection::Forget(const CDev* element) {
  if (element != nullptr && m_element == element) Clear();
}

CElementSelection& CElementSelection::Of(const CDev& element) {
  if (CRun* run = element.GetRun()) return run->Selection();
  thread_local CElementSelection none;
  none.Clear();
  return none;
}
