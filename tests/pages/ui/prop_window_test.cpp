// The property window off screen on the QD sample: which pages an element and a run
// show, the apply road of a page (Enter, Escape, tab change), navigation, pin, the
// saved place, and notices that arrive after their object has gone.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTabBar>
#include <QTest>

#include "app/current_language.h"
#include "model/props/page_kinds.h"
#include "page_test_support.h"
#include "pages/position_page.h"
#include "pages/ui/length_page_dlg.h"
#include "pages/ui/prop_window_host.h"
#include "prop_window_fixture.h"
#include "support/test_output.h"

namespace {

class PropWindowTest : public PropWindowFixture<SamplePageTest> {
 protected:
  CPropDialog& Open() {
    host->OpenPropDialog();
    EXPECT_NE(host->Window(), nullptr);
    return *host->Window();
  }
  // The user's joint of the second run, with the run taken back to its generic
  // references (parts not built): a whole joint then lists its position page.
  CDev* UserJoint() {
    Run(1).RebuildParts(-1);
    EXPECT_EQ(Run(1).GetPartsState(), 0);
    for (CDev* element : Elements(1, CDev::kJoint))
      if (element->GetNeighbour(element->GetDirection()) != nullptr) return element;
    ADD_FAILURE() << "the sample's second run has no joint";
    return nullptr;
  }
  void Select(CDev& element, int slot) {
    ASSERT_EQ(element.SelectElement(true, element.GetBox(slot)), 1);
  }
  QLineEdit* Edit(CPropDialog& window, const char* id) {
    return window.CurrentPage() != nullptr ? window.CurrentPage()->findChild<QLineEdit*>(id)
                                           : nullptr;
  }
  static void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
  }
  void Shot(CPropDialog& window, const std::string& name) {
    window.repaint();
    EXPECT_TRUE(window.grab().save(QString::fromStdString(TestOutputPath(name))));
  }
  std::string ReadSetting(const char* key) { return ReadWindowSetting(key); }
  static void ActivateOther(QWidget& other) {
    other.show();
    other.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
  }
};

TEST_F(PropWindowTest, NoWindowNoNotice) {
  CDev* element = InnerStraight(0);
  EXPECT_EQ(element->NotifyPropDialog(kPropMsgShowObject), 0);
  EXPECT_EQ(host->Window(), nullptr);
}

TEST_F(PropWindowTest, AWholeElementShowsTheRunsPagesForIt) {
  CPropDialog& window = Open();
  window.SetPinned(true);
  CDev* element = UserJoint();
  Select(*element, CDev::kBodySlot);
  ASSERT_EQ(window.ShownObject(), element);
  const std::vector<int> pages = element->GetPages();
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(pages.front(), kPagePosition);
  EXPECT_EQ(window.TabStrip()->count(), static_cast<int>(pages.size()));
  EXPECT_TRUE(window.TabStrip()->isVisibleTo(&window));
  EXPECT_EQ(window.CurrentIndex(), 0);
  EXPECT_EQ(window.TabStrip()->tabText(0), QStringLiteral(" Position "));
  ASSERT_NE(Edit(window, "1006"), nullptr);
  EXPECT_EQ(Edit(window, "1006")->text().toStdString(),
            document->GetUnits().FormatScaled(element->GetBookedLength()));
  // Navigation: buttons only where their target exists.
  EXPECT_EQ(window.NavigationAction(CPropDialog::kNext)->isEnabled(),
            element->GetNextObject() != nullptr);
  EXPECT_EQ(window.NavigationAction(CPropDialog::kPrevious)->isEnabled(),
            element->GetPrevObject() != nullptr);
  EXPECT_FALSE(window.NavigationAction(CPropDialog::kNextSameName)->isEnabled());
  Shot(window, "prop_window_position.png");
}

