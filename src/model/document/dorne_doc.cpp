#include "model/document/dorne_doc.h"

#include "app/profile.h"
#include "platform/text_conversions.h"
#include "model/annotation/annotation_archive.h"
#include "model/element/dev.h"
#include "model/document/doc_observer.h"
#include "model/props/length_unit.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"
#include "model/run/run_read_sink.h"
#include "model/undo/undo_files.h"
#include "model/undo/undo_manager.h"

#include <algorithm>
#include <functional>
#include <span>

CDorneDoc::CDorneDoc(CEnvironment environment)
    : m_environment(std::move(environment)),
      m_unit(std::make_unique<CDimension>(CDimension::Metric())) {
  m_props.SetPropValue("NumAff", FirstJobNumber(m_environment.openDocuments));
  if (m_environment.profile != nullptr) {
    m_split = m_environment.profile->ReadProfileText("Design", "Split", "0") == "1";
  }
  CUndoFiles::CleanUpOnce(m_environment.settingsFolder);
}

CUndoManager& CDorneDoc::GetUndo() {
  if (!m_undo) m_undo = std::make_unique<CUndoManager>(*this, m_environment.settingsFolder);
  return *m_undo;
}

std::unique_ptr<CDorneDoc> CDorneDoc::MakeSibling() const {
  CDocEnvironment environment = m_environment;
  environment.openDocuments = 0;
  auto sibling = std::make_unique<CDorneDoc>(std::move(environment));
  sibling->m_aside = true;
  return sibling;
}

CDorneDoc::~CDorneDoc() {
  FreeRunsUnless([] { return false; });
  m_extraBoxes.clear();
  m_projection.ClearDisplayList();
}

bool CDorneDoc::FreeRunsUnless(const std::function<bool()>& stop) {
  m_undo.reset();  // its snapshot files go with it
  m_observers.clear();
  m_annotations.Clear();
  m_selection.Clear();
  m_currentRun = nullptr;
  // The scene goes at once: the elements would take their boxes out of it one by one. A
  // rebuild put off is never made.
  m_projection.CancelDeferredDisplayList();
  m_projection.ClearDisplayList();
  // Runs go first: their elements leave the extra boxes as they die.
  while (!m_runs.empty()) {
    if (stop()) return false;
    m_runs.pop_back();
    m_runList.pop_back();
  }
  return true;
}

std::string CDorneDoc::FirstJobNumber(int openDocuments) const {
  const std::string stored = m_environment.profile != nullptr
                                 ? m_environment.profile->ReadProfileText("User", "NumAff", "0")
                                 : "0";
  const long long value = JobNumberValue(stored);
  // A text that is not a number is a job number of its own.
  if (value == 0 && stored != "0") return stored;
  return std::to_string(value + 1 + openDocuments);
}

void CDorneDoc::OnNewDocument(std::string_view creationDate) {
  SetLengthUnit(0);
  m_props.SetPropValue("Creator", m_environment.userName);
  m_props.SetPropValue("CreationDate", creationDate);
  AddNewRun();
  SetModifiedFlag(false);
}

void CDorneDoc::SetModifiedFlag(bool modified) {
  ++m_modifiedMarks;
  if (m_modified == modified) return;
  m_modified = modified;
  Notify(EDocNotice::kModifiedChanged);
}

void CDorneDoc::AddObserver(CDocObserver* observer) {
  if (observer != nullptr &&
      std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end()) {
    m_observers.push_back(observer);
  }
}

void CDorneDoc::RemoveObserver(CDocObserver* observer) {
  m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer),
                    m_observers.end());
}

void CDorneDoc::Notify(EDocNotice notice, CRun* run) {
  ++m_noticesSent;
  // An observer may unsubscribe while it is told.
  const std::vector<CDocObserver*> observers = m_observers;
  for (CDocObserver* observer : observers) {
    if (std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end()) {
      observer->OnDocNotice(notice, run);
    }
  }
}

bool CDorneDoc::SetDocPropertyModified(std::string_view name, std::string_view value) {
  if (m_props.GetPropValue(name) == value) return false;
  m_props.SetPropValue(name, value);
  SetModifiedFlag(true);
  return true;
}

void CDorneDoc::SetLengthUnit(int id) {
  const std::span<const CUnitEntry> units = m_environment.units != nullptr
                                                ? std::span<const CUnitEntry>(*m_environment.units)
                                                : std::span<const CUnitEntry>();
  CLengthUnit unit = BuildLengthUnit(units, id);
  m_unit = std::make_unique<CDimension>(std::move(unit.dimension));
  m_unitId = unit.unitId;
  Notify(EDocNotice::kUpdateViews);
}

