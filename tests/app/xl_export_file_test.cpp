#include <gtest/gtest.h>

#include "app/xl_export_file.h"
#include "platform/text_encoding.h"

#include <string>
#include <vector>

namespace {

struct FieldCase {
  const char* key;
  const char* value;
  char kind;
  const char* expected;  // the line, "" for none
};

class XlExportFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(XlExportFieldTest, WritesOneLinePerKind) {
  const FieldCase& c = GetParam();
  CXlExportFile file;
  WriteXlExportField(file, c.key, c.value, c.kind);
  EXPECT_EQ(file.Lines(),
            c.expected[0] ? std::vector<std::string>{c.expected} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, XlExportFieldTest,
    testing::Values(FieldCase{"Title", "Plant 2", '@', R"("Title","@","Plant 2")"},
                    FieldCase{"TotalPrice", "4 869", 'N', R"("TotalPrice","",4 869)"},
                    FieldCase{"Compil", "#FALSE#", 'B', R"("Compil","",#FALSE#)"},
                    FieldCase{"Length", "13.60", 'l', R"("Length",13.60)"},
                    FieldCase{"Line", "QMA 800 A", 'L', R"("Line","QMA 800 A")"},
                    FieldCase{"Other", "x", 'x', R"("Other","","x")"},
                    FieldCase{"\"Quoted\"", "v", 'L', R"("Quoted","v")"},
                    FieldCase{"Name", "Hall \"B\", east", 'L', R"("Name","Hall ""B"", east")"},
                    FieldCase{"", "lost", '@', ""}));

// The lines are kept in one text: asking for them between additions must neither lose
// nor repeat one, and an empty line stays a line, whether added alone or among others.
TEST(XlExportFileTest, LinesAskedForBetweenAdditionsStayWhole) {
  CXlExportFile file;
  file.AddLine("a;b");
  EXPECT_EQ(file.Lines(), (std::vector<std::string>{"a;b"}));
  file.AddLine("");
  file.AddLine("c");
  EXPECT_EQ(file.Lines(), (std::vector<std::string>{"a;b", "", "c"}));
  CXlExportFile together;
  together.AddLines("a;b\n");
  together.AddLines("\nc\n");
  EXPECT_EQ(together.Lines(), file.Lines());
  EXPECT_EQ(file.Bytes(), std::string("\xFF\xFE"
                                      "a\0;\0b\0\r\0\n\0\r\0\n\0c\0\r\0\n\0",
                                      22));
}

TEST(XlExportFileTest, Utf16WithItsMarkAndCrLf) {
  CXlExportFile file;
  file.AddLine("é");
  EXPECT_EQ(file.Bytes(), std::string("\xFF\xFE\xE9\x00\r\x00\n\x00", 8));
}

TEST(XlExportFileTest, CommentPiecesCutAtLineFeedsOnly) {
  struct Case {
    const char* text;
    std::vector<std::string> pieces;
  } cases[] = {
      {"a\r\nb", {"a", "b", " ", " "}},
      {"\nsecond", {" ", "second", " ", " "}},  // a line feed first gives an empty piece
      {"ab\nc", {"ab", "c", " ", " "}},         // no carriage return: nothing more goes
      {"x\r\n\r\ny", {"x", " ", "y", " "}},
      {"", {" ", " ", " ", " "}},
      {"1\n2\n3\n4\n5", {"1", "2", "3", "4"}},
  };
  for (const Case& c : cases) EXPECT_EQ(XlTextPieces(c.text, 4), c.pieces) << c.text;
}

}  // namespace

// The file widened in runs of lines equals each line widened with its line end on its
// own: lines ending in cut or stray UTF-8 bytes (one U+FFFD each, CR LF kept), a sequence
// cut between two lines, runs of short ASCII lines many kilobytes long broken by others,
// and ASCII lines as long as a run and longer.
TEST(XlExportFileTest, BytesEqualEachLineWidenedWithItsLineEnd) {
  std::vector<std::string> manyLines;
  for (int i = 0; i < 900; ++i)
    manyLines.push_back(i % 300 == 299 ? "\xC3\xA9 " + std::to_string(i)
                                       : "QDA;" + std::to_string(i));
  std::vector<std::vector<std::string>> files = {
      {},
      {""},
      {"", "", ""},
      {"QDA;L=2500;12,5", "Ligne \xC3\xA9t\xC3\xA9 \xE2\x82\xAC 40", "\xF0\x9F\x94\x8C plug"},
      {"cut three \xE2\x82", "cut two \xC3", "stray \x80\xBF", "\xFF\xFE lead"},
      {std::string(40, 'x') + "\xC3\xA9" + std::string(33, 'y'), std::string(16, 'z')},
      {"ab", "\xC3", "\xA9", "cd"},
      {"a", std::string(4096, 'b'), "c", std::string(4095, 'd'), std::string(5000, 'e'), "f"},
  };
  files.push_back(manyLines);
  for (const auto& lines : files) {
    CXlExportFile file;
    std::string expected = "\xFF\xFE";
    for (const std::string& line : lines) {
      file.AddLine(line);
      for (const char16_t unit : tvr::platform::Utf8ToUtf16(line + "\r\n")) {
        expected += static_cast<char>(unit & 0xFF);
        expected += static_cast<char>(unit >> 8);
      }
    }
    EXPECT_EQ(file.Bytes(), expected) << lines.size() << " lines";
  }
}
