#include "model/document/check_message_table.h"
#include "model/builder/length_correction.h"
#include "model/builder/part_builder.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/case_table.h"

namespace {

TEST(ParseNumberListTest, GivesFirstAndLast) {
  // The last row: a number beyond 32 bits is absent, not wrapped.
  const struct {
    const char* text;
    std::int32_t first, last;
  } rows[] = {{"500-1900", 500, 1900}, {"750", 750, 750},         {"", -1, -1},
              {"-", -1, -1},           {"-500", -1, 500},         {"99999999-", 99999999, 99999999},
              {"abc", -1, -1},         {"100-200-300", 100, 300}, {"1-99999999999", 1, -1}};
  for (const auto& row : rows) {
    std::int32_t first = 0, last = 0;
    ParseNumberList(row.text, first, last);
    EXPECT_EQ(first, row.first) << row.text;
    EXPECT_EQ(last, row.last) << row.text;
  }
}

TEST(PartDefTest, AbsentNumberCountsAsZeroInTotals) {
  CPartDef def;
  ParseNumberList("750", def.first1, def.last1);
  ParseNumberList("", def.first2, def.last2);
  EXPECT_EQ(def.MinTotal(), 750);  // not 749
  EXPECT_TRUE(def.IsFixed());
}

TEST(FormatPartCoordsTest, Rewrites) {
  for (const CCaseRow& row : ReadCaseTable("model/format_part_coords.tsv", 4)) {
    SCOPED_TRACE(row.where);
    std::string text = row[0];
    FormatPartCoords(text, static_cast<int>(row.Int(1)), row[2].at(0));
    EXPECT_EQ(text, row[3]);
  }
}

CDev* Fake(int n) { return reinterpret_cast<CDev*>(static_cast<std::uintptr_t>(0x1000 * n)); }

void Record(CCheckMessageTable& table, CDev* element, int state) {
  const int admitted = table.Admit(element, state);
  if (admitted < 0) return;
  CCheckMessage message;
  message.element = element;
  table.Store(admitted, state, message);
}

TEST(CheckMessageTableTest, ElevenNoticesKeepTen) {
  CCheckMessageTable table;
  for (int i = 1; i <= 11; ++i) Record(table, Fake(i), 3);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(table.At(i).element, Fake(i + 1));
  EXPECT_EQ(table.Admit(Fake(12), 3), -1);
}

TEST(CheckMessageTableTest, RepeatedNoticeKeepsOneRecord) {
  CCheckMessageTable table;
  Record(table, Fake(1), 2);
  table.Advance();
  Record(table, Fake(1), 2);
  table.Advance();
  EXPECT_EQ(table.GetIndex(), 1);
  EXPECT_EQ(table.At(1).state, CCheckMessage::kEmpty);
}

TEST(CheckMessageTableTest, LowerStateWinsTheRecord) {
  CCheckMessageTable table;
  Record(table, Fake(1), 12);
  Record(table, Fake(2), 16);
  EXPECT_EQ(table.At(0).state, 12);
  table.Reset(true);
  Record(table, Fake(1), 16);
  Record(table, Fake(2), 12);
  EXPECT_EQ(table.At(0).state, 12);
  EXPECT_TRUE(table.HasErrors());
  table.Reset(false);  // a pending check is settled
  EXPECT_FALSE(table.HasErrors());
}

TEST(CheckMessageTableTest, NoElementNothingRecorded) {
  CCheckMessageTable table;
  EXPECT_EQ(table.Admit(nullptr, 0), -1);
  EXPECT_EQ(table.Admit(Fake(1), 17), -1);  // 17 only completes a pending 13
}

TEST(CorrectedDrawnLengthTest, Scales) {
  const struct {
    std::int32_t l1, l2, amount, expected;
    const char* why;
  } rows[] = {{1000, 1000, 200, 1200, "equal lengths"},
              {1000, 1020, 200, 1200, "exactly 2 %"},
              {1000, 1021, 200, 1225, "2.1 % keeps the scale"},
              {0, 500, 300, 300, "no division by a zero length"},
              {2000000000, 1000000000, 100000000, 1050000000, "64-bit intermediate"}};
  for (const auto& row : rows)
    EXPECT_EQ(CorrectedDrawnLength(row.l1, row.l2, row.amount), row.expected) << row.why;
}

}  // namespace
