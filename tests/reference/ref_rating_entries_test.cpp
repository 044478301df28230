#include <gtest/gtest.h>

#include "linear/ref_coff_table.h"
#include "linear_test_support.h"
#include "ref_coff_rows.h"
#include "ref_test_support.h"
#include "reference/ref_rating_entries.h"

namespace {

using Row = RefCoffRow;

// A REF_COFF.DBF of the given rows in a folder of the test's own.
class CCoffFolder {
 public:
  explicit CCoffFolder(const std::vector<Row>& rows) {
    EXPECT_TRUE(WriteRefCoffRows(m_folder.File("REF_COFF.DBF"), rows));
    EXPECT_TRUE(m_table.Load(m_folder.Folder(), false));
  }
  const CRefCoffTable& Table() const { return m_table; }

 private:
  CTempFolder m_folder{"rating"};
  CRefCoffTable m_table;
};

const std::vector<Row> kRows = {
    {"QP  ", "R", "11", "A", "5", "250", "IP40", "T1", "IP54", "T2"},
    {"QP  ", "R", "1?", "B", "6", "400", "IP40", "T3", "IP54", "T4"},
    {"QP  ", "L", "12", "A", "7", "250", "IP40", "T1", "IP54", "T2"},  // not for this window
    {"QP  ", "", "21", "A", "8", "250", "IP40", "T1", "IP54", "T2"},   // another kind
    {"QP  ", "", "12", "A", "0", "250", "IP40", "T1", "IP54", "T2"},   // no slot
    {"QD  ", "", "11", "A", "9", "250", "IP40", "T1", "IP54", "T2"},   // another product
    {"QP  ", "", "12", "?", "10", "630", "", "T5", "", ""},
};

CRatingSetup QpaRatings() {
  CRatingSetup setup;
  setup.productKind = 4;
  setup.kind = 20;
  setup.family = 1;
  return setup;
}

TEST(RefRatingEntriesTest, LoadsThePositionsOfTheKindWithUnitsAndVariantsOfTheLine) {
  CCoffFolder folder(kRows);
  CRefLine line = MakeRefLine(4, 250);
  line.slots[4] = 3 | (54 << 16);
  line.slots[9] = 2 | (40 << 16);
  const std::vector<CRatingEntry> entries =
      RefLoadRatingEntries(folder.Table(), line, QpaRatings());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].group, 1);
  EXPECT_EQ(entries[0].slot, 4);
  EXPECT_EQ(entries[0].value, 3);
  EXPECT_EQ(entries[0].variant, 1);
  EXPECT_EQ(entries[0].rating, "250");
  EXPECT_EQ(entries[1].group, CRatingEntry::kEveryGroup);
  EXPECT_EQ(entries[1].value, 0);
  EXPECT_EQ(entries[2].group, 2);
  EXPECT_EQ(entries[2].slot, 9);
  EXPECT_EQ(entries[2].value, 2);
  EXPECT_EQ(entries[2].variant, 0);  // no protection texts: both numbers 0
}

TEST(RefRatingEntriesTest, GroupsAndTypesChooseTheRows) {
  CCoffFolder folder(kRows);
  const CRefLine line = MakeRefLine(4, 250);
  const std::vector<CRatingEntry> entries =
      RefLoadRatingEntries(folder.Table(), line, QpaRatings());
  EXPECT_EQ(RefRatingTypes(entries, 1), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(RefRatingTypes(entries, 2), (std::vector<std::string>{"B"}));
  EXPECT_EQ(RefShownRatingEntries(entries, 1, "A", 1), (std::vector<std::size_t>{0}));
  EXPECT_EQ(RefShownRatingEntries(entries, 1, "B", 1), (std::vector<std::size_t>{1}));
  // The entry of every group shows in group 2 too, and "?" types show with any type.
  EXPECT_EQ(RefShownRatingEntries(entries, 2, "B", 1), (std::vector<std::size_t>{1, 2}));
}

TEST(RefRatingEntriesTest, PoleTypesReadAsTheLanguageFileWritesThem) {
  const CEnglishTexts texts;
  const struct {
    const char* pol;
    int specialMode;
    const char* label;
  } cases[] = {
      {"MSG32470", 0, "4 poles + PE"},
      {"MSG32471", 2, "2 poles + PE"},  // the special mode's own words, spaced alike
      {"2 poles+PE", 2, "2 poles + PE"},
      {"2 poles+PE", 0, "2 poles+PE"},  // a catalogue's own text is shown as it is
      {"MSG33999", 0, "MSG33999"},      // no message of the interface
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pol);
    CCoffFolder folder({{"QP  ", "R", "11", c.pol, "5", "250", "IP40", "T1", "IP54", "T2"}});
    CRatingSetup setup = QpaRatings();
    setup.specialMode = c.specialMode;
    const std::vector<CRatingEntry> entries =
        RefLoadRatingEntries(folder.Table(), MakeRefLine(4, 250), setup);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].typeLabel, c.label);
  }
}

