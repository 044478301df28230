#include "view/ui/dorne_view.h"

#include "view/annotation_update.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <memory>

#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/undo/undo_manager.h"
#include "view/display_layers.h"
#include "view/draw_mapping.h"
#include "view/view_presets.h"
#include "view/ui/dorne_view_tool_host.h"
#include "view/ui/view_export.h"
#include "view/view_tools.h"

namespace {

constexpr int kUndoZoomIn = 23083;
constexpr int kUndoZoomOut = 23085;
constexpr int kUndoZoomAll = 23105;
constexpr int kUndoPan = 23123;
constexpr int kUndoPreset = 23126;
constexpr int kToolMeasure = 8;
constexpr int kToolPickTwo = 9;
constexpr int kCmdSelect = 32780;
// How long the mouse rests before the light picture gives way to the full one.
constexpr int kRestMilliseconds = 150;
// How long the mouse pauses before the turned view's order is sorted out aside (as soon as
// the windows wait for input), ready for the rest: a hand turning the view sends a move
// every few milliseconds.
constexpr int kPauseMilliseconds = 30;

}  // namespace

CDorneView::CDorneView(CDorneDoc& document, const CContext& context, QWidget* parent)
    : QWidget(parent),
      m_document(&document),
      m_settings(context.settings != nullptr ? context.settings : &m_ownSettings),
      m_profile(context.profile) {
  setObjectName(QStringLiteral("layout_view"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(64, 48);
  m_document->AddObserver(this);
  CreateTools();
  m_rest.setSingleShot(true);
  m_rest.setInterval(kRestMilliseconds);
  connect(&m_rest, &QTimer::timeout, this, &CDorneView::EndMotion);
  m_pause.setSingleShot(true);
  m_pause.setInterval(kPauseMilliseconds);
  connect(&m_pause, &QTimer::timeout, this, &CDorneView::SettleAhead);
}

void CDorneView::NoteMotion() {
  m_moving = true;
  m_settleAhead.Drop();
  m_settleAhead.ForgetLast();
  m_rest.start();
  m_pause.start();
}

void CDorneView::SettleAhead() {
  if (!m_moving || m_document == nullptr || !m_document->Projection().GetDisplayList().Unordered())
    return;
  // The picture recorded for the last pause is let go on the thread of the work, not on the
  // windows' (a release waits for this): a full picture's operations are megabytes.
  auto former = std::make_shared<CScenePaintCache>();
  former->TakeScene(m_settledPicture);
  m_settledPicture.Clear();
  if (m_settings->backBuffer == 0) return m_settleAhead.Want(*m_document);
  // The full picture of the rest is recorded once the order is sorted, on the same
  // thread, with what the paint after the rest will ask for.
  const QSize client = size().expandedTo(QSize(1, 1));
  CSceneDrawOptions options = RestingDrawOptions();
  QImage like(1, 1, QImage::Format_RGB32);
  if (!m_buffer.isNull()) {
    like.setDotsPerMeterX(m_buffer.dotsPerMeterX());
    like.setDotsPerMeterY(m_buffer.dotsPerMeterY());
  }
  m_settleAhead.Want(
      *m_document, [this, window = ViewWindow(), client, options = std::move(options),
                    like = std::move(like), former](const std::atomic<bool>& stop) mutable {
        former.reset();
        RecordScenePicture(m_settledPicture, *m_document, window, client, options, like, stop);
      });
}

void CDorneView::EndMotion() {
  m_rest.stop();
  m_pause.stop();
  m_settleAhead.Drop();
  m_settleAhead.Finish(false);
  if (!m_moving) return;
  m_moving = false;
  if (m_document != nullptr) {
    // The picture recorded aside survives the notice of the settle it was made for.
    CScenePaintCache recorded;
    recorded.TakeScene(m_settledPicture);
    const bool settledAside = m_settleAhead.LastDone();
    m_document->SettleView();
    if (settledAside) m_paintCache.TakeScene(recorded);
  }
  update();
}

bool CDorneView::SettleReleaseAside() {
  if (m_document == nullptr) return false;
  // The sort under way from a pause goes on (the document is its own until done); else
  // one starts now, if it is to give the order of the scene built anew (the list of a
  // whole scene only turned) and the scene is large enough to be worth it.
  if (!m_settleAhead.Running()) {
    const CDisplayList& list = m_document->Projection().GetDisplayList();
    if (!m_moving || list.BoxCount() < m_releaseAsideFrom || !list.Unordered() ||
        !m_document->TurnedWholeScene())
      return false;
    SettleAhead();
    if (!m_settleAhead.StartNow()) return false;
  }
  m_rest.stop();
  m_pause.stop();
  m_releasePending = true;
  m_settleAhead.FinishLater([this] { EndRelease(); });
  return true;
}

void CDorneView::EndRelease() {
  m_releasePending = false;
  if (m_document == nullptr) return;
  // Called off, or sorted aside in an order of its own: the release's rebuild after all.
  if (!m_document->HasWholeScene()) m_document->RebuildScene();
  EndMotion();
}

CDorneView::~CDorneView() { Detach(); }

void CDorneView::Detach() {
  m_settleAhead.Drop();
  m_settleAhead.Finish(true);
  if (m_document != nullptr) m_document->RemoveObserver(this);
  m_document = nullptr;
  update();
}

CViewWindow CDorneView::ViewWindow() const {
  return m_document != nullptr ? CViewWindow::FromDocument(*m_document) : CViewWindow();
}

CSceneDrawOptions CDorneView::DrawOptions(bool monochrome) const {
  CSceneDrawOptions options =
      SceneOptionsFromSettings(*m_settings, monochrome || m_settings->displayBlackWhite != 0);
  options.cache = &m_drawCache;
  options.documentFolder = m_documentFolder;
  return options;
}

QImage CDorneView::Snapshot() const {
  if (m_document == nullptr) {
    QImage blank(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
  }
  auto& self = const_cast<CDorneView&>(*this);
  self.SettleTurnedScene();
  self.RefreshAnnotations();
  return RenderScene(*m_document, ViewWindow(), size(), RestingDrawOptions());
}

void CDorneView::SaveViewStep(int action, bool force) {
  if (m_document != nullptr) m_document->GetUndo().SaveUndoState(action, force, true);
}

// View steps are undo steps but no change of the document: closing does not ask for
// them, as the title shows no mark for them.
void CDorneView::Store(const CViewWindow& window) {
  m_openedWindow.reset();
  window.StoreIn(*m_document);
  update();
}

bool CDorneView::ZoomIn() {
  if (m_document == nullptr) return false;
  CViewWindow window = ViewWindow();
  if (!window.ZoomIn(m_settings->zoomIn)) {
    QApplication::beep();
    update();
    return false;
  }
  SaveViewStep(kUndoZoomIn);
  Store(window);
  return true;
}

bool CDorneView::ZoomOut() {
  if (m_document == nullptr) return false;
  CViewWindow window = ViewWindow();
  if (!window.ZoomOut(m_settings->zoomOut)) {
    QApplication::beep();
    return false;
  }
  SaveViewStep(kUndoZoomOut);
  Store(window);
  return true;
}

void CDorneView::ZoomAll() {
  if (m_document == nullptr) return;
  const std::optional<CRect> extent = GetSceneExtent(*m_document);
  const std::array<float, 4> area = m_document->GetWorkArea();
  const CRect scene =
      extent ? *extent
             : CRect{static_cast<std::int32_t>(area[0]), static_cast<std::int32_t>(area[1]),
                     static_cast<std::int32_t>(area[2]), static_cast<std::int32_t>(area[3])};
  m_document->SetWorkArea(
      {float(scene.left), float(scene.top), float(scene.right), float(scene.bottom)});
  CViewWindow window = ViewWindow();
  window.ZoomAll(scene, m_settings->zoomAll, ClientSize());
  Store(window);
}

bool CDorneView::ZoomToRect(CPoint first, CPoint second) {
  if (m_document == nullptr) return false;
  CViewWindow window = ViewWindow();
  if (!window.ZoomToRect(first, second, ClientSize())) {
    QApplication::beep();
    update();
    return false;
  }
  Store(window);
  return true;
}

void CDorneView::PanBy(std::int32_t dx, std::int32_t dy) {
  if (m_document == nullptr) return;
  CViewWindow window = ViewWindow();
  window.Pan(dx, dy);
  Store(window);
}

void CDorneView::ApplyViewPreset(int preset) {
  if (m_document == nullptr) return;
  const std::optional<CViewAngles> angles = ViewPresetAngles(preset);
  if (!angles) {
    m_document->SetViewPreset(DetectViewPreset(ProjectionAngles(m_document->Projection())));
    return;
  }
  SaveViewStep(kUndoPreset, true);
  m_document->SetViewAngles((*angles)[0], (*angles)[1], (*angles)[2]);
  m_document->SetViewPreset(preset);
  ZoomAll();
}

bool CDorneView::TakeSavedView(const CBOMGrid& page) {
  if (m_document == nullptr) return true;
  const auto& angles = page.GetViewAngles();
  m_document->SetViewAngles(angles[0], angles[1], angles[2]);
  ApplyViewPreset(-1);
  const auto& rect = page.GetRectangle();
  if (rect[2] <= rect[0] || rect[3] <= rect[1]) {
    update();
    return false;
  }
  ZoomToRect(CPoint{rect[0], rect[1]}, CPoint{rect[2], rect[3]});
  return true;
}

void CDorneView::ApplyViewAngles(const std::array<int, 3>& angles) {
  if (m_document == nullptr) return;
  SaveViewStep(kUndoPreset, true);
  m_document->SetViewAngles(angles[0], angles[1], angles[2]);
  ApplyViewPreset(-1);
  ZoomAll();
}

void CDorneView::ToggleVisibility(int index) {
  const CLayerToggle toggle = ToggleDisplayLayer(*m_settings, m_profile, index);
  if (toggle.supportChanged) emit SupportDisplayChanged();
  if (toggle.changed) update();
}

void CDorneView::Refresh() {
  if (m_document == nullptr) return;
  m_document->RebuildScene();
  m_document->UpdateAllViews();
}

void CDorneView::OnDocNotice(EDocNotice notice, CRun*) {
  m_drawCache.Clear();
  m_paintCache.Clear();
  m_settledPicture.Clear();
  m_annotationRefresh.MarkStale();
  if (m_tools && (notice == EDocNotice::kCurrentRunChanged || notice == EDocNotice::kRunRemoved))
    m_tools->ForgetPicks();
  // A run made current sets the document's mode; the cursor and the prompt follow.
  if (m_tools && notice == EDocNotice::kCurrentRunChanged) m_tools->ShowModeCursorAndPrompt();
  update();
}

void CDorneView::FitStoredWindow() {
  m_openedWindow = ViewWindow();
  FitWindow(*m_openedWindow);
}

void CDorneView::FitWindow(const CViewWindow& stored) {
  const CPoint centre = stored.Centre();
  const CSize size = stored.Size();
  const CPoint first{centre.x - size.cx / 2, centre.y - size.cy / 2};
  CViewWindow window = stored;
  if (!window.ZoomToRect(first, {first.x + size.cx, first.y + size.cy}, ClientSize())) return;
  // A window that already has the client's shape, but for the rounding of its sides, is
  // kept as it was stored.
  const auto near = [](std::int32_t a, std::int32_t b) {
    return std::abs(std::int64_t{a} - b) <=
           std::max<std::int64_t>(1, std::abs(std::int64_t{b}) / 1000);
  };
  if (near(window.Size().cx, size.cx) && near(window.Size().cy, size.cy)) window = stored;
  window.StoreIn(*m_document);
}

void CDorneView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_fitted || m_document == nullptr) return;
  m_fitted = true;
  // Whatever tool the document was left in, the view starts with the select tool. Its
  // command makes the scene, which a document just read lacks (it holds projected boxes
  // only), once and for that tool.
  m_tools->OnCommand(kCmdSelect);
  FitStoredWindow();
  m_document->SetModifiedFlag(false);
  m_lastSize = size();
  ApplyViewPreset(-1);
}

void CDorneView::RefreshAnnotations() {
  if (m_document != nullptr)
    m_annotationRefresh.Run(*m_document, m_settings->labels, m_settings->support != 0);
}

CSceneDrawOptions CDorneView::RestingDrawOptions() const {
  CSceneDrawOptions options = DrawOptions(false);
  options.annotationPlaces = &m_labelPlaces;
  return options;
}

bool CDorneView::TurnedElsewhere() const {
  return !m_moving && m_document != nullptr &&
         m_document->Projection().GetDisplayList().Unordered();
}

void CDorneView::SettleTurnedScene() {
  if (TurnedElsewhere()) m_document->SettleView();
}

void CDorneView::paintEvent(QPaintEvent*) {
  const QSize client = size().expandedTo(QSize(1, 1));
  // While another view turns the scene (and may sort it aside), this one leaves the scene
  // alone: it shows its own last picture (blank when it has none), with the places of its
  // labels those of that picture, until the turn settles and repaints it. The tools'
  // marks, which stand where the turned scene puts them, wait as well.
  if (TurnedElsewhere()) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_buffer.isNull()) painter.drawImage(0, 0, m_buffer);
    return;
  }
  RefreshAnnotations();
  CSceneDrawOptions options = RestingDrawOptions();
  options.elements.light = m_moving;
  // Qt composes the window in a picture anyway: the scene is drawn into one of its own,
  // which the drawing shares out among threads in bands. The back buffer setting keeps
  // the painter operations for the next repaint of the same scene.
  if (m_buffer.size() != client) m_buffer = QImage(client, QImage::Format_RGB32);
  m_buffer.fill(Qt::white);
  if (m_document != nullptr) {
    QPainter buffered(&m_buffer);
    PaintScene(buffered, *m_document, ViewWindow(), client, options,
               m_settings->backBuffer != 0 ? &m_paintCache : nullptr);
  }
  QPainter painter(this);
  painter.drawImage(0, 0, m_buffer);
  PaintToolOverlay(painter);
}

