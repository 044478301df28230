// Large files are opened with their runs read on several threads: the document must be the
// one that reading the runs one after the other gives, for whole files and for damaged ones
// alike (the same message, the same runs, annotations and bytes written back).

#include "model/document/dorne_doc_test_support.h"

#include "../../../bench/model/bench_document.h"
#include "model/annotation/annotation.h"
#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "platform/archive.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <functional>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kMsgBadFormat = 8018;

// What a reading gave: its message (0 when it read), the bytes written back, the
// annotations in their list's order, each by kind and owner, and the owners of the extra
// boxes in theirs.
struct Outcome {
  int message = 0;
  Bytes saved;
  std::vector<std::string> annotations;
  std::vector<std::string> extraBoxes;
  std::size_t runsReadAside = 0;
};

// A run or an element of the document by its place.
std::string PlaceOf(const CDorneDoc& document, const void* owner) {
  for (int r = 0; r < document.GetRunCount(); ++r) {
    const CRun& run = *document.GetRunAt(r);
    if (owner == &run) return "run " + std::to_string(r);
    const std::vector<CDev*>& devices = run.GetDevices();
    for (std::size_t i = 0; i < devices.size(); ++i) {
      if (owner == devices[i] || owner == static_cast<const CBoxOwner*>(devices[i]))
        return "element " + std::to_string(i) + " of run " + std::to_string(r);
    }
  }
  return "none";
}

class DorneDocReadAsideTest : public DorneDocTestBase {
 protected:
  void Describe(CDorneDoc& document, Outcome& outcome) const {
    outcome.saved = Save(document);
    for (std::size_t i = 0; i < document.Annotations().Size(); ++i) {
      const CAnnotation& annotation = *document.Annotations().At(i);
      const void* owner = annotation.GetOwnerRun() != nullptr
                              ? static_cast<const void*>(annotation.GetOwnerRun())
                              : static_cast<const void*>(annotation.GetOwnerElement());
      outcome.annotations.push_back(std::to_string(annotation.GetKind()) + " on " +
                                    PlaceOf(document, owner) + ": " + annotation.GetText());
    }
    for (const CBox* box : document.GetExtraBoxes())
      outcome.extraBoxes.push_back(PlaceOf(document, box->GetOwner()));
  }

