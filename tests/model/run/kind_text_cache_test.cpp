#include "model/run/kind_text_cache.h"

#include "model/run/range_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

std::vector<CCodeRow> Table(int rows) {
  return std::vector<CCodeRow>(static_cast<std::size_t>(rows), CCodeRow{{"1", "0", "X", ""}});
}

TEST(KindTextCacheTest, TextsHoldForTheTableAsItWasKept) {
  std::vector<CCodeRow> table = Table(3);
  const std::vector<CCodeRow> other = Table(3);
  CKindTextCache cache;
  EXPECT_EQ(cache.Find(table, 1, 0), std::nullopt);
  cache.Keep(table, 1, 0, 2);
  cache.Keep(table, 0, 1, 1);
  cache.Keep(table, 1, -1, -1);
  const struct {
    const char* what;
    const std::vector<CCodeRow>* table;
    int kind;
    int variant;
    std::optional<int> expected;
  } rows[] = {
      {"kept", &table, 1, 0, 2},
      {"kind and variant apart", &table, 0, 1, 1},
      {"negative variant, no row", &table, 1, -1, -1},
      {"not looked up", &table, 1, 1, std::nullopt},
      {"another table", &other, 1, 0, std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(cache.Find(*row.table, row.kind, row.variant), row.expected) << row.what;
  }
}

TEST(KindTextCacheTest, AChangedTableOrAClearStartsAfresh) {
  const struct {
    const char* what;
    void (*change)(std::vector<CCodeRow>& table, CKindTextCache& cache);
  } rows[] = {
      {"row added", [](std::vector<CCodeRow>& table, CKindTextCache&) { table.push_back({}); }},
      {"row removed", [](std::vector<CCodeRow>& table, CKindTextCache&) { table.pop_back(); }},
      {"replaced", [](std::vector<CCodeRow>& table, CKindTextCache&) { table = Table(3); }},
      {"cleared", [](std::vector<CCodeRow>&, CKindTextCache& cache) { cache.Clear(); }},
  };
  for (const auto& row : rows) {
    std::vector<CCodeRow> table = Table(3);
    CKindTextCache cache;
    cache.Keep(table, 1, 0, 2);
    row.change(table, cache);
    EXPECT_EQ(cache.Find(table, 1, 0), std::nullopt) << row.what;
    // Kept again for the table as it now stands.
    cache.Keep(table, 1, 0, 0);
    EXPECT_EQ(cache.Find(table, 1, 0), 0) << row.what;
  }
}

}  // namespace
