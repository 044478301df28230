#include "xlprint/zip_archive.h"

#include <zlib.h>

#include <cstdint>

namespace tvr::tools {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kMaxComment = 0xFFFF;
// More than a workbook ever holds: a larger size read from a file is damage.
constexpr std::uint32_t kMaxEntrySize = 1u << 30;

std::uint32_t Read(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

void Put(std::string& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t Crc(std::string_view data) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

// Inflates raw deflate data of a known size; nothing when it does not inflate to it.
std::optional<std::string> Inflate(std::string_view packed, std::uint32_t size) {
  std::string out(size, '\0');
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return std::nullopt;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  const bool whole = result == Z_STREAM_END && stream.total_out == size;
  inflateEnd(&stream);
  if (!whole) return std::nullopt;
  return out;
}

std::string Deflate(std::string_view data) {
  z_stream stream{};
  deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::optional<std::size_t> FindEndRecord(std::string_view bytes) {
  if (bytes.size() < kEndRecordSize) return std::nullopt;
  const std::size_t last = bytes.size() - kEndRecordSize;
  const std::size_t first = last > kMaxComment ? last - kMaxComment : 0;
  for (std::size_t at = last + 1; at-- > first;)
    if (Read(bytes, at, 4) == kEndOfDirectory) return at;
  return std::nullopt;
}

// The entry whose central record starts at `at`; `next` gets where the next one starts.
std::optional<CZipEntry> ReadEntry(std::string_view bytes, std::size_t at, std::size_t& next,
                                   std::string& error) {
  if (at + 46 > bytes.size() || Read(bytes, at, 4) != kCentralHeader) {
    error = "its file list is damaged";
    return std::nullopt;
  }
  const std::uint32_t method = Read(bytes, at + 10, 2), crc = Read(bytes, at + 16, 4);
  const std::uint32_t packedSize = Read(bytes, at + 20, 4), size = Read(bytes, at + 24, 4);
  const std::size_t nameSize = Read(bytes, at + 28, 2);
  next = at + 46 + nameSize + Read(bytes, at + 30, 2) + Read(bytes, at + 32, 2);
  const std::size_t local = Read(bytes, at + 42, 4);
  if (at + 46 + nameSize > bytes.size() || local + 30 > bytes.size() ||
      Read(bytes, local, 4) != kLocalHeader || size > kMaxEntrySize) {
    error = "its file list is damaged";
    return std::nullopt;
  }
  CZipEntry entry{std::string(bytes.substr(at + 46, nameSize)), {}};
  const std::size_t start = local + 30 + Read(bytes, local + 26, 2) + Read(bytes, local + 28, 2);
  if (start > bytes.size() || packedSize > bytes.size() - start) {
    error = entry.name + " is cut short";
    return std::nullopt;
  }
  const std::string_view packed = bytes.substr(start, packedSize);
  std::optional<std::string> data;
  if (method == 0 && packedSize == size) data = std::string(packed);
  else if (method == 8) data = Inflate(packed, size);
  if (!data || Crc(*data) != crc) {
    error = entry.name + " is damaged";
    return std::nullopt;
  }
  entry.data = std::move(*data);
  return entry;
}

}  // namespace

std::optional<std::vector<CZipEntry>> ReadZip(std::string_view bytes, std::string& error) {
  const std::optional<std::size_t> end = FindEndRecord(bytes);
  if (!end) {
    error = "it is no zip archive";
    return std::nullopt;
  }
  const std::size_t count = Read(bytes, *end + 10, 2);
  std::size_t at = Read(bytes, *end + 16, 4);
  std::vector<CZipEntry> entries;
  for (std::size_t i = 0; i < count; ++i) {
    std::optional<CZipEntry> entry = ReadEntry(bytes, at, at, error);
    if (!entry) return std::nullopt;
    entries.push_back(std::move(*entry));
  }
  return entries;
}

std::string WriteZip(const std::vector<CZipEntry>& entries) {
  std::string out, directory;
  for (const CZipEntry& entry : entries) {
    const std::string packed = Deflate(entry.data);
    const std::uint32_t crc = Crc(entry.data), offset = static_cast<std::uint32_t>(out.size());
    std::string common;
    Put(common, 20, 2);  // the version needed to extract
    Put(common, 0, 2);   // no flags
    Put(common, 8, 2);   // deflated
    Put(common, 0, 2);   // midnight of 1980-01-01: the same data give the same bytes
    Put(common, 0x21, 2);
    Put(common, crc, 4);
    Put(common, static_cast<std::uint32_t>(packed.size()), 4);
    Put(common, static_cast<std::uint32_t>(entry.data.size()), 4);
    Put(common, static_cast<std::uint32_t>(entry.name.size()), 2);
    Put(common, 0, 2);  // no extra field
    Put(out, kLocalHeader, 4);
    out += common + entry.name + packed;
    Put(directory, kCentralHeader, 4);
    Put(directory, 20, 2);  // made by
    directory += common;
    Put(directory, 0, 2);  // no comment
    Put(directory, 0, 4);  // disk, internal attributes
    Put(directory, 0, 4);  // external attributes
    Put(directory, offset, 4);
    directory += entry.name;
  }
  const std::uint32_t start = static_cast<std::uint32_t>(out.size());
  out += directory;
  Put(out, kEndOfDirectory, 4);
  Put(out, 0, 4);  // this disk, the directory's disk
  Put(out, static_cast<std::uint32_t>(entries.size()), 2);
  Put(out, static_cast<std::uint32_t>(entries.size()), 2);
  Put(out, static_cast<std::uint32_t>(directory.size()), 4);
  Put(out, start, 4);
  Put(out, 0, 2);  // no comment
  return out;
}

}  // namespace tvr::tools
