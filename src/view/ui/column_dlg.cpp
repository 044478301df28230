#include "view/ui/column_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "app/message_text.h"
#include "model/bom/bom_column_kind.h"
#include "view/ui/dialog_buttons.h"

namespace {

constexpr int kMsgExportOptions = 402;
constexpr int kMsgExportWidth = 7561;
const char* const kWidths[] = {"50",  "100", "150", "200", "250", "300",
                               "400", "500", "600", "700", "800", "900"};

QCheckBox* FlagBox(QWidget* parent, const QString& text, int flag, bool picture) {
  auto* box = new QCheckBox(text, parent);
  box->setChecked(flag > 0);
  box->setEnabled(flag >= 0 && !picture);
  return box;
}

}  // namespace

CColumnDlg::CColumnDlg(QWidget* parent, const CBOMColumn& column) : QDialog(parent) {
  setWindowTitle(QString::fromStdString(StringText(kMsgExportOptions)));
  auto* form = new QFormLayout(this);
  m_width = new QComboBox(this);
  m_width->setEditable(true);
  for (const char* width : kWidths) m_width->addItem(width);
  m_width->setEditText(QString::number(column.exportWidth));
  const bool picture = column.kind == kBOMKindPicture;
  m_csv = FlagBox(this, "CSV", column.csvFlag, picture);
  m_excel = FlagBox(this, "Excel", column.excelFlag, picture);
  form->addRow(QString::fromStdString(StringText(kMsgExportWidth)), m_width);
  form->addRow(QString(), m_csv);
  form->addRow(QString(), m_excel);
  form->addRow(MakeDialogButtons(this));
}

std::string CColumnDlg::GetExportWidth() const {
  return m_width->currentText().trimmed().toStdString();
}
bool CColumnDlg::GetCsv() const { return m_csv->isChecked(); }
bool CColumnDlg::GetExcel() const { return m_excel->isChecked(); }
