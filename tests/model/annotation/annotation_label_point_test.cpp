#include "model/document/dorne_doc_test_support.h"

#include "model/annotation/annotation_archive.h"
#include "model/undo/undo_files.h"
#include "model/undo/undo_manager.h"
#include "platform/archive.h"
#include "support/temp_folder.h"

namespace {

constexpr double kUnset = CAnnotation::kUnsetCoordinate;

class AnnotationLabelPointTest : public DorneDocTestBase {
 protected:
  void SetUp() override {
    DorneDocTestBase::SetUp();
    CUndoFiles::ResetForTests();
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Folder();
    m_document = NewDocument(environment);
    m_chain = BuildChain(AddRun(*m_document, "QDA"));
  }
  void TearDown() override {
    m_document.reset();
    CUndoFiles::ResetForTests();
    DorneDocTestBase::TearDown();
  }

  // One annotation of each list that stores a label point, all with the point given.
  void AddAnnotations(CDorneDoc& document, const std::vector<CDev*>& chain, const C3DPoint& point) {
    auto branch = std::make_unique<CAnnotation>(CAnnotation::kBranch);
    branch->SetOwnerElement(chain[2]);
    auto dimension = std::make_unique<CAnnotation>(CAnnotation::kDimension);
    dimension->SetOwnerElement(chain[3]);
    auto run = std::make_unique<CAnnotation>(CAnnotation::kRunInfo);
    run->SetOwnerRun(document.GetRunAt(0));
    auto distance = std::make_unique<CAnnotationLabel>(CAnnotation::kDistance);
    distance->SetOwnerDocument();
    distance->SetEnd(0, chain[1]);
    distance->SetEnd(1, chain[4]);
    for (CAnnotation* item :
         {branch.get(), dimension.get(), run.get(), static_cast<CAnnotation*>(distance.get())}) {
      item->SetLabelPoint(point);
    }
    for (auto* item : {&branch, &dimension, &run}) document.Annotations().Append(std::move(*item));
    document.Annotations().Append(std::move(distance));
  }

  // The label points of the kinds above, in kind order.
  static std::vector<C3DPoint> LabelPoints(const CDorneDoc& document) {
    std::vector<std::pair<int, C3DPoint>> found;
    const CAnnotationList& list = document.Annotations();
    for (std::size_t i = 0; i < list.Size(); ++i) {
      const int kind = list.At(i)->GetKind();
      if (kind == CAnnotation::kBranch || kind == CAnnotation::kDimension ||
          kind == CAnnotation::kRunInfo || kind == CAnnotation::kDistance)
        found.emplace_back(kind, list.At(i)->GetLabelPoint());
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<C3DPoint> points;
    for (const auto& entry : found) points.push_back(entry.second);
    return points;
  }

  CTempFolder m_folder{"label_point"};
  std::unique_ptr<CDorneDoc> m_document;
  std::vector<CDev*> m_chain;
};

TEST_F(AnnotationLabelPointTest, LabelPointsComeBackAsTheyWereThroughSaves) {
  const struct {
    const char* guards;
    C3DPoint point;
    C3DPoint read;
  } rows[] = {
      {"an unset point stays unset", {kUnset, kUnset, kUnset}, {kUnset, kUnset, kUnset}},
      {"a dragged point keeps its whole units", {120.75, -40.0, 9.5}, {120, -40, 9}},
      {"one coordinate at the stored unset value is a real place",
       {-999999999.0, 0.0, -999999999.0},
       {-999999999.0, 0.0, -999999999.0}},
      {"the largest stored values are places too",
       {-2147483648.0, -2147483648.0, -2147483648.0},
       {-2147483648.0, -2147483648.0, -2147483648.0}},
  };
  for (const auto& row : rows) {
    auto document = NewDocument();
    const std::vector<CDev*> chain = BuildChain(AddRun(*document, "QDA"));
    AddAnnotations(*document, chain, row.point);
    std::unique_ptr<CDorneDoc> loaded = Load(Save(*document));
    for (int round = 0; round < 2; ++round) loaded = Load(Save(*loaded));
    const std::vector<C3DPoint> points = LabelPoints(*loaded);
    ASSERT_EQ(points.size(), 4u) << row.guards;
    for (const C3DPoint& point : points) EXPECT_EQ(point, row.read) << row.guards;
  }
}

TEST_F(AnnotationLabelPointTest, RecordsOfFilesWithoutLabelPointsStayUnsetWhenSavedAgain) {
  CAnnotation branch(CAnnotation::kBranch);
  branch.SetText("old");
  for (const int version : {511, 512, CDorneDoc::kFileSubVersion}) {
    CArchiveWriter writer;
    branch.WriteRecord(writer, 0);
    std::vector<std::uint8_t> bytes = writer.TakeBytes();
    // A file before version 512 stores no label point: its record ends at the offset.
    if (version < 512) bytes.resize(bytes.size() - 12);
    CArchiveReader reader(bytes);
    std::unique_ptr<CAnnotation> read = CAnnotation::ReadRecord(reader, version);
    EXPECT_TRUE(reader.AtEnd()) << version;
    EXPECT_TRUE(read->IsLabelPointUnset()) << version;
    // And again through the record as this version writes it.
    CArchiveWriter again;
    read->WriteRecord(again, 0);
    CArchiveReader reread(again.TakeBytes());
    EXPECT_TRUE(CAnnotation::ReadRecord(reread, CDorneDoc::kFileSubVersion)->IsLabelPointUnset())
        << version;
  }
}

TEST_F(AnnotationLabelPointTest, AnUndoneEditKeepsUnsetLabelPointsUnset) {
  AddAnnotations(*m_document, m_chain, C3DPoint(kUnset, kUnset, kUnset));
  const std::vector<std::uint8_t> before = Save(*m_document);
  ASSERT_EQ(m_document->GetUndo().SaveUndoState(17520), 1);
  m_document->SetDocPropertyModified("Name", "changed");
  ASSERT_EQ(m_document->GetUndo().Undo(), 1);
  const std::vector<C3DPoint> points = LabelPoints(*m_document);
  ASSERT_EQ(points.size(), 4u);
  for (const C3DPoint& point : points) EXPECT_EQ(point, C3DPoint(kUnset, kUnset, kUnset));
  EXPECT_EQ(Save(*m_document), before);
}

}  // namespace
