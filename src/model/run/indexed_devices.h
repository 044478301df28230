#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class CDev;

// The elements of one reference in a run, by the stamp of their place in list order,
// sorted by stamp (a tree node per element would cost more than the element's own
// record). Iteration sees the elements only, in list order.
//
// A rebuild renames the elements of a long run one after another, forward or back, and
// takes each out of its reference and back: shifting the tail for each would make that
// quadratic. So an element leaving leaves its slot empty, to be closed up once the
// empty slots outnumber the elements, and one gap of empty slots follows the places
// where elements come in, so that only the entries between the last place and the next
// move.
class CIndexedDevices {
 public:
  using CEntry = std::pair<std::uint64_t, CDev*>;

  class CIterator {
   public:
    CIterator(const CEntry* at, const CEntry* end) : m_at(at), m_end(end) { SkipEmpty(); }
    const CEntry& operator*() const { return *m_at; }
    CIterator& operator++() {
      ++m_at;
      SkipEmpty();
      return *this;
    }
    bool operator==(const CIterator& other) const { return m_at == other.m_at; }

   private:
    void SkipEmpty() {
      while (m_at != m_end && m_at->second == nullptr) ++m_at;
    }
    const CEntry* m_at;
    const CEntry* m_end;
  };

  CIterator begin() const { return {m_entries.data(), m_entries.data() + m_entries.size()}; }
  CIterator end() const {
    const CEntry* last = m_entries.data() + m_entries.size();
    return {last, last};
  }
  bool empty() const { return m_count == 0; }
  std::size_t size() const { return m_count; }

  void Reserve(std::size_t count) { m_entries.reserve(count); }
  // The stamp must not be filed already.
  void Add(std::uint64_t stamp, CDev& element);
  void Remove(std::uint64_t stamp);

 private:
  // Where the stamp goes among the entries, the gap aside: its slots hold no stamp.
  std::size_t PlaceOf(std::uint64_t stamp) const;
  // The stamp of the last slot outside the gap; 0 when there is none.
  std::uint64_t LastStamp() const;
  bool InGap(std::size_t index) const;
  void MoveGapTo(std::size_t place);
  void OpenGap(std::size_t place);
  void CloseEmptySlots();

  std::vector<CEntry> m_entries;
  std::size_t m_count = 0;
  std::size_t m_gapBegin = 0;
  std::size_t m_gapEnd = 0;
};
