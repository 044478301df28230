#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/dbf_table.h"

// The byte layout of dBase files: reading and checking a header, building one.
namespace tvr::platform {

struct DbfLayout {
  std::uint8_t version = 0x03;
  std::uint8_t ldid = 0;
  std::uint32_t headerLength = 0;
  std::uint32_t recordLength = 0;
  std::uint32_t recordCount = 0;
  std::vector<DbfFieldInfo> fields;
  std::vector<std::uint32_t> offsets;  // of each field within a record (byte 0 is the flag)
};

// Reads and checks the header of a whole file: every length, count and offset is checked
// against the others and against the file's size, so that records can then be read
// without further checks. On a fault, nothing, and fault says what is wrong.
std::optional<DbfLayout> ParseDbfLayout(std::string_view file, std::string& fault);

// Empty when the fields can make a table, else what is wrong with them.
std::string CheckFieldDefinitions(const std::vector<DbfFieldInfo>& fields);

// The layout and header bytes (descriptors and end mark included) of a new dBase III
// table with these fields, which CheckFieldDefinitions accepted.
DbfLayout NewDbfLayout(const std::vector<DbfFieldInfo>& fields, CodePage page);
std::string BuildDbfHeader(const DbfLayout& layout);

// Writes the record count and today's date into a header.
void StampDbfHeader(std::string& header, std::uint32_t recordCount);

// The largest table file opened.
inline constexpr std::uint64_t kMaxTableFileSize = std::uint64_t{1} << 30;

// Writes the bytes to a new file beside path and renames it over path (keeping the old
// file's permissions). False with fault set when anything fails; path is then untouched.
// A file or folder without any write permission counts as read-only, even for root.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                                       std::string& fault);

}  // namespace tvr::platform