CRun* CDorneDoc::GetRunAt(int index) const {
  return index >= 0 && index < GetRunCount() ? m_runList[static_cast<std::size_t>(index)] : nullptr;
}

void CDorneDoc::UpdateRunPageTitle(CRun& run) {
  Notify(EDocNotice::kRunPageTitle, &run);
  UpdateAllViews();
}

void CDorneDoc::RecomputeTotals(int compute, int quiet) {
  (void)quiet;
  if (m_sceneHolds > 0) {
    m_totalsPending = m_totalsPending || compute != 0;
    return;
  }
  if (compute == 0) {
    m_linesTotalled.clear();
    Notify(EDocNotice::kTotalsStale);
    return;
  }
  ComputeRunTotals(false);
  Notify(EDocNotice::kTotalsChanged);
}

void CDorneDoc::UpdateAllViews() { Notify(EDocNotice::kUpdateViews); }

void CDorneDoc::OnElementDestroyed(CDev& element) {
  // A run's rebuild holds the scene with the other runs' boxes still listed.
  if (m_sceneHolds > 0) {
    for (const std::unique_ptr<CBox>& box : element.GetBoxSlots()) {
      if (box) m_projection.ForgetInDisplayList(*box);
    }
  }
  for (std::size_t i = m_extraBoxes.size(); i-- > 0;) {
    if (m_extraBoxes[i].element != &element) continue;
    m_projection.ForgetInDisplayList(*m_extraBoxes[i].box);
    m_extraBoxes.erase(m_extraBoxes.begin() + static_cast<std::ptrdiff_t>(i));
  }
  m_selection.Forget(&element);
  m_annotations.RemoveElementAnnotations(element, true);
}

void CDorneDoc::OnRunDestroyed(CRun& run) {
  // Another run may take its place at the same address.
  m_linesTotalled.clear();
  m_staleTotals.erase(&run);
  m_annotations.RemoveRunAnnotations(run);
  if (m_currentRun == &run) m_currentRun = nullptr;
}

void CDorneDoc::RetargetRunAnnotations(CRun& oldRun, CRun& newRun) {
  m_annotations.RetargetRun(oldRun, newRun);
}

CAnnotationArchive& CDorneDoc::AnnotationArchive() const {
  if (!m_annotationArchive) {
    m_annotationArchive = std::make_unique<CAnnotationArchive>(
        const_cast<CAnnotationList&>(m_annotations), m_runList, m_fileVersion);
  }
  return *m_annotationArchive;
}

void CDorneDoc::WithAnnotationArchive(const std::function<void(CAnnotationArchive&)>& use) const {
  // Outside a save or a load (a run written on its own) the lists are indexed afresh.
  const bool session = m_annotationArchive != nullptr;
  use(AnnotationArchive());
  if (!session) m_annotationArchive.reset();
}

void CDorneDoc::SerializeRunAnnotations(CArchiveWriter& archive, const CRun& run) const {
  WithAnnotationArchive([&](CAnnotationArchive& lists) { lists.WriteRunList(archive, run); });
}

void CDorneDoc::SerializeRunAnnotations(CArchiveReader& archive, CRun& run) {
  if (CRunReadSink* aside = CRunReadSink::Current()) {
    aside->Annotations().ReadRunList(archive, run);
    return;
  }
  WithAnnotationArchive([&](CAnnotationArchive& lists) { lists.ReadRunList(archive, run); });
}

void CDorneDoc::SerializeElementAnnotations(CArchiveWriter& archive, const CDev& element) const {
  // Every element of a design being written passes here, inside the writing's session.
  if (m_annotationArchive != nullptr)
    return m_annotationArchive->WriteElementList(archive, element);
  WithAnnotationArchive(
      [&](CAnnotationArchive& lists) { lists.WriteElementList(archive, element); });
}

void CDorneDoc::SerializeElementAnnotations(CArchiveReader& archive, CDev& element) {
  if (CRunReadSink* aside = CRunReadSink::Current()) {
    aside->Annotations().ReadElementList(archive, element);
    return;
  }
  // Every element of a file being read passes here, inside the load's session.
  if (m_annotationArchive != nullptr) {
    m_annotationArchive->ReadElementList(archive, element);
    return;
  }
  WithAnnotationArchive(
      [&](CAnnotationArchive& lists) { lists.ReadElementList(archive, element); });
}
