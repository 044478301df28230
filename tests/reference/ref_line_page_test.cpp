#include "reference/ref_line_page.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <limits>

#include "app/option_list_files.h"
#include "app/profile.h"
#include "linear_test_support.h"
#include "platform/dbf_table.h"
#include "ref_line_edit_support.h"
#include "ref_test_support.h"
#include "support/temp_folder.h"

namespace {

TEST(RefLinePageFieldTest, TypedNumbersOutsideTheirLimitsAreRefused) {
  struct Case {
    const char* fault;
    const char* text;
    CRefFieldLimit limit;
    int expected;  // -1: refused
  } cases[] = {
      {"a plain number", "12", {0, 9999}, 12},
      {"blanks around are no problem", " 12 ", {0, 9999}, 12},
      {"nothing typed", "", {0, 9999}, -1},
      {"only blanks", "   ", {0, 9999}, -1},
      {"letters after the digits", "12a", {0, 9999}, -1},
      {"a decimal is no whole number", "1.5", {0, 9999}, -1},
      {"below the lower limit", "-1", {0, 9999}, -1},
      {"above the upper limit", "10000", {0, 9999}, -1},
      {"too many digits for 32 bits", "99999999999", {0, 9999}, -1},
      {"the QYX limit itself", "75", {0, 75}, 75},
      {"just above the QYX limit", "76", {0, 75}, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseRefField(c.text, c.limit).value_or(-1), c.expected) << c.fault;
}

TEST(RefLinePageFieldTest, ANumberTooLargeStillAllowsValidationToSayItsRange) {
  constexpr int kLargest = std::numeric_limits<int>::max();
  const struct {
    const char* fault;
    const char* text;
    int expected;
  } cases[] = {
      {"a plain number", "48", 48},
      {"blanks around", " 48 ", 48},
      {"nothing typed", "", 0},
      {"zero is no length", "000", 0},
      {"above the field's limit, read as typed", "10000", 10000},
      {"too many digits for 32 bits, still positive", "99999999999", kLargest},
      {"zeros before a large number", "0099999999999", kLargest},
      {"letters are no number", "4a8", 0},
      {"a sign is no digit", "-5", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(RefTypedAmount(c.text), c.expected) << c.fault;
}

TEST(RefLinePageFieldTest, LimitsFollowTheProductAndMode) {
  CRefLine line = MakeRefLine(kRefProductQYX, 25);
  EXPECT_EQ(RefLengthLimit(line).max, 75);
  line.components[36] = 150;  // a fraction of a metre leaves one metre less
  EXPECT_EQ(RefLengthLimit(line).max, 74);
  EXPECT_EQ(RefLengthLimit(MakeRefLine(3, 63)).max, 9999);
  CRefLine qfp = MakeRefLine(0, 25);
  qfp.lineMode = 10;
  EXPECT_EQ(RefCountLimit(qfp).max, 500);
  qfp.lineMode = 1;
  EXPECT_EQ(RefCountLimit(qfp).max, 9999);
}

TEST(RefLinePageFieldTest, ValidationNeedsALengthAndForLightingACount) {
  struct Case {
    const char* fault;
    int group, kind, length, count;
    bool expected;
  } cases[] = {
      {"no length", 2, 3, 0, 0, false},
      {"a length is enough for distribution", 2, 3, 10, 0, true},
      {"QYA lighting without count", 3, 1, 10, 0, true},
      {"QYX lighting without count", 3, 6, 10, 0, false},
      {"QYX lighting with count", 3, 6, 10, 4, true},
  };
  for (const Case& c : cases) {
    CRefLine line = MakeRefLine(c.kind, 25);
    line.group = c.group;
    EXPECT_EQ(RefLineCanValidate(line, c.length, c.count, true), c.expected) << c.fault;
  }
}

class RefLinePageComboTest : public ::testing::Test {
 protected:
  CEnglishTexts texts;
  CRefEditFixture fixture{3, 63};
};

TEST_F(RefLinePageComboTest, ANamedLineWhoseRatingIsGoneFailsTheFill) {
  CRefProductOptions& options = fixture.config.Product(3);
  options.ratings = {40, 63, 100, 0, 0, 0, 0, 0, 0, 0};
  options.optionSlots[8] = 100;
  fixture.line.name.clear();
  CRefComboFill fill = RefRatingEntries(fixture.context);
  ASSERT_EQ(fill.entries.size(), 3u);
  EXPECT_EQ(fill.entries[1].text, "63 A");
  EXPECT_EQ(fill.selected, 0);  // a new line takes the first rating
  fixture.line.name = "named";
  fill = RefRatingEntries(fixture.context);
  EXPECT_EQ(fill.selected, 1);
  EXPECT_FALSE(fill.failed);
  options.optionSlots[8] = 40;  // CALMAX now leaves 63 A out
  fill = RefRatingEntries(fixture.context);
  ASSERT_EQ(fill.entries.size(), 2u);
  EXPECT_EQ(fill.entries.back().text, "???");
  EXPECT_EQ(fill.selected, 1);
  EXPECT_TRUE(fill.failed);
}

TEST_F(RefLinePageComboTest, ConnectionsListTheOfferedSlots) {
  CRefProductOptions& options = fixture.config.Product(3);
  options.optionSlots = {1, 0, 3, 0, 0, 0, 0, 0, 100};
  fixture.line.name = "named";
  fixture.line.connection = 2;
  const CRefComboFill fill = RefConnectionEntries(fixture.context);
  ASSERT_EQ(fill.entries.size(), 2u);
  EXPECT_EQ(fill.entries[0].data, 0);
  EXPECT_EQ(fill.entries[1].data, 2);
  EXPECT_EQ(fill.selected, 1);
}

TEST(RefLinePageEditTest, FamilyChoicesTakeTheGreatestStateThenTheLinesCounts) {
  CRefEditFixture fixture(3, 63);
  std::array<int, 56>& states = fixture.config.Product(3).states;
  states[3] = 1, states[4] = 4, states[5] = 4;  // 5 is no greater than 4: 4 stays
  states[9] = 2, states[10] = 6;
  BeginRefLineEdit(fixture.context, true);
  EXPECT_EQ(fixture.context.choices[kFamilyStraight], 4);
  EXPECT_EQ(fixture.context.choices[kFamilyFixing], 10);
  EXPECT_EQ(fixture.line.fixingSpacing, 200);  // QDA hung from fixing 10 is capped
  fixture.line.components[5] = 12;             // an existing line's count outweighs the states
  BeginRefLineEdit(fixture.context, false);
  EXPECT_EQ(fixture.context.choices[kFamilyStraight], 5);
}

TEST(RefLinePageEditTest, ValidationStoresTheHeaderAndDropsFeedsAboveTheirRating) {
  CRefEditFixture fixture(4, 400);
  BeginRefLineEdit(fixture.context, true);
  fixture.context.choices[kFamilyFeed] = 30;
  CRefLinePageInput input;
  input.rating = 630, input.conductors = 1, input.connection = 0, input.length = 20;
  ApplyRefLinePage(fixture.context, input);
  EXPECT_EQ(fixture.line.rating, 630);
  EXPECT_EQ(fixture.line.length, 20);
  EXPECT_EQ(fixture.context.choices[kFamilyFeed], 0);
  EXPECT_GT(fixture.context.Edit(kEditStraightCount), 0);  // the counts were computed
}

// The sample's option lists loaded against a catalogue that has, or lacks, tap-off boxes
// for the lighting lines.
class RefBoxKindTest : public ::testing::Test {
 protected:
  void TearDown() override { COptionListFiles::ResetRun(CRefConfig::kListName); }
  CRefConfig Load(bool tapOffBoxes) {
    COptionListFiles::ResetRun(CRefConfig::kListName);
    folder.WriteFile("TVR.INI", "[Design]\nCopper=1\n");
    std::string catalogue = SampleRefSetup().catalogueFolder;
    if (tapOffBoxes) {
      catalogue = folder.Folder();
      std::filesystem::remove(folder.File("REF_COFF.DBF"));
      tvr::platform::CDbfTable table;
      EXPECT_TRUE(table.Create(folder.File("REF_COFF.DBF"), {{"PROD", 'C', 4},
                                                             {"PARAM", 'C', 10},
                                                             {"POS", 'C', 4},
                                                             {"FCT", 'C', 3},
                                                             {"CAL", 'C', 12},
                                                             {"IP2", 'C', 6}}));
      EXPECT_TRUE(table.Append());
      const std::array<const char*, 4> row = {"QYL", "R", "2-1", "12"};
      for (std::size_t field = 0; field < row.size(); ++field)
        table.Assign(static_cast<int>(field), row[field]);
      EXPECT_TRUE(table.Close());
    }
    const CRefConfigSetup setup{
        folder.Folder(), std::string(TVR_SOURCE_DIR) + "/data/catalogue/ref_conf.cfg", catalogue};
    const CProfile profile(folder.File("TVR.INI"));
    CRefConfig config;
    config.ReadSettings(profile, setup);
    config.LoadRefConfig(profile, setup);
    return config;
  }
  CTempFolder folder{"ref-box-kind"};
};

TEST_F(RefBoxKindTest, ANewLightingLineStartsOnTheTapOffBoxesOnlyWhereTheCatalogueHasThem) {
  struct Case {
    const char* what;
    bool tapOffBoxes;
    int kind, lineMode, count;
    const char* name;
    bool offered;
    int entry;
  };
  const std::vector<Case> cases = {
      {"new QYA line, no boxes", false, 1, 1, 0, "", false, 1},
      {"new QYA line", true, 1, 1, 0, "", true, 0},
      {"new QYB line", true, 2, 1, 0, "", true, 0},
      {"new QDA line", true, 3, 1, 0, "", false, 1},
      {"saved luminaire line without count", true, 1, 1, 0, "Hall", true, 1},
      {"saved tap-off box line", true, 1, 3, 4, "Hall", true, 0},
      {"tap-off box line, no boxes", false, 1, 3, 4, "Hall", false, 0},
      {"new line with a count", true, 1, 1, 5, "", true, 1},
  };
  for (const Case& c : cases) {
    const CRefConfig config = Load(c.tapOffBoxes);
    CRefLine line = MakeRefLine(c.kind, 25);
    line.lineMode = c.lineMode;
    line.count = c.count;
    line.name = c.name;
    EXPECT_EQ(RefBoxKindOffered(line, config), c.offered) << c.what;
    EXPECT_EQ(RefBoxKindEntry(line, config), c.entry) << c.what;
  }
}

// Validation takes the box kind shown: to the tap-off boxes and back, each time with slots
// that counted the other table's positions emptied.
TEST(RefLinePageEditTest, TheBoxKindChosenSetsTheLineModeAndEmptiesTheSlots) {
  CRefEditFixture fixture(1, 25);
  BeginRefLineEdit(fixture.context, true);
  CRefLinePageInput input;
  input.rating = 25, input.conductors = 1, input.connection = 0, input.length = 20;
  input.count = 6;
  input.tapOffBoxes = true;
  fixture.line.slots[0] = 4;
  ApplyRefLinePage(fixture.context, input);
  EXPECT_EQ(fixture.line.lineMode, 3);
  fixture.line.slots[10] = 2;
  ApplyRefLinePage(fixture.context, input);  // already there: the units stay
  EXPECT_EQ(fixture.line.slots[10], 2);
  input.tapOffBoxes = false, input.luminaireBoxes = true;
  ApplyRefLinePage(fixture.context, input);
  EXPECT_NE(fixture.line.lineMode, 3);
  EXPECT_EQ(fixture.line.slots[10], 0);
}

}  // namespace
