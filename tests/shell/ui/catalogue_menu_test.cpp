#include "shell/ui/catalogue_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/message_text.h"
#include "app/price_lists.h"
#include "shell/ui/frame_actions.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/mode_menus.h"
#include "frame_test_support.h"

namespace {

std::vector<std::string> SampleNames() {
  UseProgramLanguage();
  CPriceListNames names = ReadPriceListNames(std::string(TVR_PROGRAM_DIR) + "/BD/",
                                             [](int n) { return LookupText(n); });
  return std::vector<std::string>(names.first.begin(), names.first.end());
}

TEST(CatalogueMenuTest, TheLayoutMenuListsThePriceListsWithTheCurrentChecked) {
  std::vector<std::string> names = SampleNames();
  CFrameFixture fixture("CurrentCat=2\n");
  CMainFrame& frame = fixture.Frame();
  frame.EnterGraphicalMode();
  fixture.Catalogue().SelectDefaultCatalogue();
  CCatalogueMenuPlan expected = PlanCatalogueMenu(names, false, 2);
  ASSERT_FALSE(expected.items.empty());
  QList<int> commands = MenuCommands(frame, "menu_0580");
  ASSERT_EQ(commands.size(), static_cast<qsizetype>(expected.items.size()));
  for (std::size_t index = 0; index < expected.items.size(); ++index) {
    int command = CatalogueCommandId(expected.items[index].number - 1);
    EXPECT_EQ(commands[static_cast<qsizetype>(index)], command);
    EXPECT_EQ(frame.Actions().Action(command)->text().toStdString(), expected.items[index].name);
  }
  EXPECT_EQ(fixture.app.CurrentCatalogue(), 2);
  frame.UpdateCommandStates();
  EXPECT_TRUE(frame.Actions().Action(CatalogueCommandId(1))->isChecked());
  EXPECT_FALSE(frame.Actions().Action(CatalogueCommandId(0))->isChecked());
}

TEST(CatalogueMenuTest, ChoosingACatalogueMakesItCurrentAndStoresIt) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.EnterGraphicalMode();
  fixture.Catalogue().SelectDefaultCatalogue();
  ASSERT_TRUE(frame.RouteCommand(CatalogueCommandId(2)));
  EXPECT_EQ(fixture.app.CurrentCatalogue(), 3);
  EXPECT_EQ(fixture.app.ReadProfileText("Database", "CurrentCat", ""), "3");
  frame.UpdateCommandStates();
  EXPECT_TRUE(frame.Actions().Action(CatalogueCommandId(2))->isChecked());
}

TEST(CatalogueMenuTest, JustOneCatalogueAndNonsenseSettings) {
  CFrameFixture one("CurrentCat=3\nJustOneCat=yes\n");
  one.Frame().EnterGraphicalMode();
  one.Catalogue().SelectDefaultCatalogue();
  EXPECT_EQ(MenuCommands(one.Frame(), "menu_0580"), (QList<int>{CatalogueCommandId(2)}));
  for (const char* setting : {"CurrentCat=999\n", "CurrentCat=-4\n", "CurrentCat=abc\n"}) {
    CFrameFixture fixture(setting);
    fixture.Frame();
    fixture.Catalogue().SelectDefaultCatalogue();
    EXPECT_EQ(fixture.app.CurrentCatalogue(), 1) << setting;  // the first list instead
  }
}

TEST(CatalogueMenuTest, TheInstalledMenuIsMadeAgainOnlyWhenItsListsChange) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  frame.EnterGraphicalMode();
  fixture.Catalogue().SelectDefaultCatalogue();
  struct Step {
    const char* justOne;
    bool madeAgain;
    const char* guards;
  };
  const Step steps[] = {
      {"", false, "the same lists (a layout opened) keep the menu made for them"},
      {"yes", true, "one list shown instead of all"},
      {"yes", false, "the one list again"},
      {"no", true, "all lists again"},
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(fixture.app.WriteProfileText("Database", "JustOneCat", step.justOne));
    QMenu* before = FindCatalogueMenu(*frame.menuBar());
    ASSERT_NE(before, nullptr);
    fixture.Catalogue().BuildCatalogueMenu();
    EXPECT_EQ(FindCatalogueMenu(*frame.menuBar()) != before, step.madeAgain) << step.guards;
    EXPECT_EQ(MenuCommands(frame, "menu_0580").size(),
              static_cast<qsizetype>(fixture.Catalogue().Plan().items.size()))
        << step.guards;
  }
}

TEST(CatalogueMenuTest, WithoutTheArticleTableListsOneToFourStayWithoutNames) {
  CFrameFixture fixture;
  fixture.Frame();
  fixture.app.ClearArticleFolder();
  fixture.Catalogue().BuildCatalogueMenu();
  EXPECT_FALSE(fixture.Catalogue().Error().empty());
  ASSERT_EQ(fixture.Catalogue().Plan().items.size(), 4u);
  EXPECT_EQ(fixture.Catalogue().Plan().items[0].name, "");
}

}  // namespace
