#include "reference/ref_comparison.h"

#include <algorithm>
#include <iterator>

#include "app/message_text.h"
#include "app/profile.h"
#include "platform/dbf_table.h"
#include "platform/number_text.h"
#include "reference/ref_articles.h"
#include "reference/ref_catalogue.h"

using tvr::platform::CDbfTable;

namespace {

constexpr int kMsgCompRowsSkipped = 8169;  // %1 number of records
constexpr char kTable[] = "REF_COMP.DBF";
constexpr char kSection[] = "Comp";

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The item number of a LIB text "IT" n..., 0 when it names none.
int LibItem(std::string_view lib) {
  if (lib.size() < 3 || lib.substr(0, 2) != "IT") return 0;
  const auto number = ParseIntPrefix(lib.substr(2));
  return number && number->value >= 1 && number->value <= CRefComparison::kItemCount ? number->value
                                                                                     : 0;
}

}  // namespace

std::string CompItemKey(int item) { return (item < 10 ? "IT0" : "IT") + std::to_string(item); }

bool CompProductMatches(std::string_view prod, std::string_view productCode) {
  if (productCode.size() < 3 || prod.find(productCode.substr(0, 3)) == std::string_view::npos)
    return false;
  if (productCode.size() <= 3) return true;
  const std::string_view after = prod.substr(std::min<std::size_t>(1, prod.size()));
  if (after.find_first_of("123") != std::string_view::npos &&
      prod.find(productCode[3]) == std::string_view::npos)
    return false;
  const bool endsInX = productCode.back() == 'x';
  if (after.find('x') != std::string_view::npos && !endsInX) return false;
  return after.find('h') == std::string_view::npos || !endsInX;
}

bool CRefComparison::ReadRows(const std::string& catalogueFolder, std::vector<CRefCompRow>& rows,
                              std::string& error) {
  CDbfTable table;
  if (!table.Open(catalogueFolder + kTable)) {
    error = table.Error();
    return false;
  }
  const std::array<int, 7> fields{table.FieldIndex("PROD"),  table.FieldIndex("SOLUTION"),
                                  table.FieldIndex("PARAM"), table.FieldIndex("LIB"),
                                  table.FieldIndex("QTE"),   table.FieldIndex("TYP"),
                                  table.FieldIndex("VAL")};
  if (std::any_of(fields.begin(), fields.end(), [](int field) { return field < 0; })) {
    error = std::string(kTable) + ": PROD, SOLUTION, PARAM, LIB, QTE, TYP or VAL is missing";
    return false;
  }
  rows.clear();
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    rows.push_back({table.FieldRawText(fields[0]), table.FieldText(fields[1]),
                    table.FieldText(fields[2]), table.FieldText(fields[3]),
                    table.FieldText(fields[4]), table.FieldText(fields[5]),
                    table.FieldText(fields[6])});
  }
  return true;
}

bool CRefComparison::CostComparisonSolutions(const CRefCatalogueSetup& setup,
                                             const CRefCompInput& input,
                                             CLinearNotifier* notifier) {
  CLinearReport report(notifier);
  CRefArticles articles;
  std::vector<CRefCompRow> rows;
  std::string error;
  if (!articles.Load(setup.articleFolder, input.priceList, 1)) {
    report.Report(articles.Error());
    return false;
  }
  listName = articles.ListName(input.priceList + 1);
  listCurrency = articles.ListCurrency(input.priceList + 1);
  if (!ReadRows(setup.catalogueFolder, rows, error)) {
    report.Report(error);
    return false;
  }
  Build(rows, &articles, input, report);
  return !SolutionsWithItems().empty();
}

void CRefComparison::Build(const std::vector<CRefCompRow>& rows, const CRefArticles* articles,
                           const CRefCompInput& input, CLinearReport& report) {
  int damaged = 0;
  for (const CRefCompRow& row : rows)
    if (CompProductMatches(row.prod, input.productCode) && !AddRecord(row, articles, input))
      ++damaged;
  if (reference < 0) reference = 0;
  if (damaged > 0) report.Report(FormatMessageTextD(kMsgCompRowsSkipped, damaged));
}

