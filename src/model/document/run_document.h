#pragma once

#include "geometry/3d_point.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class C3DProjection;
class CArchiveReader;
class CArchiveWriter;
class CBox;
class CDev;
class CDimension;
class CElementSelection;
class CRun;

// What runs and their elements ask of the layout document that owns them. The layout
// document implements it; a run without a document (tests, a run being read before it
// is handed to its document) goes without: see each operation for what happens then.
class CRunDocument {
 public:
  virtual ~CRunDocument() = default;

  // The document's modified flag.
  virtual void SetModified() = 0;
  // Records an undo step of the action before an edit; nothing without undo.
  virtual void SaveUndoState(int action) { (void)action; }
  // The effective file version of the document being read (10000 for a new one).
  virtual int GetFileVersion() const = 0;
  // The length unit of the document.
  virtual const CDimension& GetUnits() const = 0;
  // The global sales coefficient ("CoefGlob") of the document.
  virtual float GetSalesCoefficient() const = 0;
  virtual void SetSalesCoefficient(float coefficient) = 0;

  // Names of new runs: the name the next run receives, and its replacement.
  virtual std::string GetNextRunName() const = 0;
  virtual void SetNextRunName(std::string name) = 0;

  // The run array.
  virtual int GetRunCount() const = 0;
  virtual CRun* GetRunAt(int index) const = 0;
  // Makes the run current (and shows it): its index, or -1 when it is not in the
  // document or already current (nothing changes then).
  virtual int SetCurrentRun(CRun* run) = 0;
  // Whether its runs and elements may show themselves in the property window: a design
  // read aside (an undo step read ahead, on this thread or a worker) is in no window.
  virtual bool ShowsProperties() const { return true; }
  // Puts the new run in the old one's place in the run array and as current run; the
  // caller destroys the old run afterwards.
  virtual void ReplaceRun(CRun& oldRun, CRun& newRun) = 0;
  // The run's page of the bill-of-materials view takes the run's name.
  virtual void UpdateRunPageTitle(CRun& run) = 0;
  // The totals of the bill-of-materials view (compute 1 recomputes, 0 marks stale).
  virtual void RecomputeTotals(int compute, int quiet) = 0;
  // The totals after a change to that run alone (its rebuild): a document may then work
  // out that run's record anew and keep the others', when the result is the same.
  virtual void RecomputeRunTotals(CRun& run) {
    (void)run;
    RecomputeTotals(1, 0);
  }
  // The run's bill of materials changed: the next computation works out its record anew.
  virtual void MarkRunTotalsStale(CRun& run) { (void)run; }
  // Holding the scene (nestable): while held, boxes are neither projected nor listed,
  // scene rebuilds and totals recomputations are put off; the last release projects
  // every box, rebuilds the scene and recomputes the totals once when asked meanwhile.
  // Work over many elements or runs holds it so that each change does not pay for the
  // whole document.
  virtual void HoldScene(bool hold) { (void)hold; }
  // The same for the rebuild of one run: a document may then take out and put back that
  // run's boxes alone, when the result is the same.
  virtual void HoldRunScene(CRun& run, bool hold) {
    (void)run;
    HoldScene(hold);
  }
  // Re-places a run's start marker; rebuilds the scene; updates all views.
  virtual void PlaceRunMarker(CRun& run) = 0;
  virtual void RebuildScene() = 0;
  virtual void UpdateAllViews() = 0;

  // The projection whose scene shows the document's boxes; null when none.
  virtual C3DProjection* GetProjection() const = 0;
  // The document's extra boxes, in list order.
  virtual std::vector<const CBox*> GetExtraBoxes() const = 0;
  // The six values of the element's last equipment box, none when it has none.
  virtual std::optional<std::array<std::int32_t, 6>> GetEquipmentValues(
      const CDev& element) const = 0;
  // Appends an equipment box of the element with these values (colour -1).
  virtual void AddEquipmentBox(CDev& element, const std::array<std::int32_t, 6>& values) = 0;
  // The element's last extra box (its equipment box) and its index in the extra boxes;
  // null when it has none.
  virtual CBox* FindEquipmentBox(const CDev& element, int& index) = 0;
  // Replaces the six values of the element's last extra box (nothing when none).
  virtual void SetEquipmentValues(const CDev& element,
                                  const std::array<std::int32_t, 6>& values) = 0;
  // Takes the element's extra boxes out of the scene and deletes them, all of them or
  // all but the last.
  virtual void RemoveExtraBoxes(const CDev& element, bool keepLast) = 0;
  // A new extra box of the element (values 0) inserted at that index, clamped to the list.
  virtual CBox& InsertExtraBox(CDev& element, int index) = 0;

  // The document's element selection: one element and a face, or none.
  virtual CElementSelection& GetSelection() = 0;

  // The state of the layout tools that element edits follow: the tool mode, the cursor
  // point (where the next length is measured from), the free-face mask of the current
  // element and the pending-element flag. A document without tools keeps none of them.
  virtual int GetPlacementToolMode() const { return 0; }
  virtual C3DPoint GetPlacementCursor() const { return C3DPoint(); }
  virtual void SetPlacementCursor(const C3DPoint& point) { (void)point; }
  virtual int GetPlacementFaceMask() const { return 63; }
  virtual void SetPlacementFaceMask(int mask) { (void)mask; }
  virtual void SetPlacementPending(bool pending) { (void)pending; }

  // Called while an element is being destroyed: its extra boxes leave the scene and the
  // list, the selection forgets it, its annotations are removed.
  virtual void OnElementDestroyed(CDev& element) = 0;
  // Called while a run is being destroyed: its attached annotations are removed.
  virtual void OnRunDestroyed(CRun& run) = 0;
  // Annotations that point at the old run (flag 0x200) point at the new one.
  virtual void RetargetRunAnnotations(CRun& oldRun, CRun& newRun) = 0;

  // The annotation lists inside the run and element records (a 32-bit count, then the
  // records).
  virtual void SerializeRunAnnotations(CArchiveWriter& archive, const CRun& run) const = 0;
  virtual void SerializeRunAnnotations(CArchiveReader& archive, CRun& run) = 0;
  virtual void SerializeElementAnnotations(CArchiveWriter& archive, const CDev& element) const = 0;
  virtual void SerializeElementAnnotations(CArchiveReader& archive, CDev& element) = 0;
};

// Holds the document's scene for its lifetime (nothing without a document).
class CSceneHold {
 public:
  explicit CSceneHold(CRunDocument* document) : m_document(document) {
    if (m_document != nullptr) m_document->HoldScene(true);
  }
  // Held for the rebuild of that run.
  CSceneHold(CRunDocument* document, CRun& run) : m_document(document), m_run(&run) {
    if (m_document != nullptr) m_document->HoldRunScene(run, true);
  }
  ~CSceneHold() {
    if (m_document == nullptr) return;
    if (m_run != nullptr) m_document->HoldRunScene(*m_run, false);
    else m_document->HoldScene(false);
  }
  CSceneHold(const CSceneHold&) = delete;
  CSceneHold& operator=(const CSceneHold&) = delete;

 private:
  CRunDocument* m_document;
  CRun* m_run = nullptr;
};
