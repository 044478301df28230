#pragma once

#include <QDialog>

#include "model/bom/bom_cell_props.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// The properties of bill-of-materials cells, rows, columns or the whole grid (the mode):
// row height, column width, a text, the alignment, a column's kind and a font. It loads
// and collects the fields; the grid applies them.
class CCellPropsDlg : public QDialog {
  Q_OBJECT

 public:
  CCellPropsDlg(QWidget* parent, int mode, const CBOMCellProps& props);

  const CBOMCellProps& GetProps() const { return m_props; }
  QComboBox* KindBox() const { return m_kind; }
  void accept() override;

 private:
  void OnKindChosen();
  void OnFont();
  void EnableForMode();

  int m_mode;
  CBOMCellProps m_props;
  QComboBox* m_rowHeight = nullptr;
  QComboBox* m_columnWidth = nullptr;
  QLineEdit* m_text = nullptr;
  QComboBox* m_alignment = nullptr;
  QComboBox* m_kind = nullptr;
  QPushButton* m_font = nullptr;
};
