#pragma once

// The layout view under the mouse: a test window on a layout built for the test, the
// moves of the mouse that turn or pan it, and a second window that the mouse never moves.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QImage>
#include <QTest>
#include <QTimer>

#include <memory>

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "layout_scene.h"
#include "model/document/dorne_doc.h"
#include "view/draw_mapping.h"
#include "view/ui/child_frame.h"
#include "view/ui/dorne_view.h"

namespace moving_view {

constexpr int kCmdOrbit = 33024;

enum class EStop { kRelease, kRest };

struct CMove {
  const char* name;
  int command;  // 0: the middle button pans
  QPoint by;
  EStop stop;
};

class MovingViewTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(6, 40); }

  void Open(int runs, int elementsPerRun) {
    m_document = BuildLayoutScene(runs, elementsPerRun);
    m_frame = std::make_unique<CChildFrame>(*m_document, CDorneView::CContext());
    m_frame->resize(640, 480);
    m_frame->show();
    View().ZoomAll();
    // Every scene here is small: the release of a turn settles it aside all the same.
    View().SetReleaseAsideFrom(0);
    // A second window on the document that the mouse never moves: its picture is a fresh
    // full redraw of the same view, with the same marks of the tools over it.
    m_still = std::make_unique<CChildFrame>(*m_document, CDorneView::CContext());
    m_still->resize(640, 480);
    m_still->show();
  }

  CDorneView& View() { return *m_frame->View(); }
  QImage Shown() { return View().grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QImage Fresh() { return m_still->View()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  // The client point of the middle of a box in the middle of the scene.
  QPoint OnAnElement() {
    const CDisplayNode* node = m_document->Projection().GetDisplayList().Head();
    for (std::size_t i = 0; i < m_document->Projection().GetDisplayList().Size() / 2; ++i)
      node = node->next;
    const auto& corners = node->box->GetWindowCorners();
    CPoint middle{(corners[0].x + corners[6].x) / 2, (corners[0].y + corners[6].y) / 2};
    CDrawMapping mapping;
    View().ViewWindow().ApplyTo(mapping, View().ClientSize());
    const CPoint device = mapping.ToDevice(middle);
    return {device.x, device.y};
  }

  void Move(const CMove& move) {
    const Qt::MouseButton button = move.command == 0 ? Qt::MiddleButton : Qt::LeftButton;
    if (move.command != 0) m_frame->OnCommand(move.command);
    const QPoint from = OnAnElement();
    QTest::mousePress(&View(), button, Qt::NoModifier, from);
    QTest::mouseMove(&View(), from + move.by / 2);
    m_pointer = from + move.by;
    QTest::mouseMove(&View(), m_pointer);
  }

  void Release(const CMove& move) {
    const Qt::MouseButton button = move.command == 0 ? Qt::MiddleButton : Qt::LeftButton;
    QTest::mouseRelease(&View(), button, Qt::NoModifier, m_pointer);
  }

  void Stop(const CMove& move) {
    if (move.stop == EStop::kRest) {
      EXPECT_TRUE(QTest::qWaitFor([this] { return !View().ShowsLightPicture(); }, 5000));
      return;
    }
    Release(move);
  }

  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CChildFrame> m_frame;
  std::unique_ptr<CChildFrame> m_still;
  QPoint m_pointer;
};

// The windows waiting for input that long (the sort aside starts only then).
inline void IdleFor(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// A layout long enough for its order to be sorted aside, on a thread of its own, while
// the mouse pauses in a turn.
class MovingLongViewTest : public MovingViewTest {
 protected:
  void SetUp() override { Open(25, 100); }

  // The windows idle through a pause, and on until the sort aside is done (up to 10 s, for
  // a busy machine).
  void WaitForTheSortAside() {
    IdleFor(80);
    for (int waited = 80; waited < 10000 && !View().SortedAside(); waited += 20) IdleFor(20);
  }
};

}  // namespace moving_view
