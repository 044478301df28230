#include "app/options_values.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <filesystem>

#include "app/current_language.h"
#include "support/golden_file.h"
#include "options_test_support.h"

namespace {

const char* const kSettings =
    "[Language]\nID=044\n"
    "[User]\nName=Ada\nDept=Design\nPhone=+33 1 23\nFax=\nEmail=ada@example.org\n"
    "[Database]\nLANG_DESIGN=2\nPackaging=1\n"
    "[Zooms]\nAll=0.85\nIn=0.125\n"
    "[Moves]\nLeft=0.3\n"
    "[Design]\nJointDebord=12\nRealJoint=0\nImpBW=1\n"
    "[Label]\nCartFlags=5\nTextFlags=16\nDimFontColor=1,2,3\n"
    "[Colors]\nSpecial=10,20,30\n";

class OptionsValuesTest : public ::testing::Test {
 protected:
  COptionsValues Load() {
    return LoadOptionsValues(m_app.App(), TestLanguages(), TestPriceListTexts);
  }
  CProfile Profile() const { return CProfile(m_app.Folder().File("settings/TVR.INI")); }
  std::string Read(const char* section, const char* key) const {
    return Profile().ReadProfileText(section, key, "<none>");
  }
  // The settings file as a golden listing, the temporary folder's name taken out.
  void ExpectSettingsFile(const std::string& golden) const {
    std::string text = m_app.Folder().ReadFile("settings/TVR.INI");
    const std::string folder = m_app.ArticleFolder();
    for (auto at = text.find(folder); at != std::string::npos; at = text.find(folder))
      text.replace(at, folder.size(), "<folder>/");
    ExpectGolden(golden, text);
  }

  COptionsTestApp m_app{kSettings};
};

TEST_F(OptionsValuesTest, ValuesComeFromTheApplicationAndTheSettingsFile) {
  COptionsValues values = Load();
  EXPECT_EQ(values.languageIndex, 2) << "044 is the third entry";
  EXPECT_EQ(values.user, (COptionsUser{"Ada", "+33 1 23", "Design", "", "ada@example.org"}));
  EXPECT_EQ(values.designLanguage, 1) << "\"2\" is the second choice";
  EXPECT_TRUE(values.packaging);
  EXPECT_EQ(values.projectsFolder, m_app.App().ProjectsFolder());
  EXPECT_EQ(values.percents, (COptionsPercents{20, 20, 30, 20, 10, 13, 85}));
  EXPECT_EQ(values.design.jointOverhang, 12);
  EXPECT_FALSE(values.design.realJoint);
  EXPECT_TRUE(values.design.printBlackWhite);
  EXPECT_EQ(values.labels[1].fontColor, MakeColor(1, 2, 3));
  EXPECT_EQ(values.labels[6].flags, 5) << "kind 6 is the cartouche, not the text style";
  EXPECT_EQ(values.colors[kColorSpecial], MakeColor(10, 20, 30));
  EXPECT_EQ(values.priceLists.Entries().size(), 5u);
}

TEST_F(OptionsValuesTest, WithoutAChoiceTheLanguageKeyIsLeftAlone) {
  ASSERT_TRUE(m_app.App().WriteProfileText("Language", "ID", "049"));
  COptionsValues values = Load();
  EXPECT_EQ(values.languageIndex, -1) << "an unlisted language chooses no entry";
  ApplyOptionsValues(m_app.App(), values, TestLanguages(), nullptr);
  EXPECT_EQ(Read("Language", "ID"), "049");
  EXPECT_EQ(Read("Database", "LANG_DESIGN"), "UK");  // "2" as a word
  values.languageIndex = 7;                          // beyond the list
  ApplyOptionsValues(m_app.App(), values, TestLanguages(), nullptr);
  EXPECT_EQ(Read("Language", "ID"), "049");
}

TEST_F(OptionsValuesTest, AnotherLanguageIsStoredForTheNextStartOnly) {
  CCurrentLanguage::Instance().Reset();
  CCurrentLanguage::Instance().SetLanguageNumber("044");
  COptionsValues values = Load();
  values.languageIndex = 0;
  COptionsApplied applied = ApplyOptionsValues(m_app.App(), values, TestLanguages(), nullptr);
  EXPECT_TRUE(applied.settingsWritten);
  EXPECT_EQ(Read("Language", "ID"), "007") << "the key is cut at \"--\"";
  EXPECT_EQ(m_app.App().Settings().languageId, "007");
  EXPECT_EQ(CCurrentLanguage::Instance().LanguageNumber(), "044") << "the running language stays";
  CCurrentLanguage::Instance().Reset();
}

TEST_F(OptionsValuesTest, WithoutAFrameOnlyTheSharedKeysAreWritten) {
  COptionsValues values = Load();
  values.user = {"Bob", "1", "Sales", "2", "bob@example.org"};
  values.designLanguage = 2;
  values.packaging = false;
  values.projectsFolder = "/data/projects";
  values.percents.zoomAll = 50;
  values.colors[kColorSpecial] = MakeColor(1, 1, 1);
  ApplyOptionsValues(m_app.App(), values, TestLanguages(), nullptr);
  ExpectSettingsFile("app/options_applied_without_frame.ini");  // no factors without a frame
  EXPECT_EQ(m_app.App().Settings().userName, "Bob");
  EXPECT_EQ(m_app.App().Settings().packaging, 0);
  EXPECT_EQ(m_app.App().ProjectsFolder(), "/data/projects/");
  EXPECT_EQ(m_app.App().InitialProjectsFolder(), "/data/projects/");
  EXPECT_FLOAT_EQ(m_app.App().Settings().zoomAll, 0.85f);
}

TEST_F(OptionsValuesTest, WithAFrameEveryPageIsWrittenAndTheDocumentRefreshed) {
  COptionsValues values = Load();
  values.percents = {1, 2, 3, 4, 5, 6, 200};
  values.design = {500, 0, true, false, true, false, true};
  values.labels[6].flags = 9;
  values.labels[0].font = TextToLogFont("Liberation Sans,11,700");
  values.colors[kColorUnknown] = MakeColor(9, 8, 7);
  CRecordingOptionsFrame frame;
  COptionsApplied applied = ApplyOptionsValues(m_app.App(), values, TestLanguages(), &frame);
  EXPECT_TRUE(applied.settingsWritten);
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"RebuildScene", "RefreshAllRuns", "RebuildScene",
                                                   "UpdateAllViews", "SetModifiedFlag(true)"}));
  ExpectSettingsFile("app/options_applied_with_frame.ini");
  const CAppSettings& settings = m_app.App().Settings();
  EXPECT_FLOAT_EQ(settings.zoomAll, 2.0f);
  EXPECT_EQ(settings.labels[kLabelCartouche].flags, 9);
  EXPECT_EQ(ReadAppSettings(Profile()), settings) << "what is kept is what is read at start";
}

