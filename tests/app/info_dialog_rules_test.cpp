#include "app/info_dialog_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(InfoDialogRulesTest, CheckBoxReadsTheOtherWayInTheAboutBox) {
  const struct {
    EInfoMode mode;
    int infos;
    bool checked;
  } cases[] = {{EInfoMode::Startup, 0, true},
               {EInfoMode::Startup, 1, false},
               {EInfoMode::About, 1, true},
               {EInfoMode::About, 0, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(InfoCheckBoxChecked(c.mode, c.infos), c.checked) << c.infos;
    EXPECT_EQ(InfosValue(c.mode, c.checked), c.infos) << c.infos;
  }
  EXPECT_TRUE(InfoCheckBoxChecked(EInfoMode::About, 7));
}

TEST(InfoDialogRulesTest, EntryKeys) {
  EXPECT_EQ(LanguageNumberText("030--161"), "030");
  EXPECT_EQ(LanguageNumber("030--161"), 30);
  EXPECT_EQ(LanguageCharset("030--161"), 161);
  EXPECT_EQ(LanguageNumberText("044"), "044");
  EXPECT_FALSE(LanguageCharset("044").has_value());
  EXPECT_EQ(LanguageNumber("abc--0"), 0);
}

TEST(InfoDialogRulesTest, FlagCells) {
  EXPECT_EQ(FlagCell(30), std::make_pair(2, 1));  // Greek: position 7
  EXPECT_EQ(FlagCell(1), std::make_pair(0, 0));
  EXPECT_EQ(FlagCell(81), std::make_pair(0, 5));  // the last of 26
  EXPECT_EQ(FlagCell(33), std::make_pair(1, 0));
  EXPECT_FALSE(FlagCell(999).has_value());
  EXPECT_EQ(FlagSheetLanguages().size(), 26u);
}

const std::vector<std::string> kEntries = {"033--0", "044--0", "030--161"};

TEST(InfoDialogRulesTest, OkOutcomeTable) {
  CInfoOutcome greek = DecideInfoOk(EInfoMode::Startup, 1, false, 2, 0, kEntries);
  EXPECT_EQ(greek.languageToWrite, "030");
  EXPECT_EQ(greek.result, kInfoLanguageChanged);
  EXPECT_EQ(DecideInfoOk(EInfoMode::Startup, 1, false, 0, 0, kEntries).result, 1);  // same language
  EXPECT_EQ(DecideInfoOk(EInfoMode::Startup, 1, false, -1, -1, kEntries).result, 1);  // none chosen
  EXPECT_EQ(DecideInfoOk(EInfoMode::Startup, 1, false, 9, 0, kEntries).result,
            1);  // out of the list
  EXPECT_EQ(DecideInfoOk(EInfoMode::Startup, 1, false, 1, -1, kEntries).languageToWrite, "044");
  EXPECT_FALSE(DecideInfoOk(EInfoMode::About, 1, true, 0, 0, kEntries).infosToWrite)
      << "nothing changed";
}

}  // namespace
