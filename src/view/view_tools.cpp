#include "view/view_tools.h"

#include "app/message_text.h"
#include "geometry/box.h"
#include "geometry/element_pick.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_place.h"
#include "model/undo/undo_manager.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kUndoPan = 23120;
constexpr int kUndoOrbit = 23122;
constexpr int kUndoZoomRect = 23127;
constexpr int kUndoPlaceStart = 21075;
constexpr int kUndoMoveRun = 21069;
constexpr int kUndoCopyRun = 21059;
constexpr int kUndoPlaceTapOff = 21582;
constexpr int kUndoMoveTapOff = 21581;
constexpr int kUndoCopyTapOff = 21571;
constexpr int kMsgAskLength = 30152;
constexpr int kMsgNoFreeOutlet = 62373;
constexpr int kMsgOutletTaken = 62374;
constexpr int kMsgTurnBuiltRun = 62378;
constexpr int kMsgTurnOnlyBends = 62379;
constexpr int kMsgNoDirection = 62380;
constexpr int kCursorPan = 159;
constexpr int kCursorCopyUnit = 1110;
constexpr int kCursorMoveUnit = 1113;
// Undo actions of the element tools 1..6.
constexpr int kElementToolActions[] = {0, 17494, 17473, 17492, 17477, 17488, 17482};

// The orientation code of a run's start, a quarter turn on (or back); other codes stay.
int StepRotation(int rotation, bool forward) {
  switch (rotation) {
    case 16: return forward ? 32 : 128;
    case 32: return forward ? 64 : 16;
    case 64: return forward ? 128 : 32;
    case 128: return forward ? 16 : 64;
    default: return rotation;
  }
}

C3DPoint Truncated(const C3DPoint& point) {
  return {std::trunc(point.x), std::trunc(point.y), std::trunc(point.z)};
}

}  // namespace

int CViewTools::Mode() const { return m_document.GetToolMode(); }

void CViewTools::SetMode(int mode) const { m_document.SetToolMode(mode); }

std::optional<C3DPoint> CViewTools::FirstPoint() const {
  if (m_pickState <= 0) return std::nullopt;
  return m_firstPoint;
}

std::optional<C3DPoint> CViewTools::SecondPoint() const {
  if (m_pickState != 3) return std::nullopt;
  return m_secondPoint;
}

void CViewTools::OnLButtonDown(const CToolInput& input) {
  const int mode = Mode();
  if (mode >= kAddStraight && mode <= kInsertJoint) return ElementToolPress(mode, input.logical);
  switch (mode) {
    case kSelect: SelectPress(input); return;
    case kRectangle:
      m_pressPoint = m_currentPoint = input.logical;
      m_host.Capture(true);
      SetModePrompt(kRectangle);
      return;
    case kPanArmed:
      m_pressPoint = m_currentPoint = input.logical;
      SetMode(kPanDragging);
      m_document.GetUndo().SaveUndoState(kUndoPan, false, false);
      m_host.Capture(true);
      SetModePrompt(kPanDragging);
      return;
    case kPlaceStart: PlaceStartPress(input); return;
    case kMoveRun: MoveRunPress(input); return;
    case kOrbit: OrbitPress(input); return;
    case kDimension: DimensionPress(); return;
    case kTapOff: TapOffPress(); return;
    default: return;
  }
}

void CViewTools::SelectPress(const CToolInput& input) {
  if (!GrabAnnotation(input)) SelectElementAt(input);
}

void CViewTools::SelectElementAt(const CToolInput& input) {
  const bool hadSelection = m_document.Selection().Element() != nullptr;
  if (m_document.ToolSelectAt(input.logical, input.keys) != 0) {
    if (SelectedTapOff() != nullptr) m_pickState = -1;
    m_host.Refresh();
  } else if (hadSelection) {
    m_host.Refresh();
  }
}

