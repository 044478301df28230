// The characteristics page on the QD sample: the variant list of a whole element and of
// a face with the range filters, a new variant rewriting the element and moving its
// bill-of-materials quantity as one undo step, the default entry of an element whose
// variant the table does not know, and the element options.

#include <gtest/gtest.h>

#include "model/run/range_rules.h"
#include "page_test_support.h"
#include "pages/characteristics_page.h"

namespace {

class CharacteristicsPageTest : public SamplePageTest {
 protected:
  // The first end element of the run, whole, with the page.
  CDev& LoadOnEnd(CCharacteristicsPage& page, int run = 0) {
    std::vector<CDev*> ends = Elements(run, CDev::kEnd);
    EXPECT_FALSE(ends.empty());
    SelectWhole(*ends.front());
    page.SetObject(ends.front());
    EXPECT_TRUE(page.Load());
    return *ends.front();
  }
  // The first elbow of the unbuilt run with its back face selected: the straight section
  // it carries.
  CDev* ElbowFace(int run) {
    Unbuild(run);
    for (CDev* elbow : Elements(run, CDev::kElbow))
      if (elbow->GetBookedLength() > 0) {
        SelectFace(*elbow);
        return elbow;
      }
    ADD_FAILURE() << "no elbow with a length in run " << run;
    return nullptr;
  }
  // Whether the run's code table has a row of the group and code.
  bool TableHas(int run, int group, int code) {
    for (const CCodeRow& row : *Run(run).GetCodeTable())
      if (row.texts[0] == std::to_string(group) && row.texts[1] == std::to_string(code))
        return true;
    return false;
  }
  static std::vector<int> Codes(const CCharacteristicsPage& page) {
    std::vector<int> codes;
    for (const auto& entry : page.GetEntries()) codes.push_back(entry.code);
    return codes;
  }
  // The index of an entry whose variant differs from the element's.
  static int OtherEntry(const CCharacteristicsPage& page, int variant) {
    for (std::size_t i = 0; i < page.GetEntries().size(); ++i)
      if (page.GetEntries()[i].Variant() != variant) return static_cast<int>(i);
    return -1;
  }
};

TEST_F(CharacteristicsPageTest, AWholeEndListsTheEndVariantsWithItsOwnChosen) {
  CCharacteristicsPage page;
  CDev& end = LoadOnEnd(page);
  ASSERT_FALSE(page.GetEntries().empty());
  ASSERT_GE(page.GetChoice(), 0);
  EXPECT_EQ(page.GetEntries()[static_cast<std::size_t>(page.GetChoice())].Variant(),
            end.GetVariant());
  std::size_t rows = 0;
  for (const CCodeRow& row : *Run(0).GetCodeTable()) rows += row.texts[0] == "0";
  EXPECT_EQ(page.GetEntries().size(), rows);
}

TEST_F(CharacteristicsPageTest, ANewVariantMovesTheReferenceAsOneUndoStep) {
  Unbuild(0);
  CCharacteristicsPage page;
  CDev& end = LoadOnEnd(page);
  ASSERT_TRUE(page.IsListEnabled());
  const int other = OtherEntry(page, end.GetVariant());
  ASSERT_GE(other, 0);
  const int variant = page.GetEntries()[static_cast<std::size_t>(other)].Variant();
  const std::string old = end.GetReference();
  const std::string wanted = Run(0).GetKindText(CDev::kEnd, variant);
  const std::int64_t oldQuantity = Quantity(Run(0), old);
  const std::vector<std::uint8_t> before = Bytes();
  const int steps = UndoSteps();
  page.SetChoice(other);
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(end.GetVariant(), variant);
  EXPECT_EQ(end.GetStyle2() & 0xFF, static_cast<std::uint32_t>(variant));
  EXPECT_EQ(end.GetReference(), wanted);
  if (old != wanted) {
    EXPECT_EQ(Quantity(Run(0), old), oldQuantity - 1);
  }
  EXPECT_GE(Quantity(Run(0), wanted), 1);
  EXPECT_EQ(UndoSteps(), steps + 1);
  // Choosing it again records nothing.
  ASSERT_TRUE(page.Load());
  EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
  EXPECT_EQ(UndoSteps(), steps + 1);
  ASSERT_EQ(document->GetUndo().Undo(), 1);
  EXPECT_EQ(Bytes(), before);
}

// Opening the page of an end changes nothing, built or not, until a variant is chosen;
// a choice on a built run takes the run back to its own elements.
TEST_F(CharacteristicsPageTest, OpeningChangesNothingAndAChoiceWorksBuiltOrNot) {
  const struct {
    const char* what;
    bool built;
  } rows[] = {{"built", true}, {"not built", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    if (!row.built) Unbuild(0);
    ASSERT_EQ(Run(0).GetPartsState() != 0, row.built);
    CCharacteristicsPage page;
    CDev& end = LoadOnEnd(page);
    end.SetVariantBoth(77);
    const std::vector<std::uint8_t> before = Bytes();
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(page.GetChoice(), -1);
    EXPECT_TRUE(page.IsListEnabled());
    EXPECT_EQ(page.Apply().result, EApplyResult::kUnchanged);
    EXPECT_EQ(Bytes(), before);
    ASSERT_GT(page.GetEntries().size(), 1u);
    page.SetChoice(1);
    ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
    EXPECT_EQ(end.GetVariant(), page.GetEntries()[1].Variant());
    EXPECT_EQ(end.GetReference(), Run(0).GetKindText(CDev::kEnd, end.GetVariant()));
    EXPECT_EQ(Run(0).GetPartsState(), 0);
  }
}

TEST_F(CharacteristicsPageTest, AFaceListsTheStraightVariantsOfItsRange) {
  // Run 0 is QDA at 63 A, run 1 QDT: QDT offers no straight of code 4.
  const bool tableHasFour = TableHas(0, 1, 4);
  for (int run : {0, 1}) {
    CDev* straight = ElbowFace(run);
    ASSERT_NE(straight, nullptr);
    CCharacteristicsPage page;
    page.SetObject(straight);
    ASSERT_TRUE(page.Load());
    EXPECT_TRUE(page.IsFaceSelected());
    const std::vector<int> codes = Codes(page);
    ASSERT_FALSE(codes.empty()) << run;
    const bool hasFour = std::find(codes.begin(), codes.end(), 4) != codes.end();
    EXPECT_EQ(hasFour, run == 0 && tableHasFour) << run;
  }
}

TEST_F(CharacteristicsPageTest, AFaceVariantChangesTheSectionsIndexAndItsLengthRecords) {
  CDev* straight = ElbowFace(0);
  ASSERT_NE(straight, nullptr);
  CCharacteristicsPage page;
  page.SetObject(straight);
  ASSERT_TRUE(page.Load());
  const int other = OtherEntry(page, straight->GetVariantIndex());
  ASSERT_GE(other, 0);
  const int index = page.GetEntries()[static_cast<std::size_t>(other)].Variant();
  const std::string bill = BillText(Run(0));
  const std::int64_t booked = BookedTotal(Run(0));
  const int steps = UndoSteps();
  page.SetChoice(other);
  ASSERT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(straight->GetVariantIndex(), index);
  EXPECT_NE(BillText(Run(0)), bill);
  EXPECT_EQ(BookedTotal(Run(0)), booked);
  EXPECT_EQ(UndoSteps(), steps + 1);
}

TEST_F(CharacteristicsPageTest, TheQMMarkingBoxKeepsNoTextAsItsOpposite) {
  CCharacteristicsPage page;
  CDev& end = LoadOnEnd(page);
  Run(0).SetCatalog("QMA");
  end.SetVariantBoth(4);
  ASSERT_TRUE(page.Load());
  ASSERT_EQ(page.GetOptionBox(), CCharacteristicsPage::EOptionBox::kNoText);
  EXPECT_TRUE(page.IsOptionChecked());
  ASSERT_EQ(page.SetOptionChecked(false).result, EApplyResult::kApplied);
  EXPECT_EQ(end.GetFieldText("NOTEXT").value_or(""), "1");
  ASSERT_EQ(page.SetOptionChecked(true).result, EApplyResult::kApplied);
  EXPECT_EQ(end.GetFieldText("NOTEXT").value_or(""), "");
  EXPECT_EQ(page.SetOptionChecked(true).result, EApplyResult::kUnchanged);
  Run(0).SetCatalog("QDA");
}

TEST_F(CharacteristicsPageTest, ThePolarityStoresOnlyThePENArrangement) {
  CCharacteristicsPage page;
  CDev& end = LoadOnEnd(page);
  ASSERT_EQ(page.ChoosePolarity(1).result, EApplyResult::kApplied);
  EXPECT_EQ(end.GetFieldText("POL").value_or(""), "5");
  ASSERT_EQ(page.ChoosePolarity(0).result, EApplyResult::kApplied);
  EXPECT_EQ(end.GetFieldText("POL").value_or(""), "");
  EXPECT_EQ(page.ChoosePolarity(2).result, EApplyResult::kUnchanged);
}

TEST_F(CharacteristicsPageTest, TheOptionBitButtonTogglesBitTwelveInBothWords) {
  CCharacteristicsPage page;
  CDev& end = LoadOnEnd(page);
  const std::uint32_t style = end.GetStyle();
  ASSERT_EQ(page.ToggleOptionBit().result, EApplyResult::kApplied);
  EXPECT_EQ(end.GetStyle() ^ style, 0x1000u);
  EXPECT_EQ(end.GetStyle2() & 0xF000u, end.GetStyle() & 0xF000u);
  ASSERT_EQ(page.ToggleOptionBit().result, EApplyResult::kApplied);
  EXPECT_EQ(end.GetStyle(), style);
}

struct RenumberCase {
  const char* reference;
  bool checked;
  const char* renumbered;  // empty: left as it is
};

TEST(EDRenumbering, TheStepNumberTurnsWithTheBox) {
  const RenumberCase cases[] = {
      {"QMA25E ED 203 X", true, "QMA25E ED 201 X"},
      {"QMA25E ED 302", true, "QMA25E ED 301"},
      {"QMA25E ED 353", true, "QMA25E ED 351"},
      {"QMA25E ED 201", false, "QMA25E ED 203"},
      {"QMA25E ED 351", false, "QMA25E ED 353"},
      {"QMA25E ED 301", false, "QMA25E ED 302"},
      {"QMA25E ED 201", true, ""},
      {"QMA25E EX 203", true, ""},
      {"QMA25E ED 20", true, ""},
      {"", false, ""},
  };
  for (const RenumberCase& test : cases) {
    const std::optional<std::string> result = RenumberEDReference(test.reference, test.checked);
    EXPECT_EQ(result.value_or(""), test.renumbered) << test.reference << " " << test.checked;
  }
}

}  // namespace
