// The length page's rules on the QD sample: face mode edits the element's two lengths as
// one undo step, variant mode keeps the "LENGTH" field in its limits, offset mode checks
// the unit against its neighbours; the last element of a run has no forward neighbour.

#include <gtest/gtest.h>

#include "model/props/dimension.h"

#include <cmath>
#include "pages/length_page.h"
#include "page_test_support.h"

namespace {

using EMode = CLengthPage::EMode;

class LengthPageTest : public SamplePageTest {
 protected:
  // The page loaded on a face of an inner straight of the first run.
  CDev& LoadOnFace(CLengthPage& page) {
    CDev* element = InnerStraight(0);
    EXPECT_NE(element, nullptr);
    SelectFace(*element);
    page.SetObject(element);
    EXPECT_TRUE(page.Load());
    return *element;
  }
};

TEST_F(LengthPageTest, AFaceOpensTheFaceModeWithBothLengths) {
  CLengthPage page;
  CDev& element = LoadOnFace(page);
  EXPECT_EQ(page.GetMode(), EMode::kFace);
  const CDimension& units = document->GetUnits();
  EXPECT_EQ(page.GetText1(), units.FormatScaled(element.GetBookedLength()));
  EXPECT_EQ(page.GetText2(), units.FormatScaled(element.GetDrawnLength()));
  EXPECT_EQ(page.GetSame(), 1);
}

TEST_F(LengthPageTest, ATypedLengthChangesElementBillAndTotalsAsOneUndoStep) {
  CLengthPage page;
  CDev& element = LoadOnFace(page);
  CRun& run = *element.GetRun();
  const std::int32_t before = element.GetBookedLength();
  const std::int64_t bookedBefore = BookedTotal(run);
  const int steps = UndoSteps();
  page.SetText1("5000");
  page.SetText2("5000");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(element.GetBookedLength(), 5000);
  EXPECT_EQ(element.GetDrawnLength(), 5000);
  EXPECT_EQ(BookedTotal(run), bookedBefore + 5000 - before);
  EXPECT_EQ(UndoSteps(), steps + 1);
  EXPECT_TRUE(document->IsModified());
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  // The undo step brings back the document as it was: the run is read anew.
  CDev* restored = InnerStraight(0);
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(restored->GetBookedLength(), before);
  EXPECT_EQ(BookedTotal(Run(0)), bookedBefore);
}

TEST_F(LengthPageTest, TheElementsBeyondMoveByTheChange) {
  CLengthPage page;
  CDev& element = LoadOnFace(page);
  CDev* front = element.GetNeighbour(element.GetDirection());
  ASSERT_NE(front, nullptr);
  const C3DPoint before = front->GetPosition();
  const std::int32_t drawn = element.GetDrawnLength();
  page.SetText1("6000");
  page.SetText2("6000");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  const C3DPoint moved = front->GetPosition() - before;
  EXPECT_DOUBLE_EQ(std::abs(moved.x) + std::abs(moved.y) + std::abs(moved.z), 6000.0 - drawn);
}

struct FaceCase {
  const char* fault;
  bool apart;  // the "same" box turned off first
  const char* typed1;
  const char* typed2;
  EApplyResult result;
  std::int32_t costed;  // expected after the apply (0: unchanged)
  std::int32_t drawn;
};

TEST_F(LengthPageTest, FaceLimitsAtAndPastTheirEdges) {
  const FaceCase cases[] = {
      {"a costed length of 0 is no length", false, "0", "0", EApplyResult::kRefused, 0, 0},
      {"the widest costed length is taken", false, "500000", "500000", EApplyResult::kApplied,
       500000, 500000},
      {"one past the widest is refused", false, "500001", "500001", EApplyResult::kRefused, 0, 0},
      {"text that is not a length is refused", false, "abc", "abc", EApplyResult::kRefused, 0, 0},
      {"lengths within 2 % are kept equal", true, "1000", "1015", EApplyResult::kApplied, 1000,
       1000},
      {"lengths 3 % apart stay apart", true, "1000", "970", EApplyResult::kApplied, 1000, 970},
      {"a length in metres reads in millimetres", false, "2,5m", "2,5m", EApplyResult::kApplied,
       2500, 2500},
  };
  for (const FaceCase& row : cases) {
    SCOPED_TRACE(row.fault);
    CLengthPage page;
    CDev& element = LoadOnFace(page);
    if (row.apart) page.ToggleSame();
    const std::int32_t costed = element.GetBookedLength();
    const std::int32_t drawn = element.GetDrawnLength();
    page.SetText1(row.typed1);
    page.SetText2(row.typed2);
    EXPECT_EQ(page.Apply().result, row.result);
    EXPECT_EQ(element.GetBookedLength(), row.costed != 0 ? row.costed : costed);
    EXPECT_EQ(element.GetDrawnLength(), row.drawn != 0 ? row.drawn : drawn);
    if (row.result == EApplyResult::kRefused) {
      EXPECT_EQ(page.GetText1(), document->GetUnits().FormatScaled(costed));
    }
  }
}

TEST_F(LengthPageTest, ADrawnLengthBelowTheHousingsIsRefused) {
  CLengthPage page;
  CDev& element = LoadOnFace(page);
  ASSERT_EQ(page.ToggleSame(), false);  // the two lengths apart
  page.SetText1("3000");
  page.SetText2("1");
  const std::int32_t drawn = element.GetDrawnLength();
  // The housings at both ends of the straight take room: one millimetre cannot hold them.
  EXPECT_EQ(page.Apply().result, EApplyResult::kRefused);
  EXPECT_EQ(element.GetDrawnLength(), drawn);
}

TEST_F(LengthPageTest, AnUnchangedValueRecordsNoUndoStep) {
  CLengthPage page;
  LoadOnFace(page);
  const int steps = UndoSteps();
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
  EXPECT_EQ(UndoSteps(), steps);
  EXPECT_FALSE(document->IsModified());
}

TEST_F(LengthPageTest, APageWhoseElementIsGoneDoesNothing) {
  CLengthPage page;
  CDev& element = LoadOnFace(page);
  CRun& run = *element.GetRun();
  document->Selection().Clear();
  run.DeleteElement(&element);
  page.SetText1("4000");
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
  EXPECT_FALSE(page.Load());
}

// Variant and offset modes on a run of three elements without a document: an end, a
// unit and a straight.
class WholeElementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    start = run.NewElement();
    start->SetKind(CDev::kEnd);
    start->SetDirection(4);
    run.AddDevice(start);
    unit = Add(start, CDev::kInLineVariant, 800);
    last = Add(unit, CDev::kStraight, 3000);
  }
  CDev* Add(CDev* back, int kind, std::int32_t length) {
    CDev* element = run.NewElement();
    element->SetKind(kind);
    element->SetDirection(4);
    element->SetBookedLength(length);
    element->SetDrawnLength(length);
    element->SetNeighbour(0, back);
    back->SetNeighbour(4, element);
    run.AddDevice(element);
    return element;
  }
  CRun run;
  CDev* start = nullptr;
  CDev* unit = nullptr;
  CDev* last = nullptr;
};

