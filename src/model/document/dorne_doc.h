#pragma once

#include "geometry/3d_point.h"
#include "geometry/3d_projection.h"
#include "model/annotation/annotation_archive.h"
#include "model/annotation/annotation_list.h"
#include "model/bom/bom_change_stamp.h"
#include "model/props/dimension.h"
#include "model/document/doc_observer.h"
#include "model/document/doc_file_result.h"
#include "model/document/doc_props.h"
#include "model/element/element_selection.h"
#include "model/document/run_document.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

class CBOMGrid;
class CDocObserver;
class CDocPrompter;
class CProfile;
struct CRunReadAside;
class CUndoManager;
struct CUnitEntry;

// What a layout document reads of the application.
struct CDocEnvironment {
  CProfile* profile = nullptr;                     // the settings file; null: defaults, no writes
  std::string userName;                            // "Creator" of a new document
  const std::vector<CUnitEntry>* units = nullptr;  // dims.dbf in table order; null: none
  int openDocuments = 0;                           // layout documents already open
  std::string settingsFolder;  // where undo snapshots go (with '/'); empty: none
};

// The layout document of graphical design: the one owner of a design. It owns the runs
// (in creation order) and knows the current one, the scene (projection and display
// list), the annotations, the element selection, the project properties, the length
// unit, the totals and the modified flag. Runs and elements reach it through
// CRunDocument; views observe it through CDocObserver and are never called by it.
class CDorneDoc : public CRunDocument {
 public:
  static constexpr std::uint16_t kFileVersion = 600;
  static constexpr int kFileSubVersion = 623;
  static constexpr int kNewDocumentVersion = 10000;
  static constexpr int kSnapshotMarker = 21828;
  // Tool modes the document itself sets.
  enum ToolMode : int {
    kToolSelect = 0,
    kToolAddStraight = 1,
    kToolPlaceStart = 10,
    kToolAllRuns = 12
  };
  // A totals record: PrixT, PrixV, PoidsT, TPoseT, PrixVR.
  using CTotals = std::array<double, 5>;
  static constexpr std::array<std::string_view, 5> kTotalsKeys = {"PrixT", "PrixV", "PoidsT",
                                                                  "TPoseT", "PrixVR"};

  using CEnvironment = CDocEnvironment;

  explicit CDorneDoc(CDocEnvironment environment = CDocEnvironment());
  ~CDorneDoc() override;
  CDorneDoc(const CDorneDoc&) = delete;
  CDorneDoc& operator=(const CDorneDoc&) = delete;

  // A new document: the built-in length unit, "Creator", "CreationDate" and one run.
  void OnNewDocument(std::string_view creationDate);
  bool IsModified() const { return m_modified; }
  void SetModifiedFlag(bool modified);
  // What a snapshot of the document depends on besides its runs' contents, which every
  // edit marks by setting the modified flag (counted here, set or not): while it stays
  // the same, a snapshot made earlier still holds (CUndoManager::PrepareSnapshot). The
  // annotations are in it whole: the views refresh them without a notice.
  std::vector<std::uint8_t> SnapshotKey();

  void AddObserver(CDocObserver* observer);
  void RemoveObserver(CDocObserver* observer);
  void SetPrompter(CDocPrompter* prompter) { m_prompter = prompter; }

