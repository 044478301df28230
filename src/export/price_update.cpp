#include "export/price_update.h"

#include "app/command_line.h"
#include "app/expression.h"
#include "export/cost_summary.h"
#include "export/part_number_link.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_group.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "platform/number_format.h"
#include "platform/text_conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <unordered_set>

namespace {

constexpr std::array<std::string_view, 18> kFieldNames = {
    "Part_#",       "Qty",          "Designation", "Std_Cost",    "List_Qty",  "Single_Qty",
    "Std_Discount", "Spc_Discount", "VAT",         "Std_Labor",   "Spc_Labor", "PN_Type",
    "Std_Fam_Dis",  "Spc_Fam_Dis",  "Std_Fam_Lbr", "Spc_Fam_Lbr", "Weight",    "ENumber"};
enum Field : std::size_t {
  kPart = 0,
  kQty = 1,
  kDesignation = 2,
  kCost = 3,
  kDiscount = 6,
  kSpcDiscount = 7,
  kVat = 8,
  kLabor = 9,
  kSpcLabor = 10,
  kType = 11,
  kFamDiscount = 12,
  kSpcFamDiscount = 13,
  kFamLabor = 14,
  kSpcFamLabor = 15,
  kWeight = 16
};
constexpr std::size_t kMinFields = 17;

using CArticle = std::vector<std::string>;

struct CReferenceRecord {
  std::string reference;
  std::string lookup;
  CRun* run;
  int line;
  bool formula;
};

std::string Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// Stored texts are read back with a point whatever the user's locale.
std::string Printf(const char* format, double value) {
  const std::optional<CNumberFormat> parsed = CNumberFormat::Parse(format);
  return parsed ? parsed->Apply(value) : std::string();
}

CArticle SplitArticle(const std::string& line) {
  CArticle fields;
  std::size_t start = 0;
  while (start <= line.size() && fields.size() < kFieldNames.size()) {
    std::size_t tab = line.find('\t', start);
    if (tab == std::string::npos) tab = line.size();
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  // A line that ends with its TAB leaves no empty field behind it.
  if (!line.empty() && line.back() == '\t' && fields.size() > 1 && fields.back().empty() &&
      start > line.size())
    fields.pop_back();
  return fields;
}

bool IsFormulaText(const CReferenceRecord& record) {
  return record.lookup.find_first_of("+-*/") != std::string::npos &&
         record.lookup != record.reference;
}

bool IsOperatorOrNumber(const std::string& word) {
  if (word == "+" || word == "-" || word == "*" || word == "/") return true;
  double value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc{} && end == word.data() + word.size();
}

std::vector<CReferenceRecord> CollectRecords(CRun& run) {
  std::vector<CReferenceRecord> records;
  CBOMGrid& grid = run.GetBOM();
  for (int row = grid.GetLineCount() - 1; row >= 1; --row) {
    const CBOMLine* line = grid.GetLine(row);
    if (line == nullptr || Trim(line->reference).empty()) continue;
    CReferenceRecord record{line->reference, {}, &run, row, false};
    record.lookup = PriceLookupText(
        line->reference, run.GetDevicePropByRef(line->reference, "NEEDREF").value_or(""));
    if (std::optional<std::string> formula = run.GetPriceFormula(line->reference)) {
      record.lookup = *formula;
      record.formula = true;
    }
    records.push_back(std::move(record));
  }
  return records;
}

std::vector<std::string> ArticleList(const std::vector<CReferenceRecord>& records) {
  std::vector<std::string> list;
  std::unordered_set<std::string> seen;
  auto add = [&](const std::string& text) {
    if (seen.insert(text).second) list.push_back(text);
  };
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (!IsFormulaText(*record)) {
      add(record->lookup);
      continue;
    }
    for (const std::string& word : SplitCommandLine(record->lookup)) {
      if (!IsOperatorOrNumber(word)) add(word);
    }
  }
  return list;
}

// The designations of the option suffix's parts, one line each, then a blank.
std::string SuffixDesignation(CRun& run, const std::string& reference,
                              const std::vector<CArticle>& articles) {
  const std::optional<std::string> suffix = run.GetReferenceOptionSuffix(reference);
  if (!suffix) return " ";
  std::string text;
  std::size_t start = 0;
  while (start <= suffix->size()) {
    std::size_t plus = suffix->find('+', start);
    if (plus == std::string::npos) plus = suffix->size();
    const std::string part = suffix->substr(start, plus - start);
    for (const CArticle& article : articles) {
      if (article[kPart] != part) continue;
      if (!text.empty()) text += "\r\n";
      text += article[kDesignation];
    }
    start = plus + 1;
  }
  return text + " ";
}

// The formula line in the form of an article: every value the formula evaluated with the
// articles' values of the same field. Nothing when a word is neither article nor number.
std::optional<CArticle> FormulaArticle(const CReferenceRecord& record,
                                       const std::vector<CArticle>& articles) {
  std::unordered_set<std::string> names;
  for (const CArticle& article : articles) names.insert(article[kPart]);
  for (const std::string& word : SplitCommandLine(record.lookup)) {
    if (!IsOperatorOrNumber(word) && names.count(word) == 0) return std::nullopt;
  }
  CArticle line(kFieldNames.size());
  line[kPart] = record.lookup;
  line[kQty] = "1";
  line[kDesignation] = SuffixDesignation(*record.run, record.reference, articles);
  line[kType] = " ";
  std::vector<std::string> variables;
  for (std::size_t field = 0; field < line.size(); ++field) {
    if (field == kPart || field == kQty || field == kDesignation || field == kType) continue;
    variables.clear();
    for (const CArticle& article : articles) {
      if (field < article.size()) variables.push_back(article[kPart] + "=" + article[field]);
    }
    line[field] = Printf("%g", EvaluateExpression(record.lookup, variables));
  }
  return line;
}

void ApplyArticle(const CReferenceRecord& record, const CArticle& article) {
  CRun& run = *record.run;
  const std::string flag =
      run.GetBOM().GetLineFieldText(record.line, kBOMFieldGroupFlag).value_or("");
  const bool unpriced = Trim(flag).starts_with('!');
  std::vector<long long> discounts;
  long long labour = 0;
  for (std::size_t field = 0; field < article.size(); ++field) {
    const std::string& text = article[field];
    switch (field) {
      case kPart:
      case kQty: break;
      case kDiscount:
      case kSpcDiscount:
      case kFamDiscount:
      case kSpcFamDiscount: discounts.push_back(TextToInt(text)); break;
      case kLabor:
      case kSpcLabor:
      case kFamLabor:
      case kSpcFamLabor: labour += TextToInt(text); break;
      default: {
        const bool drop = unpriced && (field == kCost || field == kVat || field == kWeight);
        run.SetDevicePropByRef(record.reference, "HBv2_" + std::string(kFieldNames[field]),
                               drop ? std::string() : text);
      }
    }
  }
  run.SetDevicePropByRef(record.reference, "HBv2_Std_Discount",
                         Printf("%.4g", static_cast<double>(DiscountFactor(discounts)) * 0.0001));
  run.SetDevicePropByRef(record.reference, "HBv2_Std_Labor", std::to_string(labour));
}

const CArticle* FindArticle(const std::vector<CArticle>& lines, const std::string& lookup) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if ((*line)[kPart] == lookup) return &*line;
  }
  return nullptr;
}

