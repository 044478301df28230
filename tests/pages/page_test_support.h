#pragma once

#include "app/profile.h"
#include "platform/archive.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_line.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/element/element_selection.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "model/undo/undo_manager.h"
#include "ranges/range_test_support.h"
#include "support/temp_folder.h"

#include <memory>
#include <string>
#include <vector>

// The QD sample document the build writes, opened as the program opens it (with undo
// snapshots in a settings folder of the test's own).
class SamplePageTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"},
                                               {"QDT", "QD T"},
                                               {"QJF", "QJ F"},
                                               {"QWA", "QW A"},
                                               {"QWC", "QW C"},
                                               {"QPA", "QP A"},
                                               {"QPC", "QP C"},
                                               {"Qpa", "Qp a"},
                                               {"Qpc", "Qp c"}});
    m_folder.WriteFile("TVR.INI", "[Design]\nSplit=1\n");
    m_profile = std::make_unique<CProfile>(m_folder.File("TVR.INI"));
    CDocEnvironment environment;
    environment.profile = m_profile.get();
    environment.settingsFolder = m_folder.Folder();
    document = std::make_unique<CDorneDoc>(environment);
    ASSERT_TRUE(document->OnOpenDocument(SamplePath()).ok);
  }
  // The sample the test opens.
  virtual std::string SamplePath() const { return TVR_PROGRAM_DIR "/examples/qd_sample.run"; }
  void TearDown() override {
    document.reset();
    RangeTest::TearDown();
  }

  static constexpr int kActionElementEdit = 17520;

  CRun& Run(int index) { return *document->GetRunAt(index); }
  // The elements of the run's chain of that kind, in chain order.
  std::vector<CDev*> Elements(int run, int kind) {
    std::vector<CDev*> found;
    for (CDev* element : Run(run).GetChainOrder())
      if (element->GetKind() == kind) found.push_back(element);
    return found;
  }
  // The longest element of the run's lines (a straight, or a joint once the parts are
  // built) with a back neighbour and a forward neighbour.
  CDev* InnerStraight(int run) {
    CDev* longest = nullptr;
    for (CDev* element : Run(run).GetChainOrder()) {
      const int kind = element->GetKind();
      if ((kind == CDev::kStraight || kind == CDev::kJoint) &&
          element->GetBackNeighbour() != nullptr &&
          element->GetNeighbour(element->GetDirection()) != nullptr &&
          (longest == nullptr || element->GetBookedLength() > longest->GetBookedLength()))
        longest = element;
    }
    return longest;
  }
  // A riser unit put 1000 into the run's longest inner straight.
  CDev* InsertUnit(int run) {
    CDev* straight = InnerStraight(run);
    if (straight == nullptr || straight->GetBackNeighbour() == nullptr) return nullptr;
    CDev* back = straight->GetBackNeighbour();
    int face = 0;
    while (face < CDev::kFaceCount && back->GetNeighbour(face) != straight) ++face;
    return back->InsertRiserFixing(face, 1000, 0) == 1 ? back->GetNeighbour(face) : nullptr;
  }
  void SelectFace(CDev& element) { document->Selection().Select(&element, element.GetBackFace()); }
  void SelectWhole(CDev& element) {
    document->Selection().Select(&element, CElementSelection::kWholeElement);
  }
  // The sum of the run's length records: what the bill of materials counts of lengths.
  static std::int64_t BookedTotal(const CRun& run) {
    std::int64_t total = 0;
    for (const CDev* record : run.GetLengthRecords()) total += record->GetBookedLength();
    return total;
  }
  int UndoSteps() { return document->GetUndo().GetPosition(); }
  // The run's bill of materials, a line a reference with its quantity.
  static std::string BillText(const CRun& run) {
    std::string text;
    const CBOMGrid& bom = run.GetBOM();
    for (int row = 1; row < bom.GetLineCount(); ++row)
      text += bom.GetLine(row)->reference + " x" + std::to_string(bom.GetLineQuantity(row)) + "\n";
    return text;
  }
  // The quantity of the reference's line, 0 when it has none.
  static std::int64_t Quantity(const CRun& run, const std::string& reference) {
    const int row = run.GetBOM().FindLine(reference);
    return row < 0 ? 0 : run.GetBOM().GetLineQuantity(row);
  }
  // The run taken back to its generic references (parts not built), then the document
  // read back from its own bytes once (an unbuilt run reads back with its records
  // normalised), so that what a later undo brings back compares byte for byte.
  void Unbuild(int run) {
    Run(run).RebuildParts(-1);
    ASSERT_EQ(document->GetUndo().SaveUndoState(kActionElementEdit, true), 1);
    ASSERT_EQ(document->GetUndo().Undo(), 1);
  }
  // The document as it would be saved.
  std::vector<std::uint8_t> Bytes() {
    CArchiveWriter writer;
    document->Serialize(writer);
    return writer.TakeBytes();
  }

  std::unique_ptr<CDorneDoc> document;

 private:
  CTempFolder m_folder{"pages"};
  std::unique_ptr<CProfile> m_profile;
};

// The QJF sample document: feed units at both ends, elbows and a tee with its rise.
class QJFSamplePageTest : public SamplePageTest {
 protected:
  std::string SamplePath() const override { return TVR_PROGRAM_DIR "/examples/qjf_sample.run"; }
};

// The QW sample document: runs of both QW variants with flat and edgewise elbows.
class QWSamplePageTest : public SamplePageTest {
 protected:
  std::string SamplePath() const override { return TVR_PROGRAM_DIR "/examples/qw_sample.run"; }
};

// The QP sample document: runs of the four QP codes.
class QPSamplePageTest : public SamplePageTest {
 protected:
  std::string SamplePath() const override { return TVR_PROGRAM_DIR "/examples/qp_sample.run"; }
};
