#include "model/document/check_message_table.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/ui/check_message_dlg.h"
#include "support/test_output.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QToolButton>

#include <memory>

namespace {

// A layout view that records what the dialog asks of it; every element is a 10 × 10
// square at the origin.
class CRecordingView : public CCheckZoomTarget {
 public:
  std::vector<std::pair<double, double>> ProjectedCorners(const CDev&) const override {
    return {{0, 0}, {10, 0}, {0, 10}, {10, 10}};
  }
  void SetHighlight(double x, double y, int radius, bool) override {
    highlights.push_back({x, y, radius});
  }
  void ZoomToRect(const CZoomRect& rect) override { zoomed = rect; }
  void ZoomAll() override { ++zoomAlls; }

  struct Highlight {
    double x, y;
    int radius;
  };
  std::vector<Highlight> highlights;
  CZoomRect zoomed;
  int zoomAlls = 0;
};

class CheckMessageDlgTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    m_run.SetCatalog(GetParam());
    m_element = m_run.NewElement();
    m_element->SetKind(CDev::kInLine);
    m_element->SetBookedLength(1000);
    m_element->SetDrawnLength(1000);
    CCheckMessage message;
    message.element = m_element;
    message.problem =
        "The straight length of 100 mm before the end is too short.\nA second line of the problem.";
    message.solution = "It needs at least 900 mm.";
    message.value1 = 900;
    message.value2 = 100;
    m_table.Store(m_table.Admit(m_element, 13), 13, message);
  }

  template <typename T>
  T* Control(QWidget& dialog, int id) {
    return dialog.findChild<T*>(QString::number(id));
  }

  CRun m_run;
  CDev* m_element = nullptr;
  CCheckMessageTable m_table;
  CRecordingView m_view;
};

TEST_P(CheckMessageDlgTest, ShowsTheMessageFramedAndOffersCorrectionsOnlyForQd) {
  CCheckMessageDlg dialog(m_table, &m_view);
  dialog.show();
  const bool qd = std::string(GetParam()).starts_with("QD");
  EXPECT_EQ(Control<QPushButton>(dialog, CCheckMessageDlg::kLengthenId)->isVisible(), qd);
  EXPECT_EQ(Control<QPushButton>(dialog, CCheckMessageDlg::kShortenId)->isVisible(), qd);
  ASSERT_EQ(m_view.highlights.size(), 1u);
  EXPECT_EQ(m_view.highlights[0].radius, 11);  // 1.6 × 7.07, truncated
  Control<QToolButton>(dialog, CCheckMessageDlg::kZoomId)->click();
  EXPECT_DOUBLE_EQ(m_view.zoomed.left, 5 - 22);
  EXPECT_DOUBLE_EQ(m_view.zoomed.bottom, 5 + 22);
  EXPECT_GE(dialog.width(), dialog.fontMetrics().horizontalAdvance(
                                QString::fromStdString(m_table.At(0).problem.substr(0, 58))));
  if (qd) {
    ASSERT_TRUE(
        dialog.grab().save(QString::fromStdString(TestOutputPath("check_message_dlg.png"))));
  }
}

TEST_P(CheckMessageDlgTest, LengthenAddsTheMissingLengthAndAsksForARebuild) {
  if (!std::string(GetParam()).starts_with("QD"))
    GTEST_SKIP() << "no corrections outside the QD ranges";
  CCheckMessageDlg dialog(m_table, &m_view);
  int undoSteps = 0;
  dialog.SetBeforeCorrection([&undoSteps] { ++undoSteps; });
  dialog.show();
  Control<QPushButton>(dialog, CCheckMessageDlg::kLengthenId)->click();
  EXPECT_EQ(dialog.ResultCode(), 2);
  EXPECT_EQ(undoSteps, 1);
  EXPECT_EQ(m_element->GetBookedLength(), 1800);
  EXPECT_EQ(m_view.highlights.back().radius, 0);  // closing clears the highlight
}

INSTANTIATE_TEST_SUITE_P(Ranges, CheckMessageDlgTest, ::testing::Values("QDA", "QDT", "QPA"));

}  // namespace
