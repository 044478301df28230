#include "geometry/3d_point.h"
#include "platform/archive.h"
#include "model/obj_with_prop.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A record as the readers meet it in a document: a property list, a point, a text.
Bytes ValidRecord(std::mt19937& random) {
  CObjWithProp obj;
  const int count = static_cast<int>(random() % 6);
  for (int i = 0; i < count; ++i) {
    std::string value(random() % 300, static_cast<char>('a' + random() % 26));
    obj.SetPropValue(i == 0 ? "HBv2_Std_Cost" : "P" + std::to_string(i), value + "\xC3\xA9");
  }
  CArchiveWriter writer;
  obj.Serialize(writer);
  C3DPoint(random() % 5000, -1.0 * (random() % 5000), 12.5).Serialize(writer);
  writer.WriteString("tail \xF0\x9F\x98\x80");
  return writer.TakeBytes();
}

void Mutate(Bytes& bytes, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int i = 0; i < edits && !bytes.empty(); ++i) {
    const std::size_t at = random() % bytes.size();
    switch (random() % 5) {
      case 0: bytes[at] = static_cast<std::uint8_t>(random()); break;
      case 1: bytes[at] = 0xFF; break;  // length escapes are where readers go wrong
      case 2: bytes.resize(at); break;
      case 3: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(random())); break;
      default: bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at)); break;
    }
  }
}

// Reads the record back; only a clean read or CArchiveError is allowed. Tells whether
// the property list, the first item, was refused.
bool ReadRecord(const Bytes& bytes) {
  CArchiveReader reader(bytes);
  bool listRead = false;
  try {
    CObjWithProp obj;
    obj.Serialize(reader);
    listRead = true;
    C3DPoint point;
    point.Serialize(reader);
    reader.ReadString();
    while (!reader.AtEnd()) reader.ReadString();
  } catch (const CArchiveError&) {
    // expected for damaged records
  }
  return !listRead;
}

TEST(ArchiveFuzzTest, MutatedRecordsReadOrFailCleanly) {
  std::mt19937 random(1);
  int failures = 0;
  for (int round = 0; round < 20000; ++round) {
    Bytes bytes = ValidRecord(random);
    Mutate(bytes, random);
    if (ReadRecord(bytes)) ++failures;
  }
  EXPECT_GT(failures, 1000);  // the mutations do reach the checks
}

TEST(ArchiveFuzzTest, RandomBytesReadOrFailCleanly) {
  std::mt19937 random(2);
  for (int round = 0; round < 20000; ++round) {
    Bytes bytes(random() % 64);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random() % 4 == 0 ? 0xFF : random());
    ReadRecord(bytes);
  }
}

TEST(ArchiveFuzzTest, ValidRecordsRoundTrip) {
  std::mt19937 random(3);
  for (int round = 0; round < 200; ++round) {
    const Bytes bytes = ValidRecord(random);
    CArchiveReader reader(bytes);
    CObjWithProp obj;
    obj.Serialize(reader);
    C3DPoint point;
    point.Serialize(reader);
    EXPECT_EQ(reader.ReadString(), "tail \xF0\x9F\x98\x80");
    EXPECT_TRUE(reader.AtEnd());
    CArchiveWriter writer;
    obj.Serialize(writer);
    point.Serialize(writer);
    writer.WriteString("tail \xF0\x9F\x98\x80");
    EXPECT_EQ(writer.Bytes(), bytes);
  }
}

}  // namespace
