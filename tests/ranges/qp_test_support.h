#pragma once

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "range_test_support.h"
#include "ranges/qp/part_builder_qp.h"
#include "ranges/qp/run_qp.h"
#include "ranges/range_table_reader.h"
#include "samplewriter/sample_layout.h"

#include <memory>
#include <string>
#include <vector>

// QP runs on the sample catalogue, laid out by the placement edits from a layout text
// (tools/samplewriter/sample_layout.h) in a document of their own.
class QPRunTest : public RangeTest {
 protected:
  void TearDown() override {
    m_document.reset();
    m_own.reset();
    RangeTest::TearDown();
  }
  // A document whose only run is laid out from the layout text; with an environment
  // (undo snapshots in its settings folder) when one is given.
  CRunQP& LayOut(const std::string& layout, const CDocEnvironment& environment = {}) {
    m_document = std::make_unique<CDorneDoc>(environment);
    m_document->OnNewDocument("");
    while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
    m_laid.clear();
    const std::string problem = LayOutSample(*m_document, layout, &m_laid);
    EXPECT_EQ(problem, "");
    auto* run = dynamic_cast<CRunQP*>(m_document->GetRuns().front());
    EXPECT_NE(run, nullptr);
    return *run;
  }
  const std::vector<CDev*>& Laid() const { return m_laid; }
  // The elbow of a QPA 400 A run with one flat turn, booked with the reference (padded
  // to 22 characters) and its values, after the second pass of a fresh builder.
  CDev* FinishedElbow(const char* step, const std::string& reference, const std::string& values) {
    CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 3000\ngo 1 3000\nend 6\n");
    run.SetProp("QP_STEP", step);
    CDev* elbow = nullptr;
    for (CDev* device : run.GetDevices())
      if (device->GetKind() == CDev::kElbow) elbow = device;
    if (elbow == nullptr) return nullptr;
    std::string text = reference;
    text.resize(22, ' ');
    elbow->SetReference(text + values);
    elbow->SetBooked(1);
    CPartBuilderQP builder(run);
    builder.FinishPart(*elbow, 2);
    return elbow;
  }
  // A run without document, for the rules that read no chain.
  CRunQP& MakeRun(const char* variant, const char* rating) {
    m_own = std::make_unique<CRunQP>(variant, nullptr);
    m_own->SetProp("Calibre", rating);
    return *m_own;
  }

  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CRunQP> m_own;
  std::vector<CDev*> m_laid;
};

// The bill of materials as a listing: one line a reference with its quantity.
inline std::string QPBillListing(const CRun& run) {
  std::string listing;
  const CBOMGrid& bom = run.GetBOM();
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    listing +=
        "  " + bom.GetLine(row)->reference + " x" + std::to_string(bom.GetLineQuantity(row)) + "\n";
  }
  return listing;
}

// The quantity of the bill line whose reference, without its trailing blanks, is the
// text; 0 without such a line.
inline std::int64_t QPBillQuantity(const CRun& run, std::string_view reference) {
  const CBOMGrid& bom = run.GetBOM();
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    std::string text = bom.GetLine(row)->reference;
    text.erase(text.find_last_not_of(' ') + 1);
    if (text == reference) return bom.GetLineQuantity(row);
  }
  return 0;
}
