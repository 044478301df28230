#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "grid/grid_fakes.h"
#include "model/bom/bom_test_support.h"
#include "grid/grid_bitmap.h"
#include "grid/grid_cell_format.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_texts.h"
#include "model/bom/bom_title_texts.h"
#include "app/message_text.h"

namespace {

const std::string kIndent(10, ' ');

class BOMColumnsTest : public BOMTestBase {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    grid.SetSource(&source);
    grid.SetItemPrefix("A");
  }

  std::vector<int> Kinds(const CBOMGrid& page) const {
    std::vector<int> kinds;
    for (int column = 0; column < page.GetColumnCount(); ++column) {
      kinds.push_back(page.GetColumn(column)->kind);
      EXPECT_EQ(page.GetColumn(column)->position, column);
    }
    return kinds;
  }

  CFakeBOMSource source;
  CBOMGrid grid;
};

TEST_F(BOMColumnsTest, ColumnKeysByKind) {
  const std::vector<std::string> keys = {
      "Ref",         "Qte",        "PrixU",    "PrixT",  "Remise",  "CoefVente", "PrixV",
      "PrixVU",      "RemiseGlob", "CoefGlob", "TPoseU", "TPoseT",  "Comment",   "Dessin",
      "Designation", "PoidsU",     "PoidsT",   "PrixVR", "ENumber", "?",         "Sans"};
  for (int kind = 0; kind < static_cast<int>(keys.size()); ++kind)
    EXPECT_EQ(CBOMGrid::ColumnKey(kind), keys[kind]);
  EXPECT_EQ(CBOMGrid::ColumnKey(21), "?");
  EXPECT_EQ(CBOMGrid::ColumnKey(-1), "?");
  EXPECT_EQ(BOMDefaultTitle(kBOMKindDesignation), "MSG_7591");
  EXPECT_EQ(BOMDefaultTitle(kBOMKindENumber), "");
}

// Titles looked up once give what the language gives, on the thread that put them in use
// only and until it stops using them.
TEST_F(BOMColumnsTest, TitleTextsInUseAnswerAsTheLanguage) {
  const CBOMTitleTexts titles;
  {
    const CBOMTitleTexts::CUse use(&titles);
    EXPECT_EQ(CBOMTitleTexts::InUse(), &titles);
    for (int kind = 0; kind <= kBOMKindNone; ++kind) {
      const int number = BOMDefaultTitleNumber(kind);
      EXPECT_EQ(BOMDefaultTitle(kind), number == 0 ? "" : StringText(number)) << kind;
    }
    EXPECT_EQ(BOMTitleText(kMsgBOMTitleItem), StringText(kMsgBOMTitleItem));
    EXPECT_EQ(titles.Find(1), nullptr);
    EXPECT_EQ(BOMTitleText(1), StringText(1));
    std::thread([] { EXPECT_EQ(CBOMTitleTexts::InUse(), nullptr); }).join();
    {
      const CBOMTitleTexts::CUse none(nullptr);
      EXPECT_EQ(CBOMTitleTexts::InUse(), nullptr);
    }
    EXPECT_EQ(CBOMTitleTexts::InUse(), &titles);
  }
  EXPECT_EQ(CBOMTitleTexts::InUse(), nullptr);
}

TEST_F(BOMColumnsTest, InsertColumnRangesAndRecords) {
  const struct {
    int after;
    bool result;
  } cases[] = {{-1, false}, {0, false}, {1, true}, {2, true}, {3, false}};
  for (const auto& c : cases) {
    CBOMGrid page;
    EXPECT_EQ(page.InsertColumn(c.after, kBOMKindUnitPrice, "Price"), c.result) << c.after;
    EXPECT_EQ(page.GetColumnCount(), c.result ? 4 : 3) << c.after;
  }
  ASSERT_TRUE(grid.InsertColumn(1, kBOMKindPicture, "Picture"));
  EXPECT_EQ(Kinds(grid),
            (std::vector<int>{kBOMKindNone, kBOMKindNone, kBOMKindPicture, kBOMKindRef}));
  const CBOMColumn expected{"Picture", 2, kBOMKindPicture, 0, true, 0, 0, 200};
  EXPECT_EQ(*grid.GetColumn(2), expected);
  EXPECT_EQ(grid.GetCellText(0, 2), "Picture");
  ASSERT_TRUE(grid.InsertColumn(3, kBOMKindComment, "Comment"));
  EXPECT_EQ(grid.GetColumn(4)->excelFlag, 1);
}

