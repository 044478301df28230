#include "model/check_message_table.h"
#include "model/length_correction.h"
#include "model/part_builder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct NumberListCase {
  const char* text;
  std::int32_t first;
  std::int32_t last;
};

class ParseNumberListTest : public ::testing::TestWithParam<NumberListCase> {};

TEST_P(ParseNumberListTest, GivesFirstAndLast) {
  std::int32_t first = 0, last = 0;
  ParseNumberList(GetParam().text, first, last);
  EXPECT_EQ(first, GetParam().first);
  EXPECT_EQ(last, GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseNumberListTest,
                         ::testing::Values(NumberListCase{"500-1900", 500, 1900},
                                           NumberListCase{"750", 750, 750},
                                           NumberListCase{"", -1, -1}, NumberListCase{"-", -1, -1},
                                           NumberListCase{"-500", -1, 500},
                                           NumberListCase{"99999999-", 99999999, 99999999},
                                           NumberListCase{"abc", -1, -1},
                                           NumberListCase{"100-200-300", 100, 300},
                                           // a number beyond 32 bits is absent, not wrapped
                                           NumberListCase{"1-99999999999", 1, -1}));

TEST(PartDefTest, AbsentNumberCountsAsZeroInTotals) {
  CPartDef def;
  ParseNumberList("750", def.first1, def.last1);
  ParseNumberList("", def.first2, def.last2);
  EXPECT_EQ(def.MinTotal(), 750);  // not 749
  EXPECT_TRUE(def.IsFixed());
}

struct CoordsCase {
  const char* in;
  int join;
  char mode;
  const char* out;
};

class FormatPartCoordsTest : public ::testing::TestWithParam<CoordsCase> {};

TEST_P(FormatPartCoordsTest, Rewrites) {
  std::string text = GetParam().in;
  FormatPartCoords(text, GetParam().join, GetParam().mode);
  EXPECT_EQ(text, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatPartCoordsTest,
                         ::testing::Values(CoordsCase{"REF y=1", 0, ' ', "REF y=1"},
                                           CoordsCase{"x=500", 0, ' ', "l=500"},
                                           CoordsCase{"x=500", 0, 'R', "x=500"},
                                           CoordsCase{"x=500,y=300", 0, ' ', "l=500,y=300"},
                                           CoordsCase{"x=500,300,250", 0, ' ', "a=500,b=300,c=250"},
                                           CoordsCase{"x=500,300,250", 0, 'R', "x=500,y=250,z=300"},
                                           CoordsCase{"x=10,20,30", 0, 'R', "x=10,y=30,z=20"},
                                           CoordsCase{"x=500,300", 1, ' ', "a=300,b=500"},
                                           CoordsCase{"x=500,300,k=2", 1, ' ', "a=300,b=500,k=2"},
                                           CoordsCase{"x=1,2,3,4,5", 0, ' ', "a=1,b=2,c=3,d=4,5"},
                                           // keys stop after "z": a fourth value is never keyed "{"
                                           CoordsCase{"x=1,2,3,4", 0, 'R', "x=1,y=2,z=3,4"}));

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

struct CorrectionCase {
  std::int32_t l1, l2, amount, expected;
  const char* why;
};

class CorrectedDrawnLengthTest : public ::testing::TestWithParam<CorrectionCase> {};

TEST_P(CorrectedDrawnLengthTest, Scales) {
  const CorrectionCase& c = GetParam();
  EXPECT_EQ(CorrectedDrawnLength(c.l1, c.l2, c.amount), c.expected) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CorrectedDrawnLengthTest,
    ::testing::Values(CorrectionCase{1000, 1000, 200, 1200, "equal lengths"},
                      CorrectionCase{1000, 1020, 200, 1200, "exactly 2 %"},
                      CorrectionCase{1000, 1021, 200, 1225, "2.1 % keeps the scale"},
                      CorrectionCase{0, 500, 300, 300, "no division by a zero length"},
                      CorrectionCase{2000000000, 1000000000, 100000000, 1050000000,
                                     "64-bit intermediate"}));

}  // namespace
