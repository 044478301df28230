#include "model/run/run_test_support.h"

#include <clocale>

#include "support/case_table.h"

namespace {

class DevFieldsTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_run = std::make_unique<CRun>(&m_document);
    m_element = CChainBuilder(*m_run).Loose(CDev::kStraight, "REF-1");
    m_run->GetBOM().AddRefQuantity("REF-1", 2);  // a line with quantity 3
  }

  CFakeRunDocument m_document;
  std::unique_ptr<CRun> m_run;
  CDev* m_element = nullptr;
};

TEST_F(DevFieldsTest, ComputedFieldsTakeTheirFormats) {
  for (const CCaseRow& row : ReadCaseTable("model/dev_fields_computed.tsv", 4)) {
    SCOPED_TRACE(row.where);
    m_element->SetPropValue(row[0], row[1]);
    EXPECT_EQ(m_element->GetFieldText(row[2]), row[3]);
    m_element->SetPropValue(row[0], "");
  }
}

TEST_F(DevFieldsTest, SalesPricesUseTheCoefficients) {
  m_element->SetPropValue("HBv2_Std_Cost", "100000");    // 10.00 a piece
  EXPECT_EQ(m_element->GetFieldText("PrixV"), "30.00");  // no CoefVente: 1
  m_element->SetPropValue("HBv2_Std_Discount", "0.5");
  EXPECT_EQ(m_element->GetFieldText("PrixV"), "15.00");
  m_document.coefficient = 2.0f;
  EXPECT_EQ(m_element->GetFieldText("PrixVU"), "10.00");
  EXPECT_EQ(m_element->GetFieldText("PrixVR"), "30.00");
  EXPECT_EQ(m_element->GetFieldText("CoefGlob"), "2.000");
  EXPECT_EQ(m_element->GetFieldText("RemiseGlob"), "-100.0%");
}

TEST_F(DevFieldsTest, MissingBasesAndLinesGiveNothing) {
  EXPECT_EQ(m_element->GetFieldText("PrixU"), std::nullopt);
  EXPECT_EQ(m_element->GetFieldText("PrixVR"), std::nullopt);
  EXPECT_EQ(m_element->GetFieldText("Unknown"), std::nullopt);
  m_element->SetPropValue("HBv2_Std_Cost", "100");
  m_element->SetReference("NO-LINE");
  EXPECT_EQ(m_element->GetFieldText("PrixU"), "0.01");
  EXPECT_EQ(m_element->GetFieldText("PrixT"), std::nullopt);
}

// Read together, the fields are those read one by one, in the order asked: with a line
// and without, and with a stored total in place of the computed one.
TEST_F(DevFieldsTest, FieldsReadTogetherAreTheFieldsReadOneByOne) {
  const std::vector<std::string_view> names = {
      "PrixV",  "PrixT",     "PoidsT", "TPoseT",      "PrixU",   "PrixVU", "PrixVR",
      "Remise", "CoefVente", "Ref",    "Designation", "Unknown", "PrixT"};
  const struct {
    const char* guards;
    const char* reference;
    const char* storedTotal;
  } rows[] = {
      {"the line's quantity", "REF-1", ""},
      {"no line: no totals", "NO-LINE", ""},
      {"a stored total stands for the computed one", "REF-1", "7.50"},
  };
  m_element->SetPropValue("HBv2_Std_Cost", "12345");
  m_element->SetPropValue("HBv2_Std_Discount", "0.8");
  m_element->SetPropValue("HBv2_Std_Labor", "40");
  m_element->SetPropValue("HBv2_Weight", "2500");
  m_document.coefficient = 1.5f;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    m_element->SetReference(row.reference);
    m_element->SetPropValue("PrixT", row.storedTotal);
    std::vector<std::optional<std::string>> together(names.size(), "stale");
    m_element->GetFieldTexts(names, together);
    for (std::size_t i = 0; i < names.size(); ++i)
      EXPECT_EQ(together[i], m_element->GetFieldText(names[i])) << names[i];
  }
}

TEST_F(DevFieldsTest, StoredPropertyReplacesTheComputation) {
  m_element->SetPropValue("HBv2_Std_Cost", "125");
  EXPECT_TRUE(m_element->SetFieldText("PrixU", "9.99"));
  EXPECT_EQ(m_element->GetFieldText("PrixU"), "9.99");
  EXPECT_TRUE(m_element->SetFieldText("PrixU", ""));
  EXPECT_EQ(m_element->GetFieldText("PrixU"), "0.0125");
}

TEST_F(DevFieldsTest, StoringFields) {
  m_document.modified = 0;
  EXPECT_FALSE(m_element->SetFieldText("PrixVR", "12"));
  EXPECT_EQ(m_document.modified, 1);
  EXPECT_TRUE(m_element->SetFieldText("Remise", "15"));
  EXPECT_EQ(m_element->GetPropValue("CoefVente"), "0.85");
  EXPECT_EQ(m_element->GetFieldText("Remise"), "15%");
  EXPECT_TRUE(m_element->SetFieldText("RemiseGlob", "20"));
  EXPECT_FLOAT_EQ(m_document.coefficient, 0.8f);
  EXPECT_TRUE(m_element->SetFieldText("CoefGlob", "1.25"));
  EXPECT_FLOAT_EQ(m_document.coefficient, 1.25f);
  EXPECT_FALSE(m_element->SetFieldText("Ref", "REF-1"));
  EXPECT_EQ(m_element->GetEdited(), 0);
  EXPECT_TRUE(m_element->SetFieldText("Ref", "REF-2"));
  EXPECT_EQ(m_element->GetEdited(), 1);
  EXPECT_EQ(m_run->CountByRef("REF-2"), 1);  // the run's index follows
  EXPECT_TRUE(m_element->SetFieldText("Calibre", "63"));
  EXPECT_EQ(m_element->GetFieldText("Calibre"), "63");
}