TEST_F(BOMColumnsTest, InsertedColumnsAreFilledFromTheirKind) {
  source.Put("R1", "PrixU", "4.20");
  grid.AddRefQuantity("R1", 2);
  grid.SetCell(2, 2, "typed", 0);  // on the edit line
  ASSERT_TRUE(grid.InsertColumn(2, kBOMKindUnitPrice, "Unit price"));
  ASSERT_TRUE(grid.InsertColumn(3, kBOMKindQuantity, "Qty"));
  ASSERT_TRUE(grid.InsertColumn(4, kBOMKindRef, "Ref again"));
  EXPECT_EQ(grid.GetCellText(1, 3), "4.20");
  EXPECT_EQ(grid.GetCellText(1, 4), "2");
  EXPECT_EQ(grid.GetCellText(1, 5), "R1");
  EXPECT_EQ(grid.GetCellText(2, 3), "");
  EXPECT_EQ(grid.GetCellText(2, 5), "typed");  // the edit line copies its twin column
}

TEST_F(BOMColumnsTest, DeleteColumnRanges) {
  grid.InsertColumn(2, kBOMKindComment, "Comment");
  grid.InsertColumn(3, kBOMKindUnitPrice, "Price");
  source.modified = 0;
  const std::pair<int, bool> cases[] = {{-1, false}, {0, false}, {1, false}, {5, false}, {3, true}};
  for (const auto& [column, result] : cases) EXPECT_EQ(grid.DeleteColumn(column), result) << column;
  EXPECT_EQ(Kinds(grid),
            (std::vector<int>{kBOMKindNone, kBOMKindNone, kBOMKindRef, kBOMKindUnitPrice}));
  EXPECT_EQ(source.modified, 1);
}

TEST_F(BOMColumnsTest, RefreshReadsEveryValueByColumnKey) {
  for (int kind :
       {kBOMKindUnitPrice, kBOMKindDiscount, kBOMKindSalesCoefficient, kBOMKindGlobalDiscount,
        kBOMKindGlobalCoefficient, kBOMKindDesignation, kBOMKindENumber}) {
    grid.InsertColumn(grid.GetColumnCount() - 1, kind, "t");
  }
  for (const char* reference : {"R1", "R2 \nGroup=3!"}) {
    for (const char* key :
         {"PrixU", "Remise", "CoefVente", "RemiseGlob", "CoefGlob", "Designation", "ENumber"}) {
      source.Put(reference, key, std::string(key) + "-value");
    }
  }
  grid.AddRefQuantity("R1", 1);
  grid.AddRefQuantity("R2 \nGroup=3!", 1);
  const std::vector<std::string> plain = {"PrixU-value",      "Remise-value",   "CoefVente-value",
                                          "RemiseGlob-value", "CoefGlob-value", "Designation-value",
                                          "ENumber-value"};
  const std::vector<std::string> noPrice = {"PrixU-value",  "", "", "", "", "Designation-value",
                                            "ENumber-value"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(grid.GetCellText(1, 3 + i), plain[i]) << i;
    EXPECT_EQ(grid.GetCellText(2, 3 + i), noPrice[i]) << i;
  }
  EXPECT_EQ(grid.GetCellText(2, 2), "R2");  // the suffix is never shown
}

TEST_F(BOMColumnsTest, DisplayRulesOfReferenceAndDesignation) {
  grid.InsertColumn(2, kBOMKindDesignation, "Designation");
  const struct {
    std::string reference, designation, shownReference, shownDesignation;
  } cases[] = {
      {"R1", "Box", "R1", "Box"},
      {"R2 \nGroup=4a", "Sub", kIndent + "R2", kIndent + "Sub"},
      {"R3 \nGroup=4!", "No price", "R3", "No price"},
  };
  for (const auto& c : cases) {
    if (!c.designation.empty()) source.Put(c.reference, "Designation", c.designation);
    grid.AddRefQuantity(c.reference, 1);
    const int row = grid.FindLine(c.reference);
    EXPECT_EQ(grid.GetCellText(row, 2), c.shownReference) << c.reference;
    EXPECT_EQ(grid.GetCellText(row, 3), c.shownDesignation) << c.reference;
  }
  // Other columns only lose the suffix.
  grid.SetCell(0, 1, "title \nGroup=3", 1);
  EXPECT_EQ(grid.GetCellText(0, 1), "title");
}

