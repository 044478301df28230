#include <gtest/gtest.h>

#include "app/article_table.h"
#include "app/user_article_import.h"
#include "platform/dbf_table.h"
#include "support/temp_folder.h"

using tvr::platform::CDbfTable;

namespace {

// A small article table: a catalogue article, a local one and one known by REF2 only.
class UserArticleImportTest : public testing::Test {
 protected:
  void SetUp() override {
    CDbfTable table;
    ASSERT_TRUE(table.Create(m_folder.File("ARTICLE.DBU"), {{"REFERENCE", 'C', 22, 0},
                                                            {"DESIGN_1", 'C', 40, 0},
                                                            {"PRIX_1", 'N', 12, 2},
                                                            {"PRIX_2", 'N', 12, 2},
                                                            {"LOCAL", 'C', 1, 0},
                                                            {"TC", 'C', 10, 0},
                                                            {"REF2", 'C', 22, 0},
                                                            {"QTE_INDIV", 'N', 6, 0}}));
    for (const auto& [reference, local, ref2] :
         {std::tuple{"Q123", "C", ""}, {"QLOC", "3", ""}, {"QNEW", "C", "OLD1"}}) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, reference);
      table.Assign(1, "Old");
      table.Assign(2, "1");
      table.Assign(3, "2");
      table.Assign(4, local);
      table.Assign(6, ref2);
    }
    ASSERT_TRUE(table.Close());
    m_import.articleFolder = m_folder.Folder();
    m_import.priceList = 1;
  }
  // Field texts of the article: designation, PRIX_1, PRIX_2, TC, QTE_INDIV.
  std::string Article(const std::string& reference) {
    CDbfTable table;
    EXPECT_TRUE(OpenArticleTable(table, m_folder.Folder(), CDbfTable::Mode::ReadOnly));
    if (!SeekArticle(table, reference)) return "missing";
    std::string text;
    for (const char* field : {"DESIGN_1", "PRIX_1", "PRIX_2", "TC", "QTE_INDIV"}) {
      const std::string raw = table.FieldRawText(table.FieldIndex(field));
      const std::size_t first = raw.find_first_not_of(' ');
      text +=
          (first == std::string::npos ? ""
                                      : raw.substr(first, raw.find_last_not_of(' ') - first + 1)) +
          "|";
    }
    return text;
  }
  CTempFolder m_folder{"article-import"};
  CUserArticleImport m_import;
};

TEST_F(UserArticleImportTest, DelimitedLinesChangeOnlyTheArticlesTheyName) {
  const struct {
    const char* line;
    int refs;
    const char* separators;
    const char* reference;
    const char* expected;  // designation|PRIX_1|PRIX_2|TC|QTE_INDIV as stored
  } cases[] = {
      {"Q123;12,5", 0, "", "Q123", "Old|1.00|12.50|||"},
      {"Q123;Busbar;7", 0, "", "Q123", "Busbar|1.00|7.00|||"},
      {"Q123\tBusbar", 0, "", "Q123", "Busbar|1.00|2.00|||"},
      {"Q123@New@3.999@FAM", 0, "", "Q123", "New|1.00|3.99|FAM||"},
      {"Q123;12,5", 0, ",", "Q123", "Old|1.00|12.00|5||"},
      {"QLOC;9;FAM", 0, "", "QLOC", "Old|9.00|2.00|||"},
      {"OLD1;4", 1, "", "QNEW", "Old|1.00|4.00|||"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    SetUp();
    m_import.refs = c.refs;
    m_import.separators = c.separators;
    const std::string path = m_folder.WriteFile("prices.txt", std::string(c.line) + "\r\n");
    EXPECT_TRUE(ImportUserArticles(m_import, path));
    EXPECT_EQ(Article(c.reference), c.expected);
  }
  // Skipped: no separator, a separator first, a reference found only through REF2 without
  // "Refs", a reference the table lacks, a price that is not one (the designation with it).
  m_import.refs = 0;
  m_import.separators.clear();
  for (const char* line : {"Q123", ";Q123;5", "OLD1;4", "QXYZ;5", "Q123;Name;12a"}) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(ImportUserArticles(m_import, m_folder.WriteFile("prices.txt", line)));
  }
}

TEST_F(UserArticleImportTest, FixedWidthLinesAndTheFileKinds) {
  auto line = [](const std::string& price, char unit, const std::string& quantity) {
    std::string text(105, ' ');
    text.replace(0, 6, "TEQ123");
    text.replace(23, 8, "Straight");
    text.replace(56, 9, price);
    text[65] = unit;
    text.replace(67, 4, quantity);
    return text;
  };
  const std::string path = m_folder.WriteFile("fixed.txt", line("000012345", 'U', "0012") + "\n");
  EXPECT_EQ(UserArticleFileKind(path), EUserArticleFile::kFixedWidth);
  EXPECT_TRUE(ImportFixedWidthArticles(m_import, path));
  EXPECT_EQ(Article("Q123"), "Straight|1.00|12345.00||12|");
  EXPECT_TRUE(ImportFixedWidthArticles(
      m_import, m_folder.WriteFile("fixed.txt", line("000012345", ' ', "    "))));
  EXPECT_EQ(Article("Q123"), "Straight|1.00|123.45||12|");
  EXPECT_EQ(UserArticleFileKind(m_folder.WriteFile("prices.csv", "Q123;1")),
            EUserArticleFile::kDelimited);
  EXPECT_EQ(UserArticleFileKind(m_folder.File("none.txt")), EUserArticleFile::kUnreadable);
  EXPECT_EQ(UserArticleFileKind("/elsewhere/article.dbu"), EUserArticleFile::kReplacementTable);
}

}  // namespace
