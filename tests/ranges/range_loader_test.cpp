#include "range_test_support.h"

#include "ranges/qd/run_qd.h"
#include "ranges/qg/run_qg.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/qm/run_qm.h"
#include "ranges/qp/run_qp.h"
#include "ranges/qw/run_qw.h"
#include "ranges/range_pages.h"

#include "support/golden_file.h"

#include <sstream>
#include <stdexcept>
#include <typeinfo>

namespace {

template <typename Texts>
std::string JoinTexts(const Texts& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : "|") + text;
  return joined;
}

template <typename Numbers>
std::string JoinNumbers(const Numbers& numbers) {
  std::string joined;
  for (auto number : numbers) joined += (joined.empty() ? "" : " ") + std::to_string(number);
  return joined;
}

// Everything a run of the code holds after loading, as a listing.
std::string Listing(const CRun& run) {
  std::ostringstream out;
  out << "code " << run.GetPropText("Catalog") << "\npages";
  for (int page : run.GetPages()) out << ' ' << page;
  out << "\nelement pages";
  for (int slot = 0; slot < kElementPageSlots; ++slot) out << ' ' << run.GetElementPage(slot);
  out << "\nproperties";
  for (const auto& prop : run.GetPropArray())
    out << ' ' << prop->GetName() << "=[" << prop->GetValue() << ']';
  out << "\nparts\n";
  for (const CPatternRow& row : *run.GetPatternTable())
    out << "  [" << JoinTexts(row.texts) << "]\n";
  for (const auto* list : {run.GetRatingList(), run.GetNeutralList(), run.GetOptionList()}) {
    out << "codes and labels\n";
    for (const CCodeLabelRow& row : *list) out << "  [" << row.code << "] [" << row.label << "]\n";
  }
  out << "housings\n";
  for (const CReferenceRow& row : *run.GetReferenceTable())
    out << "  [" << row.code << "] " << JoinNumbers(row.values) << '\n';
  out << "device housings\n";
  for (const CHousingRow& row : *run.GetHousingTable())
    out << "  [" << row.reference << "] " << JoinNumbers(row.values) << '\n';
  out << "devices\n";
  for (const CCodeRow& row : *run.GetCodeTable()) out << "  [" << JoinTexts(row.texts) << "]\n";
  out << "linear\n";
  for (const CPriceFormulaRow& row : *run.GetPriceFormulaTable())
    out << "  [" << JoinTexts(row.texts) << "]\n";
  out << "rating values";
  for (const CTemperatureEntry& entry : *run.GetTemperatureTable())
    out << ' ' << entry.value << '@' << entry.temperature;
  out << '\n';
  return out.str();
}

class RangeListingTest : public RangeTest, public ::testing::WithParamInterface<const char*> {};

// QD, QJF, QG and QM read the sample catalogue; QP and QW have no tables there, so they
// show their pages and defaults over empty lists.
TEST_P(RangeListingTest, ARunOfTheCodeHoldsItsTablesPagesAndDefaults) {
  std::unique_ptr<CRun> run = CreateRunForCode(GetParam(), nullptr);
  ExpectGolden("ranges/" + std::string(GetParam()) + ".txt", Listing(*run));
  // A second run of the code gets the same, from the same set, without reading again.
  const int opens = CRangeContext::Instance().TableOpens();
  EXPECT_EQ(Listing(*CreateRunForCode(GetParam(), nullptr)), Listing(*run));
  EXPECT_EQ(CRangeContext::Instance().TableOpens(), opens);
}

INSTANTIATE_TEST_SUITE_P(Codes, RangeListingTest,
                         ::testing::Values("QDA", "QDT", "QJF", "QGA", "QGC", "QMA", "QMC", "QPA",
                                           "Qpc", "QWC"));

TEST_F(RangeTest, EachQdCodeHasItsOwnSet) {
  std::unique_ptr<CRun> qdt = CreateRunForCode("QDT", nullptr);
  const std::string alone = Listing(*qdt);
  qdt.reset();
  CRunQD qda("A", nullptr);
  CRunQD second("T", nullptr);  // opened while a QDA run lives: still the QDT rows
  EXPECT_EQ(second.IsQDT(), 1);
  EXPECT_EQ(Listing(second), alone);
  EXPECT_EQ(CRangeTableCache::Instance().LiveRuns("QDA"), 1);
  EXPECT_EQ(CRangeTableCache::Instance().LiveRuns("QDT"), 1);
}

TEST_F(RangeTest, ASetIsFilledOnceAndEmptiedWithItsLastRun) {
  CRangeTableCache& cache = CRangeTableCache::Instance();
  std::vector<std::unique_ptr<CRun>> runs;
  for (int i = 0; i < 100; ++i) runs.push_back(CreateRunForCode("QMA", nullptr));
  EXPECT_EQ(CRangeContext::Instance().TableOpens(), 7);  // one per table file
  EXPECT_EQ(cache.LiveRuns("QMA"), 100);
  const CRangeTables* tables = cache.Find("QMA");
  runs.resize(1);
  EXPECT_EQ(tables->ratings.size(), 4u);
  runs.clear();
  EXPECT_EQ(cache.LiveRuns("QMA"), 0);
  EXPECT_TRUE(tables->ratings.empty() && tables->patterns.empty() && tables->codes.empty() &&
              tables->options.empty());
  EXPECT_EQ(tables->temperatures.front().value, 0.0);
  EXPECT_EQ(CreateRunForCode("QMA", nullptr)->GetRatingList()->size(), 4u);  // filled afresh
}

TEST_F(RangeTest, AMissingTableGivesEmptyListsAndOneMessage) {
  CRangeContext::Instance().SetCatalogueFolder("/nonexistent/");
  for (int i = 0; i < 2; ++i) {
    CRunQD run("A", nullptr);
    EXPECT_TRUE(run.GetRatingList()->empty());
    EXPECT_EQ(run.GetCodeTable()->size(), 7u);  // default rows of every device
  }
  ASSERT_EQ(messages.size(), 7u);  // once per table, not per run
  EXPECT_EQ(messages[0], std::make_pair(CRangeContext::kMessageTableUnreadable,
                                        std::string("/nonexistent/QD_SPLIT.dbf")));
}

TEST_F(RangeTest, ALoaderThatFailsLeavesItsSetEmptyAndUncounted) {
  CRangeContext::Instance().SetCatalogueFolder("/nonexistent/");
  CRangeContext::Instance().SetNotifier(
      [](int, const std::string&) { throw std::runtime_error("stop"); });
  EXPECT_THROW(CRunQM("A", nullptr), std::runtime_error);
  EXPECT_EQ(CRangeTableCache::Instance().LiveRuns("QMA"), 0);
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  CRunQM run("A", nullptr);
  EXPECT_EQ(run.GetRatingList()->size(), 4u);
  EXPECT_EQ(CRangeTableCache::Instance().LiveRuns("QMA"), 1);
}

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
  // Until the range has its part builder, its rebuilds are refused and touch nothing.
  EXPECT_EQ(run.GetPropText("COTE_NEUTRE"), run.HasPartBuilder() ? "0" : "2");
  CRunQD qd("A", nullptr);
  qd.RebuildParts(0);
  EXPECT_EQ(qd.GetPropText("COTE_NEUTRE"), "2");
}

}  // namespace
