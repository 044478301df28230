#include "model/document/dorne_doc_test_support.h"

#include "model/annotation/annotation_archive.h"

namespace {

class AnnotationArchiveTest : public DorneDocTestBase {
 protected:
  void SetUp() override {
    DorneDocTestBase::SetUp();
    m_document = NewDocument();
    m_chain = BuildChain(AddRun(*m_document, "QDA"));
    BuildChain(AddRun(*m_document, "QPC"));
  }

  // The document list of one label, as a file holds it.
  std::vector<std::uint8_t> WriteList(std::unique_ptr<CAnnotation> label) {
    CAnnotationList list;
    list.Append(std::move(label));
    CAnnotationArchive lists(list, m_document->GetRuns(), CDorneDoc::kFileSubVersion);
    CArchiveWriter writer;
    lists.WriteDocumentList(writer);
    return writer.TakeBytes();
  }

  void ReadList(const std::vector<std::uint8_t>& bytes, CAnnotationList& list) {
    CAnnotationArchive lists(list, m_document->GetRuns(), CDorneDoc::kFileSubVersion);
    CArchiveReader reader(bytes);
    lists.ReadDocumentList(reader);
    lists.FinishLoad();
    EXPECT_TRUE(reader.AtEnd());
  }

  std::unique_ptr<CDorneDoc> m_document;
  std::vector<CDev*> m_chain;
};

void PutDword(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST_F(AnnotationArchiveTest, UserDimensionsWithoutBothEndsAreDropped) {
  auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kDistance);
  label->SetEnd(0, m_chain[2]);
  label->SetEnd(1, m_chain[5]);
  const std::vector<std::uint8_t> good = WriteList(std::move(label));
  // The two ends close the record: run index and chain index of each.
  const std::size_t ends = good.size() - 16;
  const struct {
    const char* guards;
    std::uint32_t firstRun, firstIndex, secondRun, secondIndex;
    bool kept;
  } rows[] = {{"both ends found", 0, 3, 1, 5, true},
              {"a run past the array", 2, 3, 1, 5, false},
              {"an index past the chain", 0, 9999, 1, 5, false},
              {"a negative index as stored", 0, 0xFFFFFFFF, 1, 5, false}};
  for (const auto& row : rows) {
    std::vector<std::uint8_t> bytes = good;
    PutDword(bytes, ends, row.firstRun);
    PutDword(bytes, ends + 4, row.firstIndex);
    PutDword(bytes, ends + 8, row.secondRun);
    PutDword(bytes, ends + 12, row.secondIndex);
    CAnnotationList list;
    ReadList(bytes, list);
    ASSERT_EQ(list.Size(), row.kept ? 1u : 0u) << row.guards;
    if (!row.kept) continue;
    const auto& read = static_cast<const CAnnotationLabel&>(*list.At(0));
    EXPECT_EQ(read.GetEnd(1)->GetRun(), m_document->GetRunAt(1)) << row.guards;
  }
}

TEST_F(AnnotationArchiveTest, DimensionEndsAreFoundByTheirPlaceInTheChain) {
  CRun& run = *m_document->GetRunAt(0);
  // The element array no longer follows the chain: the second element comes last.
  run.RemoveDevice(m_chain[1]);
  run.AddDevice(m_chain[1]);
  ASSERT_NE(run.GetDevices()[1], m_chain[1]);
  auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kDistance);
  label->SetOwnerDocument();
  label->SetEnd(0, m_chain[1]);
  label->SetEnd(1, m_chain[4]);
  m_document->Annotations().Append(std::move(label));
  const std::vector<CRun*> before = {&run};
  const std::vector<CDev*> chain = run.GetChainOrder();
  const auto at = [&chain](const CDev* element) {
    return std::find(chain.begin(), chain.end(), element) - chain.begin();
  };
  const std::unique_ptr<CDorneDoc> loaded = Load(Save(*m_document));
  const CAnnotationList& list = loaded->Annotations();
  const CAnnotationLabel* read = nullptr;
  for (std::size_t i = 0; i < list.Size(); ++i)
    if (list.At(i)->GetKind() == CAnnotation::kDistance)
      read = static_cast<const CAnnotationLabel*>(list.At(i));
  ASSERT_NE(read, nullptr);
  const std::vector<CDev*> loadedChain = loaded->GetRunAt(0)->GetChainOrder();
  ASSERT_EQ(loadedChain.size(), chain.size());
  EXPECT_EQ(read->GetEnd(0), loadedChain[static_cast<std::size_t>(at(m_chain[1]))]);
  EXPECT_EQ(read->GetEnd(1), loadedChain[static_cast<std::size_t>(at(m_chain[4]))]);
}

TEST_F(AnnotationArchiveTest, RecordsOfAnUnknownKindAreDroppedAndTheRestRead) {
  auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
  label->SetText("kept");
  auto other = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
  other->SetText("unknown");
  CAnnotationList list;
  list.Append(std::move(label));
  list.Append(std::move(other));
  CAnnotationArchive lists(list, m_document->GetRuns(), CDorneDoc::kFileSubVersion);
  CArchiveWriter writer;
  lists.WriteDocumentList(writer);
  std::vector<std::uint8_t> bytes = writer.TakeBytes();
  // The list is stored from its last entry: the first record after the count is "unknown".
  for (std::uint32_t kind : {10u, 0xFFFFFFFFu}) {
    PutDword(bytes, 4, kind);
    CAnnotationList read;
    ReadList(bytes, read);
    ASSERT_EQ(read.Size(), 1u) << kind;
    EXPECT_EQ(read.At(0)->GetText(), "kept");
  }
}

TEST_F(AnnotationArchiveTest, LinkedRunsComeFromTheIndexInTheFlags) {
  const std::vector<std::pair<std::uint32_t, int>> rows = {
      {1, 0}, {2, 1}, {0, -1}, {3, -1}, {255, -1}};
  for (const auto& [stored, run] : rows) {
    auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
    label->SetFlags(CAnnotation::kFlagWithRun | (stored << CAnnotation::kRunIndexShift));
    CAnnotationList list;
    ReadList(WriteList(std::move(label)), list);
    ASSERT_EQ(list.Size(), 1u);
    EXPECT_EQ(list.At(0)->GetLinkedRun(), run < 0 ? nullptr : m_document->GetRunAt(run)) << stored;
  }
}

}  // namespace
