#include "platform/archive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/case_table.h"
#include "support/golden_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Written(const std::string& text) {
  CArchiveWriter writer;
  writer.WriteString(text);
  return writer.Bytes();
}

std::string ReadOne(const Bytes& bytes) {
  CArchiveReader reader(bytes);
  std::string text = reader.ReadString();
  EXPECT_TRUE(reader.AtEnd());
  return text;
}

TEST(ArchiveWriterTest, PinsTheBytesOfShortTexts) {
  struct Case {
    std::string text;
    Bytes bytes;
  };
  const std::vector<Case> cases = {
      {"", {0xFF, 0xFE, 0xFF, 0x00}},
      {"A", {0xFF, 0xFE, 0xFF, 0x01, 0x41, 0x00}},
      {"\xC3\xA9", {0xFF, 0xFE, 0xFF, 0x01, 0xE9, 0x00}},                      // e acute
      {"\xE2\x82\xAC", {0xFF, 0xFE, 0xFF, 0x01, 0xAC, 0x20}},                  // euro sign
      {"\xF0\x9F\x98\x80", {0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}},  // surrogate pair
      {"\xFF", {0xFF, 0xFE, 0xFF, 0x01, 0xFD, 0xFF}},  // invalid UTF-8 becomes U+FFFD
  };
  for (const auto& c : cases) EXPECT_EQ(Written(c.text), c.bytes) << c.text;
}

TEST(ArchiveWriterTest, LengthPrefixChangesFormAtTheLimits) {
  struct Case {
    std::size_t count;
    Bytes prefix;
  };
  const std::vector<Case> cases = {
      {254, {0xFF, 0xFE, 0xFF, 0xFE}},
      {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
      {65533, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
      {65534, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const auto& c : cases) {
    const std::string text(c.count, 'x');
    const Bytes bytes = Written(text);
    ASSERT_EQ(bytes.size(), c.prefix.size() + 2 * c.count) << c.count;
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + c.prefix.size()), c.prefix) << c.count;
    EXPECT_EQ(ReadOne(bytes), text) << c.count;
  }
}

TEST(ArchiveWriterTest, NumbersAreLittleEndian) {
  CArchiveWriter writer;
  writer.WriteByte(0x12);
  writer.WriteWord(600);
  writer.WriteDword(623);
  writer.WriteLong(-2);
  writer.WriteFloat(1.0f);
  writer.WriteDouble(-2.5);
  const Bytes expected = {0x12, 0x58, 0x02, 0x6F, 0x02, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0x00,
                          0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0};
  EXPECT_EQ(writer.Bytes(), expected);

  CArchiveReader reader(writer.Bytes());
  EXPECT_EQ(reader.ReadByte(), 0x12);
  EXPECT_EQ(reader.ReadWord(), 600);
  EXPECT_EQ(reader.ReadDword(), 623u);
  EXPECT_EQ(reader.ReadLong(), -2);
  EXPECT_EQ(reader.ReadFloat(), 1.0f);
  EXPECT_EQ(reader.ReadDouble(), -2.5);
  EXPECT_TRUE(reader.AtEnd());
}

// Each width from the stored bytes, the top byte set so that a byte taken from the wrong
// end or sign-extended shows.
TEST(ArchiveReaderTest, DecodesEachWidthLowByteFirst) {
  const std::uint8_t bytes[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  EXPECT_EQ(DecodeLittleEndian<1>(bytes), 0x01u);
  EXPECT_EQ(DecodeLittleEndian<2>(bytes + 6), 0xEFCDu);
  EXPECT_EQ(DecodeLittleEndian<3>(bytes + 5), 0xEFCDABu);
  EXPECT_EQ(DecodeLittleEndian<4>(bytes + 4), 0xEFCDAB89u);
  EXPECT_EQ(DecodeLittleEndian<8>(bytes), 0xEFCDAB8967452301u);
  CArchiveReader reader(Bytes(bytes, bytes + 8));
  EXPECT_EQ(reader.ReadLong(), 0x67452301);
  EXPECT_EQ(reader.ReadLong(), static_cast<std::int32_t>(0xEFCDAB89u));
}

TEST(ArchiveReaderTest, ReadsTheNarrowFormAsCp1252AndLongerWidePrefixes) {
  for (const CCaseRow& row : ReadCaseTable("platform/archive_read_texts.tsv", 3)) {
    SCOPED_TRACE(row.where + " " + row[2]);
    EXPECT_EQ(ReadOne(HexBytes(row[0])), row[1]);
  }
}

TEST(ArchiveReaderTest, DamagedStreamsThrow) {
  for (const CCaseRow& row : ReadCaseTable("platform/archive_damaged_texts.tsv", 2)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    CArchiveReader reader(HexBytes(row[1]));
    EXPECT_THROW(reader.ReadString(), CArchiveError);
  }
}

TEST(ArchiveReaderTest, ReadingPastTheEndThrowsAndKeepsPosition) {
  CArchiveReader reader(Bytes{1, 2, 3});
  EXPECT_THROW(reader.ReadDword(), CArchiveError);
  EXPECT_EQ(reader.Position(), 0u);
  EXPECT_EQ(reader.ReadWord(), 0x0201);
  EXPECT_THROW(reader.ReadWord(), CArchiveError);
  EXPECT_THROW(reader.ReadDouble(), CArchiveError);
  EXPECT_THROW(reader.Skip(2), CArchiveError);
  EXPECT_EQ(reader.ReadByte(), 3);
  EXPECT_THROW(reader.ReadByte(), CArchiveError);
}

TEST(ArchiveReaderTest, RequireCountRefusesCountsTheStreamCannotHold) {
  CArchiveReader reader(Bytes(10, 0));
  EXPECT_NO_THROW(reader.RequireCount(5, 2, "pairs"));
  EXPECT_THROW(reader.RequireCount(6, 2, "pairs"), CArchiveError);
  EXPECT_THROW(reader.RequireCount(std::numeric_limits<std::uint64_t>::max(), 4, "items"),
               CArchiveError);
  EXPECT_NO_THROW(reader.RequireCount(1000000, 0, "empty items"));
}

TEST(ArchiveReaderTest, ErrorNamesTheOffset) {
  CArchiveReader reader(Bytes{0xFF, 0xFE, 0xFF, 0x03, 0x41, 0x00});
  try {
    reader.ReadString();
    FAIL() << "no error";
  } catch (const CArchiveError& error) {
    EXPECT_EQ(error.Offset(), 4u);
    EXPECT_NE(std::string(error.what()).find("byte 4"), std::string::npos);
  }
}

TEST(ArchiveTest, FloatsAndDoublesRoundTripSpecialValues) {
  const std::vector<double> values = {0.0, -0.0, 1e308, -1e-308,
                                      std::numeric_limits<double>::infinity()};
  CArchiveWriter writer;
  for (double v : values) {
    writer.WriteDouble(v);
    writer.WriteFloat(static_cast<float>(v));
  }
  writer.WriteDouble(std::nan(""));
  CArchiveReader reader(writer.Bytes());
  for (double v : values) {
    EXPECT_EQ(reader.ReadDouble(), v);
    EXPECT_EQ(reader.ReadFloat(), static_cast<float>(v));
  }
  EXPECT_TRUE(std::isnan(reader.ReadDouble()));
}

}  // namespace
