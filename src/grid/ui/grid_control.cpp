#include "grid/ui/grid_control.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

#include "grid/grid_cell_format.h"
#include "grid/grid_painter.h"
#include "grid/ui/grid_popup_dlg.h"
#include "grid/ui/grid_qt_convert.h"
#include "grid/ui/qt_grid_canvas.h"

namespace {

constexpr EGridAxis kRows = EGridAxis::Rows;
constexpr EGridAxis kColumns = EGridAxis::Columns;

CPoint ToGridPoint(const QPoint& point) { return {point.x(), point.y()}; }

}  // namespace

CGridControl::CGridControl(CGridModel& model, QWidget* parent)
    : QAbstractScrollArea(parent), m_model(&model), m_viewport(model) {
  SetUp();
}

CGridControl::CGridControl(int rows, int columns, int fixedRows, int fixedColumns, QWidget* parent)
    : QAbstractScrollArea(parent),
      m_ownModel(std::make_unique<CGridModel>(rows, columns, fixedRows, fixedColumns, &m_measurer)),
      m_model(m_ownModel.get()),
      m_viewport(*m_model) {
  SetUp();
}

CGridControl::~CGridControl() {
  if (m_model->GetListener() == this) m_model->SetListener(nullptr);
  if (m_model->GetTextMeasurer() == &m_measurer) m_model->SetTextMeasurer(nullptr);
}

void CGridControl::SetUp() {
  m_model->SetListener(this);
  // Auto-sizing works while a window shows the grid.
  if (!m_model->GetTextMeasurer()) m_model->SetTextMeasurer(&m_measurer);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  setContextMenuPolicy(Qt::PreventContextMenu);
  viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
  for (EGridAxis axis : {kRows, kColumns}) {
    QScrollBar* bar = axis == kRows ? verticalScrollBar() : horizontalScrollBar();
    bar->setSingleStep(1);
    connect(bar, &QAbstractSlider::actionTriggered, this,
            [this, axis](int action) { OnScrollAction(axis, action); });
  }
  UpdateScrollBars();
}

CCellPos CGridControl::HitTestCell(const QPoint& point) const {
  return m_viewport.HitTestCell(ToGridPoint(point));
}

QRect CGridControl::GetCellRangeRect(const CCellRange& range) const {
  const CRect rect = m_viewport.GetCellRangeRect(range);
  return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

void CGridControl::RedrawCellRange(const CCellRange& range) {
  if (!range.IsValid()) return;
  // Only the shown part: the walk to a far cell would cost without showing anything.
  const CCellRange shown = m_viewport.GetVisibleCellRange();
  CCellRange part = range;
  if (part.top >= m_model->GetFixedRowCount()) part.top = std::max(part.top, shown.top);
  if (part.left >= m_model->GetFixedColumnCount()) part.left = std::max(part.left, shown.left);
  part.bottom = std::min(part.bottom, shown.bottom);
  part.right = std::min(part.right, shown.right);
  if (!part.IsValid()) return;
  // The grid lines on the right and bottom edges belong to the range too.
  viewport()->update(GetCellRangeRect(part).adjusted(0, 0, 1, 1));
}

void CGridControl::UpdateScrollBars() {
  if (m_updatingBars) return;
  m_updatingBars = true;
  const QSize available = maximumViewportSize();
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  m_viewport.UpdateScrollRanges(available.width(), available.height(), bar, bar);
  for (EGridAxis axis : {kRows, kColumns}) {
    QScrollBar* scrollBar = axis == kRows ? verticalScrollBar() : horizontalScrollBar();
    scrollBar->setRange(0, m_viewport.GetScrollMax(axis));
    scrollBar->setValue(m_viewport.GetScrollPos(axis));
  }
  SyncClientSize();
  for (EGridAxis axis : {kRows, kColumns}) {
    QScrollBar* scrollBar = axis == kRows ? verticalScrollBar() : horizontalScrollBar();
    const int shown = m_viewport.GetLastShown(axis) - m_viewport.GetFirstShown(axis);
    scrollBar->setPageStep(std::max(1, shown));
  }
  m_updatingBars = false;
  viewport()->update();
}

void CGridControl::SetScrollPos(EGridAxis axis, int position) {
  QScrollBar* bar = axis == kRows ? verticalScrollBar() : horizontalScrollBar();
  bar->setValue(std::clamp(position, 0, m_viewport.GetScrollMax(axis)));
}

void CGridControl::DrawCells(QPainter& painter, int left, int top, int right, int bottom) const {
  CQtGridCanvas canvas(painter);
  CGridPainter gridPainter(*m_model, canvas, Palette());
  gridPainter.DrawCells({left, top, right, bottom});
}

CGridPalette CGridControl::Palette() const {
  CGridPalette colours;
  colours.highlight = tvr::grid::FromQColor(palette().color(QPalette::Highlight));
  colours.highlightText = tvr::grid::FromQColor(palette().color(QPalette::HighlightedText));
  return colours;
}

void CGridControl::paintEvent(QPaintEvent* event) {
  SyncClientSize();
  QPainter painter(viewport());
  const CGridPalette colours = Palette();
  // Fixed cells and the area beyond the grid show the header colour.
  painter.fillRect(event->rect(), tvr::grid::ToQColor(colours.headerBackground));
  {
    CQtGridCanvas canvas(painter);
    CGridPainter gridPainter(*m_model, canvas, colours);
    gridPainter.Paint(m_viewport);
  }
  if (m_mouseMode == kModeResizeColumn || m_mouseMode == kModeResizeRow) {
    // The tracking bar inverts what lies under it, so that it shows on any colour.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QRect bar = m_mouseMode == kModeResizeColumn
                          ? QRect(m_trackPos, 0, 2, viewport()->height())
                          : QRect(0, m_trackPos, viewport()->width(), 2);
    painter.fillRect(bar, Qt::white);
  }
}

void CGridControl::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CGridControl::scrollContentsBy(int, int) {
  m_viewport.SetScrollPos(kRows, verticalScrollBar()->value());
  m_viewport.SetScrollPos(kColumns, horizontalScrollBar()->value());
  viewport()->update();
}

void CGridControl::SyncClientSize() {
  m_viewport.SetClientSize(viewport()->width(), viewport()->height());
}

void CGridControl::OnScrollAction(EGridAxis axis, int action) {
  QScrollBar* bar = axis == kRows ? verticalScrollBar() : horizontalScrollBar();
  // The viewport still holds the position before the action.
  if (action == QAbstractSlider::SliderPageStepAdd) {
    bar->setSliderPosition(m_viewport.GetPageForwardPos(axis));
  } else if (action == QAbstractSlider::SliderPageStepSub) {
    bar->setSliderPosition(m_viewport.GetPageBackPos(axis));
  }
}

void CGridControl::ScrollLine(EGridAxis axis, int step) {
  SetScrollPos(axis, m_viewport.GetScrollPos(axis) + step);
}

void CGridControl::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    ShowContextMenu(point);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  m_pressedCell = HitTestCell(point);
  m_lastPoint = point;
  const CGridBorderHit border = m_viewport.HitTestBorder(ToGridPoint(point));
  if (border.IsHit()) {
    BeginResize(border, point);
    return;
  }
  if (!m_pressedCell.IsCell()) return;
  m_mouseMode = m_model->SelectForClick(m_pressedCell);
  m_lastCell = m_pressedCell;
  viewport()->update();
}

