// The release of a turn at once, on a layout long enough for its order to be sorted on
// another thread: the release leaves the moving picture on screen and settles the scene
// aside; the full picture follows by itself once done, and whatever needs the scene first
// (a click, a key, a paint, a command, a close) finds it settled as the release would
// have left it at once.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <array>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "moving_view_fixture.h"
#include "support/test_output.h"

using namespace moving_view;

namespace {

class ReleasedAtOnceTest : public MovingLongViewTest {
 protected:
  // A turn by that much, released at once: the view is left settling the scene aside.
  void TurnAndRelease(const char* name, QPoint by) {
    // However busy the machine, no rest ends the motion before the release.
    View().SetRestTime(4000);
    const CMove move{name, kCmdOrbit, by, EStop::kRelease};
    Move(move);
    m_recorded = View().PicturesRecorded();
    Release(move);
  }

  // The list's order, then whether it is the order of the scene built anew from an empty
  // list (which the document then keeps).
  bool OrderIsTheRebuilt() {
    const CDisplayList& list = m_document->Projection().GetDisplayList();
    const std::vector<CBox*> order = list.CollectBoxes();
    m_document->Projection().ClearDisplayList();
    m_document->RebuildScene();
    return !order.empty() && order == list.CollectBoxes();
  }

  std::array<int, 3> Angles() const {
    const auto& projection = m_document->Projection();
    return {projection.GetViewAngle(0), projection.GetViewAngle(1), projection.GetViewAngle(2)};
  }