TEST_F(OptionsValuesTest, FactorsAreWrittenWithAPointUnderADecimalCommaLocale) {
  const char* saved = std::setlocale(LC_ALL, nullptr);
  std::string previous = saved ? saved : "C";
  if (!std::setlocale(LC_ALL, "fr_FR.UTF-8")) GTEST_SKIP() << "no French locale";
  COptionsValues values = Load();
  values.percents.zoomIn = 15;
  CRecordingOptionsFrame frame;
  ApplyOptionsValues(m_app.App(), values, TestLanguages(), &frame);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(Read("Zooms", "In"), "0.150000");
}

TEST_F(OptionsValuesTest, EditedPriceListNamesAreSavedAndTheMenuRebuilt) {
  COptionsValues values = Load();
  values.priceLists.Edit(3, "Export", "USD");
  CRecordingOptionsFrame frame;
  COptionsApplied applied = ApplyOptionsValues(m_app.App(), values, TestLanguages(), &frame);
  EXPECT_TRUE(applied.priceListsSaved) << applied.priceListError;
  EXPECT_EQ(m_app.ArticleNames("PRICE_LIST_4"), "Export|USD") << "the missing record is added";
  ASSERT_FALSE(frame.calls.empty());
  EXPECT_EQ(frame.calls.front(), "BuildCatalogueMenu");
  EXPECT_EQ(OptionsSheetResult(values.priceLists), 1u);
}

TEST_F(OptionsValuesTest, UnchangedPriceListNamesAreNotWritten) {
  COptionsValues values = Load();
  const std::string before = m_app.Folder().ReadFile("ARTICLE.DBU");
  CRecordingOptionsFrame frame;
  ApplyOptionsValues(m_app.App(), values, TestLanguages(), &frame);
  EXPECT_EQ(m_app.Folder().ReadFile("ARTICLE.DBU"), before);
  EXPECT_EQ(std::count(frame.calls.begin(), frame.calls.end(), "BuildCatalogueMenu"), 0);
  EXPECT_EQ(OptionsSheetResult(values.priceLists), 0u);
}

TEST_F(OptionsValuesTest, ARefusedPriceListSaveSaysWhyAndKeepsTheTable) {
  COptionsValues values = Load();
  values.priceLists.Edit(0, "Trade", "");
  std::filesystem::permissions(m_app.ArticleTablePath(), std::filesystem::perms::owner_read);
  const std::string before = m_app.Folder().ReadFile("ARTICLE.DBU");
  COptionsApplied applied = ApplyOptionsValues(m_app.App(), values, TestLanguages(), nullptr);
  EXPECT_FALSE(applied.priceListsSaved);
  EXPECT_FALSE(applied.priceListError.empty());
  EXPECT_EQ(m_app.Folder().ReadFile("ARTICLE.DBU"), before);
  EXPECT_TRUE(applied.settingsWritten) << "the other settings are kept all the same";
  EXPECT_EQ(OptionsSheetResult(values.priceLists), 1u) << "the result reports the edit";
}

TEST_F(OptionsValuesTest, ASettingsFileThatCannotBeWrittenIsReported) {
  CDorneApp app;  // no settings folder: every write fails
  COptionsValues values = LoadOptionsValues(app, TestLanguages(), TestPriceListTexts);
  EXPECT_EQ(values.languageIndex, 1) << "the default language 033";
  CRecordingOptionsFrame frame;
  EXPECT_FALSE(ApplyOptionsValues(app, values, TestLanguages(), &frame).settingsWritten);
}

TEST_F(OptionsValuesTest, TheKeysOfOkComeInTheirOrder) {
  COptionsValues values = Load();
  std::vector<std::string> keys;
  for (const CProfileValue& value : OptionsProfileValues(values, TestLanguages(), false))
    keys.push_back(value.section + "/" + value.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"Language/ID", "User/Name", "User/Dept", "User/Phone",
                                            "User/Fax", "User/Email", "Database/LANG_DESIGN",
                                            "Database/Packaging", "Database/Projects"}));
  EXPECT_EQ(OptionsProfileValues(values, TestLanguages(), true).size(), 9u + 7u + 7u + 13u);
}

}  // namespace
