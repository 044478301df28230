#include "platform/archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A stream well past the reader's buffer: texts of every length form, numbers on either
// side of each refill, a fixed-size record and skipped runs of bytes.
Bytes LongStream() {
  CArchiveWriter writer;
  for (int i = 0; i < 3000; ++i) {
    writer.WriteString(
        std::string(static_cast<std::size_t>(i % 300), static_cast<char>('a' + i % 26)));
    writer.WriteDword(static_cast<std::uint32_t>(i * 7919));
    writer.WriteDouble(i / 3.0);
    const std::vector<std::uint8_t> record(97, static_cast<std::uint8_t>(i));
    writer.WriteBytes(record.data(), record.size());
    writer.WriteWord(static_cast<std::uint16_t>(i));
  }
  writer.WriteString(std::string(70000, 'z'));  // longer than one buffer
  return writer.TakeBytes();
}

// Everything the stream holds, read back as text, with the offset of every item.
std::string ReadAll(CArchiveReader& reader) {
  std::string out;
  for (int i = 0; i < 3000; ++i) {
    out += reader.ReadString() + "|";
    out += std::to_string(reader.ReadDword()) + "|";
    out += std::to_string(reader.ReadDouble()) + "|";
    const std::uint8_t* record = reader.Take(50);
    out += std::to_string(record[0] + record[49]) + "|";
    reader.Skip(47);
    out += std::to_string(reader.ReadWord()) + "@" + std::to_string(reader.Position()) + "\n";
  }
  out += std::to_string(reader.ReadString().size());
  return out;
}

// A source over the bytes that gives out after `limit` of them.
CArchiveReader::CSource SourceOf(const Bytes& bytes, std::size_t limit) {
  return [&bytes, limit, at = std::size_t{0}](std::uint8_t* buffer, std::size_t count) mutable {
    const std::size_t given = std::min(count, std::min(limit, bytes.size()) - at);
    std::memcpy(buffer, bytes.data() + at, given);
    at += given;
    return given;
  };
}

TEST(ArchiveStreamTest, StreamedReaderReadsWhatTheWholeBufferReads) {
  const Bytes bytes = LongStream();
  CArchiveReader whole(bytes);
  const std::string expected = ReadAll(whole);
  ASSERT_TRUE(whole.AtEnd()) << whole.Remaining();
  CArchiveReader streamed(bytes.size(), SourceOf(bytes, bytes.size()));
  EXPECT_EQ(ReadAll(streamed), expected);
  EXPECT_TRUE(streamed.AtEnd());
}

TEST(ArchiveStreamTest, ASourceThatGivesOutEarlyIsACutStream) {
  const Bytes bytes = LongStream();
  struct Case {
    std::size_t limit;
  };
  for (const Case& c : {Case{0}, Case{1}, Case{65535}, Case{65536 + 3}, Case{bytes.size() - 1}}) {
    SCOPED_TRACE(c.limit);
    CArchiveReader reader(bytes.size(), SourceOf(bytes, c.limit));
    try {
      ReadAll(reader);
      FAIL() << "no error";
    } catch (const CArchiveError& error) {
      // Damage is reported where the bytes ran out, never past them.
      EXPECT_LE(error.Offset(), c.limit);
      EXPECT_LE(reader.Position(), c.limit);
    }
  }
}

TEST(ArchiveStreamTest, CountsAreCheckedAgainstTheWholeStream) {
  const Bytes bytes(200000, 0);
  CArchiveReader reader(bytes.size(), SourceOf(bytes, bytes.size()));
  EXPECT_NO_THROW(reader.RequireCount(50000, 4, "items"));
  EXPECT_THROW(reader.RequireCount(50001, 4, "items"), CArchiveError);
  reader.Skip(150000);
  EXPECT_EQ(reader.Remaining(), 50000u);
  EXPECT_THROW(reader.Skip(50001), CArchiveError);
  EXPECT_EQ(reader.Position(), 150000u);
}

// A refill after a record longer than the buffer keeps the grown room and moves the
// unread bytes to its front: the numbers that follow, on either side of the next refill,
// read as from the whole buffer.
TEST(ArchiveStreamTest, ReadsAfterARecordLongerThanTheBufferAsFromTheWholeBuffer) {
  struct Case {
    std::size_t record;
  };
  for (const Case& c : {Case{65535}, Case{65536}, Case{65537}, Case{200001}}) {
    SCOPED_TRACE(c.record);
    CArchiveWriter writer;
    writer.WriteWord(7);
    const Bytes record(c.record, 0x5A);
    writer.WriteBytes(record.data(), record.size());
    for (int i = 0; i < 40000; ++i) {
      writer.WriteDword(static_cast<std::uint32_t>(i) * 2654435761u);
      writer.WriteByte(static_cast<std::uint8_t>(i));
    }
    const Bytes bytes = writer.TakeBytes();
    CArchiveReader streamed(bytes.size(), SourceOf(bytes, bytes.size()));
    CArchiveReader whole(bytes);
    EXPECT_EQ(streamed.ReadWord(), whole.ReadWord());
    const std::uint8_t* taken = streamed.Take(c.record);
    EXPECT_EQ(Bytes(taken, taken + c.record), record);
    whole.Skip(c.record);
    for (int i = 0; i < 40000; ++i) {
      ASSERT_EQ(streamed.ReadDword(), whole.ReadDword()) << i;
      ASSERT_EQ(streamed.ReadByte(), whole.ReadByte()) << i;
    }
    EXPECT_TRUE(streamed.AtEnd());
  }
}

}  // namespace
