#include "view/ui/bom_grid_window.h"

#include <QMessageBox>
#include <QMouseEvent>

#include <utility>
#include <vector>

#include "app/message_text.h"
#include "grid/ui/grid_qt_convert.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_source.h"
#include "view/ui/cell_props_dlg.h"
#include "view/ui/column_dlg.h"
#include "view/ui/pick_list_dlg.h"

namespace {

constexpr int kWholeGridMenu = 6;

struct CMenuItem {
  int command;
  int text;
};
struct CSubmenu {
  const char* name;
  std::vector<CMenuItem> items;
};

// The submenus in the order the grid chooses them: one cell, cells, one row, rows, one
// column, columns, everything.
const std::vector<CSubmenu>& Submenus() {
  using W = CBOMGridWindow;
  static const std::vector<CSubmenu> submenus = {
      {"Cell", {{W::kCellProps, 401}}},
      {"MultiCell", {{W::kCellsProps, 401}}},
      {"Row", {{W::kDeleteRow, 404}, {W::kRowProps, 401}}},
      {"MultiRow", {{W::kDeleteRows, 406}, {W::kRowsProps, 401}}},
      {"Col",
       {{W::kInsertColumn, 407},
        {W::kDeleteColumn, 408},
        {W::kColumnProps, 401},
        {W::kColumnOptions, 402}}},
      {"MultiCol", {{W::kDeleteColumns, 409}, {W::kColumnsProps, 401}}},
      {"All", {{W::kDeleteSelection, 410}, {W::kGridProps, 401}}},
  };
  return submenus;
}

}  // namespace

CBOMGridWindow::CBOMGridWindow(CBOMGrid& grid, StepRecorder recordStep, QWidget* parent)
    : CGridControl(grid, parent), m_grid(grid), m_recordStep(std::move(recordStep)) {
  // The menu's commands are added when it is first wanted: a design opens with a window
  // for every run's page, whose menus most pages never show.
  SetContextMenu(&m_menu);
  // The user edits the lines of a run's page in place; the total page refuses by itself.
  m_grid.EnableEdit(true);
  m_grid.SetPrompter(this);
  m_grid.FitAutoWidthColumns();
}

CBOMGridWindow::~CBOMGridWindow() { m_grid.SetPrompter(nullptr); }

QMenu& CBOMGridWindow::Menu() {
  if (m_menu.isEmpty()) BuildMenu();
  return m_menu;
}

void CBOMGridWindow::BuildMenu() {
  for (const CSubmenu& submenu : Submenus()) {
    QMenu* menu = m_menu.addMenu(QString::fromLatin1(submenu.name));
    for (const CMenuItem& item : submenu.items) {
      QAction* action = menu->addAction(QString::fromStdString(ResourceText(item.text)));
      action->setData(item.command);
      connect(action, &QAction::triggered, this,
              [this, command = item.command] { RunCommand(command); });
    }
  }
}

bool CBOMGridWindow::IsMenuAllowed() const {
  if (m_grid.IsTotalPage()) return m_grid.GetContextMenuIndex() == kWholeGridMenu;
  const CBOMSource* source = m_grid.GetRecordSource();
  return source != nullptr && source->IsBOMEditable();
}

void CBOMGridWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && BeginLineDrag(event->position().toPoint())) return;
  if (event->button() == Qt::RightButton) {
    // The right button acts on the cell under it unless it is part of the selection; on
    // a header it acts on the header's column or row, as a click there selects them.
    const CCellPos cell = HitTestCell(event->position().toPoint());
    const bool header =
        cell.row < m_grid.GetFixedRowCount() || cell.column < m_grid.GetFixedColumnCount();
    if (cell.row >= 0 && cell.column >= 0 && header) m_grid.SelectForClick(cell);
    else if (cell.row >= 0 && cell.column >= 0 &&
             !m_grid.GetSelection().Contains(cell.row, cell.column))
      m_grid.SelectCell(cell);
    if (!IsMenuAllowed()) return;
    Menu();
  }
  CGridControl::mousePressEvent(event);
}

// The item number of a line is its handle: pressing on it picks the line up.
bool CBOMGridWindow::BeginLineDrag(const QPoint& point) {
  const CCellPos cell = HitTestCell(point);
  if (cell.column != 1 || !m_grid.IsDraggableLine(cell.row)) return false;
  setFocus(Qt::MouseFocusReason);
  m_dragRow = cell.row;
  m_grid.SelectCell(cell);
  viewport()->setCursor(Qt::DragMoveCursor);
  viewport()->update();
  return true;
}

void CBOMGridWindow::EndLineDrag(const QPoint& point) {
  const int from = std::exchange(m_dragRow, -1);
  viewport()->unsetCursor();
  const int to = HitTestCell(point).row;
  if (to == from || !m_grid.IsDraggableLine(to)) return;
  if (m_recordStep) m_recordStep();
  m_grid.DropLine(from, to);
  viewport()->update();
}

void CBOMGridWindow::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragRow < 0) CGridControl::mouseMoveEvent(event);
}

void CBOMGridWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (m_dragRow >= 0 && event->button() == Qt::LeftButton) {
    EndLineDrag(event->position().toPoint());
    return;
  }
  CGridControl::mouseReleaseEvent(event);
}

void CBOMGridWindow::OnResizeFinished(EGridAxis axis, int index) {
  if (axis == EGridAxis::Columns) {
    m_grid.FinishColumnResize(index);
  } else {
    m_grid.FinishRowResize(index);
  }
}

bool CBOMGridWindow::ShowMessage(const std::string& text, const std::string& caption, bool cancel) {
  const auto buttons = cancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
  return QMessageBox::information(this, QString::fromStdString(caption),
                                  QString::fromStdString(text), buttons) == QMessageBox::Ok;
}

void CBOMGridWindow::EditCell() {
  if (m_grid.IsTotalPage() || !m_grid.IsEditAllowed() || IsEditing()) return;
  const CCellRange& selection = m_grid.GetSelection();
  if (!selection.IsSingleCell() || selection.top < 1) return;
  const CCellPos cell = selection.TopLeft();
  if (!IsCellVisible(cell.row, cell.column)) return;
  if (m_recordStep) m_recordStep();
  CGridControl::EditCell();
}

bool CBOMGridWindow::RunCellEditor(int row, int column, const QRect& cellRect) {
  const CBOMColumn* record = m_grid.GetColumn(column);
  CBOMSource* source = m_grid.GetRecordSource();
  if (record == nullptr || record->kind != kBOMKindRef || source == nullptr) {
    return CGridControl::RunCellEditor(row, column, cellRect);
  }
  QStringList codes;
  for (auto code = source->GetNextCode(true); code; code = source->GetNextCode(false)) {
    codes << QString::fromStdString(*code);
  }
  const QRect screen(viewport()->mapToGlobal(cellRect.topLeft()), cellRect.size());
  CPickListDlg list(screen, m_grid.GetCellLogFont(row, column),
                    m_grid.GetCellTextColor(row, column), codes,
                    QString::fromStdString(m_grid.GetCellText(row, column)), this);
  if (list.exec() != QDialog::Accepted) return true;
  m_grid.SetCellText(row, column, list.GetText().toStdString(),
                     static_cast<unsigned>(record->alignment), true);
  return true;
}