  std::size_t m_recorded = 0;
};

// Left to itself, the view ends the release with the picture recorded aside, which is the
// picture of the scene built anew, at every angle.
TEST_F(ReleasedAtOnceTest, TheFullPictureFollowsByItselfAndIsTheSceneBuiltAnew) {
  const struct {
    const char* name;
    QPoint by;
  } cases[] = {
      {"turned right and up", {45, -20}},
      {"turned far", {-90, -70}},
      {"turned a little", {3, -2}},
      {"turned down", {10, 60}},
  };
  std::set<std::array<int, 3>> angles;
  for (const auto& c : cases) {
    TurnAndRelease(c.name, c.by);
    EXPECT_TRUE(View().SettlingRelease()) << c.name << ": the release left the work aside";
    EXPECT_TRUE(QTest::qWaitFor([this] { return !View().SettlingRelease(); }, 10000)) << c.name;
    EXPECT_FALSE(View().ShowsLightPicture()) << c.name;
    const QImage shown = Shown();
    EXPECT_EQ(View().PicturesRecorded(), m_recorded) << c.name << ": the picture made aside";
    EXPECT_TRUE(OrderIsTheRebuilt()) << c.name;
    EXPECT_TRUE(shown == Fresh()) << c.name;
    const auto at = static_cast<std::size_t>(&c - cases);
    shown.save(QString::fromStdString(
        TestOutputPath("released_at_once_aside_" + std::to_string(at) + ".png")));
    angles.insert(Angles());
    m_frame->OnCommand(kCmdOrbit);
  }
  EXPECT_EQ(angles.size(), std::size(cases)) << "every case at angles of its own";
}

// A scene smaller than the view settles aside is rebuilt at the release itself: nothing is
// left aside, and the view shows the scene built anew at once.
TEST_F(ReleasedAtOnceTest, ASmallSceneIsRebuiltAtTheRelease) {
  for (const QPoint by : {QPoint(30, -25), QPoint(-60, 40)}) {
    View().SetReleaseAsideFrom(m_document->Projection().GetDisplayList().BoxCount() + 1);
    TurnAndRelease("small", by);
    EXPECT_FALSE(View().SettlingRelease());
    EXPECT_FALSE(View().ShowsLightPicture());
    const QImage shown = Shown();
    EXPECT_TRUE(OrderIsTheRebuilt());
    EXPECT_TRUE(shown == Fresh());
    m_frame->OnCommand(kCmdOrbit);
  }
}

// An event that comes while the scene is settled aside: the pointer moving with no button
// down leaves the work on; any other first waits for it, and its handler finds the
// scene settled (the order of the scene built anew, the full picture).
TEST_F(ReleasedAtOnceTest, WhatComesMeanwhileFindsTheSceneSettled) {
  bool settledWhenHandled = false;
  const struct {
    const char* name;
    std::function<void()> deliver;
    bool settles;
  } cases[] = {
      {"the pointer moves",
       [this] {
         const QPointF to = m_pointer + QPoint(5, 5);
         QMouseEvent move(QEvent::MouseMove, to, View().mapToGlobal(to), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
         QApplication::sendEvent(&View(), &move);
       },
       false},
      {"the pointer leaves",
       [this] {
         QEvent leave(QEvent::Leave);
         QApplication::sendEvent(&View(), &leave);
       },
       false},
      {"a press",
       [this] {
         QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, m_pointer);
         QTest::mouseRelease(&View(), Qt::LeftButton, Qt::NoModifier, m_pointer);
       },
       true},
      {"a key", [this] { QTest::keyClick(&View(), Qt::Key_Shift); }, true},
      {"a paint", [this] { View().repaint(); }, true},
      {"a wheel step",
       [this] {
         QWheelEvent wheel(QPointF(10, 10), View().mapToGlobal(QPointF(10, 10)), QPoint(),
                           QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
         QApplication::sendEvent(&View(), &wheel);
       },
       true},
      {"a command",
       [this, &settledWhenHandled] {
         QTimer::singleShot(0, &View(), [this, &settledWhenHandled] {
           settledWhenHandled = !View().SettlingRelease();
           m_frame->OnCommand(kCmdOrbit);
         });
         QCoreApplication::sendPostedEvents();
         EXPECT_TRUE(QTest::qWaitFor([&settledWhenHandled] { return settledWhenHandled; }, 5000));
       },
       true},
  };
  int turn = 0;
  for (const auto& c : cases) {
    ++turn;
    settledWhenHandled = false;
    static const QPoint kTurns[] = {{35, -10}, {-20, 30}, {25, 25},  {-40, -15},
                                    {15, 40},  {45, -20}, {-30, 25}, {20, 35}};
    TurnAndRelease(c.name, kTurns[turn % std::size(kTurns)]);
    ASSERT_TRUE(View().SettlingRelease()) << c.name;
    c.deliver();
    if (std::string(c.name) == "a command") {
      EXPECT_TRUE(settledWhenHandled) << c.name;
    }
    EXPECT_EQ(!View().SettlingRelease(), c.settles) << c.name;
    EXPECT_FALSE(View().ShowsLightPicture()) << c.name;
    const QImage shown = Shown();
    EXPECT_TRUE(OrderIsTheRebuilt()) << c.name;
    EXPECT_TRUE(shown == Fresh()) << c.name;
    if (std::string(c.name) != "a command") m_frame->OnCommand(kCmdOrbit);
  }
}

// The window closed while the scene is settled aside, at once or a little later (the work
// aside then further on, or done but not yet taken): the work is called off cleanly and
// the document keeps the scene the release would have left.
TEST_F(ReleasedAtOnceTest, AWindowClosedMeanwhileLeavesTheSceneSettled) {
  for (int after : {0, 1, 3, 8, 20, 60}) {
    if (after > 0) {
      m_still.reset();
      m_frame.reset();
      Open(25, 100);
    }
    TurnAndRelease("closed", {20 + after, -15});
    ASSERT_TRUE(View().SettlingRelease()) << after;
    // No event meanwhile: the work goes on alone.
    std::this_thread::sleep_for(std::chrono::milliseconds(after));
    m_frame.reset();
    EXPECT_FALSE(m_document->Projection().GetDisplayList().Unordered()) << after;
    EXPECT_TRUE(m_document->HasWholeScene()) << after;
    const QImage still = Fresh();
    EXPECT_TRUE(OrderIsTheRebuilt()) << after;
    EXPECT_TRUE(still == Fresh()) << after << ": the other window shows the scene built anew";
  }
}

}  // namespace
