// The run pages in the property window off screen, on the QD sample: the pages a run
// shows, a range chosen in the rating page's list (the window then shows the new run),
// a refusal told to the user, and a picture of every page for review.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolBar>

#include <vector>

#include "app/current_language.h"
#include "model/props/page_kinds.h"
#include "page_test_support.h"
#include "pages/ui/prop_page_dialog.h"
#include "pages/ui/prop_window_host.h"
#include "prop_window_fixture.h"
#include "ranges/range_pages.h"
#include "support/test_output.h"

namespace {

class RunPagesWindowTest : public PropWindowFixture<SamplePageTest> {
 protected:
  void SetUp() override {
    PropWindowFixture::SetUp();
    CRunEnvironment::Instance().SetCatalogues(
        {{"QMA", "Range M, aluminium"}, {"QDA", "Range D"}, {"QDT", "Range D, three circuits"}});
  }

  CPropDialog& ShowRun(CRun& run) {
    host->OpenPropDialog();
    CPropDialog& window = *host->Window();
    run.NotifyPropDialog(kPropMsgShowObject);
    return window;
  }
  // The page of that identifier made current; null when the run does not list it.
  CPropPageDialog* Page(CPropDialog& window, int kind) {
    const std::vector<int> pages = window.ShownObject()->GetPages();
    const auto found = std::find(pages.begin(), pages.end(), kind);
    if (found == pages.end() || window.SelectPage(static_cast<int>(found - pages.begin())) != 1)
      return nullptr;
    return window.CurrentPage();
  }
  void Shot(CPropDialog& window, const std::string& name) {
    window.repaint();
    EXPECT_TRUE(window.grab().save(QString::fromStdString(TestOutputPath(name))));
  }
  static void Choose(QComboBox* combo, const QString& start) {
    for (int i = 0; i < combo->count(); ++i) {
      if (!combo->itemText(i).startsWith(start)) continue;
      combo->setCurrentIndex(i);
      emit combo->activated(i);
      return;
    }
    ADD_FAILURE() << "no entry " << start.toStdString();
  }
};

TEST_F(RunPagesWindowTest, EveryPageOfAQDRunHasItsWindow) {
  CPropDialog& window = ShowRun(Run(0));
  ASSERT_EQ(window.PageCount(), 5);
  const struct {
    int kind;
    const char* picture;
  } pages[] = {{kPageRunComment, "run_page_comment.png"},
               {kPageRunIP, "run_page_ip.png"},
               {kPageRunLengths, "run_page_lengths.png"},
               {kPageRunSupport, "run_page_support.png"},
               {kPageRunRating, "run_page_rating.png"}};
  for (const auto& page : pages) {
    ASSERT_NE(Page(window, page.kind), nullptr) << page.picture;
    Shot(window, page.picture);
  }
  auto* ratings = window.CurrentPage()->findChild<QComboBox*>(QStringLiteral("1021"));
  ASSERT_NE(ratings, nullptr);
  EXPECT_GT(ratings->count(), 0);
  EXPECT_GE(ratings->currentIndex(), 0);
}

TEST_F(RunPagesWindowTest, ARangeChosenInTheListShowsTheNewRunsPagesInTheOpenWindow) {
  CPropDialog& window = ShowRun(Run(0));
  ASSERT_FALSE(window.IsPinned());
  CPropPageDialog* rating = Page(window, kPageRunRating);
  ASSERT_NE(rating, nullptr);
  Choose(rating->findChild<QComboBox*>(QStringLiteral("1020")), QStringLiteral("QMA"));
  QApplication::processEvents();  // the new run's pages come after the command
  QApplication::processEvents();
  ASSERT_NE(host->Window(), nullptr);
  EXPECT_TRUE(host->Window()->isVisible());
  CRun& run = Run(0);
  EXPECT_EQ(run.GetPropText("Catalog"), "QMA");
  ASSERT_EQ(window.ShownObject(), &run);
  EXPECT_EQ(window.PageCount(), 6);
  EXPECT_TRUE(window.TabStrip()->isVisibleTo(&window));
  run.SetProp("THERMAL", "2/40/35/0");
  run.NotifyPropDialog(kPropMsgShowObject);
  ASSERT_NE(Page(window, kPageRunThermal), nullptr);
  auto* value = window.CurrentPage()->findChild<QLineEdit*>(QStringLiteral("1705"));
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->text(), QStringLiteral("35"));
  Shot(window, "run_page_thermal.png");
  ASSERT_NE(Page(window, kPageRunRating), nullptr);
  auto* temperatures = window.CurrentPage()->findChild<QComboBox*>(QStringLiteral("1023"));
  auto* current = window.CurrentPage()->findChild<QLineEdit*>(QStringLiteral("1006"));
  ASSERT_NE(temperatures, nullptr);
  ASSERT_NE(current, nullptr);
  EXPECT_TRUE(temperatures->isVisibleTo(window.CurrentPage()));
  EXPECT_TRUE(current->text().endsWith(QStringLiteral(" A")));
  Shot(window, "run_page_rating_qm.png");
  ASSERT_TRUE(document->GetUndo().Undo());
  EXPECT_EQ(Run(0).GetPropText("Catalog"), "QDA");
}

