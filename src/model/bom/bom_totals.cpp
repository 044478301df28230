#include "model/bom/bom_totals.h"

#include <charconv>
#include <algorithm>

#include "platform/text_conversions.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_group.h"
#include "model/bom/bom_line.h"
#include "model/bom/bom_source.h"

namespace {

// The column kinds that show the summed fields, in the order of CBOMTotals::kFields.
constexpr std::array<int, 8> kFieldKinds = {
    kBOMKindUnitPrice,  kBOMKindSalesCoefficient, kBOMKindUnitWeight, kBOMKindTotalPrice,
    kBOMKindSalesPrice, kBOMKindTotalWeight,      kBOMKindComment,    kBOMKindDesignation};
// Decimals of the numeric fields as the total page shows them.
constexpr std::array<int, 6> kDecimals = {2, 3, 3, 2, 2, 3};

std::string FixedText(double value, int decimals) {
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, result.ptr);
}

}  // namespace

CBOMTotals::CResult CBOMTotals::Compute(CBOMGrid& total, std::span<const CBOMTotalsPage> pages,
                                        bool values, bool packaging) {
  m_merged.clear();
  m_lines.assign(1, CLineSums{});
  m_keys.clear();
  CResult result;
  for (const CBOMTotalsPage& page : pages) {
    if (page.grid == nullptr) continue;
    if (!page.complete) result.allComplete = false;
    MergePage(*page.grid, values);
  }
  FillGrid(total, values);
  if (values) {
    result.packaging = result.allComplete && packaging;
    for (int row = total.GetLineCount() - 1; row >= 1; --row)
      FinishLine(total, row, result.packaging);
  }
  // Every line added or changed above was refreshed then: numbering is what is left.
  total.NumberLines(2);
  return result;
}

void CBOMTotals::MergePage(const CBOMGrid& page, bool values) {
  for (int row = 1; row < page.GetLineCount(); ++row) {
    const CBOMLine* line = page.GetLine(row);
    const std::int64_t quantity = page.GetLineQuantity(row);
    if (line == nullptr || quantity < 1) continue;
    const std::string key = m_keyMaker.KeyOf(line->reference);
    // Lines without price are counted where their priced line is.
    if (key.empty() || ParseBOMGroup(line->reference).flag == '!') continue;
    const auto [found, added] = m_keys.try_emplace(key, m_merged.size());
    if (added) {
      m_merged.push_back({line->reference, 0});
      m_lines.emplace_back();
    }
    CMerged& merged = m_merged[found->second];
    merged.quantity = std::min(merged.quantity + quantity, CBOMGrid::kMaxQuantity);
    if (values) AddLineValues(page, row, quantity, m_lines[found->second + 1]);
  }
}

void CBOMTotals::FillGrid(CBOMGrid& total, bool values) {
  // The grid is rebuilt only when its lines differ; a change of quantities, the usual
  // case, adjusts the lines in place.
  bool same = !m_valuesShown && total.GetLineCount() - 1 == static_cast<int>(m_merged.size());
  for (std::size_t i = 0; same && i < m_merged.size(); ++i) {
    same = total.GetLine(static_cast<int>(i) + 1)->reference == m_merged[i].reference;
  }
  m_valuesShown = values;
  if (!same) {
    total.ClearLines();
    for (const CMerged& merged : m_merged) total.AddRefQuantity(merged.reference, merged.quantity);
    return;
  }
  for (std::size_t i = 0; i < m_merged.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    const std::int64_t change = m_merged[i].quantity - total.GetLineQuantity(row);
    if (change > 0) total.AddRefQuantity(m_merged[i].reference, change);
    if (change < 0) total.RemoveRefQuantity(m_merged[i].reference, -change);
  }
}

void CBOMTotals::AddLineValues(const CBOMGrid& page, int row, std::int64_t quantity,
                               CLineSums& sums) const {
  sums.valued = true;
  if (const CBOMSource* source = page.GetRecordSource()) {
    const std::string_view reference = page.GetLine(row)->reference;
    const std::int64_t pack =
        TextToInt(source->GetDevicePropByRef(reference, kRunPackQuantity).value_or(""));
    if (pack > 0) sums.packQuantity = pack;
  }
  for (std::size_t k = 0; k < kFieldKinds.size(); ++k) {
    const std::string text = page.GetLineFieldText(row, kFieldKinds[k]).value_or(std::string());
    if (k >= 6) {
      sums.texts[k - 6] = text;
    } else {
      const double x = TextToDouble(text);
      sums.sums[k] += k < 3 ? static_cast<double>(quantity) * x : x;
    }
  }
}

void CBOMTotals::FinishLine(CBOMGrid& total, int row, bool packaging) {
  CLineSums& sums = m_lines[static_cast<std::size_t>(row)];
  if (!sums.valued) return;
  const std::int64_t quantity = total.GetLineQuantity(row);
  const double totalPrice = sums.sums[3];
  const double salesPrice = sums.sums[4];
  const double totalWeight = sums.sums[5];
  const double count = quantity > 0 ? static_cast<double>(quantity) : 1.0;
  const std::array<double, 6> shown = {
      totalPrice / count,  totalPrice > 0 ? salesPrice / totalPrice : 1.0,
      totalWeight / count, totalPrice,
      salesPrice,          totalWeight};
  for (std::size_t k = 0; k < shown.size(); ++k) sums.shown[k] = FixedText(shown[k], kDecimals[k]);
  sums.shown[6] = sums.texts[0];
  sums.shown[7] = sums.texts[1];
  const std::int64_t pack = sums.packQuantity;
  if (packaging && pack > 1 && quantity % pack != 0) {
    total.AddRefQuantity(total.GetLine(row)->reference, pack - quantity % pack);
    for (std::size_t k : {3u, 4u, 5u}) sums.shown[k].clear();
  }
  WriteCells(total, row);
}

void CBOMTotals::WriteCells(CBOMGrid& total, int row) const {
  const CLineSums& sums = m_lines[static_cast<std::size_t>(row)];
  for (int column = 2; column < total.GetColumnCount(); ++column) {
    const CBOMColumn* record = total.GetColumn(column);
    for (std::size_t k = 0; k < kFieldKinds.size(); ++k) {
      if (record->kind == kFieldKinds[k])
        total.SetCell(row, column, sums.shown[k], record->alignment);
    }
  }
}

std::optional<std::string> CBOMTotals::GetValue(int row, std::string_view field) const {
  if (row < 1 || static_cast<std::size_t>(row) >= m_lines.size() ||
      !m_lines[static_cast<std::size_t>(row)].valued) {
    return std::nullopt;
  }
  for (std::size_t k = 0; k < kFields.size(); ++k) {
    if (kFields[k] == field) return m_lines[static_cast<std::size_t>(row)].shown[k];
  }
  return std::nullopt;
}

std::int64_t CBOMTotals::GetPackQuantity(int row) const {
  if (row < 1 || static_cast<std::size_t>(row) >= m_lines.size()) return 0;
  return m_lines[static_cast<std::size_t>(row)].packQuantity;
}