  // The undo history (made on first use).
  CUndoManager& GetUndo();
  // An empty document of the same environment (undo reads snapshots into one). It is
  // shown in no window: what it reads or does never reaches the property window.
  std::unique_ptr<CDorneDoc> MakeSibling() const;
  // Frees a design that is going (one nobody shows or uses again) a run at a time, as the
  // destructor would, until stop answers true between two runs: true once every run is
  // gone, false when stopped (call again to go on). The document is then fit only to be
  // destroyed.
  bool FreeRunsUnless(const std::function<bool()>& stop);
  bool ShowsProperties() const override { return !m_aside; }
  // Takes the design of the other document (runs, scene, annotations, properties, view
  // data) and gives it this one's; observers, prompter, undo history and file version
  // stay. The document is marked modified and its views updated. A scene that is as a
  // whole rebuild left it goes with its design; any other is emptied.
  void SwapContent(CDorneDoc& other);
  // Whether the scene is the one RebuildScene would make now: made whole (or one run
  // put back) and untouched since, with the same angles, the same runs shown and every
  // box of the design listed.
  bool HasWholeScene();
  // Whether the scene was whole when the view began to turn and has only turned since:
  // settled, aside or not, it then takes the order RebuildScene would give it.
  bool TurnedWholeScene() const;
  // After SwapContent: RebuildScene, unless the scene came whole with the design and
  // nothing it was made for changed since; the views hear of a new scene either way.
  void RebuildSceneUnlessKept();

  // Members.
  CDocProps& GetProps() { return m_props; }
  const CDocProps& GetProps() const { return m_props; }
  std::string GetDocProperty(std::string_view name) const { return m_props.GetPropValue(name); }
  // Sets a project property; true (and the document modified) when it changed.
  bool SetDocPropertyModified(std::string_view name, std::string_view value);
  const std::array<std::int32_t, 2>& GetViewCentre() const { return m_viewCentre; }
  void SetViewCentre(std::int32_t x, std::int32_t y) { m_viewCentre = {x, y}; }
  const std::array<std::int32_t, 2>& GetViewSize() const { return m_viewSize; }
  void SetViewSize(std::int32_t width, std::int32_t height) { m_viewSize = {width, height}; }
  const std::array<float, 2>& GetViewScale() const { return m_viewScale; }
  void SetViewScale(float x, float y) { m_viewScale = {x, y}; }
  int GetToolMode() const { return m_toolMode; }
  void SetToolMode(int mode) { m_toolMode = mode; }
  const std::array<float, 4>& GetWorkArea() const { return m_workArea; }
  void SetWorkArea(const std::array<float, 4>& area) { m_workArea = area; }
  const C3DPoint& GetCursorPoint() const { return m_cursor; }
  void SetCursorPoint(const C3DPoint& point) { m_cursor = point; }
  int GetFreeFaceMask() const { return m_freeFaceMask; }
  void SetFreeFaceMask(int mask) { m_freeFaceMask = mask; }
  bool IsPendingElement() const { return m_pending; }
  void SetPendingElement(bool pending) { m_pending = pending; }
  bool IsCurrentRunOnly() const { return m_currentRunOnly; }
  void SetCurrentRunOnly(bool on) { m_currentRunOnly = on; }
  float GetPrintScale() const { return m_printScale; }
  int GetViewPreset() const { return m_viewPreset; }
  // The bill-of-materials page shown (0 the totals page); the view keeps it here.
  int GetBomPage() const { return m_bomPage; }
  void SetBomPage(int page) { m_bomPage = page; }
  void SetViewPreset(int preset) { m_viewPreset = preset; }
  int GetSubVersion() const { return m_subVersion; }
  int GetSnapshotMarker() const { return m_snapshotMarker; }
  void SetSnapshotMarker(int marker) { m_snapshotMarker = marker; }
  bool IsSplit() const { return m_split; }
  C3DProjection& Projection() { return m_projection; }
  const C3DProjection& Projection() const { return m_projection; }
  CAnnotationList& Annotations() { return m_annotations; }
  const CAnnotationList& Annotations() const { return m_annotations; }
  // The units table of the application (null: none).
  const std::vector<CUnitEntry>* GetUnitEntries() const { return m_environment.units; }
  CElementSelection& Selection() { return m_selection; }
  const CElementSelection& Selection() const { return m_selection; }
  int GetLengthUnitId() const { return m_unitId; }
  // The totals page of the bill-of-materials view as the file keeps it: shown (page 0
  // current) and its rectangle. The view reads and sets them.
  bool IsTotalsPageShown() const { return m_totalsPageShown; }
  void SetTotalsPageShown(bool shown) { m_totalsPageShown = shown; }
  const std::array<std::int32_t, 4>& GetTotalsPageRect() const { return m_totalsPageRect; }
  void SetTotalsPageRect(const std::array<std::int32_t, 4>& rect) { m_totalsPageRect = rect; }

