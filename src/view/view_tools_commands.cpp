#include "view/view_tools.h"

#include "app/message_text.h"
#include "model/annotation/annotation_label.h"
#include "view/annotation_edit.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace {

constexpr int kCmdSelect = 32780;
constexpr std::array<int, 6> kCmdElementTools = {32781, 32776, 32782, 32777, 32844, 32779};
constexpr int kCmdZoomRect = 32858;
constexpr int kCmdPictureRegion = 33061;
constexpr int kCmdPan = 32786;
constexpr int kCmdOrbit = 33024;
constexpr int kCmdDimension = 33028;
constexpr int kCmdTapOff = 33030;
constexpr int kCmdNewText = 32999;
constexpr int kCmdNewPicture = 33000;
constexpr int kCmdMoveRun = 32988;
constexpr int kCmdCopyRun = 33029;
constexpr int kCmdDeleteElement = 32862;
constexpr int kUndoDeleteElement = 17476;
constexpr int kUndoDimension = 13134;
constexpr int kTapOffLoadsComputed = 6;
constexpr int kDialogOk = 1;

constexpr std::array<int, CViewTools::kModeCount> kCursors = {
    156, 161, 164, 160, 163, 162, 155, 182, 159, 159, 185, 0, 185, 30992, 156, 1374};
constexpr std::array<int, CViewTools::kModeCount> kPrompts = {
    31472, 31473, 31474, 31475, 31476, 31477, 31478, 31469,
    31470, 31471, 31479, 0,     62371, 31468, 62382, 62370};
constexpr int kPromptCopyRun = 62372;

// Where a box sits among its element's 25 boxes as a dimension end stores it.
int StoredBoxIndex(const CDev* element, const CBox* box) {
  const int slot =
      element != nullptr && box != nullptr ? element->GetBoxSlot(*box) : CDev::kSlotCount;
  if (slot >= CDev::kSlotCount) return 16;
  return slot >= 16 ? slot + 1 : slot;
}

}  // namespace

int CViewTools::CursorOf(int mode, int pickState) {
  if (mode < 0 || mode >= kModeCount) return 0;
  if (mode == kRectangle && pickState == 1) return 30994;
  if (mode == kMoveRun && pickState == 1) return 201;
  return kCursors[static_cast<std::size_t>(mode)];
}

int CViewTools::PromptOf(int mode, int pickState) {
  if (mode == kMoveRun && pickState == 1) return kPromptCopyRun;
  return mode < 0 || mode >= kModeCount ? 0 : kPrompts[static_cast<std::size_t>(mode)];
}

void CViewTools::SetModePrompt(int mode) {
  if (const int prompt = PromptOf(mode, m_pickState); prompt != 0) m_host.SetPrompt(prompt);
}

void CViewTools::Refuse(int message, const std::string& parameter) {
  m_host.Beep();
  m_host.Tell(FormatMessageTextS(StringText(message), parameter));
}

void CViewTools::ShowModeCursorAndPrompt() {
  SetModeCursor(Mode());
  SetModePrompt(Mode());
}

void CViewTools::ForgetPicks() {
  m_firstBox = m_secondBox = nullptr;
  if (m_dragged != nullptr && Mode() == kAnnotationDrag) {
    m_host.Capture(false);
    SetMode(m_savedMode);
  }
  m_dragged = nullptr;
  const int mode = Mode();
  if (mode == kDimension || mode == kTapOff || m_pickState < 0) m_pickState = 0;
}

std::string CViewTools::DistanceText() const {
  if (m_document.IsCurrentRunEditable() == 0) return {};
  int length = -1;
  const int axis = m_document.Projection().FindAxisTowardPoint(m_document.GetCursorPoint(),
                                                               m_lastMouse, &length);
  if (axis <= 0 || (axis & m_document.GetFreeFaceMask()) == 0) return {};
  return m_document.GetUnits().FormatScaled(length);
}

