// Starts the real program under a virtual X server on a large design (the QM sample's runs,
// feed units with their equipment boxes among them, repeated to 48 runs): it opens with its
// runs read on several threads, shows them and saves every run, element and bill line.

#include <gtest/gtest.h>

#include <QImage>
#include <QStandardPaths>

#include <filesystem>
#include <string>
#include <vector>

#include "sample_end_to_end_support.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_line.h"
#include "model/document/doc_file_bytes.h"
#include "model/run/run.h"
#include "platform/archive.h"

namespace {

constexpr int kRuns = 48;

// Every run's elements and bill lines, as the file read one run after the other holds them.
std::vector<std::string> Contents(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::vector<std::string> lines;
  if (!ReadWholeFile(path, bytes)) return lines;
  CDorneDoc document;
  CArchiveReader reader(bytes);
  document.Serialize(reader);
  for (int r = 0; r < document.GetRunCount(); ++r) {
    const CRun& run = *document.GetRunAt(r);
    lines.push_back(std::to_string(r) + ": " + std::to_string(run.GetDevices().size()) +
                    " elements of " + run.GetPropText("Catalog"));
    const CBOMGrid& bom = run.GetBOM();
    for (int row = 1; row <= bom.GetLineCount(); ++row) {
      if (const CBOMLine* line = bom.GetLine(row))
        lines.push_back(line->reference + " x" + std::to_string(bom.GetLineQuantity(row)));
    }
  }
  return lines;
}

TEST(LargeDesignEndToEndTest, TheProgramOpensALargeDesignAndSavesEveryRunOfIt) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string large = folder.Path("large.run");
  {
    CDorneDoc document;
    ASSERT_TRUE(OpenRepeatedQMSample(document, kRuns));
    ASSERT_TRUE(document.OnSaveDocument(large).ok);
    CDorneDoc read;
    ASSERT_TRUE(read.OnOpenDocument(large).ok);
    EXPECT_EQ(read.RunsReadAside(), std::size_t{kRuns});
  }
  const std::vector<std::string> opened = Contents(large);
  ForgetSampleRanges();
  const std::string saved = folder.Path("documents/saved.run");
  const std::string shot = TestOutputPath("large_design.png");
  std::filesystem::remove(shot);
  const CProgramRun program =
      RunProgram(folder.Path(), {}, "open " + large + "\nshot " + shot + "\nsave " + saved + "\n");
  ASSERT_TRUE(program.finished) << program.output.toStdString();
  const QString text = program.dump;
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("\nlayout=%1/").arg(kRuns))) << text.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  EXPECT_GT(opened.size(), static_cast<std::size_t>(kRuns));
  EXPECT_EQ(Contents(saved), opened);
  ForgetSampleRanges();
}

}  // namespace
