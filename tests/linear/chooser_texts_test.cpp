#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/message_text.h"
#include "linear/chooser_texts.h"

namespace {

struct TextCase {
  std::function<std::string(std::string_view)> shown;
  const char* text;
  std::function<std::string()> expected;
  const char* guards;
};

std::string After(const std::string& text, char mark = ':') {
  const std::size_t at = text.find(mark);
  return at == std::string::npos ? text : text.substr(at + 1);
}

std::string Before(const std::string& text, char mark = ':') {
  return text.substr(0, text.find(mark));
}

class ChooserTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(ChooserTextTest, ShowsTheCatalogueTextAsTheChooserDoes) {
  const TextCase& c = GetParam();
  EXPECT_EQ(c.shown(c.text), c.expected()) << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChooserTextTest,
    testing::Values(
        TextCase{ChooserTypeText, "Box MSG32180", [] { return "Box " + StringText(32180); },
                 "a known message"},
        TextCase{ChooserTypeText, "Box MSG29999", [] { return std::string("Box "); },
                 "below the message range"},
        TextCase{ChooserTypeText, "BoxMSG", [] { return std::string("Box"); },
                 "no number after the marker"},
        TextCase{ChooserTypeText, "MSG33000", [] { return std::string(); },
                 "above the message range"},
        TextCase{ChooserTypeText, "Box 16A", [] { return std::string("Box 16A"); }, "no marker"},
        TextCase{ChooserPhaseText, "L1+N", [] { return std::string("L+N"); },
                 "the first phase is named L"},
        TextCase{ChooserPhaseText, "L2+N", [] { return std::string("L2+N"); }, "other phases stay"},
        TextCase{ChooserPhaseText, "", [] { return std::string(" "); }, "empty shows a blank"},
        TextCase{ChooserAlternatives, "L1/L2/L3",
                 [] {
                   const std::string line = " " + StringText(31035) + "\n";
                   return "L1" + line + "L2" + line + "L3";
                 },
                 "one alternative a line"},
        TextCase{ChooserAlternatives, "L1+N", [] { return std::string(); },
                 "a single choice lists nothing"},
        TextCase{ChooserSwitchTypeText, "TYP12 CPF ICC25>63",
                 [] { return After(FormatMessageTextD(32426, 12)); }, "the type number"},
        TextCase{ChooserSwitchTypeText, "CPF", [] { return std::string(" "); }, "no type marker"},
        TextCase{ChooserSwitchIccText, "TYP1 ICC25>63",
                 [] { return After(After(FormatMessageTextDD(32428, 25, 63))); },
                 "a limit takes the last part"},
        TextCase{ChooserSwitchIccText, "TYP1 ICC25",
                 [] { return Before(After(FormatMessageTextDD(32428, 25, 0))); },
                 "no limit takes the middle part"},
        TextCase{ChooserSwitchIccText, "ICC10>-5",
                 [] { return Before(After(FormatMessageTextDD(32428, 10, 0))); },
                 "a negative limit reads as none"},
        TextCase{ChooserSwitchIccText, "TYP1", [] { return std::string(" "); }, "no rating marker"},
        TextCase{ChooserSwitchConnectionText, "TYP1 CPF",
                 [] { return Before(After(StringText(32427))); }, "a fixed connection"},
        TextCase{ChooserSwitchConnectionText, "TYP1 CPD",
                 [] { return After(After(StringText(32427))); }, "a plug-in connection"},
        TextCase{ChooserSwitchConnectionText, "TYP1 CP",
                 [] { return After(After(StringText(32427))); }, "nothing after the marker"},
        TextCase{ChooserSwitchConnectionText, "TYP1", [] { return std::string(" "); },
                 "no connection marker"}));

}  // namespace
