#pragma once

#include <filesystem>
#include <string>

// The path of a file kept for review under build/test-output/; the folder is made.
inline std::string TestOutputPath(const std::string& name) {
  const std::filesystem::path folder = TVR_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}
