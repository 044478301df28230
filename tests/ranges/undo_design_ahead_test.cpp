#include "range_test_support.h"

#include "model/document/doc_file_bytes.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_files.h"
#include "model/undo/undo_manager.h"
#include "platform/archive.h"
#include "support/temp_folder.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// The design of the next undo's step made on the worker, for the sample documents of every
// range of the sample catalogue: the runs read there take the range table sets that the
// document's own runs keep filled, and never fill one themselves.
class UndoDesignAheadRangesTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CUndoFiles::ResetForTests();
  }
  void TearDown() override {
    CUndoFiles::ResetForTests();
    RangeTest::TearDown();
  }

  std::unique_ptr<CDorneDoc> OpenSample(const std::string& name) {
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Folder();
    auto document = std::make_unique<CDorneDoc>(environment);
    const CDocFileResult opened = document->OnOpenDocument(TVR_PROGRAM_DIR "/examples/" + name);
    EXPECT_TRUE(opened.ok) << name << ": " << opened.text;
    document->RebuildScene();
    return document;
  }
  static std::vector<std::uint8_t> Save(CDorneDoc& document) {
    CArchiveWriter writer;
    document.Serialize(writer);
    return writer.TakeBytes();
  }
  static std::vector<std::uint8_t> Resaved(const std::vector<std::uint8_t>& bytes) {
    CDorneDoc document;
    CArchiveReader reader(bytes);
    document.Serialize(reader);
    return Save(document);
  }
  static std::vector<std::uint8_t> StepFile(CUndoManager& undo) {
    std::vector<std::uint8_t> bytes;
    const CUndoRecord& record = undo.GetRecord(undo.GetLast());
    EXPECT_TRUE(ReadWholeFile(record.path, bytes)) << record.path;
    return bytes;
  }
  static void WaitForWorker(CUndoManager& undo) {
    auto ended = [&undo] {
      const CUndoDesignAhead::CCounts counts = undo.DesignAheadCounts();
      return counts.read + counts.unread + counts.calledOff;
    };
    for (int i = 0; i < 5000 && ended() == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(ended(), 1);
  }

  const CProgramTexts m_texts;
  CTempFolder m_folder{"undo-ranges"};
};

const char* const kSamples[] = {"qd_sample.run",  "qg_sample.run", "qg_bars_sample.run",
                                "qjf_sample.run", "qm_sample.run", "qm_bars_sample.run",
                                "qp_sample.run",  "qw_sample.run", "annotations_sample.run"};

TEST_F(UndoDesignAheadRangesTest, EverySampleComesBackAsItsStepFileWithoutATableRead) {
  for (const char* sample : kSamples) {
    auto document = OpenSample(sample);
    CUndoManager& undo = document->GetUndo();
    const std::vector<std::uint8_t> before = Save(*document);
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1) << sample;
    const std::vector<std::uint8_t> file = StepFile(undo);
    document->SetDocPropertyModified("Name", "edited");
    const int opens = CRangeContext::Instance().TableOpens();
    ASSERT_EQ(undo.DesignUndoAhead(), 1) << sample;
    WaitForWorker(undo);
    EXPECT_EQ(undo.DesignAheadCounts().read, 1) << sample;
    EXPECT_EQ(CRangeContext::Instance().TableOpens(), opens) << sample << ": no set filled";
    ASSERT_EQ(undo.Undo(), 1) << sample;
    EXPECT_EQ(undo.StepsDesignedAhead(), 1) << sample;
    EXPECT_TRUE(Save(*document) == Resaved(file)) << sample;
    EXPECT_TRUE(Save(*document) == before) << sample;
  }
}

// The edit took away every run of the range: its set was emptied, and the step's runs need
// it filled. The worker leaves it so and gives the step up; the undo reads the file on the
// window thread as before, which fills the set.
TEST_F(UndoDesignAheadRangesTest, AStepNeedingAnEmptiedSetIsReadFromItsFileInstead) {
  for (const char* sample : {"qd_sample.run", "qg_sample.run", "qp_sample.run", "qw_sample.run"}) {
    auto document = OpenSample(sample);
    CUndoManager& undo = document->GetUndo();
    const std::vector<std::uint8_t> before = Save(*document);
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1) << sample;
    const std::vector<CRun*> ranged = document->GetRuns();
    auto generic = std::make_unique<CRun>(document.get());
    CRun* kept = generic.get();
    document->AddRun(std::move(generic));
    document->SetCurrentRun(kept);
    for (CRun* run : ranged) document->RemoveRun(run);
    document->RebuildScene();
    const int opens = CRangeContext::Instance().TableOpens();
    ASSERT_EQ(undo.DesignUndoAhead(), 1) << sample;
    WaitForWorker(undo);
    EXPECT_EQ(undo.DesignAheadCounts().unread, 1) << sample;
    EXPECT_EQ(CRangeContext::Instance().TableOpens(), opens) << sample << ": the worker filled";
    ASSERT_EQ(undo.Undo(), 1) << sample;
    EXPECT_EQ(undo.StepsDesignedAhead(), 0) << sample;
    EXPECT_GT(CRangeContext::Instance().TableOpens(), opens) << sample << ": filled by the undo";
    EXPECT_TRUE(Save(*document) == before) << sample;
  }
}

// The window thread goes on while the worker reads the step: it rebuilds the current run's
// parts (the part builder switches the line numbering and reads the range's tables), copies
// runs (leases on the sets the worker also takes) and opens a document of another range
// (a set filled meanwhile). The undo still gives back the step, and the other document is
// whole. Run under ThreadSanitizer, this is where the process's shared state would race.
TEST_F(UndoDesignAheadRangesTest, TheWindowThreadWorksOnWhileTheWorkerReads) {
  const struct {
    const char* sample;
    const char* other;  // of another range
  } rows[] = {
      {"qg_sample.run", "qd_sample.run"},
      {"qd_sample.run", "qw_sample.run"},
      {"qm_sample.run", "qjf_sample.run"},
  };
  for (const auto& row : rows) {
    auto document = OpenSample(row.sample);
    // Copies enough that the worker is still reading when the window thread goes on.
    for (int copy = 0; copy < 40; ++copy) ASSERT_GT(document->DuplicateRun(1), 0) << row.sample;
    document->RebuildScene();
    CUndoManager& undo = document->GetUndo();
    const std::vector<std::uint8_t> before = Save(*document);
    ASSERT_EQ(undo.SaveUndoState(21069, true), 1) << row.sample;
    ASSERT_EQ(undo.DesignUndoAhead(), 1) << row.sample;
    document->GetCurrentRun()->RebuildParts(0);
    ASSERT_GT(document->DuplicateRun(0), 0) << row.sample;
    document->RebuildScene();
    auto other = OpenSample(row.other);
    ASSERT_EQ(undo.Undo(), 1) << row.sample;
    EXPECT_EQ(undo.StepsDesignedAhead(), 1) << row.sample;
    EXPECT_TRUE(Save(*document) == before) << row.sample;
    const std::vector<std::uint8_t> otherBytes = Save(*other);
    EXPECT_TRUE(Resaved(otherBytes) == otherBytes) << row.other;
  }
}

}  // namespace
