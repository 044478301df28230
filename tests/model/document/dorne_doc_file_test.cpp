#include "model/document/dorne_doc_test_support.h"

#include "app/message_text.h"
#include "support/golden_file.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <random>

namespace {

class DorneDocFileTest : public DorneDocTestBase {};

TEST_F(DorneDocFileTest, SavedOpenedAndSavedAgainGivesTheSameBytes) {
  auto document = RichDocument();
  const std::vector<std::uint8_t> first = Save(*document);
  auto opened = Load(first);
  const std::vector<std::uint8_t> second = Save(*opened);
  const auto differ = std::mismatch(first.begin(), first.end(), second.begin(), second.end());
  EXPECT_EQ(differ.first - first.begin(), static_cast<std::ptrdiff_t>(first.size()))
      << "first difference";
  EXPECT_EQ(second, first);
  ASSERT_EQ(opened->GetRunCount(), 5);
  EXPECT_EQ(opened->GetCurrentRun(), opened->GetRunAt(1));
  EXPECT_EQ(opened->Annotations().Size(), document->Annotations().Size());
  // In memory the renamed codes come back as they were.
  std::vector<std::string> codes;
  for (CRun* run : opened->GetRuns()) codes.push_back(run->GetPropText("Catalog"));
  EXPECT_EQ(codes, (std::vector<std::string>{"QPC", "Qpc", "QDA", "", "ZZZ"}));
}

// Box colours are not stored: an opened document (or an undo step read back) colours
// its elements again, as they were drawn before the save.
TEST_F(DorneDocFileTest, ElementsComeBackInTheirColours) {
  auto document = NewDocument();
  CRun& run = AddRun(*document, "QDA");
  BuildChain(run);
  run.UpdateElementColors(0);
  // "element kind/slot: colour" for every box of every element.
  auto colours = [](const CDorneDoc& doc) {
    std::vector<std::string> all;
    for (const CRun* each : doc.GetRuns())
      for (const CDev* element : each->GetDevices())
        for (std::size_t slot = 0; slot < element->GetBoxSlots().size(); ++slot)
          if (const auto& box = element->GetBoxSlots()[slot])
            all.push_back(std::to_string(element->GetKind()) + "/" + std::to_string(slot) + ": " +
                          std::to_string(box->GetColor()));
    std::sort(all.begin(), all.end());  // a document read back lists its devices otherwise
    return all;
  };
  const std::vector<std::string> before = colours(*document);
  ASSERT_FALSE(before.empty());
  const std::vector<std::string> after = colours(*Load(Save(*document)));
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i], before[i]);
}

TEST_F(DorneDocFileTest, AnnotationsComeBackWithTheirOwnersAndLinks) {
  auto opened = Load(Save(*RichDocument()));
  int toElements = 0, toRuns = 0, toTotals = 0, labels = 0;
  const CAnnotationLabel* distance = nullptr;
  const CAnnotation* withRun = nullptr;
  for (std::size_t i = 0; i < opened->Annotations().Size(); ++i) {
    const CAnnotation* item = opened->Annotations().At(i);
    toElements += item->GetOwnerKind() == EAnnotationOwner::kElement;
    toRuns += item->GetOwnerKind() == EAnnotationOwner::kRun;
    toTotals += item->GetOwnerKind() == EAnnotationOwner::kTotalsPage;
    labels += item->IsLabel();
    if (item->GetKind() == CAnnotation::kDistance)
      distance = static_cast<const CAnnotationLabel*>(item);
    if ((item->GetFlags() & CAnnotation::kFlagWithRun) != 0) withRun = item;
  }
  EXPECT_EQ(toElements, 4);
  EXPECT_EQ(toRuns, 3);
  EXPECT_EQ(toTotals, 1);
  EXPECT_EQ(labels, 6);
  ASSERT_NE(distance, nullptr);
  EXPECT_EQ(distance->GetEnd(0)->GetRun(), opened->GetRunAt(0));
  EXPECT_EQ(distance->GetEnd(1)->GetRun(), opened->GetRunAt(2));
  ASSERT_NE(withRun, nullptr);
  EXPECT_EQ(withRun->GetLinkedRun(), opened->GetRunAt(2));
}

