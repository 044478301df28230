#include "platform/archive.h"

#include "support/case_table.h"
#include "support/golden_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::uint8_t kAfter = 0x5A;  // a byte after the text, read to check the position

std::vector<std::uint8_t> TextThenMarker(const std::string& text) {
  CArchiveWriter writer;
  writer.WriteString(text);
  writer.WriteByte(kAfter);
  return writer.TakeBytes();
}

// The ways a text is read: a new string from a whole buffer, into a string that held a
// longer text, and from a stream whose refill cuts it.
std::string ReadWhole(const std::vector<std::uint8_t>& bytes) {
  CArchiveReader reader(bytes);
  std::string text = reader.ReadString();
  EXPECT_EQ(reader.ReadByte(), kAfter);
  return text;
}

std::string ReadIntoUsedString(const std::vector<std::uint8_t>& bytes) {
  CArchiveReader reader(bytes);
  std::string text(400, '#');
  reader.ReadString(text);
  EXPECT_EQ(reader.ReadByte(), kAfter);
  return text;
}

// Read from a stream in which the text starts `before` bytes ahead of the end of the
// reader's first refill, so that its mark, its count or its units come in two refills.
std::string ReadAcrossARefill(const std::vector<std::uint8_t>& text, std::size_t before) {
  constexpr std::size_t kRefill = 64 * 1024;  // what a streamed reader buffers at once
  std::vector<std::uint8_t> bytes(kRefill - before, 0);
  bytes.insert(bytes.end(), text.begin(), text.end());
  std::size_t offset = 0;
  CArchiveReader reader(bytes.size(), [&bytes, &offset](std::uint8_t* buffer, std::size_t count) {
    const std::size_t given = std::min(count, bytes.size() - offset);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), given, buffer);
    offset += given;
    return given;
  });
  reader.Skip(kRefill - before);
  std::string read = reader.ReadString();
  EXPECT_EQ(reader.ReadByte(), kAfter);
  return read;
}

// Every way of reading the text agrees with `text`.
void ExpectEveryWay(const std::vector<std::uint8_t>& bytes, const std::string& text) {
  EXPECT_EQ(ReadWhole(bytes), text);
  EXPECT_EQ(ReadIntoUsedString(bytes), text);
  for (std::size_t before = 1; before <= 6; ++before)
    EXPECT_EQ(ReadAcrossARefill(bytes, before), text) << "split " << before << " bytes in";
}

// Each row names the fault it guards: a unit misjudged as ASCII, a count form misread.
TEST(ArchiveTextReadTest, TextsReadTheSameEveryWay) {
  const struct {
    const char* guards;
    std::string text;
  } rows[] = {
      {"empty text", ""},
      {"one unit", "A"},
      {"exactly four units: one look, no tail", "ABCD"},
      {"four units and a tail of one", "ABCDE"},
      {"the last ASCII unit", "\x7F"},
      {"U+0080: only the low byte's top bit is set", "\xC2\x80"},
      {"U+0141: a high byte with an ASCII low byte, first of four",
       "\xC5\x81"
       "BCD"},
      {"U+0141 in the tail after four units", "ABCD\xC5\x81"},
      {"non-ASCII in the middle of a look",
       "AB\xC3\xA9"
       "D"},
      {"non-ASCII last of a look", "ABC\xC3\xA9"},
      {"a surrogate pair", "x\xF0\x9F\x98\x80y"},
      {"CJK", "\xE6\xBC\xA2\xE5\xAD\x97"},
      {"the longest one-byte count", std::string(254, 'a')},
      {"the first word count", std::string(255, 'b')},
      {"a long text past the word mark", std::string(300, 'c') + "\xC3\xA9"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    ExpectEveryWay(TextThenMarker(row.text), row.text);
  }
}

// The reader's table of stored forms (narrow, wide, longer counts), every way.
TEST(ArchiveTextReadTest, EveryStoredFormReadsTheSameEveryWay) {
  for (const CCaseRow& row : ReadCaseTable("platform/archive_read_texts.tsv", 3)) {
    SCOPED_TRACE(row.where + " " + row[2]);
    std::vector<std::uint8_t> bytes = HexBytes(row[0]);
    bytes.push_back(kAfter);
    ExpectEveryWay(bytes, row[1]);
  }
}

// What reading a text from the whole of the bytes ends with, into a new string and into a
// used one.
std::string Outcomes(const std::vector<std::uint8_t>& bytes) {
  std::string outcomes;
  const auto record = [&outcomes](const auto& read) {
    try {
      read();
      outcomes += "read; ";
    } catch (const CArchiveError& error) {
      outcomes += std::string(error.what()) + "; ";
    }
  };
  record([&] { CArchiveReader(bytes).ReadString(); });
  record([&] {
    std::string text = "used";
    CArchiveReader(bytes).ReadString(text);
  });
  return outcomes;
}

// A damaged or cut text is refused as it was before the short form was taken at a look,
// each way of reading it: the reader's table of damaged texts and cuts of the look itself
// (the listing was made by the reader before).
TEST(ArchiveTextReadTest, DamagedTextsGiveTheMessagesTheyAlwaysGave) {
  std::string listing;
  for (const CCaseRow& row : ReadCaseTable("platform/archive_damaged_texts.tsv", 2))
    listing += row[0] + ": " + Outcomes(HexBytes(row[1])) + "\n";
  const struct {
    const char* guards;
    std::vector<std::uint8_t> bytes;
  } looks[] = {
      {"the mark's first byte alone", {0xFF}},
      {"a count of one with no unit", {0xFF, 0xFE, 0xFF, 0x01}},
      {"a word count cut", {0xFF, 0xFE, 0xFF, 0xFF, 0x00}},
      {"four units of a count of five", {0xFF, 0xFE, 0xFF, 0x05, 'A', 0, 'B', 0, 'C', 0, 'D', 0}},
  };
  for (const auto& look : looks)
    listing += std::string(look.guards) + ": " + Outcomes(look.bytes) + "\n";
  ExpectGolden("platform/archive_damaged_text_messages.txt", listing);
}

}  // namespace
