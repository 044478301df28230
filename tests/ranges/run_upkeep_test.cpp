#include "app/article_table.h"
#include "model/run/run_test_support.h"
#include "platform/dbf_table.h"
#include "ranges/range_registry.h"
#include "support/temp_folder.h"

#include <filesystem>

namespace {

class RunUpkeepTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    RegisterRangeRuns();
    m_tables = MakeTestTables();
  }

  std::unique_ptr<CRun> MakeRun(const char* catalog, const char* rating = "63") {
    auto run = std::make_unique<CRun>(&m_document);
    run->AttachRangeTables(m_tables);
    run->SetCatalog(catalog);
    run->SetProp("Calibre", rating);
    return run;
  }

  std::int64_t Accessories(const CRun& run, const std::string& reference) {
    return std::count_if(run.GetDevices().begin(), run.GetDevices().end(), [&](const CDev* d) {
      return d->GetKind() == CDev::kAccessory && d->GetReference() == reference;
    });
  }

  CFakeRunDocument m_document;
  CRangeTables m_tables;
};

struct SupportCase {
  const char* name;
  const char* catalog;
  const char* rating;
  const char* automatic;
  const char* step;
  int edgeRotation;  // rotation of the lengths (0: left as built)
  int supports;
};

class RunSupportsTest : public RunUpkeepTest, public ::testing::WithParamInterface<SupportCase> {};

// A flat run of 10000 with two junctions (elbows) and a riser between two units.
TEST_P(RunSupportsTest, CountsSupportsFromFlatLengthAndJunctions) {
  const SupportCase& row = GetParam();
  auto run = MakeRun(row.catalog, row.rating);
  run->SetProp("SupportAuto", row.automatic);
  run->SetProp("SupportPas", row.step);
  CChainBuilder chain(*run);
  CDev* at = chain.Add(chain.Start(4), 4, CDev::kInLine, 4000);
  at = chain.Add(at, 4, CDev::kElbow, 2000);
  at = chain.Add(at, 0, CDev::kElbow, 4000);
  CDev* unit = chain.Add(at, 2, CDev::kInLine, 1500);
  unit = chain.Add(unit, 2, CDev::kInLine, 1500);
  chain.Add(unit, 2, CDev::kEnd, 0);
  if (row.edgeRotation != 0) {
    for (CDev* device : run->GetDevices()) device->SetRotation(row.edgeRotation);
  }
  run->ComputeSupports();
  const std::string support = run->GetElementRef(0);
  EXPECT_EQ(Accessories(*run, support), row.supports);
  EXPECT_EQ(LineQuantity(*run, support), row.supports == 0 ? -1 : row.supports);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RunSupportsTest,
    ::testing::Values(SupportCase{"off", "QDA", "63", "0", "3000", 0, 0},
                      SupportCase{"flat_and_junctions", "QDA", "63", "1", "3000", 0, 6},
                      SupportCase{"double_supports", "QMA", "50", "1", "3000", 0, 12},
                      SupportCase{"other_rating_single", "QMA", "63", "1", "3000", 0, 6},
                      // edge-mounted lengths of range M carry none; the junctions still do
                      SupportCase{"edge_mounted", "QMA", "63", "1", "3000", 32, 2},
                      SupportCase{"no_step", "QDA", "63", "1", "0", 0, 2},
                      // a step of 1 mm on a long run is bounded, not a memory fill
                      SupportCase{"tiny_step", "QDA", "63", "1", "1", 0, 10000}),
    [](const auto& info) { return std::string(info.param.name); });

// Kind 5 has no reference in the code table; a negative kind takes the extra text alone.
TEST_F(RunUpkeepTest, AccessoryWithoutAReferenceAddsNothing) {
  for (const auto& [kind, extra, records] :
       {std::tuple{0, "", 2}, {5, "", 0}, {-1, "", 0}, {-1, "FREE-1", 2}}) {
    auto run = MakeRun("QDA");
    EXPECT_EQ(run->AddAccessoryParts(kind, 2, extra), records != 0 ? 1 : 0) << kind;
    EXPECT_EQ(run->GetDevices().size(), static_cast<std::size_t>(records)) << kind;
  }
}

struct OrderCase {
  const char* name;
  const char* catalog;
  std::vector<std::string> lines;  // as booked
  std::vector<std::string> order;  // expected after Validate
};

class RunValidateTest : public RunUpkeepTest, public ::testing::WithParamInterface<OrderCase> {};

