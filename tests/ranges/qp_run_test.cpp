#include "model/undo/undo_manager.h"
#include "qp_test_support.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// Step lengths replace whole numbers only: a text-for-text rewrite of "200" would
// corrupt "2000" and "1200".
TEST(QPStepLengthsTest, OnlyWholeNumbersAreReplaced) {
  struct Row {
    const char* text;
    const char* expected;
  };
  const Row rows[] = {
      {"200-1995", "250-1995"}, {"2000", "2000"},       {"1200-2000", "1200-2000"},
      {"695,745", "750,750"},   {"290-785", "300-800"}, {"", ""},
      {"x200y", "x250y"},       {"12000", "12000"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReplaceWholeNumbers(
                  row.text,
                  {{"200", "250"}, {"695", "750"}, {"745", "750"}, {"290", "300"}, {"785", "800"}}),
              row.expected)
        << row.text;
  }
}

// The combined elbow rows of the sample catalogue, read with and without step mode.
TEST_F(QPRunTest, StepModeRewritesTheLengthsOfDFamilies) {
  struct Row {
    const char* variant;
    const char* step;
    const char* reference;
    const char* leg1;
    const char* leg2;
  };
  const Row rows[] = {
      {"A", "0", "QPA40DZCG4A", "200-695", "200-695"},
      {"A", "1", "QPA40DZCG4A", "250-750", "250-750"},
      {"A", "1", "QPA40DZE4A", "300-750", "300-750"},
      // Short references and the lower-case codes keep the catalogue's lengths.
      {"A", "1", "QPA40DTC40", "350", "350"},
      {"a", "1", "QPA25LZC41A", "200-700", "200-700"},
  };
  for (const Row& row : rows) {
    CRunQP& run = MakeRun(row.variant, row.variant[0] == 'A' ? "40" : "25");
    run.SetProp("QP_STEP", row.step);
    std::string reference = row.reference;
    reference.resize(kRefWidth, ' ');
    const CPatternRow found = run.FindPartRow(reference);
    EXPECT_EQ(found.texts[1], row.leg1) << row.reference << " step " << row.step;
    EXPECT_EQ(found.texts[2], row.leg2) << row.reference << " step " << row.step;
  }
}

// A sparse code holds one place more than a reference: the wildcard reference stays 22
// characters.
TEST(QPWildcardTest, WildcardReferenceIsCappedAtTheReferenceWidth) {
  struct Row {
    std::string sparse;
    std::string expected;
  };
  const Row rows[] = {
      {std::string("QPA"), "QPA" + std::string(19, '?')},
      {std::string(23, 'X'), std::string(22, 'X')},
      {std::string("Q\0A", 3), "Q?A" + std::string(19, '?')},
      {std::string(), std::string(22, '?')},
  };
  for (const Row& row : rows) EXPECT_EQ(CRunQP::MakeWildcardRef(row.sparse), row.expected);
}

TEST_F(QPRunTest, RatingCodesTurnIntoAmperesForUpperCaseCodes) {
  struct Row {
    const char* variant;
    const char* reference;
    bool changed;
    const char* expected;
  };
  const Row rows[] = {
      {"A", "QPA40ED430", true, "QPA400ED430"},
      {"A", "QPA99DLC40", true, "QPA1000DLC40"},
      {"C", "QPC80AB4", true, "QPC800AB4"},
      {"A", "QPA31AB4", false, "QPA31AB4"},
      {"A", "QPA4", false, "QPA4"},
      {"a", "QPA25ED430", false, "QPA25ED430"},
      {"A", "QPA400ED430", false, "QPA400ED430"},
  };
  for (const Row& row : rows) {
    CRunQP& run = MakeRun(row.variant, "40");
    std::string reference = row.reference;
    EXPECT_EQ(run.ExpandRatingInRef(reference), row.changed) << row.reference;
    EXPECT_EQ(reference, row.expected);
  }
}

TEST_F(QPRunTest, AccessoryReferencesFollowTheKindAndRating) {
  struct Row {
    const char* variant;
    const char* rating;
    int kind;
    const char* expected;
  };
  const Row rows[] = {
      {"A", "25", 10, "QPA250ZJ4"},  {"A", "40", 10, "QPA400ZJ4"},  {"a", "25", 10, "QPB25YA4"},
      {"A", "40", 11, "QPA400AF1"},  {"A", "63", 11, "QPA1000AF1"}, {"a", "25", 11, ""},
      {"A", "40", 12, "QPB400ZB2"},  {"A", "80", 12, "QPB1000ZB2"}, {"A", "40", 20, "QZ0RES0020"},
      {"A", "40", 21, "QPB1000ZV2"}, {"a", "25", 21, "QPA80ZM52"},  {"C", "25", 30, "QPA250ABCB4"},
      {"A", "40", 99, ""},
  };
  for (const Row& row : rows) {
    CRunQP& run = MakeRun(row.variant, row.rating);
    std::string reference = run.GetElementRef(row.kind);
    reference.erase(reference.find_last_not_of(' ') + 1);
    EXPECT_EQ(reference, row.expected) << row.variant << " " << row.rating << " kind " << row.kind;
  }
}