void CViewTools::ElementToolPress(int mode, CPoint point) {
  CUndoManager& undo = m_document.GetUndo();
  undo.SaveUndoState(kElementToolActions[mode], true, false);
  int result = 0;
  switch (mode) {
    case kAddStraight: result = m_document.ToolAddStraightAt(point); break;
    case kInsertUnit: result = m_document.ToolClickMode2(point); break;
    case kTurn:
      result = m_document.ToolTurnAtFace(point);
      if (result == 0) result = m_document.ToolClickMode3(point);
      // An element taken that cannot turn, or a turn refused: the user learns why.
      if (const std::string why = TurnRefusal(); !why.empty()) {
        if (result == 0) m_host.Beep();
        m_host.Tell(why);
        if (result == 0) return;
      }
      break;
    case kMakeEnd: result = m_document.ToolClickMode4(point); break;
    case kInsertInLine: result = m_document.ToolClickMode5(point); break;
    default: result = m_document.ToolClickMode6(point); break;
  }
  if (result == 0) {
    m_host.Beep();
    return;
  }
  undo.CommitUndoState(0);
  m_host.Refresh();
}

void CViewTools::PlaceStartPress(const CToolInput& input) {
  CRun* run = m_document.GetCurrentRun();
  CDev* marker = run != nullptr ? run->GetStartMarker() : nullptr;
  const int axis =
      m_document.Projection().FindAxisTowardPoint(m_document.GetCursorPoint(), input.logical);
  if (marker == nullptr || axis <= 0) {
    m_host.Beep();
    return;
  }
  if ((input.keys & kToolKeyControl) != 0) {
    const std::optional<CTypedMove> move = AskTypedMove(input.logical, true);
    if (!move) return;
    const C3DPoint point =
        Truncated(m_document.GetCursorPoint()) + RunMoveVector(move->axis, move->length);
    m_document.GetUndo().SaveUndoState(kUndoMoveRun, false, true);
    m_document.SetCursorPoint(point);
    marker->SetPosition(point);
  } else if ((axis & m_document.GetFreeFaceMask()) == 0) {
    run->SetRotationFlag(StepRotation(run->GetRotation(), true));
  } else {
    marker->SetDirection(FaceBitToIndex(axis));
    m_document.SetFreeFaceMask(63 - axis);
  }
  m_document.InsertElementAt(*run);
  m_host.Refresh();
}

void CViewTools::MoveRunPress(const CToolInput& input) {
  CRun* run = m_document.GetCurrentRun();
  if (run == nullptr || m_document.IsCurrentRunEditable() == 0) {
    m_host.Beep();
    return;
  }
  const std::optional<CTypedMove> move = AskTypedMove(input.logical, false);
  if (!move) return;
  const bool copy = m_pickState != 0;
  m_document.GetUndo().SaveUndoState(copy ? kUndoCopyRun : kUndoMoveRun, copy, true);
  if (m_pickState == 1) {
    m_document.DuplicateRun(0);
    // The copy made current would end the mode: its later clicks move the copy.
    SetMode(kMoveRun);
    m_pickState = 0;
    SetModeCursor(kMoveRun);
    m_document.RebuildScene();
    run = m_document.GetCurrentRun();
  }
  m_document.MoveRun(*run, RunMoveVector(move->axis, move->length));
  m_host.Refresh();
}

void CViewTools::OrbitPress(const CToolInput& input) {
  const CElementPick pick = HitTestElements(m_document.Projection(), input.logical);
  if (!pick.point) {
    m_host.Beep();
    return;
  }
  m_orbitAnchor = *pick.point;
  m_pressPoint = m_currentPoint = input.device;
  m_orbitActive = true;
  m_document.GetUndo().SaveUndoState(kUndoOrbit, true, false);
  m_host.Capture(true);
  m_host.Refresh();
}

void CViewTools::DimensionPress() {
  if (m_pickState == 1) {
    m_pickState = 2;
    m_host.Refresh();
    return;
  }
  if (m_pickState != 3) {
    m_host.Beep();
    return;
  }
  CreateDimension();
  m_savedMode = kSelect;
  SetMode(kSelect);
  SetModeCursor(kSelect);
  SetModePrompt(kSelect);
  m_host.Refresh();
}

