#include "view/annotation_bitmap.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

std::uint32_t Dword(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

struct CBitmapHeader {
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive
  bool bottomUp = true;
  std::uint16_t bits = 0;
  std::uint32_t compression = 0;
  std::uint32_t colours = 0;
  std::uint32_t dataOffset = 0;
};

std::optional<CBitmapHeader> ReadHeader(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < kFileHeader + kInfoHeader) return std::nullopt;
  if (bytes[0] != 'B' || bytes[1] != 'M' || Word(bytes, 6) != 0) return std::nullopt;
  if (Dword(bytes, kFileHeader) != kInfoHeader) return std::nullopt;
  CBitmapHeader header;
  header.width = static_cast<std::int32_t>(Dword(bytes, 18));
  const auto height = static_cast<std::int32_t>(Dword(bytes, 22));
  header.bottomUp = height > 0;
  header.height = height == INT32_MIN ? 0 : std::abs(height);
  header.bits = Word(bytes, 28);
  header.compression = Dword(bytes, 30);
  header.colours = Dword(bytes, 46);
  header.dataOffset = Dword(bytes, 10);
  if (header.width < 1 || header.width > CBitmapDesc::kMaxSide || header.height < 1 ||
      header.height > CBitmapDesc::kMaxSide || Word(bytes, 26) != 1)
    return std::nullopt;
  return header;
}

std::optional<CBitmapDesc> Decode(const std::vector<std::uint8_t>& bytes, const CBitmapHeader& h) {
  if (h.compression != 0 || (h.bits != 8 && h.bits != 24 && h.bits != 32)) return std::nullopt;
  const std::size_t stride = ((static_cast<std::size_t>(h.width) * h.bits + 31) / 32) * 4;
  const std::size_t palette = kFileHeader + kInfoHeader;
  const std::size_t colours = h.bits == 8 ? (h.colours == 0 ? 256 : h.colours) : 0;
  if (colours > 256 || palette + colours * 4 > bytes.size()) return std::nullopt;
  if (h.dataOffset > bytes.size() ||
      (bytes.size() - h.dataOffset) / stride < static_cast<std::size_t>(h.height))
    return std::nullopt;
  CBitmapDesc desc;
  desc.width = h.width;
  desc.height = h.height;
  desc.bitsPixel = 24;
  desc.widthBytes =
      static_cast<std::int32_t>(((static_cast<std::size_t>(h.width) * 3 + 3) / 4) * 4);
  desc.bits.assign(static_cast<std::size_t>(desc.widthBytes) * h.height, 0);
  for (std::int32_t row = 0; row < h.height; ++row) {
    const std::size_t source =
        h.dataOffset + stride * static_cast<std::size_t>(h.bottomUp ? h.height - 1 - row : row);
    std::uint8_t* target = desc.bits.data() + static_cast<std::size_t>(desc.widthBytes) * row;
    for (std::int32_t x = 0; x < h.width; ++x) {
      std::size_t pixel = source + static_cast<std::size_t>(x) * (h.bits / 8);
      if (h.bits == 8) {
        const std::size_t index = bytes[pixel];
        if (index >= colours) continue;
        pixel = palette + index * 4;
      }
      for (int c = 0; c < 3; ++c) target[x * 3 + c] = bytes[pixel + static_cast<std::size_t>(c)];
    }
  }
  return desc;
}

}  // namespace

std::optional<CSize> ReadBitmapSize(const std::vector<std::uint8_t>& bytes) {
  const std::optional<CBitmapHeader> header = ReadHeader(bytes);
  if (!header) return std::nullopt;
  return CSize{header->width, header->height};
}

std::optional<CBitmapDesc> DecodeBitmap(const std::vector<std::uint8_t>& bytes) {
  const std::optional<CBitmapHeader> header = ReadHeader(bytes);
  if (!header) return std::nullopt;
  return Decode(bytes, *header);
}

std::optional<std::vector<std::uint8_t>> ReadPictureFile(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kMaxFileBytes) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
    return std::nullopt;
  return bytes;
}

std::optional<std::string> FindPictureFile(const std::string& path, const std::string& folder) {
  if (path.empty()) return std::nullopt;
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) return path;
  if (folder.empty()) return std::nullopt;
  const std::size_t cut = path.find_last_of("\\/");
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  const std::string beside = (std::filesystem::path(folder) / name).string();
  if (!name.empty() && std::filesystem::is_regular_file(beside, error)) return beside;
  return std::nullopt;
}
