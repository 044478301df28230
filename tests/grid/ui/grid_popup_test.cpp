#include <QTextDocument>
#include <QTimer>

#include <functional>

#include "grid/ui/grid_edit.h"
#include "grid/ui/grid_popup_dlg.h"
#include "../grid_fakes.h"
#include "grid_ui_fixture.h"

namespace {

// Runs the action on the pop-up editor once it is open; records whether it opened.
class PopupDriver {
 public:
  explicit PopupDriver(std::function<void(CGridPopupDlg&)> action) : m_action(std::move(action)) {
    QTimer::singleShot(0, &m_context, [this] { Drive(); });
  }
  bool Opened() const { return m_opened; }
  QRect Geometry() const { return m_geometry; }
  Qt::Alignment Alignment() const { return m_alignment; }
  QString InitialSelection() const { return m_selection; }

 private:
  void Drive() {
    auto* popup = qobject_cast<CGridPopupDlg*>(QApplication::activeModalWidget());
    if (!popup) return;
    m_opened = true;
    m_geometry = popup->geometry();
    m_alignment = popup->GetEdit()->document()->defaultTextOption().alignment();
    m_selection = popup->GetEdit()->textCursor().selectedText();
    m_action(*popup);
    if (popup->isVisible()) popup->reject();  // never leave a test waiting
  }

