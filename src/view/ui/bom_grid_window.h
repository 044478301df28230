#pragma once

#include <QMenu>

#include <functional>
#include <memory>

#include "grid/ui/grid_control.h"
#include "model/bom/bom_prompter.h"

class CBOMGrid;

// The window of a bill-of-materials page: the grid window with the page's editing (the
// reference pick list, the in-place editor elsewhere), its context menu of fourteen
// commands and their dialogs. The rules are the page's; this window asks, collects and
// hands over. Every change is preceded by a step of the document's undo history.
class CBOMGridWindow : public CGridControl, private CBOMPrompter {
  Q_OBJECT

 public:
  // Context commands, by their menu ids.
  enum Command {
    kCellProps = 32820,
    kCellsProps = 32838,
    kDeleteRow = 32821,
    kRowProps = 32822,
    kDeleteRows = 32823,
    kRowsProps = 32824,
    kInsertColumn = 32825,
    kDeleteColumn = 32826,
    kColumnProps = 32827,
    kColumnOptions = 32874,
    kDeleteColumns = 32828,
    kColumnsProps = 32829,
    kDeleteSelection = 32830,
    kGridProps = 32831,
  };
  using StepRecorder = std::function<void()>;

  CBOMGridWindow(CBOMGrid& grid, StepRecorder recordStep, QWidget* parent = nullptr);
  ~CBOMGridWindow() override;

  CBOMGrid& Grid() { return m_grid; }
  // The context menu, its commands added on first use.
  QMenu& Menu();
  // Runs a context command on the current selection (what its menu item does).
  void RunCommand(int command);
  // Whether the context menu opens now.
  bool IsMenuAllowed() const;
  void EditCell() override;
  // The line whose item number is being dragged; -1 when none.
  int GetDraggedLine() const { return m_dragRow; }

 protected:
  bool RunCellEditor(int row, int column, const QRect& cellRect) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void OnResizeFinished(EGridAxis axis, int index) override;

 private:
  bool ShowMessage(const std::string& text, const std::string& caption, bool cancel) override;
  void BuildMenu();
  void EditProps(int mode);
  void InsertColumn();
  void EditColumnOptions();
  void DeleteSelection(bool rows, bool columns);
  bool BeginLineDrag(const QPoint& point);
  void EndLineDrag(const QPoint& point);

  CBOMGrid& m_grid;
  StepRecorder m_recordStep;
  QMenu m_menu;
  int m_dragRow = -1;
};
