#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The byte stream of the program's stored documents: little-endian words, dwords,
// floats and doubles, and texts in the length-prefixed form below.
//
// Text form: the byte FF and the word FFFE (wide-text mark), then the character count
// as a byte when below 255, else FF and a word when below 65534, else FF, the word
// FFFF and a dword; then the UTF-16LE code units, no terminator. The writer always
// uses this form. The reader also accepts the 8-bit form (the same count without the
// mark, then that many CP1252 bytes; a byte that CP1252 leaves
// undefined reads as '?'). In memory every text is UTF-8.
//
// Errors: every reading operation throws CArchiveError when the stream is damaged
// (ends early, a count or length that the rest of the stream cannot hold, invalid
// UTF-16). Nothing is allocated before its size has been checked against what remains.

// The unsigned value of N little-endian bytes (N up to 8). On a little-endian host one
// load does it: the bytes of a document are read millions of times.
template <std::size_t N>
std::uint64_t DecodeLittleEndian(const std::uint8_t* bytes) {
  static_assert(N >= 1 && N <= 8);
  std::uint64_t value = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&value, bytes, N);
  } else {
    for (std::size_t i = N; i-- > 0;) value = (value << 8) | bytes[i];
  }
  return value;
}

// The writer's short form of a text: the byte FF, the wide mark FE FF, then a count
// below 255 of UTF-16 units. The count when the four bytes from `prefix` begin a text in
// that form, else -1.
inline int ShortTextUnits(const std::uint8_t* prefix) {
  return prefix[0] == 0xFF && prefix[1] == 0xFE && prefix[2] == 0xFF && prefix[3] < 0xFF ? prefix[3]
                                                                                         : -1;
}
constexpr std::size_t kShortTextPrefixSize = 4;

class CArchiveError : public std::runtime_error {
 public:
  // offset: position in the stream where the damage was found.
  CArchiveError(const std::string& message, std::size_t offset);
  std::size_t Offset() const { return m_offset; }

 private:
  std::size_t m_offset;
};

class CArchiveReader {
 public:
  // Fills the buffer with up to `count` next bytes of the stream; the count it gave.
  using CSource = std::function<std::size_t(std::uint8_t* buffer, std::size_t count)>;

  explicit CArchiveReader(std::vector<std::uint8_t> bytes);
  // The bytes of a stretch of a larger stream that starts at `firstOffset` there, so that
  // positions and the offsets of errors are those of the larger stream.
  CArchiveReader(std::vector<std::uint8_t> bytes, std::size_t firstOffset);
  CArchiveReader(const void* data, std::size_t size);  // copies the bytes
  // A stream of `size` bytes taken from the source a piece at a time as it is read, so
  // that a large file is never held whole. A source that gives out early reads as a
  // stream cut short there.
  CArchiveReader(std::size_t size, CSource source);
  // The same for a stretch of a larger stream that starts at `firstOffset` there, so that
  // positions and the offsets of errors are those of the larger stream.
  CArchiveReader(std::size_t size, CSource source, std::size_t firstOffset);

  // The fixed-size reads are inline: a document reads millions of them.
  std::uint8_t ReadByte() { return static_cast<std::uint8_t>(ReadLittleEndian<1>("byte")); }
  std::uint16_t ReadWord() { return static_cast<std::uint16_t>(ReadLittleEndian<2>("word")); }
  std::uint32_t ReadDword() { return static_cast<std::uint32_t>(ReadLittleEndian<4>("dword")); }
  std::int32_t ReadLong() { return static_cast<std::int32_t>(ReadDword()); }  // signed
  float ReadFloat();
  double ReadDouble();
  std::string ReadString();
  // The same text read into `text`, whose room is kept: the texts of every element of a
  // document go straight to their place. On a throw `text` may hold anything.
  void ReadString(std::string& text);
  void Skip(std::size_t count) {
    if (Buffered() >= count) m_pos += count;
    else SkipBeyondBuffer(count);
  }
  // Passes a text in either form without decoding it.
  void SkipString() {
    // The writer's short form, as in ReadString.
    if (Buffered() >= kShortTextPrefixSize) {
      if (const int units = ShortTextUnits(m_bytes.data() + m_pos); units >= 0) {
        const std::size_t size = kShortTextPrefixSize + 2 * static_cast<std::size_t>(units);
        if (Buffered() >= size) {
          m_pos += size;
          return;
        }
      }
    }
    SkipStringOfAnyForm();
  }
  // From StartCopy to StopCopy, every byte passed is also appended to `sink`, whatever
  // reads it: a stretch of the stream can be kept without knowing its form.
  void StartCopy(std::vector<std::uint8_t>& sink);
  void StopCopy();
  // The next count bytes, which the reader then passes: a record of fixed size is
  // checked once and decoded in place. Throws when fewer remain.
  const std::uint8_t* Take(std::size_t count) {
    if (Buffered() < count) Fill(count, "record");
    const std::uint8_t* bytes = m_bytes.data() + m_pos;
    m_pos += count;
    return bytes;
  }

  // The next count bytes when the buffer holds them all, which the reader then passes;
  // null, and nothing passed, when it does not: the caller then reads them one by one, so
  // that a stream ending among them fails where and as those reads fail.
  const std::uint8_t* TakeBuffered(std::size_t count) {
    if (Buffered() < count) return nullptr;
    const std::uint8_t* bytes = m_bytes.data() + m_pos;
    m_pos += count;
    return bytes;
  }

