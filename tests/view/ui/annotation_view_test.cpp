// The layout view of a document with every kind of annotation: what it draws, and the
// mouse on the labels it drew.

#include <gtest/gtest.h>

#include <QImage>

#include "app/app_settings.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
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

class AnnotationViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CRangeTableCache::Instance().Reset();
    CRangeContext::Instance().Reset();
    RegisterRangeRuns();
    CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
    m_document = std::make_unique<CDorneDoc>();
    m_document->OnNewDocument("");
    while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
    ASSERT_EQ(LayOutSample(*m_document,
                           "run QDA 06\nstart 0\ngo 4 4500\ngo 1 1000\ngo 4 3000\nend 3\n"
                           "note 2 On the elbow\ndimension 1 3\n"
                           "text 60 60 Free|text\npicture 700 1500 nowhere.bmp\n"),
              "");
    for (CRun* run : m_document->GetRuns()) run->RebuildParts(0);
    for (CLabelStyle& style : m_settings.labels) style.visible = true;
    CDorneView::CContext context;
    context.settings = &m_settings;
    m_frame = std::make_unique<CChildFrame>(*m_document, context);
    m_frame->resize(1000, 700);
    m_frame->show();
    m_frame->View()->ZoomAll();
  }
  void TearDown() override {
    m_frame.reset();
    m_document.reset();
    CRangeTableCache::Instance().Reset();
    CRangeContext::Instance().Reset();
  }
  int Count(int kind) const {
    int count = 0;
    const CAnnotationList& list = m_document->Annotations();
    for (std::size_t i = 0; i < list.Size(); ++i) count += list.At(i)->GetKind() == kind ? 1 : 0;
    return count;
  }

  CAppSettings m_settings;
  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CChildFrame> m_frame;
};

TEST_F(AnnotationViewTest, EveryKindIsDrawnOverTheLayout) {
  const QImage shown = m_frame->View()->Snapshot();
  EXPECT_TRUE(shown.save(QString::fromStdString(TestOutputPath("annotations_view.png"))));
  for (int kind : {CAnnotation::kBranch, CAnnotation::kBom, CAnnotation::kRunInfo,
                   CAnnotation::kSection, CAnnotation::kTitleBlock})
    EXPECT_GE(Count(kind), 1) << kind;
  const CAnnotationList& list = m_document->Annotations();
  for (std::size_t i = 0; i < list.Size(); ++i) {
    const CAnnotation& a = *list.At(i);
    // A run's own table shows only while that run alone is shown.
    const bool runTable = a.GetKind() == CAnnotation::kBom && a.GetOwnerRun() != nullptr;
    EXPECT_EQ((a.GetFlags() & CAnnotation::kFlagDrawn) != 0, !runTable) << "kind " << a.GetKind();
  }
}

}  // namespace
