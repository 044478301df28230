// The context menu of a bill-of-materials page and its dialogs: what they load, what
// they hand over, and a screenshot of each in build/test-output/.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "grid/ui/grid_qt_convert.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_source.h"
#include "model/bom/bom_stored_fonts.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "support/test_output.h"
#include "view/ui/bom_font_choice.h"
#include "view/ui/bom_grid_window.h"
#include "view/ui/cell_props_dlg.h"
#include "view/ui/column_dlg.h"
#include "view/ui/pick_list_dlg.h"

namespace {

void Save(QWidget& widget, const char* name) {
  widget.adjustSize();
  EXPECT_TRUE(widget.grab().save(QString::fromStdString(TestOutputPath(name)))) << name;
}

// Runs the action on the next modal dialog (or menu) once it shows.
void OnNextModal(const std::function<void(QWidget&)>& action) {
  QTimer::singleShot(0, [action] {
    if (QWidget* modal = QApplication::activeModalWidget()) action(*modal);
  });
}

class BOMDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_document.OnNewDocument("2026-12-01");
    m_run = m_document.GetRunAt(0);
    for (const char* reference : {"QJF-1", "QJF-2"}) m_run->GetBOM().AddRefQuantity(reference, 2);
    m_window = std::make_unique<CBOMGridWindow>(m_run->GetBOM(), [this] { ++m_steps; });
    m_window->resize(400, 200);
    m_window->show();
  }

  CDorneDoc m_document;
  CRun* m_run = nullptr;
  std::unique_ptr<CBOMGridWindow> m_window;
  int m_steps = 0;
};

// Lines booked before a window shows the page are measured when it comes: no reference
// is cut.
TEST_F(BOMDialogsTest, ColumnsFitTheLinesBookedBeforeTheWindowCame) {
  m_window.reset();
  m_run->GetBOM().AddRefQuantity("QDA40EF4SM-AND-A-LONG-TAIL", 1);
  m_window = std::make_unique<CBOMGridWindow>(m_run->GetBOM(), [] {});
  const CBOMGrid& page = m_run->GetBOM();
  for (int column = 0; column < page.GetColumnCount(); ++column) {
    if (page.GetColumn(column) == nullptr || !page.GetColumn(column)->autoWidth) continue;
    for (int row = 0; row < page.GetRowCount(); ++row)
      EXPECT_GE(page.GetColumnWidth(column), page.GetCellTextExtent(row, column).cx)
          << row << " " << column;
  }
}

TEST_F(BOMDialogsTest, MenuHoldsTheFourteenCommandsInSevenSubmenus) {
  const QList<QAction*> submenus = m_window->Menu().actions();
  ASSERT_EQ(submenus.size(), 7);
  int commands = 0;
  for (QAction* submenu : submenus) commands += static_cast<int>(submenu->menu()->actions().size());
  EXPECT_EQ(commands, 14);
  QMenu* column = submenus[4]->menu();
  column->popup({0, 0});
  Save(*column, "bom_menu.png");
  column->hide();
}

// Every dialog mode enables what it edits; choosing a kind proposes its title and alignment.
TEST_F(BOMDialogsTest, PropertiesDialogInEachMode) {
  const CBOMGrid& grid = m_run->GetBOM();
  for (int mode = CBOMCellProps::kCell; mode <= CBOMCellProps::kGrid; ++mode) {
    CCellPropsDlg dialog(nullptr, mode, grid.GetCellProps(mode, 1, 2));
    EXPECT_EQ(dialog.KindBox()->isEnabled(), mode == CBOMCellProps::kColumn) << mode;
    if (mode == CBOMCellProps::kColumn) {
      const int price = dialog.KindBox()->findData(kBOMKindUnitPrice);
      dialog.KindBox()->setCurrentIndex(price);
      emit dialog.KindBox()->activated(price);
      dialog.accept();
      EXPECT_EQ(dialog.GetProps().kind, kBOMKindUnitPrice);
      EXPECT_EQ(dialog.GetProps().alignment, 2);
      EXPECT_EQ(dialog.GetProps().text, BOMDefaultTitle(kBOMKindUnitPrice));
    }
    dialog.show();
    Save(dialog, ("bom_props_" + std::to_string(mode) + ".png").c_str());
  }
}

