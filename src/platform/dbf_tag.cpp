#include "platform/dbf_tag.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>
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

struct SortItem {
  std::uint64_t prefix;
  std::uint32_t recno;
};

// A stable sort on the prefix, one byte at a time from the lowest; a byte that is the
// same in every prefix costs no pass.
void RadixSort(std::vector<SortItem>& items) {
  std::array<std::array<std::size_t, 256>, 8> counts{};
  for (const SortItem& item : items) {
    for (int digit = 0; digit < 8; ++digit) ++counts[digit][(item.prefix >> (8 * digit)) & 0xFF];
  }
  std::vector<SortItem> scratch(items.size());
  for (int digit = 0; digit < 8; ++digit) {
    std::array<std::size_t, 256>& count = counts[digit];
    if (std::find(count.begin(), count.end(), items.size()) != count.end()) continue;
    std::size_t start = 0;
    for (std::size_t& bucket : count) start += std::exchange(bucket, start);
    for (const SortItem& item : items) scratch[count[(item.prefix >> (8 * digit)) & 0xFF]++] = item;
    items.swap(scratch);
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

std::string CDbfTag::RecordKeys(std::string_view records, std::uint32_t recordLength,
                                std::uint32_t count) const {
  std::string keys(std::size_t{count} * m_keyLength, '\0');
  char* out = keys.data();
  for (std::uint32_t i = 0; i < count; ++i) {
    const char* record = records.data() + std::size_t{i} * recordLength;
    for (const Part& part : m_parts) out = std::copy_n(record + part.offset, part.length, out);
  }
  return keys;
}

void CDbfTag::Build(std::string_view records, std::uint32_t recordLength, std::uint32_t count) {
  SortByKey(RecordKeys(records, recordLength, count));
  m_levels.resize(1);
  while (m_levels.back().size() > kSampleStep) {
    std::vector<std::uint64_t> samples;
    const std::vector<std::uint64_t>& below = m_levels.back();
    samples.reserve(below.size() / kSampleStep + 1);
    for (std::size_t i = 0; i < below.size(); i += kSampleStep) samples.push_back(below[i]);
    m_levels.push_back(std::move(samples));
  }
  m_built = true;
}

void CDbfTag::SortByKey(std::string_view recordKeys) {
  m_count = m_keyLength == 0 ? 0 : recordKeys.size() / m_keyLength;
  auto keyOf = [&](std::uint32_t recno) {
    return recordKeys.substr(std::size_t{recno - 1} * m_keyLength, m_keyLength);
  };
  std::vector<SortItem> items(m_count);
  for (std::size_t i = 0; i < m_count; ++i) {
    const auto recno = static_cast<std::uint32_t>(i + 1);
    items[i] = {PrefixOf(keyOf(recno)), recno};
  }
  RadixSort(items);
  m_levels.assign(1, std::vector<std::uint64_t>(m_count));
  std::vector<std::uint64_t>& prefixes = m_levels[0];
  m_entries.resize(m_count * m_entryLength);
  constexpr std::size_t kAhead = 16;  // records whose keys are on their way to the cache
  for (std::size_t position = 0; position < m_count; ++position) {
    if (position + kAhead < m_count)
      __builtin_prefetch(keyOf(items[position + kAhead].recno).data());
    const std::uint32_t recno = items[position].recno;
    prefixes[position] = items[position].prefix;
    char* entry = EntryAt(position);
    std::memcpy(entry, keyOf(recno).data(), m_keyLength);
    std::memcpy(entry + m_keyLength, &recno, sizeof recno);
  }
  if (m_keyLength > 8) {
    for (std::size_t first = 0; first < m_count;) {
      std::size_t last = first + 1;
      while (last < m_count && prefixes[last] == prefixes[first]) ++last;
      if (last - first > 1) SortSamePrefix(first, last);
      first = last;
    }
  }
  m_positions.assign(m_count + 1, 0);
  for (std::size_t position = 0; position < m_count; ++position) {
    if (position + kAhead < m_count)
      __builtin_prefetch(&m_positions[RecordAt(position + kAhead)], 1);
    m_positions[RecordAt(position)] = static_cast<std::uint32_t>(position);
  }
}

void CDbfTag::SortSamePrefix(std::size_t first, std::size_t last) {
  // Keys that share their first 8 bytes, already side by side in record order: order
  // them on the whole key by insertion (on the next 8 bytes first), keeping the record
  // order of equal ones; these runs are short unless most keys begin alike, and then a
  // merge sort takes over.
  constexpr std::size_t kLongRun = 32;
  if (last - first > kLongRun) return MergeSortSamePrefix(first, last);
  struct Rank {
    std::uint64_t next;  // bytes 8 to 15 of the key
    std::size_t position;
  };
  std::array<Rank, kLongRun> ranks;
  const std::size_t length = last - first;
  for (std::size_t i = 0; i < length; ++i)
    ranks[i] = {PrefixOf(KeyAt(first + i).substr(8)), first + i};
  auto below = [this](const Rank& a, const Rank& b) {
    if (a.next != b.next) return a.next < b.next;
    return m_keyLength > 16 && KeyAt(a.position).substr(16) < KeyAt(b.position).substr(16);
  };
  bool moved = false;
  for (std::size_t i = 1; i < length; ++i) {
    const Rank rank = ranks[i];
    std::size_t at = i;
    for (; at > 0 && below(rank, ranks[at - 1]); --at) ranks[at] = ranks[at - 1];
    ranks[at] = rank;
    moved |= at != i;
  }
  if (!moved) return;
  std::string entries(length * m_entryLength, '\0');
  for (std::size_t i = 0; i < length; ++i) {
    std::memcpy(entries.data() + i * m_entryLength, EntryAt(ranks[i].position), m_entryLength);
  }
  std::memcpy(EntryAt(first), entries.data(), entries.size());
}

void CDbfTag::MergeSortSamePrefix(std::size_t first, std::size_t last) {
  std::vector<std::size_t> ranks(last - first);
  std::iota(ranks.begin(), ranks.end(), first);
  std::stable_sort(ranks.begin(), ranks.end(),
                   [this](std::size_t a, std::size_t b) { return KeyAt(a) < KeyAt(b); });
  std::string entries(ranks.size() * m_entryLength, '\0');
  for (std::size_t i = 0; i < ranks.size(); ++i) {
    std::memcpy(entries.data() + i * m_entryLength, EntryAt(ranks[i]), m_entryLength);
  }
  std::memcpy(EntryAt(first), entries.data(), entries.size());
}

std::uint32_t CDbfTag::RecordAt(std::size_t position) const {
  std::uint32_t recno;
  std::memcpy(&recno, m_entries.data() + position * m_entryLength + m_keyLength, sizeof recno);
  return recno;
}

std::string_view CDbfTag::KeyAt(std::size_t position) const {
  return std::string_view(m_entries).substr(position * m_entryLength, m_keyLength);
}

std::pair<std::size_t, std::size_t> CDbfTag::PrefixRange(std::uint64_t prefix) const {
  // From the coarsest level down: when the first sample not below the prefix is at j,
  // every entry of the level below up to sample j - 1 is below it, so the first one not
  // below lies within the kSampleStep entries after that.
  std::size_t first = 0;
  std::size_t end = m_levels.empty() ? 0 : m_levels.back().size();
  for (std::size_t level = m_levels.size(); level-- > 0;) {
    const std::vector<std::uint64_t>& samples = m_levels[level];
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
  const std::vector<std::uint64_t>& prefixes = m_levels[0];
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
