#include "reference/ref_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "app/profile.h"
#include "platform/archive.h"
#include "ref_test_support.h"
#include "support/temp_folder.h"

namespace {

std::string DataFile(const std::string& name) {
  return std::string(TVR_SOURCE_DIR) + "/tests/data/reference/" + name;
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  const std::string text = ReadWholeFile(path);
  return {text.begin(), text.end()};
}

// Price list 7 has a name; the settings the file does not hold are those of the program
// that wrote the pinned files.
const CRefLoadContext kContext{[](int list) { return list == 7 ? "List 7" : ""; }};

CRefProject StartingProject() {
  CRefProject project;
  project.priceSettings.displayFlags = 1;
  project.priceSettings.designColumn = 2;
  return project;
}

void ExpectSameLine(const CRefLine& a, const CRefLine& b) {
  EXPECT_EQ(
      std::tie(a.name, a.comment, a.group, a.productKind, a.rating, a.conductors, a.connection,
               a.fixingSpacing, a.length, a.lineQuantity, a.count, a.lineMode, a.extraCode),
      std::tie(b.name, b.comment, b.group, b.productKind, b.rating, b.conductors, b.connection,
               b.fixingSpacing, b.length, b.lineQuantity, b.count, b.lineMode, b.extraCode));
  EXPECT_EQ(a.components, b.components);
  EXPECT_EQ(a.slots, b.slots);
  ASSERT_EQ(a.sections.size(), b.sections.size());
  for (std::size_t i = 0; i < a.sections.size(); ++i)
    EXPECT_EQ(a.sections[i].values, b.sections[i].values) << i;
  ExpectSameItems(a, b);
}

void ExpectSameProject(const CRefProject& a, const CRefProject& b) {
  EXPECT_EQ(a.properties, b.properties);
  ASSERT_EQ(a.lineCount, b.lineCount);
  for (int i = 0; i <= a.lineCount; ++i) {
    SCOPED_TRACE("line " + std::to_string(i));
    ExpectSameLine(a.lines[i], b.lines[i]);
  }
}

TEST(RefFileTest, PinnedFilesOfTheLayoutReadAndWriteBackByteForByte) {
  for (const char* name : {"pinned_521.ref", "pinned_600.ref"}) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> pinned = FileBytes(DataFile(name));
    CRefProject project = StartingProject();
    ASSERT_EQ(ReadRefFileBytes(pinned, project, kContext), 0);
    ASSERT_EQ(project.lineCount, 3);
    EXPECT_EQ(project.Property("Client"), "Ville de Nïmes 😀");
    EXPECT_EQ(project.Property("Comment"), "first\r\nsecond; with \"quotes\"");
    EXPECT_EQ(project.Property("Fax"), std::string(511, 'x'));
    EXPECT_EQ(project.priceSettings.priceList, 6) << "list 7 has a name";
    EXPECT_EQ(project.priceSettings.currency, "EUR");
    EXPECT_EQ(project.labourRate, 4200);
    EXPECT_DOUBLE_EQ(project.priceSettings.productCoefs[8][0], 1.8) << "QPC rides in QPA's group";
    EXPECT_DOUBLE_EQ(project.priceSettings.productCoefs[7][0], 1.7) << "Qpa rides in Qpc's group";
    EXPECT_DOUBLE_EQ(project.priceSettings.productCoefs[6][3], 3.25);
    const CRefLine& feeder = project.lines[1];
    EXPECT_EQ(feeder.name, "Feeder A") << "lines come back in their order";
    EXPECT_EQ(feeder.extraCode, 7);
    EXPECT_EQ(feeder.conductors, 1);
    EXPECT_EQ(feeder.components[44], -3);
    EXPECT_EQ(feeder.slots[0], 3 | (54 << 16));
    EXPECT_EQ(feeder.slots[99], 1);
    EXPECT_EQ(feeder.slots[150], std::string(name) == "pinned_600.ref" ? (2 | (5 << 16)) : 0);
    ASSERT_EQ(feeder.Items().size(), 6u);
    EXPECT_EQ(feeder.Items()[3].reference, "QDB0016SE");
    EXPECT_EQ(feeder.Items()[2].designation, "Flat elbow 90°");
    const CRefLine& luminaires = project.lines[2];
    EXPECT_EQ(luminaires.conductors, -1) << "an unset conductor code stays unset";
    EXPECT_EQ(luminaires.extraCode, -2);
    ASSERT_EQ(luminaires.sections.size(), 2u);
    EXPECT_EQ(luminaires.sections[0].values,
              (std::array<std::int32_t, 10>{1, 0, 5, 1, 2, 1, 3, 9, 0, 0}))
        << "sections come back in their order";
    EXPECT_EQ(luminaires.Items()[0].reference, "QFP25ED\n\r / R2-77");
    EXPECT_EQ(project.lines[3].name.size(), 511u);
    EXPECT_EQ(RefFileBytes(project), pinned);
  }
}