TEST_F(PropWindowTest, EnterAppliesTheLengthAsOneUndoStepAndEscapeReloads) {
  CPropDialog& window = Open();
  window.SetPinned(true);
  CDev* element = InnerStraight(0);
  Select(*element, element->GetBackFace());
  ASSERT_EQ(window.TabStrip()->tabText(window.CurrentIndex()), QStringLiteral(" Length "));
  QLineEdit* costed = Edit(window, "1006");
  QLineEdit* drawn = Edit(window, "1017");
  ASSERT_NE(costed, nullptr);
  ASSERT_NE(drawn, nullptr);
  costed->setText(QStringLiteral("7000"));
  Key(window.CurrentPage(), Qt::Key_Escape);
  EXPECT_EQ(costed->text().toStdString(),
            document->GetUnits().FormatScaled(element->GetBookedLength()));
  const int steps = UndoSteps();
  costed->setText(QStringLiteral("7000"));
  drawn->setText(QStringLiteral("7000"));
  Shot(window, "prop_window_length.png");
  // Enter in the edit reaches the page.
  Key(drawn, Qt::Key_Return);
  EXPECT_EQ(element->GetBookedLength(), 7000);
  EXPECT_EQ(element->GetDrawnLength(), 7000);
  EXPECT_EQ(UndoSteps(), steps + 1);
  EXPECT_TRUE(host->Window() != nullptr);
}

TEST_F(PropWindowTest, LeavingAPageAppliesWhatWasTyped) {
  CPropDialog& window = Open();
  window.SetPinned(true);
  CDev* element = UserJoint();
  Select(*element, CDev::kBodySlot);
  ASSERT_GE(window.PageCount(), 2);
  CDev* front = element->GetNeighbour(element->GetDirection());
  const std::int32_t total = element->GetBookedLength() + front->GetBookedLength();
  ASSERT_NE(window.CurrentPage(), nullptr);
  auto& rules = static_cast<CPositionPage&>(window.CurrentPage()->Rules());
  const std::int64_t first = rules.GetMinFirst() + 200;
  Edit(window, "1006")->setText(QString::fromStdString(document->GetUnits().FormatScaled(first)));
  ASSERT_EQ(window.SelectPage(1), 1);
  EXPECT_EQ(element->GetBookedLength(), first);
  EXPECT_EQ(front->GetBookedLength(), total - first);
}

TEST_F(PropWindowTest, ARefusedValueShowsItsMessageWithTheLimit) {
  CPropDialog& window = Open();
  window.SetPinned(true);
  CDev* element = UserJoint();
  Select(*element, CDev::kBodySlot);
  ASSERT_NE(window.CurrentPage(), nullptr);
  auto& rules = static_cast<CPositionPage&>(window.CurrentPage()->Rules());
  const std::string limit = document->GetUnits().FormatScaled(rules.GetMinFirst());
  const std::int32_t before = element->GetBookedLength();
  Edit(window, "1006")->setText(QStringLiteral("1"));
  Key(window.CurrentPage(), Qt::Key_Return);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(
      messages.front(),
      QStringLiteral("The first length must be at least %1.").arg(QString::fromStdString(limit)));
  EXPECT_EQ(element->GetBookedLength(), before);
}

TEST_F(PropWindowTest, SelectingAnotherElementClosesAnUnpinnedWindow) {
  for (bool pinned : {false, true}) {
    SCOPED_TRACE(pinned);
    CPropDialog& window = Open();
    window.SetPinned(pinned);
    CDev* element = InnerStraight(0);
    Select(*element, CDev::kBodySlot);
    const std::vector<CDev*> elbows = Elements(1, CDev::kElbow);
    ASSERT_FALSE(elbows.empty());
    CDev* other = elbows.front();
    Select(*other, CDev::kBodySlot);
    QApplication::processEvents();
    EXPECT_EQ(host->Window() != nullptr, pinned);
    if (pinned) {
      EXPECT_EQ(host->Window()->ShownObject(), other);
      host->Window()->SetPinned(false);
      host->ClosePropDialog();
    }
    EXPECT_EQ(host->Window(), nullptr);
  }
}

struct FocusCase {
  const char* what;
  bool pinned;
  // The activation goes to no window first (the window manager holds it while it moves
  // the window by its caption), then to another window of the program.
  bool heldByWindowManager;
  bool openWhileHeld;
  bool openAfter;
};

