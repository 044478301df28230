#include "platform/dbf_tag.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>
#include <span>
#include <utility>

namespace tvr::platform {
namespace {

constexpr std::size_t kSampleStep = 16;

// The first 8 bytes, big-endian, zeros past the end: ordering prefixes never contradicts
// ordering the texts byte by byte, and differing prefixes decide it.
std::uint64_t PrefixOf(std::string_view key) {
  if (key.size() >= 8) {
    std::uint64_t bytes;
    std::memcpy(&bytes, key.data(), 8);
    return std::endian::native == std::endian::little ? __builtin_bswap64(bytes) : bytes;
  }
  std::uint64_t prefix = 0;
  const std::size_t length = std::min<std::size_t>(key.size(), 8);
  for (std::size_t i = 0; i < 8; ++i) {
    prefix = (prefix << 8) | (i < length ? static_cast<unsigned char>(key[i]) : 0u);
  }
  return prefix;
}

void Prefetch(const void* data, std::size_t size) {
  constexpr std::uintptr_t kLine = 64;
  const auto begin = reinterpret_cast<std::uintptr_t>(data) & ~(kLine - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(data) + size;
  for (std::uintptr_t line = begin; line < end; line += kLine)
    __builtin_prefetch(reinterpret_cast<const void*>(line));
}

// Keys squeezed into as few bits as keep their order: each byte of the key becomes its
// distance from the lowest value that byte takes in any key, in as many bits as the
// highest needs. Keys of a table draw each byte from a small range (digits, capitals,
// blanks) and many bytes are the same in every key, so a whole key and its record number
// often fit one 64-bit word, which sorts in two or three passes; otherwise the leading
// bytes that fit are packed and keys equal in them are ordered afterwards.
class KeyPacker {
 public:
  // Keys are read 16 bytes at a time: up to 15 bytes past the end of each must be readable.
  static constexpr std::size_t kSlack = 16;
  using Chunk = unsigned char __attribute__((vector_size(kSlack)));

  explicit KeyPacker(std::size_t keyLength)
      : m_length(keyLength), m_chunks((keyLength + kSlack - 1) / kSlack) {
    Chunk none;
    for (std::size_t i = 0; i < kSlack; ++i) none[i] = 0xFF;
    m_low.assign(m_chunks, none);
    m_high.assign(m_chunks, Chunk{});
  }

  void Note(const unsigned char* key) {
    for (std::size_t chunk = 0; chunk < m_chunks; ++chunk) {
      Chunk bytes;
      std::memcpy(&bytes, key + chunk * kSlack, sizeof bytes);
      m_low[chunk] = bytes < m_low[chunk] ? bytes : m_low[chunk];
      m_high[chunk] = bytes > m_high[chunk] ? bytes : m_high[chunk];
    }
  }
  // Chooses the bytes to pack, leaving `reserved` bits of the word free; the number of
  // bits the packed keys take.
  int Settle(int reserved) {
    int bits = 0;
    m_whole = true;
    for (std::size_t i = 0; i < m_length; ++i) {
      const unsigned char low = m_low[i / kSlack][i % kSlack];
      const unsigned char high = m_high[i / kSlack][i % kSlack];
      const int width = high > low ? std::bit_width(unsigned(high - low)) : 0;
      if (width == 0) continue;
      if (bits + width + reserved > 64) {
        m_whole = false;
        break;
      }
      m_bytes.push_back({i, low, width});
      bits += width;
    }
    return bits;
  }
  // Whether the packed bits order the keys completely.
  bool Whole() const { return m_whole; }
  std::uint64_t Pack(const unsigned char* key) const {
    std::uint64_t packed = 0;
    for (const Byte& byte : m_bytes)
      packed = (packed << byte.width) | static_cast<unsigned>(key[byte.index] - byte.low);
    return packed;
  }

 private:
  struct Byte {
    std::size_t index;
    unsigned char low;
    int width;
  };
  std::size_t m_length;
  std::size_t m_chunks;
  std::vector<Chunk> m_low;  // the lowest and highest value of each byte
  std::vector<Chunk> m_high;
  std::vector<Byte> m_bytes;
  bool m_whole = true;
};

// A stable sort of words on their bits from lowBit up (bits of them), by digits of at
// most 11 bits whose counts are all taken in one reading.
using Words = std::vector<std::uint64_t, CBulkAllocator<std::uint64_t>>;

void RadixSortBits(Words& words, Words& scratch, int lowBit, int bits) {
  if (bits <= 0) return;
  const int passes = (bits + 10) / 11;
  const int width = (bits + passes - 1) / passes;
  const std::size_t buckets = std::size_t{1} << width;
  const std::uint64_t mask = buckets - 1;
  std::vector<std::size_t> counts(buckets * static_cast<std::size_t>(passes));
  for (const std::uint64_t word : words) {
    for (int pass = 0; pass < passes; ++pass)
      ++counts[static_cast<std::size_t>(pass) * buckets +
               ((word >> (lowBit + pass * width)) & mask)];
  }
  scratch.resize(words.size());
  for (int pass = 0; pass < passes; ++pass) {
    std::size_t* count = counts.data() + static_cast<std::size_t>(pass) * buckets;
    std::size_t start = 0;
    for (std::size_t bucket = 0; bucket < buckets; ++bucket)
      start += std::exchange(count[bucket], start);
    const int shift = lowBit + pass * width;
    for (const std::uint64_t word : words) scratch[count[(word >> shift) & mask]++] = word;
    words.swap(scratch);
  }
}

// Copies a key whose length is known only at run time, without a call for short ones.
inline void CopyKey(char* to, const char* from, std::size_t length) {
  if (length >= 8 && length <= 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + length - 8, from + length - 8, 8);
  } else if (length > 16 && length <= 32) {
    std::memcpy(to, from, 16);
    std::memcpy(to + length - 16, from + length - 16, 16);
  } else {
    std::memcpy(to, from, length);
  }
}

}  // namespace

CDbfTag::CDbfTag(std::string name, std::vector<Part> parts)
    : m_name(std::move(name)), m_parts(std::move(parts)) {
  for (const Part& part : m_parts) m_keyLength += part.length;
  m_entryLength = m_keyLength + sizeof(std::uint32_t);
}

bool CDbfTag::UsesBytes(std::uint32_t offset, std::uint32_t length) const {
  for (const Part& part : m_parts) {
    if (offset < part.offset + part.length && part.offset < offset + length) return true;
  }
  return false;
}

void CDbfTag::Build(std::string_view records, std::uint32_t recordLength, std::uint32_t count,
                    const RecordReader& reader) {
  m_count = m_keyLength == 0 ? 0 : count;
  // The keys side by side first: the records are read once, in file order, and the
  // keys are then reached in key order within a block many times smaller.
  Bytes keys(m_count * m_keyLength + KeyPacker::kSlack);
  KeyPacker packer(m_keyLength);
  const auto chunk = static_cast<std::uint32_t>(std::max<std::size_t>(
      1, (std::size_t{128} << 10) / std::max<std::uint32_t>(recordLength, 1)));
  std::string buffer;
  char* key = keys.data();
  for (std::uint32_t first = 0; first < m_count; first += chunk) {
    const std::uint32_t length = std::min(chunk, static_cast<std::uint32_t>(m_count) - first);
    const std::string_view some = reader ? reader(first, length, buffer)
                                         : records.substr(std::size_t{first} * recordLength,
                                                          std::size_t{length} * recordLength);
    for (std::uint32_t i = 0; i < length; ++i) {
      const char* record = some.data() + std::size_t{i} * recordLength;
      for (const Part& part : m_parts) {
        CopyKey(key, record + part.offset, part.length);
        key += part.length;
      }
      packer.Note(reinterpret_cast<const unsigned char*>(key - m_keyLength));
    }
  }
  const int recnoBits = std::bit_width(m_count);
  const std::uint64_t recnoMask = (std::uint64_t{1} << recnoBits) - 1;
  const int packedBits = packer.Settle(recnoBits);
  Words order(m_count);
  for (std::size_t i = 0; i < m_count; ++i) {
    const auto* key = reinterpret_cast<const unsigned char*>(keys.data() + i * m_keyLength);
    order[i] = (packer.Pack(key) << recnoBits) | (i + 1);
  }
  Words spare;
  RadixSortBits(order, spare, recnoBits, packedBits);
  spare.resize(m_count);
  m_levels.clear();
  m_levels.push_back(std::move(spare));
  PlaceEntries(keys.data(), order, recnoMask);
  if (!packer.Whole()) OrderTies(order, recnoBits);
  while (m_levels.back().size() > kSampleStep) {
    Words samples;
    const Words& below = m_levels.back();
    samples.reserve(below.size() / kSampleStep + 1);
    for (std::size_t i = 0; i < below.size(); i += kSampleStep) samples.push_back(below[i]);
    m_levels.push_back(std::move(samples));
  }
  m_built = true;
}

void CDbfTag::PlaceEntries(const char* keys, const Words& order, std::uint64_t recnoMask) {
  auto keyOf = [&](std::size_t position) {
    return keys + ((order[position] & recnoMask) - 1) * m_keyLength;
  };
  Words& prefixes = m_levels[0];
  m_entries.resize(m_count * m_entryLength);
  m_positions.resize(m_count + 1);
  constexpr std::size_t kAhead = 16;  // keys on their way to the cache
  for (std::size_t position = 0; position < m_count; ++position) {
    if (position + kAhead < m_count) {
      const char* ahead = keyOf(position + kAhead);
      __builtin_prefetch(ahead);
      __builtin_prefetch(ahead + m_keyLength - 1);
      __builtin_prefetch(&m_positions[order[position + kAhead] & recnoMask], 1);
    }
    const auto recno = static_cast<std::uint32_t>(order[position] & recnoMask);
    char* entry = EntryAt(position);
    CopyKey(entry, keyOf(position), m_keyLength);
    std::memcpy(entry + m_keyLength, &recno, sizeof recno);
    prefixes[position] = PrefixOf(std::string_view(entry, m_keyLength));
    m_positions[recno] = static_cast<std::uint32_t>(position);
  }
}

void CDbfTag::OrderTies(const Words& order, int recnoBits) {
  // Keys equal in their packed bytes stand side by side in record order: each such run
  // is ordered on the whole key, keeping the record order of equal ones.
  std::vector<std::size_t> ranks;
  for (std::size_t first = 0; first < m_count;) {
    const std::uint64_t packed = order[first] >> recnoBits;
    std::size_t last = first + 1;
    while (last < m_count && order[last] >> recnoBits == packed) ++last;
    if (last - first > 1) {
      ranks.resize(last - first);
      std::iota(ranks.begin(), ranks.end(), first);
      auto below = [this](std::size_t a, std::size_t b) { return KeyAt(a) < KeyAt(b); };
      if (!std::is_sorted(ranks.begin(), ranks.end(), below)) {
        std::stable_sort(ranks.begin(), ranks.end(), below);
        Reorder(first, ranks);
      }
    }
    first = last;
  }
}

void CDbfTag::Reorder(std::size_t first, std::span<const std::size_t> order) {
  m_reordered.resize(order.size() * m_entryLength);
  for (std::size_t i = 0; i < order.size(); ++i) {
    std::memcpy(m_reordered.data() + i * m_entryLength, EntryAt(order[i]), m_entryLength);
  }
  std::memcpy(EntryAt(first), m_reordered.data(), m_reordered.size());
  Words& prefixes = m_levels[0];
  for (std::size_t position = first; position < first + order.size(); ++position) {
    m_positions[RecordAt(position)] = static_cast<std::uint32_t>(position);
    prefixes[position] = PrefixOf(KeyAt(position));
  }
}

std::uint32_t CDbfTag::RecordAt(std::size_t position) const {
  std::uint32_t recno;
  std::memcpy(&recno, m_entries.data() + position * m_entryLength + m_keyLength, sizeof recno);
  return recno;
}

std::string_view CDbfTag::KeyAt(std::size_t position) const {
  return std::string_view(m_entries.data(), m_entries.size())
      .substr(position * m_entryLength, m_keyLength);
}

std::pair<std::size_t, std::size_t> CDbfTag::PrefixRange(std::uint64_t prefix) const {
  // From the coarsest level down: when the first sample not below the prefix is at j,
  // every entry of the level below up to sample j - 1 is below it, so the first one not
  // below lies within the kSampleStep entries after that.
  std::size_t first = 0;
  std::size_t end = m_levels.empty() ? 0 : m_levels.back().size();
  for (std::size_t level = m_levels.size(); level-- > 0;) {
    const Words& samples = m_levels[level];
    const auto begin = samples.begin();
    first = static_cast<std::size_t>(std::lower_bound(begin + static_cast<std::ptrdiff_t>(first),
                                                      begin + static_cast<std::ptrdiff_t>(end),
                                                      prefix) -
                                     begin);
    if (level == 0) break;
    const std::size_t below = m_levels[level - 1].size();
    end = std::min(first * kSampleStep + 1, below);
    first = first == 0 ? 0 : (first - 1) * kSampleStep + 1;
    // Ask for all the memory the next step reads at once, so that its cache misses
    // overlap instead of following one another.
    Prefetch(m_levels[level - 1].data() + first, (end - first) * sizeof(std::uint64_t));
    if (level == 1)
      Prefetch(m_entries.data() + first * m_entryLength, (end - first + 1) * m_entryLength);
  }
  // The end of the equal ones: by steps that double, then by halves.
  std::size_t low = first;
  std::size_t step = 1;
  const Words& prefixes = m_levels[0];
  while (low + step < m_count && prefixes[low + step] == prefix) {
    low += step;
    step *= 2;
  }
  const auto begin = prefixes.begin();
  const std::size_t high = std::min(low + step, m_count);
  const std::size_t last =
      static_cast<std::size_t>(std::upper_bound(begin + static_cast<std::ptrdiff_t>(low),
                                                begin + static_cast<std::ptrdiff_t>(high), prefix) -
                               begin);
  return {first, std::max(first, last)};
}

std::size_t CDbfTag::LowerBound(std::string_view key, bool& hit) const {
  auto [low, high] = PrefixRange(PrefixOf(key));
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (KeyAt(middle) < key) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  hit = low < m_count && KeyAt(low).substr(0, key.size()) == key;
  return low;
}

}  // namespace tvr::platform
