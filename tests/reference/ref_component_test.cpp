#include <gtest/gtest.h>

#include "ref_test_support.h"

namespace {

struct ResolveCase {
  const char* name;
  int kind, rating, conductors, connection, group;
  const char* nameRow[5];  // NOM, PROD, CAL, POL, REF of the one LIN_REF row
  const char* expected;    // "" when the name stays unresolved
};

void PrintTo(const ResolveCase& c, std::ostream* os) { *os << c.name; }

const ResolveCase kCases[] = {
    {"QPA takes its letter, conductors and whole rating",
     4,
     160,
     1,
     0,
     1,
     {"T1", "QP?", "", "", "QP???ED?30"},
     "QPA160ED430"},
    {"QPA at 630 A takes the 630 A size",
     4,
     630,
     1,
     0,
     1,
     {"T1", "QP?", "", "", "QP??_ED?30"},
     "QPA630ED430"},
    {"QPA at 800 A takes the 1000 A size",
     4,
     800,
     1,
     0,
     1,
     {"T1", "QP?", "", "", "QP??_ED?30"},
     "QPA1000ED430"},
    {"QPC at 630 A takes the 800 A size",
     8,
     630,
     1,
     0,
     1,
     {"T1", "QP?", "", "", "QP??_ED?30"},
     "QPC800ED430"},
    {"Qpc writes its size on two characters",
     5,
     400,
     1,
     0,
     1,
     {"T1", "Qp?", "", "", "QP??_ED?30"},
     "QPC50ED430"},
    {"Qpc rows are filed under their own letters",
     5,
     400,
     1,
     0,
     1,
     {"T1", "QP?", "", "", "QP??_ED?30"},
     ""},
    {"QDA at 40 A shares the 63 A parts",
     3,
     40,
     1,
     0,
     1,
     {"T1", "QD?", "", "", "QD??_ED?30"},
     "QDA63ED430"},
    {"a two-tier QD connection takes T",
     3,
     63,
     1,
     2,
     1,
     {"T1", "QD?", "", "", "QD???ED?30"},
     "QDT63ED430"},
    {"luminaire lines fill both conductor places",
     1,
     25,
     0,
     2,
     0,
     {"T1", "QY?", "", "", "QY??_AB??t"},
     "QYA40AB20T"},
    {"end markers come back in their order",
     2,
     25,
     4,
     7,
     0,
     {"T1", "QY?", "", "", "QY??_AB??twx"},
     "QYB40AB44WX"},
    {"QFP turns a trailing x into X for connection 7",
     0,
     0,
     1,
     7,
     0,
     {"T1", "QF?", "", "", "QFP12x"},
     "QFP12X"},
    {"a rating list matches whole ratings only",
     4,
     100,
     1,
     0,
     1,
     {"T1", "QP?", "1000", "", "QPB0250SD"},
     ""},
    {"a rating in the list",
     4,
     160,
     1,
     0,
     1,
     {"T1", "QP?", "100 160", "", "QPB0100SE"},
     "QPB0100SE"},
    {"a conductor list matches whole words",
     3,
     63,
     1,
     0,
     1,
     {"T1", "QD?", "", "3LNPER", "QDB1"},
     ""},
    {"a connection test holds", 1, 25, 1, 1, 0, {"T1", "QY?", "", "2+0 3LNPE(w)", "QYB1"}, "QYB1"},
    {"a connection test fails", 1, 25, 1, 0, 0, {"T1", "QY?", "", "3LNPE(w)", "QYB1"}, ""},
    {"a negated connection test", 1, 25, 1, 0, 0, {"T1", "QY?", "", "3LNPE(!w)", "QYB1"}, "QYB1"},
    {"other products ignore connection tests",
     3,
     63,
     1,
     0,
     1,
     {"T1", "QD?", "", "3LNPE(w)", "QDB1"},
     "QDB1"},
    {"group 3 names four conductors 4+0", 1, 25, 1, 0, 3, {"T1", "QY?", "", "4+0", "QYB1"}, "QYB1"},
    {"QYX takes no range-wide row", 6, 25, 1, 0, 0, {"T1", "QY?", "", "", "QYB1"}, ""},
    {"QYX takes its own row", 6, 25, 1, 0, 0, {"T1", "QYX", "", "", "QYB1"}, "QYB1"},
    {"another name is not taken", 3, 63, 1, 0, 1, {"T12", "QD?", "", "", "QDB1"}, ""},
};

class RefComponentTest : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(RefComponentTest, NamesBecomeTheLinesReferences) {
  const ResolveCase& c = GetParam();
  CRefFormFolder folder({},
                        {{c.nameRow[0], c.nameRow[1], c.nameRow[2], c.nameRow[3], c.nameRow[4]}});
  CRefPriceSettings settings;
  CRefCatalogue catalogue;
  ASSERT_TRUE(catalogue.OpenRefCatalogue(folder.Setup(), settings));
  CRefLine line = MakeRefLine(c.kind, c.rating, c.conductors);
  line.connection = c.connection;
  line.group = c.group;
  std::string name = " T1 ";
  const bool resolved = catalogue.ResolveComponentReference(line, name);
  EXPECT_EQ(resolved ? name : std::string(), c.expected) << c.name;
  if (!resolved) {
    EXPECT_EQ(name, " T1 ");  // an unresolved name stays as it was
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RefComponentTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
