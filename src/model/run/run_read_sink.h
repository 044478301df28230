#pragma once

#include "model/annotation/annotation_archive.h"
#include "model/annotation/annotation_list.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

class CDev;
class CRun;

class CRunReadAsideRefused : public std::runtime_error {
 public:
  CRunReadAsideRefused()
      : std::runtime_error("a run read aside asked for its document's own lists") {}
};

// What reading a run gives its document beside the run itself (the annotations of the run
// and of its elements, its elements' equipment boxes), kept apart while the run is read on a thread
// of its own: the document takes it over once every run before this one is in, so that its lists
// come in the file's order whatever order the runs were read in.
class CRunReadSink {
 public:
  explicit CRunReadSink(int fileVersion);
  CRunReadSink(const CRunReadSink&) = delete;
  CRunReadSink& operator=(const CRunReadSink&) = delete;

  CAnnotationArchive& Annotations() { return m_archive; }
  CAnnotationList& AnnotationList() { return m_annotations; }
  // The equipment boxes of the run's elements, as read, in the order read.
  struct CEquipment {
    CDev* element;
    std::array<std::int32_t, 6> values;
  };
  void AddEquipment(CDev& element, const std::array<std::int32_t, 6>& values) {
    m_equipment.push_back({&element, values});
  }
  const std::vector<CEquipment>& Equipment() const { return m_equipment; }
  // Whether the run's bill asked for its totals to be worked out anew.
  void MarkTotalsStale() { m_totalsStale = true; }
  bool TotalsStale() const { return m_totalsStale; }

  // The sink of the run that this thread is reading, if any: while one is current the
  // document hands what a reading gives to it instead of taking it in.
  static CRunReadSink* Current();
  // Throws CRunReadAsideRefused while a sink is current on this thread: for what a run's
  // reading could ask of its document that only a reading in place can do (looking
  // through the document's own list of extra boxes), so that the run is read again so.
  static void RefuseAside();

  // Makes a sink current on this thread for a scope.
  class CScope {
   public:
    explicit CScope(CRunReadSink& sink);
    ~CScope();
    CScope(const CScope&) = delete;
    CScope& operator=(const CScope&) = delete;

   private:
    CRunReadSink* m_before;
  };

 private:
  CAnnotationList m_annotations;
  std::vector<CRun*> m_noRuns;  // the lists read here name no run by its index
  CAnnotationArchive m_archive;
  std::vector<CEquipment> m_equipment;
  bool m_totalsStale = false;
};
