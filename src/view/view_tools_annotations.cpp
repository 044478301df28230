// The annotations under the mouse in the select tool: a press grabs one and a release
// drops it where the mouse let go, a double click opens its dialog, the right button puts
// a dimension's label back onto its line; and the commands that make a text or a picture.

#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/undo/undo_manager.h"
#include "view/annotation_edit.h"
#include "view/view_tools.h"

namespace {

constexpr int kCursorDrag = 30993;
constexpr int kUndoNewText = 29774;
constexpr int kUndoNewPicture = 26958;
// Offsets of free labels are thousandths of half the window: 1000 is its middle.
constexpr std::int32_t kMiddleOfTheView = 1000;
constexpr int kUndoEditText = 29764;
constexpr int kUndoEditPicture = 26948;
constexpr int kUndoEditDimension = 13124;
constexpr int kScreenSpan = 2000;

// A new label goes below those already made at the middle, so that none hides another.
constexpr std::int32_t kNewLabelStep = 80;

std::array<std::int32_t, 2> FreeLabelPlace(const CAnnotationList& labels) {
  std::array<std::int32_t, 2> place{kMiddleOfTheView, kMiddleOfTheView};
  for (std::size_t tries = 0; tries <= labels.Size(); ++tries) {
    bool taken = false;
    for (std::size_t i = 0; i < labels.Size() && !taken; ++i) {
      const CAnnotation& other = *labels.At(i);
      taken = (other.GetKind() == CAnnotation::kText || other.GetKind() == CAnnotation::kImage) &&
              other.GetOffset() == place;
    }
    if (!taken) break;
    place[1] += kNewLabelStep;
  }
  return place;
}

int EditAction(int kind) {
  switch (kind) {
    case CAnnotation::kImage: return kUndoEditPicture;
    case CAnnotation::kDistance: return kUndoEditDimension;
    default: return kUndoEditText;
  }
}

}  // namespace

CPoint CViewTools::DragShift() const {
  if (m_dragged == nullptr || Mode() != kAnnotationDrag) return {};
  if (!m_dragWorld) return {m_currentPoint.x - m_pressPoint.x, m_currentPoint.y - m_pressPoint.y};
  const CPoint a = m_host.ToDevice(m_pressPoint);
  const CPoint b = m_host.ToDevice(m_currentPoint);
  return {b.x - a.x, b.y - a.y};
}

bool CViewTools::GrabAnnotation(const CToolInput& input) {
  CAnnotation* hit =
      HitTestAnnotations(m_document.Annotations(), m_host.LabelPlaces(), input.device);
  if (hit == nullptr || hit->GetKind() == CAnnotation::kTitleBlock) return false;
  m_savedMode = Mode();
  SetMode(kAnnotationDrag);
  m_dragged = hit;
  m_dragWorld = IsWorldAnchored(*hit);
  m_pressPoint = m_currentPoint = m_dragWorld ? input.logical : input.device;
  m_pressInput = input;
  m_host.Capture(true);
  m_host.SetCursor(kCursorDrag);
  m_host.Refresh();
  return true;
}

void CViewTools::DragAnnotation(const CToolInput& input) {
  const CPoint point = m_dragWorld ? input.logical : input.device;
  if (point == m_currentPoint || !m_host.HasCapture()) return;
  m_currentPoint = point;
  m_host.SetCursor(kCursorDrag);
  m_host.Refresh();
}

