// The mouse and the keys of the layout view: each event goes, in logical units, to the
// tool modes of the core (view/view_tools.h); the view only draws what they leave.

#include <QApplication>
#include <QCursor>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/message_text.h"
#include "app/dorne_app.h"
#include "app/ui/message_box.h"
#include "app/settings_keys.h"
#include "geometry/box.h"
#include "linear/ref_coff_table.h"
#include "model/annotation/annotation.h"
#include "model/element/dev.h"
#include "model/document/doc_command_rules.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_loads.h"
#include "model/tapoff/tap_off_place.h"
#include "model/undo/undo_manager.h"
#include "model/document/work_notifier.h"
#include "ranges/range_context.h"
#include "view/draw_mapping.h"
#include "view/ui/dorne_view.h"
#include "view/ui/dorne_view_tool_host.h"
#include "view/ui/annotation_dialogs.h"
#include "view/ui/tap_off_dlg.h"
#include "view/view_tools.h"

namespace {

constexpr int kDistanceLayer = 9;
constexpr int kCmdMoveRun = 32988;
constexpr int kCmdCopyRun = 33029;
constexpr int kCmdDeleteElement = 32862;
constexpr int kUndoNewRun = 21070;
constexpr int kUndoPlaceTapOff = 21582;
// Units that the distribution could not keep apart are marked for the user to see.
constexpr int kMsgUnitsMarked = 30163;
constexpr int kMsgPartsNotBuilt = 62375;
constexpr int kMsgPartsWithErrors = 62376;
constexpr int kMsgNotDistributed = 62377;
constexpr int kDistributedFunction = 6;

Qt::CursorShape ShapeOf(int cursor) {
  switch (cursor) {
    case 156: return Qt::ArrowCursor;
    case 159: return Qt::OpenHandCursor;
    case 201:
    case 1110: return Qt::DragCopyCursor;
    case 1113: return Qt::DragMoveCursor;
    case 30992:
    case 30993: return Qt::SizeAllCursor;
    case 164:
    case 163:
    case 162:
    case 155:
    case 1374: return Qt::PointingHandCursor;
    default: return Qt::CrossCursor;
  }
}

int KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  int keys = 0;
  if (buttons & Qt::LeftButton) keys |= kToolKeyLeft;
  if (buttons & Qt::RightButton) keys |= kToolKeyRight;
  if (buttons & Qt::MiddleButton) keys |= kToolKeyMiddle;
  if (modifiers & Qt::ShiftModifier) keys |= kToolKeyShift;
  if (modifiers & Qt::ControlModifier) keys |= kToolKeyControl;
  return keys;
}

// The cause of a distribution that cannot run, as the user can act on it.
std::string NoDistributionText(const CRun& run, const CTapOffDialogRules& rules) {
  const std::string name = run.GetPropText("Name");
  switch (TapOffLoadsRefusal(run)) {
    case ETapOffLoadsRefusal::kPartsNotBuilt:
      return FormatMessageTextS(StringText(kMsgPartsNotBuilt), name);
    case ETapOffLoadsRefusal::kPartsWithErrors:
      return FormatMessageTextS(StringText(kMsgPartsWithErrors), name);
    default:
      return FormatMessageTextSS(StringText(kMsgNotDistributed), RememberedTapOffChoice().reference,
                                 rules.FunctionButtonText(kDistributedFunction));
  }
}

}  // namespace

void CDorneViewToolHost::Beep() { m_view.Beep(); }

void CDorneViewToolHost::Refresh() { m_view.update(); }

void CDorneViewToolHost::SetCursor(int cursor) {
  if (cursor != 0) m_view.SetToolCursor(cursor);
}

void CDorneViewToolHost::SetPrompt(int message) { emit m_view.PromptRequested(message); }

void CDorneViewToolHost::Tell(const std::string& text) {
  emit m_view.StatusTextRequested(QString::fromStdString(text));
}

std::optional<std::string> CDorneViewToolHost::AskText(int message, const std::string& text) {
  const std::optional<QString> answer =
      m_view.AskText(QString::fromStdString(StringText(message)), QString::fromStdString(text));
  if (!answer) return std::nullopt;
  return answer->toStdString();
}

CPoint CDorneViewToolHost::ToLogical(CPoint device) const {
  CDrawMapping mapping;
  m_view.ViewWindow().ApplyTo(mapping, m_view.ClientSize());
  return mapping.ToLogical(device);
}

CRect CDorneViewToolHost::ClientRect() const { return {0, 0, m_view.width(), m_view.height()}; }

