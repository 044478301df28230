#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/bom/bom_test_support.h"
#include "model/bom/bom_grid.h"

namespace {

// Columns of the grid under test.
constexpr int kRef = 2;
constexpr int kQuantity = 3;
constexpr int kComment = 4;
constexpr int kGlobalDiscount = 5;
constexpr int kPicture = 6;

class BOMEditTest : public BOMTestBase {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    grid.SetSource(&source);
    grid.SetView(&view);
    grid.SetPrompter(&prompter);
    grid.SetItemPrefix("A");
    grid.InsertColumn(2, kBOMKindQuantity, "Qty");
    grid.InsertColumn(3, kBOMKindComment, "Comment");
    grid.InsertColumn(4, kBOMKindGlobalDiscount, "Discount");
    grid.InsertColumn(5, kBOMKindPicture, "Picture");
    grid.AddRefQuantity("R1", 2);
    grid.AddRefQuantity("R2", 1);
    source.modified = 0;
    source.viewUpdates = 0;
    view.calls.clear();
  }

  // What the in-place editor does: start, write the text into the cell, finish.
  void Type(int row, int column, const std::string& text) {
    ASSERT_TRUE(grid.CanEditCell(row, column));
    grid.SetCellText(row, column, text, 0, false);
    grid.OnCellEdited(row, column, true);
  }

  int EditRow() const { return grid.GetRowCount() - 1; }
  std::vector<std::string> References() const { return BOMReferences(grid); }

  CFakeBOMSource source;
  CFakeBOMView view;
  CFakeBOMPrompter prompter;
  CBOMGrid grid;
};