TEST(RefFileTest, TheLayoutScriptStillWritesThePinnedFiles) {
  CTempFolder folder("ref");
  for (const auto& [kind, name] :
       {std::pair{"pinned521", "pinned_521.ref"}, {"pinned600", "pinned_600.ref"}}) {
    const std::string command =
        "/usr/bin/python3 " + DataFile("write_ref_files.py") + " " + kind + " " + folder.File(name);
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(FileBytes(folder.File(name)), FileBytes(DataFile(name))) << name;
  }
}

TEST(RefFileTest, TheShippedExampleOpensAndSavesAsItIs) {
  const std::string path = std::string(TVR_SOURCE_DIR) + "/data/examples/sample.ref";
  CRefProject project;  // the program's settings as they were when it wrote the file
  ASSERT_EQ(LoadRefFile(path, project, kContext), 0);
  ASSERT_EQ(project.lineCount, 2);
  EXPECT_EQ(project.lines[1].name, "Workshop feeder");
  EXPECT_FALSE(project.lines[1].Items().empty());
  EXPECT_EQ(project.lines[2].productKind, 4);
  EXPECT_EQ(RefFileBytes(project), FileBytes(path));
}

// A project of every kind of line, saved and opened again.
CRefProject VariedProject() {
  CRefProject project;
  project.lineCount = 4;
  for (int i = 1; i <= 4; ++i) {
    CRefLine& line = project.lines[i];
    line.Assign(nullptr);
    line.name = "Line " + std::to_string(i);
    line.comment = i == 2 ? "a\r\nb" : "";
    line.group = i % 4, line.productKind = (i * 2) % 9, line.rating = 40 * i;
    line.conductors = i % 5, line.connection = i == 3 ? 5 : 0, line.extraCode = -i;
    line.length = 10 * i, line.lineQuantity = i, line.count = i + 1,
    line.lineMode = i == 1 ? 10 : 1;
    for (int c = 0; c < CRefLine::kComponentCount; ++c) line.components[c] = (c * i) % 7;
    line.slots[i] = i | (i << 16);
    line.sections.resize(static_cast<std::size_t>(i - 1));
    for (std::size_t s = 0; s < line.sections.size(); ++s) line.sections[s].values[2] = int(s) + 5;
    for (int kind : {2, 0, 5, 1, 3, 4})
      line.AddItemNode({"R" + std::to_string(kind), "D é", 1000 + kind, i + kind, kind, kind});
  }
  project.SetProperty("Name", "Varied");
  return project;
}

TEST(RefFileTest, SavedProjectsOpenWithEveryLineSectionSlotAndItem) {
  CTempFolder folder("ref");
  struct Case {
    int slot;
    std::int32_t format;
    std::size_t bytesPerLineMore;
  } cases[] = {{99, kRefFileFormat, 0}, {150, kRefFileFormatAllSlots, 400}};
  std::size_t baseSize = 0;
  for (const Case& c : cases) {
    CRefProject project = VariedProject();
    project.lines[3].slots[c.slot] = 1;
    EXPECT_EQ(RefFileFormat(project), c.format);
    const std::vector<std::uint8_t> bytes = RefFileBytes(project);
    if (!baseSize) baseSize = bytes.size();
    EXPECT_EQ(bytes.size(), baseSize + 4 * c.bytesPerLineMore) << "100 more slots on each line";
    ASSERT_EQ(SaveRefFile(folder.File("p.ref"), project, "07/12/2026"), 0);
    EXPECT_EQ(project.Property("ModificationDate"), "07/12/2026");
    CRefProject loaded;
    ASSERT_EQ(LoadRefFile(folder.File("p.ref"), loaded, kContext), 0);
    ExpectSameProject(project, loaded);
  }
}

