#include "run_test_support.h"

namespace {

double Size(const CBox& box, int axis) {
  return axis == 0 ? box.GetExtent(1) : axis == 1 ? box.GetExtent(2) : box.GetExtent(0);
}

constexpr std::uint32_t kTable = 0x01000000, kTransformer = 0x02000000, kAbove = 0x04000000,
                        kSide = 0x08000000, kHood = 0x10000000;
using Values = std::array<std::int32_t, 6>;
constexpr Values kFound{700, 1300, 2100, 50, 550, 0}, kLifted{700, 1300, 2100, 50, 550, 3},
    kPreset{975, 1705, 1415, 0, 0, 0}, kStored{10, 20, 30, 1, 2, 3};
constexpr const char *kPlain = "800/400/300/0/0", *kTurned = "800/400/300/100/0";

class EquipmentBoxTest : public RunTestBase {};

TEST_F(EquipmentBoxTest, SizesFacesAndHood) {
  const struct {
    const char* guards;
    std::uint32_t style;
    const char* catalogue;
    const char* storedHood;  // with kStored for a second build; none when null
    Values values;
    std::size_t cabinetFaces, hoodFaces;
    const char* hood;
    double hoodTopX;
  } rows[] = {
      {"a found row with a long code", kTable, "XX", nullptr, kFound, 4, 0, "", 0},
      {"r5 above 100000 lifts it", kTable | kAbove, "XX", nullptr, kLifted, 4, 0, "", 0},
      {"no row: presets, a side open", kTransformer | kSide, "XX", nullptr, kPreset, 6, 0, "", 0},
      {"no hood outside QG, its text", kTable | kHood, "XX", nullptr, kFound, 4, 0, kPlain, 0},
      {"stored values kept, o = 1 turns", kTable | kHood, "QG1", kTurned, kStored, 4, 4, kTurned,
       400},
      {"a hood of one size", kTable | kHood, "QG1", "1000", kStored, 4, 4, "1000", 400},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
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
    if (row.storedHood != nullptr) {
      document.SetEquipmentValues(*element, kStored);
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
}

}  // namespace
