#include "model/bom/bom_totals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/bom/bom_test_support.h"

namespace {

class BOMTotalsTest : public BOMTestBase {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    for (int i = 0; i < 2; ++i) {
      runs[i].SetSource(&sources[i]);
      runs[i].SetItemPrefix(i == 0 ? "A" : "B");
    }
    for (int kind :
         {kBOMKindUnitPrice, kBOMKindTotalPrice, kBOMKindSalesCoefficient, kBOMKindDesignation}) {
      total.InsertColumn(total.GetColumnCount() - 1, kind, "t");
    }
  }
  // A line of a run with its stored values (unit price, total price, sales price).
  void Line(int run, const std::string& reference, int quantity, const std::string& prixT,
            const std::string& prixV = "", const std::string& designation = "") {
    sources[run].Put(reference, "PrixU", "99");  // never read: the unit price is derived
    sources[run].Put(reference, "PrixT", prixT);
    if (!prixV.empty()) sources[run].Put(reference, "PrixV", prixV);
    if (!designation.empty()) sources[run].Put(reference, "Designation", designation);
    runs[run].AddRefQuantity(reference, quantity);
  }
  CBOMTotals::CResult Compute(bool values = true, bool packaging = false,
                              bool secondComplete = true) {
    const std::vector<CBOMTotalsPage> pages = {{&runs[0], true}, {&runs[1], secondComplete}};
    return totals.Compute(total, pages, values, packaging);
  }

  CFakeBOMSource sources[2];
  CBOMGrid runs[2];
  CBOMGrid total;
  CBOMTotals totals;
};

TEST_F(BOMTotalsTest, LinesMergeByReferenceOverRunsAndGroups) {
  Line(0, "R1", 3, "30", "45", "first");
  Line(1, "R1 \nGroup=2", 3, "30", "", "second");
  Line(1, "R2", 2, "0");
  Line(1, "R3 \nGroup=1!", 4, "8");  // a line without price is left out
  const CBOMTotals::CResult result = Compute();
  EXPECT_TRUE(result.allComplete);
  ASSERT_EQ(BOMReferences(total), (std::vector<std::string>{"R1", "R2"}));
  EXPECT_EQ(total.GetLineQuantity(1), 6);
  const struct {
    int row;
    const char* field;
    const char* text;
  } rows[] = {{1, "PrixT", "60.00"},     {1, "PrixU", "10.00"},        {1, "PrixV", "45.00"},
              {1, "CoefVente", "0.750"}, {1, "Designation", "second"}, {2, "CoefVente", "1.000"},
              {2, "PrixU", "0.00"}};
  for (const auto& row : rows)
    EXPECT_EQ(totals.GetValue(row.row, row.field), row.text) << row.field;
  // The values are shown in the total page's columns of their kinds.
  EXPECT_EQ(total.GetLineFieldText(1, kBOMKindTotalPrice), "60.00");
  EXPECT_EQ(total.GetLineFieldText(1, kBOMKindDesignation), "second");
  EXPECT_EQ(total.GetCellText(1, 1), ".1");
}

TEST_F(BOMTotalsTest, QuantitiesOnlyAndRecomputingStartAfresh) {
  Line(0, "R1", 3, "30");
  Compute();
  Compute(false);
  EXPECT_EQ(total.GetLineQuantity(1), 3);
  EXPECT_EQ(totals.GetValue(1, "PrixT"), std::nullopt);
  EXPECT_EQ(Compute(false, false, false).allComplete, false);
}

TEST_F(BOMTotalsTest, PackagingRoundsUpToWholePacksWhenEveryRunIsComplete) {
  const struct {
    int quantity, pack;
    bool packaging, complete;
    int expected;
    const char* prixT;
  } rows[] = {{6, 4, true, true, 8, ""},       {8, 4, true, true, 8, "30.00"},
              {6, 4, false, true, 6, "30.00"}, {6, 4, true, false, 6, "30.00"},
              {6, 1, true, true, 6, "30.00"},  {6, 0, true, true, 6, "30.00"}};
  for (const auto& row : rows) {
    runs[0].ClearLines();
    sources[0].Put("P", "HBv2_Single_Qty", std::to_string(row.pack));
    Line(0, "P", row.quantity, "30");
    const CBOMTotals::CResult result = Compute(true, row.packaging, row.complete);
    EXPECT_EQ(result.packaging, row.packaging && row.complete);
    EXPECT_EQ(total.GetLineQuantity(1), row.expected) << row.quantity << "/" << row.pack;
    EXPECT_EQ(totals.GetValue(1, "PrixT"), row.prixT);
  }
}

}  // namespace
