#pragma once

#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <memory>

// Every element that holds the run's boxes: its devices, its length records and its start
// marker, in that order; the elements themselves are not read.
template <class Visit>
void VisitElementsHoldingBoxes(const CRun& run, Visit&& visit) {
  for (const CDev* element : run.GetDevices()) visit(*element);
  for (const CDev* element : run.GetLengthRecords()) visit(*element);
  if (const CDev* marker = run.GetStartMarker()) visit(*marker);
}

// The boxes of one element in slot order.
template <class Visit>
void VisitBoxesOfElement(const CDev& element, Visit&& visit) {
  for (const std::unique_ptr<CBox>& box : element.GetBoxSlots()) {
    if (box) visit(*box);
  }
}

// Every box a run holds: its elements', its length records' and its start marker's, in
// that order. The scene, the projection of a file read and a run's scene put back must all
// see the same boxes.
template <class Visit>
void VisitBoxesHeldByRun(const CRun& run, Visit&& visit) {
  VisitElementsHoldingBoxes(run,
                            [&visit](const CDev& element) { VisitBoxesOfElement(element, visit); });
}

// The boxes of a run's elements, slot by slot.
template <class Visit>
void VisitRunElementBoxes(const CRun& run, Visit&& visit) {
  for (const CDev* element : run.GetDevices())
    VisitBoxesOfElement(*element, [&visit](CBox& box) { visit(&box); });
}

// A run's boxes in the scene: its elements', then, for a run whose start is not placed,
// its start marker's section and pointer as they stand.
template <class Visit>
void VisitRunSceneBoxes(const CRun& run, Visit&& visit) {
  VisitRunElementBoxes(run, visit);
  if (run.GetFlagsWord() != 0) return;
  if (const CDev* marker = run.GetStartMarker()) {
    for (int slot : {CDev::kBodySlot, CDev::kBodySlot + 1}) {
      if (CBox* box = marker->GetBox(slot)) visit(box);
    }
  }
}
