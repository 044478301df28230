// A small QG run drawn by the layout view: straights, elbows, a tee, a special shape
// whose bars and envelope are further boxes of the element, and a fixing with its kit.

#include <gtest/gtest.h>

#include <QImage>

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "model/run/range_rules.h"
#include "samplewriter/sample_layout.h"
#include "support/test_output.h"
#include "view/ui/child_frame.h"

namespace {

class QGElementsDrawnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CRangeTableCache::Instance().Reset();
    CRangeContext::Instance().Reset();
    RegisterRangeRuns();
    CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  }
  void TearDown() override {
    m_frame.reset();
    m_document.reset();
    CRangeTableCache::Instance().Reset();
    CRangeContext::Instance().Reset();
  }
  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CChildFrame> m_frame;
};

TEST_F(QGElementsDrawnTest, SpecialShapeShowsItsBars) {
  m_document = std::make_unique<CDorneDoc>();
  m_document->OnNewDocument("");
  while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
  std::vector<CDev*> laid;
  ASSERT_EQ(LayOutSample(*m_document,
                         "run QGA 10\nstart 2\ngo 4 3000\ngo 1 2000\ngo 4 1500\nend 0\nfrom 1\n"
                         "go 4 2000\nend 0\nfrom 2\nkit 4 700\nfield KITCF 0\nvariant 1\n",
                         &laid),
            "");
  ASSERT_FALSE(laid.empty());
  CDev& shape = *laid.front();
  ASSERT_EQ(shape.GetKind(), CDev::kEnd);
  shape.SetStyle((shape.GetStyle() & ~0xF000FFu) | 2u | (2u << 20));
  shape.SetPropValue("ENTRAX", "200/200/200");
  shape.SetPropValue("CLINQ", "9");
  shape.BuildBoxes(0);
  int barBoxes = 0;
  for (int slot = 10; slot <= 14; ++slot) barBoxes += shape.GetBox(slot) != nullptr ? 1 : 0;
  EXPECT_EQ(barBoxes, 4);
  EXPECT_NE(shape.GetBox(7), nullptr);
  // The fixing after the elbow carries a kit: two collars of four plates each.
  const CDev* fixing = laid[2]->GetNeighbour(4);
  ASSERT_NE(fixing, nullptr);
  ASSERT_EQ(fixing->GetKind(), CDev::kInLine);
  for (int slot = 10; slot <= 17; ++slot) EXPECT_NE(fixing->GetBox(slot), nullptr) << slot;

  m_frame = std::make_unique<CChildFrame>(*m_document, CDorneView::CContext());
  m_frame->resize(800, 600);
  m_frame->show();
  m_frame->View()->ZoomAll();
  const QImage shown = m_frame->View()->Snapshot();
  EXPECT_TRUE(shown.save(QString::fromStdString(TestOutputPath("qg_elements.png"))));
}

}  // namespace
