#pragma once

#include <QDialog>
#include <QWidget>

#include "linear/ui/linear_environment.h"
#include "reference/ui/ref_core.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPrinter;

// What the configurator hands to the comparison: the line's input, where the tables lie
// and the decimal character the user types and reads.
struct CRefCompSetup {
  CRefCompInput input;
  CRefCatalogueSetup catalogue;
  char decimal = '.';
};

// Control 1372 of the comparison: the overview of every solution (a table of their
// totals over a stacked bar chart of labour and material) or the detail table of the
// selected one.
class CRefCompChart : public QWidget {
 public:
  CRefCompChart(const CRefComparison& comparison, const CRefCompSetup& setup, QWidget* parent);
  void SetView(int solution, std::int64_t labourRate);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintOverview(QPainter& painter);
  void PaintBars(QPainter& painter, const std::vector<CRefCompColumn>& columns, QRect area);
  void PaintDetail(QPainter& painter);
  void PaintDetailRow(QPainter& painter, const CRefCompDetailRow& row,
                      const std::array<int, 7>& widths, QRect area);

  const CRefComparison& m_comparison;
  const CRefCompSetup& m_setup;
  int m_solution = -1;
  std::int64_t m_rate = 0;
};

// The comparison of a line's installation solutions: their totals side by side with a
// chart, or one solution in detail; the cable price and the labour rate may be changed
// and applied, the items' prices edited, and the dialog's picture printed.
class CSolutionCompareDlg : public QDialog {
  Q_OBJECT

 public:
  CSolutionCompareDlg(const CRefCompSetup& setup, const CLinearEnvironment& environment,
                      QWidget* parent = nullptr);

  const CRefComparison& Comparison() const { return m_comparison; }
  CRefComparison& MutableComparison() { return m_comparison; }
  const CRefCompSetup& Setup() const { return m_setup; }
  int SelectedSolution() const { return m_selected; }
  std::int64_t LabourRate() const { return m_rate; }

  void OnSolutionChange();
  // Takes the cable price and the labour rate typed; false (the edits restored) when one
  // is not a number or the price is negative.
  bool OnApply();
  void OnComplementaryItems();
  void OnPrint();
  // Prints the dialog's picture on one page, as wide as the page allows.
  bool PrintTo(QPrinter& printer);

 private:
  void BuildControls();
  QWidget* BuildFigures();
  QLayout* BuildButtons();
  void FillSolutionCombo();
  void ShowEdits();
  void Refresh();
  void Tell(int message);

  CRefCompSetup m_setup;
  const CLinearEnvironment& m_environment;
  CRefComparison m_comparison;
  std::int64_t m_rate = 0;
  int m_selected = -1;
  int m_lampFixShown = 1;
  QComboBox* m_solutions = nullptr;
  QLabel* m_cableCaption = nullptr;
  QLineEdit* m_cablePrice = nullptr;
  QLineEdit* m_labourRate = nullptr;
  CRefCompChart* m_chart = nullptr;
};
