#include "ranges/range_table_reader.h"

#include "ranges/range_context.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

struct LabelCase {
  const char* label;
  const char* expected;
};

TEST(ExpandOptionLabelTest, NumbersStartAtADigitAndTakeAtMostFiveDigits) {
  auto lookup = [](int number) { return "<" + std::to_string(number) + ">"; };
  const LabelCase cases[] = {
      {"09140 A", "<9140> A"},
      {"1234567", "<12345><67>"},  // five digits at most
      {"00000 x", "00000 x"},      // 0 is no message
      {"-12", "-<12>"},            // a sign is text
      {"Ref 7", "Ref <7>"},
      {"IP", "IP"},
      {"", ""},
      {"9", "<9>"},  // ends with the text
  };
  for (const LabelCase& c : cases)
    EXPECT_EQ(ExpandOptionLabel(c.label, lookup), c.expected) << c.label;
}

TEST(SelectCandidateTest, LastWhenAskedElseFirst) {
  const int cases[][3] = {{3, 1, 2}, {3, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  for (const auto& c : cases) EXPECT_EQ(SelectCandidate(c[0], c[1] != 0), c[2]);
}

TEST(RangeTableReaderTest, MalformedRowsReadWithoutHarm) {
  CTempFolder folder("ranges");
  {
    tvr::platform::CDbfTable table;
    ASSERT_TRUE(table.Create(folder.File("QD_HOUSI.dbf"), {{"RUN", 'C', 4, 0},
                                                           {"CALIBRE", 'C', 4, 0},
                                                           {"WIDTH", 'C', 6, 0},
                                                           {"JUNCTIONLE", 'C', 12, 0}}));
    const char* rows[][4] = {
        {"QD?", "", "abc", "/5"}, {"QDA", "04", "60", "99999/99999"}, {"QDB", "06", "1", "1"}};
    for (const auto& row : rows) {
      ASSERT_TRUE(table.Append());
      for (int f = 0; f < 4; ++f) table.Assign(f, row[f]);
    }
  }
  CRangeContext context;
  context.SetCatalogueFolder(folder.Folder());
  const std::vector<CReferenceRow> rows =
      CRangeTableReader("QDA", context)
          .ReadHousings(CRangeTableReader::RunQuery("QD", "QDA"), true);
  ASSERT_EQ(rows.size(), 2u);  // the QDB row is not selected
  EXPECT_EQ(rows[0].code, "");
  EXPECT_EQ(rows[0].values[0], 0);           // not a number
  EXPECT_EQ(rows[0].values[4], 0);           // no number before the '/'
  EXPECT_EQ(rows[1].values[4], 2147483647);  // held at the int range
  EXPECT_EQ(rows[1].values[1], 0);           // a field the table lacks
}

TEST(RangeTableReaderTest, TheRatingValueTableKeepsThirtyRowsAndItsEnd) {
  CTempFolder folder("ranges");
  {
    tvr::platform::CDbfTable table;
    ASSERT_TRUE(table.Create(folder.File("QM_CALIB.dbf"),
                             {{"RUN", 'C', 4, 0}, {"ID", 'C', 4, 0}, {"LIB", 'C', 8, 0}}));
    for (int row = 0; row < 40; ++row) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, "C?");
      table.Assign(1, std::to_string(10 + row));
      table.Assign(2, "0." + std::to_string(row));
    }
  }
  CRangeContext context;
  context.SetCatalogueFolder(folder.Folder());
  std::vector<CTemperatureEntry> values;
  CRangeTableReader("QMA", context)
      .ReadRatings("RUN = 'QM?'", "RUN = 'C?' .OR. RUN = 'CA'", &values);
  ASSERT_EQ(values.size(), 31u);
  EXPECT_EQ(values[29].temperature, 39.0);
  EXPECT_EQ(values[29].value, 0.29);
  EXPECT_EQ(values[30].value, 0.0);
}

}  // namespace

namespace {

// Device-housing rows as the reader gives them, patterns padded with blanks to 22, searched
// from the last row: a pattern that closes with '*' takes what it stands for, whether its
// padding stands after the '*' or before it (a padded reference's own blanks count as
// the characters the '*' takes).
TEST(FindDevHousingTest, PaddedPatternsEndingInAStarMatch) {
  const auto padded = [](std::string text) {
    text.resize(22, ' ');
    return text;
  };
  std::vector<CHousingRow> rows(5);
  rows[0].reference = padded("QG*");
  rows[1].reference = padded("QG?##TP4?1*");
  rows[2].reference = "QGA25                *";
  rows[3].reference = padded("QGB0130CF13???????????");
  rows[4].reference = padded("QGA10ER41");
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].values[0] = static_cast<int>(i) + 1;
  const struct {
    const char* reference;
    int row;  // values[0] of the row found; 0 none
  } cases[] = {
      {"QGA10ER41", 5}, {"QGA10TP411", 2},  {"QGC12TP421X", 2},
      {"QGA25ER41", 3}, {"QGB0130CF13", 4}, {"QGA10ED430", 1},
      {"QD", 0},        {"QG", 1},          {"QGA25", 3},
  };
  for (const auto& c : cases) {
    const CHousingRow* found = FindDevHousing(rows, padded(c.reference));
    EXPECT_EQ(found != nullptr ? found->values[0] : 0, c.row) << c.reference;
  }
}

}  // namespace
