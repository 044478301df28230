#include "export/part_number_import.h"

#include "app/external_process.h"
#include "export/part_number_link.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "ranges/range_test_support.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class CNoWait : public CWaitObserver {
 public:
  void BeginWait() override {}
  bool Pump() override { return true; }
  void EndWait(int) override {}
};

// The tool answers in its 8-bit code page (CP1252): what enters the document is UTF-8.
TEST(PartNumberAnswerTest, LinesAreDecodedFromTheToolsCodePageOrDropped) {
  const struct {
    const char* guards;
    std::string bytes;
    std::optional<std::string> line;
  } rows[] = {
      {"accented reference and designation",
       "$;R\xE9"
       "F-2;1;D\xE9sign\xE9;5\r\n",
       "$\tRéF-2\t1\tDésigné\t5"},
      {"a euro of the code page", "$;A;1;Prix \x80;5", "$\tA\t1\tPrix €\t5"},
      {"plain ASCII as before", "$;QDA40ED430;2;x;y", "$\tQDA40ED430\t2\tx\ty"},
      {"a byte with no character in CP1252",
       "$;A\x81"
       "B;1;x;y",
       std::nullopt},
      {"a NUL", std::string("$;A\0B;1;x;y", 11), std::nullopt},
      {"an escape",
       "$;A\x1B"
       "B;1;x;y",
       std::nullopt},
      {"a delete",
       "$;A\x7F"
       "B;1;x;y",
       std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    const std::vector<std::string> lines = ParseToolAnswer(row.bytes + "\r\n$;K;1;x;y");
    // The last line is always kept: a dropped line never takes the others with it.
    ASSERT_EQ(lines.size(), row.line ? 2u : 1u);
    if (row.line) {
      EXPECT_EQ(lines[0], *row.line);
    }
    EXPECT_EQ(lines.back(), "$\tK\t1\tx\ty");
  }
}

class PartNumberAnswerImportTest : public RangeTest {
 protected:
  CTempFolder m_folder{"partnum-text"};
};

TEST_F(PartNumberAnswerImportTest, AnAccentedReferenceMatchesAfterSaveAndReopen) {
  // "RéF-2" as the tool writes it: the é is the single byte E9.
  const std::string script =
      m_folder.WriteFile("tool.sh", "#!/bin/sh\nprintf '$;R\\351F-2;2;x;y\\r\\n' > \"$4\"\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  CPartNumberSettings settings;
  settings.toolProgram = script;
  CPartNumberLink link;
  link.Init(settings);
  CNoWait wait;
  ASSERT_TRUE(link.RunPartNumberTool("tvr", m_folder.Folder(), wait));
  const std::string path = m_folder.File("imported.run");
  {
    CDorneDoc document;
    ASSERT_TRUE(document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run").ok);
    EXPECT_EQ(ImportPartNumbers(document, link), 1);
    CBOMGrid& grid = document.GetCurrentRun()->GetBOM();
    ASSERT_GT(grid.FindLine("RéF-2"), 0);
    ASSERT_TRUE(document.OnSaveDocument(path).ok);
  }
  CDorneDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(path).ok);
  CBOMGrid& grid = reopened.GetCurrentRun()->GetBOM();
  ASSERT_GT(grid.FindLine("RéF-2"), 0);
  EXPECT_EQ(grid.GetLineQuantity(grid.FindLine("RéF-2")), 2);
}

}  // namespace
