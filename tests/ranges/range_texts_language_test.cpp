// The range texts that the bill, the pages and the labels show come in the user's
// language: French under the French file, the program's default, and English under the
// English one, for the code-table names and the option labels alike.

#include "range_test_support.h"

#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <memory>
#include <string>

namespace {

struct CRangeText {
  const char* code;
  const char* what;
  std::function<std::string(const CRun&)> text;
  const char* french;
  const char* english;
};

std::string NeutralLabel(const CRun& run, const std::string& code) {
  for (const CCodeLabelRow& row : *run.GetNeutralList())
    if (row.code == code) return row.label;
  return "(no neutral option " + code + ")";
}

const CRangeText kTexts[] = {
    {"QPA", "straight of variant 1",
     [](const CRun& run) { return run.GetKindText(CDev::kStraight, 1); }, "Ligne simple",
     "Plain line"},
    {"Qpa", "straight of variant 1",
     [](const CRun& run) { return run.GetKindText(CDev::kStraight, 1); }, "Ligne simple",
     "Plain line"},
    {"QWA", "system joint", [](const CRun& run) { return run.GetKindText(CDev::kJoint, 0); },
     "Bloc de jonction", "Joint block"},
    {"QWC", "system joint", [](const CRun& run) { return run.GetKindText(CDev::kJoint, 0); },
     "Bloc de jonction", "Joint block"},
    {"QMA", "end unit of variant 5", [](const CRun& run) { return run.GetKindText(CDev::kEnd, 5); },
     "Coffret de dérivation", "Tap-off box"},
    {"QGA", "neutral option 2", [](const CRun& run) { return NeutralLabel(run, "2"); },
     "Neutre réduit", "Reduced neutral"},
    {"QGC", "neutral option 2", [](const CRun& run) { return NeutralLabel(run, "2"); },
     "Neutre réduit", "Reduced neutral"},
    // The names of the pieces that a range may make no part for.
    {"QDA", "tee", [](const CRun& run) { return run.GetKindText(CDev::kJunction2, 0); }, "Té",
     "Tee"},
    {"QDA", "elbow", [](const CRun& run) { return run.GetKindText(CDev::kElbow, 0); }, "Coude",
     "Elbow"},
};

class RangeTextsLanguageTest : public RangeTest {
 protected:
  void TearDown() override {
    CCurrentLanguage::Instance().Reset();
    RangeTest::TearDown();
  }
  // The program's language file and the catalogue's device names, as the start-up sets
  // them; the range tables are read afresh.
  static void UseLanguage(const char* language) {
    Reset();
    RegisterRangeRuns();
    CLanguageSetup setup;
    setup.catalogueFolder = TVR_PROGRAM_DIR "/DBF/";
    CCurrentLanguage::Instance().SetSetup(setup);
    CCurrentLanguage::Instance().LoadLanguage(language);
    CRangeContext& context = CRangeContext::Instance();
    context.SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
    context.SetTextLookup([](int number) { return LookupText(number); });
    context.SetDevices(LoadDeviceList(TVR_PROGRAM_DIR "/DBF/", [](int number) {
                         return LookupText(number);
                       }).entries);
  }
  static std::string TextOf(const CRangeText& row) {
    CDorneDoc document;
    std::unique_ptr<CRun> run = CRunFactory::Instance().CreateForCatalog(row.code, &document);
    if (run == nullptr) return std::string("(no run of ") + row.code + ")";
    return row.text(*run);
  }
};

TEST_F(RangeTextsLanguageTest, FrenchUnderTheFrenchFileEnglishUnderTheEnglishOne) {
  UseLanguage("033");
  for (const CRangeText& row : kTexts)
    EXPECT_EQ(TextOf(row), row.french) << row.code << " " << row.what;
  UseLanguage("044");
  for (const CRangeText& row : kTexts)
    EXPECT_EQ(TextOf(row), row.english) << row.code << " " << row.what;
}

}  // namespace
