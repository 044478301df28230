#include "app/current_language.h"

#include <gtest/gtest.h>

#include <string>
#include <optional>

#include "app/message_text.h"
#include "language_test_support.h"

namespace {

// The start-up choice of language from "Language"/"ID" and the files present.
struct StartCase {
  const char* fault;
  const char* languageId;
  std::optional<std::string> file033;  // nothing: no such file
  const char* number;
  bool writeBack;
};

TEST(ChooseStartLanguageTest, FallsBackTo044) {
  const StartCase cases[] = {
      {"a usable language stays", "033", "[MSG]\r\n00018=Implantations\r\n", "033", false},
      {"the number is read as a number", "33", "[MSG]\r\n00018=Implantations\r\n", "033", false},
      {"a file without message 18 is unusable: the choice is replaced", "033",
       "[MSG]\r\n00019=Other\r\n", "044", true},
      {"an empty message 18 is unusable", "033", "[MSG]\r\n00018=\r\n", "044", true},
      {"message 18 outside section MSG does not count", "033", "[LANG]\r\n00018=Implantations\r\n",
       "044", true},
      {"a file that cannot be read keeps the user's choice", "033", {}, "044", false},
      {"a UTF-16 file is read too", "033", Utf16Le("[MSG]\r\n00018=x\r\n"), "033", false}};
  for (const StartCase& c : cases) {
    CLanguageTestFolder folder;
    folder.UseAsCatalogue();
    folder.WriteFile("TVR_044.TXT", "[MSG]\r\n00018=Layouts\r\n");
    if (c.file033) folder.WriteFile("TVR_033.TXT", *c.file033);
    CCurrentLanguage& current = CCurrentLanguage::Instance();
    const CStartLanguage start = current.ChooseStartLanguage(c.languageId);
    EXPECT_EQ(start.number, c.number) << c.fault;
    EXPECT_EQ(start.writeBack, c.writeBack) << c.fault;
    EXPECT_EQ(current.LanguageNumber(), c.number) << c.fault;
  }
}

TEST(CurrentLanguageTest, LoadsTheChosenLanguageForEveryLookUp) {
  CLanguageTestFolder folder;
  folder.UseAsCatalogue();
  folder.WriteFile("TVR_044.TXT",
                   "[LANG]\r\nCHARS=LATIN\r\n[MSG]\r\n00018=Layouts\r\n02711=&Yes\r\n");
  CCurrentLanguage& current = CCurrentLanguage::Instance();
  const CStartLanguage start = current.ChooseStartLanguage("049");
  EXPECT_EQ(start.number, "044");
  current.LoadLanguage(start.number);
  EXPECT_TRUE(current.Mapping().IsLoaded());
  EXPECT_EQ(current.Mapping().Charset(), 0);
  EXPECT_EQ(LookupText(2711), "&Yes");
  EXPECT_EQ(LookupText(17), "Tavrilon");
}

TEST(CurrentLanguageTest, TheShippedEnglishFileStandsInOnlyForAMissingLanguageFile) {
  struct Case {
    const char* guards;
    bool catalogueHasFile, shipped;
    const char* text;  // of message 1
    bool fromShipped;
  };
  const Case cases[] = {
      {"the catalogue's own file wins", true, true, "eigen", false},
      {"a missing file: the shipped English texts", false, true, "shipped one", true},
      {"without a shipped folder nothing loads", false, false, "", false}};
  for (const Case& c : cases) {
    CLanguageTestFolder catalogue, program;
    catalogue.UseAsCatalogue();
    if (c.catalogueHasFile) catalogue.WriteFile("TVR_049.TXT", "[MSG]\r\n00001=eigen\r\n");
    program.WriteFile("TVR_044.TXT", "[MSG]\r\n00001=shipped one\r\n");
    CLanguageSetup setup = CCurrentLanguage::Instance().Setup();
    if (c.shipped) setup.shippedFolder = program.Path();
    CCurrentLanguage::Instance().SetSetup(setup);
    CCurrentLanguage::Instance().LoadLanguage("049");
    EXPECT_EQ(LookupText(1), c.text) << c.guards;
    EXPECT_EQ(CCurrentLanguage::Instance().Mapping().FromShippedFile(), c.fromShipped) << c.guards;
    EXPECT_EQ(CCurrentLanguage::Instance().LanguageNumber(), "049") << c.guards;
  }
}

TEST(CurrentLanguageTest, ResetForgetsEverything) {
  CLanguageTestFolder folder;
  folder.UseAsCatalogue();
  folder.WriteFile("TVR_044.TXT", "[MSG]\r\n00001=one\r\n");
  CCurrentLanguage& current = CCurrentLanguage::Instance();
  current.LoadLanguage("044");
  ASSERT_EQ(LookupText(1), "one");
  current.Reset();
  EXPECT_EQ(current.LanguageNumber(), "033");
  EXPECT_EQ(current.Setup().catalogueFolder, "");
  EXPECT_FALSE(current.Mapping().IsLoaded());
  EXPECT_EQ(LookupText(1), "");
}

}  // namespace
