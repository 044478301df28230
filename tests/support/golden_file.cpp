#include "support/golden_file.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <stdexcept>

std::vector<std::uint8_t> HexBytes(std::string_view hex) {
  std::vector<std::uint8_t> bytes;
  int high = -1;
  bool comment = false;
  for (char c : hex) {
    comment = c == '#' || (comment && c != '\n');
    if (comment || !std::isxdigit(static_cast<unsigned char>(c))) continue;
    const int digit =
        std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
      high = -1;
    }
  }
  return bytes;
}

std::vector<std::uint8_t> ReadGoldenBytes(const std::string& name) {
  const std::string path = std::string(TVR_SOURCE_DIR) + "/tests/data/" + name;
  std::ifstream stream(path, std::ios::binary);
  if (!stream) throw std::runtime_error("cannot read the golden file " + path);
  const std::string text{std::istreambuf_iterator<char>(stream), {}};
  if (name.ends_with(".hex")) return HexBytes(text);
  return {text.begin(), text.end()};
}