// The chain holds END-0, ELB-0 and UNIT-0 in that order; other lines are loose.
TEST_P(RunValidateTest, OrdersLinesAlongTheChainAndByGroup) {
  const OrderCase& row = GetParam();
  auto run = MakeRun(row.catalog);
  for (const std::string& line : row.lines) run->GetBOM().AddHeldQuantity(line, 1);
  CChainBuilder chain(*run);
  CDev* at = chain.Add(chain.Start(4), 4, CDev::kElbow, 1000, "ELB-0");
  chain.Add(at, 2, CDev::kInLine, 1000, "UNIT-0");
  run->Validate();
  std::vector<std::string> order;
  for (int row = 1; row < run->GetBOM().GetLineCount(); ++row)
    order.push_back(run->GetBOM().GetLine(row)->reference);
  EXPECT_EQ(order, row.order);
}

const std::string kGroup2 = std::string(" \nGroup=2");
const std::string kGroup1 = std::string(" \nGroup=1");

INSTANTIATE_TEST_SUITE_P(
    Rows, RunValidateTest,
    ::testing::Values(OrderCase{"chain_order", "QDA", {"X-1"}, {"END-0", "ELB-0", "UNIT-0", "X-1"}},
                      OrderCase{"numeric_to_the_end_in_range_M",
                                "QMA",
                                {"123", "QMB456", "X-1"},
                                {"END-0", "ELB-0", "UNIT-0", "X-1", "123", "QMB456"}},
                      OrderCase{"groups_gather",
                                "QDA",
                                {"A" + kGroup2, "B" + kGroup1, "C" + kGroup2, "D" + kGroup1},
                                {"END-0", "ELB-0", "UNIT-0", "A" + kGroup2, "C" + kGroup2,
                                 "B" + kGroup1, "D" + kGroup1}}),
    [](const auto& info) { return std::string(info.param.name); });

// An article table of the cases' rows in a folder of its own.
class RunWeightsTest : public RunUpkeepTest {
 protected:
  void SetUp() override {
    RunUpkeepTest::SetUp();
    // A folder of its own: the tests of this fixture run side by side and one of them
    // removes the table.
    m_folder = m_temp.Path();
    tvr::platform::CDbfTable table;
    ASSERT_TRUE(table.Create((m_folder / "ARTICLE.DBU").string(),
                             {{"REFERENCE", 'C', 20, 0}, {"MASSE", 'C', 8, 0}}));
    for (const auto& [reference, mass] :
         {std::pair{"ELB-0", "1500"}, {"END-0", "250"}, {"JUNK-1", "heavy"}}) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, reference);
      table.Assign(1, mass);
    }
    ASSERT_TRUE(table.Close());
    CRunEnvironment::Instance().SetArticleFolder(m_folder.string() + "/");
  }
  CTempFolder m_temp{"run-weights"};
  std::filesystem::path m_folder;
};

TEST_F(RunWeightsTest, WeighsEachLineFromTheArticleTable) {
  const struct {
    const char* reference;
    int quantity;
    const char* weight;
  } cases[] = {{"ELB-0", 2, "1500"},        {"END-0", 1, "250"}, {"END-0 \nGroup=2a", 1, "250"},
               {"ELB-0 \nGroup=2!", 1, ""}, {"NONE-1", 1, ""},   {"JUNK-1", 1, "0"}};
  auto run = MakeRun("QMA");
  CChainBuilder chain(*run);
  for (const auto& c : cases) {
    for (int i = 0; i < c.quantity; ++i) chain.Loose(CDev::kElbow, c.reference)->SetBooked(1);
  }
  run->SetPropValue("SUPP", "7.9");
  const double total = run->ComputeWeights();
  // Grams to kilograms: 2 x 1.5 + 0.25, and 0.25 for the grouped item; a line without
  // price ("!") weighs nothing.
  EXPECT_DOUBLE_EQ(total, 3.5);
  EXPECT_EQ(run->GetPropText("SUPP"), "7/3");
  for (const auto& c : cases) {
    EXPECT_EQ(run->GetDevicePropByRef(c.reference, "HBv2_Weight").value_or(""), c.weight)
        << c.reference;
  }
}

