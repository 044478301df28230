#pragma once

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run_test_support.h"
#include "range_test_support.h"
#include "ranges/qjf/part_builder_qjf.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/range_table_reader.h"
#include "samplewriter/sample_layout.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

inline std::string TrimmedRef(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// A reference as the builder hands it on: 22 characters, blanks after the text.
inline std::string PaddedRef(std::string text) {
  text.resize(std::max<std::size_t>(text.size(), 22), ' ');
  return text;
}

// QJF runs on the sample catalogue, laid out by the placement edits from a layout text
// (tools/samplewriter/sample_layout.h) in a document of their own.
class QJFRunTest : public RangeTest {
 protected:
  void TearDown() override {
    m_document.reset();
    m_own.reset();
    RangeTest::TearDown();
  }
  // A document whose only run is laid out from the layout text.
  CRunQJF& LayOut(const std::string& layout) {
    m_document = std::make_unique<CDorneDoc>();
    m_document->OnNewDocument("");
    while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
    m_laid.clear();
    const std::string problem = LayOutSample(*m_document, layout, &m_laid);
    EXPECT_EQ(problem, "");
    auto* run = dynamic_cast<CRunQJF*>(m_document->GetRuns().front());
    EXPECT_NE(run, nullptr);
    return *run;
  }
  // The elements of the run in the order their statements laid them: the start, then
  // the element that each "go" made.
  const std::vector<CDev*>& Laid() const { return m_laid; }
  // A run without document, for the rules that read no chain.
  CRunQJF& MakeRun(const char* rating) {
    m_own = std::make_unique<CRunQJF>(nullptr);
    m_own->SetProp("Calibre", rating);
    return *m_own;
  }

  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CRunQJF> m_own;
  std::vector<CDev*> m_laid;
};

// The bill of materials as a listing: one line a reference with its quantity.
inline std::string BillListing(const CRun& run) {
  std::string listing;
  const CBOMGrid& bom = run.GetBOM();
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    listing +=
        "  " + bom.GetLine(row)->reference + " x" + std::to_string(bom.GetLineQuantity(row)) + "\n";
  }
  return listing;
}
