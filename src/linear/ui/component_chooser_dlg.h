#pragma once

#include <QDialog>

#include <memory>
#include <vector>

#include "linear/component_chooser.h"
#include "linear/ref_coff_table.h"

class CLinearDlg;
class CLinearLine;
class QAbstractButton;
class QComboBox;
class QGridLayout;
class QLabel;
class QSpinBox;
class QVBoxLayout;

// The modal chooser behind the "..." buttons of the line editor: a few yes/no options,
// the fire barriers, a length or height code (kinds 0 to 7), or the tap-off boxes of
// the line grouped by their group code (kinds 20 to 24). It changes the working record
// only on OK.
class CComponentChooserDlg : public QDialog {
  Q_OBJECT

 public:
  CComponentChooserDlg(CLinearDlg& parent, int kind);
  ~CComponentChooserDlg() override;

  // Builds the rows; false when the chooser has nothing to show (no caption, or the
  // catalogue table cannot be read), so the caller does not run it.
  bool Prepare();
  void accept() override;

  // Tests: the option boxes by slot, the groups and the quantity of a shown row.
  QAbstractButton* OptionButton(int slot) const;
  QComboBox* GroupCombo() const { return m_groups; }
  QSpinBox* QuantityBox(int row) const;
  QAbstractButton* IpButton(int row) const;
  int GroupKind() const { return m_groupKind; }
  // The text label at a row (0 = the first box, header rows not counted) and column
  // (0 rating, 1 IP, 2 type) of the shown group; null where none is.
  QLabel* ShownText(int row, int column) const;

 private:
  struct OptionRow {
    int slot;
    int message;
    QAbstractButton* button;
  };

  bool PrepareOptions();
  bool PrepareBoxes();
  void AddCheck(int slot, int message, int value);
  void AddRadio(int code, const QString& text, bool checked);
  void ShowGroupRows(int group);
  void KeepShownQuantities();
  void OnExclusiveCheck(QAbstractButton* checked);
  CLinearLine& Line() const;

  CLinearDlg& m_parent;
  int m_kind;
  int m_range = 0;
  int m_groupKind = 0;
  int m_group = -1;
  QVBoxLayout* m_layout = nullptr;
  QComboBox* m_groups = nullptr;
  QGridLayout* m_rowGrid = nullptr;
  QWidget* m_rowHost = nullptr;
  QSpinBox* m_barriers = nullptr;
  std::vector<OptionRow> m_options;
  std::vector<int> m_shownEntries;  // entry index of each shown row
  std::vector<QSpinBox*> m_quantities;
  std::vector<QAbstractButton*> m_ipButtons;
  CRefCoffTable m_table;
  std::unique_ptr<CComponentChooser> m_chooser;
};
