#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

struct CCodeRow;

// Where a run's code table codes element kinds, kept once looked up: a rebuild asks for
// the texts once or more per element, and each look-up reads the table's codes as
// numbers. The rows hold for one table as it stands; another table, or the same one
// resized or moved, starts afresh, and the run forgets them when its tables change.
class CKindTextCache {
 public:
  // The kept row of the kind (as the table codes it) and variant in that table, -1 for
  // none; nothing when not looked up yet.
  std::optional<int> Find(const std::vector<CCodeRow>& table, int kind, int variant) const;
  void Keep(const std::vector<CCodeRow>& table, int kind, int variant, int row);
  void Clear();

 private:
  static std::uint64_t Key(int kind, int variant);
  bool IsFor(const std::vector<CCodeRow>& table) const;

  const std::vector<CCodeRow>* m_table = nullptr;
  const CCodeRow* m_rows = nullptr;
  std::size_t m_rowCount = 0;
  std::unordered_map<std::uint64_t, int> m_rowsByKind;
};
