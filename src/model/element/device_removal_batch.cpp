#include "model/element/device_removal_batch.h"

#include "model/element/dev.h"
#include "model/run/run.h"

#include <algorithm>

CDeviceRemovalBatch::CDeviceRemovalBatch(CRun& run) : m_run(run), m_outer(run.m_deviceRemovals) {
  if (m_outer == nullptr) run.m_deviceRemovals = this;
}

CDeviceRemovalBatch::~CDeviceRemovalBatch() {
  if (m_outer != nullptr) return;
  m_run.m_deviceRemovals = nullptr;
  std::vector<CDev*>& devices = m_run.m_devices;
  m_gone.resize(devices.size(), 0);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (m_gone[i] == 0) devices[kept++] = devices[i];
  }
  devices.resize(kept);
  m_buried.clear();  // no slot points at them any more
}

bool CDeviceRemovalBatch::Leave(const CDev& element) {
  const std::vector<CDev*>& devices = m_run.m_devices;
  const std::size_t count = devices.size();
  m_gone.resize(count, 0);
  // An element has one live slot at most (a marked one is an earlier listing of an element
  // listed again), so the search may go both ways from where the last one ended: a rebuild
  // takes its joints out in list order, a change of range its units from the last to the
  // first, and either finds its next slot close by.
  const auto marks = [&](std::size_t i) {
    if (devices[i] != &element || m_gone[i] != 0) return false;
    m_gone[i] = 1;
    m_searchFrom = i;
    return true;
  };
  const std::size_t from = std::min(m_searchFrom, count);
  for (std::size_t step = 0; step <= std::max(from, count - from); ++step) {
    if (from + step < count && marks(from + step)) return true;
    if (step > 0 && step <= from && marks(from - step)) return true;
  }
  return false;
}

void CDeviceRemovalBatch::Bury(std::unique_ptr<CDev> element) {
  if (element) m_buried.push_back(std::move(element));
}
