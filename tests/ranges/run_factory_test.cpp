#include "range_test_support.h"

#include "ranges/qd/run_qd.h"
#include "ranges/qg/run_qg.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/qm/run_qm.h"
#include "ranges/qp/run_qp.h"
#include "ranges/qw/run_qw.h"

#include <typeinfo>

namespace {

// Unknown codes (and a QJ code other than QJF) stay generic runs.
TEST_F(RangeTest, TheFactoryMakesTheRunClassOfTheCode) {
  const struct {
    const char* code;
    const std::type_info& type;
    const char* catalog;  // the run's code after loading
  } rows[] = {{"QDA", typeid(CRunQD), "QDA"},  {"QDT", typeid(CRunQD), "QDT"},
              {"QJF", typeid(CRunQJF), "QJF"}, {"QGA", typeid(CRunQG), "QGA"},
              {"QGC", typeid(CRunQG), "QGC"},  {"QMC", typeid(CRunQM), "QMC"},
              {"QWA", typeid(CRunQW), "QWA"},  {"QPA", typeid(CRunQP), "QPA"},
              {"Qpa", typeid(CRunQP), "Qpa"},  {"QPC", typeid(CRunQP), "QPC"},
              {"Qpx", typeid(CRunQP), "Qpc"},  {"QXA", typeid(CRun), ""},
              {"QJA", typeid(CRun), ""},       {"QD", typeid(CRun), ""},
              {"", typeid(CRun), ""}};
  for (const auto& row : rows) {
    std::unique_ptr<CRun> run = CreateRunForCode(row.code, nullptr);
    ASSERT_NE(run, nullptr) << row.code;
    const CRun& made = *run;
    EXPECT_EQ(typeid(made), row.type) << row.code;
    EXPECT_EQ(run->GetPropText("Catalog"), row.catalog) << row.code;
  }
}

TEST_F(RangeTest, WithoutRegisteredRangesEveryCodeIsGeneric) {
  CRunFactory::Instance().Reset();
  std::unique_ptr<CRun> run = CreateRunForCode("QDA", nullptr);
  const CRun& made = *run;
  EXPECT_EQ(typeid(made), typeid(CRun));
  EXPECT_EQ(CRangeTableCache::Instance().LiveRuns("QDA"), 0);
}

TEST_F(RangeTest, QjfRebuildPutsTheNeutralSideBackToZero) {
  CRunQJF run(nullptr);
  run.SetProp("COTE_NEUTRE", "2");
  run.RebuildParts(0);
  EXPECT_EQ(run.GetPropText("COTE_NEUTRE"), "0");
  CRunQD qd("A", nullptr);
  qd.RebuildParts(0);
  EXPECT_EQ(qd.GetPropText("COTE_NEUTRE"), "2");
}

}  // namespace