TEST_F(DorneDocFileTest, PinnedBytesOfANewDocument) {
  auto document = NewDocument();
  document->OnNewDocument("07/12/2026");
  const std::vector<std::uint8_t> bytes = Save(*document);
  ExpectGolden("model/new_document.run", std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(Save(*Load(bytes)), bytes);
}

TEST_F(DorneDocFileTest, RenamedCodesAsTheFileHoldsThem) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"QPC", "QPCnew"}, {"Qpc", "QPC"}, {"QPA", "QPA"}, {"QDT", "QDT"}, {"", ""}, {"OLD", "OLD"}};
  for (const auto& [memory, file] : rows) {
    EXPECT_EQ(CRunFactory::FileCodeOf(memory), file) << memory;
    EXPECT_EQ(CRunFactory::CatalogOfFileCode(file), memory) << file;
  }
}

// A document of one run whose sub-version DWORD is replaced.
std::vector<std::uint8_t> WithSubVersion(std::vector<std::uint8_t> bytes, std::uint32_t sub) {
  for (int i = 0; i < 4; ++i)
    bytes[static_cast<std::size_t>(2 + i)] = static_cast<std::uint8_t>(sub >> (8 * i));
  return bytes;
}

TEST_F(DorneDocFileTest, EffectiveVersionFollowsTheSubVersion) {
  auto document = NewDocument();
  document->OnNewDocument("d");
  const std::vector<std::uint8_t> bytes = Save(*document);
  ASSERT_GE(bytes.size(), 6u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 6),
            (std::vector<std::uint8_t>{0x58, 0x02, 0x6F, 0x02, 0x00, 0x00}));
  const std::vector<std::pair<std::uint32_t, int>> rows = {
      {623, 623}, {600, 600}, {1, 600}, {0, 600}};
  for (const auto& [sub, effective] : rows) {
    EXPECT_EQ(Load(WithSubVersion(bytes, sub))->GetFileVersion(), effective) << sub;
  }
}

struct DamagedFile {
  const char* fault;
  std::vector<std::uint8_t> bytes;
  int message;
};

class DorneDocDamageTest : public DorneDocTestBase {
 protected:
  CDocFileResult OpenBytes(const std::vector<std::uint8_t>& bytes,
                           const std::string& name = "damaged.run") {
    const std::string path = m_folder.WriteFile(name, std::string(bytes.begin(), bytes.end()));
    return NewDocument()->OnOpenDocument(path);
  }

  CTempFolder m_folder{"doc"};
};

