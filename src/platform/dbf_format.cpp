#include "platform/dbf_format.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <set>

namespace tvr::platform {
namespace {

constexpr std::size_t kPrefix = 32;      // fixed part of the header
constexpr std::size_t kDescriptor = 32;  // one field descriptor
constexpr std::size_t kMaxFields = 255;
constexpr char kEndOfFields = 0x0D;

std::uint32_t ReadU16(std::string_view bytes, std::size_t pos) {
  return static_cast<std::uint8_t>(bytes[pos]) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[pos + 1])) << 8);
}

std::uint32_t ReadU32(std::string_view bytes, std::size_t pos) {
  return ReadU16(bytes, pos) | (ReadU16(bytes, pos + 2) << 16);
}

void WriteU16(std::string& bytes, std::size_t pos, std::uint32_t value) {
  bytes[pos] = static_cast<char>(value & 0xFF);
  bytes[pos + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void WriteU32(std::string& bytes, std::size_t pos, std::uint32_t value) {
  WriteU16(bytes, pos, value & 0xFFFF);
  WriteU16(bytes, pos + 2, value >> 16);
}

bool IsKnownVersion(std::uint8_t version) {
  static const std::set<std::uint8_t> kKnown = {0x03, 0x04, 0x05, 0x30, 0x31, 0x32, 0x43,
                                                0x63, 0x83, 0x8B, 0x8E, 0xCB, 0xF5, 0xFB};
  return kKnown.count(version) != 0;
}

std::string Number(std::uint64_t value) { return std::to_string(value); }

// Reads the descriptors up to the end mark; false with fault set when they are damaged.
bool ReadDescriptors(std::string_view file, DbfLayout& layout, std::string& fault) {
  std::size_t pos = kPrefix;
  std::uint32_t offset = 1;
  while (true) {
    if (pos >= layout.headerLength) {
      fault = "the field list has no end mark within the header";
      return false;
    }
    if (file[pos] == kEndOfFields) break;
    if (pos + kDescriptor > layout.headerLength) {
      fault = "a field descriptor runs past the end of the header";
      return false;
    }
    if (layout.fields.size() == kMaxFields) {
      fault = "more than " + Number(kMaxFields) + " fields";
      return false;
    }
    std::string_view raw = file.substr(pos, 11);
    DbfFieldInfo field;
    field.name = std::string(raw.substr(0, raw.find('\0')));
    field.type = file[pos + 11];
    field.length = static_cast<std::uint8_t>(file[pos + 16]);
    field.decimals = static_cast<std::uint8_t>(file[pos + 17]);
    const std::string which = "field " + Number(layout.fields.size() + 1);
    if (field.name.empty() || field.name.find_first_of(" \x1A\r") == 0) {
      fault = which + " has no name";
      return false;
    }
    if (field.length == 0) {
      fault = which + " (" + field.name + ") has length 0";
      return false;
    }
    layout.offsets.push_back(offset);
    offset += static_cast<std::uint32_t>(field.length);
    layout.fields.push_back(std::move(field));
    pos += kDescriptor;
  }
  if (layout.fields.empty()) {
    fault = "the table has no fields";
    return false;
  }
  if (offset != layout.recordLength) {
    fault = "the record length " + Number(layout.recordLength) +
            " does not match its fields, which need " + Number(offset);
    return false;
  }
  return true;
}

}  // namespace

std::optional<DbfLayout> ParseDbfLayout(std::string_view file, std::string& fault) {
  if (file.size() < kPrefix + 1) {
    fault = file.empty() ? "the file is empty" : "the file is too short for a dBase header";
    return std::nullopt;
  }
  DbfLayout layout;
  layout.version = static_cast<std::uint8_t>(file[0]);
  if (!IsKnownVersion(layout.version)) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", layout.version);
    fault = std::string("not a dBase table (version byte ") + hex + ")";
    return std::nullopt;
  }
  layout.recordCount = ReadU32(file, 4);
  layout.headerLength = ReadU16(file, 8);
  layout.recordLength = ReadU16(file, 10);
  layout.ldid = static_cast<std::uint8_t>(file[29]);
  if (layout.headerLength < kPrefix + 1 || layout.headerLength > file.size()) {
    fault = "the header length " + Number(layout.headerLength) + " does not fit the file size " +
            Number(file.size());
    return std::nullopt;
  }
  if (!ReadDescriptors(file, layout, fault)) return std::nullopt;
  const std::uint64_t room = file.size() - layout.headerLength;
  const std::uint64_t need = std::uint64_t{layout.recordCount} * layout.recordLength;
  if (need > room) {
    fault = "the header counts " + Number(layout.recordCount) + " records but the file holds " +
            Number(room / layout.recordLength);
    return std::nullopt;
  }
  return layout;
}

