#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/bom/bom_test_support.h"
#include "support/archive_bytes.h"
#include "support/golden_file.h"
#include "grid/grid_cell_format.h"
#include "platform/archive.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_record.h"
#include "model/bom/bom_stored_fonts.h"
#include "model/run/run_factory.h"
#include "model/run/run_range_rules.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class BOMArchiveTest : public BOMTestBase {
 protected:
  void SetUp() override { BOMTestBase::SetUp(); }

  static Bytes Stored(const CBOMGrid& grid) {
    CArchiveWriter writer;
    grid.Serialize(writer);
    return writer.Bytes();
  }

  // A run page whose lines the source re-created in the given order.
  std::unique_ptr<CBOMGrid> Page(const std::vector<std::string>& references) {
    return MakeBOMPage(source, references);
  }

  static void Load(CBOMGrid& grid, const Bytes& bytes, int version = 10000) {
    CArchiveReader reader(bytes);
    grid.Serialize(reader, version);
    EXPECT_TRUE(reader.AtEnd());
  }

  CFakeBOMSource source;
};

TEST_F(BOMArchiveTest, PinsTheBytesOfASmallGrid) {
  const auto grid = Page({"R1"});
  const Bytes expected = ReadGoldenBytes("model/small_bom_grid.hex");
  EXPECT_EQ(Stored(*grid), expected);
}

TEST_F(BOMArchiveTest, CellColoursAndFontsFollowTheirFlags) {
  const auto grid = Page({"R1"});
  const CLogFont font{.height = -13, .weight = 700, .faceName = "Liberation Sans"};
  grid->SetCellTextColor(1, 2, CColor{0x11, 0x22, 0x33});
  grid->SetCellFont(1, 2, font);
  const Bytes bytes = Stored(*grid);
  const Bytes before = Stored(*Page({"R1"}));
  // The cell block of (1, 2) grows by the colour and the font.
  ASSERT_EQ(bytes.size(), before.size() + 4 + 92);
  const Bytes block = {0x01, 0x01, 0x01, 0x11, 0x22, 0x33, 0x00, 0x01};
  const auto at = std::search(bytes.begin(), bytes.end(), block.begin(), block.end());
  ASSERT_NE(at, bytes.end());
  const CBOMStoredFonts::Bytes encoded = CBOMStoredFonts::Encode(font);
  EXPECT_TRUE(std::equal(encoded.begin(), encoded.end(), at + 8));
}

// The golden grid holds a unit price and an "E-number" column of their own alignment,
// export flags and width, a row height, a cell colour, fixed column widths, a rectangle
// and view angles.
TEST_F(BOMArchiveTest, RoundTripKeepsLayoutFormatsAndBytes) {
  const Bytes bytes = ReadGoldenBytes("model/bom_grid_formats.bin");
  auto reloaded = Page({"R1", "R2 \nGroup=3a", "R3"});
  Load(*reloaded, bytes);
  // Written again, the reloaded grid gives the same bytes: every stored item was read.
  EXPECT_EQ(Stored(*reloaded), bytes);
  EXPECT_EQ(*reloaded->GetColumn(3), (CBOMColumn{"MSG_7512", 3, kBOMKindUnitPrice, 2, true, 1, 1}));
  EXPECT_EQ(reloaded->GetColumn(4)->title, "E-number");  // a kind without default title
  EXPECT_EQ(reloaded->GetColumnWidth(3), 140);
  EXPECT_EQ(reloaded->GetCellTextColor(2, 3), (CColor{1, 2, 3}));
  EXPECT_EQ(reloaded->GetViewAngles(), (std::array<std::int32_t, 3>{15, -60, 5}));
  EXPECT_EQ(reloaded->GetCellText(2, 1), "A.2.1");
}