TEST_F(PropWindowTest, LosingTheFocusAppliesThePageAndClosesUnlessPinned) {
  const FocusCase rows[] = {
      {"unpinned, another window takes the focus", false, false, false, false},
      {"pinned, another window takes the focus", true, false, true, true},
      {"unpinned, moved by its caption: closes only on leaving it", false, true, true, false},
      {"pinned, moved by its caption", true, true, true, true}};
  for (const FocusCase& row : rows) {
    SCOPED_TRACE(row.what);
    CPropDialog& window = Open();
    window.SetPinned(row.pinned);
    CDev* element = UserJoint();
    Select(*element, CDev::kBodySlot);
    ASSERT_NE(window.CurrentPage(), nullptr);
    auto& rules = static_cast<CPositionPage&>(window.CurrentPage()->Rules());
    const std::int64_t first = rules.GetMinFirst() + 300 + (row.pinned ? 100 : 0);
    Edit(window, "1006")->setText(QString::fromStdString(document->GetUnits().FormatScaled(first)));
    QWidget other;
    if (!row.heldByWindowManager) ActivateOther(other);
    // The window is not the active one: the change of activation is its deactivation.
    QEvent deactivation(QEvent::ActivationChange);
    QApplication::sendEvent(&window, &deactivation);
    QApplication::processEvents();
    EXPECT_EQ(element->GetBookedLength(), first);
    if (row.heldByWindowManager) {
      EXPECT_EQ(host->Window() != nullptr, row.openWhileHeld);
      ActivateOther(other);
      QApplication::processEvents();
    }
    EXPECT_EQ(host->Window() != nullptr, row.openAfter);
    if (host->Window() != nullptr) host->Window()->close();
  }
}

// Ligne > Properties clears the window, then opens it: the close the clearing asked for
// is dropped, and the run's pages show.
TEST_F(PropWindowTest, OpeningAgainKeepsTheWindowThatTheClearingWouldClose) {
  CPropDialog& window = Open();
  window.SetPinned(false);
  CRun& run = Run(0);
  window.ShowObject(InnerStraight(0));
  run.NotifyPropDialog(kPropMsgClear);
  host->OpenPropDialog();
  run.NotifyPropDialog(kPropMsgShowObject);
  QApplication::processEvents();
  ASSERT_EQ(host->Window(), &window);
  EXPECT_EQ(window.ShownObject(), &run);
  window.close();
}

TEST_F(PropWindowTest, NavigationKeepsAnUnpinnedWindowOpen) {
  CPropDialog& window = Open();
  window.SetPinned(false);
  CDev* element = UserJoint();
  Select(*element, CDev::kBodySlot);
  QAction* next = window.NavigationAction(CPropDialog::kNext);
  ASSERT_TRUE(next->isEnabled());
  CObjWithProp* target = element->GetNextObject();
  next->trigger();
  QApplication::processEvents();
  ASSERT_NE(host->Window(), nullptr);
  EXPECT_EQ(host->Window()->ShownObject(), target);
  EXPECT_FALSE(host->Window()->IsPinned());
}

TEST_F(PropWindowTest, ARunOpensOnItsSecondPageOrItsSummary) {
  CPropDialog& window = Open();
  window.SetPinned(true);
  CRun& run = Run(0);
  run.NotifyPropDialog(kPropMsgShowObject);
  ASSERT_EQ(window.ShownObject(), &run);
  ASSERT_EQ(window.PageCount(), static_cast<int>(run.GetPages().size()));
  EXPECT_EQ(window.CurrentIndex(), run.GetPages().size() > 1 ? 1 : 0);
  run.SetCatalogueKnown(0);
  run.NotifyPropDialog(kPropMsgClear);
  run.NotifyPropDialog(kPropMsgShowObject);
  EXPECT_FALSE(window.TabStrip()->isVisibleTo(&window));
  Shot(window, "prop_window_run_summary.png");
}

// The window neither jumps nor shrinks under the user's eyes while other pages come.
TEST_F(PropWindowTest, TheWindowKeepsItsPlaceAndSizeWhilePagesChange) {
  CPropDialog& window = Open();
  window.SetPinned(true);
  CRun& run = Run(0);
  CDev* element = InnerStraight(0);
  const std::vector<int> elementPages = {kPageLength, kPagePhaseOrder};
  const struct {
    const char* what;
    CObjWithProp* object;
    std::vector<int> pages;
  } rows[] = {{"an element", element, elementPages},
              {"its run", &run, run.GetPages()},
              {"the element again", element, elementPages},
              {"the run again", &run, run.GetPages()}};
  QSize largest = window.size();
  const int width = window.width();
  const QPoint place = window.pos();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    window.ShowPages(row.object, row.pages);
    // More tabs than the strip holds scroll; the window does not widen for them.
    EXPECT_EQ(window.width(), width);
    EXPECT_GE(window.height(), largest.height());
    largest = largest.expandedTo(window.size());
    EXPECT_EQ(window.pos(), place);
    ASSERT_NE(window.CurrentPage(), nullptr);
    EXPECT_TRUE(window.rect().contains(window.CurrentPage()->geometry()));
  }
  EXPECT_EQ(window.size(), largest);
}

