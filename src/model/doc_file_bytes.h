#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole file in one read; false (bytes empty) when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);