TEST_F(RunPagesWindowTest, ARefusedSpacingIsToldAndNotStored) {
  CPropDialog& window = ShowRun(Run(0));
  CPropPageDialog* support = Page(window, kPageRunSupport);
  ASSERT_NE(support, nullptr);
  auto* spacing = support->findChild<QLineEdit*>(QStringLiteral("1066"));
  ASSERT_NE(spacing, nullptr);
  spacing->setText(QStringLiteral("0"));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(support, &enter);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages.front().startsWith(QStringLiteral("The support spacing must be at least")))
      << messages.front().toStdString();
  EXPECT_EQ(Run(0).GetPropText("SupportPas"), "3000");
  EXPECT_NE(spacing->text(), QStringLiteral("0"));
}

}  // namespace

// The fold button of the rating page shown alone, in a window made to the page's height:
// down, the lower part shows whole (the navigation bar's room and what the window grows by)
// and the bar hides; up again, the lower part hides and the window and bar are as before.
TEST_F(RunPagesWindowTest, TheFoldButtonShowsTheLowerPartAndGivesTheRoomBack) {
  host->OpenPropDialog();
  CPropDialog& window = *host->Window();
  window.SetPinned(true);
  window.ShowPages(&Run(0), {kPageRunRating});
  window.show();
  auto* fold = Control<QPushButton>(window, "1333");
  auto* bar = window.findChild<QToolBar*>(QString::number(CPropDialog::kNavigationBarId));
  ASSERT_NE(fold, nullptr);
  ASSERT_NE(bar, nullptr);
  const int height = window.height();
  const QRect area = window.PageArea();
  auto lowerPart = [&window] {
    return std::vector<QWidget*>{window.CurrentPage()->findChild<QWidget*>("1603"),
                                 window.CurrentPage()->findChild<QWidget*>("1099")};
  };
  for (const QWidget* control : lowerPart()) ASSERT_FALSE(control->isVisibleTo(&window));
  fold->click();
  EXPECT_TRUE(bar->isHidden());
  EXPECT_GT(window.height(), height);
  for (QWidget* control : lowerPart()) {
    EXPECT_TRUE(control->isVisibleTo(&window)) << control->objectName().toStdString();
    const QRect place(control->mapTo(&window, QPoint(0, 0)), control->size());
    EXPECT_TRUE(window.PageArea().contains(place)) << control->objectName().toStdString();
  }
  Shot(window, "run_page_rating_folded.png");
  fold->click();
  EXPECT_FALSE(bar->isHidden());
  EXPECT_EQ(window.height(), height);
  EXPECT_EQ(window.PageArea(), area);
  for (const QWidget* control : lowerPart()) EXPECT_FALSE(control->isVisibleTo(&window));
}

// Leaving the page while its lower part shows folds it back: the window keeps its size.
TEST_F(RunPagesWindowTest, LeavingAFoldedPageFoldsItBack) {
  CPropDialog& window = ShowRun(Run(0));
  window.SetPinned(true);
  const int height = window.height();
  ASSERT_NE(Page(window, kPageRunRating), nullptr);
  auto* fold = Control<QPushButton>(window, "1333");
  ASSERT_NE(fold, nullptr);
  fold->click();
  ASSERT_TRUE(fold->isChecked());
  ASSERT_NE(Page(window, kPageRunComment), nullptr);
  EXPECT_FALSE(fold->isChecked());
  EXPECT_EQ(window.height(), height);
  EXPECT_FALSE(
      window.findChild<QToolBar*>(QString::number(CPropDialog::kNavigationBarId))->isHidden());
}