// Supports and riser fixings take the pattern of their kind's code-80 row under the
// run's pattern, then the rating code of their kind.
TEST_F(QPRunTest, SupportAndRiserReferencesComeFromTheirCodeRows) {
  struct Row {
    const char* variant;
    const char* rating;
    const char* riserFix;
    int kind;
    const char* expected;
  };
  const Row rows[] = {
      {"A", "40", "", 0, "QPA400SU4"},
      {"A", "63", "", 0, "QPA1000SU4"},
      {"C", "25", "", 0, "QPC400SU4"},
      {"A", "40", "", 1, "QPA1000ZF3"},
      {"A", "40", "SPRINGS", 1, "QPB1000ZV3"},
      {"A", "40", "SPRINGS", 2, ""},
      {"A", "25", "", 2, "QPA250ZF2"},
      {"A", "40", "", 2, "QPA400ZF2"},
      {"a", "40", "", 0, "QPA50SU3"},
      {"a", "25", "", 0, "QPA25SU1"},
      {"c", "80", "", 0, "QPC80SU3"},
      {"a", "40", "", 1, "QP01000ZV3"},
      {"a", "40", "", 2, ""},
  };
  for (const Row& row : rows) {
    CRunQP& run = MakeRun(row.variant, row.rating);
    if (*row.riserFix != '\0') run.SetProp("RISERFIX", row.riserFix);
    std::string reference = run.GetElementRef(row.kind);
    reference.erase(reference.find_last_not_of(' ') + 1);
    EXPECT_EQ(reference, row.expected) << row.variant << " " << row.rating << " kind " << row.kind;
  }
}

// The supports of a run are booked under the range's support reference.
TEST_F(QPRunTest, AutomaticSupportsAreBookedUnderTheSupportReference) {
  CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 6000\nend 6\n");
  run.SetProp("SupportAuto", "1");
  run.SetProp("SupportPas", "2000");
  run.SetProp("SupportPlus", "0");
  run.ComputeSupports();
  // 6000 mm at one support every 2000 mm, and one more at the start.
  EXPECT_EQ(QPBillQuantity(run, "QPA400SU4"), 4);
}

// Each rebuild takes the last rebuild's supports off the bill, all of one reference at
// once, before it books its own: the bill and the run hold one set, however often the
// run is rebuilt.
TEST_F(QPRunTest, RebuildsBookTheSupportsOnce) {
  struct Row {
    const char* step;
    std::int64_t supports;
  };
  const Row rows[] = {{"2000", 4}, {"1000", 7}, {"0", 0}};
  for (const Row& row : rows) {
    CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 6000\nend 6\n");
    run.SetProp("SupportAuto", "1");
    run.SetProp("SupportPas", row.step);
    run.SetProp("SupportPlus", "0");
    for (int rebuild = 1; rebuild <= 3; ++rebuild) {
      run.RebuildParts(0);
      EXPECT_EQ(QPBillQuantity(run, "QPA400SU4"), row.supports) << row.step << " " << rebuild;
      const auto records =
          std::count_if(run.GetDevices().begin(), run.GetDevices().end(),
                        [](const CDev* d) { return d->GetKind() == CDev::kAccessory; });
      EXPECT_EQ(records, row.supports) << row.step << " " << rebuild;
    }
  }
}

// The straight's text for another side reads five characters from the family on, which
// a short or damaged reference does not have.
TEST_F(QPRunTest, DeviceTextForSideReadsWithinTheReference) {
  CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 3000\nend 6\n");
  CDev& straight = *Laid().at(1);
  struct Row {
    const char* reference;
    int side;
    const char* expected;
  };
  const Row rows[] = {
      // The straight's own side gives its own reference.
      {"QPA400ED430", 0, "QPA400ED430"},
      {"QPA400ED430", 1, "QPA400ED4306"},
      {"QPA400ED430", 2, "QPA400ED43012"},
      {"QPA400ED430", 3, ""},
      {"QPA", 1, ""},
      {"", 2, ""},
      {"QPA400ED4", 1, ""},
      {"QPA400ED430", 7, ""},
      {"QPA400ED430", -1, ""},
  };
  for (const Row& row : rows) {
    straight.SetReference(row.reference);
    std::string text = run.GetDeviceTextForSide(straight, row.side);
    EXPECT_EQ(text, row.expected) << row.reference << " side " << row.side;
  }
}