TEST_F(BOMArchiveTest, ReloadingKeepsTheStoredLineOrder) {
  auto grid = Page({"R1", "R2", "R3", "R4"});
  grid->PutRowHeight(3, 41);  // R3's row
  grid->SetCellFont(3, 2, CLogFont{.faceName = "Mono"});
  const Bytes bytes = Stored(*grid);

  auto reloaded = Page({"R4", "R3", "R1", "R2"});  // the run re-created them in its own order
  Load(*reloaded, bytes);
  EXPECT_EQ(BOMReferences(*reloaded), (std::vector<std::string>{"R1", "R2", "R3", "R4"}));
  EXPECT_EQ(reloaded->GetRowHeight(3), 41);
  EXPECT_EQ(reloaded->GetCellLogFont(3, 2).faceName, "Mono");
  EXPECT_EQ(reloaded->GetCellText(3, 2), "R3");
  EXPECT_EQ(reloaded->FindLine("R3"), 3);
}

TEST_F(BOMArchiveTest, LinesGoneOrNewSinceTheSaveAreHandled) {
  auto grid = Page({"R1", "R2"});
  grid->PutRowHeight(2, 47);  // R2, which will be gone
  grid->SetCellTextColor(2, 2, CColor{9, 9, 9});
  const Bytes bytes = Stored(*grid);

  auto reloaded = Page({"R5", "R1"});  // R5 is new, R2 gone
  Load(*reloaded, bytes);
  EXPECT_EQ(BOMReferences(*reloaded), (std::vector<std::string>{"R1", "R5"}));
  EXPECT_EQ(reloaded->GetRowHeight(0), 47);  // R2's formats went to the title row
  EXPECT_EQ(reloaded->GetCellTextColor(0, 2), (CColor{9, 9, 9}));
}

// A range whose pages may show unit weights.
class CWeightRules : public CRunRangeRules {
 public:
  bool ShowsUnitWeights() const override { return true; }
};

TEST_F(BOMArchiveTest, TheTransientWeightColumnLeavesNoTrace) {
  const CWeightRules rules;
  CRunFactory::Instance().SetRules("QT", &rules);
  source.catalog = "QTA";
  auto grid = Page({"R1"});
  grid->InsertColumn(2, kBOMKindComment, "Comment");
  const Bytes without = Stored(*grid);
  grid->UpdateWeightColumn();
  ASSERT_EQ(grid->GetColumnCount(), 5);
  grid->SetCellFont(1, 4, CLogFont{});
  grid->SetCellTextColor(0, 4, CColor{255, 0, 0});
  EXPECT_EQ(Stored(*grid), without);

  auto reloaded = Page({"R1"});
  Load(*reloaded, without);
  EXPECT_EQ(reloaded->GetColumnCount(), 4);
  CRunFactory::Instance().Reset();
}

TEST_F(BOMArchiveTest, TheFixedColumnsAreAlwaysStored) {
  auto grid = Page({"R1"});
  const Bytes normal = Stored(*grid);
  grid->GetColumn(0)->excelFlag = -1;  // not a state the program makes; a reader needs both
  const Bytes bytes = Stored(*grid);
  EXPECT_EQ(bytes[0], 3);
  auto reloaded = Page({"R1"});
  Load(*reloaded, bytes);
  EXPECT_EQ(reloaded->GetColumnCount(), 3);
  EXPECT_EQ(bytes.size(), normal.size());
}

// A column stored with the transient mark was read but never written again: it was gone
// after the next save and from every undo snapshot.
TEST_F(BOMArchiveTest, AStoredTransientColumnIsRefused) {
  const struct {
    int flag;
    bool refused;
  } rows[] = {{0, false}, {1, false}, {-1, true}, {-128, true}};
  for (const auto& row : rows) {
    auto grid = Page({"R1"});
    grid->InsertColumn(2, kBOMKindComment, "Marked");
    Bytes bytes = Stored(*grid);
    // After the title: position, kind and alignment (two bytes each), the auto width flag.
    const Bytes title = HexBytes("FFFEFF06 4D0061007200 6B0065006400");
    const auto at = std::search(bytes.begin(), bytes.end(), title.begin(), title.end());
    ASSERT_NE(at, bytes.end());
    *(at + static_cast<std::ptrdiff_t>(title.size()) + 7) = static_cast<std::uint8_t>(row.flag);
    auto reloaded = Page({"R1"});
    CArchiveReader reader(bytes);
    if (row.refused) {
      EXPECT_THROW(reloaded->Serialize(reader, 10000), CArchiveError) << row.flag;
      EXPECT_EQ(reloaded->GetColumnCount(), 3) << "nothing taken from the refused record";
      continue;
    }
    ASSERT_NO_THROW(reloaded->Serialize(reader, 10000)) << row.flag;
    auto again = Page({"R1"});
    Load(*again, Stored(*reloaded));
    ASSERT_EQ(again->GetColumnCount(), 4) << "written back as read";
    EXPECT_EQ(again->GetColumn(3)->excelFlag, row.flag);
  }
}

