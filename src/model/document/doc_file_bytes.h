#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class CArchiveReader;

// The whole file in one read; false (bytes empty) when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Decodes the file as it is read, a piece at a time, so that a large document is never
// held whole beside what is made of it; false when it cannot be opened (the decoder
// has not run). The decoder's exceptions pass through.
bool ReadFileStream(const std::string& path, const std::function<void(CArchiveReader&)>& decode);
// The same from that offset of the file on, its positions those of the whole file; false
// also when the file is shorter than the offset.
bool ReadFileStreamFrom(const std::string& path, std::size_t offset,
                        const std::function<void(CArchiveReader&)>& decode);

// Decodes bytes held in memory the same way, a piece at a time rather than copied whole;
// beforePiece, when given, runs before each piece is taken (it may throw to stop the
// decoding there). The decoder's exceptions pass through.
void ReadBytesStream(const std::vector<std::uint8_t>& bytes,
                     const std::function<void(CArchiveReader&)>& decode,
                     const std::function<void()>& beforePiece = {});
// The same from that offset of the bytes on, its positions those of the whole; false, the
// decoder not run, when the bytes are shorter than the offset.
bool ReadBytesStreamFrom(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                         const std::function<void(CArchiveReader&)>& decode,
                         const std::function<void()>& beforePiece = {});
