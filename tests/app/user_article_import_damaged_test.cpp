#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/article_table.h"
#include "app/user_article_import.h"
#include "platform/dbf_table.h"
#include "support/temp_folder.h"

using tvr::platform::CDbfTable;

namespace {

// The article table the damaged files are imported into: Q123, and QNEW known by the
// second reference O'1 as well.
class UserArticleDamagedTest : public testing::Test {
 protected:
  void SetUp() override {
    CDbfTable table;
    ASSERT_TRUE(table.Create(m_folder.File("ARTICLE.DBU"), {{"REFERENCE", 'C', 22, 0},
                                                            {"DESIGN_1", 'C', 20, 0},
                                                            {"PRIX_1", 'N', 12, 2},
                                                            {"LOCAL", 'C', 1, 0},
                                                            {"REF2", 'C', 22, 0},
                                                            {"QTE_INDIV", 'N', 6, 0}}));
    for (const auto& [reference, ref2] : {std::pair{"Q123", ""}, {"QNEW", "O'1"}}) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, reference);
      table.Assign(1, "Old");
      table.Assign(2, "1");
      table.Assign(4, ref2);
    }
    ASSERT_TRUE(table.Close());
    m_import.articleFolder = m_folder.Folder();
  }
  // designation|PRIX_1|QTE_INDIV of the article as stored, trimmed.
  std::string Article(const std::string& reference) {
    CDbfTable table;
    if (!OpenArticleTable(table, m_folder.Folder(), CDbfTable::Mode::ReadOnly)) return "no table";
    if (!SeekArticle(table, reference)) return "missing";
    std::string text;
    for (const char* field : {"DESIGN_1", "PRIX_1", "QTE_INDIV"}) {
      const std::string raw = table.FieldRawText(table.FieldIndex(field));
      const std::size_t first = raw.find_first_not_of(' ');
      text +=
          (first == std::string::npos ? std::string()
                                      : raw.substr(first, raw.find_last_not_of(' ') - first + 1)) +
          "|";
    }
    return text;
  }
  static std::string Fixed(const std::string& reference, const std::string& price, char unit,
                           const std::string& quantity) {
    std::string text(105, ' ');
    text.replace(0, 2, "TE");
    text.replace(2, reference.size(), reference);
    text.replace(23, 3, "New");
    text.replace(56, price.size(), price);
    text[65] = unit;
    text.replace(67, quantity.size(), quantity);
    return text;
  }
  CTempFolder m_folder{"article-damaged"};
  CUserArticleImport m_import;
};

using R = EArticleRefusal;

TEST_F(UserArticleDamagedTest, DelimitedFilesTakeWhatIsValidAndTellTheRest) {
  const struct {
    const char* text;
    const char* q123;  // Q123 afterwards
    CRefusedArticleLines refused;
    int message;
  } cases[] = {
      {"Q123;5\r\nno separator\r\n;Q123;7\r\n",
       "Old|5.00||",
       {{2, R::kNoReference}, {3, R::kNoReference}},
       32227},
      // a line is taken whole or not at all: its designation stays out with its bad price
      {"Q123;Name;12a\n", "Old|1.00||", {{1, R::kBadPrice}}, 61728},
      // a UTF-8 file as an editor of today writes it; every line not taken is told
      {"Q123;C\xC3\xA2"
       "ble \xC3\xA9t\xC3\xA9;90,00\nQ123;50.50\nQ123;Name;abc\nQXYZ;5\n"
       "no separator\nQ123;5,25\n",
       "C\xC3\xA2"
       "ble \xC3\xA9t\xC3\xA9|5.25||",
       {{3, R::kBadPrice}, {4, R::kUnknownReference}, {5, R::kNoReference}},
       32227},
      {"Q123;99999999999999999999\nQ123;21474836.48\n",
       "Old|1.00||",
       {{1, R::kPriceTooLarge}, {2, R::kPriceTooLarge}},
       61728},
      {"Q123;21474836.47\n", "Old|21474836.47||", {}, 32227},
      // a designation longer than its field is cut to it, as the engine writes it
      {"Q123;A designation far too long for its field\n", "A designation far to|1.00||", {}, 32227},
      {"\n\n   \n", "Old|1.00||", {}, 61728},  // blank lines are no refusals
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SetUp();
    const CUserArticleImportOutcome outcome =
        RunUserArticleImport(m_import, m_folder.WriteFile("prices.txt", c.text));
    EXPECT_EQ(Article("Q123"), c.q123);
    EXPECT_EQ(outcome.refused, c.refused);
    EXPECT_EQ(outcome.message, c.message);
  }
}