TEST(RefRatingEntriesTest, AtMostTenRowsAndFourInFamilyTen) {
  std::vector<CRatingEntry> entries(12);
  for (CRatingEntry& entry : entries) entry.group = 1, entry.typeLabel = "A";
  EXPECT_EQ(RefShownRatingEntries(entries, 1, "A", 1).size(), 10u);
  EXPECT_EQ(RefShownRatingEntries(entries, 1, "A", 10).size(), 4u);
}

TEST(RefRatingEntriesTest, SlotPacking) {
  const struct {
    std::string ip1, ip2;
    int variant, value, family;
    std::int32_t expected;
  } cases[] = {
      {"IP40", "IP54", 1, 3, 1, 3 | (54 << 16)},
      {"IP40", "IP54", 0, 3, 1, 3 | (40 << 16)},
      {"IP40", "IP54", 1, 0, 1, 0},
      {"", "", 0, 5, 1, 5 | (54 << 16)},
      {"", "", 1, 5, 9, 5 | (2 << 16)},
      {"C1", "C2", 0, 7, 9, 7 | (1 << 16)},
      {"IP99", "", 0, 9999, 1, 9999 | ((99 & 63) << 16)},
  };
  for (const auto& c : cases) {
    CRatingEntry entry;
    entry.ip = {c.ip1, c.ip2};
    entry.variant = c.variant;
    entry.value = c.value;
    EXPECT_EQ(RefPackRatingEntry(entry, c.family), c.expected) << c.ip1 << " " << c.value;
  }
}

TEST(RefRatingEntriesTest, StoreGivesTheRowValuesAndClearsEmptiedSlots) {
  CCoffFolder folder(kRows);
  CRefLine line = MakeRefLine(4, 250);
  line.slots[4] = 3 | (54 << 16);
  std::vector<CRatingEntry> entries = RefLoadRatingEntries(folder.Table(), line, QpaRatings());
  const std::vector<std::size_t> shown = RefShownRatingEntries(entries, 1, "A", 1);
  RefStoreRatingEntries(entries, shown, {0}, 1, line);
  EXPECT_EQ(line.slots[4], 0);
  RefStoreRatingEntries(entries, shown, {12345}, 1, line);
  EXPECT_EQ(line.slots[4], 9999 | (54 << 16));  // typed values held to 9999
}

TEST(RefRatingEntriesTest, VariantsResetByValueAndIp54Connection) {
  CRatingEntry entry;
  entry.ip = {"IP40", "IP54"};
  entry.variant = 1;
  RefResetVariant(entry, 1, false);
  EXPECT_EQ(entry.variant, 0);  // no units
  RefResetVariant(entry, 1, true);
  EXPECT_EQ(entry.variant, 1);
  EXPECT_TRUE(RefRatingHasSwitch(entry, 1));
  EXPECT_FALSE(RefRatingHasSwitch(entry, 5));
  entry.value = 4;
  RefResetVariant(entry, 5, true);
  EXPECT_EQ(entry.variant, 0);
}

}  // namespace
