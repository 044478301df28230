#include <gtest/gtest.h>

#include "xlprint/exchange_reader.h"
#include "xlprint/workbook_writer.h"

namespace {

using tvr::tools::ExchangeNumber;
using tvr::tools::ParseExchange;
using tvr::tools::SplitExchangeCells;

TEST(XlPrintExchangeTest, CellsKeepQuotedCommasAndDoubledQuotes) {
  EXPECT_EQ(SplitExchangeCells(R"("Name","Hall ""B"", east")"),
            (std::vector<std::string>{"Name", "Hall \"B\", east"}));
  EXPECT_EQ(SplitExchangeCells(R"(" - Total","5006",8 766,,11.76)"),
            (std::vector<std::string>{" - Total", "5006", "8 766", "", "11.76"}));
  EXPECT_EQ(SplitExchangeCells(""), (std::vector<std::string>{""}));
}

TEST(XlPrintExchangeTest, NumbersAsTheExportWritesThem) {
  EXPECT_EQ(ExchangeNumber("1 200 000"), 1200000.0);
  EXPECT_EQ(ExchangeNumber("34.10"), 34.1);
  EXPECT_EQ(ExchangeNumber("-2"), -2.0);
  for (const char* text : {"", "25 m", "#TRUE#", "1e5", "inf", "nan", "0x10", "1,5"})
    EXPECT_FALSE(ExchangeNumber(text)) << text;
}

std::string Utf16(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) bytes += std::string{c, '\0'};
  return bytes;
}

TEST(XlPrintExchangeTest, ReadsTheLayoutAndRefusesWhatBreaksIt) {
  std::string error;
  const auto exchange =
      ParseExchange(Utf16("\"Title\",\"@\",\"T\"\r\n-,-,-\r\n1\r\n\"L\"\r\n\"Length\",25\r\n"
                          "-,-\r\n1,2\r\nc14,c1\r\n\"D\",\"Q\"\r\nl,r\r\nf,f\r\n\"a\",\"1\"\r\n"
                          "\"t\",\"1\"\r\n#FALSE#,#FALSE#\r\n"),
                    error);
  ASSERT_TRUE(exchange) << error;
  EXPECT_EQ(exchange->Field("Title"), "T");
  ASSERT_EQ(exchange->lines.size(), 1u);
  EXPECT_EQ(exchange->lines[0].rows.size(), 2u);
  EXPECT_FALSE(ParseExchange(Utf16("\"Title\",\"@\",\"T\"\r\n-,-,-\r\n3\r\n"), error))
      << "lines missing";
  EXPECT_FALSE(ParseExchange("plain", error)) << "no mark";
}

TEST(XlPrintExchangeTest, AReferenceTableEndsAtItsSwitchesWithoutATotalRow) {
  std::string error;
  const std::string table =
      "-,-\r\n2,6\r\nc0,c14,c7,c1,c17,c11\r\n\"R\",\"D\",\"U\",\"Q\",\"S\",\"L\"\r\n"
      "l,l,r,r,r,r\r\n\"@\",\"@\",\" # ##0.00## \",\" # ##0 \",\" # ##0.00 \",\" # ##0.00 \"\r\n"
      "\"\",\"** Feed **\",,,,\r\n\"QFP25ED\",\"Length\",12.345,1200m,370.35,3.60\r\n"
      "#FALSE#,#FALSE#,#FALSE#,#FALSE#,#TRUE#,#TRUE#\r\n";
  const auto exchange =
      ParseExchange(Utf16("\"Title\",\"@\",\"T\"\r\n-,-,-\r\n2\r\n\"A\"\r\n\"Length\",25\r\n" +
                          table + "\"B\"\r\n\"Length\",3\r\n" + table),
                    error);
  ASSERT_TRUE(exchange) << error;
  ASSERT_EQ(exchange->lines.size(), 2u) << "the second line follows the first's switches";
  EXPECT_EQ(exchange->lines[1].name, "B");
  EXPECT_EQ(exchange->lines[0].rows.size(), 2u);
  EXPECT_EQ(exchange->lines[0].kinds[3], "c1");
  EXPECT_EQ(exchange->lines[0].formats[1], "@");
}

}  // namespace
