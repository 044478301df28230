#include "platform/archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Items of every kind, many times over: well past a streamed reader's buffer.
Bytes ManyItems(int count) {
  CArchiveWriter writer;
  for (int i = 0; i < count; ++i) {
    writer.WriteString(std::string(static_cast<std::size_t>(i % 300), 'a'));
    writer.WriteDword(static_cast<std::uint32_t>(i));
    const Bytes record(97, static_cast<std::uint8_t>(i));
    writer.WriteBytes(record.data(), record.size());
  }
  return writer.TakeBytes();
}

void ReadItems(CArchiveReader& reader, int count) {
  for (int i = 0; i < count; ++i) {
    (void)reader.ReadString();
    (void)reader.ReadDword();
    reader.Skip(97);
  }
}

CArchiveReader::CSource SourceOf(const Bytes& bytes) {
  return [&bytes, at = std::size_t{0}](std::uint8_t* buffer, std::size_t count) mutable {
    const std::size_t given = std::min(count, bytes.size() - at);
    std::memcpy(buffer, bytes.data() + at, given);
    at += given;
    return given;
  };
}

// The bytes passed between StartCopy and StopCopy are the stream's own, whether they
// stay within one buffer or run across several refills, and whatever reads them.
TEST(ArchiveCopyTest, TheCopyIsTheStretchPassedAcrossRefills) {
  const Bytes bytes = ManyItems(3000);
  struct Case {
    int before;  // items passed before the copy starts
    int copied;  // items passed while copying
  };
  for (const Case& c :
       {Case{0, 0}, Case{0, 1}, Case{5, 3}, Case{100, 900}, Case{400, 2600}, Case{2999, 1}}) {
    SCOPED_TRACE(std::to_string(c.before) + " then " + std::to_string(c.copied));
    for (const bool streamed : {true, false}) {
      CArchiveReader reader =
          streamed ? CArchiveReader(bytes.size(), SourceOf(bytes)) : CArchiveReader(bytes);
      ReadItems(reader, c.before);
      const std::size_t from = reader.Position();
      Bytes copy;
      reader.StartCopy(copy);
      ReadItems(reader, c.copied);
      reader.StopCopy();
      ASSERT_EQ(copy.size(), reader.Position() - from);
      EXPECT_TRUE(std::equal(copy.begin(), copy.end(), bytes.begin() + static_cast<long>(from)));
      // Reading goes on as before the copy.
      ReadItems(reader, 3000 - c.before - c.copied);
      EXPECT_TRUE(reader.AtEnd());
    }
  }
}

// SkipString passes exactly what ReadString reads, in every length form.
TEST(ArchiveCopyTest, SkipStringPassesWhatReadStringReads) {
  CArchiveWriter writer;
  const std::vector<std::size_t> lengths = {0, 1, 254, 255, 256, 65533, 65534, 65535, 70000};
  for (const std::size_t length : lengths) writer.WriteString(std::string(length, 'x'));
  // The 8-bit form, short and long.
  writer.WriteByte(3);
  writer.WriteBytes("abc", 3);
  writer.WriteByte(0xFF);
  writer.WriteWord(300);
  const Bytes narrow(300, 'n');
  writer.WriteBytes(narrow.data(), narrow.size());
  writer.WriteString("Überlänge é");
  const Bytes bytes = writer.TakeBytes();
  CArchiveReader read(bytes.size(), SourceOf(bytes));
  CArchiveReader skipped(bytes.size(), SourceOf(bytes));
  for (std::size_t i = 0; i < lengths.size() + 3; ++i) {
    (void)read.ReadString();
    skipped.SkipString();
    EXPECT_EQ(skipped.Position(), read.Position()) << "text " << i;
  }
  EXPECT_TRUE(skipped.AtEnd());
  // A text longer than what remains fails as the reading does.
  const Bytes cut(bytes.begin(), bytes.begin() + 300);
  CArchiveReader short1(cut);
  EXPECT_THROW(
      {
        for (int i = 0; i < 4; ++i) short1.SkipString();
      },
      CArchiveError);
}

// A reader over a stretch of a larger stream counts positions, and places its errors, as
// the larger stream does.
TEST(ArchiveCopyTest, AStretchReaderCountsFromItsPlaceInTheStream) {
  const Bytes bytes = ManyItems(10);
  CArchiveReader stretch(bytes.size(), SourceOf(bytes), 1000);
  EXPECT_EQ(stretch.Position(), 1000u);
  ReadItems(stretch, 10);
  EXPECT_EQ(stretch.Position(), 1000u + bytes.size());
  EXPECT_TRUE(stretch.AtEnd());
  try {
    (void)stretch.ReadDword();
    FAIL() << "read past the end";
  } catch (const CArchiveError& error) {
    EXPECT_EQ(error.Offset(), 1000u + bytes.size());
  }
}

}  // namespace
