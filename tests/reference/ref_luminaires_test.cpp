#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/dbf_table.h"
#include "reference/ref_luminaire_rows.h"
#include "reference/ref_luminaires.h"
#include "support/temp_folder.h"

namespace {

using Row = std::array<const char*, 3>;

// A REF_LUM.DBF of the rows in a fresh folder.
class LumFolder {
 public:
  explicit LumFolder(const std::vector<Row>& rows) {
    tvr::platform::CDbfTable table;
    EXPECT_TRUE(table.Create(m_folder.File("REF_LUM.DBF"),
                             {{"TYP", 'C', 10}, {"VAL", 'C', 10}, {"R", 'C', 120}}));
    for (const Row& row : rows) {
      EXPECT_TRUE(table.Append());
      for (int field = 0; field < 3; ++field) table.Assign(field, row[field]);
    }
    EXPECT_TRUE(table.Close());
  }
  std::string Folder() const { return m_folder.Folder(); }

 private:
  CTempFolder m_folder{"lum"};
};

std::vector<Row> Head(const char* range, const char* name) {
  return {{"LUM", range, name},
          {"REF", "", "QYL1"},
          {"FLUX", "5200", ""},
          {"CLASSE", "72.5", "C"},
          {"DIST", "1.25", ""}};
}

std::vector<Row> operator+(std::vector<Row> a, const std::vector<Row>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<Row> kTwoBlocks = {
    {"J", "0", "751/331"}, {"K", "1", "50/40"}, {"J", "0.3", "751/331"}, {"K", "1", "45/35"}};

std::string Lookup(int number) { return "<" + std::to_string(number) + ">"; }

TEST(LuminaireCatalogueTest, ListsNamedLuminairesButQyx) {
  LumFolder folder(Head("QYA", "A") + kTwoBlocks + Head("QYX", "X") + kTwoBlocks + Head("QYB", "") +
                   Head("QYB", "B"));
  const std::vector<CLuminaireType> types = LoadLuminaireTypes(folder.Folder());
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].name, "A");
  EXPECT_EQ(types[0].record, 1u);
  EXPECT_EQ(types[1].name, "B");
  EXPECT_EQ(types[1].record, 24u);
  EXPECT_TRUE(LoadLuminaireTypes("/nonexistent/").empty());
}

TEST(LuminaireCatalogueTest, ReadsHeadBlocksAndDescription) {
  LumFolder folder(Head("QYA", "A") + kTwoBlocks +
                   std::vector<Row>{{"MSG", "", "MSG31000 x MSG12345 MSG3"},
                                    {"TUBE", "", "T8"},
                                    {"OTHER", "", "ignored"},
                                    {"BMP", "", "PIC"},
                                    {"LUM", "QYA", "Next"}});
  const auto lum = ReadLuminaireRecord(folder.Folder(), 1, "A", Lookup);
  ASSERT_TRUE(lum);
  EXPECT_EQ(lum->reference, "QYL1");
  EXPECT_EQ(lum->flux, 5200);
  EXPECT_EQ(lum->efficiency, 72500);
  EXPECT_EQ(lum->photometricClass, "C");
  EXPECT_EQ(lum->spacingRatio, 1250);
  EXPECT_EQ(lum->blockCount, 2);
  EXPECT_EQ(lum->table[1][0][0], 300);
  EXPECT_EQ(lum->table[1][0][2], 331);
  EXPECT_EQ(lum->table[1][1][1], 45);
  EXPECT_EQ(lum->table[1][1][3], -1);
  EXPECT_EQ(lum->table[2][0][0], -1);
  EXPECT_EQ(lum->description, "<31000> x MSG12345 MSG3");
  EXPECT_EQ(lum->tube, "T8");
  EXPECT_EQ(lum->picturePath, folder.Folder() + "PIC.BMP");
}

TEST(LuminaireCatalogueTest, RejectsBrokenLuminaires) {
  const std::vector<Row> swapped = {{"LUM", "QYA", "A"},
                                    {"FLUX", "1", ""},
                                    {"REF", "", "R"},
                                    {"CLASSE", "1", ""},
                                    {"DIST", "1", ""}};
  struct {
    const char* what;
    std::vector<Row> rows;
    std::uint32_t record;
    const char* name;
  } const cases[] = {
      {"rows out of order", swapped + kTwoBlocks, 1, "A"},
      {"one block", Head("QYA", "A") + std::vector<Row>{{"J", "0", "751"}, {"K", "1", "5"}}, 1,
       "A"},
      {"name differs", Head("QYA", "A") + kTwoBlocks, 1, "B"},
      {"not a LUM row", Head("QYA", "A") + kTwoBlocks, 2, "A"},
      {"record beyond the table", Head("QYA", "A") + kTwoBlocks, 99, "A"},
      {"record 0", Head("QYA", "A") + kTwoBlocks, 0, "A"},
      {"table cut in the head", {{"LUM", "QYA", "A"}, {"REF", "", "R"}}, 1, "A"},
  };
  for (const auto& c : cases) {
    LumFolder folder(c.rows);
    EXPECT_FALSE(ReadLuminaireRecord(folder.Folder(), c.record, c.name, Lookup)) << c.what;
  }
}