  // Runs.
  const std::vector<CRun*>& GetRuns() const { return m_runList; }
  CRun* GetCurrentRun() const { return m_currentRun; }
  // Appends the run (the document owns it) unless it is there; its index.
  int AddRun(std::unique_ptr<CRun> run);
  // Index searched from the end; -1 when absent.
  int FindRunIndex(const CRun* run) const;
  // Takes the run out of the array (the selection is cleared); null when absent.
  std::unique_ptr<CRun> RemoveRun(CRun* run);
  // Moves the run at index from to index to, shifting those between (the order of the
  // bill-of-materials pages); records an undo step and marks the document modified.
  // False for an index out of range; true without change for equal indexes.
  bool MoveRun(int from, int to);
  void AddNewRun();
  // The layout view as a bill-of-materials page keeps it: the view window as a rectangle
  // and the three projection angles.
  void SaveViewTo(CBOMGrid& grid) const;
  // A new run of the current run's catalogue with its rating (a generic run when the
  // current one has no catalogue), at a new start marker, made current.
  void CreateRunForRange();
  // Copies run n (1-based; 0 the current run) into a new run; its index, or 0.
  int DuplicateRun(int n);
  int IsCurrentRunEditable() const;
  void RefreshAllRuns();
  // Every run's bill of materials shows or hides its unit-weight column for the support
  // display and is refreshed; after a display setting changed.
  void RefreshRunGrids();
  void PlaceRunStart(CRun& run);
  // Asks (message 31464), then deletes the selection of the current run (the element,
  // its joint, or the marked tap-off units) as the user chose it. While the question is
  // open, what would go is marked in the lighter colour. 1 when asked and cancelled or
  // deleted, 0 when nothing of the current run is selected or it could not go.
  // `removed`, when given, tells whether the design changed.
  int DeleteCurrentElement(bool* removed = nullptr);

  // Tools of the layout view (dorne_doc_tools.cpp), at a logical window point; each gives
  // non-zero when it changed the model. The view takes the undo snapshot before. Keys:
  // 4 (Shift) selects a tap-off unit as a whole.
  int ToolSelectAt(CPoint point, int keys);
  int ToolAddStraightAt(CPoint point);
  int ToolClickMode2(CPoint point);
  int ToolTurnAtFace(CPoint point);
  // 2 when an end was picked, 1 when only the provisional element went.
  int ToolClickMode3(CPoint point);
  int ToolClickMode4(CPoint point);
  int ToolClickMode5(CPoint point);
  int ToolClickMode6(CPoint point);
  int ToolRightClick(CPoint point);
  // Selects as the select tool does, or else shows the current run's pages.
  int SelectAtOrShowRun(CPoint point);
  // Edit > Properties: the property window opened anew on the selected element; 0 when
  // no element is selected or another tool than selection is active.
  int ShowCurrentElementProps();
  // Whether Edit > Properties would open the window: the select tool and an element.
  bool CanShowCurrentElementProps() const;
  // Run > Properties: the property window cleared, opened, and showing the current
  // run's pages; 0 without a current run.
  int ShowRunPages();
  // The run's start marker placed again where its position and direction now say.
  void InsertElementAt(CRun& run);
  // The run moved by the vector with its elements (the move tool), the insertion point
  // with it when the run is current; the document modified and the scene made again.
  void MoveRun(CRun& run, const C3DPoint& by);

