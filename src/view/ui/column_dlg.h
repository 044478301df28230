#pragma once

#include <QDialog>

#include "model/bom/bom_column.h"

class QCheckBox;
class QComboBox;

// The export options of a bill-of-materials column: its export width and whether it goes
// to the CSV and Excel exports. A flag that does not apply to the column (negative) is
// shown disabled; a picture column has neither.
class CColumnDlg : public QDialog {
  Q_OBJECT

 public:
  CColumnDlg(QWidget* parent, const CBOMColumn& column);

  std::string GetExportWidth() const;
  bool GetCsv() const;
  bool GetExcel() const;
  QCheckBox* CsvBox() const { return m_csv; }
  QCheckBox* ExcelBox() const { return m_excel; }
  QComboBox* WidthBox() const { return m_width; }

 private:
  QComboBox* m_width = nullptr;
  QCheckBox* m_csv = nullptr;
  QCheckBox* m_excel = nullptr;
};