bool CViewTools::Handles(int command) {
  if (std::find(kCmdElementTools.begin(), kCmdElementTools.end(), command) !=
      kCmdElementTools.end())
    return true;
  for (int handled :
       {kCmdSelect, kCmdZoomRect, kCmdPictureRegion, kCmdPan, kCmdOrbit, kCmdDimension, kCmdMoveRun,
        kCmdCopyRun, kCmdTapOff, kCmdDeleteElement, kCmdNewText, kCmdNewPicture})
    if (handled == command) return true;
  return false;
}

bool CViewTools::OnCommand(int command) {
  for (std::size_t i = 0; i < kCmdElementTools.size(); ++i) {
    if (kCmdElementTools[i] != command) continue;
    ElementToolCommand(static_cast<int>(i) + 1);
    return true;
  }
  switch (command) {
    case kCmdSelect: SelectCommand(); return true;
    case kCmdZoomRect: RectangleEntry(0); return true;
    case kCmdPictureRegion: RectangleEntry(1); return true;
    case kCmdPan: PanCommand(); return true;
    case kCmdOrbit: OrbitCommand(); return true;
    case kCmdDimension: DimensionCommand(); return true;
    case kCmdMoveRun: RunCommand(0); return true;
    case kCmdCopyRun: RunCommand(1); return true;
    case kCmdTapOff: TapOffCommand(); return true;
    case kCmdNewText: NewLabelCommand(CAnnotation::kText); return true;
    case kCmdNewPicture: NewLabelCommand(CAnnotation::kImage); return true;
    case kCmdDeleteElement: DeleteElementCommand(); return true;
    default: return false;
  }
}

void CViewTools::EndCommand() {
  SetModeCursor(Mode());
  SetModePrompt(Mode());
  m_document.RebuildScene();
  m_host.Refresh();
}

void CViewTools::SelectCommand() {
  const int mode = m_document.IsCurrentRunEditable() != 0 ? kSelect : kPlaceStart;
  SetMode(mode);
  m_savedMode = mode;
  m_pickState = 0;
  EndCommand();
}

void CViewTools::ElementToolCommand(int mode) {
  if (CDev* selected = m_document.Selection().Element()) selected->SelectElement(false, nullptr);
  SetMode(mode);
  m_savedMode = mode;
  CRun* run = m_document.GetCurrentRun();
  const CDev* current = run != nullptr ? run->GetCurrentElement() : nullptr;
  // The mask of the turn tool differs from that of adding: the mode is set first.
  if ((mode == kAddStraight || mode == kTurn) && current != nullptr)
    m_document.SetFreeFaceMask(current->GetFreeFaceMask());
  EndCommand();
}

void CViewTools::RectangleEntry(int pickState) {
  const int mode = Mode();
  // Refused, the command leaves the rectangle under way as it is.
  if (mode == kRectangle) {
    m_host.Beep();
    return;
  }
  m_pickState = pickState;
  if (mode != kPanArmed && mode != kOrbit) m_savedMode = mode;
  SetMode(kRectangle);
  EndCommand();
}

void CViewTools::PanCommand() {
  const int mode = Mode();
  if (mode == kPanArmed) {
    SetMode(m_savedMode);
  } else {
    if (mode != kRectangle && mode != kOrbit) m_savedMode = mode;
    SetMode(kPanArmed);
  }
  EndCommand();
}

void CViewTools::OrbitCommand() {
  const int mode = Mode();
  if (mode == kOrbit) {
    SetMode(m_savedMode);
  } else {
    if (mode != kRectangle && mode != kPanArmed) m_savedMode = mode;
    SetMode(kOrbit);
    m_orbitActive = false;
  }
  EndCommand();
}

void CViewTools::DimensionCommand() {
  if (Mode() == kDimension) {
    m_savedMode = kSelect;
    SetMode(kSelect);
    m_host.SetDistanceLayer(false);
  } else {
    SetMode(kDimension);
    m_pickState = 0;
    m_host.SetDistanceLayer(true);
  }
  EndCommand();
}