  // Commands on the current run (see dorne_doc_commands.cpp). Deleting asks first
  // (message 61452) and records an undo step; 1 when the run went.
  int DeleteCurrentRun();
  // Rebuilds the parts of the current run as one undo step, after taking out the
  // provisional element of a turn; false when there is no current run.
  bool RebuildCurrentRunParts();
  // The current run's bill of materials brought back to its elements' generic references
  // as one undo step; false, with nothing changed, when there is no current run. Both
  // rebuilds and the update of the run refuse, with a message and nothing changed, a run
  // whose range cannot build its parts again (CRun::HasPartBuilder): what its file holds
  // would be lost.
  bool RebuildCurrentRunBOM();
  // The current run turned end for end (its own undo step); false as above.
  bool UpdateCurrentRun();
  void RotateRunForward();
  void RotateRunBackward();
  void ToggleRunOption();

  // Scene.
  // Turns the view to the three angles (degrees, kept in 0..359 whatever is given),
  // projects every box anew and rebuilds the display list.
  void SetViewAngles(int a0, int a1, int a2);
  // The same for the quick pictures of a view turning under the mouse: the boxes are
  // projected anew but the display list keeps its order until SettleView (or a rebuild)
  // sorts it; the painting order meanwhile is the boxes' depth.
  void TurnView(int a0, int a1, int a2);
  // Sorts the display list of a turned view and tells the observers (also when the sort
  // was made aside already).
  void SettleView();
  // The sort of SettleView made on another thread while this one leaves the document
  // alone, called off as soon as stop is set; the observers hear of it at SettleView.
  // True when the list is sorted; false, the document as before, when stopped or when
  // the sort is better left to SettleView (see CDisplayList::ResortUnlessStopped).
  bool SettleViewAside(const std::atomic<bool>& stop);
  void AddToScene(CBox& box);
  void RemoveFromScene(CBox& box);
  // After an edit of the run's elements alone (a turn, a move, a deletion): the scene
  // RebuildScene would make, for what the run and the boxes it meets on screen cost when
  // the scene was filled whole before and only such edits changed it since (its boxes go
  // back as the whole rebuild would insert them); otherwise, or without a run, the whole
  // scene made anew. The observers hear of a new scene either way.
  void RebuildSceneAfterEditOf(CRun* run);

  // A new document starting from a model takes its length unit, "Name", "Comment" and
  // the bill-of-materials layout of its first run.
  void CopyFromModel(const CDorneDoc& model);

  // Length unit: the units-table record of that identifier, else the built-in metric
  // unit (identifier -1); every run reformats its lengths.
  void SetLengthUnit(int id);

  // Totals.
  int ComputeRunTotals(bool fromRuns);
  const CTotals* GetTotals(int n) const;
  // Record n's converted sale price (PrixVR) as a typed total spreads it; nothing for a
  // record that does not exist. The next computation of the totals replaces it.
  void SetConvertedTotal(int n, double value);
  int GetTotalsCount() const { return static_cast<int>(m_totals.size()); }

  // The stored document (see dorne_doc_write.cpp and dorne_doc_read.cpp). Writing drops
  // a pending element unless a snapshot is being written. Reading expects a fresh
  // document and throws CDocVersionError or CArchiveError; the document is then to be
  // discarded.
  void Serialize(CArchiveWriter& archive);
  void Serialize(CArchiveReader& archive);
  // How many pieces the writing cuts the runs into, each written on a thread of its own
  // (CRunRecordsWriter); 0, as made, lets the size of the design choose. The bytes are
  // the same either way.
  void SetRunWritingPieces(std::size_t pieces) { m_runWritingPieces = pieces; }
  // Reads a ".run" file (or a model) into this fresh document.
  CDocFileResult OnOpenDocument(const std::string& path);
  // Reads the document from bytes held in memory (an undo step's snapshot) as Serialize
  // does, its runs on several threads as a file's are; beforePiece as ReadBytesStream
  // takes it. The bytes stay unchanged and held until it returns.
  void ReadFromBytes(const std::vector<std::uint8_t>& bytes,
                     const std::function<void()>& beforePiece = {});
  // Writes a new file and renames it over the old one; clears the modified flag.
  CDocFileResult OnSaveDocument(const std::string& path);

