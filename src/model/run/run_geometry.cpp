#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_position.h"

void CRun::RebuildGeometry() {
  if (CDev* start = GetFirstElement()) start->RebuildChain();
  AdaptDeviceReferences();
}

void CRun::AdaptDeviceReferences() {
  // A unit may delete itself, so the walk runs over a copy, from the last to the first.
  const std::vector<CDev*> devices = m_devices;
  for (auto it = devices.rbegin(); it != devices.rend(); ++it) {
    if (OwnsElement(*it) && (*it)->GetKind() == CDev::kTapOff) PositionTapOffUnit(**it, false);
  }
}
