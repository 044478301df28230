#pragma once

#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/props/page_kinds.h"
#include "range_test_support.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_table_reader.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// QG runs on the sample catalogue: rating 10 is a 130 x 130 housing, 08 (variant A) a
// flat 180 x 60 one; neutral option 2 is labelled "Reduced neutral", 3 has no row.
// Every run made lives to the end of the test: elements made on an earlier run still
// point at it. m_run is the last one made.
class QGRunTest : public RangeTest {
 protected:
  void TearDown() override {
    DropRuns();
    RangeTest::TearDown();
  }
  CRunQG& MakeRun(const char* variant, const char* rating, const char* neutral = "3") {
    m_run = m_runs.emplace_back(std::make_unique<CRunQG>(variant, nullptr)).get();
    m_run->SetProp("Calibre", rating);
    m_run->SetProp("Neutral", neutral);
    return *m_run;
  }
  // Only once no element made on them is left.
  void DropRuns() {
    m_run = nullptr;
    m_runs.clear();
  }
  CRunQG* m_run = nullptr;

 private:
  std::vector<std::unique_ptr<CRunQG>> m_runs;
};

inline std::string Padded(std::string text) {
  text.resize(kRefWidth, ' ');
  return text;
}

// An element of the run when one is given (it then sees the run's selection).
inline CDev MakeStraight(int kind, int variant, int sub, const char* entrax = "",
                         const char* bars = "", CRun* run = nullptr) {
  CDev element(run);
  element.SetKind(kind);
  element.SetStyle(static_cast<std::uint32_t>(variant) | (static_cast<std::uint32_t>(sub) << 20));
  element.SetPropValue("ENTRAX", entrax);
  element.SetPropValue("BARS", bars);
  return element;
}