  // As the program opens a file.
  Outcome Open(const Bytes& bytes) {
    const std::string path = m_folder.WriteFile(
        "design.run", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    auto document = NewDocument();
    const CDocFileResult result = document->OnOpenDocument(path);
    Outcome outcome;
    if (!result.ok) {
      outcome.message = result.message;
      return outcome;
    }
    Describe(*document, outcome);
    outcome.runsReadAside = document->RunsReadAside();
    return outcome;
  }

  // One run after the other, with the messages that opening gives for what it throws.
  Outcome ReadOneByOne(const Bytes& bytes) const {
    return Read([&bytes](CDorneDoc& document) {
      CArchiveReader reader(bytes);
      document.Serialize(reader);
    });
  }

  // As an undo step's design is read from its snapshot bytes in memory.
  Outcome FromBytes(const Bytes& bytes) const {
    return Read([&bytes](CDorneDoc& document) { document.ReadFromBytes(bytes); });
  }

  Outcome Read(const std::function<void(CDorneDoc&)>& read) const {
    Outcome outcome;
    try {
      auto document = NewDocument();
      read(*document);
      Describe(*document, outcome);
      outcome.runsReadAside = document->RunsReadAside();
    } catch (const CDocVersionError& error) {
      outcome.message = error.Message();
    } catch (const CArchiveError&) {
      outcome.message = kMsgBadFormat;
    } catch (const std::bad_alloc&) {
      outcome.message = kMsgBadFormat;
    } catch (const std::length_error&) {
      outcome.message = kMsgBadFormat;
    }
    return outcome;
  }

  static void ExpectSameOutcome(const Outcome& aside, const Outcome& read) {
    EXPECT_EQ(aside.message, read.message);
    EXPECT_EQ(aside.annotations, read.annotations);
    EXPECT_EQ(aside.extraBoxes, read.extraBoxes);
    const auto differ =
        std::mismatch(aside.saved.begin(), aside.saved.end(), read.saved.begin(), read.saved.end());
    EXPECT_EQ(differ.first - aside.saved.begin(), static_cast<std::ptrdiff_t>(read.saved.size()))
        << "written back otherwise";
    EXPECT_EQ(aside.saved.size(), read.saved.size());
  }

  // Opened from a file and read from bytes in memory alike.
  void ExpectOpenedAsReadOneByOne(const Bytes& bytes) {
    const Outcome read = ReadOneByOne(bytes);
    {
      SCOPED_TRACE("opened");
      ExpectSameOutcome(Open(bytes), read);
    }
    SCOPED_TRACE("from bytes");
    ExpectSameOutcome(FromBytes(bytes), read);
  }

  // As the program writes a document it has read.
  Bytes Written(CDorneDoc& document) const { return Save(*Load(Save(document))); }

  // The test document with annotations of every kind in every list, its runs (five codes,
  // generic and unknown among them) repeated until there are that many.
  Bytes RichDesign(int runs) const {
    auto document = RichDocument();
    const int first = document->GetRunCount();
    for (int i = first; i < runs; ++i) {
      document->SetCurrentRun(document->GetRunAt(i % first));
      document->DuplicateRun(0);
    }
    return Written(*document);
  }

  CTempFolder m_folder{"doc-read-aside"};
};

TEST_F(DorneDocReadAsideTest, LargeFilesReadAsideGiveTheDocumentReadOneByOne) {
  struct Design {
    std::string name;
    Bytes bytes;
    std::size_t runs;
    std::size_t aside;  // the runs that must have been read aside
  };
  const std::vector<Design> designs = {
      {"benchmark design, 40 runs", Written(*BuildBenchDocument(40)), 40, 40},
      {"benchmark design, 31 runs: one by one", Written(*BuildBenchDocument(31)), 31, 0},
      {"benchmark design, 32 runs", Written(*BuildBenchDocument(32)), 32, 32},
      {"annotations everywhere, 40 runs", RichDesign(40), 40, 40},
  };
  for (const Design& design : designs) {
    SCOPED_TRACE(design.name);
    ExpectOpenedAsReadOneByOne(design.bytes);
    const Outcome opened = Open(design.bytes);
    EXPECT_EQ(opened.runsReadAside, design.aside);
    EXPECT_EQ(FromBytes(design.bytes).runsReadAside, design.aside);
    EXPECT_FALSE(opened.annotations.empty());
  }
}

// Equipment boxes belong to the document's own list of extra boxes: read aside, they
// come into it in the file's order.
TEST_F(DorneDocReadAsideTest, EquipmentBoxesReadAsideComeInTheFilesOrder) {
  auto document = BuildBenchDocument(40);
  for (const int run : {35, 12, 13, 0, 39}) {
    CDev& element = *document->GetRunAt(run)->GetDevices().at(7);
    element.SetStyle(element.GetStyle() | 0x01000000);
    document->AddEquipmentBox(element, {2000, 1500, 1000, 100 * run, 0, 300});
  }
  const Bytes bytes = Written(*document);
  ExpectOpenedAsReadOneByOne(bytes);
  const Outcome opened = Open(bytes);
  EXPECT_EQ(opened.runsReadAside, 40u);
  EXPECT_EQ(opened.extraBoxes.size(), 5u);
}

// Cut short or with bytes changed anywhere: the same message as a reading one by one, and
// where the file still reads, the same document.
TEST_F(DorneDocReadAsideTest, DamagedLargeFilesGiveWhatReadingOneByOneGives) {
  const Bytes good = RichDesign(40);
  std::mt19937 random(20261208);
  std::uniform_int_distribution<std::size_t> place(good.size() / 50, good.size() - 1);
  std::uniform_int_distribution<int> value(0, 255);
  int refused = 0, read = 0;
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    Bytes bytes = good;
    if (round % 3 == 0) {
      bytes.resize(place(random));
    } else {
      for (int n = 0; n < 1 + round % 3; ++n)
        bytes[place(random)] = static_cast<std::uint8_t>(value(random));
    }
    ExpectOpenedAsReadOneByOne(bytes);
    (ReadOneByOne(bytes).message == 0 ? read : refused) += 1;
  }
  // Both kinds of case were met.
  EXPECT_GT(refused, 0);
  EXPECT_GT(read, 0);
}

}  // namespace

