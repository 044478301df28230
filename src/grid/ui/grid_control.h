#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>

#include <memory>

#include "grid/grid_listener.h"
#include "grid/grid_model.h"
#include "grid/grid_palette.h"
#include "grid/grid_viewport.h"
#include "grid/ui/qt_text_measurer.h"

class QMenu;
class QPainter;

// The grid window: shows a grid model, scrolls it by whole rows and columns (the fixed
// rows and columns stay), selects by click and drag (a header selects its column or
// row, the corner everything), resizes columns and rows by dragging header borders,
// moves the selection with the keys, edits a text cell in the pop-up editor (double
// click or F2, while the model allows it), opens the submenu of its context menu that
// fits the selection, and signals every left click that began on a cell.
class CGridControl : public QAbstractScrollArea, private CGridListener {
  Q_OBJECT

 public:
  enum MouseMode {
    kModeNone = 0,
    kModeCells = 1,
    kModeRows = 2,
    kModeColumns = 3,
    kModeAll = 4,
    kModeResizeColumn = 5,
    kModeResizeRow = 6,
  };

  // A window over a model that outlives it (the window attaches itself to the model and
  // detaches when it goes).
  explicit CGridControl(CGridModel& model, QWidget* parent = nullptr);
  // A window with a model of its own, sized with the screen's fonts.
  CGridControl(int rows, int columns, int fixedRows, int fixedColumns, QWidget* parent = nullptr);
  ~CGridControl() override;

  CGridModel& GetModel() { return *m_model; }
  const CGridModel& GetModel() const { return *m_model; }
  const CGridViewport& GetViewport() const { return m_viewport; }

  // The menu whose submenus 0..6 serve one cell, cells, one row, rows, one column,
  // columns and everything; not owned; null shows no menu.
  void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }
  QMenu* GetContextMenu() const { return m_contextMenu; }

  // Geometry in the coordinates of the viewport (the client area).
  CCellPos HitTestCell(const QPoint& point) const;
  CCellRange GetVisibleCellRange() const { return m_viewport.GetVisibleCellRange(); }
  bool IsCellVisible(int row, int column) const { return m_viewport.IsCellVisible(row, column); }
  QRect GetCellRangeRect(const CCellRange& range) const;
  // Repaints the shown part of the range.
  void RedrawCellRange(const CCellRange& range);
  // Recomputes the scroll ranges from the model's sizes and the window's.
  void UpdateScrollBars();
  // Scroll positions in rows (columns) past the fixed ones.
  void SetScrollPos(EGridAxis axis, int position);
  int GetScrollPos(EGridAxis axis) const { return m_viewport.GetScrollPos(axis); }

  // Draws every cell meeting the rectangle, as if nothing were scrolled, in the
  // painter's coordinates (printing).
  void DrawCells(QPainter& painter, int left, int top, int right, int bottom) const;

  int GetMouseMode() const { return m_mouseMode; }
  // The column (row) being resized while the mouse mode is a resize; -1 otherwise.
  int GetResizeIndex() const { return m_resizeIndex; }
  bool IsEditing() const { return m_editing; }
  CCellPos GetPressedCell() const { return m_pressedCell; }
  CCellPos GetReleasedCell() const { return m_releasedCell; }

  // Edits the top-left selected cell when the model allows it (CanEditCell), then tells
  // the model (OnCellEdited) and repaints.
  virtual void EditCell();

 signals:
  // After the left button is released, when it was pressed on a cell (selections, drags
  // and resizes included); the receiver reads the selection.
  void Clicked();

 protected:
  // The cell's own editor: the pop-up editor for a text cell. False when the cell has
  // none (empty and bitmap cells) or it could not run.
  virtual bool RunCellEditor(int row, int column, const QRect& cellRect);
  // After the user has set the size of a column or row by dragging its border.
  virtual void OnResizeFinished(EGridAxis axis, int index);
  CGridPalette Palette() const;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void GridInvalidated() override;
  void GridLayoutChanged() override;

  void SetUp();
  void SyncClientSize();
  void OnScrollAction(EGridAxis axis, int action);
  void ScrollLine(EGridAxis axis, int step);
  void BeginResize(const CGridBorderHit& border, const QPoint& point);
  void FinishResize(const QPoint& point);
  void ShowContextMenu(const QPoint& point);
  bool CanStartEdit() const;
  bool HandleNavigationKey(int key);
  void SelectAfterPaging(int row, int column);

  CQtTextMeasurer m_measurer;  // before the own model, which measures with it
  std::unique_ptr<CGridModel> m_ownModel;
  CGridModel* m_model = nullptr;
  CGridViewport m_viewport;
  QMenu* m_contextMenu = nullptr;
  int m_mouseMode = kModeNone;
  CCellPos m_pressedCell;
  CCellPos m_releasedCell;
  CCellPos m_lastCell;
  QPoint m_lastPoint;
  int m_resizeIndex = -1;
  int m_trackPos = -1;  // the resize tracking bar, in client pixels
  bool m_editing = false;
  bool m_updatingBars = false;
};
