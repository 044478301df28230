// The context commands of a bill-of-materials page window.

#include <QMessageBox>

#include <vector>

#include "model/bom/bom_grid.h"
#include "model/bom/bom_source.h"
#include "view/ui/bom_grid_window.h"
#include "view/ui/cell_props_dlg.h"
#include "view/ui/column_dlg.h"

namespace {

std::vector<int> Span(int first, int last) {
  std::vector<int> items;
  for (int i = first; i <= last; ++i) items.push_back(i);
  return items;
}

}  // namespace

void CBOMGridWindow::RunCommand(int command) {
  switch (command) {
    case kCellProps: EditProps(CBOMCellProps::kCell); break;
    case kCellsProps: EditProps(CBOMCellProps::kCells); break;
    case kRowProps: EditProps(CBOMCellProps::kRow); break;
    case kRowsProps: EditProps(CBOMCellProps::kRows); break;
    case kColumnProps: EditProps(CBOMCellProps::kColumn); break;
    case kColumnsProps: EditProps(CBOMCellProps::kColumns); break;
    case kGridProps: EditProps(CBOMCellProps::kGrid); break;
    case kDeleteRow:
    case kDeleteRows: DeleteSelection(true, false); break;
    case kDeleteColumn:
    case kDeleteColumns: DeleteSelection(false, true); break;
    case kDeleteSelection: DeleteSelection(true, true); break;
    case kInsertColumn: InsertColumn(); break;
    case kColumnOptions: EditColumnOptions(); break;
    default: return;
  }
  viewport()->update();
}

void CBOMGridWindow::EditProps(int mode) {
  const CCellRange range = m_grid.GetSelection();
  if (!range.IsValid()) return;
  if (mode == CBOMCellProps::kColumn && range.left < 2) return;
  CCellPropsDlg dialog(this, mode, m_grid.GetCellProps(mode, range.top, range.left));
  if (dialog.exec() != QDialog::Accepted) return;
  if (m_recordStep) m_recordStep();
  m_grid.ApplyCellProps(mode, range.top, range.left, range.bottom, range.right, dialog.GetProps());
}

void CBOMGridWindow::InsertColumn() {
  const CCellRange range = m_grid.GetSelection();
  if (!range.IsValid()) return;
  if (m_recordStep) m_recordStep();
  const int column = m_grid.InsertColumnForEdit(range.left);
  if (column < 0) return;
  CCellPropsDlg dialog(this, CBOMCellProps::kColumn,
                       m_grid.GetCellProps(CBOMCellProps::kColumn, 0, column));
  if (dialog.exec() != QDialog::Accepted) {
    m_grid.DeleteColumn(column);
    return;
  }
  m_grid.ApplyCellProps(CBOMCellProps::kColumn, 0, column, 0, column, dialog.GetProps());
}

void CBOMGridWindow::EditColumnOptions() {
  const CCellRange range = m_grid.GetSelection();
  const CBOMColumn* column = range.IsValid() ? m_grid.GetColumn(range.left) : nullptr;
  if (column == nullptr || range.left < 1) return;
  CColumnDlg dialog(this, *column);
  if (dialog.exec() != QDialog::Accepted) return;
  if (m_recordStep) m_recordStep();
  m_grid.ApplyColumnOptions(range.left, dialog.GetExportWidth(), dialog.GetCsv(),
                            dialog.GetExcel());
}

void CBOMGridWindow::DeleteSelection(bool rows, bool columns) {
  const CCellRange range = m_grid.GetSelection();
  if (!range.IsValid()) return;
  if (m_recordStep) m_recordStep();
  if (rows) m_grid.DeleteLines(Span(range.top, range.bottom));
  if (columns) m_grid.DeleteColumns(Span(range.left, range.right));
  if (rows && !columns) {
    if (CBOMSource* source = m_grid.GetRecordSource()) source->UpdateDocumentViews();
  }
}