// The working copies of the cost comparison are not the user's: their faults go unnamed.
void AddUnbuiltElements(const CRun& run, std::vector<std::string>& names) {
  if (run.GetCatalogueKnown() < 0) return;
  const std::vector<CDev*>& devices = run.GetDevices();
  for (const CDev* element : run.GetUnbuiltElements()) {
    const auto at = std::find(devices.begin(), devices.end(), element);
    std::string name = run.GetPropText("Name") + "." + std::to_string(at - devices.begin());
    std::string text = element->GetReference();
    text.erase(text.find_last_not_of(' ') + 1);
    if (!text.empty()) name += " " + text;
    if (element->GetBookedLength() > 0) name += " l=" + std::to_string(element->GetBookedLength());
    names.push_back(std::move(name));
  }
}

}  // namespace

std::string PriceLookupText(std::string_view reference, std::string_view needRef) {
  std::string text = Trim(needRef.empty() ? reference : needRef);
  text = text.substr(0, text.find(' '));
  if (text.size() >= 10 && text.starts_with("QJ0")) {
    if (text[5] == 'A' && text[6] >= 'A' && text[6] <= 'L') text.resize(9);
    else if (text[5] == 'B' && text[6] == 'C') text.resize(8);
  }
  return text;
}

std::string MissingArticleName(std::string_view reference, std::string_view needRef) {
  std::string text = Trim(CutGroupSuffix(needRef.empty() ? reference : needRef));
  const std::size_t blank = text.find(' ');
  if (blank != std::string::npos && text.find('=', blank) != std::string::npos) text.resize(blank);
  return text;
}