TEST_F(UserArticleDamagedTest, FixedWidthFilesTakeWhatIsValidAndTellTheRest) {
  const struct {
    std::string line;
    const char* q123;
    CRefusedArticleLines refused;
  } cases[] = {
      {Fixed("Q123", "000012345", 'U', "0003"), "New|12345.00|3|", {}},
      {Fixed("Q123", "000012345", ' ', "    "), "New|123.45||", {}},
      {Fixed("Q123", "        ", ' ', "    "), "New|0.00||", {}},
      // nine digits of whole units: 100 times past 32 bits, refused, not wrapped
      {Fixed("Q123", "999999999", 'U', "0001"), "Old|1.00||", {{1, R::kPriceTooLarge}}},
      {Fixed("Q123", "12A45", ' ', "0001"), "Old|1.00||", {{1, R::kBadPrice}}},
      {Fixed("Q123", "000000100", ' ', "1x"), "Old|1.00||", {{1, R::kBadQuantity}}},
      // not a record: a line that does not begin with "TEQ" is skipped unseen
      {Fixed("", "000000100", ' ', "0001"), "Old|1.00||", {}},
      {Fixed("Q123", "000000100", ' ', "0001").substr(0, 104), "Old|1.00||", {{1, R::kBadWidth}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    SetUp();
    // The first line makes the file fixed-width; the case is the second.
    const std::string path = m_folder.WriteFile(
        "fixed.txt", Fixed("QNONE", "000000001", ' ', "0001") + "\r\n" + c.line + "\r\n");
    const CUserArticleImportOutcome outcome = RunUserArticleImport(m_import, path);
    EXPECT_EQ(Article("Q123"), c.q123);
    CRefusedArticleLines expected = c.refused;
    for (CRefusedArticleLine& line : expected) line.line = 2;
    EXPECT_EQ(outcome.refused, expected);
    EXPECT_TRUE(outcome.changed);  // a fixed-width file that matched nothing still succeeds
  }
}

TEST_F(UserArticleDamagedTest, FilesThatAreNotTextChangeNothing) {
  const std::string bytes("Q123;5\n\0\x01\x02PK", 12);
  const CUserArticleImportOutcome outcome =
      RunUserArticleImport(m_import, m_folder.WriteFile("prices.csv", bytes));
  EXPECT_FALSE(outcome.changed);
  EXPECT_EQ(outcome.message, 61728);
  EXPECT_EQ(outcome.refused, (CRefusedArticleLines{{0, R::kNotText}}));
  EXPECT_EQ(Article("Q123"), "Old|1.00||");
  EXPECT_EQ(RunUserArticleImport(m_import, m_folder.File("absent.txt")).message, 61697);
}

TEST_F(UserArticleDamagedTest, ByteOrderMarkedFilesAndQuotesInSecondReferences) {
  // UTF-16LE with its mark: the second reference O'1 holds a quote, which no query sees.
  const std::u16string text = u"O'1;Quoted;4\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text)
    bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  m_import.refs = 1;
  const CUserArticleImportOutcome outcome =
      RunUserArticleImport(m_import, m_folder.WriteFile("prices.txt", bytes));
  EXPECT_TRUE(outcome.changed);
  EXPECT_EQ(Article("QNEW"), "Quoted|4.00||");
}

TEST_F(UserArticleDamagedTest, AReplacementTableIsCheckedBeforeItTakesThePlace) {
  std::filesystem::create_directories(m_folder.File("other"));
  const std::string damaged = m_folder.WriteFile("other/ARTICLE.DBU", "not a table at all");
  CUserArticleImportOutcome outcome = RunUserArticleImport(m_import, damaged);
  EXPECT_FALSE(outcome.changed);
  EXPECT_EQ(Article("Q123"), "Old|1.00||");  // the live table stays whole and usable
  EXPECT_FALSE(std::filesystem::exists(m_folder.File("ARTICLE.DBU.new")));

  CDbfTable table;
  const std::string good = m_folder.File("other/article.dbu");
  std::filesystem::remove(damaged);
  ASSERT_TRUE(table.Create(good, {{"REFERENCE", 'C', 22, 0},
                                  {"DESIGN_1", 'C', 20, 0},
                                  {"PRIX_1", 'N', 12, 2},
                                  {"QTE_INDIV", 'N', 6, 0}}));
  ASSERT_TRUE(table.Append());
  table.Assign(0, "Q123");
  table.Assign(1, "Replaced");
  table.Assign(2, "8");
  ASSERT_TRUE(table.Close());
  outcome = RunUserArticleImport(m_import, good);
  EXPECT_TRUE(outcome.changed);
  EXPECT_EQ(outcome.message, 32227);
  EXPECT_EQ(Article("Q123"), "Replaced|8.00||");
  EXPECT_EQ(Article("QNEW"), "missing");
  // The table it replaced is kept aside.
  EXPECT_TRUE(std::filesystem::exists(m_folder.File("ARTICLE.DBU.bak")));
}

// An independent reader (shapelib's dbfdump) reads the imported table.
TEST_F(UserArticleDamagedTest, TheImportedTableReadsBackInAnotherReader) {
  if (!std::filesystem::exists("/usr/bin/dbfdump")) GTEST_SKIP() << "dbfdump is not installed";
  ASSERT_TRUE(
      RunUserArticleImport(m_import, m_folder.WriteFile("prices.txt", "Q123;Imported;12,5\n"))
          .changed);
  // The reader takes only tables named .dbf.
  std::filesystem::copy_file(m_folder.File("ARTICLE.DBU"), m_folder.File("copy.dbf"));
  const std::string command = "/usr/bin/dbfdump " + m_folder.File("copy.dbf");
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string dump;
  std::array<char, 256> buffer{};
  while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe)) dump += buffer.data();
  pclose(pipe);
  EXPECT_NE(dump.find("Imported"), std::string::npos) << dump;
  EXPECT_NE(dump.find("12.50"), std::string::npos) << dump;
  EXPECT_NE(dump.find("QNEW"), std::string::npos) << dump;  // the other article is kept
}

TEST_F(UserArticleDamagedTest, TheLookUpIsMadeAnewAndFailsWithoutATable) {
  EXPECT_EQ(CreateUserArticleIndex(m_folder.Folder()), 0);
  std::filesystem::remove(m_folder.File("ARTICLE.DBU"));
  std::string error;
  EXPECT_EQ(CreateUserArticleIndex(m_folder.Folder(), &error), -1);
  EXPECT_FALSE(error.empty());
}

}  // namespace
