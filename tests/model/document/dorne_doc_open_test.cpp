// Opening a design from its file, against what the file holds: every document opened
// from a file on disk writes the very same bytes back, and its elements wear the colours
// that a colouring of every run after the whole file has been read gives them, and its
// boxes the projection of the angles the file gives.

#include "model/document/dorne_doc_test_support.h"

#include "support/golden_file.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <functional>
#include <string>
#include <unordered_map>
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
        // Enough runs to be read on several threads.
        {"forty runs", [](auto& test) { return test.ManyChains(40); }},
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

// Every box of an opened file holds the projection that projecting it alone, on this
// thread, with the document's angles gives: none left out of the bands, none projected
// with the angles in force before the file's were read.
class DorneDocOpenProjectionTest : public DorneDocOpenTest {
 protected:
  struct Projected {
    std::array<C3DPoint, CBox::kCornerCount> corners;
    C3DPoint low, high;
  };

  static Projected Of(const CBox& box) {
    return {box.GetProjectedCorners(), box.GetProjectedMin(), box.GetProjectedMax()};
  }

  static std::vector<CBox*> AllBoxes(const CDorneDoc& document) {
    std::vector<CBox*> boxes;
    auto add = [&boxes](const CDev* element) {
      for (const auto& box : element->GetBoxSlots())
        if (box) boxes.push_back(box.get());
    };
    for (int run = 0; run < document.GetRunCount(); ++run) {
      const CRun& r = *document.GetRunAt(run);
      for (const CDev* element : r.GetDevices()) add(element);
      for (const CDev* element : r.GetLengthRecords()) add(element);
      if (const CDev* marker = r.GetStartMarker()) add(marker);
    }
    for (const CBox* box : document.GetExtraBoxes()) boxes.push_back(const_cast<CBox*>(box));
    return boxes;
  }

  std::vector<std::uint8_t> TurnedChains(int runs, std::array<int, 3> angles) {
    return Turned(Load(ManyChains(runs)), angles);
  }

  // Runs of that many straight elements each, side by side, every element with a box of
  // its own place: far more boxes in all than one piece of the projection takes.
  std::vector<std::uint8_t> TurnedLines(int runs, int elements, std::array<int, 3> angles) {
    auto document = NewDocument();
    for (int r = 0; r < runs; ++r) {
      CChainBuilder builder(AddRun(*document, "QDA"));
      CDev* last = builder.Start(4);
      for (int i = 0; i < elements; ++i) {
        last = builder.Add(last, 4, CDev::kStraight, 1000);
        const C3DPoint place(1000.0 * i, 500.0 * r + 7.0 * (i % 13), 0);
        last->MakeBox(CDev::kBodySlot)->SetPlacement(place, 1000, 20, 30 + i % 5);
      }
    }
    return Turned(Load(Save(*document)), angles);
  }

  static std::vector<std::uint8_t> Turned(std::unique_ptr<CDorneDoc> document,
                                          std::array<int, 3> angles) {
    document->SetViewAngles(angles[0], angles[1], angles[2]);
    return Save(*document);
  }

  // The scene made for the document as it stands.
  static std::vector<CBox*> SceneOrder(CDorneDoc& document) {
    document.RebuildScene();
    return document.Projection().GetDisplayList().CollectBoxes();
  }
};

TEST_F(DorneDocOpenProjectionTest, EveryBoxHoldsTheProjectionOfTheFilesAngles) {
  const std::vector<std::pair<const char*, std::function<std::vector<std::uint8_t>()>>> cases = {
      {"rich document file", [] { return ReadGoldenBytes("model/rich_document.run"); }},
      {"one run turned",
       [this] {
         return TurnedChains(1, {30, 45, 10});
       }},
      {"seventeen runs turned",
       [this] {
         return TurnedChains(17, {330, 20, 200});
       }},
      {"eighty runs turned",
       [this] {
         return TurnedChains(80, {135, 300, 75});
       }},
      {"eighty runs unturned",
       [this] {
         return TurnedChains(80, {0, 0, 0});
       }},
      {"one run of many elements turned",
       [this] {
         return TurnedLines(1, 20000, {30, 45, 10});
       }},
      {"five hundred small runs turned",
       [this] {
         return TurnedLines(500, 20, {200, 15, 340});
       }},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    auto opened = OpenFile(bytes());
    const std::vector<CBox*> boxes = AllBoxes(*opened);
    ASSERT_GT(boxes.size(), 10u);
    C3DProjection& projection = opened->Projection();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      CBox& box = *boxes[i];
      ASSERT_FALSE(box.IsListed());
      const Projected asOpened = Of(box);
      projection.ProjectBox(box);
      const Projected alone = Of(box);
      EXPECT_EQ(std::memcmp(&asOpened, &alone, sizeof(Projected)), 0) << "box " << i;
    }
  }
}

// The scene of an opened file lists its boxes in the order that projecting every box on
// this thread, the file's boxes one after the other, leads to.
TEST_F(DorneDocOpenProjectionTest, TheSceneOfAnOpenedFileIsThatOfBoxesProjectedOneByOne) {
  const std::vector<std::pair<const char*, std::function<std::vector<std::uint8_t>()>>> cases = {
      {"one run of many elements",
       [this] {
         return TurnedLines(1, 8000, {30, 45, 10});
       }},
      {"five hundred small runs",
       [this] {
         return TurnedLines(500, 20, {200, 15, 340});
       }},
      {"rich document file", [] { return ReadGoldenBytes("model/rich_document.run"); }},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> file = bytes();
    auto opened = OpenFile(file);
    auto oneByOne = OpenFile(file);
    for (CBox* box : AllBoxes(*oneByOne)) oneByOne->Projection().ProjectBox(*box);
    const std::vector<CBox*> openedBoxes = AllBoxes(*opened);
    const std::vector<CBox*> oneByOneBoxes = AllBoxes(*oneByOne);
    ASSERT_EQ(openedBoxes.size(), oneByOneBoxes.size());
    // Each box by its place among the file's boxes, to compare the two documents' lists.
    auto places = [](const std::vector<CBox*>& all, const std::vector<CBox*>& listed) {
      std::unordered_map<const CBox*, std::size_t> placeOf;
      for (std::size_t i = 0; i < all.size(); ++i) placeOf.emplace(all[i], i);
      std::vector<std::size_t> at;
      for (const CBox* box : listed) at.push_back(placeOf.at(box));
      return at;
    };
    const std::vector<std::size_t> openedOrder = places(openedBoxes, SceneOrder(*opened));
    ASSERT_GT(openedOrder.size(), 10u);
    EXPECT_EQ(openedOrder, places(oneByOneBoxes, SceneOrder(*oneByOne)));
  }
}

}  // namespace
