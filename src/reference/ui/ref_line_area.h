#pragma once

#include <QWidget>

#include <functional>
#include <map>

#include "reference/ui/ref_core.h"

class QCheckBox;
class QLineEdit;
class QLabel;
class QPushButton;
class QScrollBar;

// The area under the line page where the configurator shows the current line: its
// schematic with the component counts (the edits sit in the schematic's zones), or its
// price table with the line's and the selection's totals. Painted by the program.
class CRefLineArea : public QWidget {
  Q_OBJECT

 public:
  enum class Content { Nothing, Schematic, Prices };
  using LayoutMaker = std::function<CRefSchematicLayout(CRefRect client, int rowHeight, int width)>;

  explicit CRefLineArea(QWidget* parent = nullptr);

  // The schematic of a picture, its zones laid out by the maker for the area's size;
  // the count edits show the counts and are editable as their rows allow (never when
  // countsLocked).
  void ShowSchematic(LayoutMaker maker, int picture, const std::map<int, int>& counts,
                     bool countsLocked);
  // The price table of the source's current record, with the line total row and, when
  // asked, the selection's total row; the quantity buttons sit on the line total row.
  void ShowPrices(const CRefReportView& view, bool lineTotal, bool selectionTotal,
                  bool quantityButtons);
  void ShowNothing();
  Content Showing() const { return m_content; }

  // The counts of the edits shown, by control number; false with the control of the
  // first text that is not a whole number within 0..9999.
  bool ReadCounts(std::map<int, int>& counts, int& badControl, std::string& problem) const;
  QLineEdit* CountEdit(int control) const;
  QLabel* Caption(int control) const;
  // The "..." button of a row, when shown.
  QPushButton* ChooseButton(int control) const;
  // A position check box of the connections, when shown.
  QCheckBox* PositionCheck(int control) const;
  QPushButton* PlusButton() const { return m_plus; }
  QPushButton* MinusButton() const { return m_minus; }
  QScrollBar* RowScroll() const { return m_rows; }
  const CRefSchematicLayout& Layout() const { return m_layout; }
  // The text of a cell as the table paints it (row -1, -2 for the totals); empty for a
  // cell it does not show.
  QString CellText(int row, int column) const;

  int RowHeight() const;
  int ColumnUnit() const;

 signals:
  void QuantityChanged(int delta);
  void ChooseRequested(int button);
  // A position check box was clicked; it does not toggle by itself.
  void CheckRequested(int control, bool wasChecked);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void LayOut();
  void PlaceRows();
  void HideControls();
  QLineEdit* MakeCountEdit(int control);
  QLabel* MakeCaption(int control);
  QPushButton* MakeChooseButton(int control);
  QCheckBox* MakeCheck(int control);
  void PaintSchematic(QPainter& painter);
  void PaintPrices(QPainter& painter);
  int PaintRow(QPainter& painter, int row, int top);
  int VisibleRows() const;
  int ZoneWidth() const;

  Content m_content = Content::Nothing;
  LayoutMaker m_maker;
  CRefSchematicLayout m_layout;
  int m_picture = 0;
  std::map<int, int> m_counts;
  bool m_countsLocked = false;
  std::map<int, QLineEdit*> m_edits;
  std::map<int, QLabel*> m_captions;
  std::map<int, QPushButton*> m_chooseButtons;
  std::map<int, QCheckBox*> m_checkBoxes;
  CRefReportView m_view;
  bool m_lineTotal = false;
  bool m_selectionTotal = false;
  bool m_quantityButtons = false;
  QPushButton* m_plus = nullptr;
  QPushButton* m_minus = nullptr;
  QScrollBar* m_rows = nullptr;
};