void CViewTools::TapOffPress() {
  if (m_secondCode <= 0) {
    m_host.Beep();
    return;
  }
  if (m_pickState != 1 || m_firstBox == nullptr)
    return Refuse(m_outletTaken ? kMsgOutletTaken : kMsgNoFreeOutlet);
  m_document.GetUndo().SaveUndoState(kUndoPlaceTapOff, true, true);
  if (m_host.PlaceTapOffUnit(*m_firstBox, m_firstCode, nullptr) != 0) {
    SetModePrompt(kTapOff);
  } else if (TapOffUnitFoundAtSpot() != nullptr) {
    Refuse(kMsgOutletTaken);
  } else {
    // A collision was told in its own message.
    m_host.Beep();
  }
  m_host.Refresh();
}

std::string CViewTools::TurnRefusal() const {
  const CRun* run = m_document.GetCurrentRun();
  if (run == nullptr || m_document.IsCurrentRunEditable() == 0) return {};
  if (run->GetPartsState() != 0)
    return FormatMessageTextS(StringText(kMsgTurnBuiltRun), run->GetPropText("Name"));
  const CDev* current = run->GetCurrentElement();
  const int kind = current != nullptr ? current->GetKind() : -1;
  return kind == CDev::kElbow || kind == CDev::kBend ? std::string()
                                                     : StringText(kMsgTurnOnlyBends);
}

void CViewTools::OnMouseMove(const CToolInput& input) {
  m_lastMouse = input.logical;
  switch (Mode()) {
    case kSelect:
      if (m_pickState < 0 && GrabbedUnitLeft(input.logical, input.keys)) HoverMove(input);
      return;
    case kRectangle:
      if (input.logical != m_currentPoint && m_host.HasCapture()) {
        m_currentPoint = input.logical;
        m_host.Refresh();
      }
      return;
    case kPanDragging: PanMove(input.logical); return;
    case kAnnotationDrag: DragAnnotation(input); return;
    case kOrbit: OrbitMove(input.device); return;
    case kDimension:
    case kTapOff: HoverMove(input); return;
    default:
      // The ray under the pointer is drawn apart: the user sees which way a click goes.
      if (const int axis = HoveredAxis(); axis != m_hoveredAxis) {
        m_hoveredAxis = axis;
        m_host.Refresh();
      }
      return;
  }
}

int CViewTools::HoveredAxis() const {
  int mask = 0;
  switch (Mode()) {
    case kAddStraight:
    case kTurn: mask = m_document.GetFreeFaceMask(); break;
    case kPlaceStart:
    case kMoveRun: mask = 63; break;
    default: return 0;
  }
  const int axis =
      m_document.Projection().FindAxisTowardPoint(m_document.GetCursorPoint(), m_lastMouse);
  return axis > 0 && (axis & mask) != 0 ? axis : 0;
}

bool CViewTools::GrabbedUnitLeft(CPoint logical, int keys) {
  CDev* unit = SelectedTapOff();
  const CBox* body = unit != nullptr ? unit->GetBox(CDev::kBodySlot) : nullptr;
  if (body == nullptr || body->HitTestFace(logical.x, logical.y, true) != 0) return false;
  SetMode(kTapOff);
  m_savedMode = kTapOff;
  m_pickState = 0;
  // Outlets that take the unit's own connection mask are offered (the mark the
  // distribution leaves in it is no outlet bit).
  const auto mask = static_cast<std::uint32_t>(unit->GetBookedLength()) & ~kTapOffMarkBit;
  m_secondCode = mask != 0 && mask < (1u << 22) ? -static_cast<int>(mask << 8) : -1;
  m_host.Capture(true);
  m_host.SetCursor((keys & kToolKeyControl) != 0 ? kCursorCopyUnit : kCursorMoveUnit);
  return true;
}

