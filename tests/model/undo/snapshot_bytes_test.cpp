#include "model/undo/undo_document_test_base.h"

#include "model/element/dev.h"
#include "model/run/run.h"
#include "platform/archive.h"
#include "support/golden_file.h"

#include "../../../bench/model/bench_document.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The bytes of an undo snapshot and of a saved file, pinned as the writer first made them:
// a quicker writer must not change one byte of either.
class SnapshotBytesTest : public UndoDocumentTestBase {
 public:
  SnapshotBytesTest() : UndoDocumentTestBase("snapshot-bytes") {}
  using UndoDocumentTestBase::RichDocument;
  using UndoDocumentTestBase::ThreeRunsApart;

  // Runs of two ranges, each with the chain of every kind and its bill: totalled on
  // several threads too.
  std::unique_ptr<CDorneDoc> RunsWithBills(int count) {
    auto document = NewDocument();
    for (int i = 0; i < count; ++i) BuildChain(AddRun(*document, i % 2 == 0 ? "QDA" : "QPC"));
    return document;
  }

  static std::string Bytes(CDorneDoc& document, bool snapshot) {
    CArchiveWriter writer;
    if (snapshot) document.SetSnapshotMarker(CDorneDoc::kSnapshotMarker);
    document.Serialize(writer);
    document.SetSnapshotMarker(0);
    const std::vector<std::uint8_t>& bytes = writer.Bytes();
    return std::string(bytes.begin(), bytes.end());
  }
};

struct DesignCase {
  const char* name;
  const char* golden;
  bool snapshot;
  std::function<std::unique_ptr<CDorneDoc>(SnapshotBytesTest&)> make;
};

// Straights added at the current element, as the mouse tools add them, with the run
// rebuilt each time.
std::unique_ptr<CDorneDoc> EditedBenchDesign() {
  auto document = BuildBenchDocument(3);
  document->SetViewAngles(30, 45, 10);
  document->RebuildScene();
  const int faces[] = {4, 1, 4, 2, 4, 5};
  for (int step = 0; step < 12; ++step) {
    CRun* run = document->GetRunAt(step % 3);
    document->SetCurrentRun(run);
    CDev* added = run->GetCurrentElement()->AddStraightToward(faces[step % 6], 500 + 250 * step);
    if (added != nullptr) run->SetCurrentElement(added);
    run->RebuildParts(0);
  }
  return document;
}

std::vector<DesignCase> Designs() {
  return {
      {"bench design, snapshot", "model/snapshot_bench_design.bin", true,
       [](SnapshotBytesTest&) { return BuildBenchDocument(2); }},
      {"bench design edited, snapshot", "model/snapshot_bench_design_edited.bin", true,
       [](SnapshotBytesTest&) { return EditedBenchDesign(); }},
      // A saved file of a design without a pending element is its snapshot.
      {"bench design edited, file", "model/snapshot_bench_design_edited.bin", false,
       [](SnapshotBytesTest&) { return EditedBenchDesign(); }},
      {"three runs of every kind, snapshot", "model/snapshot_three_runs.bin", true,
       [](SnapshotBytesTest& test) { return test.ThreeRunsApart(); }},
      {"rich document, snapshot", "model/snapshot_rich_document.bin", true,
       [](SnapshotBytesTest& test) { return test.RichDocument(); }},
      {"empty document, snapshot", "model/snapshot_empty_document.bin", true,
       [](SnapshotBytesTest&) { return BuildBenchDocument(0); }},
  };
}

TEST_F(SnapshotBytesTest, EveryDesignWritesItsPinnedBytes) {
  for (const DesignCase& c : Designs()) {
    SCOPED_TRACE(c.name);
    auto document = c.make(*this);
    const std::string first = Bytes(*document, c.snapshot);
    ExpectGolden(c.golden, first);
    // Written again, the same bytes: nothing kept from one writing changes the next.
    EXPECT_EQ(Bytes(*document, c.snapshot), first);
    // The runs cut into pieces written on several threads, down to a run a piece: the
    // pieces join in run order, each run's record whole.
    for (const std::size_t pieces : {2, 3, 64}) {
      SCOPED_TRACE(pieces);
      document->SetRunWritingPieces(pieces);
      EXPECT_TRUE(Bytes(*document, c.snapshot) == first);
    }
  }
}

// Designs too large to pin, written on one thread and in pieces.
TEST_F(SnapshotBytesTest, RunsWrittenInPiecesGiveTheBytesOfOnePass) {
  struct Case {
    const char* name;
    std::function<std::unique_ptr<CDorneDoc>(SnapshotBytesTest&)> make;
  };
  const std::vector<Case> cases = {
      // Above the size that is written in pieces unasked.
      {"bench design of 40 runs", [](SnapshotBytesTest&) { return BuildBenchDocument(40); }},
      {"forty runs with their bills",
       [](SnapshotBytesTest& test) { return test.RunsWithBills(40); }},
      {"rich document with an empty run last",
       [](SnapshotBytesTest& test) {
         auto document = test.RichDocument();
         document->AddRun(std::make_unique<CRun>(document.get()));
         return document;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto document = c.make(*this);
    for (const bool snapshot : {true, false}) {
      document->SetRunWritingPieces(1);
      const std::string onePass = Bytes(*document, snapshot);
      for (const std::size_t pieces : {0, 5, 1000}) {
        SCOPED_TRACE(pieces);
        document->SetRunWritingPieces(pieces);
        EXPECT_TRUE(Bytes(*document, snapshot) == onePass);
      }
    }
  }
}

}  // namespace
