#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// A sequence kept with a gap of free slots where it was last changed, so that a burst of
// inserts or removals at one place costs each a constant time, wherever the place is;
// moving the gap elsewhere costs the elements it passes. Reading by index costs a
// comparison more than a vector. Free slots hold default or moved-from values, which
// own nothing.
template <typename T>
class CGapVector {
 public:
  std::size_t size() const { return m_slots.size() - GapLength(); }
  bool empty() const { return size() == 0; }

  T& operator[](std::size_t index) { return m_slots[Slot(index)]; }
  const T& operator[](std::size_t index) const { return m_slots[Slot(index)]; }

  void insert(std::size_t at, T value) {
    if (m_gapStart == m_gapEnd) Grow();
    MoveGapTo(at);
    m_slots[m_gapStart++] = std::move(value);
  }

  void erase(std::size_t at) {
    MoveGapTo(at);
    m_slots[m_gapEnd++] = T();
  }

  // Adds default elements or removes elements at the end.
  void resize(std::size_t count) {
    MoveGapTo(size());
    m_slots.resize(m_gapStart);
    m_slots.resize(count);
    m_gapStart = m_gapEnd = count;
  }

  void assign(std::size_t count, const T& value) {
    m_slots.assign(count, value);
    m_gapStart = m_gapEnd = count;
  }

 private:
  std::size_t GapLength() const { return m_gapEnd - m_gapStart; }
  std::size_t Slot(std::size_t index) const {
    return index < m_gapStart ? index : index + GapLength();
  }

  void MoveGapTo(std::size_t at) {
    if (m_gapStart == m_gapEnd) {  // no gap: nothing moves (nor onto itself)
      m_gapStart = m_gapEnd = at;
      return;
    }
    if (at < m_gapStart) {
      std::move_backward(m_slots.begin() + Offset(at), m_slots.begin() + Offset(m_gapStart),
                         m_slots.begin() + Offset(m_gapEnd));
    } else if (at > m_gapStart) {
      std::move(m_slots.begin() + Offset(m_gapEnd),
                m_slots.begin() + Offset(m_gapEnd + at - m_gapStart),
                m_slots.begin() + Offset(m_gapStart));
    }
    const std::size_t length = GapLength();
    m_gapStart = at;
    m_gapEnd = at + length;
  }

  void Grow() {
    const std::size_t count = size();
    const std::size_t gap = std::max<std::size_t>(16, count);
    std::vector<T> grown(count + gap);
    std::move(m_slots.begin(), m_slots.begin() + Offset(m_gapStart), grown.begin());
    std::move(m_slots.begin() + Offset(m_gapEnd), m_slots.end(),
              grown.begin() + Offset(m_gapStart + gap));
    m_slots = std::move(grown);
    m_gapEnd = m_gapStart + gap;
  }

  static std::ptrdiff_t Offset(std::size_t index) { return static_cast<std::ptrdiff_t>(index); }

  std::vector<T> m_slots;
  std::size_t m_gapStart = 0;
  std::size_t m_gapEnd = 0;
};