void CViewTools::PanMove(CPoint logical) {
  if (logical == m_currentPoint || !m_host.HasCapture()) return;
  const auto& centre = m_document.GetViewCentre();
  m_document.SetViewCentre(centre[0] + (m_pressPoint.x - logical.x),
                           centre[1] + (m_pressPoint.y - logical.y));
  m_host.Refresh();
}

void CViewTools::OrbitMove(CPoint device) {
  if (!m_orbitActive || device == m_currentPoint || !m_host.HasCapture()) return;
  const int dx = device.x - m_currentPoint.x;
  const int dy = device.y - m_currentPoint.y;
  m_currentPoint = device;
  C3DProjection& projection = m_document.Projection();
  const CPoint before = projection.ProjectPoint(m_orbitAnchor);
  // One degree per pixel: up and down about the first angle, sideways about the second.
  // The order of the scene waits until the mouse rests or lets go.
  m_document.TurnView(projection.GetViewAngle(0) + dy, projection.GetViewAngle(1) + dx,
                      projection.GetViewAngle(2));
  const CPoint after = projection.ProjectPoint(m_orbitAnchor);
  const auto& centre = m_document.GetViewCentre();
  // The anchor keeps its place on the screen.
  m_document.SetViewCentre(after.x - (before.x - centre[0]), after.y - (before.y - centre[1]));
  m_host.FindViewPreset();
  m_host.Refresh();
}

std::vector<CTapOffOutlet> CViewTools::OfferedOutlets() const {
  const CRun* run = m_document.GetCurrentRun();
  if (Mode() != kTapOff || run == nullptr) return {};
  return TapOffOutlets(*run, static_cast<std::uint32_t>(std::abs(m_secondCode)) >> 8);
}

std::optional<CTapOffOutlet> CViewTools::OutletNear(CPoint device) const {
  std::optional<CTapOffOutlet> nearest;
  std::int64_t best = static_cast<std::int64_t>(kOutletReach) * kOutletReach + 1;
  for (const CTapOffOutlet& outlet : OfferedOutlets()) {
    const CPoint at = m_host.ToDevice(m_document.Projection().ProjectPoint(outlet.position));
    const std::int64_t dx = at.x - device.x, dy = at.y - device.y;
    const std::int64_t distance = dx * dx + dy * dy;
    // Both sides of a joint share their outlets' places: a free side wins over a taken one.
    const bool freeInstead = nearest && distance == best && nearest->taken && !outlet.taken;
    if (distance >= best && !freeInstead) continue;
    best = distance;
    nearest = outlet;
  }
  return nearest;
}

void CViewTools::HoverMove(const CToolInput& input) {
  const CPoint logical = input.logical;
  const bool dimension = Mode() == kDimension;
  const int code = dimension ? 1 : std::abs(m_secondCode) + 10;
  CElementPick pick = HitTestElements(m_document.Projection(), logical, code);
  m_outletTaken = false;
  // The outlets are small at most zooms: off their boxes the pointer takes the nearest
  // one drawn.
  const std::optional<CTapOffOutlet> outlet =
      pick.point || dimension ? std::nullopt : OutletNear(input.device);
  if (outlet) {
    m_outletTaken = outlet->taken;
    if (!outlet->taken) pick = CElementPick{outlet->position, outlet->point, outlet->box};
  }
  if (pick.point && m_pickState <= 1) {
    m_firstPoint = *pick.point;
    m_firstCode = pick.code;
    m_firstBox = pick.box;
    m_pickState = 1;
    const CDev* owner =
        pick.box != nullptr ? dynamic_cast<const CDev*>(pick.box->GetOwner()) : nullptr;
    if (!dimension && (owner == nullptr || owner->GetRun() != m_document.GetCurrentRun()))
      m_pickState = 0;
  } else if (pick.point) {
    m_secondPoint = *pick.point;
    m_secondBox = pick.box;
    m_secondCode = dimension ? pick.code : m_secondCode;
    m_pickState = m_firstPoint.DistanceTo(m_secondPoint) >= 1 ? 3 : 2;
  } else if (m_pickState == 1) {
    m_pickState = 0;
  } else if (m_pickState == 3) {
    m_pickState = 2;
  }
  m_currentPoint = logical;
  m_host.Refresh();
}

