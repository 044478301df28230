#include "platform/dbf_tag.h"

#include <algorithm>

namespace tvr::platform {

CDbfTag::CDbfTag(std::string name, std::vector<Part> parts)
    : m_name(std::move(name)), m_parts(std::move(parts)) {
  for (const Part& part : m_parts) m_keyLength += part.length;
}

bool CDbfTag::UsesBytes(std::uint32_t offset, std::uint32_t length) const {
  for (const Part& part : m_parts) {
    if (offset < part.offset + part.length && part.offset < offset + length) return true;
  }
  return false;
}

void CDbfTag::Build(std::string_view records, std::uint32_t recordLength, std::uint32_t count) {
  m_keys.clear();
  m_keys.reserve(std::size_t{count} * m_keyLength);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::string_view record = records.substr(std::size_t{i} * recordLength, recordLength);
    for (const Part& part : m_parts) m_keys.append(record.substr(part.offset, part.length));
  }
  m_order.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) m_order[i] = i + 1;
  auto key = [this](std::uint32_t recno) {
    return std::string_view(m_keys).substr(std::size_t{recno - 1} * m_keyLength, m_keyLength);
  };
  std::stable_sort(m_order.begin(), m_order.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return key(a) < key(b); });
  m_positions.assign(std::size_t{count} + 1, 0);
  for (std::size_t position = 0; position < m_order.size(); ++position) {
    m_positions[m_order[position]] = position;
  }
  m_built = true;
}

std::string_view CDbfTag::KeyAt(std::size_t position) const {
  return std::string_view(m_keys).substr(std::size_t{m_order[position] - 1} * m_keyLength,
                                         m_keyLength);
}

std::size_t CDbfTag::LowerBound(std::string_view key, bool& hit) const {
  std::size_t low = 0;
  std::size_t high = m_order.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (KeyAt(middle) < key) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  hit = low < m_order.size() && KeyAt(low).substr(0, key.size()) == key;
  return low;
}

}  // namespace tvr::platform
