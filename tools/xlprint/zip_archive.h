#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvr::tools {

// One file of a zip archive: its name and its bytes.
struct CZipEntry {
  std::string name;
  std::string data;
};

// The files of a zip archive (an .xlsx workbook is one), in the order of its central
// directory; stored and deflated files are read. Nothing, with error set, when the bytes
// are no zip archive or a file in it is damaged.
std::optional<std::vector<CZipEntry>> ReadZip(std::string_view bytes, std::string& error);

// A zip archive of these files, each deflated.
std::string WriteZip(const std::vector<CZipEntry>& entries);

}  // namespace tvr::tools
