#include "reference/ref_comparison_view.h"

#include <algorithm>
#include <charconv>

#include "app/message_text.h"
#include "platform/number_text.h"
#include "reference/ref_report.h"

namespace {

constexpr int kMsgTime = 31539, kMsgLabour = 32168, kMsgMaterial = 32167, kMsgSalePrice = 31538,
              kMsgDifference = 32175, kMsgSolutionNames = 32115, kMsgItemNames = 32124,
              kMsgQuantity = 31456, kMsgUnit = 32170, kMsgAmount = 32169, kMsgOrdinaryItems = 32171,
              kMsgTapOffItems = 32172, kMsgLampItems = 32200, kMsgTotal = 32174;

std::string WithDecimal(std::string text, char decimal) {
  std::replace(text.begin(), text.end(), '.', decimal);
  return text;
}

std::string Money(std::int64_t value, char decimal) {
  return FormatGroupedNumber(value, decimal, false, true);
}

// Group classes of the detail: ordinary, tap-off and lamp items.
int GroupClass(int group) { return group > 200 ? 2 : group > 100 ? 1 : 0; }

std::string GroupTitle(int groupClass, double step, char decimal) {
  if (groupClass == 1) return StringText(kMsgTapOffItems);
  if (groupClass == 2) return StringText(kMsgLampItems);
  std::string text = StringText(kMsgOrdinaryItems);
  if (step > 0) {
    const std::size_t at = text.find("%1");
    const std::string value =
        WithDecimal(PrecisionText(step, std::chars_format::general, 6), decimal);
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
  }
  const std::size_t bracket = text.find('(');
  if (bracket != std::string::npos && bracket > 0) text.erase(bracket);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string QuantityText(std::int64_t quantity, const std::string& unit, char decimal) {
  std::string text = std::to_string(quantity / 100);
  if (quantity % 100 != 0)
    text += decimal + std::string(quantity % 100 < 10 ? "0" : "") + std::to_string(quantity % 100);
  return unit.empty() ? text : text + ' ' + unit;
}

CRefCompDetailRow ItemRow(const CRefComparison& comparison, const CRefComparison::Entry& entry,
                          std::int64_t rate, char decimal) {
  const auto& item = comparison.items[static_cast<std::size_t>(entry.PricedItem())];
  CRefCompDetailRow row;
  row.cells = {StringText(kMsgItemNames + entry.LabelItem()),
               QuantityText(entry.quantity, item.unit, decimal),
               FormatGroupedNumber(item.price, decimal, true, true),
               Money(CompMaterialAmount(item.price, entry.quantity), decimal),
               Money(item.time, decimal),
               Money(CompTimeAmount(item.time, entry.quantity), decimal),
               Money(CompLabourAmount(item.time, entry.quantity, rate), decimal)};
  return row;
}

std::vector<CRefCompDetailRow> HeaderRows() {
  CRefCompDetailRow top{CRefCompDetailRow::kHeader, {}};
  top.cells = {"", StringText(kMsgQuantity), StringText(kMsgMaterial), "", StringText(kMsgTime),
               "", StringText(kMsgLabour)};
  CRefCompDetailRow pairs{CRefCompDetailRow::kHeader, {}};
  pairs.cells = {"",
                 "",
                 StringText(kMsgUnit),
                 StringText(kMsgAmount),
                 StringText(kMsgUnit),
                 StringText(kMsgAmount),
                 ""};
  return {top, pairs};
}

}  // namespace

std::string FormatGroupedNumber(std::int64_t value, char decimal, bool fourDecimals, bool grouped) {
  if (value < 0) return std::string("### ###") + decimal + "##";
  return fourDecimals ? RefUnitPriceText(value, decimal, grouped)
                      : RefHundredthsText(value, decimal, grouped);
}

std::string CompPercentText(std::int64_t sum, std::int64_t referenceSum) {
  if (referenceSum == 0) return "-";
  const double percent =
      static_cast<double>(sum - referenceSum) * 100.0 / static_cast<double>(referenceSum);
  std::string text = FixedDecimalText(percent, 0);
  if (text.empty() || text.front() != '-') text.insert(0, 1, '+');
  return text + '%';
}

std::int64_t CompChartStep(std::int64_t largest) {
  std::int64_t step = 1000;
  constexpr std::int64_t kLargestStep = std::int64_t{1} << 56;
  for (int turn = 0; largest >= 8 * step && step < kLargestStep; ++turn)
    step = turn % 3 == 0 ? step * 5 / 2 : step * 2;
  return step;
}

std::int64_t CompChartEnd(std::int64_t largest) {
  const std::int64_t step = CompChartStep(largest);
  return (std::max<std::int64_t>(largest, 0) / step + 1) * step;
}

std::string CompSolutionListName(int solution) {
  const std::string text = StringText(kMsgSolutionNames + solution - 1);
  return text.substr(0, text.find('/'));
}

std::string CompSolutionHead(int solution) {
  const std::string text = StringText(kMsgSolutionNames + solution - 1);
  const std::size_t slash = text.find('/');
  return slash == std::string::npos ? text : text.substr(slash + 1);
}

std::array<std::string, 5> CompOverviewLabels() {
  return {StringText(kMsgTime), StringText(kMsgLabour), StringText(kMsgMaterial),
          StringText(kMsgSalePrice), StringText(kMsgDifference)};
}

std::vector<CRefCompColumn> CompOverview(const CRefComparison& comparison, char decimal) {
  const std::size_t reference = static_cast<std::size_t>(std::max(comparison.reference, 0));
  const std::int64_t referenceSum = comparison.solutions[reference].Sum();
  std::vector<CRefCompColumn> columns;
  for (int k : comparison.SolutionsWithItems()) {
    const auto& solution = comparison.solutions[static_cast<std::size_t>(k)];
    CRefCompColumn column{k, CompSolutionHead(k), {}, solution.labour, solution.material};
    column.cells = {Money(solution.time, decimal), Money(solution.labour, decimal),
                    Money(solution.material, decimal), Money(solution.Sum(), decimal),
                    WithDecimal(CompPercentText(solution.Sum(), referenceSum), decimal)};
    columns.push_back(std::move(column));
  }
  return columns;
}

std::vector<CRefCompDetailRow> CompDetailRows(const CRefComparison& comparison, int solution,
                                              int length, std::int64_t labourRate, char decimal) {
  std::vector<CRefCompDetailRow> rows = HeaderRows();
  if (solution < 1 || solution > CRefComparison::kSolutionCount) return rows;
  const auto& chosen = comparison.solutions[static_cast<std::size_t>(solution)];
  int groupClass = -1;
  std::int64_t material = 0, time = 0, labour = 0;
  for (const auto& entry : chosen.entries) {
    if (GroupClass(entry.Group()) != groupClass) {
      groupClass = GroupClass(entry.Group());
      rows.push_back({CRefCompDetailRow::kGroup, {GroupTitle(groupClass, chosen.step, decimal)}});
    }
    const auto& item = comparison.items[static_cast<std::size_t>(entry.PricedItem())];
    material += CompMaterialAmount(item.price, entry.quantity);
    time += CompTimeAmount(item.time, entry.quantity);
    labour += CompLabourAmount(item.time, entry.quantity, labourRate);
    rows.push_back(ItemRow(comparison, entry, labourRate, decimal));
  }
  rows.push_back(
      {CRefCompDetailRow::kTotal,
       {"", "", "", Money(material, decimal), "", Money(time, decimal), Money(labour, decimal)}});
  rows.push_back({CRefCompDetailRow::kSummary,
                  {StringText(kMsgTotal), "", "", Money(material + labour, decimal)}});
  const std::string perMetre = length > 0 ? Money((material + labour) / length, decimal) : "-     ";
  rows.push_back({CRefCompDetailRow::kSummary, {StringText(kMsgSalePrice), "", "", perMetre}});
  return rows;
}
