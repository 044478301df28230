#include "platform/archive.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// The stream as a plain byte list, one value after the other: what the writer must give
// however its room grows, whatever is reserved and whenever its bytes are looked at.
class CPlainStream {
 public:
  void Put(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  // Texts of ASCII only here: one UTF-16 unit per character.
  void PutText(const std::string& text) {
    Put(0xFF, 1);
    Put(0xFFFE, 2);
    if (text.size() < 0xFF) {
      Put(text.size(), 1);
    } else if (text.size() < 0xFFFE) {
      Put(0xFF, 1);
      Put(text.size(), 2);
    } else {
      Put(0xFF, 1);
      Put(0xFFFF, 2);
      Put(text.size(), 4);
    }
    for (const char c : text) Put(static_cast<std::uint8_t>(c), 2);
  }
  std::vector<std::uint8_t> bytes;
};

struct RoomCase {
  const char* name;
  unsigned seed;
  int operations;
  std::size_t reserve;    // at the start; 0: none
  bool lookBetween;       // Bytes() and Size() asked for now and then
  std::size_t given = 0;  // the size of an older stream whose buffer the writer takes
};

void WriteRandom(std::mt19937& random, CArchiveWriter& writer, CPlainStream& plain) {
  const auto value = (static_cast<std::uint64_t>(random()) << 32) | random();
  switch (random() % 9) {
    case 0:
      writer.WriteByte(static_cast<std::uint8_t>(value));
      plain.Put(value, 1);
      break;
    case 1:
      writer.WriteWord(static_cast<std::uint16_t>(value));
      plain.Put(value, 2);
      break;
    case 2:
      writer.WriteDword(static_cast<std::uint32_t>(value));
      plain.Put(value, 4);
      break;
    case 3:
      writer.WriteLong(static_cast<std::int32_t>(value));
      plain.Put(value, 4);
      break;
    case 4:
      writer.WriteFloat(std::bit_cast<float>(static_cast<std::uint32_t>(value)));
      plain.Put(value & 0xFFFFFFFF, 4);
      break;
    case 5:
      writer.WriteDouble(std::bit_cast<double>(value));
      plain.Put(value, 8);
      break;
    case 6: {
      // Lengths about each form of the count: short, one byte, a word and a dword.
      static constexpr std::size_t kLengths[] = {0, 1, 254, 255, 256, 65533, 65534, 70000};
      const std::string text(kLengths[random() % 8], static_cast<char>('a' + random() % 26));
      writer.WriteString(text);
      plain.PutText(text);
      break;
    }
    case 7: {
      // Another writer's stream, grown in its own room (or empty), appended whole.
      CArchiveWriter other;
      CPlainStream otherPlain;
      const int count = static_cast<int>(random() % 4);
      for (int i = 0; i < count; ++i) WriteRandom(random, other, otherPlain);
      writer.Append(other);
      plain.bytes.insert(plain.bytes.end(), otherPlain.bytes.begin(), otherPlain.bytes.end());
      break;
    }
    default: {
      std::vector<std::uint8_t> block(random() % 600);
      for (auto& byte : block) byte = static_cast<std::uint8_t>(random());
      writer.WriteBytes(block.data(), block.size());
      plain.bytes.insert(plain.bytes.end(), block.begin(), block.end());
    }
  }
}

TEST(ArchiveWriterRoom, RandomStreamsAreTheValuesOneAfterTheOther) {
  const RoomCase cases[] = {
      {"no reserve", 1, 400, 0, false},
      {"no reserve, looked at", 2, 400, 0, true},
      {"a small reserve", 3, 400, 7, true},
      {"a large reserve", 4, 400, 1 << 22, false},
      {"a large reserve, looked at", 5, 400, 1 << 22, true},
      {"a single value", 6, 1, 0, true},
      {"nothing written", 7, 0, 100, true},
      {"an older stream's buffer, longer than the new one", 8, 40, 0, true, 1 << 16},
      {"an older stream's buffer, shorter than the new one", 9, 400, 0, true, 300},
      {"an older stream's buffer and a reserve beyond it", 10, 400, 1 << 20, false, 5000},
      {"an older stream's buffer, nothing written", 11, 0, 0, true, 64},
  };
  for (const RoomCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 random(c.seed);
    CArchiveWriter writer =
        c.given != 0 ? CArchiveWriter(std::vector<std::uint8_t>(c.given, 0xAB)) : CArchiveWriter();
    CPlainStream plain;
    if (c.reserve != 0) writer.Reserve(c.reserve);
    for (int i = 0; i < c.operations; ++i) {
      WriteRandom(random, writer, plain);
      if (c.lookBetween && random() % 5 == 0) {
        ASSERT_EQ(writer.Bytes(), plain.bytes);
        // A reserve in the middle keeps what was written.
        if (random() % 3 == 0) writer.Reserve(writer.Size() + random() % 5000);
      }
      ASSERT_EQ(writer.Size(), plain.bytes.size());
    }
    EXPECT_EQ(writer.Bytes(), plain.bytes);
    EXPECT_EQ(writer.TakeBytes(), plain.bytes);
    // Taken, the writer starts a new stream.
    EXPECT_EQ(writer.Size(), 0u);
    writer.WriteWord(0x1234);
    EXPECT_EQ(writer.Bytes(), (std::vector<std::uint8_t>{0x34, 0x12}));
  }
}

TEST(ArchiveWriterRoom, AStreamWrittenIntoAGivenBufferKeepsItsMemory) {
  const struct {
    const char* guards;
    std::size_t given;
    std::size_t written;
    bool sameMemory;
  } rows[] = {
      {"a buffer with room for the stream is written in place", 1 << 20, 1000, true},
      {"a buffer exactly the stream's size is written in place", 4096, 4096, true},
      {"a buffer too small for the stream is let go for a larger one", 16, 1 << 20, false},
  };
  for (const auto& row : rows) {
    std::vector<std::uint8_t> buffer(row.given, 0xAB);
    const std::uint8_t* memory = buffer.data();
    CArchiveWriter writer(std::move(buffer));
    const std::vector<std::uint8_t> block(row.written, 0x5C);
    writer.WriteBytes(block.data(), block.size());
    const std::vector<std::uint8_t> bytes = writer.TakeBytes();
    EXPECT_EQ(bytes, block) << row.guards;
    EXPECT_EQ(bytes.data() == memory, row.sameMemory) << row.guards;
  }
}

}  // namespace