// Each older form of the record; its font face fills all 32 characters, which a save
// once cut to 31.
TEST_F(BOMArchiveTest, OlderVersionsLoad) {
  const struct {
    int version;
    const char* file;
    bool rectangle, angles;
  } cases[] = {
      {489, "model/bom_grid_489.hex", false, false}, {490, "model/bom_grid_490.hex", true, false},
      {510, "model/bom_grid_490.hex", true, false},  {511, "model/bom_grid_511.hex", true, false},
      {512, "model/bom_grid_512.hex", true, true},   {623, "model/bom_grid_512.hex", true, true}};
  for (const auto& c : cases) {
    auto grid = Page({"R1"});
    Load(*grid, ReadGoldenBytes(c.file), c.version);
    EXPECT_EQ(grid->GetLogFont().faceName, "Arial\xC3\xA9" + std::string(26, 'x')) << c.version;
    EXPECT_EQ(grid->GetDefaultLogFont().height, -12) << c.version;
    EXPECT_EQ(grid->GetTextColor(), (CColor{0x30, 0x20, 0x10})) << c.version;
    EXPECT_FALSE(grid->GetDefaultAutoColumnWidth());
    EXPECT_EQ(grid->GetColumn(1)->alignment, 0);  // the item column is always left
    EXPECT_EQ(grid->GetColumn(2)->title, "MSG_7512");
    EXPECT_EQ(grid->GetColumnWidth(2), 70);
    EXPECT_EQ(grid->GetCellLogFont(0, 2).faceName, "Face");
    EXPECT_EQ(grid->GetCellLogFont(0, 2).height, -20);
    EXPECT_FALSE(grid->GetLine(1)->autoRowHeight);
    EXPECT_EQ(grid->GetRowHeight(1), 23);
    const std::array<std::int32_t, 4> rectangle =
        c.rectangle ? std::array<std::int32_t, 4>{1, 2, 3, 4} : std::array<std::int32_t, 4>{};
    const std::array<std::int32_t, 3> angles =
        c.angles ? std::array<std::int32_t, 3>{7, 8, 9} : std::array<std::int32_t, 3>{-30, -45, 0};
    EXPECT_EQ(grid->GetRectangle(), rectangle) << c.version;
    EXPECT_EQ(grid->GetViewAngles(), angles) << c.version;
    auto again = Page({"R1"});
    Load(*again, Stored(*grid));
    EXPECT_EQ(again->GetLogFont().faceName, grid->GetLogFont().faceName) << c.version;
    EXPECT_EQ(Stored(*again), Stored(*grid)) << c.version;
  }
}

TEST_F(BOMArchiveTest, StoredFontsAreWrittenBackByteForByte) {
  auto grid = Page({"R1"});
  Bytes bytes = Stored(*grid);
  // The grid font's face: "Sys", its terminator, then what a C library leaves behind.
  const std::size_t face = 4 + 28;
  const Bytes junk = {0x53, 0x00, 0x79, 0x00, 0x73, 0x00, 0x00, 0x00, 0x7A, 0x00, 0x41, 0x42};
  std::copy(junk.begin(), junk.end(), bytes.begin() + static_cast<std::ptrdiff_t>(face));
  auto reloaded = Page({"R1"});
  Load(*reloaded, bytes);
  EXPECT_EQ(reloaded->GetLogFont().faceName, "Sys");
  EXPECT_EQ(Stored(*reloaded), bytes);
  // A font changed since is written in its own form.
  CLogFont changed = reloaded->GetLogFont();
  changed.weight = 700;
  reloaded->SetDefaultLogFont(changed);
  const Bytes rewritten = Stored(*reloaded);
  EXPECT_EQ(rewritten[face + 6], 0x00);
  EXPECT_EQ(rewritten[face + 8], 0x00);
}

