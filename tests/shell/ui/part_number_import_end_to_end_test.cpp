// Starts the real program under a virtual X server on the QD sample and imports part
// numbers from the Run menu's command (the TVR_SCRIPT_FILE hook of main.cpp), with the
// program's stand-in of the part-number tool answering from a choice file: the user is
// told what was imported, or that nothing was, and only an import that added lines is an
// edit with a step to undo.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/ui/command_ids.h"
#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

constexpr int kIdUndo = 57643;

struct CImportCase {
  std::optional<std::string> picks;  // the tool's choice file; none: it answers nothing
  const char* told;
  bool edited;
};

TEST(PartNumberImportEndToEndTest, TheUserIsToldWhatWasImported) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  const CImportCase cases[] = {
      {std::nullopt, "The part-number tool gave no article for run D: nothing was imported.",
       false},
      // A reference the article table does not hold is no article either.
      {"NO-SUCH-ARTICLE;2\n",
       "The part-number tool gave no article for run D: nothing was imported.", false},
      {"QDA40ED430;4\nQDA63EX4;1\n",
       "Part numbers imported into run D: 2 line(s) added to its bill of materials.", true},
  };
  for (const CImportCase& row : cases) {
    CShellTestFolder folder;
    // The tool runs in its own folder, where it finds the choice file.
    std::filesystem::create_directories(folder.Path("tool"));
    std::filesystem::create_symlink(TVR_PROGRAM_DIR "/PARTNUM.EXE",
                                    folder.Path("tool/PARTNUM.EXE"));
    if (row.picks) folder.Write("tool/partnum_picks.txt", *row.picks);
    folder.Write("settings/TVR73/TVR.INI",
                 "[Database]\nNoML=1\nNoRF=1\nPARTNUM=" + folder.Path("tool/PARTNUM.EXE") +
                     "\n[Design]\nInfos=0\n[Language]\nID=044\n");
    std::filesystem::create_directories(folder.Path("documents"));
    const std::string design = folder.Path("documents/qd.run");
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", design);
    const std::string script = "open " + design + "\nanswer - accept\ncommand " +
                               std::to_string(kIdImportPartNumbers) + "\nenabled " +
                               std::to_string(kIdUndo) + (row.edited ? " 1\n" : " 0\n");
    const CProgramRun run = RunProgram(folder.Path(), {}, script);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
    EXPECT_TRUE(run.dump.contains(QString::fromStdString(std::string(":") + row.told)))
        << run.dump.toStdString();
    EXPECT_TRUE(run.dump.contains(row.edited ? "\nstate=1 qd.run*\n" : "\nstate=0 qd.run\n"))
        << run.dump.toStdString();
  }
}

}  // namespace
