// Documents of the opening benchmark's sizes, opened from a file on disk: each is written
// back byte for byte, and each run's bill holds the lines it held when it was saved.

#include "model/document/dorne_doc_test_support.h"

#include "../../../bench/model/bench_document.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_line.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

class DorneDocOpenLargeTest : public DorneDocTestBase {
 protected:
  CTempFolder m_folder{"doc-open-large"};
};

// Every run's bill lines as "reference x quantity", run after run.
std::vector<std::string> BillLines(const CDorneDoc& document) {
  std::vector<std::string> lines;
  for (int run = 0; run < document.GetRunCount(); ++run) {
    const CBOMGrid& bom = document.GetRunAt(run)->GetBOM();
    for (int row = 1; row < bom.GetLineCount(); ++row) {
      lines.push_back(std::to_string(run) + ": " + bom.GetLine(row)->reference + " x" +
                      std::to_string(bom.GetLineQuantity(row)));
    }
  }
  return lines;
}

TEST_F(DorneDocOpenLargeTest, ABenchmarkSizedFileIsWrittenBackByteForByte) {
  for (const int runs : {25, 400}) {
    SCOPED_TRACE(std::to_string(runs) + " runs");
    const auto built = BuildBenchDocument(runs);
    // As the program writes the document once it has read it: the benchmark writes
    // references that reading takes for the generic one of their kind.
    const std::vector<std::uint8_t> bytes = Save(*Load(Save(*built)));
    const std::string path = m_folder.WriteFile(
        "large.run", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    auto opened = NewDocument();
    const CDocFileResult result = opened->OnOpenDocument(path);
    ASSERT_TRUE(result.ok) << result.text;
    const std::vector<std::uint8_t> written = Save(*opened);
    // The place of the first difference, not two files of megabytes side by side.
    const auto differ = std::mismatch(bytes.begin(), bytes.end(), written.begin(), written.end());
    EXPECT_EQ(differ.first - bytes.begin(), static_cast<std::ptrdiff_t>(bytes.size()));
    EXPECT_EQ(written.size(), bytes.size());
    EXPECT_EQ(BillLines(*opened), BillLines(*built));
  }
}

}  // namespace
