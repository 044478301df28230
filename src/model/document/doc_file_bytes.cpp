#include "model/document/doc_file_bytes.h"

#include "platform/archive.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <new>
#include <optional>

namespace {

// The size of an ordinary file; none for a folder, a device or anything that cannot be
// sized, whose reported length means nothing.
std::optional<std::uintmax_t> RegularFileSize(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) || error) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  return size;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  const std::optional<std::uintmax_t> size = RegularFileSize(path);
  if (!size || *size > static_cast<std::uintmax_t>(std::numeric_limits<std::streamsize>::max()))
    return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  try {
    bytes.resize(static_cast<std::size_t>(*size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  const auto count = static_cast<std::streamsize>(*size);
  if (count > 0 &&
      (!file.read(reinterpret_cast<char*>(bytes.data()), count) || file.gcount() != count)) {
    bytes.clear();
    return false;
  }
  return true;
}

bool ReadFileStream(const std::string& path, const std::function<void(CArchiveReader&)>& decode) {
  return ReadFileStreamFrom(path, 0, decode);
}

bool ReadFileStreamFrom(const std::string& path, std::size_t offset,
                        const std::function<void(CArchiveReader&)>& decode) {
  const std::optional<std::uintmax_t> size = RegularFileSize(path);
  if (!size || *size > std::numeric_limits<std::size_t>::max() || *size < offset ||
      offset > static_cast<std::size_t>(std::numeric_limits<long>::max()))
    return false;
  struct CCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  const std::unique_ptr<std::FILE, CCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file || std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) != 0) return false;
  CArchiveReader archive(
      static_cast<std::size_t>(*size) - offset,
      [stream = file.get()](std::uint8_t* buffer, std::size_t count) {
        return std::fread(buffer, 1, count, stream);
      },
      offset);
  decode(archive);
  return true;
}

void ReadBytesStream(const std::vector<std::uint8_t>& bytes,
                     const std::function<void(CArchiveReader&)>& decode,
                     const std::function<void()>& beforePiece) {
  ReadBytesStreamFrom(bytes, 0, decode, beforePiece);
}

bool ReadBytesStreamFrom(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                         const std::function<void(CArchiveReader&)>& decode,
                         const std::function<void()>& beforePiece) {
  if (offset > bytes.size()) return false;
  std::size_t next = offset;
  CArchiveReader archive(
      bytes.size() - offset,
      [&](std::uint8_t* buffer, std::size_t count) {
        if (beforePiece) beforePiece();
        const std::size_t given = std::min(count, bytes.size() - next);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(next), given, buffer);
        next += given;
        return given;
      },
      offset);
  decode(archive);
  return true;
}
