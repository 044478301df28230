#pragma once

#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <memory>

// Every box a run holds: its elements', its length records' and its start marker's, in
// that order. The scene, the projection of a file read and a run's scene put back must all
// see the same boxes.
template <class Visit>
void VisitBoxesHeldByRun(const CRun& run, Visit&& visit) {
  auto boxesOf = [&visit](const CDev* element) {
    for (const std::unique_ptr<CBox>& box : element->GetBoxSlots()) {
      if (box) visit(*box);
    }
  };
  for (const CDev* element : run.GetDevices()) boxesOf(element);
  for (const CDev* element : run.GetLengthRecords()) boxesOf(element);
  if (const CDev* marker = run.GetStartMarker()) boxesOf(marker);
}

// The boxes of a run's elements, slot by slot.
template <class Visit>
void VisitRunElementBoxes(const CRun& run, Visit&& visit) {
  for (const CDev* element : run.GetDevices()) {
    for (const std::unique_ptr<CBox>& box : element->GetBoxSlots()) {
      if (box) visit(box.get());
    }
  }
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
