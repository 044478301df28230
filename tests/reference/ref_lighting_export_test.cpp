#include "reference/ref_lighting_export.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/external_process.h"
#include "linear_test_support.h"
#include "reference/ref_project.h"
#include "support/command_output.h"
#include "support/golden_file.h"
#include "support/temp_folder.h"

namespace {

std::string Joined(const CXlExportFile& file) {
  std::string text;
  for (const std::string& line : file.Lines()) text += line + "\n";
  return text;
}

struct Study {
  CLightingRoom room;
  CLuminaire lum;
  CLightingResult result;
};

// A 10 x 6 m room lit by three runs of three battens.
Study SampleStudy(std::int32_t runs) {
  Study study;
  study.room.length = 10000, study.room.width = 6000, study.room.height = 3000;
  study.room.illuminance = 300;
  study.lum.name = "Batten 2x36 W";
  study.lum.photometricClass = "D";
  study.lum.flux = 6700;
  study.result.roomIndex = 1.70454545;
  study.result.utilance = 0.58454545;
  study.result.totalFlux = 59217;
  study.result.runs = runs, study.result.perRun = 3;
  study.result.illuminance = 305;
  study.result.runSpacing = runs > 0 ? 6000 / runs : 0, study.result.lightSpacing = 3333;
  return study;
}

CRefProject Project(const char* comment) {
  CRefProject project;
  project.SetProperty("NumAff", "88");
  project.SetProperty("Name", "Hall \"B\"");
  project.SetProperty("Client", "Owner");
  project.SetProperty("Comment", comment);
  return project;
}

TEST(LightingExportTest, ExchangeFileLines) {
  const Study study = SampleStudy(3);
  const CXlExportFile file = WriteLightingExchangeFile(Project("first\r\nsecond"), nullptr,
                                                       study.room, study.lum, study.result);
  ExpectGolden("reference/lighting_exchange.txt", Joined(file));
  EXPECT_EQ(file.Bytes().substr(0, 2), "\xFF\xFE");
}

TEST(LightingExportTest, OneRunAndCommentPieces) {
  struct {
    const char* comment;
    std::vector<std::string> pieces;
  } const cases[] = {
      {"one line", {"one line", " ", " "}},
      {"\nafter a leading feed", {" ", "after a leading feed", " "}},
      {"a\rb\nc", {"a\rb", "c", " "}},  // only a carriage return before a feed is dropped
  };
  const Study study = SampleStudy(1);
  for (const auto& c : cases) {
    const CXlExportFile file =
        WriteLightingExchangeFile(Project(c.comment), nullptr, study.room, study.lum, study.result);
    const auto& lines = file.Lines();
    for (int i = 0; i < 3; ++i) {
      const std::string key = "\"Comment" + std::to_string(i + 1) + "\",\"@\",";
      const auto line = std::find_if(lines.begin(), lines.end(),
                                     [&](const std::string& l) { return l.rfind(key, 0) == 0; });
      ASSERT_NE(line, lines.end());
      EXPECT_EQ(*line, key + XlQuote(c.pieces[static_cast<std::size_t>(i)]));
    }
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\"RunsSpacing\",\"\","), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\"RunsSpacingWall\",\"\",3.00"), lines.end());
  }
}

TEST(LightingExportTest, ShownTextsUseTheSeparator) {
  const CLightingShownTexts shown = LightingShownTexts(SampleStudy(2).result, ',');
  EXPECT_EQ(shown.runSpacing, "3,00");
  EXPECT_EQ(shown.runSpacingWall, "1,50");
  EXPECT_EQ(shown.lightSpacing, "3,333");
  EXPECT_EQ(shown.lightSpacingWall, "1,666");
  EXPECT_EQ(shown.luminaires, "6");
  CLightingResult none;
  EXPECT_EQ(LightingShownTexts(none, ',').illuminance, "");
  EXPECT_EQ(LightingShownTexts(none, ',').runSpacingWall, "");
}

TEST(LightingExportTest, TheHelperTurnsItIntoAWorkbook) {
  const CEnglishTexts texts;
  CTempFolder folder("lightxl");
  const Study study = SampleStudy(3);
  const CXlExportFile file =
      WriteLightingExchangeFile(Project("c"), nullptr, study.room, study.lum, study.result);
  const CXlExportJob job{folder.File("XlGDE.txt"), "", folder.File("out.xlsx"), true};
  CPrintHelperLauncher launcher(TVR_PROGRAM_DIR);
  ASSERT_EQ(ExportToExcel(file, job, launcher), 1);
  WaitForHelper(launcher);
  const std::string cells =
      CommandOutput("/usr/bin/python3 " TVR_SOURCE_DIR "/tests/data/linear/dump_workbook.py '" +
                    job.targetPath + "'");
  ASSERT_FALSE(cells.empty()) << "openpyxl could not read the workbook";
  EXPECT_NE(cells.find("=s:TotalFlow"), std::string::npos);
  EXPECT_NE(cells.find("=n:59217.0\n"), std::string::npos);
  EXPECT_NE(cells.find("=n:0.585\n"), std::string::npos) << "the utilance";
  EXPECT_NE(cells.find("=s:Batten 2x36 W"), std::string::npos);
  EXPECT_NE(cells.find("=n:3.333\n"), std::string::npos) << "the luminaire spacing";
}

}  // namespace
