#include "model/run/run_test_support.h"

#include <algorithm>

namespace {

class RunBuildTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables = MakeTestTables();
    m_run = std::make_unique<CRun>();
    m_run->AttachRangeTables(m_tables);
  }

  // start(4) -> a(4) -> tee(4) with a branch b(2) -> b2(2) at face 2 and c(4) at face 4.
  void BuildTee() {
    CChainBuilder builder(*m_run);
    start = builder.Start(4);
    a = builder.Add(start, 4, CDev::kStraight, 1000, "S-A");
    tee = builder.Add(a, 4, CDev::kJunction2, 500);
    b = builder.Add(tee, 2, CDev::kStraight, 300, "S-B");
    b2 = builder.Add(b, 2, CDev::kStraight, 200, "S-B2");
    c = builder.Add(tee, 4, CDev::kStraight, 700, "S-C");
  }

  std::vector<CDev*> Walk(bool ownDirectionFirst) const {
    return WalkRun(*m_run, ownDirectionFirst);
  }

  CRangeTables m_tables;
  std::unique_ptr<CRun> m_run;
  CDev* start = nullptr;
  CDev* a = nullptr;
  CDev* tee = nullptr;
  CDev* b = nullptr;
  CDev* b2 = nullptr;
  CDev* c = nullptr;
};

TEST_F(RunBuildTest, WalkReturnsTheBranchNodeAgainBeforeItsSecondBranch) {
  BuildTee();
  EXPECT_EQ(m_run->GetFirstElement(), start);
  EXPECT_EQ(Walk(false), (std::vector<CDev*>{start, a, tee, b, b2, tee, c}));
  EXPECT_EQ(Walk(true), (std::vector<CDev*>{start, a, tee, c, tee, b, b2}));
}

TEST_F(RunBuildTest, WalkStopsAtLinksThatRunInACircle) {
  BuildTee();
  c->SetNeighbour(4, start);  // damaged: the chain loops back to its start
  EXPECT_EQ(Walk(false).size(), 7u);
}

TEST_F(RunBuildTest, ChainIndexIsPostOrderThenAccessoriesAndTapOffs) {
  BuildTee();
  CDev* accessory = CChainBuilder(*m_run).Loose(CDev::kAccessory, "ACC");
  const struct {
    CDev* element;
    int index;
  } cases[] = {{b2, 0}, {b, 1}, {c, 2}, {tee, 3}, {a, 4}, {start, 5}, {accessory, 6}};
  for (const auto& entry : cases) EXPECT_EQ(entry.element->GetChainIndex(), entry.index);
  EXPECT_EQ(b2->GetChainIndex(b), 0);
  EXPECT_EQ(tee->GetChainIndex(b), -1);
}

TEST_F(RunBuildTest, AddingAndRemovingBooksTheBillOfMaterials) {
  BuildTee();
  // End and junction are booked with their default texts; straights with a reference of
  // their own.
  EXPECT_EQ(LineQuantity(*m_run, "END-0"), 1);
  EXPECT_EQ(LineQuantity(*m_run, "TEE-0"), 1);
  EXPECT_EQ(LineQuantity(*m_run, "S-A"), 1);
  CDev* plain = CChainBuilder(*m_run).Add(c, 4, CDev::kStraight, 100);
  EXPECT_EQ(LineQuantity(*m_run, plain->GetReference()), -1);  // default text: not booked
  m_run->RemoveDevice(tee);
  EXPECT_EQ(LineQuantity(*m_run, "TEE-0"), -1);
  EXPECT_EQ(m_run->FindDeviceIndex(tee), -1);
  m_run->RemoveDevice(tee);  // a second removal books nothing out
  EXPECT_EQ(m_run->FindDeviceIndex(a), 1);
}