TEST_F(DorneDocDamageTest, EachDamageGivesItsMessage) {
  auto document = NewDocument();
  document->OnNewDocument("d");
  const std::vector<std::uint8_t> good = Save(*document);
  auto patched = [&good](std::size_t at, std::vector<std::uint8_t> with) {
    std::vector<std::uint8_t> bytes = good;
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
  };
  // The first place of a byte sequence replaced by another (of any length).
  auto replaced = [&good](const std::vector<std::uint8_t>& what,
                          const std::vector<std::uint8_t>& with) {
    std::vector<std::uint8_t> bytes = good;
    const auto at = std::search(bytes.begin(), bytes.end(), what.begin(), what.end());
    EXPECT_NE(at, bytes.end());
    if (at == bytes.end()) return bytes;
    bytes.insert(bytes.erase(at, at + static_cast<std::ptrdiff_t>(what.size())), with.begin(),
                 with.end());
    return bytes;
  };
  const std::vector<std::uint8_t> runCount = {1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0};  // one run, code ""
  const std::vector<std::uint8_t> nextName = {0xFF, 0xFE, 0xFF, 1, 'B', 0};
  // The current run index sits before the totals page flag, its rectangle, two empty
  // lists and the three angles.
  const std::size_t currentRun = good.size() - 4 * (1 + 1 + 4 + 1 + 1 + 3);
  const std::vector<DamagedFile> rows = {
      {"empty file", {}, 8018},
      {"cut in the header", {0x58, 0x02, 0x6F}, 8018},
      {"version below 200", {0xC7, 0x00, 0, 0, 0, 0}, 31465},
      {"version above 600", {0x59, 0x02, 0x6F, 0x02, 0, 0}, 31466},
      {"a text file named .run", {'N', 'o', 't', 'e', 's', ':', ' ', 'c', 'a', 'b'}, 8092},
      {"a version above 600 without its format number", {0x59, 0x02, 0x6F}, 8092},
      {"sub-version above 623", patched(2, {0x70, 0x02, 0, 0}), 31466},
      {"sub-version negative", patched(2, {0xFF, 0xFF, 0xFF, 0xFF}), 31466},
      {"cut after the runs",
       std::vector<std::uint8_t>(good.begin(),
                                 good.begin() + static_cast<std::ptrdiff_t>(currentRun)),
       8018},
      {"current run past the end", patched(currentRun, {1, 0, 0, 0}), 8018},
      {"current run negative", patched(currentRun, {0xFF, 0xFF, 0xFF, 0xFF}), 8018},
      {"a million runs", replaced(runCount, {0x40, 0x42, 0x0F, 0, 0xFF, 0xFE, 0xFF, 0}), 8018},
      {"four billion runs", replaced(runCount, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0}),
       8018},
      {"a name longer than the file",
       replaced(nextName, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 'B', 0}), 8018},
      {"tool mode 16",
       replaced({0x80, 0x3F, 0x0A, 0x00, 0x00, 0x00, 0x7A, 0xC5},
                {0x80, 0x3F, 0x10, 0x00, 0x00, 0x00, 0x7A, 0xC5}),
       8018},
  };
  for (const DamagedFile& row : rows) {
    const CDocFileResult result = OpenBytes(row.bytes);
    EXPECT_FALSE(result.ok) << row.fault;
    EXPECT_EQ(result.message, row.message) << row.fault;
  }
}

// A folder reported a huge length, and the buffer sized from it threw out of the open.
TEST_F(DorneDocDamageTest, WhatIsNoOrdinaryFileCannotBeRead) {
  const std::string folder = m_folder.File("plans.run");
  std::filesystem::create_directories(folder);
  const struct {
    const char* what;
    std::string path;
  } rows[] = {{"a folder", folder},
              {"a device", "/dev/zero"},
              {"a device that reads as empty", "/dev/null"},
              {"a missing file", m_folder.File("missing.run")}};
  for (const auto& row : rows) {
    CDocFileResult result;
    ASSERT_NO_THROW(result = NewDocument()->OnOpenDocument(row.path)) << row.what;
    EXPECT_FALSE(result.ok) << row.what;
    EXPECT_EQ(result.message, 8021) << row.what;
    EXPECT_EQ(result.text, FormatMessageTextS(8021, row.path)) << row.what;
  }
}

TEST_F(DorneDocDamageTest, VersionMessagesCarryBothVersions) {
  const CDocFileResult old = OpenBytes({0xC7, 0x00});
  // Both numbers are format numbers: the file's, and the one this program writes.
  EXPECT_EQ(old.text, FormatMessageTextSS(31465, "1.99", "6.23"));
  const CDocFileResult newer = OpenBytes({0x58, 0x02, 0x71, 0x02, 0, 0});
  EXPECT_EQ(newer.text, FormatMessageTextSS(31466, "6.25", "6.23"));
  EXPECT_TRUE(newer.show);
  // Only design files show the message; models and snapshots fail quietly.
  EXPECT_FALSE(OpenBytes({0xC7, 0x00}, "model.tmp").show);
}

