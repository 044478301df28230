#include "platform/archive.h"

#include "platform/code_page.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace {

constexpr std::uint16_t kWideMark = 0xFFFE;
// What a streamed reader buffers at once: large enough that refills cost nothing beside
// the decoding, small beside any document.
constexpr std::size_t kStreamChunk = 64 * 1024;
// How much room the writer makes ready at once: the zeros that making it writes are still
// in the cache when the stream's bytes replace them.
constexpr std::size_t kWriterRoomStretch = 64 * 1024;

// Whether the count UTF-16LE units at units are all below 0x80: four units are looked at
// in one load, since every text of a document passes here.
bool IsAsciiUnits(const std::uint8_t* units, std::size_t count) {
  // Bit 7 of each low byte and every bit of each high byte, in the units' byte order.
  constexpr std::uint8_t kMaskBytes[8] = {0x80, 0xFF, 0x80, 0xFF, 0x80, 0xFF, 0x80, 0xFF};
  std::uint64_t mask;
  std::memcpy(&mask, kMaskBytes, sizeof mask);
  std::uint64_t any = 0;
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    std::uint64_t four;
    std::memcpy(&four, units + 2 * i, sizeof four);
    any |= four & mask;
  }
  for (; i < count; ++i) any |= (units[2 * i] & 0x80u) | units[2 * i + 1];
  return any == 0;
}

bool IsAscii(std::string_view text) {
  unsigned char any = 0;
  for (const char c : text) any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

}  // namespace

CArchiveError::CArchiveError(const std::string& message, std::size_t offset)
    : std::runtime_error("damaged stream at byte " + std::to_string(offset) + ": " + message),
      m_offset(offset) {}

CArchiveReader::CArchiveReader(std::vector<std::uint8_t> bytes)
    : CArchiveReader(std::move(bytes), 0) {}

CArchiveReader::CArchiveReader(std::vector<std::uint8_t> bytes, std::size_t firstOffset)
    : m_bytes(std::move(bytes)),
      m_end(m_bytes.size()),
      m_base(firstOffset),
      m_size(firstOffset + m_bytes.size()) {}

CArchiveReader::CArchiveReader(const void* data, std::size_t size)
    : m_bytes(static_cast<const std::uint8_t*>(data),
              static_cast<const std::uint8_t*>(data) + size),
      m_end(size),
      m_size(size) {}

CArchiveReader::CArchiveReader(std::size_t size, CSource source)
    : CArchiveReader(size, std::move(source), 0) {}

CArchiveReader::CArchiveReader(std::size_t size, CSource source, std::size_t firstOffset)
    : m_base(firstOffset), m_size(firstOffset + size), m_source(std::move(source)) {}

void CArchiveReader::StartCopy(std::vector<std::uint8_t>& sink) {
  m_copy = &sink;
  m_copyFrom = m_pos;
}

void CArchiveReader::StopCopy() {
  if (m_copy == nullptr) return;
  CopyPassedBytes();
  m_copy = nullptr;
}

void CArchiveReader::CopyPassedBytes() {
  m_copy->insert(m_copy->end(), m_bytes.begin() + static_cast<std::ptrdiff_t>(m_copyFrom),
                 m_bytes.begin() + static_cast<std::ptrdiff_t>(m_pos));
}

void CArchiveReader::Fill(std::uint64_t count, std::string_view what) {
  if (count > Remaining() || !m_source) NotEnough(count, what);
  if (m_copy != nullptr) {
    // What has been passed leaves the buffer now: it is copied first.
    CopyPassedBytes();
    m_copyFrom = 0;
  }
  const std::size_t kept = Buffered();
  if (kept != 0) std::memmove(m_bytes.data(), m_bytes.data() + m_pos, kept);
  m_base += m_pos;
  m_pos = 0;
  m_end = kept;
  const std::size_t wanted =
      std::min<std::size_t>(m_size - m_base, std::max<std::size_t>(count, kStreamChunk));
  if (m_bytes.size() < wanted) m_bytes.resize(wanted);
  const std::size_t got = m_source(m_bytes.data() + kept, wanted - kept);
  m_end = kept + got;
  if (got < wanted - kept) {
    // The file ended before its size: what it holds is all there is.
    m_size = m_base + m_end;
    m_source = nullptr;
    NotEnough(count, what);
  }
}