void CDorneView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (m_document == nullptr) return;
  if (m_openedWindow) {
    FitWindow(*m_openedWindow);
  } else if (m_lastSize.isValid() && !m_lastSize.isEmpty()) {
    CViewWindow window = ViewWindow();
    window.Resize({m_lastSize.width(), m_lastSize.height()}, {width(), height()});
    window.StoreIn(*m_document);
  }
  m_lastSize = size();
}

void CDorneView::wheelEvent(QWheelEvent* event) {
  if (m_document == nullptr || !(event->modifiers() & Qt::ControlModifier) ||
      QWidget::mouseGrabber() != nullptr) {
    QWidget::wheelEvent(event);
    return;
  }
  CDrawMapping mapping;
  ViewWindow().ApplyTo(mapping, ClientSize());
  const QPoint pointer = event->position().toPoint();
  const CPoint m = mapping.ToLogical({pointer.x(), pointer.y()});
  const CPoint centreDevice = mapping.ToDevice(ViewWindow().Centre());
  CViewWindow moved = ViewWindow();
  moved.SetCentre(m);
  moved.StoreIn(*m_document);
  NoteMotion();
  const bool zoomed = event->angleDelta().y() > 0 ? ZoomIn() : ZoomOut();
  (void)zoomed;
  CViewWindow after = ViewWindow();
  after.ApplyTo(mapping, ClientSize());
  const CPoint m2 = mapping.ToLogical({pointer.x(), pointer.y()});
  const CPoint c2 = mapping.ToLogical(centreDevice);
  after.SetCentre({m.x + (c2.x - m2.x), m.y + (c2.y - m2.y)});
  Store(after);
  event->accept();
}

void CDorneView::keyPressEvent(QKeyEvent* event) {
  if (ToolKeyPress(event)) return;
  const int key = event->key();
  if (m_document == nullptr ||
      (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int mode = m_document->GetToolMode();
  if (mode == kToolMeasure || mode == kToolPickTwo) return;
  SaveViewStep(kUndoPan);
  CViewWindow window = ViewWindow();
  const CSize size = window.Size();
  auto part = [](std::int32_t side, float factor) {
    return static_cast<std::int32_t>(side * double(factor));
  };
  switch (key) {
    case Qt::Key_Left: window.Pan(part(size.cx, m_settings->moveLeft), 0); break;
    case Qt::Key_Right: window.Pan(-part(size.cx, m_settings->moveRight), 0); break;
    case Qt::Key_Up: window.Pan(0, -part(size.cy, m_settings->moveUp)); break;
    default: window.Pan(0, part(size.cy, m_settings->moveDown)); break;
  }
  Store(window);
}
