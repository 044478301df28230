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
