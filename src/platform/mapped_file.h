#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tvr::platform {

// The bytes of a regular file, mapped read-only into memory: opening costs no copy, and
// the pages are read as they are first used.
//
// Another program may cut the file short while it is mapped; reading a page past its new
// end would then raise SIGBUS. A handler, installed with the first mapping, puts zero
// pages in place of the pages that are gone, so that the reader sees zeros instead of the
// program dying (readers check every byte anyway: files are hostile). Faults anywhere
// else go to the handler that was there before. A file replaced by renaming another over
// it (as every writer here does) keeps its old bytes under the mapping.
//
// When no mapping can be made (an empty file, or too many files mapped at once) the
// bytes are read into memory instead.
class CMappedFile {
 public:
  CMappedFile() = default;
  ~CMappedFile();
  CMappedFile(CMappedFile&& other) noexcept;
  CMappedFile& operator=(CMappedFile&& other) noexcept;
  CMappedFile(const CMappedFile&) = delete;
  CMappedFile& operator=(const CMappedFile&) = delete;

  // Maps the whole regular file of at most maxSize bytes; false with fault set (and
  // nothing mapped) when it is missing, unreadable, not a regular file or too large.
  bool Open(const std::string& path, std::uint64_t maxSize, std::string& fault);
  void Close();

  std::string_view Bytes() const { return m_bytes; }
  // Copies size bytes from offset of the mapped file as it stands now into out: the
  // system copies a long stretch faster than a program can read it through the
  // mapping, page by page. False when the file no longer holds them (or no file is
  // mapped); out is then undefined.
  bool ReadAt(std::uint64_t offset, char* out, std::size_t size) const;

 private:
  bool ReadInstead(int fd, std::size_t size, std::string& fault);

  void* m_address = nullptr;
  std::size_t m_mappedLength = 0;
  int m_slot = -1;
  int m_fd = -1;  // open while mapped
  std::string m_copy;
  std::string_view m_bytes;
};

}  // namespace tvr::platform