namespace {

// Every run's element count, in order.
std::vector<std::size_t> ElementCounts(const CDorneDoc& document) {
  std::vector<std::size_t> counts;
  for (int r = 0; r < document.GetRunCount(); ++r)
    counts.push_back(document.GetRunAt(r)->GetDevices().size());
  return counts;
}

// Read into a document that holds a run already, whole or cut short (when the runs read
// after the cut are dropped), the runs read come after the one it held.
TEST_F(DorneDocReadAsideTest, RunsReadIntoADocumentComeAfterTheRunsItHeld) {
  const Bytes whole = Written(*BuildBenchDocument(40));
  for (const std::size_t size : {whole.size(), whole.size() * 2 / 3}) {
    SCOPED_TRACE(size);
    const Bytes bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    const std::string path = m_folder.WriteFile(
        "design.run", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    auto opened = NewDocument();
    opened->OnNewDocument("");
    const bool read = opened->OnOpenDocument(path).ok;
    auto oneByOne = NewDocument();
    oneByOne->OnNewDocument("");
    try {
      CArchiveReader reader(bytes);
      oneByOne->Serialize(reader);
      EXPECT_TRUE(read);
    } catch (const CArchiveError&) {
      EXPECT_FALSE(read);
    }
    EXPECT_GT(opened->GetRunCount(), 1);
    EXPECT_EQ(ElementCounts(*opened), ElementCounts(*oneByOne));
  }
}

}  // namespace

namespace {

constexpr std::string_view kMark = "DAMAGE-HERE";

// Runs of 2 to 900 elements in turn, so that the readers take batches of one large run or
// of many small ones, a batch ending anywhere; element 1 of run `marked` (none: -1) refers
// to kMark.
Bytes DesignOfRunsOfEverySize(int runs, int marked) {
  static const int kElements[] = {2, 900, 20, 20, 2, 200, 2, 2, 2, 2, 600, 20};
  CDorneDoc document;
  for (int r = 0; r < runs; ++r)
    BuildBenchRun(document, r, kElements[static_cast<std::size_t>(r) % std::size(kElements)]);
  if (marked >= 0) document.GetRunAt(marked)->GetDevices().at(1)->SetReference(std::string(kMark));
  CArchiveWriter writer;
  document.Serialize(writer);
  return writer.TakeBytes();
}

// The file with the element that refers to kMark made of a kind no element has.
Bytes WithMarkedElementOfNoKind(Bytes bytes) {
  Bytes text = {0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(kMark.size())};
  for (const char c : kMark) text.insert(text.end(), {static_cast<std::uint8_t>(c), 0});
  const auto at = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
  EXPECT_NE(at, bytes.end());
  if (at == bytes.end()) return bytes;
  // The reference follows the kind's word and the two style words.
  const auto kind = at - 10;
  kind[0] = 0xFF;
  kind[1] = 0x7F;
  return bytes;
}

TEST_F(DorneDocReadAsideTest, RunsOfEverySizeReadInBatchesGiveTheDocumentReadOneByOne) {
  for (const int runs : {1, 32, 45, 97}) {
    SCOPED_TRACE(std::to_string(runs) + " runs");
    const Bytes bytes = DesignOfRunsOfEverySize(runs, -1);
    ExpectOpenedAsReadOneByOne(bytes);
    EXPECT_EQ(Open(bytes).runsReadAside, runs >= 32 ? static_cast<std::size_t>(runs) : 0u);
  }
}

// One damaged run among many, first, inside or at either end of a batch, or last: the
// message that reading one run after the other gives.
TEST_F(DorneDocReadAsideTest, ADamagedRunAmongManyRefusesTheFileAsReadingOneByOneDoes) {
  constexpr int kRuns = 60;
  for (const int damaged : {0, 1, 2, 11, 30, 47, 58, 59}) {
    SCOPED_TRACE("run " + std::to_string(damaged));
    const Bytes bytes = WithMarkedElementOfNoKind(DesignOfRunsOfEverySize(kRuns, damaged));
    ExpectOpenedAsReadOneByOne(bytes);
    EXPECT_EQ(Open(bytes).message, kMsgBadFormat);
  }
}

}  // namespace