TEST(LuminaireCatalogueTest, BlockBoundsAndStrayRows) {
  std::vector<Row> rows = Head("QYA", "A") + std::vector<Row>{{"K", "9", "9"}};  // before any J
  rows.push_back({"J", "0", "1/2/3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/18/19/20/21/22"});
  for (int i = 0; i < 22; ++i) rows.push_back({"K", "1", "abc/7"});
  for (const char* j : {"0.1", "0.2", "0.3", "0.4"}) rows.push_back({"J", j, "751"});
  rows.push_back({"K", "2", "66"});
  rows.push_back({"MSG", "", "after the blocks"});
  LumFolder folder(rows);
  const auto lum = ReadLuminaireRecord(folder.Folder(), 1, "A", Lookup);
  ASSERT_TRUE(lum);
  EXPECT_EQ(lum->blockCount, 4);
  EXPECT_EQ(lum->table[0][0][20], 20);  // at most 20 codes
  EXPECT_EQ(lum->table[0][20][1], 0);   // a word reads as 0
  EXPECT_EQ(lum->table[0][20][2], 7);
  EXPECT_EQ(lum->table[3][0][0], 300);  // the fifth J ended the table
  EXPECT_EQ(lum->table[3][1][0], -1);   // and its K row was no table row
  EXPECT_EQ(lum->description, "after the blocks");
}

TEST(LuminaireCatalogueTest, SampleCatalogue) {
  const std::string folder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  const std::vector<CLuminaireType> types = LoadLuminaireTypes(folder);
  ASSERT_EQ(types.size(), 3u);
  for (const CLuminaireType& type : types)
    EXPECT_TRUE(ReadLuminaireRecord(folder, type.record, type.name, Lookup)) << type.name;
}

TEST(LuminaireCatalogueTest, FixingCodes) {
  const std::string folder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  EXPECT_EQ(LuminaireFixingCode(folder, "QYL236E"), 0x10000 | 2);  // REF1 "QYL236E+..."
  EXPECT_EQ(LuminaireFixingCode(folder, "QYL158R"), 0x20000 | 3);  // REF2
  EXPECT_EQ(LuminaireFixingCode(folder, "QYL236"), 0);             // a prefix only
  EXPECT_EQ(LuminaireFixingCode(folder, ""), 0);
  EXPECT_EQ(LuminaireFixingCode("/nonexistent/", "QYL236E"), 0);
}

TEST(LuminaireCatalogueTest, FixingCodeCutsOnlyAPlusAfterTheReference) {
  CTempFolder folder("coff");
  tvr::platform::CDbfTable table;
  ASSERT_TRUE(table.Create(folder.File("REF_COFF.DBF"),
                           {{"FCT", 'N', 3}, {"REF1", 'C', 30}, {"REF2", 'C', 30}}));
  const std::array<std::array<const char*, 3>, 3> rows = {
      {{"5", "+QYL9", ""}, {"0", "QYL7+X", ""}, {"8", "QYL70", "+QYL9"}}};
  for (const auto& row : rows) {
    ASSERT_TRUE(table.Append());
    for (int field = 0; field < 3; ++field) table.Assign(field, row[field]);
  }
  ASSERT_TRUE(table.Close());
  EXPECT_EQ(LuminaireFixingCode(folder.Folder(), "+QYL9"), 0x10000 | 4);  // compared whole
  EXPECT_EQ(LuminaireFixingCode(folder.Folder(), "QYL7"), 0);             // FCT 0 names no fixing
  EXPECT_EQ(LuminaireFixingCode(folder.Folder(), "QYL70"), 0x10000 | 7);
}

TEST(LuminaireRowsTest, SampleDescriptionsAndBallastOptions) {
  const std::string folder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  const CLuminaireDescriptions found = LuminaireDescriptions(folder, "", 21, Lookup);
  ASSERT_EQ(found.texts.size(), 2u);  // the QYX strip is not offered
  EXPECT_EQ(found.texts[0], "Réglette ouverte, blanche");
  EXPECT_EQ(found.texts[1], "Réflecteur pour <32276>");
  EXPECT_EQ(found.chosen, 0);  // record 21 is the dimmable batten
  const std::vector<CLuminaireRow> rows = LuminaireRows(folder, found.texts[0], "", Lookup);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].record, 1u);
  EXPECT_EQ(rows[0].secondRecord, 21u);
  EXPECT_EQ(rows[0].ballast, "Électronique");
  EXPECT_EQ(rows[0].secondBallast, "Gradable");
  EXPECT_TRUE(LuminaireDescriptions(folder, "QYB", 0, Lookup).texts.size() == 1u);
}

TEST(LuminaireRowsTest, AtMostTenRowsAndASecondBallastNeedsTheSameLamp) {
  std::vector<Row> rows;
  for (int i = 0; i < 12; ++i) {
    rows.push_back({"LUM", "QYA", "L"});
    rows.push_back({"MSG", "", "Same"});
    rows.push_back({"TUBE", "", i == 1 ? "T5" : "T8"});
    rows.push_back({"BALLAST", i == 1 ? "/" : "", "B"});
  }
  LumFolder folder(rows);
  const std::vector<CLuminaireRow> found = LuminaireRows(folder.Folder(), "Same", "", Lookup);
  ASSERT_EQ(found.size(), 10u);
  EXPECT_EQ(found[0].secondRecord, 0u);  // the second has another lamp: a row of its own
  EXPECT_EQ(found[1].record, 5u);
  EXPECT_EQ(found[9].record, 37u);
}

}  // namespace
