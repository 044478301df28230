#include "model/doc_file_bytes.h"

#include <fstream>

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return false;
  const std::streamoff size = file.tellg();
  if (size < 0) return false;
  bytes.resize(static_cast<std::size_t>(size));
  file.seekg(0);
  if (size > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), size)) {
    bytes.clear();
    return false;
  }
  return true;
}