void CArchiveReader::Require(std::uint64_t bytes, std::string_view what) const {
  if (bytes > Remaining()) NotEnough(bytes, what);
}

void CArchiveReader::NotEnough(std::uint64_t bytes, std::string_view what) const {
  throw CArchiveError(std::string(what) + " needs " + std::to_string(bytes) + " bytes, " +
                          std::to_string(Remaining()) + " remain",
                      Position());
}

void CArchiveReader::RequireCount(std::uint64_t count, std::uint64_t minBytesEach,
                                  std::string_view what) const {
  // Divide rather than multiply so that a huge count cannot overflow.
  if (minBytesEach != 0 && count > Remaining() / minBytesEach) {
    throw CArchiveError(std::string(what) + ": count " + std::to_string(count) +
                            " is more than the rest of the stream can hold",
                        Position());
  }
}

float CArchiveReader::ReadFloat() { return std::bit_cast<float>(ReadDword()); }

double CArchiveReader::ReadDouble() { return std::bit_cast<double>(ReadLittleEndian<8>("double")); }

void CArchiveReader::SkipBeyondBuffer(std::size_t count) {
  Require(count, "skipped bytes");
  while (Buffered() < count) {
    count -= Buffered();
    m_pos = m_end;
    Fill(std::min(count, kStreamChunk), "skipped bytes");
  }
  m_pos += count;
}

void CArchiveReader::SkipStringOfAnyForm() {
  const auto [count, wide] = ReadStringLength();
  if (wide) RequireCount(count, 2, "text");
  Skip(static_cast<std::size_t>(wide ? 2 * count : count));
}

std::pair<std::uint64_t, bool> CArchiveReader::ReadStringLength() {
  bool wide = false;
  std::uint8_t byteLength = ReadByte();
  if (byteLength < 0xFF) return {byteLength, wide};
  std::uint16_t wordLength = ReadWord();
  if (wordLength == kWideMark) {
    wide = true;
    byteLength = ReadByte();
    if (byteLength < 0xFF) return {byteLength, wide};
    wordLength = ReadWord();
  }
  if (wordLength < 0xFFFE) return {wordLength, wide};
  const std::uint32_t dwordLength = ReadDword();
  if (dwordLength == 0xFFFFFFFF) throw CArchiveError("text longer than 4 GB", Position());
  return {dwordLength, wide};
}

std::string CArchiveReader::ReadString() {
  std::string text;
  ReadString(text);
  return text;
}

void CArchiveReader::ReadString(std::string& text) {
  // Nearly every stored text is in the writer's form with a count below 255: the mark
  // and the count are taken in one look when they are buffered, as they nearly always are.
  if (Buffered() >= kShortTextPrefixSize) {
    const int units = ShortTextUnits(m_bytes.data() + m_pos);
    if (units >= 0) {
      m_pos += kShortTextPrefixSize;
      // Most texts of an element (its comment, its calibre) are empty.
      if (units == 0) text.clear();
      else ReadWideChars(static_cast<std::uint64_t>(units), text);
      return;
    }
  }
  const auto [count, wide] = ReadStringLength();
  if (wide) ReadWideChars(count, text);
  else text = ReadNarrowChars(count);
}

void CArchiveReader::ReadWideChars(std::uint64_t count, std::string& text) {
  // A text within the buffer is within the stream: only a longer one is checked against
  // the rest of the stream, which costs a division, before its bytes are fetched.
  if (Buffered() / 2 < count) {
    RequireCount(count, 2, "text");
    Fill(2 * count, "text");
  }
  // Nearly every stored text is ASCII: narrowed straight into the result, with no trip
  // through the work spaces. A text with any other unit goes the whole way below.
  const std::uint8_t* units = m_bytes.data() + m_pos;
  if (IsAsciiUnits(units, static_cast<std::size_t>(count))) {
    const auto size = static_cast<std::size_t>(count);
    text.resize(size);
    // Through a pointer taken once: a char store may alias the text's own fields, so a
    // loop bounded by its size would load the size again at every character.
    char* out = text.data();
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>(units[2 * i]);
    m_pos += 2 * size;
    return;
  }
  const std::size_t start = Position();
  m_units.resize(static_cast<std::size_t>(count));
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(m_units.data(), m_bytes.data() + m_pos, 2 * m_units.size());
    m_pos += 2 * m_units.size();
  } else {
    for (auto& unit : m_units) {
      unit = static_cast<char16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
      m_pos += 2;
    }
  }
  m_text.resize(3 * m_units.size());
  const char* end = tvr::platform::Utf16ToUtf8(m_units, m_text.data());
  if (end == nullptr) throw CArchiveError("text is not valid UTF-16", start);
  text.assign(m_text.data(), static_cast<std::size_t>(end - m_text.data()));
}