void CGridControl::BeginResize(const CGridBorderHit& border, const QPoint& point) {
  m_mouseMode = border.axis == kColumns ? kModeResizeColumn : kModeResizeRow;
  m_resizeIndex = border.index;
  const int edge = static_cast<int>(m_viewport.GetStart(border.axis, border.index));
  m_trackPos = std::max(edge, border.axis == kColumns ? point.x() : point.y());
  viewport()->update();
}

void CGridControl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  const CCellPos cell = HitTestCell(point);
  if (m_mouseMode == kModeNone) {
    const CGridBorderHit border = m_viewport.HitTestBorder(ToGridPoint(point));
    viewport()->setCursor(!border.IsHit()           ? Qt::ArrowCursor
                          : border.axis == kColumns ? Qt::SplitHCursor
                                                    : Qt::SplitVCursor);
  } else if (m_mouseMode == kModeResizeColumn || m_mouseMode == kModeResizeRow) {
    // The bar stays between the border's own start and the client edge, as a confined
    // cursor would.
    const EGridAxis axis = m_mouseMode == kModeResizeColumn ? kColumns : kRows;
    const int edge = static_cast<int>(m_viewport.GetStart(axis, m_resizeIndex));
    const int limit = axis == kColumns ? viewport()->width() : viewport()->height();
    m_trackPos = std::clamp(axis == kColumns ? point.x() : point.y(), edge, std::max(edge, limit));
    viewport()->update();
  } else if (m_pressedCell.IsCell() && m_mouseMode != kModeAll && !(cell == m_lastCell)) {
    if (m_model->ExtendSelection(m_mouseMode, m_pressedCell, cell)) viewport()->update();
  }
  m_lastCell = cell;
  m_lastPoint = point;
}

void CGridControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = event->position().toPoint();
  if (m_mouseMode == kModeResizeColumn || m_mouseMode == kModeResizeRow) FinishResize(point);
  m_mouseMode = kModeNone;
  if (m_pressedCell.IsCell()) {
    m_releasedCell = HitTestCell(point);
    emit Clicked();
  }
}

void CGridControl::FinishResize(const QPoint& point) {
  const EGridAxis axis = m_mouseMode == kModeResizeColumn ? kColumns : kRows;
  const int edge = static_cast<int>(m_viewport.GetStart(axis, m_resizeIndex));
  const int limit = axis == kColumns ? viewport()->width() : viewport()->height();
  const int end = std::clamp(axis == kColumns ? point.x() : point.y(), edge, std::max(edge, limit));
  const int index = m_resizeIndex;
  m_model->PutSize(axis, index, std::min(end - edge, CGridModel::kMaxSize));
  m_resizeIndex = -1;
  m_trackPos = -1;
  UpdateScrollBars();
  OnResizeFinished(axis, index);
}

void CGridControl::OnResizeFinished(EGridAxis, int) {}

