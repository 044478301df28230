#include "model/run/run_test_support.h"

#include "support/archive_bytes.h"

namespace {

// The stored reference "##GenericRef##" stands for the run's default text of the kind; a
// manual record's reference is the user's own text and never stands for it.
class GenericReferenceTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables = MakeTestTables();
    m_run.AttachRangeTables(m_tables);
  }

  CDev* Element(int kind, int active, const std::string& reference) {
    CDev* element = m_run.NewElement();
    element->SetKind(kind);
    element->SetActive(active);
    element->SetReference(reference);
    return element;
  }

  // The reference as the record stores it.
  static std::string StoredReference(const std::vector<std::uint8_t>& bytes) {
    CArchiveReader peek(bytes);
    peek.ReadWord();
    peek.ReadWord();
    peek.ReadDword();
    peek.ReadDword();
    return peek.ReadString();
  }

  CRangeTables m_tables;
  CRun m_run;
};

TEST_F(GenericReferenceTest, ThePlaceholderIsKeptApartFromManualReferences) {
  const std::string accessoryText = m_run.GetKindText(CDev::kAccessory, 0);
  const struct {
    const char* guards;
    int kind, active;
    std::string reference;
    std::string stored;
  } rows[] = {
      {"a manual record named like the placeholder", CDev::kAccessory, 0, CDev::kGenericRef,
       CDev::kGenericRef},
      {"a manual record named like the default text", CDev::kAccessory, 0, accessoryText,
       accessoryText},
      {"a placed accessory with the default text", CDev::kAccessory, 1, accessoryText,
       CDev::kGenericRef},
      {"an elbow with the default text", CDev::kElbow, 1, "ELB-0", CDev::kGenericRef},
      {"an elbow with a reference of its own", CDev::kElbow, 1, "ELB-9", "ELB-9"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    const std::vector<std::uint8_t> bytes =
        WrittenBytes(*Element(row.kind, row.active, row.reference));
    EXPECT_EQ(StoredReference(bytes), row.stored);
    CDev* loaded = &ReadBytes(*m_run.NewElement(), bytes);
    EXPECT_EQ(loaded->GetReference(), row.reference);
    EXPECT_EQ(WrittenBytes(*loaded), bytes);
  }
}

TEST_F(GenericReferenceTest, OnlyAManualRecordTakesThePlaceholderTextAsItsReference) {
  CDev* elbow = Element(CDev::kElbow, 1, "ELB-9");
  EXPECT_FALSE(elbow->SetFieldText("Ref", CDev::kGenericRef));
  EXPECT_EQ(elbow->GetReference(), "ELB-9");
  CDev* manual = Element(CDev::kAccessory, 0, "USER-1");
  EXPECT_TRUE(manual->SetFieldText("Ref", CDev::kGenericRef));
  EXPECT_EQ(manual->GetReference(), CDev::kGenericRef);
}

}  // namespace
