#include "model/run/indexed_devices.h"

#include <algorithm>

namespace {

bool StampBefore(const CIndexedDevices::CEntry& entry, std::uint64_t stamp) {
  return entry.first < stamp;
}

constexpr std::size_t kLeastRoom = 8;

}  // namespace

void CIndexedDevices::Add(std::uint64_t stamp, CDev& element) {
  ++m_count;
  // Most often the newest stamp: the end of the list.
  if (LastStamp() < stamp) {
    m_entries.emplace_back(stamp, &element);
    return;
  }
  const std::size_t place = PlaceOf(stamp);
  // The empty slot the element left, or one beside its place.
  if (place < m_entries.size() && m_entries[place].second == nullptr && !InGap(place)) {
    m_entries[place] = {stamp, &element};
    return;
  }
  if (place > 0 && m_entries[place - 1].second == nullptr && !InGap(place - 1)) {
    m_entries[place - 1] = {stamp, &element};
    return;
  }
  if (m_gapBegin == m_gapEnd) {
    OpenGap(place);
  } else {
    MoveGapTo(place);
  }
  m_entries[m_gapBegin++] = {stamp, &element};
}

void CIndexedDevices::Remove(std::uint64_t stamp) {
  const std::size_t place = PlaceOf(stamp);
  if (place == m_entries.size()) return;
  CEntry& entry = m_entries[place];
  if (entry.first != stamp || entry.second == nullptr) return;
  entry.second = nullptr;
  --m_count;
  if (m_entries.size() - m_count > std::max(m_count, kLeastRoom)) CloseEmptySlots();
}

std::uint64_t CIndexedDevices::LastStamp() const {
  if (m_gapEnd < m_entries.size()) return m_entries.back().first;
  return m_gapBegin > 0 ? m_entries[m_gapBegin - 1].first : 0;
}

bool CIndexedDevices::InGap(std::size_t index) const {
  return index >= m_gapBegin && index < m_gapEnd;
}

std::size_t CIndexedDevices::PlaceOf(std::uint64_t stamp) const {
  const auto first = m_entries.begin();
  const auto gap = first + static_cast<std::ptrdiff_t>(m_gapBegin);
  const auto left = std::lower_bound(first, gap, stamp, StampBefore);
  if (left != gap) return static_cast<std::size_t>(left - first);
  const auto right = std::lower_bound(first + static_cast<std::ptrdiff_t>(m_gapEnd),
                                      m_entries.end(), stamp, StampBefore);
  return static_cast<std::size_t>(right - first);
}

void CIndexedDevices::MoveGapTo(std::size_t place) {
  // `place` is outside the gap or at its end: the entries between cross it, and the
  // slots they leave join it empty.
  const auto first = m_entries.begin();
  auto at = [first](std::size_t index) { return first + static_cast<std::ptrdiff_t>(index); };
  if (place <= m_gapBegin) {
    const std::size_t moved = m_gapBegin - place;
    std::move_backward(at(place), at(m_gapBegin), at(m_gapEnd));
    m_gapEnd -= moved;
    m_gapBegin = place;
    std::fill(at(place), at(std::min(place + moved, m_gapEnd)), CEntry{0, nullptr});
  } else {
    const std::size_t moved = place - m_gapEnd;
    std::move(at(m_gapEnd), at(place), at(m_gapBegin));
    const std::size_t left = m_gapEnd;
    m_gapBegin += moved;
    m_gapEnd = place;
    std::fill(at(std::max(left, m_gapBegin)), at(place), CEntry{0, nullptr});
  }
}

void CIndexedDevices::OpenGap(std::size_t place) {
  const std::size_t room = std::max(kLeastRoom, m_count / 8);
  m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(place), room,
                   CEntry{0, nullptr});
  m_gapBegin = place;
  m_gapEnd = place + room;
}

void CIndexedDevices::CloseEmptySlots() {
  std::erase_if(m_entries, [](const CEntry& entry) { return entry.second == nullptr; });
  m_gapBegin = m_gapEnd = m_entries.size();
}
