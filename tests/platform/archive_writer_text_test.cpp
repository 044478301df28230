#include "platform/archive.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The stored form of a text as its layout reads: the wide mark, the count in its form,
// then each UTF-16 unit low byte first.
Bytes StoredForm(const std::u16string& units) {
  Bytes bytes = {0xFF, 0xFE, 0xFF};
  auto put = [&bytes](std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  const std::size_t count = units.size();
  if (count < 0xFF) {
    put(count, 1);
  } else if (count < 0xFFFE) {
    put(0xFF, 1);
    put(count, 2);
  } else {
    put(0xFF, 1);
    put(0xFFFF, 2);
    put(count, 4);
  }
  for (const char16_t unit : units) put(unit, 2);
  return bytes;
}

// ASCII texts are widened straight into the stream, others converted whole: both must
// give the text's UTF-16 units, and a text is ASCII only when every byte is.
TEST(ArchiveWriterText, EveryTextIsItsUtf16UnitsAfterTheCount) {
  const std::string longAscii(70000, 'q');
  const struct {
    const char* guards;
    std::string text;
  } rows[] = {
      {"the empty text", ""},
      {"plain ASCII", "S-17 TEE"},
      {"a zero byte is a character like any", std::string("a\0b", 3)},
      {"the last ASCII byte", "\x7F"},
      {"a lone continuation byte is not ASCII", "\x80"},
      {"one other character at the end", "straight \xC3\xA9"},
      {"one other character at the start", "\xC3\xA9tage"},
      {"a surrogate pair", "x\xF0\x9F\x98\x80y"},
      {"damaged UTF-8 becomes U+FFFD",
       "ab\xFF\xFE"
       "cd"},
      {"a cut sequence at the end", "abc\xE2\x82"},
      {"254 ASCII characters: the count in one byte", std::string(254, 'a')},
      {"255 ASCII characters: the count in a word", std::string(255, 'b')},
      {"65534 ASCII characters: the count in a dword", std::string(65534, 'c')},
      {"long ASCII", longAscii},
      {"long, one other character last", longAscii + "\xC3\xBC"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    const Bytes expected = StoredForm(tvr::platform::Utf8ToUtf16(row.text));
    CArchiveWriter alone;
    alone.WriteString(row.text);
    EXPECT_EQ(alone.Bytes(), expected);
    // After a byte, so that the text starts at an odd offset of the stream, and twice,
    // so that the work space of one text cannot show in the next.
    CArchiveWriter after;
    after.WriteByte(0x5A);
    after.WriteString(row.text);
    after.WriteString(row.text);
    Bytes twice = {0x5A};
    twice.insert(twice.end(), expected.begin(), expected.end());
    twice.insert(twice.end(), expected.begin(), expected.end());
    EXPECT_EQ(after.Bytes(), twice);
  }
}

// Each width, with its top byte set so that a byte taken from the wrong end shows, and
// with bits above the width that must not be written.
TEST(ArchiveWriterText, EncodesEachWidthLowByteFirst) {
  constexpr std::uint64_t kValue = 0xEFCDAB8967452301u;
  const Bytes all = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  auto encoded = [](auto encode, std::size_t width) {
    Bytes bytes(9, 0xAA);
    encode(bytes.data());
    // The byte after the width stays as it was.
    EXPECT_EQ(bytes[width], 0xAA) << width;
    bytes.resize(width);
    return bytes;
  };
  EXPECT_EQ(encoded([](std::uint8_t* at) { EncodeLittleEndian<1>(kValue, at); }, 1),
            Bytes(all.begin(), all.begin() + 1));
  EXPECT_EQ(encoded([](std::uint8_t* at) { EncodeLittleEndian<2>(kValue, at); }, 2),
            Bytes(all.begin(), all.begin() + 2));
  EXPECT_EQ(encoded([](std::uint8_t* at) { EncodeLittleEndian<3>(kValue, at); }, 3),
            Bytes(all.begin(), all.begin() + 3));
  EXPECT_EQ(encoded([](std::uint8_t* at) { EncodeLittleEndian<4>(kValue, at); }, 4),
            Bytes(all.begin(), all.begin() + 4));
  EXPECT_EQ(encoded([](std::uint8_t* at) { EncodeLittleEndian<8>(kValue, at); }, 8), all);
  // What the reader decodes of them.
  std::uint8_t bytes[8] = {};
  EncodeLittleEndian<4>(0x80000001u, bytes);
  EXPECT_EQ(DecodeLittleEndian<4>(bytes), 0x80000001u);
  EncodeLittleEndian<8>(kValue, bytes);
  EXPECT_EQ(DecodeLittleEndian<8>(bytes), kValue);
}

}  // namespace