TEST_F(BOMArchiveTest, TheLanguageFontIsNotStored) {
  auto grid = Page({"R1"});
  grid->SetDefaultLogFont(CLogFont{.faceName = "User"});
  grid->SetLogFont(CLogFont{.faceName = "Language"});
  grid->SetIgnoreOwnFonts(true);
  const Bytes translated = Stored(*grid);
  grid->SetIgnoreOwnFonts(false);
  auto reloaded = Page({"R1"});
  Load(*reloaded, translated);
  EXPECT_EQ(reloaded->GetLogFont().faceName, "User");
  Load(*reloaded, Stored(*grid));
  EXPECT_EQ(reloaded->GetLogFont().faceName, "Language");
}

TEST_F(BOMArchiveTest, DamagedRecordsAreRefusedAndChangeNothing) {
  auto original = Page({"R1", "R2"});
  original->SetCellFont(1, 2, CLogFont{});
  original->SetCellTextColor(1, 2, CColor{1, 1, 1});
  const Bytes good = Stored(*original);
  // Offsets in the stored record of that grid.
  const std::size_t font = 4;
  const std::size_t column0 = font + 92 + 4;
  const std::size_t column0Alignment = column0 + 4 + 4;
  const std::size_t column0Auto = column0Alignment + 2;
  const auto find = [&](const Bytes& needle) {
    return static_cast<std::size_t>(
        std::search(good.begin(), good.end(), needle.begin(), needle.end()) - good.begin());
  };
  const std::size_t titleRow = find(HexBytes("FFFEFF0B 2300540069"));
  const std::size_t rows = titleRow - 2;
  const std::size_t titleCells =
      titleRow + 4 + 22 + 3;  // a missing cell (one byte), two text cells
  const std::size_t r1Cells = find(HexBytes("FFFEFF02 52003100")) + 8 + 3;
  const std::size_t r1Column2 = r1Cells + 4 + 4;  // two plain cells before it
  const std::size_t cellFontFlag = r1Column2 + 3 + 4;
  const std::size_t cellFont = cellFontFlag + 1;

  struct Case {
    const char* fault;
    std::function<void(Bytes&)> damage;
    const char* message;  // part of the error's text
  };
  const auto put16 = [](Bytes& b, std::size_t at, int v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
  };
  const auto put32 = [](Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
  };
  const std::vector<Case> cases = {
      {"no column", [&](Bytes& b) { put16(b, 0, 0); }, "column count 0"},
      {"one column", [&](Bytes& b) { put16(b, 0, 1); }, "column count 1"},
      {"more columns than the record holds", [&](Bytes& b) { put16(b, 0, 60000); }, "count 60000"},
      {"default flag 2", [&](Bytes& b) { b[2] = 2; }, "default auto height flag 2"},
      {"font height out of range", [&](Bytes& b) { put32(b, font, 0x7FFFFFFF); },
       "size out of range"},
      {"font width out of range", [&](Bytes& b) { put32(b, font + 4, 0x80000000); },
       "size out of range"},
      {"font angle out of range", [&](Bytes& b) { put32(b, font + 8, 4000); },
       "angle out of range"},
      {"font weight out of range", [&](Bytes& b) { put32(b, font + 16, 5000); },
       "weight out of range"},
      {"face name with an unpaired surrogate", [&](Bytes& b) { put16(b, font + 28, 0xD800); },
       "UTF-16"},
      {"grid colour above 24 bits", [&](Bytes& b) { b[font + 92 + 3] = 0x01; },
       "colour out of range"},
      {"alignment 3", [&](Bytes& b) { put16(b, column0Alignment, 3); }, "alignment 3"},
      {"auto width flag 5", [&](Bytes& b) { b[column0Auto] = 5; }, "auto width flag 5"},
      {"no row", [&](Bytes& b) { put16(b, rows, 0); }, "row count 0"},
      {"one row", [&](Bytes& b) { put16(b, rows, 1); }, "row count 1"},
      {"more rows than the record holds", [&](Bytes& b) { put16(b, rows, 65535); }, "count 65535"},
      {"cell flag 2", [&](Bytes& b) { b[titleCells] = 2; }, "cell flag 2"},
      {"text cell flag 3", [&](Bytes& b) { b[titleCells + 2] = 3; }, "text cell flag 3"},
      {"cell colour above 24 bits", [&](Bytes& b) { b[r1Column2 + 3 + 3] = 0x80; },
       "colour out of range"},
      {"cell font weight out of range", [&](Bytes& b) { put32(b, cellFont + 16, 1001); },
       "weight out of range"},
      {"cell font flag 9", [&](Bytes& b) { b[cellFontFlag] = 9; }, "cell font flag 9"},
      {"a text length beyond the end",
       [&](Bytes& b) {
         b[titleRow + 3] = 0xFF;
         put16(b, titleRow + 4, 0xFFFD);
       },
       ""},
  };

  for (const Case& c : cases) {
    Bytes bad = good;
    c.damage(bad);
    ASSERT_NE(bad, good) << c.fault;
    auto grid = Page({"R1", "R2"});
    grid->InsertColumn(2, kBOMKindComment, "Kept");
    const Bytes before = Stored(*grid);
    CArchiveReader reader(bad);
    try {
      grid->Serialize(reader, 10000);
      ADD_FAILURE() << c.fault << ": accepted";
    } catch (const CArchiveError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
          << c.fault << ": " << error.what();
    }
    EXPECT_EQ(Stored(*grid), before) << c.fault;
  }
  // Every record cut short is refused too.
  for (std::size_t size = 0; size < good.size(); ++size) {
    auto grid = Page({"R1", "R2"});
    CArchiveReader reader(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)));
    EXPECT_THROW(grid->Serialize(reader, 10000), CArchiveError) << size;
  }
}