  // CRunDocument.
  void SetModified() override { SetModifiedFlag(true); }
  void SaveUndoState(int action) override;
  int GetFileVersion() const override { return m_fileVersion; }
  // How many runs the last reading read on threads of their own.
  std::size_t RunsReadAside() const { return m_runsReadAside; }
  const CDimension& GetUnits() const override { return *m_unit; }
  float GetSalesCoefficient() const override { return m_rate; }
  void SetSalesCoefficient(float coefficient) override;
  std::string GetNextRunName() const override { return m_nextRunName; }
  void SetNextRunName(std::string name) override { m_nextRunName = std::move(name); }
  int GetRunCount() const override { return static_cast<int>(m_runList.size()); }
  CRun* GetRunAt(int index) const override;
  int SetCurrentRun(CRun* run) override;
  void ReplaceRun(CRun& oldRun, CRun& newRun) override;
  void UpdateRunPageTitle(CRun& run) override;
  void RecomputeTotals(int compute, int quiet) override;
  void RecomputeRunTotals(CRun& run) override;
  void MarkRunTotalsStale(CRun& run) override;
  void PlaceRunMarker(CRun& run) override;
  void HoldScene(bool hold) override;
  void HoldRunScene(CRun& run, bool hold) override;
  void RebuildScene() override;
  void UpdateAllViews() override;
  // None while the document is being read (the boxes are projected once, at the end,
  // with the angles the file gives) and while the scene is held.
  C3DProjection* GetProjection() const override {
    return m_reading || m_sceneHolds > 0 ? nullptr : &m_projection;
  }
  std::vector<const CBox*> GetExtraBoxes() const override;
  std::optional<std::array<std::int32_t, 6>> GetEquipmentValues(const CDev& element) const override;
  void AddEquipmentBox(CDev& element, const std::array<std::int32_t, 6>& values) override;
  CBox* FindEquipmentBox(const CDev& element, int& index) override;
  void SetEquipmentValues(const CDev& element, const std::array<std::int32_t, 6>& values) override;
  void RemoveExtraBoxes(const CDev& element, bool keepLast) override;
  CBox& InsertExtraBox(CDev& element, int index) override;
  void OnElementDestroyed(CDev& element) override;
  void OnRunDestroyed(CRun& run) override;
  void RetargetRunAnnotations(CRun& oldRun, CRun& newRun) override;
  CElementSelection& GetSelection() override { return m_selection; }
  int GetPlacementToolMode() const override { return m_toolMode; }
  C3DPoint GetPlacementCursor() const override { return m_cursor; }
  void SetPlacementCursor(const C3DPoint& point) override { m_cursor = point; }
  int GetPlacementFaceMask() const override { return m_freeFaceMask; }
  void SetPlacementFaceMask(int mask) override { m_freeFaceMask = mask; }
  void SetPlacementPending(bool pending) override { m_pending = pending; }
  void SerializeRunAnnotations(CArchiveWriter& archive, const CRun& run) const override;
  void SerializeRunAnnotations(CArchiveReader& archive, CRun& run) override;
  void SerializeElementAnnotations(CArchiveWriter& archive, const CDev& element) const override;
  void SerializeElementAnnotations(CArchiveReader& archive, CDev& element) override;

 private:
  // A current run that a rebuild may touch; tells the user why not otherwise.
  bool CanRebuildCurrentRun();
  struct CExtraBox {
    CDev* element;
    std::array<std::int32_t, 6> values;
    std::unique_ptr<CBox> box;
  };

  // Ends the annotation lists of one save or load however it ends.
  class CArchiveSession {
   public:
    explicit CArchiveSession(std::unique_ptr<CAnnotationArchive>& slot) : m_slot(slot) {}
    ~CArchiveSession() { m_slot.reset(); }
    CArchiveSession(const CArchiveSession&) = delete;
    CArchiveSession& operator=(const CArchiveSession&) = delete;

   private:
    std::unique_ptr<CAnnotationArchive>& m_slot;
  };

