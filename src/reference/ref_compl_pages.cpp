#include "reference/ref_compl_pages.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/number_text.h"

std::vector<int> ComplListedItems(const CRefComparison& comparison, bool usedOnly) {
  const int least = usedOnly ? CRefComparison::kStateUsed : CRefComparison::kStateListed;
  std::vector<int> listed;
  for (int n = 1; n <= CRefComparison::kItemCount; ++n)
    if (comparison.items[static_cast<std::size_t>(n)].state >= least) listed.push_back(n);
  return listed;
}

int ComplPageCount(std::size_t listed) {
  const auto count = static_cast<int>(listed);
  return count / kComplRowsPerPage + (count % kComplRowsPerPage != 0 || count == 0 ? 1 : 0);
}

std::array<int, kComplRowsPerPage> ComplPageRows(const std::vector<int>& listed, int page) {
  std::array<int, kComplRowsPerPage> rows{};
  page = std::clamp(page, 1, ComplPageCount(listed.size()));
  const std::size_t first = static_cast<std::size_t>(page - 1) * kComplRowsPerPage;
  for (std::size_t row = 0; row < rows.size() && first + row < listed.size(); ++row)
    rows[row] = listed[first + row];
  return rows;
}

std::optional<std::int64_t> ReadRoundedValue(std::string_view text, int decimals) {
  const std::optional<std::int64_t> scaled = ParseTypedScaled(text, decimals);
  // Beyond 32 bits the stored texts and the totals would no longer hold the value.
  if (!scaled || *scaled > 2000000000 || *scaled < -2000000000) return std::nullopt;
  return scaled;
}
