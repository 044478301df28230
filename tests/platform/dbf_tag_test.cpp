#include "platform/dbf_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "platform/db_field.h"
#include "support/case_table.h"
#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

// An article-like table: REFERENCE, DESIGN_1, in this physical order.
class DbfTagTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = m_folder.File("ARTICLE.DBU");
    CDbfTable table;
    ASSERT_TRUE(table.Create(m_path, {{"REFERENCE", 'C', 20, 0}, {"DESIGN_1", 'C', 30, 0}}));
    for (const auto& [reference, design] : kRows) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, reference);
      table.Assign(1, design);
    }
    ASSERT_TRUE(table.Close()) << table.Error();
  }

  void OpenWithTag(CDbfTable& table, CDbfTable::Mode mode = CDbfTable::Mode::ReadOnly) {
    ASSERT_TRUE(table.Open(m_path, mode)) << table.Error();
    ASSERT_TRUE(table.AddTag("TAG_REF", "REFERENCE")) << table.Error();
    ASSERT_TRUE(table.SelectTag("tag_ref"));
  }

  static inline const std::vector<std::pair<std::string, std::string>> kRows = {
      {"QDA200", "straight 2 m"},     {"PRICE_LIST_10", "tenth list"},
      {"PRICE_LIST_1", "first list"}, {"ÉLÉMENT", "accented key"},
      {"QDA100", "straight 1 m"},     {"QDA100", "second copy"},
      {"élément", "lower accented"},
  };
  CTempFolder m_folder{"dbf-tag"};
  std::string m_path;
};

