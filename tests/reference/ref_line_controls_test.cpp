#include "reference/ref_line_controls.h"

#include <gtest/gtest.h>

#include "linear_test_support.h"
#include "ref_line_edit_support.h"

namespace {

constexpr int kSpreadSlot = 96;

CRefLine LineOf(int group, int kind, int conductors, int lineMode = 1) {
  CRefLine line = MakeRefLine(kind, 25);
  line.group = group;
  line.conductors = conductors;
  line.lineMode = lineMode;
  return line;
}

TEST(RefLineControlsTest, TheConnectionFlagNeedsGroupThreeConductorsAndTheSpreadSlot) {
  CRefConfig config = DefaultRefConfig();
  for (int k = 0; k < kRefProductCount; ++k) config.Connection(k)[1] = kSpreadSlot | (54 << 16);
  struct Case {
    const char* fault;
    CRefLine line;
    bool expected;
  } cases[] = {
      {"QYA with four conductors", LineOf(3, 1, 1), true},
      {"QYA with 4+2 conductors", LineOf(3, 1, 3), true},
      {"two conductors have one circuit", LineOf(3, 1, 0), false},
      {"2+2 conductors have one circuit", LineOf(3, 1, 2), false},
      {"a distribution line has no luminaires", LineOf(2, 3, 1), false},
      {"QFP below the luminaire modes", LineOf(3, 0, 1, 1), false},
      {"QFP in a luminaire mode", LineOf(3, 0, 1, 10), true},
  };
  for (const Case& c : cases) EXPECT_EQ(RefConnectionFlag(c.line, config), c.expected) << c.fault;
  config.Connection(1)[1] = 95 | (kSpreadSlot << 16);  // 96 in the protection half only
  EXPECT_FALSE(RefConnectionFlag(LineOf(3, 1, 1), config));
}

TEST(RefLineControlsTest, TheOptionButtonsFollowProductModeAndFlags) {
  std::vector<int> oneMode(56, 0), twoModes(56, 0);
  oneMode[45] = 1;
  twoModes[45] = twoModes[46] = 1;
  struct Case {
    const char* fault;
    CRefLine line;
    const std::vector<int>& table;
    bool connectionFlag;
    bool luminaireMode, spacing, extraCode, itemTabs;
  } cases[] = {
      {"a distribution line has the spacing only", LineOf(2, 3, 1), twoModes, false, false, true,
       false, false},
      {"QYA with one mode has no mode choice", LineOf(3, 1, 1), oneMode, false, false, true, false,
       false},
      {"QYA with two modes chooses its mode", LineOf(3, 1, 1), twoModes, false, true, true, false,
       false},
      {"the flag shows the extra code", LineOf(3, 1, 1), oneMode, true, false, true, true, false},
      {"QFP has no spacing of its own", LineOf(3, 0, 1, 1), oneMode, false, true, false, false,
       false},
      {"QFP in mode 10 lays out its sections", LineOf(3, 0, 1, 10), twoModes, false, false, false,
       false, true},
      {"QFP in mode 10 with one mode", LineOf(3, 0, 1, 10), oneMode, false, false, false, false,
       true},
  };
  for (const Case& c : cases) {
    const CRefLineControls controls = RefLineControlsFor(c.line, c.table, c.connectionFlag);
    EXPECT_EQ(controls.luminaireMode, c.luminaireMode) << c.fault;
    EXPECT_EQ(controls.spacing, c.spacing) << c.fault;
    EXPECT_EQ(controls.extraCode, c.extraCode) << c.fault;
    EXPECT_EQ(controls.itemTabs, c.itemTabs) << c.fault;
  }
}

TEST(RefLineControlsTest, TheTapOffCountShowsForConnectionSixOfQpaAndQpc) {
  const std::vector<int> table(56, 0);
  struct Case {
    int kind, connection;
    bool expected;
  } cases[] = {{4, 6, true}, {8, 6, true}, {4, 5, false}, {3, 6, false}, {7, 6, false}};
  for (const Case& c : cases) {
    CRefLine line = LineOf(2, c.kind, 1);
    line.connection = c.connection;
    EXPECT_EQ(RefLineControlsFor(line, table, false).connectionCount, c.expected)
        << c.kind << " " << c.connection;
  }
  EXPECT_EQ(RefConnectionCountLimit(30).min, 1);
  EXPECT_EQ(RefConnectionCountLimit(30).max, 30);
  EXPECT_EQ(RefConnectionCountLimit(0).max, 1);  // never an empty range
}

TEST(RefLineControlsTest, AConductorChangeWithoutTheFlagClearsTheExtraCode) {
  CRefEditFixture fixture{1, 25};
  fixture.line.group = 3;
  fixture.config.Connection(1)[1] = kSpreadSlot;
  fixture.line.extraCode = 1;
  EXPECT_FALSE(RefHeaderChoiceChanged(fixture.context, 40, 1));  // QYA keeps its connections
  EXPECT_TRUE(fixture.context.connectionFlag);
  EXPECT_EQ(fixture.line.extraCode, 1);
  EXPECT_EQ(fixture.line.rating, 40);
  RefHeaderChoiceChanged(fixture.context, -1, 0);
  EXPECT_FALSE(fixture.context.connectionFlag);
  EXPECT_EQ(fixture.line.extraCode, 0);
  EXPECT_EQ(fixture.line.rating, 40);  // -1 leaves the rating
  CRefEditFixture qyb{2, 25};
  qyb.line.group = 3;
  EXPECT_TRUE(RefHeaderChoiceChanged(qyb.context, -1, 1));  // QYB fills its connections again
}

TEST(RefLineControlsTest, FamiliesLongerThanTheLineAreCaught) {
  struct Case {
    const char* fault;
    int kind, length, straight, complement;
    bool expected;
  } cases[] = {
      {"ten 3 m elements on 30 m", 3, 30, 10, 0, false},
      {"eleven 3 m elements on 30 m", 3, 30, 11, 0, true},
      {"3 elements and 2 complements on 10 m fill 13 m", 3, 10, 3, 2, true},
      {"2 elements and 2 complements on 10 m", 3, 10, 2, 2, false},
      {"QFP counts metres", 0, 12, 12, 0, false},
      {"QFP one metre over", 0, 12, 13, 0, true},
      {"negative counts count nothing", 3, 10, -5, -5, false},
  };
  for (const Case& c : cases) {
    CRefEditFixture fixture{c.kind, 25};
    fixture.line.length = c.length;
    fixture.context.choices[kFamilyStraight] = 3;
    fixture.context.choices[kFamilyComplement] = 6;
    EXPECT_EQ(RefFamiliesExceedLength(fixture.context, c.straight, c.complement), c.expected)
        << c.fault;
  }
}

TEST(RefLineControlsTest, QyxElementsAreMeasuredInCentimetres) {
  CRefEditFixture fixture{kRefProductQYX, 25};
  fixture.line.length = 7;
  fixture.line.components[36] = 170;                             // 7.70 m
  EXPECT_FALSE(RefFamiliesExceedLength(fixture.context, 2, 1));  // 612 + 153 = 765 cm
  EXPECT_TRUE(RefFamiliesExceedLength(fixture.context, 2, 2));   // 918 cm
}

TEST(RefLineControlsTest, TheConnectionLabelFollowsProductAndMode) {
  struct Case {
    const char* fault;
    int kind, specialMode, state39;
    int expected;
  } cases[] = {
      {"distribution connections", 3, 0, 0, 32001},
      {"QPA counts tap-off outlets", 4, 0, 0, 32411},
      {"QPC with outlet joints", 8, 0, 2, 32411},
      {"QPC without them", 8, 0, 0, 32001},
      {"lighting circuits in special mode 2", 1, 2, 0, 31124},
      {"lighting connections otherwise", 2, 0, 0, 32001},
  };
  for (const Case& c : cases) {
    CRefEditFixture fixture{c.kind, 400, c.specialMode};
    fixture.config.Product(c.kind).states[39] = c.state39;
    EXPECT_EQ(RefConnectionLabelMessage(fixture.context), c.expected) << c.fault;
  }
}

TEST(RefLineControlsTest, ANewConnectionEmptiesALuminaireLineInSpecialModeThree) {
  struct Case {
    const char* fault;
    int specialMode, kind, lineMode, connection;
    bool emptied;
  } cases[] = {
      {"QFP in mode 10, special mode 3", 3, 0, 10, 7, true},
      {"the same connection changes nothing", 3, 0, 10, 0, false},
      {"QFP below the luminaire modes keeps them", 3, 0, 1, 7, false},
      {"other special modes keep them", 0, 0, 10, 7, false},
      {"other products keep them", 3, 1, 10, 7, false},
  };
  for (const Case& c : cases) {
    CRefEditFixture fixture{c.kind, 20, c.specialMode};
    fixture.line.lineMode = c.lineMode;
    fixture.line.slots[3] = 5;
    fixture.line.sections.resize(2);
    EXPECT_EQ(RefConnectionChosen(fixture.context, c.connection), c.emptied) << c.fault;
    EXPECT_EQ(fixture.line.connection, c.connection) << c.fault;
    EXPECT_EQ(fixture.line.slots[3], c.emptied ? 0 : 5) << c.fault;
    EXPECT_EQ(fixture.line.sections.size(), c.emptied ? 0u : 2u) << c.fault;
  }
}

TEST(RefLineControlsTest, UnitsHeldOnConnectionSevenAreAskedAbout) {
  struct Case {
    const char* fault;
    int kind, connection, specialMode, slotUnits, component24;
    bool expected;
  } cases[] = {
      {"units on the chosen connections", 1, 7, 0, 3, 0, true},
      {"no units yet", 1, 7, 0, 0, 0, false},
      {"another connection", 1, 5, 0, 3, 0, false},
      {"a QFP line counting luminaire equipment", 0, 7, 0, 0, 2, true},
      {"not in special mode 3", 0, 7, 3, 0, 2, false},
      {"equipment counts only for QFP", 1, 7, 0, 0, 2, false},
  };
  for (const Case& c : cases) {
    CRefLine line = LineOf(3, c.kind, 1);
    line.connection = c.connection;
    line.slots[10] = c.slotUnits | (54 << 16);
    line.components[24] = c.component24;
    EXPECT_EQ(RefConnectionsHoldUnits(line, c.specialMode), c.expected) << c.fault;
  }
}

}  // namespace
