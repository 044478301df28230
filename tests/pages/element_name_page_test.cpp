// The element name page on the QD sample: a typed reference moves one quantity of the
// bill of materials, replace-all moves every element of the old reference, an empty
// reference is refused, the group suffix stays out of the edit, and an element that is
// not counted shows its reference read-only.

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "pages/element_name_page.h"

namespace {

class ElementNamePageTest : public SamplePageTest {
 protected:
  // The first whole elbow of the run whose reference the page may edit.
  CDev* EditableElbow(CElementNamePage& page, int run = 0) {
    for (CDev* elbow : Elements(run, CDev::kElbow)) {
      SelectWhole(*elbow);
      page.SetObject(elbow);
      if (page.Load() && page.IsEditable()) return elbow;
    }
    ADD_FAILURE() << "no elbow with an editable reference in run " << run;
    return nullptr;
  }
  // Elbows of the run with the reference.
  int CountWith(int run, const std::string& reference) {
    int count = 0;
    for (CDev* elbow : Elements(run, CDev::kElbow)) count += elbow->GetReference() == reference;
    return count;
  }
};

TEST_F(ElementNamePageTest, ATypedReferenceMovesOneQuantityAsOneUndoStep) {
  CElementNamePage page;
  CDev* elbow = EditableElbow(page);
  ASSERT_NE(elbow, nullptr);
  CRun& run = Run(0);
  const std::string old = elbow->GetReference();
  EXPECT_EQ(page.GetText(), old);
  const std::int64_t oldQuantity = Quantity(run, old);
  const std::vector<std::uint8_t> before = Bytes();
  const int steps = UndoSteps();
  page.SetText("MY ELBOW 1");
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(elbow->GetReference(), "MY ELBOW 1");
  EXPECT_EQ(Quantity(run, "MY ELBOW 1"), 1);
  EXPECT_EQ(Quantity(run, old), oldQuantity - 1);
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(Bytes(), before);
}

TEST_F(ElementNamePageTest, ReplaceAllGivesTheNewReferenceToEveryElementOfTheOld) {
  // Two elbows of the first run made alike on the page itself.
  std::vector<CDev*> editable;
  for (CDev* elbow : Elements(0, CDev::kElbow)) {
    CElementNamePage page;
    SelectWhole(*elbow);
    page.SetObject(elbow);
    if (page.Load() && page.IsEditable()) editable.push_back(elbow);
  }
  ASSERT_GE(editable.size(), 2u);
  CRun& run = Run(0);
  const std::string old = editable[0]->GetReference();
  CElementNamePage alike;
  SelectWhole(*editable[1]);
  alike.SetObject(editable[1]);
  ASSERT_TRUE(alike.Load());
  alike.SetText(old);
  ASSERT_EQ(alike.Apply().result, EApplyResult::kApplied);
  const int holders = CountWith(0, old);
  ASSERT_GE(holders, 2);
  const std::int64_t oldQuantity = Quantity(run, old);
  EXPECT_EQ(oldQuantity, holders);
  CElementNamePage page;
  SelectWhole(*editable[0]);
  page.SetObject(editable[0]);
  ASSERT_TRUE(page.Load());
  const int steps = UndoSteps();
  page.SetText("PAIR");
  page.SetReplaceAll(true);
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(CountWith(0, old), 0);
  EXPECT_EQ(CountWith(0, "PAIR"), holders);
  EXPECT_EQ(Quantity(run, "PAIR"), oldQuantity);
  EXPECT_EQ(Quantity(run, old), 0);
  EXPECT_LE(UndoSteps(), steps + 1);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(CountWith(0, "PAIR"), 0);
  EXPECT_EQ(Quantity(Run(0), "PAIR"), 0);
}

TEST_F(ElementNamePageTest, AnEmptyReferenceIsRefusedAndChangesNothing) {
  for (const char* typed : {"", "   "}) {
    CElementNamePage page;
    CDev* elbow = EditableElbow(page);
    ASSERT_NE(elbow, nullptr);
    const std::string old = elbow->GetReference();
    const std::string bill = BillText(Run(0));
    const int steps = UndoSteps();
    page.SetText(typed);
    const CApplyOutcome outcome = page.Apply();
    EXPECT_EQ(outcome.result, EApplyResult::kRefused) << '"' << typed << '"';
    EXPECT_NE(outcome.refusal.message, 0);
    EXPECT_EQ(elbow->GetReference(), old);
    EXPECT_EQ(page.GetText(), old);
    EXPECT_EQ(BillText(Run(0)), bill);
    EXPECT_EQ(UndoSteps(), steps);
  }
}

TEST_F(ElementNamePageTest, TheGroupSuffixStaysOutOfTheEditAndIsPutBack) {
  CElementNamePage page;
  CDev* elbow = EditableElbow(page);
  ASSERT_NE(elbow, nullptr);
  const std::string grouped = std::string("ELBOW A") + CElementNamePage::kGroupMark + "3";
  elbow->SetReference(grouped);
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.GetText(), "ELBOW A");
  EXPECT_EQ(page.GetGroupSuffix(), std::string(CElementNamePage::kGroupMark) + "3");
  page.SetText("ELBOW B");
  page.SetReplaceAll(true);
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(elbow->GetReference(), std::string("ELBOW B") + CElementNamePage::kGroupMark + "3");
}

TEST_F(ElementNamePageTest, AnElementNotCountedShowsItsReferenceReadOnly) {
  CElementNamePage page;
  CDev* elbow = EditableElbow(page);
  ASSERT_NE(elbow, nullptr);
  elbow->SetBooked(0);
  ASSERT_TRUE(page.Load());
  EXPECT_FALSE(page.IsEditable());
  page.SetText("NOT COUNTED");
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
  EXPECT_NE(elbow->GetReference(), "NOT COUNTED");
}

TEST_F(ElementNamePageTest, AStraightFaceShowsTheReferenceThatStandsForIt) {
  CDev* straight = InnerStraight(0);
  ASSERT_NE(straight, nullptr);
  SelectFace(*straight);
  CElementNamePage page;
  page.SetObject(straight);
  ASSERT_TRUE(page.Load());
  const CDev* referenced = straight->FindReferencedElement();
  const std::string shown = referenced != nullptr
                                ? referenced->GetReference()
                                : Run(0).GetKindText(CDev::kStraight, straight->GetVariantIndex());
  if (straight->GetReference() == Run(0).GetKindText(CDev::kStraight, straight->GetVariant())) {
    EXPECT_FALSE(page.IsEditable());
    EXPECT_EQ(page.GetText(), shown);
  }
  EXPECT_EQ(CElementNamePage::GetShownReference(*straight, true), shown);
  EXPECT_FALSE(page.OffersTapOffChoice());
}

}  // namespace