TEST(RefFileTest, TextsAreCutTo511UnitsButNeverInsideAPair) {
  struct Case {
    std::string text;
    std::string expected;
  } cases[] = {
      {std::string(511, 'a'), std::string(511, 'a')},
      {std::string(600, 'a'), std::string(511, 'a')},
      {std::string(510, 'a') + "😀", std::string(510, 'a')},
      {std::string(509, 'a') + "😀", std::string(509, 'a') + "😀"},
  };
  for (const Case& c : cases) {
    CRefProject project;
    project.lineCount = 1;
    project.lines[1].name = c.text;
    project.SetProperty("Name", "n");
    CRefProject loaded;
    ASSERT_EQ(ReadRefFileBytes(RefFileBytes(project), loaded, kContext), 0);
    EXPECT_EQ(loaded.lines[1].name, c.expected);
  }
}

TEST(RefFileTest, AFailedSaveKeepsTheOldFileAndTheDate) {
  CTempFolder folder("ref");
  CRefProject project = VariedProject();
  project.SetProperty("ModificationDate", "01/01/2026");
  const std::string kept = folder.WriteFile("old.ref", "old bytes");
  std::filesystem::create_directory(folder.File("folder.ref"));
  struct Case {
    std::string path;
    int message;
  } cases[] = {
      {folder.File("missing/p.ref"), kMsgFileNotFound},
      // Renaming over a folder fails once the new file is written.
      {folder.File("folder.ref"), kMsgFileWriteError},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SaveRefFile(c.path, project, "07/12/2026"), c.message) << c.path;
    EXPECT_EQ(project.Property("ModificationDate"), "01/01/2026");
  }
  EXPECT_EQ(folder.ReadFile("old.ref"), "old bytes");
  ASSERT_EQ(SaveRefFile(kept, project, "07/12/2026"), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            2)
      << "no new file is left beside the old one";
}

TEST(RefFileTest, AWriteThatFailsHalfWayLeavesTheOldFileWhole) {
  CTempFolder folder("ref");
  const std::string path = folder.WriteFile("p.ref", "the old project");
  CRefProject project = VariedProject();
  ASSERT_GT(RefFileBytes(project).size(), 1000u);
  // Files may not grow beyond 100 bytes for a moment: the write of the new one fails.
  struct rlimit previous {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = previous;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int result = SaveRefFile(path, project, "07/12/2026");
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, handler);
  EXPECT_TRUE(result == kMsgFileWriteError || result == kMsgFileDiskFull) << result;
  EXPECT_EQ(folder.ReadFile("p.ref"), "the old project");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            1)
      << "the unfinished file is gone";
}

TEST(RefFileTest, TheJobNumberIsRaisedOnlyByAHigherOne) {
  CTempFolder folder("ref");
  struct Case {
    const char* settings;
    const char* numAff;
    const char* stored;
  } cases[] = {{"[User]\nNumAff=20\n", "12", "20"},
               {"[User]\nNumAff=20\n", "25", "25"},
               {"[User]\nNumAff=20\n", "", "20"},
               {"[User]\nNumAff=20\n", "x", "20"},
               {"[User]\n", "5", "5"},
               {"[User]\nNumAff=9\n", "10b", "10b"}};
  for (const Case& c : cases) {
    const std::string ini = folder.WriteFile("TVR.INI", c.settings);
    CProfile profile(ini);
    CRefProject project;
    project.SetProperty("NumAff", c.numAff);
    ASSERT_EQ(SaveRefFile(folder.File("p.ref"), project, "d", &profile), 0);
    EXPECT_EQ(CProfile(ini).ReadProfileText("User", "NumAff", ""), c.stored) << c.numAff;
  }
}

}  // namespace
