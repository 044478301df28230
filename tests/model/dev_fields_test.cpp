#include "run_test_support.h"

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

}  // namespace
