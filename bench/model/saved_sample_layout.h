#pragma once

#include <memory>
#include <string>

#include "model/document/doc_file_bytes.h"
#include "model/document/dorne_doc.h"
#include "platform/archive.h"
#include "sample_qd_run.h"
#include "sample_ranges.h"
#include "saved_bench_document.h"

// A layout of real runs: the QD sample's runs read again and again into one document until
// it holds at least `runs` of them, saved; its path (empty when the sample cannot be read).
// Its runs keep the sample's elements, parts, bills and labels, unlike the plain straights
// of the benchmark document.
inline std::string SavedSampleLayout(int runs) {
  SetUpSampleRanges();
  auto document = std::make_unique<CDorneDoc>();
  while (document->GetRunCount() < runs) {
    if (!ReadFileStream(TVR_PROGRAM_DIR "/examples/qd_sample.run",
                        [&](CArchiveReader& archive) { document->Serialize(archive); }))
      return {};
  }
  return SaveBenchFile(*document, "tvr-sample-layout-" + std::to_string(runs) + ".run");
}

// The runs of the QD sample (0 when it cannot be read).
inline int SampleLayoutRunCount() {
  SetUpSampleRanges();
  CDorneDoc document;
  if (!ReadFileStream(TVR_PROGRAM_DIR "/examples/qd_sample.run",
                      [&](CArchiveReader& archive) { document.Serialize(archive); }))
    return 0;
  return document.GetRunCount();
}

// A document of one QD run of about that many elements (blocks of six of the sample
// range's straights and elbows) with its parts built, saved; its path.
inline std::string SavedLongQDRun(int elements) {
  SetUpSampleRanges();
  auto document = std::make_unique<CDorneDoc>();
  std::unique_ptr<CRunQD> run = LayQDRun(elements / 6);
  run->RebuildParts(0);
  document->AddRun(std::move(run));
  return SaveBenchFile(*document, "tvr-long-qd-run-" + std::to_string(elements) + ".run");
}
