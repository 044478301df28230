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
  // From where the last search ended, on round: a rebuild takes its joints out in list
  // order. A slot already marked is an earlier listing of an element listed again.
  for (std::size_t step = 0; step < count; ++step) {
    const std::size_t i = (m_searchFrom + step) % count;
    if (devices[i] != &element || m_gone[i] != 0) continue;
    m_gone[i] = 1;
    m_searchFrom = i;
    return true;
  }
  return false;
}

void CDeviceRemovalBatch::Bury(std::unique_ptr<CDev> element) {
  if (element) m_buried.push_back(std::move(element));
}
