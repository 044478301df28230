// The layout view while the mouse turns, pans or zooms it: the light picture of the
// elements meanwhile, and once the mouse stops (released, or resting in place) the very
// picture a fresh full redraw makes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWheelEvent>

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "moving_view_fixture.h"
#include "support/test_output.h"

using namespace moving_view;

namespace {

TEST_F(MovingViewTest, OnceTheMouseStopsThePictureIsAFreshFullRedrawAtEveryAngle) {
  const CMove moves[] = {
      {"turned right", kCmdOrbit, {40, 0}, EStop::kRelease},
      {"turned up and left, resting", kCmdOrbit, {-25, 35}, EStop::kRest},
      {"turned far", kCmdOrbit, {90, -60}, EStop::kRelease},
      {"panned, resting", 0, {50, 20}, EStop::kRest},
      {"panned", 0, {-30, 40}, EStop::kRelease},
  };
  std::set<std::array<int, 3>> angles;
  for (const CMove& move : moves) {
    Move(move);
    ASSERT_TRUE(View().ShowsLightPicture()) << move.name;
    const QImage light = Shown();
    EXPECT_FALSE(light == Fresh()) << move.name << ": the light picture leaves the edges out";
    Stop(move);
    EXPECT_FALSE(View().ShowsLightPicture()) << move.name;
    const QImage stopped = Shown();
    EXPECT_TRUE(stopped == Fresh()) << move.name;
    const std::string name = "moving_view_" + std::to_string(angles.size());
    light.save(QString::fromStdString(TestOutputPath(name + "_light.png")));
    stopped.save(QString::fromStdString(TestOutputPath(name + "_stopped.png")));
    if (move.stop == EStop::kRest) {
      Release(move);
      EXPECT_TRUE(Shown() == Fresh()) << move.name << " and released";
    }
    if (move.command != 0) m_frame->OnCommand(move.command);
    const auto& projection = m_document->Projection();
    angles.insert(
        {projection.GetViewAngle(0), projection.GetViewAngle(1), projection.GetViewAngle(2)});
  }
  EXPECT_GE(angles.size(), 3u) << "several angles";
}

TEST_F(MovingViewTest, AWheelZoomShowsTheLightPictureUntilTheMouseRests) {
  const QPoint pointer(320, 240);
  QWheelEvent wheel(pointer, View().mapToGlobal(pointer), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&View(), &wheel);
  ASSERT_TRUE(View().ShowsLightPicture());
  EXPECT_FALSE(Shown() == Fresh());
  EXPECT_TRUE(QTest::qWaitFor([this] { return !View().ShowsLightPicture(); }, 5000));
  EXPECT_TRUE(Shown() == Fresh());
}

TEST_F(MovingLongViewTest, APictureSortedAsideWhileTheMousePausedIsAFreshFullRedraw) {
  ASSERT_GE(m_document->Projection().GetDisplayList().Size(), 2400u);
  const struct {
    const char* name;
    QPoint by;
    bool moveAgain;  // after the pause, before the stop
    EStop stop;
  } cases[] = {
      {"paused, then resting", {40, 0}, false, EStop::kRest},
      {"paused, then released", {-25, 35}, false, EStop::kRelease},
      {"paused, turned again, resting", {30, -20}, true, EStop::kRest},
      {"paused, turned again, released", {-50, 10}, true, EStop::kRelease},
  };
  // The pause long enough for the sort, however busy the machine: the windows may still
  // be painting when a short one ends, and the sort starts only once they wait.
  View().SetRestTime(1500);
  for (const auto& c : cases) {
    const CMove move{c.name, kCmdOrbit, c.by, c.stop};
    Move(move);
    ASSERT_TRUE(View().ShowsLightPicture()) << c.name;
    WaitForTheSortAside();
    EXPECT_TRUE(View().SortedAside()) << c.name;
    if (c.moveAgain) {
      m_pointer += QPoint(7, 5);
      QTest::mouseMove(&View(), m_pointer);
      // The next pause may start another sort, which the stop then finds under way.
      IdleFor(32);
    }
    EXPECT_TRUE(View().ShowsLightPicture()) << c.name;
    Stop(move);
    EXPECT_FALSE(View().ShowsLightPicture()) << c.name;
    const QImage stopped = Shown();
    EXPECT_TRUE(stopped == Fresh()) << c.name;
    const auto at = static_cast<std::size_t>(&c - cases);
    stopped.save(QString::fromStdString(
        TestOutputPath("moving_long_view_" + std::to_string(at) + "_stopped.png")));
    if (c.stop == EStop::kRest) Release(move);
    EXPECT_TRUE(Shown() == Fresh()) << c.name << " and released";
    m_frame->OnCommand(kCmdOrbit);
  }
}

// Once the order is sorted aside, the full picture of the rest is recorded there too: a
// rest or a release after the pause only plays it back (the order sorted aside is the
// rebuild's), and shows a fresh full redraw; a turn after the pause leaves it unused, and a
// release at once after that turn records the new picture aside too.
TEST_F(MovingLongViewTest, ARestAfterAPausePlaysBackThePictureRecordedAside) {
  const struct {
    const char* name;
    QPoint by;
    bool moveAgain;  // after the pause, stopped at once
    EStop stop;
    bool playedBack;
  } cases[] = {
      {"paused, then resting", {-20, 25}, false, EStop::kRest, true},
      {"paused, then released", {30, 10}, false, EStop::kRelease, true},
      {"paused, turned again, resting", {-35, -5}, true, EStop::kRest, false},
      {"paused, turned again, released at once", {15, -30}, true, EStop::kRelease, true},
      {"paused again, then resting", {25, 15}, false, EStop::kRest, true},
  };
  for (const auto& c : cases) {
    // The pause long enough for the sort and the recording, however busy the machine; a
    // release comes before the rest.
    View().SetRestTime(c.stop == EStop::kRest ? 1500 : 4000);
    const CMove move{c.name, kCmdOrbit, c.by, c.stop};
    Move(move);
    WaitForTheSortAside();
    EXPECT_TRUE(View().SortedAside()) << c.name;
    if (c.moveAgain) {
      m_pointer += QPoint(-4, 6);
      QTest::mouseMove(&View(), m_pointer);
    }
    EXPECT_TRUE(Shown() == Shown()) << c.name;  // the light picture painted and kept
    const std::size_t recorded = View().PicturesRecorded();
    Stop(move);
    EXPECT_FALSE(View().ShowsLightPicture()) << c.name;
    EXPECT_TRUE(Shown() == Fresh()) << c.name;
    EXPECT_EQ(View().PicturesRecorded() == recorded, c.playedBack) << c.name;
    if (c.stop == EStop::kRest) Release(move);
    m_frame->OnCommand(kCmdOrbit);
  }
}

// A release that comes while the order is being sorted aside, or its picture recorded,
// lets the work finish (aside): the picture is a fresh full redraw.
TEST_F(MovingLongViewTest, AReleaseAmidASortAsideEndsInAFreshFullRedraw) {
  View().SetRestTime(4000);  // the release comes before the rest, however busy the machine
  for (int pause : {29, 31, 33, 36, 40, 45}) {
    const CMove move{"turned, paused and released", kCmdOrbit, {pause - 20, 10}, EStop::kRelease};
    Move(move);
    IdleFor(pause);
    EXPECT_TRUE(View().ShowsLightPicture()) << pause;
    Release(move);
    EXPECT_FALSE(View().ShowsLightPicture()) << pause;
    EXPECT_TRUE(Shown() == Fresh()) << pause;
    m_frame->OnCommand(kCmdOrbit);
  }
}

// A move that comes while the order is being sorted aside calls the sort off; whatever
// point it reached, the pictures go on and the one after the stop is a fresh full redraw.
TEST_F(MovingLongViewTest, MovesAmidASortAsideEndInAFreshFullRedraw) {
  View().SetRestTime(4000);  // each move comes before the rest, however busy the machine
  const CMove move{"turned in steps", kCmdOrbit, {20, 10}, EStop::kRelease};
  Move(move);
  for (int pause : {29, 30, 31, 33, 36, 40}) {
    IdleFor(pause);
    m_pointer += QPoint(3, -2);
    QTest::mouseMove(&View(), m_pointer);
    EXPECT_TRUE(View().ShowsLightPicture()) << pause;
  }
  Release(move);
  EXPECT_FALSE(View().ShowsLightPicture());
  EXPECT_TRUE(Shown() == Fresh());
  m_frame->OnCommand(kCmdOrbit);
}

}  // namespace

