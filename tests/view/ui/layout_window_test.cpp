// The layout window off screen: the child frame with its view, the zoom and view
// commands, the view angle dialog, printing to PDF and the picture and DXF exports.

#include <gtest/gtest.h>

#include <QApplication>
#include <QWheelEvent>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QSplitter>
#include <QStandardPaths>

#include "app/ui/command_ids.h"
#include "layout_scene.h"
#include "model/document/dorne_doc.h"
#include "support/temp_folder.h"
#include "support/test_output.h"
#include "view/draw_mapping.h"
#include "view/ui/bom_view.h"
#include "view/ui/child_frame.h"
#include "view/ui/view_angle_dlg.h"
#include "view/ui/view_export.h"

namespace {

// Pixels that are not white.
int InkedPixels(const QImage& image) {
  int inked = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      inked += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF ? 1 : 0;
  }
  return inked;
}

class LayoutWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_document = BuildLayoutScene(4, 30);
    m_frame = std::make_unique<CChildFrame>(*m_document, CDorneView::CContext());
    m_frame->resize(640, 480);
    m_frame->show();
    m_frame->View()->ZoomAll();
  }

  CDorneView& View() { return *m_frame->View(); }

  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CChildFrame> m_frame;
};

TEST_F(LayoutWindowTest, TheViewIsDrawnAboveTheBillOfMaterials) {
  ASSERT_EQ(m_frame->Splitter()->count(), 2);
  EXPECT_EQ(m_frame->Splitter()->widget(0), &View());
  EXPECT_NE(qobject_cast<CBOMView*>(m_frame->LowerPane()), nullptr);
  const QList<int> sizes = m_frame->Splitter()->sizes();
  EXPECT_NEAR(double(sizes[0]) / (sizes[0] + sizes[1]), 0.7, 0.02);
  m_frame->resize(640, 900);
  const QList<int> grown = m_frame->Splitter()->sizes();
  EXPECT_NEAR(double(grown[0]) / (grown[0] + grown[1]), 0.7, 0.02);
  const QImage shown = View().Snapshot();
  EXPECT_GT(InkedPixels(shown), shown.width() * shown.height() / 50);
  m_frame->grab().save(QString::fromStdString(TestOutputPath("layout_frame_offscreen.png")));
}

TEST_F(LayoutWindowTest, ZoomCommandsChangeWhatIsDrawnAndUndoNothingOfTheDesign) {
  const QImage before = View().Snapshot();
  const CSize size = View().ViewWindow().Size();
  ASSERT_TRUE(m_frame->OnCommand(kIdZoomIn));
  EXPECT_LT(View().ViewWindow().Size().cx, size.cx);
  const QImage zoomed = View().Snapshot();
  EXPECT_NE(zoomed, before);
  EXPECT_GT(InkedPixels(zoomed), InkedPixels(before));
  ASSERT_TRUE(m_frame->OnCommand(kIdZoomOut));
  ASSERT_TRUE(m_frame->OnCommand(kIdZoomAll));
  EXPECT_EQ(View().Snapshot(), before);
  // View steps change no design: closing after them asks nothing.
  EXPECT_FALSE(m_document->IsModified());
}

TEST_F(LayoutWindowTest, CtrlWheelZoomsAboutThePointUnderThePointer) {
  const QPoint pointer(100, 80);
  auto logicalUnderPointer = [this, pointer] {
    CDrawMapping mapping;
    View().ViewWindow().ApplyTo(mapping, View().ClientSize());
    return mapping.ToLogical({pointer.x(), pointer.y()});
  };
  const CSize size = View().ViewWindow().Size();
  for (int delta : {120, -120}) {
    const CPoint before = logicalUnderPointer();
    const int widthBefore = View().ViewWindow().Size().cx;
    QWheelEvent wheel(pointer, View().mapToGlobal(pointer), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&View(), &wheel);
    const CPoint after = logicalUnderPointer();
    // A pixel's worth of units of the coarser scale at most: the mapping truncates.
    const int pixel = std::max(widthBefore, View().ViewWindow().Size().cx) / View().width() + 1;
    EXPECT_NEAR(after.x, before.x, pixel) << delta;
    EXPECT_NEAR(after.y, before.y, pixel) << delta;
  }
  EXPECT_LE(std::abs(View().ViewWindow().Size().cx - size.cx), size.cx / 50);
}

TEST_F(LayoutWindowTest, PresetsTurnTheSceneAndAreFoundAgain) {
  const QImage before = View().Snapshot();
  ASSERT_TRUE(m_frame->OnCommand(kIdViewOrthoFirst + 4));  // preset 12: from the front
  EXPECT_EQ(m_document->GetViewPreset(), 12);
  EXPECT_EQ(m_document->Projection().GetViewAngle(0), 0);
  EXPECT_NE(View().Snapshot(), before);
  CCommandState state;
  ASSERT_TRUE(m_frame->UpdateCommand(kIdViewOrthoFirst + 4, state));
  EXPECT_EQ(state.checked, std::optional<bool>(true));
  ASSERT_TRUE(m_frame->UpdateCommand(57648, state));
  EXPECT_FALSE(state.enabled);  // no second window of a layout
}

