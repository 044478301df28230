#pragma once

struct CRangeTables;
struct CRangeTableSet;

// One run's use of a cache set (move only). Counts one more live run of the set when
// made; when destroyed or released, one fewer, and the set's tables are emptied when no
// live run is left.
class CRangeTablesLease {
 public:
  CRangeTablesLease() = default;
  explicit CRangeTablesLease(CRangeTableSet& set);
  ~CRangeTablesLease() { Release(); }
  CRangeTablesLease(CRangeTablesLease&& other) noexcept;
  CRangeTablesLease& operator=(CRangeTablesLease&& other) noexcept;
  CRangeTablesLease(const CRangeTablesLease&) = delete;
  CRangeTablesLease& operator=(const CRangeTablesLease&) = delete;

  // Null for an empty lease.
  CRangeTables* Tables() const;
  // True when the set had no live run before this lease: the holder fills the tables.
  bool IsFirst() const { return m_first; }
  void Release();

 private:
  CRangeTableSet* m_set = nullptr;
  bool m_first = false;
};
