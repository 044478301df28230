#include <gtest/gtest.h>

#include "ref_line_edit_support.h"
#include "reference/ref_choice_panel.h"

namespace {

std::vector<int> Boxes(const CRefChoicePanelView& view) {
  std::vector<int> boxes;
  for (const CRefChoiceOption& option : view.options) boxes.push_back(option.box);
  return boxes;
}

int Checked(const CRefChoicePanelView& view) {
  for (const CRefChoiceOption& option : view.options)
    if (option.checked) return option.box;
  return -1;
}

// A product whose states are only those given.
void Offer(CRefEditFixture& f, int product, std::initializer_list<std::pair<int, int>> states) {
  f.config.Product(product).states.fill(0);
  for (const auto& [component, state] : states)
    f.config.Product(product).states[static_cast<std::size_t>(component)] = state;
}

TEST(RefChoicePanelTest, FixingVariantIsTheLastBoxAndItsBitTellsTheTwoApart) {
  CRefEditFixture f(2, 63);
  Offer(f, 2, {{9, 2}, {10, 2}, {42, 1}});
  f.context.choices[kFamilyFixing] = 10;
  f.line.components[42] = 1;
  CRefChoicePanelView view = RefChoicePanelFor(f.context, 4);
  EXPECT_EQ(Boxes(view), (std::vector<int>{0, 1, 5}));
  EXPECT_EQ(Checked(view), 5);
  EXPECT_EQ(view.titleMessage, 32048);
  int member = 0;
  EXPECT_FALSE(RefChoicePanelStore(f.context, 4, {5, -1, 0}, member));  // nothing changed
  EXPECT_TRUE(RefChoicePanelStore(f.context, 4, {1, -1, 0}, member));
  EXPECT_EQ(member, 10);
  EXPECT_EQ(f.line.components[42] & 1, 0);
  EXPECT_EQ(Checked(RefChoicePanelFor(f.context, 4)), 1);
  EXPECT_TRUE(RefChoicePanelStore(f.context, 4, {0, -1, 0}, member));
  EXPECT_EQ(f.context.choices[kFamilyFixing], 9);
}

TEST(RefChoicePanelTest, OptionsOfferedByKindAndProduct) {
  const struct {
    int product, rating, kind;
    std::initializer_list<std::pair<int, int>> states;
    std::vector<int> boxes;
  } cases[] = {
      {2, 63, 0, {{45, 2}, {46, 2}}, {0, 1}},
      {2, 63, 0, {{46, 2}}, {1}},
      {2, 63, 6, {{0, 2}, {1, 2}, {28, 2}, {29, 2}, {30, 2}}, {0, 1, 2}},  // 29..31 not for QYB
      {0, 63, 6, {{0, 2}, {28, 2}}, {0}},                                  // 28 not for QFP
      {2, 63, 1, {{3, 2}, {5, 2}, {6, 2}}, {0, 2}},                        // 6..8 only for QFP
      {0, 63, 1, {{3, 2}, {6, 2}, {8, 2}}, {0, 3, 5}},
      {3, 63, 2, {{6, 2}, {7, 2}}, {0, 1}},
      {2, 63, 5, {{13, 2}, {15, 2}}, {0, 2}},
      {2, 63, 8, {}, {0, 1}},
      {2, 63, 9, {}, {0, 1}},
      {2, 63, 3, {{9, 2}}, {}},
  };
  for (const auto& c : cases) {
    CRefEditFixture f(c.product, c.rating);
    Offer(f, c.product, c.states);
    EXPECT_EQ(Boxes(RefChoicePanelFor(f.context, c.kind)), c.boxes)
        << "product " << c.product << " kind " << c.kind;
  }
}

TEST(RefChoicePanelTest, StoresReachTheLineAndTellWhetherAnythingChanged) {
  CRefEditFixture f(2, 63);
  Offer(f, 2, {{45, 2}, {46, 2}});
  f.line.lineMode = 1;
  int member = 0;
  EXPECT_FALSE(RefChoicePanelStore(f.context, 0, {0, -1, 0}, member));
  EXPECT_TRUE(RefChoicePanelStore(f.context, 0, {1, -1, 0}, member));
  EXPECT_EQ(f.line.lineMode, 2);
  f.line.components[8] = -1;
  EXPECT_EQ(Checked(RefChoicePanelFor(f.context, 9)), 1);
  EXPECT_TRUE(RefChoicePanelStore(f.context, 9, {0, -1, 0}, member));
  EXPECT_EQ(f.line.components[8], 0);
  EXPECT_TRUE(RefChoicePanelStore(f.context, 8, {1, -1, 0}, member));
  EXPECT_EQ(f.line.extraCode, 1);
  EXPECT_FALSE(RefChoicePanelStore(f.context, 8, {-1, -1, 0}, member));  // no box checked
  EXPECT_EQ(f.line.extraCode, 1);
}

TEST(RefChoicePanelTest, PoleComboOfPowerLinesSetsComponent8) {
  CRefEditFixture f(4, 250);
  Offer(f, 4, {{3, 2}, {4, 2}, {8, 2}});
  f.line.components[8] = 0;
  const CRefChoicePanelView view = RefChoicePanelFor(f.context, 1);
  EXPECT_TRUE(view.poleCombo);
  EXPECT_EQ(view.pole, 0);
  int member = 0;
  EXPECT_TRUE(RefChoicePanelStore(f.context, 1, {1, -1, 1}, member));
  EXPECT_EQ(member, 4);
  EXPECT_EQ(f.line.components[8], 1);
  Offer(f, 4, {{3, 2}, {8, 7}});
  EXPECT_FALSE(RefChoicePanelFor(f.context, 1).poleCombo);
}

TEST(RefChoicePanelTest, PitchLimitsByProductAndFixing) {
  const struct {
    int product, fixing;
    std::string text;
    int expected;  // -1: refused
  } cases[] = {{1, 9, "2,5", 250}, {1, 9, "0.5", 50},   {1, 9, "0.4", -1}, {1, 9, "3.5", -1},
               {1, 9, "3", 300},   {2, 9, "5", 500},    {2, 9, "5.1", -1}, {3, 10, "2.5", -1},
               {3, 10, "2", 200},  {1, 9, "2.46", 250}, {1, 9, "", -1},    {1, 9, "2a", -1},
               {1, 9, "1,2,3", -1}};
  for (const auto& c : cases) {
    CRefEditFixture f(c.product, 63);
    f.context.choices[kFamilyFixing] = c.fixing;
    const CRefPitch pitch = RefChoicePanelFor(f.context, 3).pitch;
    EXPECT_TRUE(pitch.shown);
    const auto parsed = RefParsePitch(c.text, pitch);
    EXPECT_EQ(parsed.value_or(-1), c.expected) << c.product << " " << c.text;
  }
}

TEST(RefChoicePanelTest, PitchStoredInCentimetresAndShownInMetres) {
  CRefEditFixture f(1, 63);
  int member = 0;
  EXPECT_TRUE(RefChoicePanelStore(f.context, 3, {-1, 250, 0}, member));
  EXPECT_EQ(f.line.fixingSpacing, 250);
  EXPECT_FALSE(RefChoicePanelStore(f.context, 3, {-1, 250, 0}, member));
  EXPECT_EQ(RefPitchText(250, ','), "2,50");
  EXPECT_EQ(RefPitchText(300, ','), "3");
  EXPECT_EQ(RefPitchText(50, '.'), "0.50");
  CRefEditFixture qda(3, 63);
  const CRefPitch readOnly = RefChoicePanelFor(qda.context, 4).pitch;
  EXPECT_TRUE(readOnly.shown);
  EXPECT_TRUE(readOnly.readOnly);
  EXPECT_FALSE(RefChoicePanelFor(f.context, 4).pitch.shown);
}

}  // namespace