  QObject m_context;  // cancels the timer with the driver
  std::function<void(CGridPopupDlg&)> m_action;
  bool m_opened = false;
  QRect m_geometry;
  Qt::Alignment m_alignment;
  QString m_selection;
};

class GridPopupTest : public GridWindowTest {
 public:
  void SetUp() override {
    GridWindowTest::SetUp();
    m_model->EnableEdit(true);
  }
  // As the desktop delivers it: the second press comes before the double click.
  void DoubleClick(int row, int column) {
    const QPoint point = Center(row, column);
    Click(point);
    Press(point);
    Send(QEvent::MouseButtonDblClick, point, Qt::LeftButton, Qt::LeftButton);
    Release(point);
  }
};

TEST_F(GridPopupTest, EnterAcceptsCtrlEnterMakesANewLineEscapeKeepsTheTextAndAllReportTrue) {
  struct Case {
    std::vector<const char*> lines;  // typed, with Ctrl+Enter between them
    Qt::Key end;
    const char* text;
  };
  const Case cases[] = {{{"new text"}, Qt::Key_Return, "new text"},
                        {{"first", "second"}, Qt::Key_Return, "first\nsecond"},
                        {{"thrown away"}, Qt::Key_Escape, "3,2"}};
  for (const Case& c : cases) {
    m_model->SetCellText(3, 2, "3,2", 0, false);
    m_model->edits.clear();
    PopupDriver driver([&c](CGridPopupDlg& popup) {
      for (std::size_t i = 0; i < c.lines.size(); ++i) {
        if (i > 0) QTest::keyClick(popup.GetEdit(), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(popup.GetEdit(), c.lines[i]);
      }
      QTest::keyClick(popup.GetEdit(), c.end);
    });
    DoubleClick(3, 2);
    ASSERT_TRUE(driver.Opened()) << c.text;
    EXPECT_EQ(driver.InitialSelection(), QStringLiteral("3,2")) << "the old text starts selected";
    EXPECT_EQ(TextAt(3, 2), c.text) << c.text;
    ASSERT_EQ(m_model->edits.size(), 1u) << c.text;
    EXPECT_EQ(std::pair(m_model->edits[0].row, m_model->edits[0].column), std::pair(3, 2))
        << c.text;
    EXPECT_TRUE(m_model->edits[0].result) << c.text;
    EXPECT_FALSE(m_grid->IsEditing());
  }
}

TEST_F(GridPopupTest, F2OpensTheEditorOnTheSelectedCellAndTheKeypadEnterAccepts) {
  PopupDriver driver([](CGridPopupDlg& popup) {
    QTest::keyClicks(popup.GetEdit(), "keypad");
    QTest::keyClick(popup.GetEdit(), Qt::Key_Enter);
  });
  ASSERT_TRUE(m_model->SelectCell({4, 4}));
  Key(Qt::Key_F2);
  ASSERT_TRUE(driver.Opened());
  EXPECT_EQ(TextAt(4, 4), "keypad");
}

TEST_F(GridPopupTest, EditorLiesOverTheCellInItsAlignment) {
  struct Case {
    unsigned itemData;
    Qt::Alignment alignment;
  };
  const Case cases[] = {
      {0, Qt::AlignLeft}, {1, Qt::AlignHCenter}, {2, Qt::AlignRight}, {3, Qt::AlignLeft}};
  for (const Case& c : cases) {
    m_model->SetCellText(2, 3, "aligned", c.itemData, false);
    PopupDriver driver([](CGridPopupDlg& popup) { popup.reject(); });
    DoubleClick(2, 3);
    ASSERT_TRUE(driver.Opened()) << c.itemData;
    EXPECT_EQ(driver.Alignment() & Qt::AlignHorizontal_Mask, c.alignment) << c.itemData;
    const QRect cell = CellRect(2, 3);
    EXPECT_EQ(driver.Geometry().topLeft(), Client()->mapToGlobal(cell.topLeft() + QPoint(1, 1)));
    EXPECT_EQ(driver.Geometry().size(), cell.size() - QSize(1, 1));
  }
}

TEST_F(GridPopupTest, NoEditorWhereEditingIsNotAllowed) {
  struct Case {
    const char* name;
    std::function<void(GridPopupTest&)> prepare;
    std::function<void(GridPopupTest&)> start;
    bool askedModel;
  };
  const Case cases[] = {
      {"editing disabled", [](GridPopupTest& t) { t.m_model->EnableEdit(false); },
       [](GridPopupTest& t) { t.DoubleClick(3, 3); }, false},
      {"double click on a fixed cell", [](GridPopupTest&) {},
       [](GridPopupTest& t) { t.DoubleClick(0, 3); }, false},
      {"double click on the corner", [](GridPopupTest&) {},
       [](GridPopupTest& t) { t.DoubleClick(0, 0); }, false},
      {"F2 on a cell partly out of view",
       [](GridPopupTest& t) {
         t.m_model->PutColumnWidth(5, 60);  // reaches 310 of 300 pixels
         t.m_model->SelectCell({3, 5});
       },
       [](GridPopupTest& t) { t.Key(Qt::Key_F2); }, false},
      {"F2 on a range",
       [](GridPopupTest& t) {
         t.m_model->SetSelection({2, 2, 3, 3}, false);
       },
       [](GridPopupTest& t) { t.Key(Qt::Key_F2); }, false},
      {"the model refuses", [](GridPopupTest& t) { t.m_model->editable = false; },
       [](GridPopupTest& t) { t.DoubleClick(3, 3); }, true},
  };
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    PopupDriver driver([](CGridPopupDlg& popup) { popup.reject(); });
    c.prepare(*this);
    c.start(*this);
    EXPECT_FALSE(driver.Opened()) << c.name;
    EXPECT_EQ(m_model->asked > 0, c.askedModel) << c.name;
    EXPECT_TRUE(m_model->edits.empty()) << c.name;
    QApplication::processEvents();
  }
}

TEST_F(GridPopupTest, CellsWithoutTextHaveNoEditorAndReportFalse) {
  m_model->SetCell(3, 3, nullptr, false);
  ASSERT_TRUE(m_model->SetCellBitmap(3, 4, MakeBitmap(4, 4), false));
  PopupDriver driver([](CGridPopupDlg& popup) { popup.reject(); });
  DoubleClick(3, 3);
  DoubleClick(3, 4);
  EXPECT_FALSE(driver.Opened());
  ASSERT_EQ(m_model->edits.size(), 2u);
  EXPECT_FALSE(m_model->edits[0].result);
  EXPECT_FALSE(m_model->edits[1].result);
}

}  // namespace
