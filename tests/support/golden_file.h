#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

// Compares a long expected text with its golden file, tests/data/<name>. With
// TVR_UPDATE_GOLDEN set in the environment the file is written instead: review its
// change before committing it.
inline void ExpectGolden(const std::string& name, const std::string& actual) {
  std::string path = TVR_SOURCE_DIR;
  path.append("/tests/data/").append(name);
  if (std::getenv("TVR_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << "no golden file " << path;
  const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(actual, expected) << "golden file " << path;
}
