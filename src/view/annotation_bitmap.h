#pragma once

#include <optional>
#include <string>
#include <vector>

#include "grid/bitmap_desc.h"
#include "platform/draw_types.h"

// A picture file of a picture annotation: a Windows bitmap with a 14-byte file header of
// type "BM" (first reserved word 0) and a 40-byte information header. Files are read
// with bounds: anything else, a side outside 1..CBitmapDesc::kMaxSide or pixels the file
// does not hold gives nothing.
std::optional<CSize> ReadBitmapSize(const std::vector<std::uint8_t>& bytes);
// The pixels as 24-bit scan lines top to bottom, for 8 (palette), 24 and 32 bits a pixel
// without compression.
std::optional<CBitmapDesc> DecodeBitmap(const std::vector<std::uint8_t>& bytes);
// The bytes of a file of at most 64 MB; none when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadPictureFile(const std::string& path);
// The file to use for a stored picture path: the path itself when it can be read, else
// the file of the same name (after the last backslash or slash) in the document's
// folder; none when neither can.
std::optional<std::string> FindPictureFile(const std::string& path, const std::string& folder);