TEST_F(RunWeightsTest, SkipsRangesWithoutWeightsAndAMissingTable) {
  auto run = MakeRun("QDA");
  CChainBuilder(*run).Loose(CDev::kElbow, "ELB-0");
  run->SetPropValue("SUPP", "4");
  EXPECT_EQ(run->ComputeWeights(), 0.0);
  EXPECT_EQ(run->GetPropText("SUPP"), "4");
  std::filesystem::remove(m_folder / "ARTICLE.DBU");
  auto weighed = MakeRun("QGA");
  CChainBuilder(*weighed).Loose(CDev::kElbow, "ELB-0");
  EXPECT_EQ(weighed->ComputeWeights(), 0.0);
  EXPECT_FALSE(weighed->GetDevicePropByRef("ELB-0", "HBv2_Weight").has_value());
}

// Range M keeps a joint's options across a rebuild and in the stored "PJP" text.
TEST_F(RunUpkeepTest, JointOptionsSurviveARebuildAndTheirText) {
  auto run = MakeRun("QMA");
  CChainBuilder chain(*run);
  CDev* start = chain.Start(4);
  CDev* at = chain.Add(start, 4, CDev::kInLine, 1000);
  CDev* first = chain.Add(at, 4, CDev::kJoint, 1000);
  CDev* second = chain.Add(first, 4, CDev::kJoint, 1000);
  chain.Add(second, 4, CDev::kEnd, 0);
  second->SetStyle(0x5000);
  run->SetPartsState(2);
  run->UpdatePJPRecords(0);
  ASSERT_EQ(run->GetPJPRecords().size(), 1u);
  EXPECT_EQ(run->GetPJPRecords()[0].count, 2);
  run->UpdatePJPRecords(2);
  const std::string text = run->GetPropText("PJP");
  EXPECT_EQ(text, std::to_string(start->GetChainIndex()) + "/402/5/");
  second->SetStyle(0);
  run->UpdatePJPRecords(1);
  EXPECT_EQ(second->GetStyle(), 0x5000u);
  EXPECT_EQ(second->GetStyle2(), 0x5000u);
  EXPECT_TRUE(run->GetPJPRecords().empty());

  // Every group that does not parse loses all records.
  for (const char* bad : {"x/402/5/", "99/402/5/", "0/402/5", "0/902/5/", "0/402/16/"}) {
    run->SetPropValue("PJP", bad);
    run->UpdatePJPRecords(3);
    EXPECT_TRUE(run->GetPJPRecords().empty()) << bad;
  }
  run->SetPropValue("PJP", text);
  run->UpdatePJPRecords(3);
  EXPECT_EQ(run->GetPJPRecords().size(), 1u);
  m_document.version = 622;  // older files carry no joint options
  run->UpdatePJPRecords(3);
  EXPECT_TRUE(run->GetPJPRecords().empty());
  EXPECT_FALSE(run->HasProp("PJP"));
}

// Two old lines that end with one reference merge: quantities add up, and taking one
// quantity off leaves the line its elements still use.
TEST_F(RunUpkeepTest, RangeChangeMergesLinesOfOneNewReference) {
  auto oldRun = MakeRun("QMA");
  CChainBuilder chain(*oldRun);
  CDev* at = chain.Add(chain.Start(4), 4, CDev::kStraight, 1000, "S-A");
  chain.Add(at, 4, CDev::kStraight, 1000, "S-B");
  ASSERT_EQ(LineQuantity(*oldRun, "S-A"), 1);
  auto newRun = MakeRun("QDA");
  ASSERT_EQ(newRun->TakeOverRun(*oldRun), 1);
  const std::string reference = newRun->GetElementRef(0);
  EXPECT_EQ(LineQuantity(*newRun, reference), 2);
  EXPECT_EQ(LineQuantity(*newRun, "S-B"), -1);
  EXPECT_TRUE(newRun->GetBOM().RemoveRefQuantity(reference, 1));
  EXPECT_EQ(LineQuantity(*newRun, reference), 1);
}

TEST_F(RunUpkeepTest, PriceFormulaOfLengthRecordsAndCodes) {
  m_tables.priceFormulas = {{{"1", "0", "", "????ABC X?Y"}}, {{"7", "0", "", "U?? V"}}};
  auto run = MakeRun("QDA");
  run->AddLengthToBOM("", 2500, 0);
  const std::string length = run->GetLengthRecords().front()->GetReference();
  const struct {
    std::string reference;
    std::optional<std::string> formula;
  } cases[] = {{length, "QDA6ABC XDY * 2.5"}, {"UNIT-0", "UDA V"}, {"OTHER", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(run->GetPriceFormula(c.reference), c.formula);
}

}  // namespace
