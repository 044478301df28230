// Every range's sample design, its runs repeated until its file is large enough to be
// opened with its runs read on several threads: the opened document is the one that
// reading the runs one after the other gives, on the sample catalogue's own tables.

#include "range_test_support.h"

#include "model/bom/bom_grid.h"
#include "model/bom/bom_line.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "platform/archive.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Saved(CDorneDoc& document) {
  CArchiveWriter writer;
  document.Serialize(writer);
  return writer.TakeBytes();
}

// Every run's bill, line by line.
std::vector<std::string> Bills(const CDorneDoc& document) {
  std::vector<std::string> lines;
  for (int run = 0; run < document.GetRunCount(); ++run) {
    const CBOMGrid& bom = document.GetRunAt(run)->GetBOM();
    for (int row = 1; row <= bom.GetLineCount(); ++row) {
      const CBOMLine* line = bom.GetLine(row);
      if (line == nullptr) continue;
      lines.push_back(std::to_string(run) + ": " + line->reference + " x" +
                      std::to_string(bom.GetLineQuantity(row)));
    }
  }
  return lines;
}

TEST_F(RangeTest, EverySampleDesignOpensAsReadOneByOneWhenItsRunsAreReadAside) {
  ConnectRunsAsTheStartUpDoes();
  const CTempFolder folder("sample-read-aside");
  for (const char* sample : {"qd_sample.run", "qg_bars_sample.run", "qg_sample.run",
                             "qjf_sample.run", "qm_bars_sample.run", "qm_sample.run",
                             "qp_sample.run", "qw_sample.run", "annotations_sample.run"}) {
    SCOPED_TRACE(sample);
    CDorneDoc source;
    ASSERT_TRUE(source.OnOpenDocument(std::string(TVR_PROGRAM_DIR "/examples/") + sample).ok);
    const int first = source.GetRunCount();
    ASSERT_GT(first, 0);
    for (int i = first; i < 40; ++i) {
      source.SetCurrentRun(source.GetRunAt(i % first));
      ASSERT_GT(source.DuplicateRun(0), 0);
    }
    const Bytes bytes = Saved(source);
    const std::string path = folder.WriteFile(
        "large.run", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));

    CDorneDoc opened;
    const CDocFileResult result = opened.OnOpenDocument(path);
    ASSERT_TRUE(result.ok) << result.text;
    EXPECT_EQ(opened.RunsReadAside(), 40u);
    CDorneDoc read;
    CArchiveReader reader(bytes);
    read.Serialize(reader);
    EXPECT_EQ(Bills(opened), Bills(read));
    const Bytes openedSaved = Saved(opened);
    const Bytes readSaved = Saved(read);
    const auto differ =
        std::mismatch(openedSaved.begin(), openedSaved.end(), readSaved.begin(), readSaved.end());
    EXPECT_EQ(differ.first - openedSaved.begin(), static_cast<std::ptrdiff_t>(readSaved.size()));
    EXPECT_EQ(openedSaved.size(), readSaved.size());
  }
}

}  // namespace
