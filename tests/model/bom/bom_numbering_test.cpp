#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "model/bom/bom_test_support.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_item_counter.h"
#include "model/bom/item_numbering.h"
#include "support/case_table.h"

namespace {

class BOMNumberingTest : public BOMTestBase {
 protected:
  // The item numbers of every row after the title row, edit line included.
  static std::vector<std::string> Items(const std::vector<std::string>& references) {
    CFakeBOMSource source;
    const auto grid = MakeBOMPage(source, references);
    std::vector<std::string> items;
    for (int row = 1; row < grid->GetRowCount(); ++row) items.push_back(grid->GetCellText(row, 1));
    return items;
  }

  static std::string Grouped(const std::string& reference, int group,
                             const std::string& flag = "") {
    return reference + " \nGroup=" + std::to_string(group) + flag;
  }
};

TEST_F(BOMNumberingTest, NumbersLinesByGroupAndFlag) {
  for (const CCaseRow& row : ReadCaseTable("model/bom_numbering.tsv", 3)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    EXPECT_EQ(Items(row.Split(1, '|')), row.Split(2, ' '));
  }
}

TEST_F(BOMNumberingTest, AHundredLinesInOneGroupRunIntoTheNextHundred) {
  std::vector<std::string> references;
  for (int i = 0; i < 100; ++i) references.push_back(Grouped("r" + std::to_string(i), 7));
  const std::vector<std::string> items = Items(references);
  EXPECT_EQ(items[0], "A.1.1");
  EXPECT_EQ(items[98], "A.1.99");
  EXPECT_EQ(items[99], "A.2.0");  // the slot's hundreds grew: the stored rule, kept
  EXPECT_EQ(items[100], "A.2");
}

TEST_F(BOMNumberingTest, NumberingOffLeavesTheNumbersAndShowsNewEditLinesUnnumbered) {
  CFakeBOMSource source;
  const auto grid = MakeBOMPage(source, {"x"});
  grid->NumberLines(-1);
  EXPECT_FALSE(CItemNumbering::Instance().IsOn());
  grid->AddRefQuantity("y", 1);
  EXPECT_EQ(grid->GetCellText(1, 1), "A.1");
  EXPECT_EQ(grid->GetCellText(2, 1), "A.2");  // the former edit line keeps its number
  EXPECT_EQ(grid->GetCellText(3, 1), "A.?");
  grid->NumberLines(-1);
  grid->NumberLines(2);
  EXPECT_EQ(grid->GetCellText(3, 1), "A.3");
}

TEST_F(BOMNumberingTest, ANewPrefixOrAMovedLineRenumbers) {
  CFakeBOMSource source;
  const auto grid = MakeBOMPage(source, {"x", Grouped("y", 4)});
  grid->SetItemPrefix("Run 2");
  EXPECT_EQ(grid->GetCellText(3, 1), "Run 2.3");
  ASSERT_TRUE(grid->MoveLine(2, 1));
  grid->NumberLines(1);
  EXPECT_EQ(grid->GetCellText(1, 1), "Run 2.1.1");
  EXPECT_EQ(grid->GetCellText(1, 2), "y");
  EXPECT_EQ(grid->GetCellText(2, 1), "Run 2.2");
  EXPECT_EQ(grid->GetCellText(2, 2), "x");
}

}  // namespace

