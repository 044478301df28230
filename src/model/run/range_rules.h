#pragma once

#include "model/run/range_tables_lease.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct CCatalogueEntry;

// The catalogue tables that the runs of one product range share, and the cache that
// keeps them while at least one run of the range's cache set lives.
//
// A range's run class (derived from CRun, see src/ranges) overrides the run's virtual
// operations (run.h) and takes its tables through a lease:
//   CRangeTablesLease lease = CRangeTableCache::Instance().Take(setName);
//   if (lease.IsFirst()) { fill lease.Tables() from the range's catalogue tables; }
//   run.AttachRangeTables(std::move(lease));
// The lease counts the run while it lives; when the last lease of a set goes (the run's
// destruction, or a loader that failed before attaching it) the set is emptied, so the
// next run of the set fills it afresh.

// A code and its label (rating, neutral and option lists).
struct CCodeLabelRow {
  std::string code;
  std::string label;
};

// Reference table: a rating code and five numbers (width, height, neutral extra width,
// two more).
struct CReferenceRow {
  std::string code;
  std::array<std::int32_t, 5> values{};

  std::int32_t Width() const { return values[0]; }
  std::int32_t Height() const { return values[1]; }
};

// Device housing table: a reference, then length, width and height of housing 6, of
// housing 7, and the offsets of housing 7 along length, width and height.
struct CHousingRow {
  std::string reference;
  std::array<std::int32_t, 9> values{};
};

// Code table: a number (kind, or a tag such as 80), a second number (variant, 100 added
// for feed-unit variants), a text and a 22-character reference pattern.
struct CCodeRow {
  std::array<std::string, 4> texts;
};

// Pattern table: texts[0] a wildcard pattern on references (or, in a found row, the
// catalogue reference) and texts[1..6] the length ranges by join kind 1..6.
struct CPatternRow {
  std::array<std::string, 7> texts;
};

// Price-formula table: a tag, a variant, a text, a list of references separated by
// blanks whose "?" are filled from the run's pattern.
struct CPriceFormulaRow {
  std::array<std::string, 4> texts;
};

// Temperature table entry: a value and an ambient temperature in degrees Celsius; the
// table ends at the first entry whose value is 0.
struct CTemperatureEntry {
  double value = 0.0;
  double temperature = 0.0;
};

inline constexpr int kMaxTemperatureEntries = 30;

// The nine caches of a range.
struct CRangeTables {
  std::vector<CPatternRow> patterns;
  std::vector<CCodeLabelRow> ratings;
  std::vector<CCodeLabelRow> neutrals;
  std::vector<CCodeLabelRow> options;
  std::vector<CReferenceRow> references;
  std::vector<CHousingRow> housings;
  std::vector<CCodeRow> codes;
  // The accessory references by kind (code 80) of a range that keeps them apart from its
  // device codes, so that they never join the device lists.
  std::vector<CCodeRow> accessoryCodes;
  std::vector<CPriceFormulaRow> priceFormulas;
  std::vector<CTemperatureEntry> temperatures;

  // Frees the rows of the nine tables and ends the temperature table at its first
  // entry (its value set to 0), as the last run of a range leaves them.
  void Release();
};

// One cache set: the tables and the number of live runs that use them.
struct CRangeTableSet {
  CRangeTables tables;
  int liveRuns = 0;
};

// A set met empty by a thread that may not fill it (CRangeTableCache::CFillRefusal).
class CRangeFillRefused : public std::runtime_error {
 public:
  explicit CRangeFillRefused(std::string_view setName)
      : std::runtime_error("range tables not filled: " + std::string(setName)) {}
};

// The cache sets of every range (by set name: "QDA", "QGC", "QJF", ...), and the
// program-wide catalogue list that generic runs use as their code table. One
// process-wide object; tests call Reset when no run is alive.
//
// Designs are also read on a worker thread (an undo step's, ahead of the undo), so the
// sets, their counts and the catalogue list are kept under one recursive lock: a set is
// filled whole under it (a fill may take other sets), and its rows stay as they are while
// any lease of it lives. A worker never fills a set: reading the catalogue tables is the
// window thread's work, and it would hold every other lease up meanwhile.
class CRangeTableCache {
 public:
  static CRangeTableCache& Instance();

  // While one lives, the thread that made it may not fill a set: a set it meets empty
  // throws CRangeFillRefused (the work is then left to the window thread).
  class CFillRefusal {
   public:
    CFillRefusal();
    ~CFillRefusal();
    CFillRefusal(const CFillRefusal&) = delete;
    CFillRefusal& operator=(const CFillRefusal&) = delete;

   private:
    bool m_before;
  };
  static bool FillsRefused();

  // The lock over every set; held by whoever fills one.
  std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock(m_mutex); }

  // Drops every table and counter.
  void Reset();

  // A lease on the named set (made empty on first use; its address is stable). The
  // holder of a first lease fills the set under Lock(), taken before this call.
  CRangeTablesLease Take(std::string_view setName);
  int LiveRuns(std::string_view setName) const;
  // The set's tables; null for a set never taken.
  const CRangeTables* Find(std::string_view setName) const;

  // The generic runs' code table: one row per catalogue (code, "0", label, empty),
  // filled from the entries by the first user; counted per run.
  std::vector<CCodeRow>& AddCatalogueUser(const std::vector<CCatalogueEntry>& catalogues);
  // One user fewer; the list is emptied at zero.
  void RemoveCatalogueUser();
  int CatalogueUsers() const;
  // Filled while a user lives, and left as it is until the last one goes.
  std::vector<CCodeRow>& CatalogueCodes() { return m_catalogueCodes; }

 private:
  mutable std::recursive_mutex m_mutex;
  std::map<std::string, std::unique_ptr<CRangeTableSet>, std::less<>> m_sets;
  std::vector<CCodeRow> m_catalogueCodes;
  int m_catalogueUsers = 0;
};
