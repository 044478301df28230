#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "grid/grid_cell_format.h"
#include "grid/ui/grid_control.h"

// A grid model that lets every cell be edited (unless told otherwise) and records the
// edits it is told of.
class CEditableModel : public CGridModel {
 public:
  struct Edit {
    int row, column;
    bool result;
  };
  using CGridModel::CGridModel;

  bool CanEditCell(int, int) override {
    ++asked;
    return editable;
  }
  void OnCellEdited(int row, int column, bool result) override {
    edits.push_back({row, column, result});
  }

  bool editable = true;
  int asked = 0;
  std::vector<Edit> edits;
};

// 30 rows 20 high and 10 columns 50 wide, 1 fixed row and column, each cell reading
// "r,c", in a window whose client area is 300 x 200 while both scroll bars show.
class GridWindowTest : public ::testing::Test {
 public:  // the helpers serve tables of lambdas too
  void SetUp() override {
    m_model = std::make_unique<CEditableModel>(30, 10, 1, 1);
    for (int row = 0; row < 30; ++row) m_model->PutRowHeight(row, 20);
    for (int column = 0; column < 10; ++column) m_model->PutColumnWidth(column, 50);
    for (int row = 0; row < 30; ++row) {
      for (int column = 0; column < 10; ++column) {
        m_model->SetCellText(row, column, std::to_string(row) + "," + std::to_string(column), 0,
                             false);
      }
    }
    m_grid = std::make_unique<CGridControl>(*m_model);
    m_grid->setFrameShape(QFrame::NoFrame);
    const int bar = m_grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_grid.get());
    m_grid->resize(300 + bar, 200 + bar);
    m_grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_grid.get()));
    m_grid->UpdateScrollBars();
  }
  void TearDown() override {
    m_grid.reset();
    m_model.reset();
  }

  QWidget* Client() const { return m_grid->viewport(); }
  QPoint Center(int row, int column) const {
    return m_grid->GetCellRangeRect({row, column, row, column}).center();
  }
  QRect CellRect(int row, int column) const {
    return m_grid->GetCellRangeRect({row, column, row, column});
  }
  void Send(QEvent::Type type, const QPoint& point, Qt::MouseButton button,
            Qt::MouseButtons buttons) {
    QMouseEvent event(type, point, Client()->mapToGlobal(point), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(Client(), &event);
  }
  void Press(const QPoint& point, Qt::MouseButton button = Qt::LeftButton) {
    Send(QEvent::MouseButtonPress, point, button, button);
  }
  void Move(const QPoint& point, Qt::MouseButtons buttons = Qt::LeftButton) {
    Send(QEvent::MouseMove, point, Qt::NoButton, buttons);
  }
  void Release(const QPoint& point) {
    Send(QEvent::MouseButtonRelease, point, Qt::LeftButton, Qt::NoButton);
  }
  void Click(const QPoint& point) {
    Press(point);
    Release(point);
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(m_grid.get(), static_cast<Qt::Key>(key), modifiers);
  }
  std::string TextAt(int row, int column) const {
    const CGridCellFormat* cell = m_model->GetTextCell(row, column);
    return cell ? cell->GetText() : std::string("-");
  }

  std::unique_ptr<CEditableModel> m_model;
  std::unique_ptr<CGridControl> m_grid;
};
