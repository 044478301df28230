#pragma once

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "qg_listing.h"
#include "range_test_support.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_context.h"
#include "samplewriter/sample_layout.h"

#include "platform/text_conversions.h"

#include <memory>
#include <string>
#include <vector>

// QG runs on the sample catalogue, laid out by the placement edits from a layout text
// (tools/samplewriter/sample_layout.h) in a document of their own.
class QGLayoutTest : public RangeTest {
 protected:
  void TearDown() override {
    m_document.reset();
    RangeTest::TearDown();
  }
  CRunQG& LayOut(const std::string& layout) {
    m_document = std::make_unique<CDorneDoc>();
    m_document->OnNewDocument("");
    while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
    m_laid.clear();
    EXPECT_EQ(LayOutSample(*m_document, layout, &m_laid), "");
    auto* run = dynamic_cast<CRunQG*>(m_document->GetRuns().front());
    EXPECT_NE(run, nullptr);
    return *run;
  }
  const std::vector<CDev*>& Laid() const { return m_laid; }
  // The numbers of the messages told so far.
  std::vector<int> Told() const {
    std::vector<int> numbers;
    for (const auto& message : messages) numbers.push_back(message.first);
    return numbers;
  }

  std::unique_ptr<CDorneDoc> m_document;
  std::vector<CDev*> m_laid;
};

// The references of the bill, without their trailing blanks, in order.
inline std::vector<std::string> QGBillReferences(const CRun& run) {
  std::vector<std::string> references;
  const CBOMGrid& bom = run.GetBOM();
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    std::string text = bom.GetLine(row)->reference;
    text.erase(text.find_last_not_of(' ') + 1);
    references.push_back(text);
  }
  return references;
}
