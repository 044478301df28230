#include <algorithm>
#include <cstdint>

#include "reference/ref_line.h"
#include "reference/ref_products.h"

namespace {

// The first of the given product-table entries that is not 0, as its index in the
// list, or -1.
int FirstSet(const int* table, int from, int to) {
  for (int entry = from; entry <= to; ++entry)
    if (table[entry] != 0) return entry - from;
  return -1;
}

CRefLineSection AddedSection(const int* productTable, const int* flag, int lineMode) {
  CRefLineSection section;
  if (!productTable || !flag) return section;
  constexpr int kSides[] = {1, 3, 5};
  constexpr int kOptions[] = {2, 3, 4, 5, 7, 9};
  if (int side = FirstSet(productTable, 24, 26); side >= 0) section.values[6] = kSides[side];
  if (int option = FirstSet(productTable, 30, 35); option >= 0)
    section.values[7] = kOptions[option];
  if (*flag < 0 || productTable[48] < 0) section.values[4] = 2;
  else section.values[6] = 0;
  if (lineMode == 10) section.values[7] = 0;
  return section;
}

// The count of sections that holds the total, the last kept section cut to fit.
std::size_t CountForTotal(std::vector<CRefLineSection>& sections, int total) {
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    sum += sections[i].values[2];
    if (sum >= total) {
      sections[i].values[2] -= static_cast<std::int32_t>(sum - total);
      return total == 0 ? 0 : i + 1;
    }
  }
  return sections.size() + static_cast<std::size_t>(total - sum);
}

}  // namespace

void CRefLine::ResizeSections(int total, const int* productTable, const int* flag, int keepIndex) {
  if (productKind != kRefProductQFP || total < 0) return;
  const int target = lineMode < 10 ? 0 : total;
  if (keepIndex > 0 && !sections.empty()) {
    keepIndex = std::min(keepIndex, static_cast<int>(sections.size()) - 1);
    std::rotate(sections.begin(), sections.begin() + keepIndex, sections.begin() + keepIndex + 1);
  }
  const std::size_t count = CountForTotal(sections, target);
  if (count != sections.size()) {
    const CRefLineSection added = AddedSection(productTable, flag, lineMode);
    sections.resize(count, added);
  }
  if (keepIndex > 0 && sections.size() >= 2) {
    const int back = std::min(keepIndex, static_cast<int>(sections.size()) - 1);
    std::rotate(sections.begin(), sections.begin() + 1, sections.begin() + back + 1);
  }
}
