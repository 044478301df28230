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

}  // namespace
