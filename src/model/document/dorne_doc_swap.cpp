#include "model/document/dorne_doc.h"

#include "model/document/doc_observer.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"

#include <utility>

void CDorneDoc::SwapContent(CDorneDoc& other) {
  // The pages of the runs that leave must go before those runs die with the other
  // document; the arriving runs get theirs.
  for (CRun* run : m_runList) Notify(EDocNotice::kRunRemoved, run);
  // A whole scene goes with its design (the angles go with it below): an undo or a redo
  // between kept designs then needs no rebuild.
  const bool ownWhole = HasWholeScene();
  const bool otherWhole = other.HasWholeScene();
  m_projection.SwapDisplayList(other.m_projection);
  m_selection.Clear();
  other.m_selection.Clear();
  std::swap(m_props, other.m_props);
  std::swap(m_viewCentre, other.m_viewCentre);
  std::swap(m_viewSize, other.m_viewSize);
  std::swap(m_viewScale, other.m_viewScale);
  std::swap(m_toolMode, other.m_toolMode);
  std::swap(m_workArea, other.m_workArea);
  std::swap(m_cursor, other.m_cursor);
  std::swap(m_freeFaceMask, other.m_freeFaceMask);
  std::swap(m_pending, other.m_pending);
  std::swap(m_currentRunOnly, other.m_currentRunOnly);
  m_annotations.Swap(other.m_annotations);
  std::swap(m_printScale, other.m_printScale);
  std::swap(m_currentRun, other.m_currentRun);
  std::swap(m_runs, other.m_runs);
  std::swap(m_runList, other.m_runList);
  std::swap(m_nextRunName, other.m_nextRunName);
  std::swap(m_extraBoxes, other.m_extraBoxes);
  std::swap(m_unit, other.m_unit);
  std::swap(m_unitId, other.m_unitId);
  std::swap(m_rate, other.m_rate);
  std::swap(m_totals, other.m_totals);
  std::swap(m_keptLineSums, other.m_keptLineSums);
  std::swap(m_viewPreset, other.m_viewPreset);
  std::swap(m_totalsPageShown, other.m_totalsPageShown);
  std::swap(m_totalsPageRect, other.m_totalsPageRect);
  for (CRun* run : m_runList) run->SetDocument(this);
  for (CRun* run : other.m_runList) run->SetDocument(&other);
  const int a = other.m_projection.GetViewAngle(0);
  const int b = other.m_projection.GetViewAngle(1);
  const int c = other.m_projection.GetViewAngle(2);
  other.m_projection.SetViewAngles(m_projection.GetViewAngle(0), m_projection.GetViewAngle(1),
                                   m_projection.GetViewAngle(2), false, false);
  // The boxes come projected with these angles already.
  m_projection.SetViewAngles(a, b, c, false, false);
  KeepSceneIfWhole(otherWhole);
  other.KeepSceneIfWhole(ownWhole);
  SetModifiedFlag(true);
  for (CRun* run : m_runList) Notify(EDocNotice::kRunAdded, run);
  Notify(EDocNotice::kCurrentRunChanged, m_currentRun);
  // The design arrived read aside, where it told the property window nothing: the window
  // shows its current run as a reading of this document would have, rather than an
  // object of the design that just left.
  if (m_currentRun != nullptr)
    m_currentRun->NotifyPropDialog(m_currentRun->GetFlagsWord() != 0 ? kPropMsgShowObject
                                                                     : kPropMsgClear);
  UpdateAllViews();
}

void CDorneDoc::KeepSceneIfWhole(bool whole) {
  m_keptSceneArrived = whole;
  if (whole) MarkSceneWhole();
  else m_projection.ClearDisplayList();
}
