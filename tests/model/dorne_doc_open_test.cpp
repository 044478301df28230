// Opening a design from its file, against what the file holds: every document opened
// from a file on disk writes the very same bytes back, and its elements wear the colours
// that a colouring of every run after the whole file has been read gives them.

#include "dorne_doc_test_support.h"

#include "support/golden_file.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

class DorneDocOpenTest : public DorneDocTestBase {
 protected:
  struct Case {
    const char* name;
    std::function<std::vector<std::uint8_t>(DorneDocOpenTest&)> bytes;
  };

  // Runs of both test ranges, alternately, each with the chain of every kind.
  std::vector<std::uint8_t> ManyChains(int runs) {
    auto document = NewDocument();
    for (int i = 0; i < runs; ++i) BuildChain(AddRun(*document, i % 2 == 0 ? "QPC" : "QDA"));
    document->SetCurrentRun(document->GetRunAt(runs / 2));
    return Save(*document);
  }

  static std::vector<Case> Cases() {
    return {
        {"rich document file", [](auto&) { return ReadGoldenBytes("model/rich_document.run"); }},
        {"new document file", [](auto&) { return ReadGoldenBytes("model/new_document.run"); }},
        {"one run", [](auto& test) { return test.ManyChains(1); }},
        {"twelve runs", [](auto& test) { return test.ManyChains(12); }},
        {"rich document saved twice",
         [](auto& test) { return Save(*test.Load(Save(*test.RichDocument()))); }},
    };
  }

  std::unique_ptr<CDorneDoc> OpenFile(const std::vector<std::uint8_t>& bytes) {
    const std::string path = m_folder.WriteFile(
        "design.run", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    auto document = NewDocument();
    const CDocFileResult result = document->OnOpenDocument(path);
    EXPECT_TRUE(result.ok) << result.text;
    return document;
  }

  // "run/element/slot: colour" for every box of every device, in list order.
  static std::vector<std::string> Colours(const CDorneDoc& document) {
    std::vector<std::string> all;
    for (int run = 0; run < document.GetRunCount(); ++run) {
      const std::vector<CDev*>& devices = document.GetRunAt(run)->GetDevices();
      for (std::size_t element = 0; element < devices.size(); ++element) {
        const auto& slots = devices[element]->GetBoxSlots();
        for (std::size_t slot = 0; slot < slots.size(); ++slot) {
          if (const auto& box = slots[slot])
            all.push_back(std::to_string(run) + "/" + std::to_string(element) + "/" +
                          std::to_string(slot) + ": " + std::to_string(box->GetColor()));
        }
      }
    }
    return all;
  }

  CTempFolder m_folder{"doc-open"};
};

TEST_F(DorneDocOpenTest, AnOpenedFileIsWrittenBackByteForByte) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    const std::vector<std::uint8_t> bytes = c.bytes(*this);
    ASSERT_FALSE(bytes.empty());
    auto opened = OpenFile(bytes);
    const std::vector<std::uint8_t> written = Save(*opened);
    const auto differ = std::mismatch(bytes.begin(), bytes.end(), written.begin(), written.end());
    EXPECT_EQ(differ.first - bytes.begin(), static_cast<std::ptrdiff_t>(bytes.size()))
        << "first difference";
    EXPECT_EQ(written, bytes);
    // The file read whole from memory gives the same document.
    EXPECT_EQ(Save(*Load(bytes)), bytes);
  }
}

// Each run is coloured as soon as it is read; nothing read after it (the later runs, the
// current run, the lists of annotations, the view angles) may leave a colour that the
// colouring of every run at the very end would give otherwise.
TEST_F(DorneDocOpenTest, ElementsWearTheColoursOfAColouringAfterTheWholeFile) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    auto opened = OpenFile(c.bytes(*this));
    const std::vector<std::string> read = Colours(*opened);
    if (opened->GetRunCount() > 0 && std::string(c.name) != "new document file") {
      ASSERT_FALSE(read.empty());
    }
    for (CRun* run : opened->GetRuns()) run->UpdateElementColors(0);
    EXPECT_EQ(Colours(*opened), read);
  }
}

}  // namespace
