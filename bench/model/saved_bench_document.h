#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench_document.h"
#include "platform/archive.h"

// The document saved to a file of the benchmarks' own by that name; its path.
inline std::string SaveBenchFile(CDorneDoc& document, const std::string& name) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  CArchiveWriter writer;
  document.Serialize(writer);
  const auto bytes = writer.TakeBytes();
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path.string();
}

// The name of the file SavedBenchDocument writes, in the temporary folder.
inline std::string SavedBenchDocumentName(int runs) {
  return "tvr-load-bench-" + std::to_string(runs) + ".run";
}

// The benchmark document of `runs` runs saved; its path.
inline std::string SavedBenchDocument(int runs) {
  return SaveBenchFile(*BuildBenchDocument(runs), SavedBenchDocumentName(runs));
}

// A document of one run of that many elements, built as the benchmark document's runs are,
// saved; its path.
inline std::string SavedRunOfManyElements(int elements) {
  auto document = std::make_unique<CDorneDoc>();
  BuildBenchRun(*document, 0, elements);
  return SaveBenchFile(*document, "tvr-long-run-" + std::to_string(elements) + ".run");
}
