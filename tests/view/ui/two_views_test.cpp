// Two windows on one layout, each of its own size: the mouse in each finds a label where
// that window drew it, whichever window drew last.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <memory>
#include <optional>
#include <string>

#include "layout_scene.h"
#include "moving_view_fixture.h"
#include "support/test_output.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/document/dorne_doc.h"
#include "view/annotation_edit.h"
#include "view/annotation_places.h"
#include "view/ui/child_frame.h"
#include "view/ui/dorne_view.h"
#include "view/view_tools.h"

using namespace moving_view;

namespace {

int Unlike(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  int unlike = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) unlike += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  return unlike;
}

class TwoViewsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_document = BuildLayoutScene(2, 6);
    // A free text in the middle of each window: each window puts it at its own place.
    auto text = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
    text->SetOwnerDocument();
    text->SetText("Middle");
    text->SetOffset(1000, 1000);
    m_text = &m_document->Annotations().Append(std::move(text));
    m_small = Open(700, 500);
    m_large = Open(1000, 800);
    m_small->View()->ZoomAll();
  }

  std::unique_ptr<CChildFrame> Open(int width, int height) {
    auto frame = std::make_unique<CChildFrame>(*m_document, CDorneView::CContext());
    frame->resize(width, height);
    frame->show();
    return frame;
  }

  // The middle of the text's label where the view last drew it, or none.
  static std::optional<QPoint> Middle(const CDorneView& view, const CAnnotation& a) {
    const CAnnotationPlaces::CPlace* place = view.LabelPlaces().Find(a);
    if (place == nullptr) return std::nullopt;
    const CRect& r = place->screen;
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  // What a press of the left button there grabs in the select tool (released at once).
  CAnnotation* Grabbed(CDorneView& view, QPoint at) {
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, at);
    const CAnnotation* grabbed = view.Tools().DraggedAnnotation();
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, at);
    return const_cast<CAnnotation*>(grabbed);
  }

  std::unique_ptr<CDorneDoc> m_document;
  CAnnotation* m_text = nullptr;
  std::unique_ptr<CChildFrame> m_small;
  std::unique_ptr<CChildFrame> m_large;
};

TEST_F(TwoViewsTest, EachViewFindsALabelWhereItDrewIt) {
  CDorneView& small = *m_small->View();
  CDorneView& large = *m_large->View();
  // The small window draws first, the large one last.
  small.grab();
  large.grab();
  const std::optional<QPoint> inSmall = Middle(small, *m_text);
  const std::optional<QPoint> inLarge = Middle(large, *m_text);
  ASSERT_TRUE(inSmall && inLarge);
  ASSERT_NE(*inSmall, *inLarge) << "each window has the text in its own middle";
  const CAnnotationList& list = m_document->Annotations();
  const struct {
    const char* name;
    CDorneView& view;
    QPoint at;
    bool found;
  } rows[] = {
      {"the small window, at its own place", small, *inSmall, true},
      {"the small window, at the large window's place", small, *inLarge, false},
      {"the large window, at its own place", large, *inLarge, true},
      {"the large window, at the small window's place", large, *inSmall, false},
  };
  for (const auto& row : rows) {
    const CAnnotation* expected = row.found ? m_text : nullptr;
    EXPECT_EQ(HitTestAnnotations(list, row.view.LabelPlaces(), {row.at.x(), row.at.y()}), expected)
        << row.name;
    EXPECT_EQ(Grabbed(row.view, row.at), expected) << row.name << ", with the mouse";
  }
}

// While one window turns the layout, another keeps showing its own picture from before
// the turn (not the turned scene without its faces, nor a settle of the scene that the
// turning window sorts aside), and once the turn ends shows the turned scene in full.
TEST_F(MovingViewTest, AnotherWindowKeepsItsPictureUntilATurnEnds) {
  const QImage before = Fresh();
  const CMove turn{"turned right and down", kCmdOrbit, {40, 25}, EStop::kRelease};
  Move(turn);
  ASSERT_TRUE(View().ShowsLightPicture());
  const QImage during = Fresh();
  EXPECT_TRUE(m_document->Projection().GetDisplayList().Unordered())
      << "the other window left the scene to the turning one";
  Release(turn);
  ASSERT_FALSE(View().ShowsLightPicture());
  const QImage after = Fresh();
  during.save(QString::fromStdString(TestOutputPath("two_views_turning.png")));
  after.save(QString::fromStdString(TestOutputPath("two_views_turned.png")));
  // But for the tools' marks (the insertion point), which wait for the turn to end.
  EXPECT_LT(Unlike(during, before), during.width() * during.height() / 1000);
  EXPECT_GT(Unlike(after, before), 0);
  EXPECT_TRUE(Shown() == after);
}

}  // namespace