TEST_F(DevFieldsTest, FormatsIgnoreADecimalCommaLocale) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) GTEST_SKIP() << "no French locale";
  m_element->SetPropValue("HBv2_Std_Cost", "125");
  EXPECT_EQ(m_element->GetFieldText("PrixU"), "0.0125");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST_F(DevFieldsTest, OverlayWritesTheCalibreFromTheFourthCharacter) {
  m_element->SetCalibre("63");
  std::string reference = "QMA?????";
  m_element->OverlayRefCode(reference);
  EXPECT_EQ(reference, "QMA63???");
  m_element->SetCalibre("123456789");
  std::string shortReference = "QMA12";
  m_element->OverlayRefCode(shortReference);
  EXPECT_EQ(shortReference, "QMA12");
}

double Size(const CBox& box, int axis) {
  return axis == 0 ? box.GetExtent(1) : axis == 1 ? box.GetExtent(2) : box.GetExtent(0);
}

constexpr std::uint32_t kTable = 0x01000000, kTransformer = 0x02000000, kAbove = 0x04000000,
                        kSide = 0x08000000, kHood = 0x10000000;
using Values = std::array<std::int32_t, 6>;
constexpr Values kFound{700, 1300, 2100, 50, 550, 0}, kLifted{700, 1300, 2100, 50, 550, 3},
    kPreset{975, 1705, 1415, 0, 0, 0}, kStored{10, 20, 30, 1, 2, 3};
constexpr const char *kPlain = "800/400/300/0/0", *kTurned = "800/400/300/100/0";

class EquipmentBoxTest : public RunTestBase {};

TEST_F(EquipmentBoxTest, SizesFacesAndHood) {
  const struct {
    const char* guards;
    std::uint32_t style;
    const char* catalogue;
    const char* storedHood;  // with kStored for a second build; none when null
    Values values;
    std::size_t cabinetFaces, hoodFaces;
    const char* hood;
    double hoodTopX;
  } rows[] = {
      {"a found row with a long code", kTable, "XX", nullptr, kFound, 4, 0, "", 0},
      {"r5 above 100000 lifts it", kTable | kAbove, "XX", nullptr, kLifted, 4, 0, "", 0},
      {"no row: presets, a side open", kTransformer | kSide, "XX", nullptr, kPreset, 6, 0, "", 0},
      {"no hood outside QG, its text", kTable | kHood, "XX", nullptr, kFound, 4, 0, kPlain, 0},
      {"stored values kept, o = 1 turns", kTable | kHood, "QG1", kTurned, kStored, 4, 4, kTurned,
       400},
      {"a hood of one size", kTable | kHood, "QG1", "1000", kStored, 4, 4, "1000", 400},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    CFakeRunDocument document;
    CRangeTables tables = MakeTestTables();
    tables.references.push_back({"TBL0", {700, 1300, 2100, 400, 100}});
    tables.references.push_back({"TBL1", {700, 1300, 2100, 400, 300100}});
    CRun run(&document);
    run.AttachRangeTables(tables);
    run.SetCatalog(row.catalogue);
    CDev* element = CChainBuilder(run).Loose(CDev::kEnd, "END-0");
    element->SetDirection(4);
    element->SetRotation(16);
    element->SetStyle(row.style);
    element->MakeBox(CDev::kBodySlot);
    element->BuildBoxes(0);
    if (row.storedHood != nullptr) {
      document.SetEquipmentValues(*element, kStored);
      element->SetPropValue("CAP8", row.storedHood);
      element->BuildBoxes(0);
    }
    ASSERT_TRUE(document.equipment.has_value());
    EXPECT_EQ(*document.equipment, row.values);
    EXPECT_EQ(element->GetPropValue("CAP8"), row.hood);
    std::size_t cabinet = 0, hood = 0;
    for (const auto& box : document.extraBoxes) {
      (box->GetKindCode() == 4 ? cabinet : hood) += 1;
      if (box->GetKindCode() == 5 && Size(*box, 2) == 0) {
        EXPECT_EQ(Size(*box, 0), row.hoodTopX);
      }
    }
    EXPECT_EQ(cabinet, row.cabinetFaces);
    EXPECT_EQ(hood, row.hoodFaces);
    // The equipment box stays the last extra box, and the selector 0 removes it.
    EXPECT_EQ(document.extraBoxes.back()->GetKindCode(), 4);
    element->SetStyle(row.style & ~0x03000000u);
    element->BuildBoxes(0);
    EXPECT_TRUE(document.extraBoxes.empty());
  }
}

}  // namespace
