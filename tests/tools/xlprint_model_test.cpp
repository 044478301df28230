// The spreadsheet helper on a model workbook: the copy keeps the model's sheets, title
// block and styles, and holds the data below the header or from the cell named DATA;
// a model it cannot read is refused by name, and nothing is written.

#include <gtest/gtest.h>

#include <xlsxwriter.h>

#include <filesystem>
#include <string>
#include <utility>

#include "support/command_output.h"
#include "support/temp_folder.h"
#include "xlprint/model_workbook.h"
#include "xlprint/zip_archive.h"

namespace {

using tvr::tools::CExchange;
using tvr::tools::WriteWorkbookOnModel;

// A model as a user makes one: a title block and column headings with their styles on
// the first sheet, a second sheet, and the cell DATA when asked for.
std::string MakeModel(const CTempFolder& folder, const char* dataCell) {
  const std::string path = folder.File("model.xlsx");
  lxw_workbook* book = workbook_new(path.c_str());
  lxw_worksheet* bill = workbook_add_worksheet(book, "Bill");
  lxw_format* title = workbook_add_format(book);
  format_set_bold(title);
  format_set_font_size(title, 18);
  lxw_format* heading = workbook_add_format(book);
  format_set_bold(heading);
  format_set_bg_color(heading, 0xDDEBF7);
  worksheet_write_string(bill, 0, 0, "Tavrilon", title);
  worksheet_write_string(bill, 2, 0, "Item", heading);
  worksheet_write_string(bill, 2, 1, "Value", heading);
  worksheet_write_string(workbook_add_worksheet(book, "Notes"), 0, 0, "Kept", nullptr);
  if (dataCell != nullptr) workbook_define_name(book, "DATA", dataCell);
  EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
  return path;
}

CExchange SmallBill() {
  CExchange exchange;
  exchange.fields = {{"Title", "Hall B"}, {"TotalPrice", "1 998"}};
  tvr::tools::CExchangeLine line;
  line.name = "Line 1";
  line.titles = {"Designation", "Quantity", "Price"};
  line.rows = {{"Straight length", "4", "12.50"}};
  exchange.lines = {line};
  return exchange;
}

// What the workbook reads as, through the reader the end-to-end checks use too: its
// sheets, its first cell and the fill of B3, then the first cells from the row given.
std::string ReadBack(const std::string& path, int fromRow = 4, int cells = 5) {
  const std::string script =
      "import openpyxl,sys\n"
      "b=openpyxl.load_workbook(sys.argv[1]);s=b.worksheets[0]\n"
      "print(b.sheetnames,s[\"A1\"].value,s[\"A1\"].font.b,s[\"A1\"].font.sz,s[\"B3\"].fill."
      "fgColor."
      "rgb)\n"
      "print([(c.coordinate,c.value) for r in s.iter_rows(min_row=int(sys.argv[2])) for c in r "
      "if c.value is not None][:int(sys.argv[3])])\n";
  return CommandOutput("/usr/bin/python3 -c '" + script + "' " + path + " " +
                       std::to_string(fromRow) + " " + std::to_string(cells) + " 2>&1");
}

TEST(XlPrintModelTest, TheCopyKeepsTheModelAndHoldsTheDataBelowItsHeaderOrAtData) {
  struct Case {
    const char* dataCell;
    const char* data;
  };
  const Case cases[] = {
      {nullptr,
       "[('A4', 'Title'), ('B4', 'Hall B'), ('A5', 'TotalPrice'), ('B5', 1998), "
       "('A7', 'Line 1')]"},
      {"=Bill!$B$6",
       "[('B6', 'Title'), ('C6', 'Hall B'), ('B7', 'TotalPrice'), ('C7', 1998), "
       "('B9', 'Line 1')]"},
  };
  for (const Case& c : cases) {
    CTempFolder folder{"xlprint-model"};
    const std::string model = MakeModel(folder, c.dataCell);
    std::string error;
    ASSERT_TRUE(WriteWorkbookOnModel(SmallBill(), model, folder.File("out.xlsx"), error)) << error;
    EXPECT_EQ(ReadBack(folder.File("out.xlsx")),
              "['Bill', 'Notes'] Tavrilon True 18.0 FFDDEBF7\n" + std::string(c.data) + "\n");
  }
}

// The models the program ships take the data under their headings, or at their DATA cell,
// and keep their title block.
TEST(XlPrintModelTest, EverySampleModelTakesTheData) {
  CTempFolder folder{"xlprint-samples"};
  ASSERT_EQ(CommandOutput(std::string(TVR_XLMODELS) + " " + folder.Folder() + " 2>&1"), "");
  const std::pair<const char*, int> models[] = {{"Tavrilon_Implantation.xlsx", 7},
                                                {"Tavrilon_Lineaire.xlsx", 6},
                                                {"Tavrilon_References.xlsx", 6},
                                                {"GDE_001.xlsx", 7}};
  for (const auto& [name, first] : models) {
    std::string error;
    const std::string out = folder.File(std::string("out-") + name);
    ASSERT_TRUE(WriteWorkbookOnModel(SmallBill(), folder.File(name), out, error)) << error;
    const std::string read = ReadBack(out, first, 1);
    EXPECT_TRUE(read.starts_with("['Nomenclature', 'Tavrilon'] Tavrilon True 18.0 "))
        << name << ": " << read;
    EXPECT_TRUE(read.ends_with("[('A" + std::to_string(first) + "', 'Title')]\n"))
        << name << ": " << read;
  }
}

TEST(XlPrintModelTest, AModelThatCannotBeReadIsRefusedByNameAndNothingIsWritten) {
  CTempFolder folder{"xlprint-bad-model"};
  const std::string good = MakeModel(folder, nullptr);
  const std::string bytes = folder.ReadFile("model.xlsx");
  struct Case {
    const char* name;
    std::string bytes;
    const char* says;
  };
  const Case cases[] = {
      {"old.xls", bytes, "(.xls)"},
      {"renamed.xlsx", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "rest", "(.xls)"},
      {"text.xlsx", "plain text", "no workbook or is damaged: it is no zip archive"},
      {"cut.xlsx", bytes.substr(0, bytes.size() / 2), "no workbook or is damaged"},
      {"bare.xlsx", tvr::tools::WriteZip({{"a.txt", "a"}}), "it holds no workbook"},
  };
  for (const Case& c : cases) {
    const std::string model = folder.WriteFile(c.name, c.bytes);
    std::string error;
    EXPECT_FALSE(WriteWorkbookOnModel(SmallBill(), model, folder.File("out.xlsx"), error))
        << c.name;
    EXPECT_NE(error.find(model), std::string::npos) << error;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.File("out.xlsx"))) << c.name;
    EXPECT_FALSE(std::filesystem::exists(folder.File("out.xlsx.part"))) << c.name;
  }
}

}  // namespace