TEST_F(DbfTagTest, SeekFindsKeysAndTellsMisses) {
  CDbfTable table;
  OpenWithTag(table);
  for (const CCaseRow& row : ReadCaseTable("platform/dbf_tag_seek.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const int result = row[1] == "hit"     ? CDbfTable::kSeekHit
                       : row[1] == "after" ? CDbfTable::kSeekAfter
                                           : CDbfTable::kSeekEof;
    EXPECT_EQ(table.Seek(row[0]), result);
    EXPECT_EQ(table.AtEnd() ? "" : table.FieldText(1), row[2]);
  }
}

TEST_F(DbfTagTest, WalksInKeyOrderAfterFirstAndAfterASeek) {
  CDbfTable table;
  OpenWithTag(table);
  std::vector<std::string> order;
  for (bool on = table.First(); on; on = table.Next()) order.push_back(table.FieldText(0));
  // CP850 bytes: 'P' < 'Q' < 0x82 ('é') < 0x90 ('É')
  const std::vector<std::string> expected = {"PRICE_LIST_1", "PRICE_LIST_10", "QDA100", "QDA100",
                                             "QDA200",       "élément",       "ÉLÉMENT"};
  EXPECT_EQ(order, expected);
  ASSERT_EQ(table.Seek("QDA100"), CDbfTable::kSeekHit);
  ASSERT_TRUE(table.Next());
  EXPECT_EQ(table.FieldText(1), "second copy");
  ASSERT_TRUE(table.Next());
  EXPECT_EQ(table.FieldText(0), "QDA200");
  // GoTo keeps the tag order for the following Next
  ASSERT_TRUE(table.GoTo(3));
  ASSERT_TRUE(table.Next());
  EXPECT_EQ(table.FieldText(0), "PRICE_LIST_10");
  // back to physical order
  ASSERT_TRUE(table.SelectTag(""));
  ASSERT_TRUE(table.First());
  EXPECT_EQ(table.FieldText(0), "QDA200");
}

TEST_F(DbfTagTest, ChangedKeysAreFoundAfterTheChange) {
  CDbfTable table;
  OpenWithTag(table, CDbfTable::Mode::ReadWrite);
  ASSERT_EQ(table.Seek("QDA200"), CDbfTable::kSeekHit);
  CDbField reference(table, "REFERENCE");
  EXPECT_EQ(reference.Assign("AAA"), CDbfTable::kAssignDone);
  EXPECT_EQ(table.Seek("QDA200"), CDbfTable::kSeekAfter);
  ASSERT_EQ(table.Seek("AAA"), CDbfTable::kSeekHit);
  EXPECT_EQ(table.FieldText(1), "straight 2 m");
  ASSERT_TRUE(table.Append());
  reference.Assign("ZZZ");
  ASSERT_EQ(table.Seek("ZZZ"), CDbfTable::kSeekHit);
  EXPECT_EQ(table.RecNo(), 8u);
}

TEST_F(DbfTagTest, AccentedKeysWrittenBackAreStillFound) {
  {
    CDbfTable table;
    OpenWithTag(table, CDbfTable::Mode::ReadWrite);
    ASSERT_EQ(table.Seek("ÉLÉMENT"), CDbfTable::kSeekHit);
    CDbField design(table, "DESIGN_1");
    EXPECT_EQ(design.Assign("Té de dérivation"), CDbfTable::kAssignDone);
    ASSERT_TRUE(table.Close()) << table.Error();
  }
  CDbfTable table;
  OpenWithTag(table);
  ASSERT_EQ(table.Seek("ÉLÉMENT"), CDbfTable::kSeekHit);
  EXPECT_EQ(FieldText(CDbField(table, "DESIGN_1")), "Té de dérivation");
}

TEST_F(DbfTagTest, TagsAreNamedAndCheckedWhenAdded) {
  CDbfTable table;
  ASSERT_TRUE(table.Open(m_path));
  EXPECT_EQ(table.Seek("QDA100"), CDbfTable::kSeekNoTag);
  EXPECT_EQ(table.SelectTagByName(""), "");
  EXPECT_FALSE(table.AddTag("TAG_X", "NO_FIELD"));
  EXPECT_NE(table.Error().find("NO_FIELD"), std::string::npos);
  ASSERT_TRUE(table.AddTag("TAG_REF", "REFERENCE"));
  ASSERT_TRUE(table.AddTag("TAG_BOTH", "DESIGN_1 + REFERENCE"));
  EXPECT_FALSE(table.AddTag("tag_ref", "DESIGN_1"));
  EXPECT_EQ(table.SelectTagByName(""), "TAG_REF");  // none selected: the first
  EXPECT_EQ(table.SelectTagByName("tag_both"), "TAG_BOTH");
  EXPECT_EQ(table.SelectTagByName("TAG_NONE"), "");
  EXPECT_FALSE(table.SelectTag("TAG_NONE"));
  ASSERT_TRUE(table.SelectTag("TAG_BOTH"));
  EXPECT_EQ(table.SelectedTag(), "TAG_BOTH");
  EXPECT_EQ(table.SelectTagByName(""), "TAG_BOTH");
  ASSERT_TRUE(table.First());
  EXPECT_EQ(table.FieldText(1), "accented key");
}

TEST_F(DbfTagTest, AnEmptyTableSeeksToTheEnd) {
  CDbfTable table;
  ASSERT_TRUE(table.Create(m_folder.File("empty.dbf"), {{"REFERENCE", 'C', 5, 0}}));
  ASSERT_TRUE(table.AddTag("TAG_REF", "REFERENCE"));
  ASSERT_TRUE(table.SelectTag("TAG_REF"));
  EXPECT_EQ(table.Seek("A"), CDbfTable::kSeekEof);
  EXPECT_FALSE(table.First());
  EXPECT_TRUE(table.AtEnd());
}

// Random keys over a small alphabet, half of them beginning alike, so that many share
// their first 8 or 16 bytes or are equal:
// the order and every seek must be those of a stable sort and a plain binary search on
// the whole key, for keys shorter and longer than 8 bytes and keys of two fields.
TEST_F(DbfTagTest, OrderAndSeeksMatchAPlainSortOfTheWholeKeys) {
  struct Shape {
    int first;
    int second;
  };
  for (const Shape shape :
       {Shape{3, 0}, Shape{8, 0}, Shape{12, 0}, Shape{20, 0}, Shape{6, 5}, Shape{9, 14}}) {
    SCOPED_TRACE(std::to_string(shape.first) + "+" + std::to_string(shape.second));
    std::mt19937 random(static_cast<unsigned>(shape.first * 31 + shape.second));
    auto text = [&](int length) {
      std::string value(
          static_cast<std::size_t>(std::uniform_int_distribution<int>(0, length)(random)), 'A');
      for (char& c : value) c = "AB "[random() % 3];
      if (random() % 2 == 0) value.replace(0, std::min<std::size_t>(value.size(), 16), 16, 'A');
      return value.substr(0, static_cast<std::size_t>(length));
    };
    CDbfTable table;
    const std::string path = m_folder.File("random" + std::to_string(shape.first) + ".dbf");
    std::vector<DbfFieldInfo> fields = {{"A", 'C', shape.first, 0}};
    if (shape.second > 0) fields.push_back({"B", 'C', shape.second, 0});
    ASSERT_TRUE(table.Create(path, fields));
    for (int i = 0; i < 3000; ++i) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, text(shape.first));
      if (shape.second > 0) table.Assign(1, text(shape.second));
    }
    ASSERT_TRUE(table.Close());
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.AddTag("T", shape.second > 0 ? "A+B" : "A"));
    ASSERT_TRUE(table.SelectTag("T"));
    std::vector<std::string> keys(table.RecordCount() + 1);
    for (std::uint32_t recno = 1; recno <= table.RecordCount(); ++recno) {
      keys[recno] =
          std::string(table.FieldBytesAt(recno, 0)) + std::string(table.FieldBytesAt(recno, 1));
    }
    std::vector<std::uint32_t> expected(table.RecordCount());
    std::iota(expected.begin(), expected.end(), 1u);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](auto a, auto b) { return keys[a] < keys[b]; });
    std::vector<std::uint32_t> order;
    for (bool on = table.First(); on; on = table.Next()) order.push_back(table.RecNo());
    ASSERT_EQ(order, expected);
    for (int i = 0; i < 500; ++i) {
      const std::string key = text(shape.first + shape.second + 2);
      const auto at = std::lower_bound(
          expected.begin(), expected.end(), key,
          [&](std::uint32_t recno, const std::string& k) { return keys[recno] < k; });
      const int result = table.Seek(key);
      if (at == expected.end()) {
        EXPECT_EQ(result, CDbfTable::kSeekEof) << key;
        continue;
      }
      EXPECT_EQ(table.RecNo(), *at) << key;
      EXPECT_EQ(result, keys[*at].starts_with(key) ? CDbfTable::kSeekHit : CDbfTable::kSeekAfter)
          << key;
    }
  }
}

}  // namespace
}  // namespace tvr::platform
