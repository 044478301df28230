#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class CRun;

// While a builder books its parts: the run's records are brought to hold their lines'
// quantities once per reference when the batch ends, not at every booking. Each such
// bringing walks all the records of the reference, and a long run books thousands of
// pieces of one reference, one by one.
//
// The records end as booking one by one would leave them, each reference being brought
// to its line's quantity at the end, in the order the references were first asked.
// Batches nest; the outermost one brings the records.
class CRefQuantityBatch {
 public:
  explicit CRefQuantityBatch(CRun& run);
  ~CRefQuantityBatch();
  CRefQuantityBatch(const CRefQuantityBatch&) = delete;
  CRefQuantityBatch& operator=(const CRefQuantityBatch&) = delete;

  void Add(std::string_view reference);

 private:
  CRun& m_run;
  CRefQuantityBatch* m_outer = nullptr;
  std::vector<std::string> m_references;  // in the order first asked
  std::unordered_set<std::string> m_seen;
};