TEST_F(RunBuildTest, LengthRecordsFollowTheBookedLengths) {
  m_run->AddLengthToBOM("63", 1000, 0);
  m_run->AddLengthToBOM("63", 500, 0);
  m_run->AddLengthToBOM("40", 250, 1);
  ASSERT_EQ(m_run->GetLengthRecords().size(), 2u);
  const CDev* record = m_run->GetLengthRecords()[0];
  EXPECT_EQ(record->GetKind(), CDev::kLengthRecord);
  EXPECT_EQ(record->GetBookedLength(), 1500);
  EXPECT_EQ(record->GetReference(), "STR-0 - 1m 50cm ");
  EXPECT_EQ(m_run->FindLengthRecord("40", 1), 1);
  EXPECT_EQ(LineQuantity(*m_run, "STR-0 - 1m 50cm "), 1);
  m_run->AddLengthToBOM("63", -1500, 0);
  EXPECT_EQ(m_run->FindLengthRecord("63", 0), -1);
  EXPECT_EQ(LineQuantity(*m_run, "STR-0 - 1m 50cm "), -1);
  m_run->AddLengthToBOM("63", 100, 7);  // no kind-1 text for index 7: nothing recorded
  EXPECT_EQ(m_run->GetLengthRecords().size(), 1u);
}

TEST_F(RunBuildTest, QuantitiesBeyondSixteenBitsDoNotWrap) {
  m_run->AddManualQuantity("MAN-1", 70000);
  EXPECT_EQ(m_run->CountByRef("MAN-1"), 0);  // manual records are not active devices
  m_run->SetRefQuantity("MAN-1", 200000);
  m_run->AddManualQuantity(" MAN-1 ", 1);
  const CDev* manual = m_run->GetDevices().back();
  EXPECT_EQ(manual->GetStyle2(), 200001u);
  m_run->SetRefQuantity("MAN-1", 65536);
  EXPECT_EQ(manual->GetStyle2(), 65536u);
  m_run->RemoveManualQuantity("MAN-1", 65536);
  EXPECT_TRUE(m_run->GetDevices().empty());
}

TEST_F(RunBuildTest, SetRefQuantityCountsDevicesAndAddsOrRemovesManualRecords) {
  BuildTee();
  a->SetPropValue("HBv2_Std_Cost", "1200");
  m_run->SetRefQuantity("S-A", 3);
  const CDev* manual = m_run->GetDevices().back();
  EXPECT_EQ(manual->GetKind(), CDev::kAccessory);
  EXPECT_EQ(manual->GetActive(), 0);
  EXPECT_EQ(manual->GetStyle2(), 2u);
  EXPECT_EQ(manual->GetPropValue("HBv2_Std_Cost"), "1200");  // copied from the device
  EXPECT_EQ(m_run->CountByRef("S-A"), 1);
  m_run->SetRefQuantity("S-A", 1);
  EXPECT_EQ(m_run->GetDevices().back(), c);
}

TEST_F(RunBuildTest, PropertiesByReferenceReachEveryRecordOfTheReference) {
  BuildTee();
  b2->SetReference("S-B");
  b2->SetPropValue("HBv2_Weight", "9");
  b->SetPropValue("HBv2_Weight", "5");
  EXPECT_EQ(m_run->GetDevicePropByRef("S-B", "HBv2_Weight"), "5");  // the first in list order
  EXPECT_TRUE(m_run->SetDevicePropByRef("S-B", "HBv2_Weight", "7"));
  EXPECT_EQ(b2->GetPropValue("HBv2_Weight"), "7");
  EXPECT_FALSE(m_run->SetDevicePropByRef("S-B", "HBv2_Weight", "7"));  // unchanged
  EXPECT_EQ(m_run->GetDevicePropByRef("NONE", "Ref"), std::nullopt);
  EXPECT_EQ(m_run->CountByRef("S-B"), 2);
  m_run->ReplaceReference("S-B", "S-X");
  EXPECT_EQ(m_run->CountByRef("S-B"), 0);
  EXPECT_EQ(m_run->CountByRef("S-X"), 2);
  EXPECT_EQ(LineQuantity(*m_run, "S-X"), 2);
}

TEST_F(RunBuildTest, TapOffUnitsCountOnlyOnceThePartsAreBuilt) {
  BuildTee();
  CDev* unit = CChainBuilder(*m_run).Loose(CDev::kTapOff, "TAP-1", a);
  EXPECT_EQ(m_run->CountByRef("TAP-1"), 0);
  m_run->SetPartsState(2);
  EXPECT_EQ(m_run->CountByRef("TAP-1"), 1);
  m_run->DeleteElement(a);  // a straight takes its tap-off units with it
  EXPECT_EQ(m_run->FindDeviceIndex(unit), -1);
  EXPECT_EQ(start->GetNeighbour(4), nullptr);
}

