#pragma once

#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "range_test_support.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_table_reader.h"
#include "samplewriter/sample_layout.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// QM runs on the sample catalogue. Housing values (the rating row's first number): QMA 8
// 74, QMA 16 160, QMA 20 180, QMA and QMC 25 200, QMC 32 220, QMC 40 300, 63 618.
class QMRunTest : public RangeTest {
 protected:
  void TearDown() override {
    m_document.reset();
    m_runs.clear();
    RangeTest::TearDown();
  }
  CRunQM& MakeRun(const char* variant, const char* rating, const char* neutral = "4") {
    m_runs.push_back(std::make_unique<CRunQM>(variant, nullptr));
    CRunQM& run = *m_runs.back();
    run.SetProp("Calibre", rating);
    run.SetProp("Neutral", neutral);
    return run;
  }
  // A document whose only run is laid out from the layout text
  // (tools/samplewriter/sample_layout.h).
  CRunQM& LayOut(const std::string& layout) {
    m_document = std::make_unique<CDorneDoc>(CDocEnvironment{});
    m_document->OnNewDocument("");
    while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
    m_laid.clear();
    EXPECT_EQ(LayOutSample(*m_document, layout, &m_laid), "");
    auto* run = dynamic_cast<CRunQM*>(m_document->GetRuns().front());
    EXPECT_NE(run, nullptr);
    return *run;
  }

  std::unique_ptr<CDorneDoc> m_document;
  std::vector<std::unique_ptr<CRunQM>> m_runs;
  std::vector<CDev*> m_laid;
};

inline std::string QMPadded(std::string text) {
  text.resize(kRefWidth, ' ');
  return text;
}

inline std::uint32_t QMStyle(int variant, int connection = 0, std::uint32_t bits = 0) {
  return static_cast<std::uint32_t>(variant) | (static_cast<std::uint32_t>(connection) << 20) |
         bits;
}

// An element of the kind and style that belongs to no chain.
inline std::unique_ptr<CDev> QMElement(CRunQM& run, int kind, std::uint32_t style) {
  auto element = std::make_unique<CDev>(&run);
  element->SetKind(kind);
  element->SetStyle(style);
  element->SetDirection(4);
  element->SetRotation(16);
  return element;
}

// Kit limits W, X, Y and Z (200, 0, 30, 10) of every in-line unit, or none.
class CFixedKitLimits : public CChainEditor {
 public:
  explicit CFixedKitLimits(bool known) : m_known(known) {}
  CDev* SplitAtLength(CDev&, int, std::int32_t) override { return nullptr; }
  void RemoveFromRun(CDev&, int) override {}
  int ClampKitcf(CDev&, CKitLimits& limits) override {
    limits.values = {200, 0, 30, 10};
    return m_known ? 1 : 0;
  }

 private:
  bool m_known;
};

// A QMA 25 run without document whose parts table starts with a kit row of 1000 to 3000
// ("QM?##DL?CF*"); the run goes before the tables it is given.
struct QMKitRowRun {
  QMKitRowRun() : run(std::make_unique<CRunQM>("A", nullptr)) {
    tables = *run->GetRangeTables();
    tables.patterns.insert(tables.patterns.begin(), {{"QM?##DL?CF*", "", "1000-3000"}});
    run->AttachRangeTables(tables);
    run->SetProp("Calibre", "25");
  }
  CRangeTables tables;
  std::unique_ptr<CRunQM> run;
};
