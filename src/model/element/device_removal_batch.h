#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class CDev;
class CRun;

// While it lives, the elements that leave the run's device list keep their slots (and
// the elements deleted meanwhile stay alive) until its end, where the list is closed up
// in one pass: a rebuild takes thousands of joints out of a long run, and closing the
// list up after each one made it quadratic in the run's length. The order of the list
// comes out as when each left at once. Nested batches leave the work to the outermost.
// An element released to another owner meanwhile (CRun::ReleaseElement) must outlive the
// batch: its slot still points at it until the end.
class CDeviceRemovalBatch {
 public:
  explicit CDeviceRemovalBatch(CRun& run);
  ~CDeviceRemovalBatch();
  CDeviceRemovalBatch(const CDeviceRemovalBatch&) = delete;
  CDeviceRemovalBatch& operator=(const CDeviceRemovalBatch&) = delete;

  // The element's live slot is marked to go; false when the list has none.
  bool Leave(const CDev& element);
  // Kept alive until the list is closed up: its slot still points at it.
  void Bury(std::unique_ptr<CDev> element);

 private:
  CRun& m_run;
  CDeviceRemovalBatch* m_outer = nullptr;
  std::vector<char> m_gone;  // per slot of the device list
  std::size_t m_searchFrom = 0;
  std::vector<std::unique_ptr<CDev>> m_buried;
};