void CViewTools::OnLButtonUp(const CToolInput& input) {
  switch (Mode()) {
    case kSelect: m_pickState = 0; return;
    case kRectangle: RectangleRelease(input.logical); return;
    case kAnnotationDrag: DropAnnotation(input); return;
    case kPanDragging:
      SetMode(kPanArmed);
      m_document.GetUndo().CommitUndoState(kUndoPan);
      m_host.Capture(false);
      SetModeCursor(kPanArmed);
      SetModePrompt(kPanArmed);
      return;
    case kOrbit:
      m_orbitActive = false;
      m_document.GetUndo().CommitUndoState(kUndoOrbit);
      m_host.Capture(false);
      // A press released without a turn leaves the scene the rebuild would make, and so
      // does a turned whole scene once settled (aside or at a rest). Any other turned
      // view's order is the release's to make the rebuild's: built anew one box at a
      // time, which costs less than a sort on several threads on a busy machine; unless
      // the host settles it aside, the moving picture shown meanwhile.
      if (m_host.SettleTurnAside()) return;
      if (!m_document.HasWholeScene()) m_document.RebuildScene();
      m_host.Refresh();
      return;
    case kTapOff:
      if (m_secondCode < 0) TapOffRelease(input.keys);
      return;
    default: return;
  }
}