namespace {

// Lines are numbered on from the last one when they are appended; after any mix of
// bookings, removals, moves, renames and switching the numbering, the numbers a booking
// leaves are those of numbering every line from the first.
TEST_F(BOMNumberingTest, NumbersOnlyWhatChangedAsIfEveryLineWereNumbered) {
  CFakeBOMSource source;
  const auto grid = MakeBOMPage(source, {});
  std::mt19937 random(3);
  const auto reference = [&random]() {
    const std::string base = "R" + std::to_string(random() % 12);
    const unsigned group = random() % 4;
    return group == 0 ? base : Grouped(base, static_cast<int>(group), random() % 3 == 0 ? "a" : "");
  };
  for (int step = 0; step < 3000; ++step) {
    const int lines = grid->GetRowCount() - 2;
    bool numbered = false;
    switch (random() % 8) {
      case 0:
        grid->MoveLine(1 + static_cast<int>(random() % (lines + 1)),
                       1 + static_cast<int>(random() % (lines + 1)));
        break;
      case 1: grid->RenameLine(reference(), reference()); break;
      case 2: CItemNumbering::Instance().Set(random() % 4 != 0); break;
      case 3:
        numbered = grid->RemoveRefQuantity(reference(), 1 + random() % 2) &&
                   grid->GetRowCount() - 2 < lines;
        break;
      default: numbered = grid->AddRefQuantity(reference(), 1); break;
    }
    if (!numbered || !CItemNumbering::Instance().IsOn()) continue;
    CBOMItemCounter counter;
    for (int row = 1; row < grid->GetRowCount(); ++row) {
      const std::string expected = counter.Next("A", ParseBOMGroup(grid->GetLine(row)->reference));
      ASSERT_EQ(grid->GetCellText(row, 1), expected) << "step " << step << " row " << row;
    }
  }
  CItemNumbering::Instance().Reset();
}

}  // namespace

// A bill renumbers every line at each refresh with one counter, restarted each time, and
// numbers its edit line with a look at the next number: both as a new counter counting
// every line would.
TEST(BOMItemCounterTest, ARestartedCounterAndALookAheadNumberAsCountingFromNew) {
  const auto group = [](int number, char flag) {
    CBOMGroup parsed;
    parsed.number = number;
    parsed.flag = flag;
    return parsed;
  };
  // Each order of the bills restarts the counter after each of them.
  std::vector<std::vector<CBOMGroup>> bills = {
      {},
      {group(0, ' '), group(0, ' '), group(0, ' ')},
      {group(5, ' '), group(5, 'a'), group(0, ' '), group(5, '!'), group(99, ' ')},
      {group(1, 'b'), group(100, ' '), group(-3, ' '), group(1, ' '), group(1, 'c')},
  };
  CBOMItemCounter reused;
  for (std::size_t first = 0; first < bills.size(); ++first) {
    for (const std::vector<CBOMGroup>& bill : bills) {
      reused.Restart();
      CBOMItemCounter fresh;
      std::string item;
      for (std::size_t line = 0; line <= bill.size(); ++line) {
        const CBOMGroup next = line < bill.size() ? bill[line] : group(7, 'z');
        reused.Peek("A", next, item);
        CBOMItemCounter copy = fresh;
        EXPECT_EQ(item, copy.Next("A", next)) << "bill of " << bill.size() << " line " << line;
        reused.Next("A", next, item);
        EXPECT_EQ(item, fresh.Next("A", next)) << "bill of " << bill.size() << " line " << line;
      }
    }
    std::rotate(bills.begin(), bills.begin() + 1, bills.end());
  }
}

// The group suffix is cut where the first blank, line feed and "Group=" stand together,
// whatever other blanks and line feeds the reference holds.
TEST(BOMGroupSuffixTest, TheSuffixIsFoundAmongOtherBlanksAndLineFeeds) {
  struct Case {
    const char* reference;
    const char* cut;
    int group;
    char flag;
  };
  const Case cases[] = {
      {"QDA63EF4SM l=2828", "QDA63EF4SM l=2828", 0, ' '},
      {"QDA63EF4SM l=2828 \nGroup=5", "QDA63EF4SM l=2828", 5, ' '},
      {" \nGroup=7a", "", 7, 'a'},
      {"\nGroup=7", "\nGroup=7", 0, ' '},
      {"A\nGroup=7", "A\nGroup=7", 0, ' '},
      {"A \n \nGroup=12!", "A \n", 12, '!'},
      {"A \nGroup=3 \nGroup=4", "A", 3, ' '},
      {"A \nGroup", "A \nGroup", 0, ' '},
      {"", "", 0, ' '},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutGroupSuffix(c.reference), c.cut) << c.reference;
    const CBOMGroup group = ParseBOMGroup(c.reference);
    EXPECT_EQ(group.number, c.group) << c.reference;
    EXPECT_EQ(group.flag, c.flag) << c.reference;
  }
}