  void Notify(EDocNotice notice, CRun* run = nullptr);
  void RotateRun(bool forward);
  void AddNewRun(std::unique_ptr<CRun> made);
  // Takes the end of a branch out of its run and destroys it; false when the element is
  // not the end of a branch (the chain behind it must stay whole).
  bool RemoveBranchEnd(CRun& run, CDev& element);
  // The current run's current element as a removed branch end, with the placement cursor
  // and free faces taken from the element behind it; false when nothing was removed.
  bool RemoveCurrentBranchEnd();
  // A run whose parts were built, once an element left it: its bill back to the form
  // before a build (its parts state 0), made again by the next build.
  void UnbuildAfterRemoval(CRun& run);
  // The selected element (or joint, or units) leaves its run after the question; as
  // DeleteCurrentElement.
  int DeleteSelectedElement(CDev& selected, bool* removed);
  // The element owning the front box under the point, and that box; null when none.
  CDev* ElementAt(CPoint point, CBox** box = nullptr) const;
  // An element of an editable run under the point applies the edit (its result).
  int EditElementAt(CPoint point, const std::function<int(CDev&, CBox*)>& edit);
  // The provisional element of a turn leaves its run; true when there was one.
  bool DropProvisionalElement();
  void FollowCurrentElement();
  std::string FirstJobNumber(int openDocuments) const;
  void CreateStartMarker(CRun& run);
  void RememberLeftView(CRun& run);
  // Places the start marker's two boxes (section and pointer) out of the scene; nulls
  // when the run has no marker.
  std::pair<CBox*, CBox*> PositionRunMarker(CRun& run);
  // Every box of the document (or those not in the scene) projected with the document's
  // angles; when stop is set meanwhile, some runs' boxes are left as they were.
  void ProjectAllBoxes(bool unlistedOnly = false, const std::atomic<bool>* stop = nullptr);
  // ProjectAllBoxes(true, stop), with each run's scene boxes (RunSceneBoxes without placing
  // markers) gathered by run number when ofRun is given (of the run shown only, when one
  // run is).
  void ProjectUnlistedBoxes(const std::atomic<bool>* stop, std::vector<std::vector<CBox*>>* ofRun);
  // ProjectAllBoxes() for a scene made anew: the same boxes, but those out of the scene that
  // the document's angles already projected are not worked out again.
  void ReprojectAllBoxes();
  template <class Visit>
  void VisitAllBoxes(Visit&& visit, const std::atomic<bool>* stop = nullptr);
  // The scene of one run's rebuild (dorne_doc_run_scene.cpp).
  void HoldSceneFor(CRun* run, bool hold);
  // The whole scene made anew (boxes projected first) when it is next looked at.
  void RebuildSceneWhenSeen();
  // RebuildScene's list, without the notice.
  void MakeScene();
  std::vector<CBox*> RunSceneBoxes(CRun& run, bool placeMarker);
  bool TakeOutRunScene(CRun& run);
  bool PutBackRunScene();
  bool PutBackKeyedRunScene(CRun& run, const std::vector<CBox*>& boxes);
  // Of RebuildSceneAfterEditOf: the run taken out and put back by keys; true when the
  // scene is then whole. False otherwise, the run's boxes perhaps left out.
  bool PutBackEditedRunScene(CRun& run);
  // Of a scene filled by keys (CDisplayList::ReplaceKeyedGroup): whether the runs and the
  // extra boxes are still those it was filled with, the key of the index-th box of a group
  // (a run's boxes, from the last run to the first, then the extra boxes), and a walk
  // over the boxes after a key.
  bool SceneKeysHold() const;
  void NoteSceneKeys();
  static std::uint64_t SceneOrderKey(std::size_t group, std::size_t index);
  CDisplayList::CKeyedWalk SceneOrderWalk();
  void DropPendingElement();
  CAnnotationArchive& AnnotationArchive() const;
  void WithAnnotationArchive(const std::function<void(CAnnotationArchive&)>& use) const;
  void ComputeTotalsForWriting();
  struct CKeptLineSums;
  // The sums of the bill's lines: those kept while the bill stands as they were worked out.
  static const CTotals& LineSums(const CBOMGrid& bill, CKeptLineSums& kept);
  void ComputeTotalsAfterReading();
  bool RecomputeStaleRunTotals();
  int SumRunTotals(bool convertAll);
  void RecomputePendingTotals();
  void WriteHead(CArchiveWriter& archive);
  void WriteAnnotationsKey(CArchiveWriter& key) const;
  void WriteTail(CArchiveWriter& archive);
  void ReadVersion(CArchiveReader& archive);
  void ReadHead(CArchiveReader& archive);
  void ReadRunsAndTail(CArchiveReader& archive);
  // Runs [from, count) one after the other, as the file holds them.
  void ReadRuns(CArchiveReader& archive, std::uint32_t from, std::uint32_t count);
  // A run of that file code added to the document, to be read.
  CRun& AddRunToRead(const std::string& code);
  // The runs of a large file on several threads (dorne_doc_read_aside.cpp).
  bool ShouldReadRunsAside(std::uint32_t count) const;
  void ReadRunsAsideAndTail(CArchiveReader& archive, std::uint32_t count);
  bool ReadRunAside(CRunReadAside& run);
  void ReadTail(CArchiveReader& archive);
  void ProjectBoxesOfReadFile();