namespace {

// However the orbit ends, the release leaves the order a whole rebuild makes at the final
// angles: released at once, amid the sort aside or its picture, once it is done, or after
// a rest (the order sorted aside or at the rest is not the rebuild's); and a press
// released without a turn keeps the scene it had, which is already that order.
TEST_F(MovingLongViewTest, AReleaseLeavesTheOrderOfAWholeRebuild) {
  const CDisplayList& list = m_document->Projection().GetDisplayList();
  const struct {
    const char* name;
    QPoint by;
    int pause;  // -1: until the sort aside is done; -2: until the view rests
  } cases[] = {
      {"released at once", {35, -10}, 0},       {"released amid the sort", {-20, 30}, 31},
      {"released amid it later", {25, 25}, 40}, {"released once sorted aside", {-40, -15}, -1},
      {"released after a rest", {15, 40}, -2},  {"pressed and released", {0, 0}, 0},
  };
  View().SetRestTime(1500);
  std::set<std::array<int, 3>> angles;
  for (const auto& c : cases) {
    const CMove move{c.name, kCmdOrbit, c.by, EStop::kRelease};
    if (c.by.isNull()) m_frame->OnCommand(kCmdOrbit);
    const std::uint64_t changes = list.Changes();
    if (c.by.isNull())
      QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, m_pointer = OnAnElement());
    else Move(move);
    if (c.pause > 0) IdleFor(c.pause);
    if (c.pause == -1) WaitForTheSortAside();
    if (c.pause == -2) {
      View().SetRestTime(150);
      EXPECT_TRUE(QTest::qWaitFor([this] { return !View().ShowsLightPicture(); }, 5000));
      View().SetRestTime(1500);
    }
    Release(move);
    EXPECT_FALSE(View().ShowsLightPicture()) << c.name;
    const std::vector<CBox*> released = list.CollectBoxes();
    EXPECT_EQ(list.Changes() == changes, c.by.isNull()) << c.name << ": rebuilt only when turned";
    const QImage shown = Shown();
    EXPECT_TRUE(shown == Fresh()) << c.name;
    m_document->RebuildScene();
    EXPECT_EQ(released, list.CollectBoxes()) << c.name;
    EXPECT_TRUE(shown == Fresh()) << c.name << ": the picture of the scene rebuilt";
    const auto& projection = m_document->Projection();
    angles.insert(
        {projection.GetViewAngle(0), projection.GetViewAngle(1), projection.GetViewAngle(2)});
    m_frame->OnCommand(kCmdOrbit);
  }
  EXPECT_GE(angles.size(), 5u) << "several angles";
}

}  // namespace