TEST_F(RunBuildTest, RebuildLengthRecordsBooksEachElementOnce) {
  BuildTee();
  m_run->SetProp("DroitParDefaut", "1");
  m_run->RebuildLengthRecords(1 << 1);
  ASSERT_EQ(m_run->GetLengthRecords().size(), 1u);
  EXPECT_EQ(m_run->GetLengthRecords()[0]->GetBookedLength(), 1000 + 500 + 300 + 200 + 700);
  EXPECT_EQ(tee->GetVariantIndex(), 1);
  EXPECT_EQ(tee->GetStyle2() & 0xF00u, 0x100u);
}

TEST_F(RunBuildTest, QuotationStatsWalkTheChain) {
  BuildTee();
  c->SetVariantIndexBoth(3);
  const CQuotationStats stats = m_run->GetQuotationStats(false);
  EXPECT_EQ(stats.specialStraight, 1);
  EXPECT_EQ(stats.bookedLength, 1000 + 500 + 300 + 200 + 500 + 700);  // the tee comes twice
  EXPECT_EQ(stats.junctions, 2);
  EXPECT_EQ(m_run->GetQuotationStats(true).bookedLength, 0);
}

// Each removal order is given as the positions, in the first list, of the elements taken
// out one after the other; the others must keep their order whichever way the search for
// the element goes.
struct RemovalOrderCase {
  const char* name;
  std::vector<std::size_t> order;
};

std::vector<std::size_t> Positions(std::size_t count, bool backward, std::size_t stride) {
  std::vector<std::size_t> positions;
  for (std::size_t first = 0; first < stride; ++first) {
    for (std::size_t i = first; i < count; i += stride) positions.push_back(i);
  }
  if (backward) std::reverse(positions.begin(), positions.end());
  return positions;
}

std::vector<std::size_t> MiddleOut(std::size_t count) {
  std::vector<std::size_t> positions;
  const std::size_t middle = count / 2;
  for (std::size_t d = 0; positions.size() < count; ++d) {
    if (middle + d < count) positions.push_back(middle + d);
    if (d > 0 && d <= middle) positions.push_back(middle - d);
  }
  return positions;
}

std::vector<std::size_t> EndsInTurn(std::size_t count) {
  std::vector<std::size_t> positions;
  for (std::size_t low = 0, high = count; low < high;) {
    positions.push_back(low++);
    if (low < high) positions.push_back(--high);
  }
  return positions;
}

class RunRemovalOrderTest : public RunBuildTest,
                            public ::testing::WithParamInterface<RemovalOrderCase> {};

TEST_P(RunRemovalOrderTest, TheOtherElementsKeepTheirOrder) {
  std::vector<CDev*> expected;
  CChainBuilder builder(*m_run);
  for (int i = 0; i < 40; ++i) expected.push_back(builder.Loose(CDev::kAccessory, "ACC"));
  const std::vector<CDev*> listed = expected;
  for (const std::size_t position : GetParam().order) {
    CDev* element = listed[position];
    m_run->RemoveDevice(element);
    expected.erase(std::find(expected.begin(), expected.end(), element));
    ASSERT_EQ(m_run->GetDevices(), expected) << "after taking out element " << position;
    EXPECT_EQ(m_run->FindDeviceIndex(element), -1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Orders, RunRemovalOrderTest,
    ::testing::Values(RemovalOrderCase{"Forward", Positions(40, false, 1)},
                      RemovalOrderCase{"Backward", Positions(40, true, 1)},
                      RemovalOrderCase{"EveryThirdForward", Positions(40, false, 3)},
                      RemovalOrderCase{"EveryThirdBackward", Positions(40, true, 3)},
                      RemovalOrderCase{"MiddleOut", MiddleOut(40)},
                      RemovalOrderCase{"EndsInTurn", EndsInTurn(40)}),
    [](const ::testing::TestParamInfo<RemovalOrderCase>& info) { return info.param.name; });

}  // namespace