TEST_F(LayoutWindowTest, TheAngleDialogShowsTurnsAndFollowsThePresets) {
  m_document->SetViewAngles(330, 315, 0);
  CViewAngleDlg dialog(&View());
  EXPECT_EQ(dialog.ShownAngles(), (CViewAngles{30, -45, 0}));
  EXPECT_EQ(dialog.ChosenEntry(), 0);
  EXPECT_EQ(m_document->GetViewPreset(), -2);
  dialog.ChooseEntry(5);
  EXPECT_EQ(dialog.ShownAngles(), (CViewAngles{-90, 0, 0}));
  EXPECT_EQ(m_document->Projection().GetViewAngle(0), 330);  // nothing applied yet
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(m_document->Projection().GetViewAngle(0), 90);
  EXPECT_EQ(dialog.ChosenEntry(), 5);
  dialog.SetShownAngles({10, 20, 30});
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(dialog.ChosenEntry(), -1);
  EXPECT_EQ(m_document->Projection().GetViewAngle(0), 350);
  dialog.SetShownAngles({181, 0, 0});  // out of range: held by the edit
  EXPECT_EQ(dialog.ShownAngles()[0], 180);
  CViewAngleDlg without(nullptr);
  EXPECT_EQ(without.exec(), 0);
}

TEST_F(LayoutWindowTest, PicturesHaveTheAskedSizeAndOnlyKnownFormatsAreWritten) {
  CTempFolder folder;
  const struct {
    const char* name;
    QSize size;
    bool written;
  } rows[] = {{"view.jpg", {320, 200}, true},
              {"view.JPEG", {64, 64}, true},
              {"view.bmp", {1, 1}, true},
              {"view.png", {100, 100}, false},
              {"missing/view.bmp", {100, 100}, false}};
  for (const auto& row : rows) {
    const QString path = QString::fromStdString(folder.File(row.name));
    std::string fault;
    const bool written = ExportViewPicture(*m_document, View().ViewWindow(), row.size,
                                           View().DrawOptions(true), path, fault);
    EXPECT_EQ(written, row.written) << row.name;
    EXPECT_EQ(fault.empty(), row.written) << row.name;
    if (!row.written) continue;
    const QImage read(path);
    EXPECT_EQ(read.size(), row.size) << row.name;
  }
}

TEST_F(LayoutWindowTest, PrintingToPdfWritesOnePageWithTheHeader) {
  CTempFolder folder;
  m_document->SetDocPropertyModified("Name", "North hall");
  m_document->SetDocPropertyModified("NumAff", "J-4711");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString path = QString::fromStdString(folder.File("layout.pdf"));
  printer.setOutputFileName(path);
  ASSERT_TRUE(m_frame->Print(printer));
  if (QStandardPaths::findExecutable("pdftotext").isEmpty())
    GTEST_SKIP() << "pdftotext is not installed";
  QProcess reader;
  reader.start("pdftotext", {path, "-"});
  ASSERT_TRUE(reader.waitForFinished(30000));
  const QString text = QString::fromUtf8(reader.readAllStandardOutput());
  EXPECT_TRUE(text.contains("North hall")) << text.toStdString();
  EXPECT_TRUE(text.contains("J-4711")) << text.toStdString();
  EXPECT_EQ(text.count(QLatin1Char('\f')), 1);
}

TEST_F(LayoutWindowTest, TheDxfExportReadsBackInAnIndependentReader) {
  CTempFolder folder;
  const QString path = QString::fromStdString(folder.File("layout.dxf"));
  std::string fault;
  ASSERT_TRUE(m_frame->ExportDxf(path, fault)) << fault;
  if (!QFile::exists("/usr/bin/python3")) GTEST_SKIP() << "python3 is not installed";
  QProcess reader;
  reader.start("/usr/bin/python3", {"-c",
                                    "import sys, ezdxf\n"
                                    "doc = ezdxf.readfile(sys.argv[1])\n"
                                    "print(len(doc.modelspace().query('LINE')))\n",
                                    path});
  ASSERT_TRUE(reader.waitForFinished(60000));
  ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
  // The frame's four lines and the visible edges of the boxes.
  EXPECT_GT(reader.readAllStandardOutput().trimmed().toInt(), 100);
  // The export changed nothing of the document's scene.
  EXPECT_EQ(m_document->Projection().GetViewAngle(1), 315);
}

}  // namespace