long long DiscountFactor(const std::vector<long long>& discounts) {
  long long factor = 10000;
  for (long long discount : discounts) factor = factor * (10000 - discount) / 10000;
  return factor;
}

CPriceUpdateReport UpdatePrices(CDorneDoc& document, CPartNumberLink& link,
                                const CPriceBaseNames& base) {
  CPriceUpdateReport report;
  BuildCostSummary(document, 1);
  const std::vector<CRun*> runs = document.GetRuns();
  std::vector<bool> rebuilt(runs.size(), false);
  std::vector<CReferenceRecord> records;
  for (std::size_t i = runs.size(); i-- > 0;) {
    CRun& run = *runs[i];
    if (run.GetPartsState() == 0 || run.GetCatalogueKnown() < 0) {
      run.RebuildParts(0);
      rebuilt[i] = true;
    }
    std::array<double, 5> totals = run.GetKeptTotals();
    for (std::size_t t = 0; t < 4; ++t) totals[t] = 0;
    run.SetKeptTotals(totals);
    for (CReferenceRecord& record : CollectRecords(run)) records.push_back(std::move(record));
  }
  for (const CRun* run : runs) AddUnbuiltElements(*run, report.unbuilt);
  report.tableOpened = link.WriteArticleList(ArticleList(records));
  std::vector<CArticle> articles;
  while (std::optional<std::string> line = link.TakeNextLine()) {
    CArticle fields = SplitArticle(*line);
    if (fields.size() >= kMinFields && fields.size() <= kFieldNames.size())
      articles.push_back(std::move(fields));
  }
  report.problems = link.Problems();
  std::vector<CArticle> lines;
  std::unordered_set<std::string> formulasDone;
  for (const CReferenceRecord& record : records) {
    if (!record.formula || !formulasDone.insert(record.lookup).second) continue;
    if (std::optional<CArticle> line = FormulaArticle(record, articles))
      lines.push_back(std::move(*line));
    else if (report.tableOpened) report.formulas.push_back(record.lookup);
  }
  lines.insert(lines.end(), articles.begin(), articles.end());
  std::unordered_set<std::string> missing;
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (const CArticle* article = FindArticle(lines, record->lookup))
      ApplyArticle(*record, *article);
    else if (report.tableOpened && !record->formula && missing.insert(record->lookup).second)
      report.missing.push_back(MissingArticleName(
          record->reference,
          record->run->GetDevicePropByRef(record->reference, "NEEDREF").value_or("")));
  }
  // The weights of a built run are the range's own (its parts' developed lengths): the
  // price base's figure just applied would hold until the next update, which then
  // changed every weight with nothing else changed. A run built above had them worked
  // out by its build, before the price base wrote over them. All are weighed before any
  // total is made.
  std::vector<bool> weighed(runs.size(), false);
  for (std::size_t i = runs.size(); i-- > 0;) weighed[i] = runs[i]->ComputeWeights() != 0.0;
  bool totalsDone = false;
  for (std::size_t i = runs.size(); i-- > 0;) {
    CRun& run = *runs[i];
    if (!rebuilt[i]) {
      if (!weighed[i]) run.GetBOM().NumberLines(1);
      continue;
    }
    if (!totalsDone) document.ComputeRunTotals(true);
    totalsDone = true;
    run.GetBOM().NumberLines(1);
    if (const CDorneDoc::CTotals* totals = document.GetTotals(static_cast<int>(i) + 1))
      run.SetKeptTotals(*totals);
  }
  BuildCostSummary(document, 0);
  document.SetDocPropertyModified("BaseDate", base.date);
  document.SetDocPropertyModified("BaseMoney", base.money);
  document.RecomputeTotals(1, 1);
  document.SetModifiedFlag(true);
  document.UpdateAllViews();
  return report;
}