TEST_F(PropWindowTest, ThePhaseOrderPageShowsTheOrderAtTheElement) {
  CPropDialog& window = Open();
  window.SetPinned(true);
  CDev* element = InnerStraight(0);
  window.ShowPages(element, {kPageLength, kPagePhaseOrder});
  ASSERT_EQ(window.SelectPage(1), 1);
  EXPECT_EQ(window.TabStrip()->tabText(1), QStringLiteral(" Phases "));
  Shot(window, "prop_window_phase.png");
}

TEST_F(PropWindowTest, AQueuedNoticeIsDroppedWhenItsObjectHasGone) {
  CPropDialog& window = Open();
  window.SetPinned(true);
  CDev* element = InnerStraight(0);
  ASSERT_EQ(element->NotifyPropDialog(kPropMsgRefresh), 1);
  // Deleted before the event loop delivers the notice.
  document->Selection().Clear();
  element->GetRun()->DeleteElement(element);
  QApplication::processEvents();
  EXPECT_EQ(window.ShownObject(), nullptr);
  EXPECT_EQ(window.PageCount(), 0);
  CDev* alive = InnerStraight(1);
  ASSERT_EQ(alive->NotifyPropDialog(kPropMsgRefresh), 1);
  EXPECT_EQ(window.ShownObject(), nullptr);  // not before the current command ends
  QApplication::processEvents();
  EXPECT_EQ(window.ShownObject(), alive);
}

TEST_F(PropWindowTest, AnObjectDestroyedWhileShownIsNeverTouched) {
  CPropDialog& window = Open();
  window.SetPinned(true);
  CDev* element = UserJoint();
  Select(*element, CDev::kBodySlot);
  document->Selection().Clear();
  element->GetRun()->DeleteElement(element);
  EXPECT_EQ(window.ShownObject(), nullptr);
  // Leaving the page and closing apply nothing to the dead element.
  window.SelectPage(1);
  window.close();
  EXPECT_EQ(host->Window(), nullptr);
}

struct PlaceCase {
  const char* what;
  const char* left;
  int expectedFromScreen;  // -1: left modulo the screen width
};

TEST_F(PropWindowTest, ThePlaceAndPinAreKeptInTheSettings) {
  CPropDialog& window = Open();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window.x(), screen.left() + 40);
  EXPECT_EQ(window.y(), screen.top() + 30);
  window.SetPinned(true);
  window.move(screen.left() + 120, screen.top() + 60);
  window.close();
  EXPECT_EQ(ReadSetting("Left"), "120");
  EXPECT_EQ(ReadSetting("Top"), "60");
  EXPECT_EQ(ReadSetting("StayVisible"), "True");
}

TEST(PropWindowPlaceTest, ASavedPlaceOffTheScreenComesBackOntoIt) {
  CTempFolder folder("propplace");
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  for (long long left : {static_cast<long long>(screen.width()) + 25, -25LL}) {
    SCOPED_TRACE(left);
    folder.WriteFile("TVR.INI", "[Dialog Property]\nLeft=" + std::to_string(left) + "\nTop=-10\n");
    CProfile profile(folder.File("TVR.INI"));
    CPropWindowSetup setup;
    setup.profile = &profile;
    CPropDialog window(setup, nullptr);
    // Folded onto the screen, then the whole window, with the frame it is to get, kept on
    // it: its caption is not pushed above the screen's top or its foot below the bottom.
    const int frameHeight = screen.height() - (window.y() - screen.top());
    EXPECT_GT(frameHeight, window.height());
    EXPECT_LE(frameHeight, window.height() + 40);
    if (left > 0) EXPECT_EQ(window.x() - screen.left(), 25);
    else EXPECT_GT(screen.right() + 1 - window.x(), window.width());
  }
}

}  // namespace