// Inserting a column opens its properties; Cancel takes it away again, OK keeps it (one
// undo step each time).
TEST_F(BOMDialogsTest, InsertingAColumnAndCancelling) {
  CBOMGrid& grid = m_run->GetBOM();
  grid.SelectCell({0, 2});
  for (const bool ok : {false, true}) {
    const int columns = grid.GetColumnCount();
    OnNextModal([ok](QWidget& dialog) {
      ok ? static_cast<QDialog&>(dialog).accept() : static_cast<QDialog&>(dialog).reject();
    });
    m_window->RunCommand(CBOMGridWindow::kInsertColumn);
    EXPECT_EQ(grid.GetColumnCount(), columns + (ok ? 1 : 0)) << ok;
  }
  EXPECT_EQ(m_steps, 2);
  EXPECT_TRUE(m_document.IsModified());
}

TEST_F(BOMDialogsTest, ColumnExportOptions) {
  CBOMColumn column;
  column.exportWidth = 150;
  column.csvFlag = -1;
  column.excelFlag = 1;
  CColumnDlg dialog(nullptr, column);
  EXPECT_FALSE(dialog.CsvBox()->isEnabled());
  EXPECT_TRUE(dialog.ExcelBox()->isChecked());
  EXPECT_EQ(dialog.GetExportWidth(), "150");
  EXPECT_EQ(dialog.WidthBox()->count(), 12);
  dialog.show();
  Save(dialog, "bom_column_options.png");
  column.kind = kBOMKindPicture;
  CColumnDlg picture(nullptr, column);
  EXPECT_FALSE(picture.ExcelBox()->isEnabled());
}

TEST_F(BOMDialogsTest, PickListOverTheCell) {
  for (const int codes : {0, 3, 20}) {
    QStringList list;
    for (int i = 0; i < codes; ++i) list << QString("CODE-%1").arg(i);
    CPickListDlg dialog(QRect(10, 10, 160, 22), m_run->GetBOM().GetLogFont(), MakeColor(0, 0, 128),
                        list, "QJF-1");
    EXPECT_EQ(dialog.Edit()->selectedText(), "QJF-1");
    EXPECT_EQ(dialog.List()->currentRow(), -1);
    const int rows = std::min(CPickListDlg::kMaxVisibleItems, codes + 1);
    EXPECT_EQ(dialog.List()->height(), rows * (dialog.List()->fontMetrics().height() + 2)) << codes;
    if (codes == 3) {
      dialog.show();
      dialog.List()->setCurrentRow(1);
      EXPECT_EQ(dialog.GetText(), "CODE-1");
      Save(dialog, "bom_pick_list.png");
    }
  }
}

// A font left as it was in the dialog keeps its stored description (and so its 92
// stored bytes); a changed one keeps the fields Qt does not know.
TEST_F(BOMDialogsTest, FontsKeepTheirStoredDescription) {
  const CLogFont stored{.height = -13,
                        .weight = 400,
                        .charSet = 238,
                        .outPrecision = 3,
                        .quality = 1,
                        .pitchAndFamily = 34,
                        .faceName = "Arial"};
  const CLogFont same = MergeChosenFont(stored, tvr::grid::ToQFont(stored));
  EXPECT_EQ(CBOMStoredFonts::Encode(same), CBOMStoredFonts::Encode(stored));
  QFont bold = tvr::grid::ToQFont(stored);
  bold.setBold(true);
  const CLogFont changed = MergeChosenFont(stored, bold);
  EXPECT_EQ(changed.weight, 700);
  EXPECT_EQ(changed.charSet, 238);
  EXPECT_EQ(changed.pitchAndFamily, 34);
}

}  // namespace