  CEnvironment m_environment;
  CDocProps m_props;
  std::array<std::int32_t, 2> m_viewCentre{0, 0};
  std::array<std::int32_t, 2> m_viewSize{8000, 8000};
  std::array<float, 2> m_viewScale{1.0f, 1.0f};
  int m_toolMode = kToolSelect;
  std::array<float, 4> m_workArea{-4000.0f, -4000.0f, 4000.0f, 4000.0f};
  C3DPoint m_cursor;
  int m_freeFaceMask = 63;
  bool m_pending = false;
  bool m_currentRunOnly = false;
  mutable C3DProjection m_projection;
  CAnnotationList m_annotations;
  float m_printScale = 1.0f;
  CRun* m_currentRun = nullptr;
  std::vector<std::unique_ptr<CRun>> m_runs;
  std::vector<CRun*> m_runList;  // the same runs, for callers that want pointers
  std::string m_nextRunName = "A";
  std::vector<CExtraBox> m_extraBoxes;
  std::unique_ptr<CDimension> m_unit;
  int m_unitId = -1;
  float m_rate = 1.0f;
  std::vector<CTotals> m_totals;
  // The runs whose records in m_totals were last worked out from their lines, in order;
  // empty when the records came from elsewhere (the file, the runs' kept totals), and
  // the next computation then goes over every run.
  std::vector<const CRun*> m_linesTotalled;
  // Runs whose bills changed since their record was worked out.
  std::unordered_set<const CRun*> m_staleTotals;
  // The sums of each run's lines as last worked out (by run index), with the change stamp
  // of its bill then: every save works the totals out, and a bill left as it was is not
  // read again, line by line, for the same sums.
  struct CKeptLineSums {
    CBOMChangeStamp stamp;
    CTotals sums{};
  };
  std::vector<CKeptLineSums> m_keptLineSums;
  // The rate the records' converted prices were worked out with, and whether one was
  // typed since: the other records' prices then stand as they are.
  float m_convertedRate = 0.0f;
  bool m_convertedTyped = false;
  int m_viewPreset = -1;
  int m_bomPage = 0;
  int m_fileVersion = kNewDocumentVersion;
  int m_subVersion = 0;
  int m_snapshotMarker = 0;
  bool m_split = false;
  bool m_modified = false;
  std::uint64_t m_modifiedMarks = 0;  // every SetModifiedFlag
  std::uint64_t m_noticesSent = 0;    // every Notify
  bool m_totalsPageShown = true;
  std::array<std::int32_t, 4> m_totalsPageRect{};
  CElementSelection m_selection;
  std::vector<CDocObserver*> m_observers;
  CDocPrompter* m_prompter = nullptr;
  std::unique_ptr<CUndoManager> m_undo;
  std::size_t m_lastStoredSize = 0;
  std::size_t m_runWritingPieces = 0;
  bool m_reading = false;
  bool m_aside = false;  // a sibling (MakeSibling); never swapped with the content
  // Reads the stream being read again from an offset on, when it can (a file being opened,
  // bytes held in memory): its runs may then be read on several threads. None for any
  // other reading. And how many runs the last reading read so.
  using CReadAgain =
      std::function<bool(std::size_t offset, const std::function<void(CArchiveReader&)>& decode)>;
  CReadAgain m_readAgain;
  std::size_t m_runsReadAside = 0;
  int m_sceneHolds = 0;
  // While a run's rebuild holds the scene with only that run's boxes taken out: the run,
  // where its boxes stood and the list's count of changes then.
  CRun* m_heldRun = nullptr;
  CDisplayList::CPlace m_heldPlace;
  std::uint64_t m_heldChanges = 0;
  bool m_heldWhole = false;  // the scene was whole when the run was taken out
  // Taken out by keys: the listed boxes whose places hung on the run's.
  bool m_heldKeyed = false;
  std::vector<CBox*> m_heldMet;
  // What the last scene filled by keys was made of (see SceneKeysHold).
  bool m_sceneKeyed = false;
  std::vector<CRun*> m_keyedRuns;
  std::vector<const CBox*> m_keyedExtras;
  // What the scene was made for when it was last made whole (see HasWholeScene).
  struct CSceneKey {
    std::uint64_t changes = ~std::uint64_t{0};
    std::array<int, 3> angles{};
    const CRun* onlyRun = nullptr;  // the one run shown, when only the current one is
    bool operator==(const CSceneKey&) const = default;
  };
  CSceneKey SceneKey() const;
  void MarkSceneWhole() { m_wholeScene = SceneKey(); }
  void KeepSceneIfWhole(bool whole);
  bool SceneKeyWhole() const;
  bool m_keptSceneArrived = false;  // SwapContent brought a whole scene
  CSceneKey m_wholeScene;
  bool m_settledAside = false;  // a turned view sorted aside, not yet told
  // A whole scene turned for quick pictures, and the scene's key after the turn: while it
  // stands, the list holds the boxes a rebuild would list.
  std::optional<CSceneKey> m_turnedWhole;
  // The same of a scene found not whole as it began to turn: while it only turns it stays
  // so, and each frame of the turn is spared the walk over every box that finds it. (Were
  // it wrong, the settle would only rebuild a scene it could have sorted.)
  std::optional<CSceneKey> m_turnedPart;
  // The key of a whole scene as a settle left it in its rebuild's order: the next turn takes
  // it for whole as the frames of a turn do, without the walk over every box that finds it.
  // (A box made since and never listed would make the settle sort the list as it stands,
  // as for a scene not whole.)
  std::optional<CSceneKey> m_settledWhole;
  // Projects the boxes out of the scene (ProjectAllBoxes(true, stop)), then orders the list
  // of a whole scene only turned since as RebuildScene would (and marks it whole); false,
  // the list left as it was, otherwise or when stopped.
  bool ProjectRestAndResortAsRebuilt(const std::atomic<bool>* stop);
  // The boxes in the order RebuildScene inserts them; the start markers placed first, or
  // their boxes as they stand.
  // With keys, each box's key in that order.
  std::vector<CBox*> SceneBoxesInRebuildOrder(bool placeMarkers,
                                              std::vector<std::uint64_t>* keys = nullptr);
  // The same from each run's scene boxes gathered already (by run number), the extra
  // boxes shown with the one run (or with every run) added.
  std::vector<CBox*> SceneBoxesOfRuns(const std::vector<std::vector<CBox*>>& ofRun,
                                      const CRun* only, std::vector<std::uint64_t>* keys) const;
  bool m_totalsPending = false;
  bool m_runTotalsPending = false;  // the records of m_staleTotals alone
  // Set for the time of one Serialize: the annotation lists of that save or load.
  mutable std::unique_ptr<CAnnotationArchive> m_annotationArchive;
};