void CDorneViewToolHost::EditProjectInfo() { emit m_view.ProjectInfoRequested(); }

CPoint CDorneViewToolHost::ToDevice(CPoint logical) const {
  CDrawMapping mapping;
  m_view.ViewWindow().ApplyTo(mapping, m_view.ClientSize());
  return mapping.ToDevice(logical);
}

bool CDorneViewToolHost::ZoomToRect(CPoint first, CPoint second) {
  return m_view.ZoomToRect(first, second);
}

void CDorneViewToolHost::ExportViewImage(const CRect& rect) {
  emit m_view.PictureRequested(
      QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
}

void CDorneViewToolHost::FindViewPreset() { m_view.ApplyViewPreset(-1); }

bool CDorneViewToolHost::SettleTurnAside() { return m_view.SettleReleaseAside(); }

void CDorneViewToolHost::SetDistanceLayer(bool on) {
  m_view.m_settings->labels[kDistanceLayer].visible = on;
}

const CAnnotationPlaces& CDorneViewToolHost::LabelPlaces() const { return m_view.LabelPlaces(); }

int CDorneViewToolHost::EditAnnotation(CAnnotationLabel& label, bool isNew) {
  return RunAnnotationDialog(label, isNew, m_view.Document(), &m_view);
}

int CDorneViewToolHost::RunTapOffDialog(int& code) {
  CRun* run = m_view.Document() != nullptr ? m_view.Document()->GetCurrentRun() : nullptr;
  if (run == nullptr) return 0;
  CRefCoffTable table;
  // A table that cannot be read leaves the dialog without rows: nothing can be chosen.
  table.Load(CRangeContext::Instance().CatalogueFolder(), false);
  CTapOffDlg dialog(table, run->GetPropText("Catalog"), &m_view);
  const int result = dialog.exec();
  code = static_cast<int>(RememberedTapOffChoice().record.mask << 8);
  if (result == CTapOffDialogRules::kResultDistribute && !CanDistributeTapOffLoads(*run)) {
    // Asked for and not done: the user learns why, and places the unit by hand.
    TranslatedMessageBox(QString::fromStdString(NoDistributionText(*run, dialog.Rules())),
                         kMbOk | kMbIconExclamation);
  } else if (result == CTapOffDialogRules::kResultDistribute) {
    const CDorneApp* app = CRunEnvironment::Instance().App();
    const std::string setting = app != nullptr
                                    ? ReadSetting(app->Profile(), settings_key::kTapOffToLoad)
                                    : std::string(settings_key::kTapOffToLoad.defaultText);
    CUndoManager& undo = m_view.Document()->GetUndo();
    undo.SaveUndoState(kUndoPlaceTapOff, false, false);
    const int computed = ComputeRunTapOffLoads(*run, setting);
    // Only a distribution that placed units is a step to undo.
    if ((computed & 1) != 0) {
      undo.CommitUndoState(0);
      m_view.Document()->SetModifiedFlag(true);
    }
    if ((computed & 2) != 0) {
      m_view.Document()->SetModifiedFlag(true);
      m_view.repaint();
      ShowWorkMessage(kMsgUnitsMarked);
    }
  }
  return result;
}

int CDorneViewToolHost::PlaceTapOffUnit(CBox& box, int code, CDev* unit) {
  const int placed = ::PlaceTapOffUnitAt(box, code, unit, false);
  if (placed != 0) m_view.Document()->SetModifiedFlag(true);
  return placed;
}

void CDorneView::CreateTools() {
  m_toolHost = std::make_unique<CDorneViewToolHost>(*this);
  m_tools = std::make_unique<CViewTools>(*m_document, *m_toolHost);
  // Hovering counts in the dimension and tap-off tools and for the distance pane.
  setMouseTracking(true);
  m_tools->ShowModeCursorAndPrompt();
}

void CDorneView::SetToolCursor(int cursor) {
  m_toolCursor = cursor;
  setCursor(ShapeOf(cursor));
}

std::optional<QString> CDorneView::AskText(const QString& prompt, const QString& text) {
  if (m_askText) return m_askText(prompt, text);
  bool ok = false;
  const QString answer =
      QInputDialog::getText(this, QString(), prompt, QLineEdit::Normal, text, &ok);
  if (!ok) return std::nullopt;
  return answer;
}

void CDorneView::Beep() {
  if (m_beep) {
    m_beep();
  } else {
    QApplication::beep();
  }
}

bool CDorneView::OnToolCommand(int command) {
  if (m_document == nullptr) return false;
  return m_tools->OnCommand(command);
}

bool CDorneView::UpdateToolCommand(int command, bool& enabled, std::optional<bool>& checked) const {
  // The document decides more states than the view runs commands: one that nobody runs
  // must stay disabled, not do nothing when chosen.
  if (m_document == nullptr || !CViewTools::Handles(command)) return false;
  if (command == kCmdMoveRun || command == kCmdCopyRun || command == kCmdDeleteElement) {
    const CDocCommandState state = GetDocCommandState(*m_document, command, CDocCommandContext());
    enabled = state.enabled;
    return true;
  }
  CDocCommandContext context;
  context.viewSubMode = m_tools->PickState();
  const CDocCommandState state = GetDocCommandState(*m_document, command, context);
  if (!state.handled) return false;
  enabled = state.enabled;
  // One-shot commands show no check box in the menus.
  if (state.checkable) checked = state.checked;
  return true;
}

void CDorneView::FinishMouseAction() {
  if (m_document != nullptr) m_tools->FinishMouseAction();
}

void CDorneView::NewRun() {
  if (m_document == nullptr) return;
  m_document->GetUndo().SaveUndoState(kUndoNewRun, true, true);
  FinishMouseAction();
  m_document->CreateRunForRange();
  m_tools->ShowModeCursorAndPrompt();
}

namespace {

CToolInput InputOf(const CDorneView& view, const QMouseEvent& event, bool clamp) {
  QPoint point = event.position().toPoint();
  if (clamp) {
    point.setX(std::clamp(point.x(), 0, std::max(0, view.width() - 1)));
    point.setY(std::clamp(point.y(), 0, std::max(0, view.height() - 1)));
  }
  CDrawMapping mapping;
  view.ViewWindow().ApplyTo(mapping, view.ClientSize());
  const CPoint device{point.x(), point.y()};
  return {device, mapping.ToLogical(device), KeysOf(event.buttons(), event.modifiers())};
}

}  // namespace

void CDorneView::mousePressEvent(QMouseEvent* event) {
  if (m_document == nullptr) return;
  SettleTurnedScene();
  const CToolInput input = InputOf(*this, *event, false);
  switch (event->button()) {
    case Qt::LeftButton: m_tools->OnLButtonDown(input); break;
    case Qt::RightButton: m_tools->OnRButtonDown(input); break;
    case Qt::MiddleButton: m_tools->OnMButtonDown(input); break;
    default: QWidget::mousePressEvent(event); return;
  }
  event->accept();
}

void CDorneView::mouseMoveEvent(QMouseEvent* event) {
  if (m_document == nullptr) return;
  m_tools->OnMouseMove(InputOf(*this, *event, true));
  if (m_tools->OrbitActive() || m_tools->Mode() == CViewTools::kPanDragging) NoteMotion();
  emit DistanceChanged(QString::fromStdString(m_tools->DistanceText()));
  event->accept();
}

void CDorneView::mouseReleaseEvent(QMouseEvent* event) {
  if (m_document == nullptr) return;
  // Only the release of a turn may find the work aside under way and keep it on.
  if (!m_tools->OrbitActive()) m_settleAhead.Finish(false);
  const CToolInput input = InputOf(*this, *event, true);
  if (event->button() == Qt::LeftButton) m_tools->OnLButtonUp(input);
  if (event->button() == Qt::MiddleButton) m_tools->OnMButtonUp(input);
  if (!m_releasePending) EndMotion();
  event->accept();
}

void CDorneView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (m_document == nullptr) return;
  SettleTurnedScene();
  const CToolInput input = InputOf(*this, *event, false);
  if (event->button() == Qt::LeftButton) m_tools->OnLButtonDblClk(input);
  if (event->button() == Qt::RightButton) m_tools->OnRButtonDblClk(input);
  event->accept();
}