struct VariantCase {
  const char* fault;
  int variant;
  const char* stored;
  const char* typed;
  EApplyResult result;
  const char* field;  // "LENGTH" after the apply
};

TEST_F(WholeElementTest, VariantLengthsStayInTheirLimits) {
  const VariantCase cases[] = {
      {"a stored value past the limits loads as the default", 6, "99999999999999999999", "1400",
       EApplyResult::kApplied, "1400"},
      {"above the maximum is taken as the maximum", 6, "1200", "1600", EApplyResult::kApplied,
       "1500"},
      {"below the minimum is taken as the minimum (the default)", 7, "1500", "900",
       EApplyResult::kApplied, ""},
      {"the default length removes the field", 6, "1200", "1300", EApplyResult::kApplied, ""},
      {"text that is not a length changes nothing", 8, "1500", "1,2,3", EApplyResult::kRefused,
       "1500"},
      {"the stored value typed again changes nothing", 8, "1500", "1500", EApplyResult::kUnchanged,
       "1500"},
  };
  for (const VariantCase& row : cases) {
    SCOPED_TRACE(row.fault);
    unit->SetFieldText("LENGTH", row.stored);
    CLengthPage page;
    page.SetObject(unit, row.variant);
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(page.GetMode(), EMode::kVariant);
    page.SetText1(row.typed);
    EXPECT_EQ(page.Apply().result, row.result);
    EXPECT_EQ(unit->GetFieldText("LENGTH").value_or(""), row.field);
  }
}

TEST_F(WholeElementTest, AVariantSixChangeIsSharedWithTheForwardNeighbour) {
  run.SetPartsState(2);
  unit->SetFieldText("LENGTH", "1200");
  CLengthPage page;
  page.SetObject(unit, 6);
  ASSERT_TRUE(page.Load());
  page.SetText1("1301");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  // 101 more: 51 to the unit (shorter than the straight beyond it), 50 to the straight.
  EXPECT_EQ(unit->GetDrawnLength(), 800 + 51);
  EXPECT_EQ(last->GetDrawnLength(), 3000 + 50);
}

TEST_F(WholeElementTest, AVariantSixUnitAtTheEndOfItsRunSharesNothing) {
  run.SetPartsState(2);
  last->SetKind(CDev::kInLineVariant);
  last->SetFieldText("LENGTH", "1200");
  CLengthPage page;
  page.SetObject(last, 6);
  ASSERT_TRUE(page.Load());
  page.SetText1("1400");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(last->GetFieldText("LENGTH").value_or(""), "1400");
  EXPECT_EQ(last->GetDrawnLength(), 3000);
}

struct OffsetCase {
  const char* fault;
  bool onLast;
  const char* typed;
  EApplyResult result;
  std::int32_t offset;
};

TEST_F(WholeElementTest, OffsetsAreCheckedAgainstBothDrawnLengths) {
  const OffsetCase cases[] = {
      {"an offset of 0 is refused", false, "0", EApplyResult::kRefused, 100},
      {"the widest offset would not fit the unit", false, "10000", EApplyResult::kRefused, 100},
      {"past the widest offset is refused", true, "10001", EApplyResult::kRefused, 100},
      {"half the offset must stay below the unit's drawn length", false, "1600",
       EApplyResult::kRefused, 100},
      {"one below that fits", false, "1598", EApplyResult::kApplied, 1598},
      {"the last element is checked against its own length only", true, "5998",
       EApplyResult::kApplied, 5998},
      {"text that is not a length is refused", false, "x", EApplyResult::kRefused, 100},
  };
  for (const OffsetCase& row : cases) {
    SCOPED_TRACE(row.fault);
    CDev* element = row.onLast ? last : unit;
    element->SetOffset(100);
    CLengthPage page;
    page.SetObject(element, 0);
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(page.GetMode(), EMode::kOffset);
    page.SetText1(row.typed);
    EXPECT_EQ(page.Apply().result, row.result);
    EXPECT_EQ(element->GetOffset(), row.offset);
  }
}

}  // namespace