// The default side is worked out once and kept in the run's flags; "MOUNT" overrides it.
TEST_F(QPRunTest, MountingSideIsCachedInTheRunFlags) {
  CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 3000\nend 6\n");
  CDev& start = *Laid().at(0);
  run.SetFlagsWord(0);
  const int side = run.IsMountReversed(nullptr, 0);
  EXPECT_NE(run.GetFlagsWord() & CRunQP::kSideCached, 0u);
  EXPECT_EQ((run.GetFlagsWord() & CRunQP::kSideValue) != 0, side != 0);
  // A change of the start's direction is seen only when asked to work it out again.
  start.SetDirection(2);
  EXPECT_EQ(run.IsMountReversed(nullptr, 0), side);
  EXPECT_EQ(run.IsMountReversed(nullptr, 1), 0);
  start.SetFieldText("MOUNT", "R");
  EXPECT_EQ(run.IsMountReversed(&start, 0), 0);
  start.SetFieldText("MOUNT", "L");
  EXPECT_EQ(run.IsMountReversed(&start, 0), 1);
}

// An elbow's elbow page says whether the run is of code "QPA".
TEST_F(QPRunTest, ElbowPageWordTellsTheCodesOtherThanQPA) {
  struct Row {
    const char* layout;
    int word;
  };
  const Row rows[] = {
      {"run QPA 40\nstart 0\ngo 4 3000\ngo 1 2000\nend 6\n", 0},
      {"run QPC 63\nstart 0\ngo 4 3000\ngo 1 2000\nend 6\n", 1},
      {"run Qpa 25\nstart 0\ngo 4 3000\ngo 1 2000\nend 6\n", 1},
  };
  for (const Row& row : rows) {
    CRunQP& run = LayOut(row.layout);
    const CDev& elbow = *Laid().at(1);
    ASSERT_EQ(elbow.GetKind(), CDev::kElbow);
    EXPECT_EQ(run.GetPageWord(elbow, run.GetElementPage(kSlotElbow)), row.word) << row.layout;
    EXPECT_EQ(run.GetPageWord(*Laid().at(0), run.GetElementPage(kSlotElbow)), 0);
  }
}

// The option M of a combined elbow of a QPA step run is switched off and on again, each
// switch one undo step, the bill following the reference.
TEST_F(QPRunTest, ElbowOptionSwitchesWithAnUndoStep) {
  CTempFolder settings("qp-option");
  CDocEnvironment environment;
  environment.settingsFolder = settings.Folder();
  CRunQP& run = LayOut("run QPA 40\nstart 0\ngo 4 3000\ngo 1 2000\nend 6\n", environment);
  run.SetProp("QP_STEP", "1");
  ASSERT_EQ(run.RebuildParts(0), 1);
  CDev& elbow = *Laid().at(1);
  CDev* holder = elbow.FindReferencedElement();
  ASSERT_NE(holder, nullptr);
  run.GetBOM().RemoveRefQuantity(holder->GetReference(), 1);
  holder->SetReference("QPA400DLC4AM");
  run.GetBOM().AddRefQuantity("QPA400DLC4AM", 1);
  const int steps = m_document->GetUndo().GetPosition();
  EXPECT_EQ(run.AccessOption(&elbow, 0), 1);
  EXPECT_EQ(run.AccessOption(&elbow, -1), -1);
  const std::string off = holder->GetReference();
  EXPECT_TRUE(off == "QPA400DLL43A" || off == "QPA400DLR43A") << off;
  EXPECT_EQ(QPBillQuantity(run, off), 1);
  EXPECT_EQ(QPBillQuantity(run, "QPA400DLC4AM"), 0);
  EXPECT_EQ(run.AccessOption(&elbow, -1), -1);
  EXPECT_EQ(run.AccessOption(&elbow, 1), 1);
  EXPECT_EQ(holder->GetReference(), "QPA400DLC4AM");
  // The undo manager takes the two switches of one kind as one step.
  const CUndoManager& undo = m_document->GetUndo();
  ASSERT_EQ(undo.GetPosition(), steps + 1);
  EXPECT_EQ(undo.GetRecord(1).action, CRunQP::kUndoOption);
  // Without step mode, and on lower-case codes, there is no option.
  run.SetProp("QP_STEP", "0");
  EXPECT_EQ(run.AccessOption(&elbow, 0), 0);
  EXPECT_EQ(run.AccessOption(nullptr, 1), 0);
}

// A QPC run is stored under "QPCnew" and a Qpc run under "QPC"; both read back as they
// were (the sample document holds one of each).
TEST_F(QPRunTest, CopperCodesAreStoredUnderTheirFileCodes) {
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string path = TVR_TEST_OUTPUT_DIR "/qp_codes.run";
  {
    CDorneDoc document;
    ASSERT_TRUE(document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qp_sample.run").ok);
    ASSERT_TRUE(document.OnSaveDocument(path).ok);
  }
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  // Texts are stored as UTF-16.
  EXPECT_NE(bytes.find(std::string("Q\0P\0C\0n\0e\0w\0", 12)), std::string::npos);
  CDorneDoc reread;
  ASSERT_TRUE(reread.OnOpenDocument(path).ok);
  std::vector<std::string> codes;
  for (const CRun* run : reread.GetRuns()) codes.push_back(run->GetPropText("Catalog"));
  EXPECT_EQ(codes, (std::vector<std::string>{"QPA", "QPC", "Qpa", "Qpc"}));
}

}  // namespace