std::string CArchiveReader::ReadNarrowChars(std::uint64_t count) {
  if (Buffered() < count) {
    RequireCount(count, 1, "text");
    Fill(count, "text");
  }
  const auto* begin = reinterpret_cast<const char*>(m_bytes.data() + m_pos);
  m_pos += static_cast<std::size_t>(count);
  return tvr::platform::ToUtf8(std::string_view(begin, static_cast<std::size_t>(count)),
                               tvr::platform::CodePage::Cp1252);
}

void CArchiveWriter::WriteFloat(float value) { WriteDword(std::bit_cast<std::uint32_t>(value)); }

void CArchiveWriter::WriteDouble(double value) {
  WriteLittleEndian<8>(std::bit_cast<std::uint64_t>(value));
}

void CArchiveWriter::WriteBytes(const void* data, std::size_t size) {
  if (size != 0) std::memcpy(Room(size), data, size);
}

void CArchiveWriter::Append(const CArchiveWriter& other) {
  m_bytes.resize(m_size);  // the room made ahead goes; the capacity stays
  const auto begin = other.m_bytes.begin();
  m_bytes.insert(m_bytes.end(), begin, begin + static_cast<std::ptrdiff_t>(other.m_size));
  m_size = m_bytes.size();
}

CArchiveWriter::CArchiveWriter(std::vector<std::uint8_t> buffer) : m_bytes(std::move(buffer)) {
  m_bytes.clear();
}

void CArchiveWriter::Reserve(std::size_t size) {
  if (size > m_bytes.capacity()) m_bytes.reserve(size);
}

void CArchiveWriter::Grow(std::size_t count) {
  const std::size_t needed = m_size + count;
  if (needed > m_bytes.capacity()) m_bytes.reserve(std::max(needed, 2 * m_bytes.capacity()));
  // Room up to the capacity, which is paid for already, but a stretch at a time: making
  // all of a reserved stream's room at once would write megabytes of zeros that are out
  // of the cache again before the stream reaches them.
  m_bytes.resize(std::min(m_bytes.capacity(), std::max(needed, m_size + kWriterRoomStretch)));
}

const std::vector<std::uint8_t>& CArchiveWriter::Bytes() const {
  m_bytes.resize(m_size);
  return m_bytes;
}

std::vector<std::uint8_t> CArchiveWriter::TakeBytes() {
  m_bytes.resize(m_size);
  std::vector<std::uint8_t> bytes = std::move(m_bytes);
  m_bytes.clear();
  m_size = 0;
  return bytes;
}

void CArchiveWriter::WriteStringLength(std::uint64_t count) {
  WriteByte(0xFF);
  WriteWord(kWideMark);
  if (count < 0xFF) {
    WriteByte(static_cast<std::uint8_t>(count));
  } else if (count < 0xFFFE) {
    WriteByte(0xFF);
    WriteWord(static_cast<std::uint16_t>(count));
  } else {
    if (count >= 0xFFFFFFFF) throw std::length_error("text too long for the stored form");
    WriteByte(0xFF);
    WriteWord(0xFFFF);
    WriteDword(static_cast<std::uint32_t>(count));
  }
}

void CArchiveWriter::WriteString(std::string_view text) {
  // Nearly every stored text is ASCII: its bytes are widened straight into the stream,
  // with no trip through the work space. Any other goes the whole way below.
  if (IsAscii(text)) {
    WriteStringLength(text.size());
    std::uint8_t* at = Room(2 * text.size());
    for (const char c : text) {
      *at++ = static_cast<std::uint8_t>(c);
      *at++ = 0;
    }
    return;
  }
  m_units.resize(text.size());
  const std::size_t count =
      static_cast<std::size_t>(tvr::platform::Utf8ToUtf16(text, m_units.data()) - m_units.data());
  WriteStringLength(count);
  std::uint8_t* at = Room(2 * count);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(at, m_units.data(), 2 * count);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    *at++ = static_cast<std::uint8_t>(m_units[i]);
    *at++ = static_cast<std::uint8_t>(m_units[i] >> 8);
  }
}
