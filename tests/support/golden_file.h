#pragma once

#include <cstdint>
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
