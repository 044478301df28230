#include "app/message_text.h"

#include <gtest/gtest.h>

#include <string>

#include "app/current_language.h"
#include "language_test_support.h"
#include "support/case_table.h"

namespace {

// A parameter as its case table spells it.
CMessageArg Arg(const std::string& spelled) {
  if (spelled.starts_with("text:")) return CMessageArg(spelled.substr(5));
  if (spelled.starts_with("number:")) return std::stoi(spelled.substr(7));
  if (spelled.starts_with("char:")) return spelled.at(5);
  if (spelled == "null") return static_cast<const char*>(nullptr);
  return {};
}

TEST(FormatMessageTextTest, FillsThePlaceholders) {
  for (const CCaseRow& row : ReadCaseTable("app/format_message_text.tsv", 8)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    EXPECT_EQ(FormatMessageText(row[1], row[2], Arg(row[3]), Arg(row[4]), Arg(row[5]), Arg(row[6])),
              row[7]);
  }
}

struct UnescapeCase {
  const char* text;
  const char* expected;
};

TEST(UnescapeTextTest, TurnsEscapesIntoCharacters) {
  const UnescapeCase cases[] = {{"a\\nb", "a\nb"}, {"\\t\\r", "\t\r"}, {"\\a\\b\\f\\v", "\a\b\f\v"},
                                {"\\\\", "\\"},    {"\\?", "?"},       {"\\q", "q"},
                                {"end\\", "end"},  {"plain", "plain"}, {"", ""}};
  for (const UnescapeCase& c : cases) {
    EXPECT_EQ(UnescapeText(c.text), c.expected) << c.text;
  }
}

class CurrentTextsTest : public testing::Test {
 protected:
  void SetUp() override {
    m_folder.UseAsCatalogue();
    m_folder.WriteFile("TVR_044.TXT",
                       "[MSG]\n00300=&File\n00301=Line one\\nLine two\n07623=Price list %1\n"
                       "00302=Save %1 && %2?\n08018=Unexpected file format.\n"
                       "08019=%1\\nCannot find this file.\n");
    CCurrentLanguage::Instance().LoadLanguage("044");
  }
  CLanguageTestFolder m_folder;
};

TEST_F(CurrentTextsTest, ResourceTextsKeepMnemonicsStringTextsDropThemMissingOnesShowKeys) {
  const struct {
    int number;
    const char *lookup, *resource, *string;
  } cases[] = {{300, "&File", "&File", "File"},
               {301, "Line one\\nLine two", "Line one\nLine two", "Line one\nLine two"},
               {999, "", "MSG_0999", "MSG_0999"}};
  for (const auto& c : cases) {
    EXPECT_EQ(LookupText(c.number), c.lookup) << c.number;
    EXPECT_EQ(ResourceText(c.number), c.resource) << c.number;
    EXPECT_EQ(StringText(c.number), c.string) << c.number;
  }
}

TEST_F(CurrentTextsTest, FormatsMessagesByNumber) {
  EXPECT_EQ(FormatMessageTextD(7623, 2), "Price list 2");
  EXPECT_EQ(FormatMessageText(302, "ss", "a.run", "b.run"), "Save a.run  b.run?");
  EXPECT_EQ(FormatMessageTextS(999, "x"), "MSG_0999");
}

// A file's failure names the file once: where the text places it, else above the text.
TEST_F(CurrentTextsTest, FileProblemsNameTheFile) {
  EXPECT_EQ(FileProblemText(8018, "/p/a.lin"), "/p/a.lin\n\nUnexpected file format.");
  EXPECT_EQ(FileProblemText(8019, "/p/a.lin"), "/p/a.lin\nCannot find this file.");
  EXPECT_EQ(FileProblemText(999, ""), "\n\nMSG_0999");
}

}  // namespace