namespace {

// At several angles, a release at once, after a pause (the order and the picture made
// aside, then played back) or after a rest shows exactly what the scene built anew from
// an empty list at the final angles shows, in the same order.
TEST_F(MovingLongViewTest, AReleaseAtAnyAngleShowsTheSceneBuiltAnew) {
  const CDisplayList& list = m_document->Projection().GetDisplayList();
  enum class EWait { kNone, kPause, kRest };
  const struct {
    const char* name;
    QPoint by;
    EWait wait;
  } cases[] = {
      {"at once", {45, -20}, EWait::kNone},
      {"after a pause", {-30, 25}, EWait::kPause},
      {"after a rest", {20, 35}, EWait::kRest},
      {"far, at once", {-90, -70}, EWait::kNone},
      {"far, after a pause", {80, 60}, EWait::kPause},
      {"a little, after a pause", {3, -2}, EWait::kPause},
  };
  std::set<std::array<int, 3>> angles;
  for (const auto& c : cases) {
    // However busy the machine, a release after a pause comes before the rest.
    View().SetRestTime(4000);
    const CMove move{c.name, kCmdOrbit, c.by, EStop::kRelease};
    Move(move);
    if (c.wait == EWait::kPause) WaitForTheSortAside();
    if (c.wait == EWait::kRest) {
      View().SetRestTime(150);
      EXPECT_TRUE(QTest::qWaitFor([this] { return !View().ShowsLightPicture(); }, 5000));
      View().SetRestTime(1500);
    }
    const std::size_t recorded = View().PicturesRecorded();
    Release(move);
    EXPECT_FALSE(View().ShowsLightPicture()) << c.name;
    const QImage shown = Shown();
    if (c.wait == EWait::kPause) {
      EXPECT_EQ(View().PicturesRecorded(), recorded) << c.name << ": played back";
    }
    const std::vector<CBox*> released = list.CollectBoxes();
    m_document->Projection().ClearDisplayList();
    m_document->RebuildScene();
    EXPECT_EQ(released, list.CollectBoxes()) << c.name;
    EXPECT_TRUE(shown == Fresh()) << c.name;
    const auto at = static_cast<std::size_t>(&c - cases);
    shown.save(QString::fromStdString(
        TestOutputPath("moving_long_view_released_" + std::to_string(at) + ".png")));
    const auto& projection = m_document->Projection();
    angles.insert(
        {projection.GetViewAngle(0), projection.GetViewAngle(1), projection.GetViewAngle(2)});
    m_frame->OnCommand(kCmdOrbit);
  }
  EXPECT_EQ(angles.size(), std::size(cases)) << "every case at angles of its own";
}

}  // namespace
