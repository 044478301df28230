#include "reference/ref_rating_texts.h"

#include <gtest/gtest.h>

#include "app/message_text.h"
#include "linear_test_support.h"

namespace {

CRatingEntry EntryOf(const std::string& label, const std::string& typ1, const std::string& typ2,
                     int variant = 0) {
  CRatingEntry entry;
  entry.rating = "250";
  entry.typeLabel = label;
  entry.type = {typ1, typ2};
  entry.variant = variant;
  return entry;
}

TEST(RefRatingTextsTest, MessageNumbersInCatalogueTextsBecomeTheirTexts) {
  const CEnglishTexts texts;
  const std::string box = StringText(32081);
  struct Case {
    const char* fault;
    std::string text, expected;
  } cases[] = {
      {"plain text stays", "TX 250", "TX 250"},
      {"a message alone", "MSG32081", box},
      {"the text before stays", "2x MSG32081", "2x " + box},
      {"and the text after", "MSG32081 IP54", box + " IP54"},
      {"below the range gives nothing", "Box MSG29999", "Box "},
      {"above the range gives nothing", "MSG33000", ""},
      {"too many digits give nothing", "MSG320810000000", ""},
      {"MSG without a number is text", "MSGX", "MSGX"},
  };
  for (const Case& c : cases) EXPECT_EQ(RefExpandMessageText(c.text), c.expected) << c.fault;
}

TEST(RefRatingTextsTest, HeadingsFollowTheRatingFamily) {
  const CEnglishTexts texts;
  struct Case {
    int family;
    int rating, protection, type, extra;
  } cases[] = {
      {1, 31091, 0, 31092, 0}, {2, 31091, 0, 31093, 0},     {3, 31091, 0, 31094, 0},
      {4, 31091, 0, 32182, 0}, {5, 32080, 0, 32081, 0},     {6, 32080, 0, 32245, 0},
      {7, 31091, 0, 31094, 0}, {9, 32273, 32275, 32274, 0}, {10, 32426, 0, 32427, 32428},
      {11, 31091, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const CRatingHeadings headings = RefRatingHeadings(c.family);
    EXPECT_EQ(headings.rating, c.rating) << c.family;
    EXPECT_EQ(headings.protection, c.protection) << c.family;
    EXPECT_EQ(headings.type, c.type) << c.family;
    EXPECT_EQ(headings.extra, c.extra) << c.family;
  }
  // Family 10 keeps the heading before the ':' of its messages.
  EXPECT_EQ(RefRatingHeadingText(32427, 10), "Connection");
  EXPECT_EQ(RefRatingHeadingText(32427, 1), StringText(32427));
  EXPECT_EQ(RefRatingHeadingText(0, 1), "");
}

TEST(RefRatingTextsTest, FamilyTenRowsReadTypeConnectionAndShortCircuit) {
  const CEnglishTexts texts;
  struct Case {
    const char* fault;
    std::string typ1;
    std::string rating, type, extra;
  } cases[] = {
      {"plug-in, short circuit with a current", "TYP3 CP ICC25>400", "Type 3", "Plug-in",
       "Icc 25 kA, In > 400 A"},
      {"fixed after CPF", "TYP2 CPF ICC10", "Type 2", "Fixed", "Icc 10 kA"},
      {"nothing known", "X", " ", " ", " "},
  };
  for (const Case& c : cases) {
    const CRatingRowTexts row = RefRatingRowTexts(EntryOf("?", c.typ1, ""), 10);
    EXPECT_EQ(row.rating, c.rating) << c.fault;
    EXPECT_EQ(row.type, c.type) << c.fault;
    EXPECT_EQ(row.extra, c.extra) << c.fault;
  }
}

TEST(RefRatingTextsTest, RowsShowTheirVariantsTypeAndTheLabelInLuminaireFamilies) {
  const CEnglishTexts texts;
  const CRatingEntry entry = EntryOf("Box", "MSG32081", "T2", 1);
  EXPECT_EQ(RefRatingRowTexts(entry, 1).rating, "250 A");
  EXPECT_EQ(RefRatingRowTexts(entry, 1).type, "T2");  // the second variant's
  EXPECT_EQ(RefRatingRowTexts(entry, 9).rating, "250");
  const CRatingEntry first = EntryOf("Box", "MSG32081", "T2", 0);
  EXPECT_EQ(RefRatingRowTexts(first, 5).rating, "Box");
  EXPECT_EQ(RefRatingRowTexts(first, 5).type, StringText(32081));
  EXPECT_EQ(RefRatingRowTexts(EntryOf("", "A", ""), 6).rating, " ");
}

TEST(RefRatingTextsTest, TheNoteSplitsAlternativesAndSharedEntriesAreSetOffInFamilyEleven) {
  const CEnglishTexts texts;
  EXPECT_EQ(RefRatingNote("2 poles/4 poles"), "2 poles or\n4 poles");
  EXPECT_EQ(RefRatingNote("2 poles"), "");
  CRatingEntry shared = EntryOf("A", "", "");
  shared.group = CRatingEntry::kEveryGroup;
  EXPECT_TRUE(RefRatingRowSetOff(shared, 11));
  EXPECT_FALSE(RefRatingRowSetOff(shared, 10));
  shared.group = 2;
  EXPECT_FALSE(RefRatingRowSetOff(shared, 11));
}

// Which families keep their caption over the lists and which narrow their type list.
TEST(RefRatingTextsTest, CaptionAndTypeListWidthByFamily) {
  struct Case {
    int family;
    bool caption, narrow;
  };
  const std::vector<Case> cases = {{1, true, false},  {2, true, false}, {4, true, false},
                                   {5, true, true},   {6, true, false}, {7, true, true},
                                   {9, false, false}, {10, true, true}, {11, true, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(RefRatingCaptionShown(c.family), c.caption) << c.family;
    EXPECT_EQ(RefRatingTypeListNarrow(c.family), c.narrow) << c.family;
  }
}

}  // namespace
