#include <gtest/gtest.h>

#include "app/article_table.h"
#include "app/user_article_import.h"
#include "platform/code_page.h"
#include "platform/dbf_table.h"
#include "platform/text_encoding.h"
#include "support/temp_folder.h"

using tvr::platform::CDbfTable;

namespace {

// Texts of the user's files that are not plain ASCII: widths counted in the file's own
// characters, and designations that the article table's code page (CP850) cannot hold.
class UserArticleImportTextTest : public testing::Test {
 protected:
  void SetUp() override {
    CDbfTable table;
    ASSERT_TRUE(table.Create(m_folder.File("ARTICLE.DBU"), {{"REFERENCE", 'C', 22, 0},
                                                            {"DESIGN_1", 'C', 32, 0},
                                                            {"PRIX_1", 'N', 12, 2},
                                                            {"LOCAL", 'C', 1, 0},
                                                            {"QTE_INDIV", 'N', 6, 0}}));
    for (const char* reference : {"Q123", "QNEW"}) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, reference);
      table.Assign(1, "Old");
      table.Assign(2, "1");
    }
    ASSERT_TRUE(table.Close());
    m_import.articleFolder = m_folder.Folder();
  }

  // designation|PRIX_1 of the article as stored, trimmed.
  std::string Article(const std::string& reference) {
    CDbfTable table;
    if (!OpenArticleTable(table, m_folder.Folder(), CDbfTable::Mode::ReadOnly)) return "no table";
    if (!SeekArticle(table, reference)) return "missing";
    return table.FieldText(table.FieldIndex("DESIGN_1")) + "|" +
           table.FieldText(table.FieldIndex("PRIX_1"));
  }

  // A fixed-width record in the ANSI code page: 105 bytes, whatever its designation.
  static std::string Fixed(const std::string& reference, const std::string& designation,
                           const std::string& price) {
    std::string bytes(105, ' ');
    bytes.replace(0, 2, "TE");
    bytes.replace(2, reference.size(), reference);
    const std::string ansi = tvr::platform::ToAnsi(designation);
    bytes.replace(23, ansi.size(), ansi);
    bytes.replace(56, price.size(), price);
    bytes[65] = 'U';
    return bytes;
  }

  static std::string Utf16File(const std::string& ansi) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : tvr::platform::Utf8ToUtf16(tvr::platform::FromAnsi(ansi))) {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
  }

  CTempFolder m_folder{"article-text"};
  CUserArticleImport m_import;
};

TEST_F(UserArticleImportTextTest, FixedWidthsCountTheFilesOwnCharacters) {
  const std::string accented = Fixed("Q123", "Câble 3 m", "000000012");
  const std::string plain = Fixed("QNEW", "Straight", "000000034");
  const struct {
    const char* guards;
    std::string bytes;
  } rows[] = {
      {"an accented first line makes the file fixed-width", accented + "\r\n" + plain + "\r\n"},
      {"an accented line further down is taken", plain + "\r\n" + accented + "\r\n"},
      {"a UTF-16 file counts its characters too", Utf16File(accented + "\r\n" + plain)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    SetUp();
    const std::string path = m_folder.WriteFile("prices.txt", row.bytes);
    ASSERT_EQ(UserArticleFileKind(path), EUserArticleFile::kFixedWidth);
    CRefusedArticleLines refused;
    EXPECT_TRUE(ImportFixedWidthArticles(m_import, path, &refused));
    EXPECT_TRUE(refused.empty());
    EXPECT_EQ(Article("Q123"), "Câble 3 m|12");
    EXPECT_EQ(Article("QNEW"), "Straight|34");
  }
  // A record one character too long is still refused, accent or not.
  const std::string path = m_folder.WriteFile("prices.txt", plain + "\r\n" + accented + "é\r\n");
  CRefusedArticleLines refused;
  EXPECT_TRUE(ImportFixedWidthArticles(m_import, path, &refused));
  EXPECT_EQ(refused, (CRefusedArticleLines{{2, EArticleRefusal::kBadWidth}}));
}

TEST_F(UserArticleImportTextTest, DesignationsTheTableCannotHoldAreRefusedNotChanged) {
  // CP850 has no euro, no œ and no typographic quotes.
  for (const char* designation : {"Prix €", "Cœur", "“Boîte”"}) {
    SCOPED_TRACE(designation);
    SetUp();
    const std::string delimited = m_folder.WriteFile(
        "prices.csv", tvr::platform::ToAnsi(std::string("Q123;") + designation + ";5\r\n"));
    CRefusedArticleLines refused;
    // The line is refused whole, by the reason: its price is not taken without it.
    EXPECT_FALSE(ImportUserArticles(m_import, delimited, &refused));
    EXPECT_EQ(refused, (CRefusedArticleLines{{1, EArticleRefusal::kNotInCodePage}}));
    EXPECT_EQ(Article("Q123"), "Old|1");
    refused.clear();
    const std::string fixed =
        m_folder.WriteFile("prices.txt", Fixed("QNEW", designation, "000000007") + "\r\n");
    EXPECT_TRUE(ImportFixedWidthArticles(m_import, fixed, &refused));
    EXPECT_EQ(refused, (CRefusedArticleLines{{1, EArticleRefusal::kNotWritten}}));
    EXPECT_EQ(Article("QNEW"), "Old|7");
  }
}

}  // namespace