TEST_F(BOMColumnsTest, PictureColumnShowsThePartPicture) {
  source.pictures["R1"] = MakeBOMPicture(8, 4);
  grid.AddRefQuantity("R1", 1);
  grid.AddRefQuantity("R2", 1);
  ASSERT_TRUE(grid.InsertColumn(2, kBOMKindPicture, "Picture"));
  const auto* picture = dynamic_cast<const CGridBitmap*>(grid.GetCell(1, 3));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->GetBitmap().width, 8);
  EXPECT_EQ(grid.GetCell(2, 3)->GetKind(), CGridCell::kEmpty);
  EXPECT_EQ(grid.GetCell(3, 3)->GetKind(), CGridCell::kText);  // the edit line
  EXPECT_FALSE(grid.CanEditCell(1, 3));
  EXPECT_EQ(grid.GetLineFieldText(1, kBOMKindPicture), std::nullopt);
  // A picture cell takes no text format.
  EXPECT_FALSE(grid.SetCellFont(1, 3, CLogFont{}));
}

TEST_F(BOMColumnsTest, CopyLayoutFromLeavesOutTransientColumns) {
  CBOMGrid run;
  run.SetSource(&source);
  run.AddRefQuantity("R1", 1);
  run.InsertColumn(2, kBOMKindUnitPrice, "Price");
  run.InsertColumn(3, kBOMKindUnitWeight, "Weight");
  run.GetColumn(4)->excelFlag = -1;
  run.InsertColumn(4, kBOMKindComment, "Comment");
  run.GetColumn(5)->csvFlag = 1;
  run.GetColumn(5)->alignment = 2;
  run.PutColumnWidth(5, 123);
  const CLogFont bold{.weight = 700, .faceName = "Liberation Sans"};
  run.SetCellFont(1, 5, bold);
  run.SetCellTextColor(1, 5, CColor{200, 0, 0});
  run.SetCellFont(1, 4, bold);  // in the transient column: not copied anywhere
  run.SetDefaultAutoRowHeight(false);
  run.PutRowHeight(0, 31);

  CBOMGrid total;
  total.AddRefQuantity("R9", 1);
  total.AddRefQuantity("R8", 1);
  total.InsertColumn(2, kBOMKindTotalTime, "Time");
  total.CopyLayoutFrom(run);
  EXPECT_EQ(Kinds(total), (std::vector<int>{kBOMKindNone, kBOMKindNone, kBOMKindRef,
                                            kBOMKindUnitPrice, kBOMKindComment}));
  EXPECT_EQ(total.GetColumn(4)->csvFlag, 1);
  EXPECT_EQ(total.GetColumn(4)->alignment, 2);
  EXPECT_EQ(total.GetColumnWidth(4), 123);
  EXPECT_EQ(total.GetCellLogFont(1, 4), bold);
  EXPECT_EQ(total.GetCellTextColor(1, 4), (CColor{200, 0, 0}));
  EXPECT_NE(total.GetCellLogFont(1, 3), bold);
  EXPECT_FALSE(total.GetDefaultAutoRowHeight());
  EXPECT_EQ(total.GetRowHeight(0), 31);
  EXPECT_EQ(total.GetCellText(0, 4), "Comment");
}

TEST_F(BOMColumnsTest, AStoredWeightColumnIsNotRemoved) {
  source.catalog = "QJF";
  grid.InsertColumn(2, kBOMKindUnitWeight, "Weight");
  grid.UpdateWeightColumn();
  EXPECT_EQ(grid.GetColumnCount(), 4);
}

// Auto-sized columns follow their widest cell as lines come and go, without measuring
// every row for every change.
TEST_F(BOMColumnsTest, AutoWidthFollowsTheWidestCell) {
  CFakeMeasurer measurer;
  grid.SetTextMeasurer(&measurer);
  const int margins = 2 * CGridModel::kMargin;
  grid.AddRefQuantity("R1", 1);
  EXPECT_EQ(grid.GetColumnWidth(2), 8 * 7 + margins);  // "MSG_7501" in the title row
  grid.AddRefQuantity("A-much-longer-reference", 1);
  EXPECT_EQ(grid.GetColumnWidth(2), 23 * 7 + margins);
  grid.RenameLine("A-much-longer-reference", "B-shorter-ref");
  EXPECT_EQ(grid.GetColumnWidth(2), 13 * 7 + margins);
  grid.GetColumn(2)->autoWidth = false;
  grid.AddRefQuantity("C-an-even-longer-reference-here", 1);
  EXPECT_EQ(grid.GetColumnWidth(2), 13 * 7 + margins);
}

}  // namespace