void CViewTools::RectangleRelease(CPoint logical) {
  if (m_pickState == 0) {
    m_document.GetUndo().SaveUndoState(kUndoZoomRect, true, true);
    m_host.ZoomToRect(m_pressPoint, logical);
  } else if (logical == m_pressPoint) {
    m_host.ExportViewImage(CRect{0, 0, 0, 0});
  } else {
    const CPoint a = m_host.ToDevice(m_pressPoint);
    const CPoint b = m_host.ToDevice(logical);
    m_pickState = 3;
    m_host.ExportViewImage(
        CRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
  }
  m_pickState = 0;
  SetMode(m_savedMode);
  m_host.Capture(false);
  SetModeCursor(m_savedMode);
  SetModePrompt(m_savedMode);
  m_host.Refresh();
}

void CViewTools::TapOffRelease(int keys) {
  m_host.Capture(false);
  CDev* unit = SelectedTapOff();
  int placed = 0;
  if (m_pickState == 1 && unit != nullptr && m_firstBox != nullptr) {
    const bool copy = (keys & kToolKeyControl) != 0;
    m_document.GetUndo().SaveUndoState(copy ? kUndoCopyTapOff : kUndoMoveTapOff, copy, false);
    placed = m_host.PlaceTapOffUnit(*m_firstBox, copy ? -m_firstCode : m_firstCode, unit);
  }
  TapOffCommand();
  if (placed != 0) m_document.GetUndo().CommitUndoState(0);
  m_host.Refresh();
}

void CViewTools::OnLButtonDblClk(const CToolInput& input) {
  if (Mode() != kSelect || EditAnnotationAt(input)) return;
  if (m_document.SelectAtOrShowRun(input.logical) != 0) {
    m_host.Refresh();
  } else {
    m_host.Beep();
  }
}

void CViewTools::OnRButtonDblClk(const CToolInput& input) { OnLButtonDblClk(input); }

void CViewTools::OnRButtonDown(const CToolInput& input) {
  const int mode = Mode();
  if (mode == kSelect && ResetAnnotationAt(input)) return;
  if (mode == kTurn) {
    // The bend the right button inserts is an edit like the others: it can be undone.
    CUndoManager& undo = m_document.GetUndo();
    undo.SaveUndoState(kElementToolActions[kTurn], true, false);
    if (m_document.ToolRightClick(input.logical) != 0) {
      undo.CommitUndoState(0);
      m_host.Refresh();
      return;
    }
  } else if (mode == kPlaceStart) {
    CRun* run = m_document.GetCurrentRun();
    CDev* marker = run != nullptr ? run->GetStartMarker() : nullptr;
    const int axis =
        m_document.Projection().FindAxisTowardPoint(m_document.GetCursorPoint(), input.logical);
    if (marker == nullptr || (axis & m_document.GetFreeFaceMask()) != 0) {
      m_host.Beep();
      return;
    }
    run->SetRotationFlag(StepRotation(run->GetRotation(), false));
    m_document.InsertElementAt(*run);
    m_host.Refresh();
    return;
  }
  FinishMouseAction();
}

void CViewTools::OnMButtonDown(const CToolInput& input) {
  if (m_host.HasCapture() || Mode() == kPanDragging) return;
  if (Mode() != kPanArmed) PanCommand();
  OnLButtonDown(input);
  m_host.SetCursor(kCursorPan);
}

void CViewTools::OnMButtonUp(const CToolInput& input) {
  if (Mode() == kPanDragging) OnLButtonUp(input);
  if (Mode() == kPanArmed) PanCommand();
}

bool CViewTools::OnKeyDown(int key, int keys) {
  if (Mode() == kTapOff && m_secondCode < 0 && (keys & kToolKeyControl) != 0)
    m_host.SetCursor(kCursorCopyUnit);
  if (key == kKeyEscape) {
    FinishMouseAction();
    return true;
  }
  CRun* run = m_document.GetCurrentRun();
  if (key != kKeyEnter || run == nullptr || m_document.IsCurrentRunEditable() != 0) return false;
  m_document.GetUndo().SaveUndoState(kUndoPlaceStart, true, true);
  m_document.PlaceRunStart(*run);
  SetModePrompt(Mode());
  SetModeCursor(kAddStraight);
  return true;
}

void CViewTools::OnKeyUp(int keys) {
  if (Mode() == kTapOff && m_secondCode < 0 && (keys & kToolKeyControl) == 0)
    m_host.SetCursor(kCursorMoveUnit);
}

void CViewTools::FinishMouseAction() {
  switch (Mode()) {
    case kSelect: return;
    case kRectangle: m_host.Capture(false); break;
    case kAnnotationDrag:
      m_dragged = nullptr;
      m_host.Capture(false);
      break;
    case kPanDragging:
      m_document.GetUndo().CommitUndoState(kUndoPan);
      m_host.Capture(false);
      break;
    case kOrbit:
      m_orbitActive = false;
      m_document.GetUndo().CommitUndoState(kUndoOrbit);
      m_host.Capture(false);
      break;
    case kTapOff:
      if (m_secondCode < 0) m_host.Capture(false);
      break;
    default: break;
  }
  SelectCommand();
}

CDev* CViewTools::SelectedTapOff() const {
  CDev* element = m_document.Selection().Element();
  return element != nullptr && element->GetKind() == CDev::kTapOff ? element : nullptr;
}

std::optional<CViewTools::CTypedMove> CViewTools::AskTypedMove(CPoint logical, bool roundToFour) {
  const C3DProjection& projection = m_document.Projection();
  const C3DPoint origin = m_document.GetCursorPoint();
  CTypedMove move;
  move.axis = projection.FindAxisTowardPoint(origin, logical);
  if (move.axis <= 0) {
    Refuse(kMsgNoDirection);
    return std::nullopt;
  }
  const int offered = projection.LengthTowardPoint(origin, logical, -1);
  const std::optional<std::string> answer =
      m_host.AskText(kMsgAskLength, m_document.GetUnits().FormatScaled(offered));
  if (!answer) return std::nullopt;
  const std::optional<std::int64_t> length = ParseTypedLength(m_document, *answer, roundToFour);
  // The start point may stay where it is (0); a run moves by one unit at least.
  const std::int64_t least = roundToFour ? 0 : 1;
  if (!length || *length < least || *length > kMaxTypedLength) {
    m_host.Beep();
    return std::nullopt;
  }
  move.length = *length;
  return move;
}
