#include "export/part_number_import.h"

#include "app/external_process.h"
#include "export/part_number_link.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "ranges/range_test_support.h"
#include "support/environment_guard.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class CCountingWait : public CWaitObserver {
 public:
  void BeginWait() override { ++begun; }
  bool Pump() override { return true; }
  void EndWait(int result) override { ended = result; }
  int begun = 0;
  int ended = -2;
};

class PartNumberImportTest : public RangeTest {
 protected:
  CPartNumberLink Link(const std::string& program) {
    CPartNumberSettings settings;
    settings.catalogueText = "TVR-1";
    settings.toolProgram = program;
    settings.toolFolder = m_folder.Path();
    CPartNumberLink link;
    link.Init(settings);
    return link;
  }
  CTempFolder m_folder{"partnum"};
};

TEST_F(PartNumberImportTest, TheStandInAnswersAndTheArticlesJoinTheCurrentRun) {
  m_folder.WriteFile("partnum_picks.txt",
                     "QDA40ED430;3\nNOT_AN_ARTICLE;1\nQDA40ED420;0\n;2\nQDA40ED420;2\n");
  CPartNumberLink link = Link(TVR_PROGRAM_DIR "/PARTNUM.EXE");
  CCountingWait wait;
  ASSERT_TRUE(link.RunPartNumberTool("tvr", m_folder.Folder(), wait));
  EXPECT_EQ(wait.begun, 1);
  EXPECT_EQ(wait.ended, 0);
  auto owned = std::make_unique<CDorneDoc>();
  CDorneDoc& document = *owned;
  ASSERT_TRUE(document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run").ok);
  CBOMGrid& grid = document.GetCurrentRun()->GetBOM();
  const int before = grid.FindLine("QDA40ED430") > 0
                         ? static_cast<int>(grid.GetLineQuantity(grid.FindLine("QDA40ED430")))
                         : 0;
  // The stand-in drops the unknown article; the import drops quantity 0.
  EXPECT_EQ(ImportPartNumbers(document, link), 2);
  ASSERT_GT(grid.FindLine("QDA40ED430"), 0);
  EXPECT_EQ(grid.GetLineQuantity(grid.FindLine("QDA40ED430")), before + 3);
  ASSERT_GT(grid.FindLine("QDA40ED420"), 0);
  // Only the answer file of this run was made and it is gone.
  for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path()))
    EXPECT_FALSE(entry.path().filename().string().starts_with("~TMP")) << entry.path();
  owned.reset();  // before the range tables it leases
}

TEST_F(PartNumberImportTest, AToolThatFailsChangesNothing) {
  for (const char* program : {"/nonexistent/PARTNUM.EXE", "/bin/false"}) {
    SCOPED_TRACE(program);
    CPartNumberLink link = Link(program);
    CCountingWait wait;
    EXPECT_FALSE(link.RunPartNumberTool("tvr", m_folder.Folder(), wait));
    EXPECT_FALSE(link.TakeNextLine().has_value());
  }
  EXPECT_TRUE(std::filesystem::is_empty(m_folder.Path()));
}

TEST_F(PartNumberImportTest, ArgumentsReachTheToolWhole) {
  // An argument with blanks and quotes stays one argument: no shell splits it.
  const std::string script = m_folder.WriteFile(
      "tool.sh",
      "#!/bin/sh\n[ \"$#\" = 4 ] || exit 9\nprintf '$;%s;1;x;y\\r\\n' \"$1\" > \"$4\"\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  CPartNumberSettings settings;
  settings.catalogueText = "A \"B\" C;D";
  settings.toolProgram = script;
  CPartNumberLink link;
  link.Init(settings);
  CCountingWait wait;
  ASSERT_TRUE(link.RunPartNumberTool("tvr", m_folder.Folder(), wait));
  // The ';' of the argument splits the answer's fields: five then, and the line is dropped.
  EXPECT_FALSE(link.TakeNextLine().has_value());
  settings.catalogueText = "A \"B\" C";
  link.Init(settings);
  ASSERT_TRUE(link.RunPartNumberTool("tvr", m_folder.Folder(), wait));
  EXPECT_EQ(link.TakeNextLine(), std::optional<std::string>("$\tA \"B\" C\t1\tx\ty"));
}

}  // namespace