bool CDorneView::ToolKeyPress(QKeyEvent* event) {
  if (m_document == nullptr) return false;
  int key = 0;
  if (event->key() == Qt::Key_Escape) key = CViewTools::kKeyEscape;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) key = CViewTools::kKeyEnter;
  if (!m_tools->OnKeyDown(key, KeysOf(Qt::NoButton, event->modifiers()))) return false;
  event->accept();
  update();
  return true;
}

void CDorneView::keyReleaseEvent(QKeyEvent* event) {
  if (m_document != nullptr) m_tools->OnKeyUp(KeysOf(Qt::NoButton, event->modifiers()));
  QWidget::keyReleaseEvent(event);
}

namespace {

// The insertion point's cross (three short strokes along the scene axes) and the rays
// toward the directions of the mask, as the modes show them.
void PaintInsertionPoint(QPainter& painter, const CDorneDoc& document, const CDrawMapping& mapping,
                         const CViewWindow& window, int hoveredAxis) {
  const int mode = document.GetToolMode();
  const bool cross = mode == 0 || mode == 2 || mode == 3 || mode == 4 || mode == 5 || mode == 6;
  int mask = mode == 1 || mode == 3 ? document.GetFreeFaceMask() : 0;
  if (mode == 10 || mode == 12) mask = 63;
  const C3DProjection& projection = document.Projection();
  const C3DPoint origin = document.GetCursorPoint();
  auto device = [&](const C3DPoint& point) {
    const CPoint p = mapping.ToDevice(projection.ProjectPoint(point));
    return QPoint(p.x, p.y);
  };
  if (cross) {
    const CSize size = mapping.SizeToLogical({10, 20});
    const double a = std::abs(size.cx), b = std::abs(size.cy);
    painter.setPen(QPen(Qt::red, 0));
    for (int axis : {1, 4, 32}) {
      painter.drawLine(device(origin + RunMoveVector(axis, static_cast<std::int64_t>(-a))),
                       device(origin + RunMoveVector(axis, static_cast<std::int64_t>(b - a))));
    }
  }
  if (mask == 0) return;
  const std::int64_t length = 8 * static_cast<std::int64_t>(std::max(std::abs(window.Size().cx),
                                                                     std::abs(window.Size().cy)));
  painter.setPen(mode == 3 ? QPen(Qt::blue, 0, Qt::DotLine)
                           : QPen(Qt::black, 0, Qt::DashDotDotLine));
  for (int axis : {1, 2, 4, 8, 16, 32}) {
    if ((mask & axis) != 0)
      painter.drawLine(device(origin), device(origin + RunMoveVector(axis, length)));
  }
  if ((mask & hoveredAxis) == 0) return;
  painter.setPen(QPen(QColor(0, 90, 220), 2));
  painter.drawLine(device(origin), device(origin + RunMoveVector(hoveredAxis, length)));
}

}  // namespace

