#pragma once

// The steps that the end-to-end tests of the range samples share: the real program
// under a virtual X server opens a sample, rebuilds its run, keeps a screenshot and saves
// it; or rebuilds a run laid out from a layout text and answers the message it shows.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QStringDecoder>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "app/ui/command_ids.h"
#include "model/document/dorne_doc.h"
#include "model/run/range_rules.h"
#include "model/run/run_factory.h"
#include "ranges/qg_listing.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "samplewriter/sample_layout.h"
#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

inline void WriteSampleSettings(CShellTestFolder& folder) {
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=044\n");
  std::filesystem::create_directories(folder.Path("documents"));
}

inline void ForgetSampleRanges() {
  CRangeTableCache::Instance().Reset();
  CRangeContext::Instance().Reset();
  CRunFactory::Instance().Reset();
}

// The saved design, read with the sample catalogue, handed to `look`.
inline void LookAtSaved(const std::string& path, const std::function<void(CDorneDoc&)>& look) {
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  {
    CDorneDoc document;
    const CDocFileResult opened = document.OnOpenDocument(path);
    ASSERT_TRUE(opened.ok) << path << ": " << opened.text;
    look(document);
  }
  ForgetSampleRanges();
}

// The QM sample opened with its range and its runs copied in turn until the document holds
// `runs`: a large design of real runs. False when the sample does not open or a copy fails.
inline bool OpenRepeatedQMSample(CDorneDoc& document, int runs) {
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  if (!document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qm_sample.run").ok) return false;
  const int first = document.GetRunCount();
  for (int i = first; i < runs; ++i) {
    document.SetCurrentRun(document.GetRunAt(i % first));
    if (document.DuplicateRun(0) <= 0) return false;
  }
  return true;
}

// The text of a CSV export of the program, which writes UTF-16.
inline QString CsvExportText(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringDecoder decoder(QStringDecoder::Utf16LE);
  return decoder(file.readAll());
}

// The document laid out from `layout` with the sample catalogue, saved at `path`;
// `change`, when given, acts on the laid document first. Empty when written, else what
// went wrong.
inline std::string WriteLaidDocument(const std::string& path, std::string_view layout,
                                     const std::function<void(CDorneDoc&)>& change = {}) {
  CRunFactory::Instance().Reset();
  CRangeTableCache::Instance().Reset();
  RegisterRangeRuns();
  CRangeContext& context = CRangeContext::Instance();
  context.Reset();
  context.SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  context.SetDevices({{"1", "Straight"}, {"0", "End"}, {"8", "Special"}, {"7", "Pass"}});
  std::string problem;
  {
    CDorneDoc document{CDocEnvironment{}};
    document.OnNewDocument("");
    while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
    problem = LayOutSample(document, layout);
    if (problem.empty() && change) change(document);
    if (problem.empty() && !document.OnSaveDocument(path).ok) problem = "not saved";
  }
  ForgetSampleRanges();
  return problem;
}

// The program opens the document `source` (copied as <name>.run), rebuilds it and saves
// it; `listing` gets the saved run's listing (QGSampleListing) read with the sample
// catalogue, and `inspect`, when given, looks at the saved document. The screenshot is
// <name>.png.
inline void RebuildDocumentInProgram(const std::string& source, const std::string& name,
                                     std::string& listing,
                                     const std::function<void(CDorneDoc&)>& inspect = {}) {
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string sample = folder.Path("documents/" + name + ".run");
  std::filesystem::copy_file(source, sample);
  const std::string saved = folder.Path("documents/rebuilt.run");
  const std::string shot = TestOutputPath(name + ".png");
  std::filesystem::remove(shot);
  const std::string script = "open " + sample + "\ncommand " + std::to_string(kIdRebuildParts) +
                             "\ncommand " + std::to_string(kIdZoomAll) + "\nshot " + shot +
                             "\nsave " + saved + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_TRUE(run.values.value("layout").startsWith("1/")) << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  {
    CDorneDoc document;
    const CDocFileResult opened = document.OnOpenDocument(saved);
    ASSERT_TRUE(opened.ok) << opened.text;
    ASSERT_EQ(document.GetRuns().size(), 1u);
    listing = QGSampleListing(*document.GetRuns().front());
    if (inspect) inspect(document);
  }
  ForgetSampleRanges();
}

// The same for the sample `name` (examples/<name>.run).
inline void RebuildSampleInProgram(const std::string& name, std::string& listing,
                                   const std::function<void(CDorneDoc&)>& inspect = {}) {
  RebuildDocumentInProgram(TVR_PROGRAM_DIR "/examples/" + name + ".run", name, listing, inspect);
}

// The program rebuilds the run laid out from `layout` and shows a message holding
// `told`, which it answers; the screenshot of the message is `shotName`.
inline void ExpectMessageOnRebuild(const std::string& layout, const std::string& told,
                                   const std::string& shotName) {
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string path = folder.Path("documents/laid.run");
  ASSERT_EQ(WriteLaidDocument(path, layout), "");
  const std::string shot = TestOutputPath(shotName);
  std::filesystem::remove(shot);
  const std::string script = "open " + path + "\nanswer " + shot + " accept\ncommand " +
                             std::to_string(kIdRebuildParts) + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_TRUE(run.values.value("dialogs").contains(QString::fromStdString(told)))
      << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}