  // The bytes buffered from the current position on, none of them passed: a reader that
  // knows a record's form can look it through there and then pass it whole with Skip.
  std::span<const std::uint8_t> PeekBuffered() const {
    return {m_bytes.data() + m_pos, Buffered()};
  }

  // Throws unless at least `bytes` remain; `what` names the record in the message.
  void Require(std::uint64_t bytes, std::string_view what) const;
  // Throws unless `count` items of at least `minBytesEach` bytes can still follow:
  // call it before reserving or looping over a count read from the stream.
  void RequireCount(std::uint64_t count, std::uint64_t minBytesEach, std::string_view what) const;

  std::size_t Position() const { return m_base + m_pos; }
  std::size_t Remaining() const { return m_size - Position(); }
  bool AtEnd() const { return Position() == m_size; }

 private:
  template <std::size_t N>
  std::uint64_t ReadLittleEndian(std::string_view what) {
    if (Buffered() < N) Fill(N, what);
    const std::uint64_t value = DecodeLittleEndian<N>(m_bytes.data() + m_pos);
    m_pos += N;
    return value;
  }
  [[noreturn]] void NotEnough(std::uint64_t bytes, std::string_view what) const;
  void SkipBeyondBuffer(std::size_t count);
  void SkipStringOfAnyForm();
  // Appends the bytes passed since m_copyFrom to the copy.
  void CopyPassedBytes();
  std::size_t Buffered() const { return m_end - m_pos; }
  // Makes the next `count` bytes buffered; throws when fewer remain in the stream.
  void Fill(std::uint64_t count, std::string_view what);
  // Character count and whether the characters are wide.
  std::pair<std::uint64_t, bool> ReadStringLength();
  void ReadWideChars(std::uint64_t count, std::string& text);
  std::string ReadNarrowChars(std::uint64_t count);

  // The buffered part of the stream is m_bytes up to m_end, from stream offset m_base;
  // m_pos indexes it. A streamed reader keeps the room past m_end for the next refill,
  // so that a refill neither zeroes nor reallocates it.
  std::vector<std::uint8_t> m_bytes;
  std::size_t m_end = 0;
  std::size_t m_pos = 0;
  std::size_t m_base = 0;
  std::size_t m_size = 0;  // of the whole stream
  CSource m_source;        // none: the whole stream is buffered
  std::vector<std::uint8_t>* m_copy = nullptr;
  std::size_t m_copyFrom = 0;  // in m_bytes: the first byte not yet copied
  // Work space of the text conversions, kept to spare allocations.
  std::u16string m_units;
  std::string m_text;
};

// The N little-endian bytes of value (N up to 8), the writer's counterpart of
// DecodeLittleEndian: one store on a little-endian host.
template <std::size_t N>
void EncodeLittleEndian(std::uint64_t value, std::uint8_t* bytes) {
  static_assert(N >= 1 && N <= 8);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(bytes, &value, N);
  } else {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

class CArchiveWriter {
 public:
  CArchiveWriter() = default;
  // Writes into the room of `buffer`, whose bytes are dropped: a stream written again and
  // again reuses the memory of the last one instead of fresh memory.
  explicit CArchiveWriter(std::vector<std::uint8_t> buffer);

  // The fixed-size writes are inline and store into room made ahead: a document writes
  // millions of them.
  void WriteByte(std::uint8_t value) { *Room(1) = value; }
  void WriteWord(std::uint16_t value) { WriteLittleEndian<2>(value); }
  void WriteDword(std::uint32_t value) { WriteLittleEndian<4>(value); }
  void WriteLong(std::int32_t value) { WriteDword(static_cast<std::uint32_t>(value)); }
  void WriteFloat(float value);
  void WriteDouble(double value);
  // UTF-8 text; a byte sequence that is not valid UTF-8 is written as U+FFFD so that
  // a save never fails on one damaged text.
  void WriteString(std::string_view text);
  void WriteBytes(const void* data, std::size_t size);
  // The bytes another writer wrote, copied straight behind these: no room is made (and
  // zeroed) for them first.
  void Append(const CArchiveWriter& other);

  // Room for that many bytes in all, so that a long stream grows without copies.
  void Reserve(std::size_t size);
  // The count of bytes written so far.
  std::size_t Size() const { return m_size; }
  const std::vector<std::uint8_t>& Bytes() const;
  std::vector<std::uint8_t> TakeBytes();

 private:
  template <std::size_t N>
  void WriteLittleEndian(std::uint64_t value) {
    EncodeLittleEndian<N>(value, Room(N));
  }
  // The next `count` bytes of the stream, to be filled by the caller.
  std::uint8_t* Room(std::size_t count) {
    if (m_bytes.size() - m_size < count) Grow(count);
    std::uint8_t* at = m_bytes.data() + m_size;
    m_size += count;
    return at;
  }
  void Grow(std::size_t count);
  void WriteStringLength(std::uint64_t count);

  // The written bytes are the first m_size; the rest is room for the next ones, taken
  // off when the bytes are asked for.
  mutable std::vector<std::uint8_t> m_bytes;
  std::size_t m_size = 0;
  std::u16string m_units;  // work space of the text conversion
};
