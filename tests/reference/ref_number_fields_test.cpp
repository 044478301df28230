// The number fields of costing by reference and of the lighting study, read as a user
// types them: "," and "." alike, nothing dropped, and a refusal that names its field.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "linear_test_support.h"
#include "reference/ref_choice_panel.h"
#include "reference/ref_compl_pages.h"
#include "reference/ref_lighting.h"
#include "reference/ref_line_page.h"
#include "reference/ref_price_rows.h"
#include "ref_test_support.h"

namespace {

struct CRead {
  std::optional<long long> value;
  std::string problem;
};

CRead LineLength(int kind, const std::string& text) {
  CRead read;
  const auto length = ReadRefLength(MakeRefLine(kind, 40), text, "Length:", read.problem);
  if (length) read.value = *length;
  return read;
}

CRead Optional(std::optional<long long> value) { return {value, ""}; }

TEST(RefNumberFieldsTest, EveryFieldReadsBothMarksOrRefusesByName) {
  CEnglishTexts texts;
  using Reader = std::function<CRead(const std::string&)>;
  const Reader qda = [](const std::string& t) { return LineLength(3, t); };
  const Reader qyx = [](const std::string& t) { return LineLength(6, t); };
  const Reader width = [](const std::string& t) {
    const auto v = ParseLightingValue(t, 'f');
    return Optional(v ? std::optional<long long>(*v) : std::nullopt);
  };
  const Reader reflectance = [](const std::string& t) {
    const auto v = ParseLightingValue(t, 'd');
    return Optional(v ? std::optional<long long>(*v) : std::nullopt);
  };
  const Reader rate = [](const std::string& t) {
    const auto v = ReadRoundedValue(t, 2);
    return Optional(v ? std::optional<long long>(*v) : std::nullopt);
  };
  const Reader pitch = [](const std::string& t) {
    const auto v = RefParsePitch(t, CRefPitch{});
    return Optional(v ? std::optional<long long>(*v) : std::nullopt);
  };
  const Reader coefficient = [](const std::string& t) {
    double v = 0;
    return Optional(ReadPanelNumber(t, '.', v) ? std::optional<long long>(std::llround(v * 1000))
                                               : std::nullopt);
  };
  const std::string wholeLength = "Length: please enter a whole number between 0 and 9999.";
  const struct {
    const char* field;
    const Reader& read;
    const char* typed;
    std::optional<long long> value;
    std::string problem;
  } cases[] = {
      {"QDA length", qda, "48", 48, ""},
      {"QDA length, comma once dropped into 305", qda, "30,5", {}, wholeLength},
      {"QDA length, point", qda, "12.3456789", {}, wholeLength},
      {"QDA length, letters", qda, "3O", {}, wholeLength},
      {"QYX length in hundredths", qyx, "6,12", 6, ""},
      {"QYX length, point", qyx, "6.5", 6, ""},
      {"QYX length, third decimal",
       qyx,
       "6.125",
       {},
       "Length: please enter a number between 0 and 74."},
      {"lighting width, comma", width, "15,5", 15500, ""},
      {"lighting width, point", width, "15.5", 15500, ""},
      {"lighting reflectance, decimal once cut to 12", reflectance, "12.7", {}, ""},
      {"comparison rate", rate, "45", 4500, ""},
      {"comparison rate, comma", rate, "45,5", 4550, ""},
      {"comparison rate, two marks", rate, "4,5,0", {}, ""},
      {"fixing spacing, comma", pitch, "1,5", 150, ""},
      {"fixing spacing, rounded to its tenths", pitch, "1,55", 160, ""},
      {"price coefficient, comma on a point locale", coefficient, "0,85", 850, ""},
  };
  for (const auto& c : cases) {
    const CRead read = c.read(c.typed);
    EXPECT_EQ(read.value, c.value) << c.field;
    EXPECT_EQ(read.problem, c.problem) << c.field;
  }
}

}  // namespace