TEST_F(DorneDocDamageTest, MutatedFilesNeverCrash) {
  const std::vector<std::uint8_t> good = Save(*RichDocument());
  std::mt19937 random(20261207);
  std::uniform_int_distribution<std::size_t> place(0, good.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  int refused = 0;
  for (int round = 0; round < 300; ++round) {
    std::vector<std::uint8_t> bytes = good;
    for (int n = 0; n < 1 + round % 4; ++n)
      bytes[place(random)] = static_cast<std::uint8_t>(byte(random));
    if (round % 5 == 0) bytes.resize(place(random));
    auto document = NewDocument();
    try {
      CArchiveReader reader(bytes);
      document->Serialize(reader);
      // Whatever was read can be written again.
      Save(*document);
    } catch (const CArchiveError&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
}

TEST_F(DorneDocFileTest, PendingElementStaysOnlyInSnapshots) {
  auto document = RichDocument();
  CRun& run = *document->GetCurrentRun();
  // The branch's straight, the end of a branch: the one element along face 1.
  CDev* pending = *std::find_if(run.GetDevices().begin(), run.GetDevices().end(),
                                [](const CDev* element) { return element->GetDirection() == 1; });
  run.SetCurrentElement(pending);
  document->SetPendingElement(true);
  document->SetSnapshotMarker(CDorneDoc::kSnapshotMarker);
  const std::vector<std::uint8_t> snapshot = Save(*document);
  EXPECT_EQ(Load(snapshot)->GetCurrentRun()->GetDevices().size(), run.GetDevices().size());
  EXPECT_TRUE(Load(snapshot)->IsPendingElement());
  document->SetSnapshotMarker(0);
  const std::size_t before = run.GetDevices().size();
  auto saved = Load(Save(*document));
  EXPECT_EQ(saved->GetCurrentRun()->GetDevices().size(), before - 1);
  EXPECT_FALSE(saved->IsPendingElement());
}

// The save dropped the pending element but kept the cursor and free faces of its
// placement: the file held a cursor at an element that was no longer there.
TEST_F(DorneDocFileTest, ASaveWithoutThePendingElementIsTheDocumentWithoutIt) {
  const auto pendingIn = [](CDorneDoc& document) {
    CRun& run = *document.GetCurrentRun();
    CDev* pending = *std::find_if(run.GetDevices().begin(), run.GetDevices().end(),
                                  [](const CDev* element) { return element->GetDirection() == 1; });
    run.SetCurrentElement(pending);
    document.SetCursorPoint(pending->GetPosition());
    document.SetFreeFaceMask(0x3F);
    return pending;
  };
  auto saved = RichDocument();
  const CDev& back = *pendingIn(*saved)->GetBackNeighbour();
  const C3DPoint behind = back.GetPosition();
  saved->SetPendingElement(true);
  const std::vector<std::uint8_t> bytes = Save(*saved);
  // Placing goes on from the element behind, at its free faces, the pending one's now too.
  int backFaces = 0;
  for (int face = 0; face < CDev::kFaceCount; ++face)
    if (back.GetFreeFace(face) != 0) backFaces |= FaceIndexToBit(face);
  EXPECT_EQ(saved->GetCursorPoint(), behind);
  EXPECT_EQ(saved->GetFreeFaceMask(), backFaces);
  auto reopened = Load(bytes);
  EXPECT_EQ(reopened->GetCursorPoint(), behind);
  EXPECT_EQ(reopened->GetFreeFaceMask(), backFaces);
  EXPECT_EQ(bytes, Save(*reopened)) << "the document without the element, as it was saved";
}

TEST_F(DorneDocDamageTest, SavingReplacesTheFileWhole) {
  auto document = RichDocument();
  const std::string path = m_folder.WriteFile("plan.run", "old contents");
  ASSERT_TRUE(document->OnSaveDocument(path).ok);
  EXPECT_FALSE(document->IsModified());
  auto opened = NewDocument();
  ASSERT_TRUE(opened->OnOpenDocument(path).ok);
  EXPECT_EQ(Save(*opened), Save(*document));
  const CDocFileResult failed = document->OnSaveDocument(m_folder.File("missing/plan.run"));
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.message, 23230);
}

}  // namespace