TEST_F(BOMArchiveTest, TheSourceGivesTheVersion) {
  source.fileVersion = 505;
  auto grid = Page({});
  CArchiveReader reader(ReadGoldenBytes("model/bom_grid_505.hex"));
  grid->Serialize(reader);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(grid->GetLogFont().faceName, "Old");
  EXPECT_EQ(grid->GetColumnCount(), 2);
}

// A run's bill is passed by its form alone before the run is read (opening a large file):
// it must end where reading it ends, in every version and with every kind of cell, and a
// record cut short must not be passed.
TEST_F(BOMArchiveTest, SkippingARecordEndsWhereReadingItEnds) {
  auto styled = Page({"R1", "R2", "R3"});
  styled->SetCellTextColor(1, 2, CColor{0x11, 0x22, 0x33});
  styled->SetCellFont(1, 2, CLogFont{.height = -13, .weight = 700, .faceName = "Liberation Sans"});
  styled->SetCellFont(2, 1, CLogFont{.faceName = "Mono"});
  styled->SetCellTextColor(3, 3, CColor{1, 2, 3});
  const struct {
    const char* name;
    int version;
    Bytes bytes;
  } cases[] = {
      {"colours and fonts in cells", 10000, Stored(*styled)},
      {"layout and formats", 10000, ReadGoldenBytes("model/bom_grid_formats.bin")},
      {"489: narrow fonts, no rectangle", 489, ReadGoldenBytes("model/bom_grid_489.hex")},
      {"490: a rectangle", 490, ReadGoldenBytes("model/bom_grid_490.hex")},
      {"511: wide fonts", 511, ReadGoldenBytes("model/bom_grid_511.hex")},
      {"512: view angles", 512, ReadGoldenBytes("model/bom_grid_512.hex")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes followed = c.bytes;
    followed.insert(followed.end(), {0xAB, 0xCD});  // the record is not the stream's end
    CArchiveReader read(followed);
    CBOMStoredFonts fonts;
    (void)CBOMRecord::Read(read, c.version, fonts);
    CArchiveReader skipped(followed);
    CBOMRecord::Skip(skipped, c.version);
    EXPECT_EQ(skipped.Position(), read.Position());
    EXPECT_EQ(skipped.Position(), c.bytes.size());
    for (std::size_t cut = 0; cut < c.bytes.size(); ++cut) {
      CArchiveReader shortened(
          Bytes(c.bytes.begin(), c.bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
      EXPECT_THROW(CBOMRecord::Skip(shortened, c.version), CArchiveError) << "cut at " << cut;
    }
  }
}

}  // namespace