// False only for a record whose quantity or value text cannot be read.
bool CRefComparison::AddRecord(const CRefCompRow& row, const CRefArticles* articles,
                               const CRefCompInput& input) {
  const int n = LibItem(row.lib);
  if (n == 0) return true;
  Item& item = items[static_cast<std::size_t>(n)];
  item.unit = row.typ;
  if (row.val.empty() || row.val.starts_with("Step=")) item.state = kStateListed;
  if ((row.param == "LNPE" || row.param == "3LNPE") &&
      (input.conductorText.empty() || row.param[0] != input.conductorText[0]))
    return true;
  const CRefCompQuantity quantity = EvaluateCompQuantity(row.qte, input.figures);
  const CRefCompValue value = ParseCompValue(row.val, n);
  if (!quantity.valid || !value.valid) return false;
  if (EndsWith(row.lib, "cbl") && cableItem < 0) cableItem = n;
  int priced = n;
  if (item.state != kStateAbsent) item.state = kStateUsed;
  double step = quantity.step;
  if (value.kind == CRefCompValue::kStep) step = value.step;
  if (value.kind == CRefCompValue::kOtherItem) {
    priced = value.item;
    items[static_cast<std::size_t>(priced)].state = kStateUsed;
  }
  if (value.kind == CRefCompValue::kArticle) {
    const CRefArticles::Article* article = articles ? articles->Find(value.reference) : nullptr;
    item.price = article ? TruncatedProduct(article->price * input.coefficient) : 0;
    item.time = article ? article->labour : 0;
    if (value.divisor > 0) item.price /= value.divisor, item.time /= value.divisor;
  }
  const std::uint32_t group = static_cast<std::uint32_t>(n + quantity.group);
  const Entry entry{(group << 16) | static_cast<std::uint32_t>(priced),
                    CompQuantityHundredths(quantity, input.figures.multiplier)};
  AddToSolutions(row.solution, entry, step);
  return true;
}

void CRefComparison::AddToSolutions(std::string_view text, Entry entry, double step) {
  for (std::size_t at = text.find('S'); at != std::string_view::npos; at = text.find('S', at + 1)) {
    const auto number = ParseIntPrefix(text.substr(at + 1));
    if (!number || number->value < 1 || number->value > kSolutionCount) continue;
    Solution& solution = solutions[static_cast<std::size_t>(number->value)];
    if (step > 0) solution.step = step;
    if (reference < 0) reference = number->value;
    if (solution.entries.size() >= kSolutionItems) continue;
    auto place = solution.entries.end();
    // Ordinary items stand before the tap-off and lamp items met so far.
    if (entry.Group() < 100)
      while (place != solution.entries.begin() && std::prev(place)->Group() > 100) --place;
    solution.entries.insert(place, entry);
  }
}

std::vector<int> CRefComparison::SolutionsWithItems() const {
  std::vector<int> numbers;
  for (int k = 1; k <= kSolutionCount; ++k)
    if (!solutions[static_cast<std::size_t>(k)].entries.empty()) numbers.push_back(k);
  return numbers;
}

void CRefComparison::ComputeTotals(std::int64_t labourRate) {
  for (Solution& solution : solutions) {
    solution.time = solution.labour = solution.material = 0;
    for (const Entry& entry : solution.entries) {
      const Item& item = items[static_cast<std::size_t>(entry.PricedItem())];
      // Each amount is held below a hundredth of the 64-bit range: twelve cannot overflow.
      solution.time += CompTimeAmount(item.time, entry.quantity);
      solution.labour += CompLabourAmount(item.time, entry.quantity, labourRate);
      solution.material += CompMaterialAmount(item.price, entry.quantity);
    }
  }
}

void CRefComparison::LoadItems(const CProfile& profile) {
  for (int n = 1; n <= kItemCount; ++n) {
    Item& item = items[static_cast<std::size_t>(n)];
    if (item.state == kStateAbsent) continue;
    ReadCompItemText(profile.ReadProfileText(kSection, CompItemKey(n), "0;0"), item.price,
                     item.time);
  }
}

bool CRefComparison::SaveItems(CProfile& profile) const {
  std::vector<CProfileValue> values;
  for (int n = 1; n <= kItemCount; ++n) {
    const Item& item = items[static_cast<std::size_t>(n)];
    if (item.state != kStateAbsent)
      values.push_back({kSection, CompItemKey(n), CompItemText(item.price, item.time)});
  }
  return values.empty() || profile.WriteProfileValues(values);
}

void CRefComparison::LoadAllItems(const CProfile& profile) {
  for (Item& item : items) item.state = kStateListed;
  LoadItems(profile);
  for (Item& item : items) item.state = kStateAbsent;
}