std::string CheckFieldDefinitions(const std::vector<DbfFieldInfo>& fields) {
  if (fields.empty()) return "a table needs at least one field";
  if (fields.size() > kMaxFields) return "a table holds at most 255 fields";
  std::set<std::string> names;
  std::uint32_t recordLength = 1;
  for (const DbfFieldInfo& field : fields) {
    const std::string& name = field.name;
    const std::string which = "field \"" + name + "\"";
    bool nameOk = !name.empty() && name.size() <= 10 && name[0] >= 'A' && name[0] <= 'Z';
    for (char c : name) {
      nameOk = nameOk && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_');
    }
    if (!nameOk) return which + ": a name is 1 to 10 capital letters, digits or '_', from a letter";
    if (!names.insert(name).second) return which + " appears twice";
    const int length = field.length;
    const int decimals = field.decimals;
    bool sizeOk = false;
    switch (field.type) {
      case 'C': sizeOk = length >= 1 && length <= 254 && decimals == 0; break;
      case 'N':
      case 'F':
        sizeOk = length >= 1 && length <= 20 && decimals >= 0 &&
                 (decimals == 0 || decimals <= length - 2);
        break;
      case 'L': sizeOk = length == 1 && decimals == 0; break;
      case 'D': sizeOk = length == 8 && decimals == 0; break;
      case 'I': sizeOk = length == 4 && decimals == 0; break;
      default:
        return which + ": type '" + std::string(1, field.type) + "' is not one of C, N, F, L, D, I";
    }
    if (!sizeOk) {
      return which + ": length " + Number(static_cast<std::uint64_t>(std::max(length, 0))) +
             " with " + std::to_string(decimals) + " decimals does not suit type " +
             std::string(1, field.type);
    }
    recordLength += static_cast<std::uint32_t>(length);
  }
  if (recordLength > 0xFFFF) return "the fields are too long for one record";
  return std::string();
}

DbfLayout NewDbfLayout(const std::vector<DbfFieldInfo>& fields, CodePage page) {
  DbfLayout layout;
  layout.version = 0x03;
  layout.ldid = LdidOf(page);
  layout.fields = fields;
  layout.headerLength = static_cast<std::uint32_t>(kPrefix + kDescriptor * fields.size() + 1);
  layout.recordLength = 1;
  for (const DbfFieldInfo& field : fields) {
    layout.offsets.push_back(layout.recordLength);
    layout.recordLength += static_cast<std::uint32_t>(field.length);
  }
  return layout;
}

std::string BuildDbfHeader(const DbfLayout& layout) {
  std::string header(layout.headerLength, '\0');
  header[0] = static_cast<char>(layout.version);
  WriteU32(header, 4, layout.recordCount);
  WriteU16(header, 8, layout.headerLength);
  WriteU16(header, 10, layout.recordLength);
  header[29] = static_cast<char>(layout.ldid);
  std::size_t pos = kPrefix;
  for (const DbfFieldInfo& field : layout.fields) {
    std::memcpy(&header[pos], field.name.data(), std::min<std::size_t>(field.name.size(), 10));
    header[pos + 11] = field.type;
    header[pos + 16] = static_cast<char>(field.length);
    header[pos + 17] = static_cast<char>(field.decimals);
    pos += kDescriptor;
  }
  header[pos] = kEndOfFields;
  return header;
}

void StampDbfHeader(std::string& header, std::uint32_t recordCount) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  header[1] = static_cast<char>(local.tm_year % 256);  // years since 1900
  header[2] = static_cast<char>(local.tm_mon + 1);
  header[3] = static_cast<char>(local.tm_mday);
  WriteU32(header, 4, recordCount);
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool HasNoWriteBits(const std::string& path, struct stat& info) {
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& fault) {
  namespace fs = std::filesystem;
  fs::path target(path);
  std::error_code linkError;
  if (fs::is_symlink(target, linkError)) {
    // replace the file the link names, not the link
    const fs::path resolved = fs::weakly_canonical(target, linkError);
    if (!linkError) target = resolved;
  }
  const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
  struct stat info {};
  if (HasNoWriteBits(folder, info)) {
    fault = "the folder " + folder + " is read-only";
    return false;
  }
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (old.st_mode & 0222) == 0) {
    fault = "the file is read-only";
    return false;
  }
  std::string temp = (fs::path(folder) / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    fault = std::string("cannot create a file in ") + folder + ": " + std::strerror(errno);
    return false;
  }
  const mode_t mode = exists ? (old.st_mode & 07777) : 0644;
  bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    fault = std::string("cannot write the file: ") + std::strerror(error);
  }
  return ok;
}

}  // namespace tvr::platform