void CViewTools::DropAnnotation(const CToolInput& input) {
  CAnnotation* dragged = m_dragged;
  const CPoint point = m_dragWorld ? input.logical : input.device;
  std::int32_t dx = point.x - m_pressPoint.x;
  std::int32_t dy = point.y - m_pressPoint.y;
  if (!m_dragWorld) {
    const CRect client = m_host.ClientRect();
    const std::int64_t width = std::max<std::int32_t>(1, client.right - client.left);
    const std::int64_t height = std::max<std::int32_t>(1, client.bottom - client.top);
    dx = static_cast<std::int32_t>(dx * std::int64_t{kScreenSpan} / width);
    dy = static_cast<std::int32_t>(dy * std::int64_t{kScreenSpan} / height);
  }
  m_dragged = nullptr;
  SetMode(m_savedMode);
  m_host.Capture(false);
  SetModeCursor(m_savedMode);
  // A click that dragged nothing is a click on what lies under the label.
  if (point == m_pressPoint) {
    SelectElementAt(m_pressInput);
    m_pickState = 0;
    return;
  }
  if (dragged != nullptr && (dx != 0 || dy != 0) && m_document.Annotations().Contains(dragged)) {
    CUndoManager& undo = m_document.GetUndo();
    undo.SaveUndoState(EditAction(dragged->GetKind()), true, false);
    MoveAnnotation(m_document, *dragged, dx, dy, EAnnotationMove::kDrag);
    undo.CommitUndoState(0);
    m_document.SetModifiedFlag(true);
  }
  m_host.Refresh();
}

int CViewTools::RunEdit(CAnnotationLabel& label, bool isNew) {
  if (!IsUserEditable(label)) return kEditCancel;
  if (label.GetKind() == CAnnotation::kDistance && isNew) {
    MoveAnnotation(m_document, label, 0, 0, EAnnotationMove::kRecompute);
    return kEditOk;
  }
  const int result = m_host.EditAnnotation(label, isNew);
  if (result == kEditOk && label.GetKind() == CAnnotation::kDistance)
    MoveAnnotation(m_document, label, 0, 0, EAnnotationMove::kRecompute);
  return result;
}

bool CViewTools::EditAnnotationAt(const CToolInput& input) {
  CAnnotation* hit =
      HitTestAnnotations(m_document.Annotations(), m_host.LabelPlaces(), input.device);
  if (hit == nullptr) return false;
  if (hit->GetKind() == CAnnotation::kTitleBlock) {
    m_host.EditProjectInfo();
    return true;
  }
  if (!IsUserEditable(*hit)) return false;
  CUndoManager& undo = m_document.GetUndo();
  undo.SaveUndoState(EditAction(hit->GetKind()), true, false);
  const int result = RunEdit(static_cast<CAnnotationLabel&>(*hit), false);
  if (ApplyEditResult(m_document, nullptr, hit, result)) {
    undo.CommitUndoState(0);
    m_document.SetModifiedFlag(true);
  }
  m_host.Refresh();
  return result != kEditNone;
}

bool CViewTools::ResetAnnotationAt(const CToolInput& input) {
  CAnnotation* hit =
      HitTestAnnotations(m_document.Annotations(), m_host.LabelPlaces(), input.device);
  if (hit == nullptr ||
      (hit->GetKind() != CAnnotation::kBranch && hit->GetKind() != CAnnotation::kDistance))
    return false;
  CUndoManager& undo = m_document.GetUndo();
  undo.SaveUndoState(EditAction(hit->GetKind()), true, false);
  MoveAnnotation(m_document, *hit, 0, 0, EAnnotationMove::kReset);
  undo.CommitUndoState(0);
  m_document.SetModifiedFlag(true);
  m_host.Refresh();
  return true;
}

void CViewTools::NewLabelCommand(int kind) {
  m_document.GetUndo().SaveUndoState(kind == CAnnotation::kImage ? kUndoNewPicture : kUndoNewText,
                                     true, false);
  auto made = std::make_unique<CAnnotationLabel>(kind);
  made->SetOwnerDocument();
  // Near the middle of the view: the corner is where the first run's label stands, and a
  // label begun there would hide under it and half outside the view.
  const std::array<std::int32_t, 2> place = FreeLabelPlace(m_document.Annotations());
  made->SetOffset(place[0], place[1]);
  // Tied to the run shown alone, when one is: with every run shown such a label would
  // never be drawn, and the new label is to be seen where it is placed.
  if (m_document.IsCurrentRunOnly()) made->SetFlags(made->GetFlags() | CAnnotation::kFlagWithRun);
  CAnnotationLabel& label = *made;
  if (ApplyEditResult(m_document, std::move(made), nullptr, RunEdit(label, true))) {
    m_document.GetUndo().CommitUndoState(0);
    m_document.SetModifiedFlag(true);
  }
  m_host.Refresh();
}
