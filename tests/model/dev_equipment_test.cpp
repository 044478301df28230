#include "run_test_support.h"

namespace {

double Size(const CBox& box, int axis) {
  return axis == 0 ? box.GetExtent(1) : axis == 1 ? box.GetExtent(2) : box.GetExtent(0);
}

struct EquipmentRow {
  std::uint32_t style;
  const char* catalogue;
  // Stored values and hood text for a second build; no second build when s1 is 0.
  std::array<std::int32_t, 6> stored;
  const char* storedHood;
  std::array<std::int32_t, 6> values;
  std::size_t cabinetFaces, hoodFaces;
  const char* hood;
  double hoodTopX;
};

class EquipmentBoxTest : public RunTestBase, public ::testing::WithParamInterface<EquipmentRow> {};

TEST_P(EquipmentBoxTest, SizesFacesAndHood) {
  const EquipmentRow& row = GetParam();
  CFakeRunDocument document;
  CRangeTables tables = MakeTestTables();
  tables.references.push_back({"TBL0", {700, 1300, 2100, 400, 100}});
  tables.references.push_back({"TBL1", {700, 1300, 2100, 400, 300100}});
  CRun run(&document);
  run.AttachRangeTables(tables);
  run.SetCatalog(row.catalogue);
  CDev* element = CChainBuilder(run).Loose(CDev::kEnd, "END-0");
  element->SetDirection(4);
  element->SetRotation(16);
  element->SetStyle(row.style);
  element->MakeBox(CDev::kBodySlot);
  element->BuildBoxes(0);
  if (row.stored[0] != 0) {
    document.SetEquipmentValues(*element, row.stored);
    element->SetPropValue("CAP8", row.storedHood);
    element->BuildBoxes(0);
  }
  ASSERT_TRUE(document.equipment.has_value());
  EXPECT_EQ(*document.equipment, row.values);
  EXPECT_EQ(element->GetPropValue("CAP8"), row.hood);
  std::size_t cabinet = 0, hood = 0;
  for (const auto& box : document.extraBoxes) {
    (box->GetKindCode() == 4 ? cabinet : hood) += 1;
    if (box->GetKindCode() == 5 && Size(*box, 2) == 0) {
      EXPECT_EQ(Size(*box, 0), row.hoodTopX);
    }
  }
  EXPECT_EQ(cabinet, row.cabinetFaces);
  EXPECT_EQ(hood, row.hoodFaces);
  // The equipment box stays the last extra box, and the selector 0 removes it.
  EXPECT_EQ(document.extraBoxes.back()->GetKindCode(), 4);
  element->SetStyle(row.style & ~0x03000000u);
  element->BuildBoxes(0);
  EXPECT_TRUE(document.extraBoxes.empty());
}

constexpr std::uint32_t kTable = 0x01000000, kTransformer = 0x02000000, kAbove = 0x04000000,
                        kSide = 0x08000000, kHood = 0x10000000;
const std::array<std::int32_t, 6> kNone{};

INSTANTIATE_TEST_SUITE_P(
    Rows, EquipmentBoxTest,
    ::testing::Values(
        // Found row with a long code: its sizes, offsets from r4 and r5.
        EquipmentRow{kTable, "XX", kNone, "", {700, 1300, 2100, 50, 550, 0}, 4, 0, "", 0},
        // r5 above 100000 lifts the cabinet.
        EquipmentRow{kTable | kAbove, "XX", kNone, "", {700, 1300, 2100, 50, 550, 3}, 4, 0, "", 0},
        // No row: presets; a side cabinet has an open side with top and bottom.
        EquipmentRow{
            kTransformer | kSide, "XX", kNone, "", {975, 1705, 1415, 0, 0, 0}, 6, 0, "", 0},
        // Outside "QG" no hood, but an empty hood text is stored.
        EquipmentRow{kTable | kHood,
                     "XX",
                     kNone,
                     "",
                     {700, 1300, 2100, 50, 550, 0},
                     4,
                     0,
                     "800/400/300/0/0",
                     0},
        // Stored values are kept; o = 1 turns the hood: B on X.
        EquipmentRow{kTable | kHood,
                     "QG1",
                     {10, 20, 30, 1, 2, 3},
                     "800/400/300/100/0",
                     {10, 20, 30, 1, 2, 3},
                     4,
                     4,
                     "800/400/300/100/0",
                     400},
        EquipmentRow{kTable | kHood,
                     "QG1",
                     {10, 20, 30, 1, 2, 3},
                     "1000",
                     {10, 20, 30, 1, 2, 3},
                     4,
                     4,
                     "1000",
                     400}));

}  // namespace
