#include "range_test_support.h"

#include "ranges/qd/run_qd.h"
#include "ranges/qg/run_qg.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_pages.h"

#include <stdexcept>

namespace {

std::vector<std::string> Codes(const std::vector<CCodeLabelRow>* rows) {
  std::vector<std::string> codes;
  for (const CCodeLabelRow& row : *rows) codes.push_back(row.code + "=" + row.label);
  return codes;
}

std::vector<std::string> DeviceRows(const std::vector<CCodeRow>* rows) {
  std::vector<std::string> texts;
  for (const CCodeRow& row : *rows) texts.push_back(row.texts[0] + "/" + row.texts[1] + "/" + row.texts[2] + "/" + row.texts[3]);
  return texts;
}

const std::string kBlankRef(22, ' ');

TEST_F(RangeTest, QdReadsItsTablesForItsOwnCode) {
  CRunQD qda("A", nullptr);
  CRunQD qdt("T", nullptr);
  EXPECT_EQ(qdt.IsQDT(), 1);
  EXPECT_EQ(Codes(qda.GetRatingList()), (std::vector<std::string>{"04=40 A", "06=63 A", "16=160 A"}));
  // A QDT run alive beside a QDA run reads the QDT rows, from a set of its own.
  EXPECT_EQ(Codes(qdt.GetRatingList()), (std::vector<std::string>{"04=40 A", "06=63 A", "10=100 A, three circuits"}));
  EXPECT_EQ(Codes(qda.GetNeutralList()), (std::vector<std::string>{" =T9141, grey", "2=Two conductors", "4=T9140"}));
  EXPECT_TRUE(qda.GetOptionList()->empty());
  const std::vector<CPatternRow>& parts = *qda.GetPatternTable();
  ASSERT_EQ(parts.size(), 5u);  // the deleted row is left out
  EXPECT_EQ(parts[0].texts[0], "QDA##ED4*             ");
  EXPECT_EQ(parts[0].texts[2], "1000,2000,3000");
  EXPECT_EQ(parts[4].texts[0], "QDA160DL4 this runs pa");  // cut to 22
  ASSERT_EQ(qda.GetReferenceTable()->size(), 3u);
  EXPECT_EQ(qda.GetReferenceTable()->back().values, (std::array<std::int32_t, 5>{80, 50, 4, 2, 120}));
  EXPECT_EQ(qda.GetHousingTable()->at(1).values[8], -30);
  EXPECT_EQ(DeviceRows(qda.GetCodeTable()),
            (std::vector<std::string>{"1/0/T9132/???##ED4              ", "1/1/Straight length, bent/???##ED4?1            ",
                                      "0/2/Feed unit, left/???##AB4              ", "0/102/T9131/???##AB4?2            ",
                                      "8/3/Special piece, flat/???##DF4              ", "7/0/T9133/???##DL4              ",
                                      "64/0/System joint/" + kBlankRef, "32/0/User joint/" + kBlankRef,
                                      "99/0/Unknown/" + kBlankRef}));
  const std::vector<CPriceFormulaRow>& linear = *qda.GetPriceFormulaTable();
  ASSERT_EQ(linear.size(), 3u);
  EXPECT_EQ(linear[0].texts[1] + linear[1].texts[1] + linear[2].texts[1], "000020000000001");  // by ID, SUBID
  EXPECT_EQ(linear[2].texts[3], "QDA??ED4 + QDA??ZJ4");
  EXPECT_TRUE(messages.empty());
}

TEST_F(RangeTest, QmSetsSplitByVariantWithJunctionPairsDroppedDevicesAndRatingValues) {
  CRunQM qma("A", nullptr);
  CRunQM qmc("C", nullptr);
  EXPECT_EQ(Codes(qma.GetRatingList()), (std::vector<std::string>{"16=1600 A", "20=2000 A", "25=2500 A"}));
  EXPECT_EQ(Codes(qmc.GetOptionList()), (std::vector<std::string>{"A0=T9144", "A5=IP 55"}));
  EXPECT_EQ(Codes(qmc.GetNeutralList()), (std::vector<std::string>{"=Without neutral", "4=T9140", "7=T9142"}));
  std::vector<std::int32_t> junctions;
  for (const CReferenceRow& row : *qma.GetReferenceTable()) junctions.push_back(row.values[4]);
  EXPECT_EQ(junctions, (std::vector<std::int32_t>{360, 300250, 200360}));
  auto subCodes = [](const CRun& run) {
    std::string text;
    for (const CCodeRow& row : *run.GetCodeTable()) text += row.texts[0] + "/" + row.texts[1] + " ";
    return text;
  };
  EXPECT_EQ(subCodes(qma), "1/0 0/2 0/108 0/9 8/111 8/3 7/12 64/0 32/0 99/0 ");
  EXPECT_EQ(subCodes(qmc), "1/0 0/2 8/3 7/12 64/0 32/0 99/0 ");
  auto values = [](const CRun& run) {
    std::vector<double> numbers;
    for (const CTemperatureEntry& entry : *run.GetTemperatureTable()) numbers.insert(numbers.end(), {entry.value, entry.temperature});
    return numbers;
  };
  EXPECT_EQ(values(qma), (std::vector<double>{1.0, 30, 0.85, 45, 0.80, 50, 0, 0}));
  // "1,08": the number ends at the comma.
  EXPECT_EQ(values(qmc), (std::vector<double>{1.0, 20, 1.0, 30, 0.90, 40, 0.80, 50, 0, 0}));
  EXPECT_EQ(qmc.GetPropText("RISER"), "SOL2");
}

TEST_F(RangeTest, QgAndQjfReadTheirOwnSelectionsAndOrders) {
  CRunQG qgc("C", nullptr);
  EXPECT_EQ(Codes(qgc.GetNeutralList()), (std::vector<std::string>{"4=T9140", "2=Reduced neutral", "=Without neutral"}));
  EXPECT_EQ(Codes(qgc.GetRatingList()), (std::vector<std::string>{"10=1000 A", "12=1250 A"}));
  EXPECT_EQ(qgc.GetTemperatureTable()->size(), 5u);
  CRunQJF qjf(nullptr);
  EXPECT_EQ(Codes(qjf.GetRatingList()), (std::vector<std::string>{"14=1400 A", "26=2600 A", "46=4600 A"}));
  EXPECT_EQ(Codes(qjf.GetNeutralList()), (std::vector<std::string>{" =No neutral", "1=T9140", "2=T9142"}));
  EXPECT_EQ(Codes(qjf.GetOptionList()), (std::vector<std::string>{"CE=Clean earth bar", "PE=T9143 in the housing"}));
  EXPECT_EQ(qjf.GetCodeTable()->at(1).texts[1] + qjf.GetCodeTable()->at(2).texts[1], "0000300005");
  EXPECT_EQ(qjf.GetElementPage(kFirstRangeElementSlot), kPageEntrax);
  EXPECT_EQ(qjf.GetPages().size(), 5u);
}

struct DefaultsCase {
  const char* code;
  const char* props;  // name=value pairs of the defaults
};

class RangeDefaultsTest : public RangeTest, public ::testing::WithParamInterface<DefaultsCase> {};

TEST_P(RangeDefaultsTest, EveryRunGetsTheRangeDefaults) {
  for (int i = 0; i < 2; ++i) {  // first of its set or not
    std::unique_ptr<CRun> run = CreateRunForCode(GetParam().code, nullptr);
    std::string props;
    for (const char* name : {"Neutral", "IP", "DroitParDefaut", "COTE_NEUTRE", "SupportAuto", "Treatment"}) {
      props += std::string(name) + "=" + run->GetPropText(name) + ";";
    }
    EXPECT_EQ(props, GetParam().props);
    EXPECT_EQ(run->GetRangeLoaded(), 1);
    EXPECT_EQ(run->GetPartsState(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, RangeDefaultsTest,
    ::testing::Values(
        DefaultsCase{"QDT", "Neutral=4;IP= ;DroitParDefaut=1;COTE_NEUTRE=2;SupportAuto=1;Treatment=;"},
        DefaultsCase{"QJF", "Neutral=1;IP=;DroitParDefaut=1;COTE_NEUTRE=0;SupportAuto=1;Treatment= ;"},
        DefaultsCase{"QGA", "Neutral=4;IP=A0;DroitParDefaut=0;COTE_NEUTRE=0;SupportAuto=0;Treatment=;"},
        DefaultsCase{"Qpc", "Neutral=4;IP= ;DroitParDefaut=1;COTE_NEUTRE=2;SupportAuto=1;Treatment= ;"},
        DefaultsCase{"QMA", "Neutral=4;IP=A0;DroitParDefaut=0;COTE_NEUTRE=0;SupportAuto=0;Treatment=;"},
        DefaultsCase{"QWC", "Neutral=4;IP=A0;DroitParDefaut=0;COTE_NEUTRE=0;SupportAuto=1;Treatment=;"}));

TEST_F(RangeTest, ASetIsFilledOnceAndEmptiedWithItsLastRun) {
  CRangeTableCache& cache = CRangeTableCache::Instance();
  std::vector<std::unique_ptr<CRun>> runs;
  for (int i = 0; i < 100; ++i) runs.push_back(CreateRunForCode("QMA", nullptr));
  EXPECT_EQ(CRangeContext::Instance().TableOpens(), 7);  // one per table file
  EXPECT_EQ(cache.LiveRuns("QMA"), 100);
  const CRangeTables* tables = cache.Find("QMA");
  runs.resize(1);
  EXPECT_EQ(tables->ratings.size(), 3u);
  runs.clear();
  EXPECT_EQ(cache.LiveRuns("QMA"), 0);
  EXPECT_TRUE(tables->ratings.empty() && tables->patterns.empty() && tables->codes.empty() && tables->options.empty());
  EXPECT_EQ(tables->temperatures.front().value, 0.0);
  EXPECT_EQ(CreateRunForCode("QMA", nullptr)->GetRatingList()->size(), 3u);  // filled afresh
}

TEST_F(RangeTest, AMissingTableGivesEmptyListsAndOneMessage) {
  CRangeContext::Instance().SetCatalogueFolder("/nonexistent/");
  for (int i = 0; i < 2; ++i) {
    CRunQD run("A", nullptr);
    EXPECT_TRUE(run.GetRatingList()->empty());
    EXPECT_EQ(run.GetCodeTable()->size(), 7u);  // default rows of every device
  }
  ASSERT_EQ(messages.size(), 7u);  // once per table, not per run
  EXPECT_EQ(messages[0], std::make_pair(CRangeContext::kMessageTableUnreadable, std::string("/nonexistent/QD_SPLIT.dbf")));
}

TEST_F(RangeTest, ALoaderThatFailsLeavesItsSetEmptyAndUncounted) {
  CRangeContext::Instance().SetCatalogueFolder("/nonexistent/");
  CRangeContext::Instance().SetNotifier([](int, const std::string&) { throw std::runtime_error("stop"); });
  EXPECT_THROW(CRunQM("A", nullptr), std::runtime_error);
  EXPECT_EQ(CRangeTableCache::Instance().LiveRuns("QMA"), 0);
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  CRunQM run("A", nullptr);
  EXPECT_EQ(run.GetRatingList()->size(), 3u);
  EXPECT_EQ(CRangeTableCache::Instance().LiveRuns("QMA"), 1);
}

}  // namespace
