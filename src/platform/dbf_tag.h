#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bulk_allocator.h"

namespace tvr::platform {

// An index of a table kept in memory: the record numbers ordered by a key made of the
// stored bytes of one or more fields. Equal keys keep the record order.
//
// The keys are copied out once, side by side in key order, each followed by its record
// number, so that a search reads neighbouring memory instead of jumping through the
// records: a radix sort on the keys packed into as few bits as keep their order (ties
// settled on the whole key when they do not all fit) builds it in time linear in the
// record count. A search goes down levels of
// those prefixes, each holding every 16th of the one below (the upper ones stay in the
// cache), reading 16 prefixes at each, then the few whole keys that share the prefix.
class CDbfTag {
 public:
  // One part of the key: a field's place in the record and its length.
  struct Part {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
  };

  CDbfTag(std::string name, std::vector<Part> parts);

  const std::string& Name() const { return m_name; }
  bool UsesBytes(std::uint32_t offset, std::uint32_t length) const;

  // Forgets the order; the next Build makes it again.
  void Invalidate() { m_built = false; }
  bool IsBuilt() const { return m_built; }
  // Copies count records from the first given (from 0) into buffer and answers a view
  // of them: the records once more, from where they can be read faster.
  using RecordReader = std::function<std::string_view(std::uint32_t first, std::uint32_t count,
                                                      std::string& buffer)>;
  // Orders count records of recordLength bytes each, laid out one after the other;
  // reader, when given, supplies the same records for the one reading of them all.
  void Build(std::string_view records, std::uint32_t recordLength, std::uint32_t count,
             const RecordReader& reader = {});

  std::size_t Size() const { return m_count; }
  // The record number at a position of the order (0 <= position < Size()).
  std::uint32_t RecordAt(std::size_t position) const;
  // The position of a record (1..count) in the order.
  std::size_t PositionOf(std::uint32_t recno) const { return m_positions[recno]; }
  // The position of the first key not below key (Size() when there is none), and
  // whether that key begins with the given bytes.
  std::size_t LowerBound(std::string_view key, bool& hit) const;

 private:
  // Built anew at each change of the table: blocks of megabytes that are written at once.
  using Bytes = std::vector<char, CBulkAllocator<char>>;
  using Words = std::vector<std::uint64_t, CBulkAllocator<std::uint64_t>>;

  std::string_view KeyAt(std::size_t position) const;
  char* EntryAt(std::size_t position) { return m_entries.data() + position * m_entryLength; }
  // The entries, the first level of prefixes and the positions from the record numbers
  // in key order (in the bits of recnoMask of each word of order) and the keys of every
  // record in record order.
  void PlaceEntries(const char* keys, const Words& order, std::uint64_t recnoMask);
  void OrderTies(const Words& order, int recnoBits);
  // Puts the entries at the given positions in that order from first on.
  void Reorder(std::size_t first, std::span<const std::size_t> order);
  // The first and past-the-last positions whose prefix equals the given one.
  std::pair<std::size_t, std::size_t> PrefixRange(std::uint64_t prefix) const;

  std::string m_name;
  std::vector<Part> m_parts;
  std::uint32_t m_keyLength = 0;
  std::size_t m_entryLength = 0;  // the key, then the record number (4 bytes)
  bool m_built = false;
  std::size_t m_count = 0;
  Bytes m_entries;  // in key order
  // The first 8 bytes of each key, big-endian, in key order; then every kSampleStep-th of
  // those, and so on until the last level fits one step.
  std::vector<Words> m_levels;
  std::vector<std::uint32_t, CBulkAllocator<std::uint32_t>> m_positions;  // by record number
  std::string m_reordered;  // room for entries while they are reordered
};

}  // namespace tvr::platform