void CGridControl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // The second press of a double click has just selected again; the double click itself
  // only edits. A double click on a header border stays a resize.
  if (m_mouseMode == kModeResizeColumn || m_mouseMode == kModeResizeRow) return;
  m_mouseMode = kModeNone;
  if (!HitTestCell(event->position().toPoint()).IsCell()) return;
  if (CanStartEdit()) EditCell();
}

bool CGridControl::CanStartEdit() const {
  const CCellRange& selection = m_model->GetSelection();
  return m_model->IsEditEnabled() && !m_editing && m_mouseMode == kModeNone &&
         selection.IsSingleCell() && selection.top >= m_model->GetFixedRowCount() &&
         selection.left >= m_model->GetFixedColumnCount() &&
         m_viewport.IsCellVisible(selection.top, selection.left);
}

void CGridControl::EditCell() {
  if (!m_model->GetSelection().IsValid()) return;
  m_editing = true;
  const CCellPos cell = m_model->GetSelection().TopLeft();
  if (!m_model->CanEditCell(cell.row, cell.column)) {
    m_editing = false;
    return;
  }
  const QRect rect = GetCellRangeRect({cell.row, cell.column, cell.row, cell.column});
  const bool result = RunCellEditor(cell.row, cell.column, rect);
  m_model->OnCellEdited(cell.row, cell.column, result);
  viewport()->update();
  m_editing = false;
}

bool CGridControl::RunCellEditor(int row, int column, const QRect& cellRect) {
  const CGridCellFormat* cell = m_model->GetTextCell(row, column);
  if (!cell) return false;
  const QRect screenRect(
      viewport()->mapToGlobal(cellRect.topLeft() + QPoint(1, 1)),
      QSize(std::max(cellRect.width() - 1, 1), std::max(cellRect.height() - 1, 1)));
  CGridPopupDlg editor(this, screenRect, tvr::grid::ToQFont(m_model->GetCellLogFont(row, column)),
                       tvr::grid::ToQColor(m_model->GetCellTextColor(row, column)),
                       cell->GetItemData(), tvr::grid::ToQString(cell->GetText()));
  if (editor.exec() != QDialog::Accepted) return true;
  // The modal run lets other work reach the grid: look the cell up again. The model
  // writes the text, so that it knows its cells changed.
  if (const CGridCellFormat* edited = m_model->GetTextCell(row, column)) {
    m_model->SetCellText(row, column, tvr::grid::FromQString(editor.GetText()),
                         edited->GetItemData(), false);
  }
  return true;
}

void CGridControl::ShowContextMenu(const QPoint& point) {
  if (!m_contextMenu) return;
  if (QWidget* frame = window()) frame->activateWindow();
  const int index = m_model->GetContextMenuIndex();
  const QList<QAction*> items = m_contextMenu->actions();
  if (index < 0 || index >= items.size() || !items[index]->menu()) return;
  QMenu* submenu = items[index]->menu();
  QPoint global = viewport()->mapToGlobal(point);
  global.rx() -= submenu->sizeHint().width() / 2;
  submenu->popup(global);
}

void CGridControl::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) return;
  if (key == Qt::Key_F2) {
    if (CanStartEdit()) EditCell();
    return;
  }
  if (!HandleNavigationKey(key)) QWidget::keyPressEvent(event);
}

bool CGridControl::HandleNavigationKey(int key) {
  const CCellRange& selection = m_model->GetSelection();
  switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      SetScrollPos(kRows, key == Qt::Key_PageDown ? m_viewport.GetPageForwardPos(kRows)
                                                  : m_viewport.GetPageBackPos(kRows));
      SelectAfterPaging(m_viewport.GetFirstShown(kRows), selection.left);
      return true;
    case Qt::Key_End:
      SetScrollPos(kRows, m_viewport.GetScrollMax(kRows));
      SetScrollPos(kColumns, 0);
      SelectAfterPaging(m_viewport.GetFirstShown(kRows), m_model->GetFixedColumnCount());
      return true;
    case Qt::Key_Home:
      SetScrollPos(kRows, 0);
      SetScrollPos(kColumns, 0);
      SelectAfterPaging(m_model->GetFixedRowCount(), m_model->GetFixedColumnCount());
      return true;
    default: break;
  }
  const int rowStep = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
  const int columnStep = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
  if (rowStep == 0 && columnStep == 0) return false;
  const CCellRange before = selection;
  const CCellPos cell = m_model->MoveSelection(rowStep, columnStep);
  if (!cell.IsCell()) return true;
  RedrawCellRange(CCellRange::Bounding(before, {cell.row, cell.column, cell.row, cell.column}));
  if (!m_viewport.IsCellVisible(cell.row, cell.column)) {
    ScrollLine(rowStep != 0 ? kRows : kColumns, rowStep != 0 ? rowStep : columnStep);
  }
  return true;
}

void CGridControl::SelectAfterPaging(int row, int column) {
  m_model->SelectCell({row, column});
  viewport()->update();
}

void CGridControl::GridInvalidated() { viewport()->update(); }

void CGridControl::GridLayoutChanged() { UpdateScrollBars(); }
