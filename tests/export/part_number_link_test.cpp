#include "export/part_number_link.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Drain(CPartNumberLink& link) {
  std::vector<std::string> lines;
  while (std::optional<std::string> line = link.TakeNextLine()) lines.push_back(*line);
  return lines;
}

TEST(PartNumberLinkTest, PricesAreReadInHundredths) {
  struct Case {
    const char* text;
    std::optional<int> hundredths;
  };
  const Case cases[] = {{"12.5", 1250},        {"12", 1200},           {"", 0},
                        {"133.20", 13320},     {"7,25", 725},          {" 3.999 ", 399},
                        {"abc", std::nullopt}, {"1.2.3", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(PriceInHundredths(c.text), c.hundredths) << c.text;
}

TEST(PartNumberLinkTest, ToolFolderIsTheSettingsFolderPart) {
  const std::pair<const char*, const char*> cases[] = {
      {"PARTNUM.EXE", ""}, {"/PARTNUM.EXE", "/"}, {"/opt/pn/PARTNUM.EXE", "/opt/pn"}};
  for (const auto& [setting, folder] : cases) EXPECT_EQ(ToolFolderOf(setting), folder) << setting;
}

TEST(PartNumberLinkTest, ToolAnswerKeepsDollarLinesOfFiveFields) {
  const std::string answer =
      "$;QDA40ED430;2;x;y\r\n"    // kept
      "$;A;1;x\r\n"               // three separators
      "$;A;1;x;y;z\n"             // five separators
      "#;QDA40ED430;2;x;y\r\r\n"  // not a '$' line
      "$;B;3;;";                  // the last line ends with the file
  const std::vector<std::string> lines = ParseToolAnswer(answer);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "$\tQDA40ED430\t2\tx\ty");
  EXPECT_EQ(lines[1], "$\tB\t3\t\t");
}

class ArticleListTest : public ::testing::Test {
 protected:
  CPartNumberLink Link(bool zfl21 = true) {
    CPartNumberSettings settings;
    settings.articleFolder = TVR_PROGRAM_DIR "/BD/";
    settings.designColumn = 2;
    settings.zfl21Allowed = zfl21;
    CPartNumberLink link;
    link.Init(settings);
    return link;
  }
};

TEST_F(ArticleListTest, ArticleLinesHoldTheEighteenFieldsInOrder) {
  CPartNumberLink link = Link();
  ASSERT_TRUE(link.WriteArticleList({"qda40ed430"}));
  const std::vector<std::string> lines = Drain(link);
  ASSERT_EQ(lines.size(), 1u);
  // Price 133.20 in a field with decimals: ten-thousandths of the currency; the family record
  // REMISE_QD keeps 90.00 of the price: a discount of 1000 hundredths of a percent; 56 hundredths
  // of an hour, 5400 g, E number TV103640.
  EXPECT_EQ(
      lines[0],
      "QDA40ED430\t1\tStraight length 3 m, QDA 40 A 3P+N aluminium\t1332000\t1\t1\t1000\t0\t0\t"
      "56\t0\t0\t0\t0\t0\t0\t5400\tTV103640\t");
}

TEST_F(ArticleListTest, ReferencesAreTakenFromTheLastAndUnknownOnesSkipped) {
  CPartNumberLink link = Link();
  ASSERT_TRUE(link.WriteArticleList({"QDA40ED430", "NO_SUCH_ARTICLE", "QDA40ED420"}));
  const std::vector<std::string> lines = Drain(link);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].starts_with("QDA40ED420\t"));
  EXPECT_TRUE(lines[1].starts_with("QDA40ED430\t"));
  EXPECT_FALSE(link.TakeNextLine().has_value());
}

TEST_F(ArticleListTest, AKeyCutBeforeItsUnderscoreIsSoughtAgain) {
  CPartNumberLink link = Link();
  ASSERT_TRUE(link.WriteArticleList({"QDA40ED430_X"}));
  const std::vector<std::string> lines = Drain(link);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].starts_with("QDA40ED430\t1\t")) << lines[0];
}

TEST_F(ArticleListTest, ASubstituteHasNoPriceAndIsNamedSo) {
  CPartNumberLink link = Link();
  ASSERT_TRUE(link.WriteArticleList({"QDA40SPED430"}));
  const std::vector<std::string> lines = Drain(link);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("aluminium "), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("\t0\t1\t1\t1000\t"), std::string::npos) << lines[0];
}

TEST_F(ArticleListTest, AMissingTableGivesNoLinesAndSaysWhy) {
  CPartNumberSettings settings;
  settings.articleFolder = "/nonexistent/folder/";
  CPartNumberLink link;
  link.Init(settings);
  EXPECT_FALSE(link.WriteArticleList({"QDA40ED430"}));
  EXPECT_FALSE(link.TakeNextLine().has_value());
  EXPECT_EQ(link.Problems().size(), 1u);
}

}  // namespace
