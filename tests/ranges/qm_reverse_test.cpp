#include "qm_test_support.h"

namespace {

// The end options stayed on the elements that carried them, which after the reversal end
// the other straight: the piece ordered with the option changed.
TEST_F(QMRunTest, ReversingMovesTheEndOptionsToTheOtherEndOfTheirStraight) {
  struct Row {
    const char* name;
    const char* neutral;
    // The options after the reversal, element by element in the order laid: ED31, EH44.
    std::vector<std::pair<bool, bool>> after;
  };
  const Row rows[] = {
      {"both options move", "6", {{true, false}, {false, true}, {false, false}}},
      // EH44 is an option of QMA 25 with neutral 6 to 8 only: read as unset, it stays.
      {"EH44 read as unset stays", "4", {{true, false}, {false, false}, {false, true}}},
  };
  for (const Row& row : rows) {
    CRunQM& run = LayOut(std::string("run QMA 25\nprop Neutral ") + row.neutral +
                         "\nstart 0\ngo 4 2000\nfield ED31 1\ngo 5 4000\nfield EH44 1\nend 1\n");
    ASSERT_EQ(m_laid.size(), 3u) << row.name;
    const std::vector<CDev*> laid = m_laid;
    run.Reverse();
    ASSERT_EQ(run.GetFirstElement(), laid[2]) << row.name;
    for (std::size_t i = 0; i < laid.size(); ++i) {
      EXPECT_EQ(laid[i]->GetPropValue("ED31") == "1", row.after[i].first)
          << row.name << ": ED31 on element " << i;
      EXPECT_EQ(laid[i]->GetPropValue("EH44") == "1", row.after[i].second)
          << row.name << ": EH44 on element " << i;
    }
  }
}

}  // namespace
