// The position page's rules on the QD sample: the joint between an element and its
// forward neighbour moves within the room their housings leave; refusals name the limit.

#include <gtest/gtest.h>

#include "model/props/dimension.h"
#include "pages/position_page.h"
#include "page_test_support.h"

namespace {

class PositionPageTest : public SamplePageTest {
 protected:
  CDev& LoadOn(CPositionPage& page) {
    CDev* element = InnerStraight(0);
    EXPECT_NE(element, nullptr);
    SelectWhole(*element);
    page.SetObject(element);
    EXPECT_TRUE(page.Load());
    return *element;
  }
  std::string Scaled(std::int64_t length) {
    return document->GetUnits().FormatScaled(static_cast<double>(length));
  }
};

TEST_F(PositionPageTest, TheLengthsAndLimitsComeFromBothElements) {
  CPositionPage page;
  CDev& element = LoadOn(page);
  const CDev* front = element.GetNeighbour(element.GetDirection());
  EXPECT_EQ(page.GetFirst(), element.GetBookedLength());
  EXPECT_EQ(page.GetSecond(), front->GetBookedLength());
  EXPECT_EQ(page.GetTotal(), page.GetFirst() + page.GetSecond());
  EXPECT_GT(page.GetMinFirst(), 0);
  EXPECT_GT(page.GetMinSecond(), 0);
  EXPECT_EQ(page.GetScrollMaximum(), page.GetTotal() - page.GetMinSecond());
}

// Each row types one field; the limit is relative to the page's own figures.
struct RefusalCase {
  const char* fault;
  int field;
  int message;
  // The typed value and the limit the message names, from the page's minimums and total.
  std::int64_t (*typed)(const CPositionPage&);
  std::int64_t (*limit)(const CPositionPage&);
};

TEST_F(PositionPageTest, RefusalsNameTheirLimitAndChangeNothing) {
  using P = const CPositionPage&;
  const RefusalCase cases[] = {
      {"a first length below its minimum", CPositionPage::kFieldFirst, 31501,
       [](P p) { return p.GetMinFirst() - 1; }, [](P p) { return p.GetMinFirst(); }},
      {"a first length that leaves the second too little", CPositionPage::kFieldFirst, 31496,
       [](P p) { return p.GetTotal() - p.GetMinSecond() + 1; },
       [](P p) { return p.GetTotal() - p.GetMinSecond(); }},
      {"a second length below its minimum", CPositionPage::kFieldSecond, 31502,
       [](P p) { return p.GetMinSecond() - 1; }, [](P p) { return p.GetMinSecond(); }},
      {"a second length that leaves the first too little", CPositionPage::kFieldSecond, 31495,
       [](P p) { return p.GetTotal() - p.GetMinFirst() + 1; },
       [](P p) { return p.GetTotal() - p.GetMinFirst(); }},
      {"a total below both minimums", CPositionPage::kFieldTotal, 31500,
       [](P p) { return p.GetMinTotal() - 1; }, [](P p) { return p.GetMinTotal(); }},
  };
  for (const RefusalCase& row : cases) {
    SCOPED_TRACE(row.fault);
    CPositionPage page;
    CDev& element = LoadOn(page);
    const std::int32_t before = element.GetBookedLength();
    const std::string loaded = page.GetText(row.field);
    const int steps = UndoSteps();
    page.SetText(row.field, Scaled(row.typed(page)));
    const CApplyOutcome outcome = page.Apply();
    EXPECT_EQ(outcome.result, EApplyResult::kRefused);
    EXPECT_EQ(outcome.refusal.message, row.message);
    EXPECT_EQ(outcome.refusal.limit, Scaled(row.limit(page)));
    EXPECT_EQ(outcome.refusal.field, row.field);
    EXPECT_EQ(page.GetText(row.field), loaded);
    EXPECT_EQ(element.GetBookedLength(), before);
    EXPECT_EQ(UndoSteps(), steps);
  }
}

TEST_F(PositionPageTest, LimitsThemselvesAreAccepted) {
  for (int field : {CPositionPage::kFieldFirst, CPositionPage::kFieldSecond}) {
    SCOPED_TRACE(field);
    CPositionPage page;
    CDev& element = LoadOn(page);
    CDev* front = element.GetNeighbour(element.GetDirection());
    const std::int64_t total = page.GetTotal();
    const std::int64_t minimum = field == 0 ? page.GetMinFirst() : page.GetMinSecond();
    page.SetText(field, Scaled(minimum));
    ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
    EXPECT_EQ(field == 0 ? element.GetBookedLength() : front->GetBookedLength(), minimum);
    EXPECT_EQ(element.GetBookedLength() + front->GetBookedLength(), total);
  }
}

TEST_F(PositionPageTest, ChangingTheSecondLengthMovesTheJointAndKeepsTheTotal) {
  CPositionPage page;
  CDev& element = LoadOn(page);
  CDev* front = element.GetNeighbour(element.GetDirection());
  const std::int64_t total = page.GetTotal();
  const std::int64_t booked = BookedTotal(*element.GetRun());
  const std::int64_t second = page.GetMinSecond() + 100;
  page.SetText(CPositionPage::kFieldSecond, Scaled(second));
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(front->GetBookedLength(), second);
  EXPECT_EQ(element.GetBookedLength(), total - second);
  EXPECT_EQ(BookedTotal(*element.GetRun()), booked);
  EXPECT_EQ(page.GetText(CPositionPage::kFieldTotal), Scaled(total));
}

TEST_F(PositionPageTest, ANewTotalIsSplitAndTakenBackByOneUndo) {
  CPositionPage page;
  CDev& element = LoadOn(page);
  CDev* front = element.GetNeighbour(element.GetDirection());
  const std::int32_t first = element.GetBookedLength();
  const std::int32_t second = front->GetBookedLength();
  const int steps = UndoSteps();
  page.SetText(CPositionPage::kFieldTotal, Scaled(page.GetTotal() + 1000));
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(element.GetBookedLength() + front->GetBookedLength(), first + second + 1000);
  EXPECT_GE(element.GetBookedLength(), page.GetMinFirst());
  EXPECT_GE(front->GetBookedLength(), page.GetMinSecond());
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  CDev* restored = InnerStraight(0);
  EXPECT_EQ(restored->GetBookedLength(), first);
}

TEST_F(PositionPageTest, TheScrollBarAppliesAtTensAndOnRelease) {
  CPositionPage page;
  CDev& element = LoadOn(page);
  const std::int64_t at = page.GetMinFirst() + 15;
  EXPECT_EQ(page.ScrollTo(at, false).result, EApplyResult::kUnchanged);
  EXPECT_NE(element.GetBookedLength(), at);
  EXPECT_EQ(page.ScrollTo(at, true).result, EApplyResult::kApplied);
  EXPECT_EQ(element.GetBookedLength(), at);
}

TEST_F(PositionPageTest, TheLastElementHasNothingToSplit) {
  // The end element of the run: no forward neighbour.
  CDev* last = nullptr;
  for (CDev* element : Run(0).GetChainOrder())
    if (element->GetKind() <= CDev::kJunction5 &&
        element->GetNeighbour(element->GetDirection()) == nullptr)
      last = element;
  ASSERT_NE(last, nullptr);
  CPositionPage page;
  page.SetObject(last);
  ASSERT_TRUE(page.Load());
  EXPECT_FALSE(page.HasForwardNeighbour());
  const std::int32_t before = last->GetBookedLength();
  page.SetText(CPositionPage::kFieldFirst, "1234");
  EXPECT_EQ(page.Apply().result, EApplyResult::kRefused);
  EXPECT_EQ(last->GetBookedLength(), before);
  EXPECT_EQ(page.ScrollTo(100, true).result, EApplyResult::kUnchanged);
}

TEST_F(PositionPageTest, AnElementThatCostsNothingIsGivenItsRoomWithoutADivision) {
  CPositionPage page;
  CDev& element = LoadOn(page);
  CDev* front = element.GetNeighbour(element.GetDirection());
  const std::int32_t second = front->GetBookedLength();
  // A costed length of 0 leaves no room for the housings: showing the page sets the
  // first length to its minimum at once, and its drawn length may not be scaled by
  // drawn / costed.
  element.SetBookedLength(0);
  const int steps = UndoSteps();
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(element.GetBookedLength(), page.GetMinFirst());
  EXPECT_EQ(element.GetDrawnLength(), page.GetMinFirst());
  EXPECT_EQ(front->GetBookedLength(), second - page.GetMinFirst());
  EXPECT_EQ(UndoSteps(), steps + 1);
}

}  // namespace
