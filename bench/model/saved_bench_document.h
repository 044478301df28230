#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_document.h"
#include "platform/archive.h"

// The benchmark document of `runs` runs saved to a file of the benchmarks' own; its path.
inline std::string SavedBenchDocument(int runs) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tvr-load-bench-" + std::to_string(runs) + ".run");
  CArchiveWriter writer;
  BuildBenchDocument(runs)->Serialize(writer);
  const auto bytes = writer.TakeBytes();
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path.string();
}
