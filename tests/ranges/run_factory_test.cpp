#include "range_test_support.h"

#include "ranges/qd/run_qd.h"
#include "ranges/qg/run_qg.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/qm/run_qm.h"
#include "ranges/qp/run_qp.h"
#include "ranges/qw/run_qw.h"

#include <typeinfo>

namespace {

struct FactoryCase {
  const char* code;
  const std::type_info& type;
  const char* catalog;  // the run's code after loading
};

class RunFactoryTest : public RangeTest, public ::testing::WithParamInterface<FactoryCase> {};

TEST_P(RunFactoryTest, MakesTheRunClassOfTheCode) {
  const FactoryCase& c = GetParam();
  std::unique_ptr<CRun> run = CreateRunForCode(c.code, nullptr);
  ASSERT_NE(run, nullptr);
  const CRun& made = *run;
  EXPECT_EQ(typeid(made), c.type) << c.code;
  EXPECT_EQ(run->GetPropText("Catalog"), c.catalog);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, RunFactoryTest,
    ::testing::Values(
        FactoryCase{"QDA", typeid(CRunQD), "QDA"}, FactoryCase{"QDT", typeid(CRunQD), "QDT"},
        FactoryCase{"QJF", typeid(CRunQJF), "QJF"}, FactoryCase{"QGA", typeid(CRunQG), "QGA"},
        FactoryCase{"QGC", typeid(CRunQG), "QGC"}, FactoryCase{"QMC", typeid(CRunQM), "QMC"},
        FactoryCase{"QWA", typeid(CRunQW), "QWA"}, FactoryCase{"QPA", typeid(CRunQP), "QPA"},
        FactoryCase{"Qpa", typeid(CRunQP), "Qpa"}, FactoryCase{"QPC", typeid(CRunQP), "QPC"},
        FactoryCase{"Qpx", typeid(CRunQP), "Qpc"},
        // Unknown codes (and a QJ code other than QJF) stay generic runs.
        FactoryCase{"QXA", typeid(CRun), ""}, FactoryCase{"QJA", typeid(CRun), ""},
        FactoryCase{"QD", typeid(CRun), ""}, FactoryCase{"", typeid(CRun), ""}));

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