void CViewTools::RunCommand(int pickState) {
  const CRun* run = m_document.GetCurrentRun();
  if (m_document.IsCurrentRunEditable() == 0 || run->GetSecondStateFlag() == 0) {
    m_host.Beep();
    return;
  }
  FinishMouseAction();
  SetMode(kMoveRun);
  m_pickState = pickState;
  // The prompt says how the tool is used: a click alone moves nothing, a length is asked.
  EndCommand();
}

void CViewTools::TapOffCommand() {
  if (Mode() == kTapOff) {
    SetMode(kSelect);
    m_savedMode = kSelect;
  } else {
    int code = 0;
    int result = m_host.RunTapOffDialog(code);
    if (result == kTapOffLoadsComputed) result = kDialogOk;
    if (result != kDialogOk) return;
    SetMode(kTapOff);
    m_savedMode = kTapOff;
    m_pickState = 0;
    m_secondCode = code;
  }
  EndCommand();
}

void CViewTools::DeleteElementCommand() {
  CRun* run = m_document.GetCurrentRun();
  if (Mode() != kSelect || run == nullptr || m_document.Selection().Element() == nullptr) {
    m_host.Beep();
    return;
  }
  CUndoManager& undo = m_document.GetUndo();
  undo.SaveUndoState(kUndoDeleteElement, true, false);
  bool removed = false;
  if (m_document.DeleteCurrentElement(&removed) == 0) {
    m_host.Beep();
    return;
  }
  // Answering Cancel to the question also reports success, but changed nothing.
  if (removed) undo.CommitUndoState(0);
  m_host.Refresh();
}

void CViewTools::CreateDimension() {
  m_document.GetUndo().SaveUndoState(kUndoDimension, true, false);
  auto made = std::make_unique<CAnnotationLabel>(CAnnotation::kDistance);
  CAnnotationLabel& label = *made;
  std::uint32_t flags = label.GetFlags() & 0xFFu;
  CAnnotationLabel::CDimensionCodes codes;
  const std::array<CBox*, 2> boxes = {m_firstBox, m_secondBox};
  for (int end = 0; end < 2; ++end) {
    const CBox* box = boxes[static_cast<std::size_t>(end)];
    CDev* element = box != nullptr ? dynamic_cast<CDev*>(box->GetOwner()) : nullptr;
    label.SetPoint(end, end == 0 ? m_firstPoint : m_secondPoint);
    label.SetEnd(end, element);
    (end == 0 ? codes.firstBox : codes.secondBox) = StoredBoxIndex(element, box);
    (end == 0 ? codes.firstPoint : codes.secondPoint) = end == 0 ? m_firstCode : m_secondCode;
  }
  label.SetFlags(flags);
  label.SetDimensionCodes(codes);
  label.SetOwnerDocument();
  // A dimension the dialog did not accept is not left half made.
  if (ApplyEditResult(m_document, std::move(made), nullptr, RunEdit(label, true))) {
    m_document.GetUndo().CommitUndoState(0);
    m_document.SetModifiedFlag(true);
  }
}

std::optional<std::int64_t> ParseTypedLength(const CDorneDoc& document, const std::string& text,
                                             bool roundToFour) {
  const std::optional<double> value = document.GetUnits().TryParse(text);
  if (!value || !std::isfinite(*value) || std::fabs(*value) > 1e15) return std::nullopt;
  auto length = static_cast<std::int64_t>(std::trunc(*value));
  if (roundToFour && length % 4 != 0) length += 4 - length % 4;
  return length;
}

C3DPoint RunMoveVector(int axis, std::int64_t length) {
  const auto n = static_cast<double>(length);
  switch (axis) {
    case 1: return {n, 0, 0};
    case 2: return {-n, 0, 0};
    case 4: return {0, n, 0};
    case 8: return {0, -n, 0};
    case 16: return {0, 0, -n};
    case 32: return {0, 0, n};
    default: return {};
  }
}
