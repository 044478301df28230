// The layout view's tools off screen: synthesized mouse and key events on a new design,
// the document checked after each.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTest>

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "support/temp_folder.h"
#include "view/draw_mapping.h"
#include "view/ui/child_frame.h"
#include "view/view_tools.h"

namespace {

class LayoutToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Folder();
    m_document = std::make_unique<CDorneDoc>(environment);
    m_document->OnNewDocument("d");
    Run().GetStartMarker()->SetBackOffsets({300, 200, 0});
    m_frame = std::make_unique<CChildFrame>(*m_document, CDorneView::CContext());
    m_frame->resize(640, 480);
    m_frame->show();
    View().SetBeeper([this] { ++m_beeps; });
    View().SetTextAsker([this](const QString&, const QString&) { return m_answer; });
  }
  CDorneView& View() { return *m_frame->View(); }
  CRun& Run() { return *m_document->GetCurrentRun(); }
  // The client point `length` units from the insertion point along the axis bit.
  QPoint Toward(int axis, double length) {
    CDrawMapping mapping;
    View().ViewWindow().ApplyTo(mapping, View().ClientSize());
    const C3DPoint point = m_document->GetCursorPoint() + RunMoveVector(axis, length);
    const CPoint device = mapping.ToDevice(m_document->Projection().ProjectPoint(point));
    return {device.x, device.y};
  }
  void Click(QPoint point, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QTest::mouseClick(&View(), Qt::LeftButton, keys, point);
  }
  void Drag(Qt::MouseButton button, QPoint from, QPoint to, bool release = true) {
    QTest::mousePress(&View(), button, Qt::NoModifier, from);
    QTest::mouseMove(&View(), (from + to) / 2);
    QTest::mouseMove(&View(), to);
    if (release) QTest::mouseRelease(&View(), button, Qt::NoModifier, to);
  }
  // A run of a start and three straights toward +x, placed by clicks and the Enter key.
  void PlaceRunByClicks() {
    View().ZoomToRect({-2000, -6000}, {8000, 6000});
    Click(Toward(1, 1500));
    QTest::keyClick(&View(), Qt::Key_Return);
    for (int i = 0; i < 3; ++i) Click(Toward(1, 1500));
  }

  CTempFolder m_folder{"layout-tools"};
  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CChildFrame> m_frame;
  int m_beeps = 0;
  std::optional<QString> m_answer;
};

TEST_F(LayoutToolsTest, ClicksAndEnterBuildARunThatUndoTakesBackStepByStep) {
  EXPECT_EQ(View().ToolCursor(), 185);
  PlaceRunByClicks();
  EXPECT_EQ(Run().GetFlagsWord(), 1u);
  EXPECT_EQ(Run().GetDevices().size(), 4u);
  EXPECT_NEAR(m_document->GetCursorPoint().x, 4500.0, 150.0);  // as far as pixels tell
  EXPECT_EQ(View().ToolCursor(), 161);
  EXPECT_EQ(m_frame->Prompt(), 31473);
  EXPECT_EQ(m_beeps, 0);
  QTest::keyClick(&View(), Qt::Key_Escape);
  EXPECT_EQ(m_document->GetToolMode(), 0);
  EXPECT_EQ(View().ToolCursor(), 156);
  ASSERT_EQ(m_document->GetUndo().Undo(), 1);
  EXPECT_EQ(m_document->GetCurrentRun()->GetDevices().size(), 3u);
  QDir().mkpath(QStringLiteral(TVR_TEST_OUTPUT_DIR));
  View().grab().save(QStringLiteral(TVR_TEST_OUTPUT_DIR "/layout_tools_run.png"));
}

TEST_F(LayoutToolsTest, DragsOrbitPanAndZoomTheView) {
  PlaceRunByClicks();
  const QPoint onRun = Toward(2, 750);
  struct Row {
    int command;  // 0: the middle button
    bool turns, moves, zooms;
  };
  const Row rows[] = {
      {33024, true, true, false}, {0, false, true, false}, {32858, false, true, true}};
  for (const Row& row : rows) {
    const int angle = m_document->Projection().GetViewAngle(1);
    const auto centre = m_document->GetViewCentre();
    const auto size = m_document->GetViewSize();
    if (row.command != 0) m_frame->OnCommand(row.command);
    Drag(row.command == 0 ? Qt::MiddleButton : Qt::LeftButton, onRun, onRun + QPoint(40, 30));
    EXPECT_EQ(m_document->Projection().GetViewAngle(1) != angle, row.turns) << row.command;
    EXPECT_EQ(m_document->GetViewCentre() != centre, row.moves) << row.command;
    EXPECT_EQ(m_document->GetViewSize() != size, row.zooms) << row.command;
    if (row.command == 33024) m_frame->OnCommand(33024);
    EXPECT_EQ(m_document->GetToolMode(), 1) << row.command;
  }
}

TEST_F(LayoutToolsTest, ADraggedRegionBecomesAPictureOfItsSize) {
  const QString path = QString::fromStdString(m_folder.File("region.bmp"));
  m_frame->SetFileChooser(
      [&path](const std::string&, const std::string&, const std::string&) { return path; });
  m_frame->OnCommand(33061);
  Drag(Qt::LeftButton, {100, 100}, {300, 250});
  // The corners pass through scene units and back: a pixel or two may go.
  const QSize size = QImage(path).size();
  EXPECT_NEAR(size.width(), 200, 2);
  EXPECT_NEAR(size.height(), 150, 2);
  EXPECT_EQ(m_document->GetToolMode(), CViewTools::kPlaceStart);
}

TEST_F(LayoutToolsTest, CtrlClickMovesTheStartByTheTypedLength) {
  View().ZoomToRect({-2000, -6000}, {8000, 6000});
  m_answer = QStringLiteral("5");
  Click(Toward(4, 2000), Qt::ControlModifier);
  EXPECT_EQ(m_document->GetCursorPoint(), C3DPoint(0, 8, 0));
  m_answer.reset();
  Click(Toward(4, 2000), Qt::ControlModifier);
  EXPECT_EQ(m_document->GetCursorPoint(), C3DPoint(0, 8, 0));
  EXPECT_EQ(m_beeps, 0);
}

}  // namespace
