#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>

#include "platform/log_font.h"

class CArchiveReader;
class CArchiveWriter;

// Fonts as bill-of-materials records store them: a LOGFONT of 92 bytes (five signed
// 32-bit numbers, eight bytes, a face name of 32 UTF-16 units), or of 60 bytes in files
// older than version 511 (the face name as 32 bytes of CP1252).
//
// Stored face names may carry bytes after their terminator, which the in-memory font
// does not keep. So that a document read and saved again is byte for byte the same,
// the object remembers the 92 bytes of every font read and writes them back for a font
// that is still the same.
class CBOMStoredFonts {
 public:
  static constexpr std::size_t kWideSize = 92;
  static constexpr std::size_t kNarrowSize = 60;
  static constexpr std::int32_t kMaxFontSize = 4096;  // height and width, either sign
  static constexpr std::int32_t kMaxAngle = 3600;     // tenths of a degree, either sign
  static constexpr std::int32_t kMaxWeight = 1000;

  using Bytes = std::array<std::uint8_t, kWideSize>;

  // Read one font in either form and remember its wide bytes. Throws CArchiveError when
  // the stream ends early or a field is out of range (size, angle or weight above the
  // limits, a face name that is not valid UTF-16).
  CLogFont ReadWide(CArchiveReader& archive);
  CLogFont ReadNarrow(CArchiveReader& archive);

  // Writes the 92 bytes of the font: those read for it when it was read, else its own.
  void Write(CArchiveWriter& archive, const CLogFont& font) const;

  // The 92 bytes of a font: the face name (UTF-16, cut at a whole character before 32
  // units) padded with zero units.
  static Bytes Encode(const CLogFont& font);

  // The fonts read since the last Forget; Forget also drops what was remembered.
  std::size_t RememberedCount() const { return m_read.size(); }
  void Forget() { m_read.clear(); }

 private:
  // Canonical bytes of a font -> the bytes it was read from.
  std::map<Bytes, Bytes> m_read;
};