void CDorneView::PaintToolOverlay(QPainter& painter) const {
  if (m_document == nullptr) return;
  const CViewTools& tools = *m_tools;
  CDrawMapping mapping;
  ViewWindow().ApplyTo(mapping, ClientSize());
  auto device = [&mapping](CPoint logical) {
    const CPoint p = mapping.ToDevice(logical);
    return QPoint(p.x, p.y);
  };
  PaintInsertionPoint(painter, *m_document, mapping, ViewWindow(), tools.HoveredAxis());
  PaintHighlight(painter, mapping);
  const int mode = m_document->GetToolMode();
  if (mode == CViewTools::kRectangle && m_toolHost->HasCapture()) {
    QPen pen(tools.PickState() != 0 ? Qt::blue : Qt::red, 0, Qt::DashDotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(device(tools.PressPoint()), device(tools.CurrentPoint())).normalized());
  }
  const CAnnotation* dragged = tools.DraggedAnnotation();
  if (const CAnnotationPlaces::CPlace* place = dragged ? m_labelPlaces.Find(*dragged) : nullptr) {
    const CRect& r = place->screen;
    const CPoint shift = tools.DragShift();
    painter.setPen(QPen(Qt::darkGray, 0, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1))
                         .translated(shift.x, shift.y));
  }
  if (mode == CViewTools::kTapOff) {
    // The outlets a click takes, so that the user sees where units go.
    painter.setPen(QPen(QColor(0, 110, 0), 1));
    painter.setBrush(Qt::NoBrush);
    const C3DProjection& projection = m_document->Projection();
    for (const CTapOffOutlet& outlet : tools.OfferedOutlets())
      if (!outlet.taken)
        painter.drawEllipse(device(projection.ProjectPoint(outlet.position)), 3, 3);
  }
  if (mode == CViewTools::kDimension || mode == CViewTools::kTapOff) {
    painter.setPen(QPen(Qt::red, 2));
    const C3DProjection& projection = m_document->Projection();
    for (const std::optional<C3DPoint>& point : {tools.FirstPoint(), tools.SecondPoint()}) {
      if (point) painter.drawEllipse(device(projection.ProjectPoint(*point)), 4, 4);
    }
  }
}
