#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tvr::platform {

// An index of a table kept in memory: the record numbers ordered by a key made of the
// stored bytes of one or more fields. Equal keys keep the record order. Built in
// O(n log n) and searched by binary search.
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
  // Orders count records of recordLength bytes each, laid out one after the other.
  void Build(std::string_view records, std::uint32_t recordLength, std::uint32_t count);

  std::size_t Size() const { return m_order.size(); }
  // The record number at a position of the order (0 <= position < Size()).
  std::uint32_t RecordAt(std::size_t position) const { return m_order[position]; }
  // The position of a record (1..count) in the order.
  std::size_t PositionOf(std::uint32_t recno) const { return m_positions[recno]; }
  // The position of the first key not below key (Size() when there is none), and
  // whether that key begins with the given bytes.
  std::size_t LowerBound(std::string_view key, bool& hit) const;

 private:
  std::string_view KeyAt(std::size_t position) const;

  std::string m_name;
  std::vector<Part> m_parts;
  std::uint32_t m_keyLength = 0;
  bool m_built = false;
  std::string m_keys;  // the key of record n at (n-1) * m_keyLength
  std::vector<std::uint32_t> m_order;
  std::vector<std::size_t> m_positions;  // indexed by record number
};

}  // namespace tvr::platform
