#include "app/typed_field.h"

#include <gtest/gtest.h>

#include "app/current_language.h"

namespace {

// The program's own English texts, so that the messages are those a user reads.
class CProgramEnglish {
 public:
  CProgramEnglish() {
    CCurrentLanguage::Instance().Reset();
    CLanguageSetup setup;
    setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
    CCurrentLanguage::Instance().SetSetup(setup);
    CCurrentLanguage::Instance().LoadLanguage("044");
  }
  ~CProgramEnglish() { CCurrentLanguage::Instance().Reset(); }
};

TEST(TypedFieldTest, TheCaptionNamesTheFieldWithoutItsMnemonicAndColon) {
  const struct {
    const char* caption;
    const char* name;
  } cases[] = {{"&Longueur :", "Longueur"},
               {"Width:", "Width"},
               {"Largeur\xC2\xA0:", "Largeur"},
               {"R&&D", "R&D"},
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(FieldNameOfCaption(c.caption), c.name) << c.caption;
}

TEST(TypedFieldTest, AWholeNumberFieldRefusesADecimalByItsName) {
  CProgramEnglish texts;
  std::string problem;
  EXPECT_EQ(ReadWholeField(" 48 ", "Length:", 0, 9999, problem), 48);
  EXPECT_EQ(problem, "");
  for (const char* typed : {"30,5", "30.5", "10000", "-1", "abc", ""}) {
    problem.clear();
    EXPECT_EQ(ReadWholeField(typed, "Length:", 0, 9999, problem), std::nullopt) << typed;
    EXPECT_EQ(problem, "Length: please enter a whole number between 0 and 9999.") << typed;
  }
  EXPECT_EQ(FieldRangeMessage("Width", "1", "1000", false),
            "Width: please enter a number between 1 and 1000.");
  EXPECT_EQ(FieldNumberMessage("Flux", true), "Flux: please enter a whole number.");
}

}  // namespace