TEST_F(BOMEditTest, ANewReferenceOnTheEditLineBecomesALineWithTheTypedValues) {
  Type(EditRow(), kComment, "typed comment");
  Type(EditRow(), kGlobalDiscount, "");  // empty: not stored for this kind
  Type(EditRow(), kQuantity, "4 pieces");
  EXPECT_EQ(source.modified, 2);
  Type(EditRow(), kRef, "R3");
  EXPECT_EQ(References(), (std::vector<std::string>{"R1", "R2", "R3"}));
  EXPECT_EQ(grid.GetLineQuantity(3), 4);
  EXPECT_EQ(source.quantities["R3"], 4);
  EXPECT_EQ(source.GetDevicePropByRef("R3", "Comment"), "typed comment");
  EXPECT_EQ(source.GetDevicePropByRef("R3", "RemiseGlob"), std::nullopt);
  for (const auto& [row, texts] : std::vector<std::pair<int, std::vector<std::string>>>{
           {3, {"", "A.3", "R3", "4", "typed comment"}}, {4, {"*", "A.4", "", "", ""}}}) {
    for (int column = 0; column <= kComment; ++column)
      EXPECT_EQ(grid.GetCellText(row, column), texts[column]);
  }
  EXPECT_EQ(source.modified, 3);
  EXPECT_EQ(source.viewUpdates, 3);
  EXPECT_FALSE(view.calls.empty());
  EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(BOMEditTest, AnExistingReferenceOnTheEditLineAsksBeforeMerging) {
  Type(EditRow(), kComment, "more");
  Type(EditRow(), kQuantity, "3");
  prompter.answers = {false};
  Type(EditRow(), kRef, " R1");
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_TRUE(prompter.questions[0].cancel);
  EXPECT_EQ(prompter.questions[0].caption, "MSG_7503");
  EXPECT_EQ(grid.GetCellText(EditRow(), kRef), "");  // Cancel restores
  EXPECT_EQ(grid.GetLineQuantity(1), 2);

  prompter.answers = {false, true};
  Type(EditRow(), kRef, " R1");
  EXPECT_EQ(References(), (std::vector<std::string>{"R1", "R2"}));
  EXPECT_EQ(grid.GetLineQuantity(1), 5);
  EXPECT_EQ(source.quantities["R1"], 5);
  EXPECT_EQ(source.GetDevicePropByRef("R1", "Comment"), "more");
  EXPECT_EQ(grid.GetCellText(EditRow(), kComment), "");
  EXPECT_EQ(grid.GetCellText(EditRow(), kRef), "");
  EXPECT_EQ(grid.GetLine(EditRow())->quantity, 0);
}

TEST_F(BOMEditTest, RenamingAHandAddedLine) {
  source.Put("R1", "Comment", "kept");
  Type(1, kRef, "R9");
  EXPECT_EQ(References(), (std::vector<std::string>{"R9", "R2"}));
  EXPECT_EQ(source.GetDevicePropByRef("R9", "Comment"), "kept");
  EXPECT_EQ(grid.FindLine("R9"), 1);
}

TEST_F(BOMEditTest, RenamingALineThatElementsUseIsRefused) {
  source.counts["R1"] = 2;
  Type(1, kRef, "R9");
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_FALSE(prompter.questions[0].cancel);
  EXPECT_EQ(prompter.questions[0].caption, "MSG_7505");
  EXPECT_EQ(grid.GetCellText(1, kRef), "R1");
  EXPECT_EQ(References(), (std::vector<std::string>{"R1", "R2"}));
  EXPECT_EQ(source.modified, 0);
}

TEST_F(BOMEditTest, RenamingOntoAnotherLineMergesIntoIt) {
  source.Put("R1", "Comment", "from R1");
  prompter.answers = {false};
  Type(1, kRef, "R2");
  EXPECT_EQ(References(), (std::vector<std::string>{"R1", "R2"}));
  EXPECT_EQ(grid.GetCellText(1, kRef), "R1");

  Type(1, kRef, "R2");
  EXPECT_EQ(References(), (std::vector<std::string>{"R2"}));
  EXPECT_EQ(grid.GetLineQuantity(1), 3);
  EXPECT_EQ(source.quantities["R2"], 3);
  EXPECT_EQ(source.quantities["R1"], 0);
  EXPECT_EQ(source.GetDevicePropByRef("R2", "Comment"), "from R1");
  EXPECT_EQ(grid.GetCellText(1, 1), "A.1");
}

TEST_F(BOMEditTest, QuantitiesTypedOnALine) {
  const struct {
    const char* name;
    const char* typed;
    std::int64_t count;
    std::vector<bool> answers;
    std::size_t questions;
    std::vector<std::string> lines;
    std::int64_t quantity;  // of R1 afterwards
  } cases[] = {
      {"a plain change", "7", 0, {}, 0, {"R1", "R2"}, 7},
      {"leading digits count", "12abc", 0, {}, 0, {"R1", "R2"}, 12},
      {"zero removes a hand-added line", "0", 0, {}, 0, {"R2"}, 0},
      {"not a number is zero", "x", 0, {}, 0, {"R2"}, 0},
      {"below the elements' count, OK", "1", 3, {true}, 1, {"R1", "R2"}, 3},
      {"below the elements' count, Cancel", "1", 3, {false}, 1, {"R1", "R2"}, 2},
      {"zero below the count asks", "0", 1, {true}, 1, {"R1", "R2"}, 1},
      {"a huge number stops at the largest quantity",
       "99999999999999999999",
       0,
       {},
       0,
       {"R1", "R2"},
       CBOMGrid::kMaxQuantity},
      {"a negative number is zero", "-5", 0, {}, 0, {"R2"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CFakeBOMSource run;
    CFakeBOMPrompter asked;
    asked.answers = c.answers;
    auto page = MakeBOMPage(run);
    page->SetPrompter(&asked);
    page->InsertColumn(2, kBOMKindQuantity, "Qty");
    page->AddRefQuantity("R1", 2);
    page->AddRefQuantity("R2", 1);
    run.counts["R1"] = c.count;
    ASSERT_TRUE(page->CanEditCell(1, kQuantity));
    page->SetCellText(1, kQuantity, c.typed, 0, false);
    page->OnCellEdited(1, kQuantity, true);
    EXPECT_EQ(asked.questions.size(), c.questions);
    EXPECT_EQ(BOMReferences(*page), c.lines);
    const int row = page->FindLine("R1");
    EXPECT_EQ(row < 0 ? 0 : page->GetLineQuantity(row), c.quantity);
    if (row > 0) {
      EXPECT_EQ(page->GetCellText(row, kQuantity), std::to_string(c.quantity));
    }
    EXPECT_EQ(run.quantities["R1"], c.quantity);
  }
}

TEST_F(BOMEditTest, OtherColumnsStoreIntoTheRecords) {
  Type(2, kComment, "a note");
  EXPECT_EQ(source.GetDevicePropByRef("R2", "Comment"), "a note");
  EXPECT_EQ(grid.GetCellText(2, kComment), "a note");
  EXPECT_EQ(source.modified, 1);
}

TEST_F(BOMEditTest, EditsThatChangeNothingDoNothing) {
  ASSERT_TRUE(grid.CanEditCell(1, kComment));
  grid.OnCellEdited(1, kComment, true);  // the same text
  grid.SetCellText(1, kComment, "x", 0, false);
  grid.OnCellEdited(1, kComment, false);  // the editor reports no change
  EXPECT_EQ(source.modified, 0);
  EXPECT_EQ(source.GetDevicePropByRef("R1", "Comment"), std::nullopt);

  CBOMGrid total;
  ASSERT_TRUE(total.CanEditCell(1, 2));
  total.SetCellText(1, 2, "R1", 0, false);
  total.OnCellEdited(1, 2, true);
  EXPECT_EQ(total.GetRowCount(), 2);
}

TEST_F(BOMEditTest, EditLineReferencesBlankUnaskedOrWithoutQuantity) {
  Type(EditRow(), kRef, "   ");  // a blank reference is restored
  EXPECT_EQ(grid.GetRowCount(), 4);
  EXPECT_EQ(grid.GetCellText(EditRow(), kRef), "");
  grid.SetPrompter(nullptr);  // without a prompter the merge question counts as Cancel
  Type(EditRow(), kRef, "R1");
  EXPECT_EQ(grid.GetLineQuantity(1), 2);
  EXPECT_EQ(grid.GetCellText(EditRow(), kRef), "");
  Type(EditRow(), kRef, "R3");  // no quantity typed: one
  EXPECT_EQ(grid.GetLineQuantity(3), 1);
  EXPECT_EQ(grid.GetCellText(3, kQuantity), "1");
}

TEST_F(BOMEditTest, CanEditCellMakesTheCellAndKeepsItsText) {
  EXPECT_FALSE(grid.CanEditCell(1, kPicture));
  EXPECT_FALSE(grid.CanEditCell(1, 99));
  EXPECT_FALSE(grid.CanEditCell(-1, kRef));
  ASSERT_TRUE(grid.CanEditCell(1, kRef));
  EXPECT_EQ(grid.GetEditBuffer(), "R1");
  CBOMGrid fresh;
  ASSERT_EQ(fresh.GetCell(1, 2), nullptr);
  ASSERT_TRUE(fresh.CanEditCell(1, 2));
  EXPECT_NE(fresh.GetTextCell(1, 2), nullptr);
  EXPECT_EQ(fresh.GetEditBuffer(), "");
}

TEST_F(BOMEditTest, EditingNeedsAnEditableRunPage) {
  EXPECT_FALSE(grid.IsEditAllowed());
  grid.EnableEdit(true);
  EXPECT_TRUE(grid.IsEditAllowed());
  source.editable = false;
  EXPECT_FALSE(grid.IsEditAllowed());
  CBOMGrid total;
  total.EnableEdit(true);
  EXPECT_FALSE(total.IsEditAllowed());
}

TEST_F(BOMEditTest, PickListListsTheCodeTable) {
  source.codes = {"QA1", "QA2", "QB7"};
  EXPECT_EQ(grid.GetPickListCodes(), source.codes);
  EXPECT_EQ(grid.GetPickListCodes(), source.codes);  // restarts each time
  EXPECT_TRUE(CBOMGrid().GetPickListCodes().empty());
}

}  // namespace
