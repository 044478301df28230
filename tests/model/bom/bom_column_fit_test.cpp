// Columns fitted to their widest text: the width follows the cells as lines come and go,
// and a booking measures the cells it changes, not every row of the column again.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/grid_fakes.h"
#include "model/bom/bom_test_support.h"
#include "model/bom/bom_grid.h"

namespace {

// Seven pixels a character, counting what it measures.
class CCountingMeasurer : public CFakeMeasurer {
 public:
  CSize MeasureLine(const CLogFont& font, std::string_view line) const override {
    ++lines;
    return CFakeMeasurer::MeasureLine(font, line);
  }
  mutable long lines = 0;
};

class BOMColumnFitTest : public BOMTestBase {
 protected:
  void SetUp() override {
    BOMTestBase::SetUp();
    grid.SetSource(&source);
    grid.SetItemPrefix("A");
    grid.SetTextMeasurer(&measurer);
  }
  int InnerWidth(int column) const { return grid.GetColumnWidth(column) - 2 * CGridModel::kMargin; }

  CFakeBOMSource source;
  CBOMGrid grid;
  CCountingMeasurer measurer;
};

// Steps on the reference column: +R books R, -R takes R's line away, R>S renames R to S;
// then the reference column's inside width in characters.
struct FitCase {
  const char* name;
  std::vector<std::string> steps;
  int characters;
};
void PrintTo(const FitCase& c, std::ostream* os) { *os << c.name; }

const FitCase kFitCases[] = {
    {"WidestBooked", {"+AAAAAAAAAAAA", "+BBBB"}, 12},
    {"WidestRenamedNarrower", {"+AAAAAAAAAAAA", "+BBBB", "AAAAAAAAAAAA>CCCCCC"}, 8},
    {"OneOfTwoWidestNarrowed", {"+AAAAAAAAAAAA", "+BBBBBBBBBBBB", "AAAAAAAAAAAA>CCCCCC"}, 12},
    {"BothWidestNarrowed",
     {"+AAAAAAAAAAAA", "+BBBBBBBBBBBB", "AAAAAAAAAAAA>CCCCCC", "BBBBBBBBBBBB>DDDDDDDDD"},
     9},
    // A line taken away leaves the width; the next narrowing fits the rest.
    {"WidestTakenAwayThenOtherNarrowed",
     {"+AAAAAAAAAAAA", "+BBBBBBBBBBBB", "+CCCCCCCCC", "-AAAAAAAAAAAA", "BBBBBBBBBBBB>DDDDD"},
     9},
    {"WidestTakenAwayKeepsTheWidth", {"+AAAAAAAAAAAA", "+BBBB", "-AAAAAAAAAAAA"}, 12},
};

class BOMColumnFitCaseTest : public BOMColumnFitTest,
                             public ::testing::WithParamInterface<FitCase> {};

TEST_P(BOMColumnFitCaseTest, ReferenceColumnFollowsItsWidestCell) {
  for (const std::string& step : GetParam().steps) {
    if (step[0] == '+') {
      grid.AddRefQuantity(step.substr(1), 1);
    } else if (step[0] == '-') {
      grid.RemoveRefQuantity(step.substr(1), 1);
    } else {
      const auto arrow = step.find('>');
      grid.RenameLine(step.substr(0, arrow), step.substr(arrow + 1));
    }
  }
  EXPECT_EQ(InnerWidth(2), GetParam().characters * 7);
}

INSTANTIATE_TEST_SUITE_P(Steps, BOMColumnFitCaseTest, ::testing::ValuesIn(kFitCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Appending a line moves the edit line's marker down: the marker's old cell becoming
// empty is no reason to measure the whole column again.
TEST_F(BOMColumnFitTest, BookingMeasuresInProportionToTheLines) {
  auto measureBookings = [this](int count, int from) {
    const long before = measurer.lines;
    for (int i = from; i < from + count; ++i) grid.AddRefQuantity("REF-" + std::to_string(i), 1);
    return measurer.lines - before;
  };
  measureBookings(10, 0);  // every column fitted once
  const long first = measureBookings(200, 1000);
  const long second = measureBookings(200, 2000);
  EXPECT_GT(first, 0);
  EXPECT_LE(second, first + first / 10);
  EXPECT_EQ(InnerWidth(0), 7);  // the marker
}

}  // namespace
