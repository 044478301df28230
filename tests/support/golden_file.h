#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// Pinned bytes and long expected listings live as data in tests/data/, not as literals in
// test code. A name ending in ".hex" is hex text: pairs of hex digits, anything else
// between them skipped, and '#' starting a comment up to the line's end. Any other name
// is read as it stands. Throws std::runtime_error when the file cannot be read.
std::vector<std::uint8_t> ReadGoldenBytes(const std::string& name);

// The bytes spelled by pairs of hex digits, as in a ".hex" golden file.
std::vector<std::uint8_t> HexBytes(std::string_view hex);

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
  const std::string expected((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  EXPECT_EQ(actual, expected) << "golden file " << path;
}
