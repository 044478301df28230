#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/message_text.h"
#include "app/rating_table.h"
#include "platform/text_conversions.h"
#include "linear/linear_messages.h"
#include "linear/linear_pricing.h"
#include "linear/linear_slots.h"
#include "linear/linear_tables.h"
#include "linear/price_vector.h"

namespace {

constexpr int kMaxRememberedNames = 10;

std::string Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

int Positive(std::int32_t value) { return value > 0 ? value : 0; }

// The item prices of one reference (a catalogue reference, or "n_name" for a
// reference name), reporting what cannot be found.
CLinearArticles::Prices ItemPrices(const CLinearLine& line, const CLinearTables& tables,
                                   const std::string& item) {
  std::string reference = item;
  if (item.size() > 2 && item[1] == '_') {
    const auto found = tables.LookupLinearReference(line, item.substr(2));
    if (!found) {
      tables.Report(FormatMessageText(kMsgLinearUnknownName, "ss", item.substr(2),
                                      LinearProductCode(line.Product, tables.Apod())));
      return {};
    }
    reference = *found;
  }
  const CLinearArticles::Prices prices =
      tables.Articles().ReadArticlePrices(reference, tables.PriceList(), tables.UseTc() == 1);
  if (!prices.found) tables.Report(FormatMessageText(kMsgLinearUnknownArticle, "s", reference));
  return prices;
}

void StoreRefCoffRow(const CLinearLine& line, const CLinearTables& tables,
                     const CRefCoffTable::Row& row, int slot, bool qyl,
                     CLinearPriceBuffer& buffer) {
  const int code = BoxIpCode(line.Slots[slot]);
  const int ip1 = row.ip1.size() > 2 ? TextToInt(row.ip1.substr(2)) : (qyl ? 1 : 0);
  const int ip2 = row.ip2.size() > 2 ? TextToInt(row.ip2.substr(2)) : (qyl ? 2 : 0);
  std::string list =
      code == 0 || std::abs(code - ip1) <= std::abs(code - ip2) ? row.ref1 : row.ref2;
  if (IsQyProduct(line.Product)) list += "+5_SUPLUM";
  std::array<double, kPriceListCount15> sums{};
  std::int32_t time = 0, weight = 0;
  bool first = true;
  for (std::size_t start = 0; start <= list.size();) {
    const std::size_t plus = std::min(list.find('+', start), list.size());
    const std::string item = Trim(std::string_view(list).substr(start, plus - start));
    start = plus + 1;
    if (item.empty()) continue;
    const CLinearArticles::Prices prices = ItemPrices(line, tables, item);
    for (int i = 0; i < kPriceListCount15; ++i) sums[i] += prices.prices[i];
    if (first) time = prices.time, weight = prices.weight;
    first = false;
  }
  for (int i = 0; i < kPriceListCount15; ++i) buffer.blocks[i][slot] = SaturateToInt32(sums[i]);
  buffer.blocks[CLinearPriceBuffer::kTimeBlock][slot] = time;
  buffer.blocks[CLinearPriceBuffer::kWeightBlock][slot] = weight;
}

// True when the PARAM text of a LIN_FORM row lets the row apply to the line.
bool ParamHolds(const std::string& param, const CLinearLine& line, bool apod) {
  if (param.size() < 4 || param[2] != ':') return true;
  const std::string_view kind = std::string_view(param).substr(0, 2);
  const std::string_view value = std::string_view(param).substr(3);
  if (kind == "IP") return (param.find("54") != std::string::npos) == (line.IpDegree == 54);
  if (kind == "AP")
    return line.Group >= 0 && line.Group <= 3 &&
           param.find(char('0' + line.Group)) != std::string::npos;
  if (kind == "ED") return TextToInt(value) == Slot24Code(std::max(line.Slots[24], 0));
  if (kind == "Qx") {
    const std::string code = LinearProductCode(line.Product, apod);
    return code.size() >= 3 && !value.empty() && value[0] == code[2];
  }
  return true;
}

double FloorStepsFactor(const CLinearLine& line) {
  if (!IsQpProduct(line.Product)) return 1.0;
  const int step = line.Slots[10];
  return step < 351 ? 1.0 : (step - 1) / 350 + 1;
}

double BarCount(const CLinearLine& line) {
  if (!IsQmProduct(line.Product) && line.Product != kProductQJF) return 0.0;
  const double n = line.Rating / 1000 + (line.Product == kProductQJF ? 0 : 1);
  if (line.Conductors == 12) return 3 * n;
  if (line.Conductors == 15) {
    const double bars = 3.5 * n;
    return bars == std::floor(bars) ? bars : bars + 0.5;
  }
  return 4 * n;
}

double BraidCount(const CLinearLine& line) {
  if (!IsQmProduct(line.Product)) return 0.0;
  int n = line.Rating / 1000;
  if (line.Rating > 1000 && line.Rating < 2000) ++n;
  if (line.Rating == 2500) ++n;
  return line.Conductors == 12 ? 3.0 * n : 4.0 * n;
}

double PdsML(const CLinearLine& line, bool apod) {
  int column = 0;
  switch (line.Conductors) {
    case 12: column = 3; break;
    case 13: column = 4; break;
    case 14: column = IsQmProduct(line.Product) ? 5 : 7; break;
    case 16: column = 6; break;
    default: return 0.0;
  }
  return LookupRatingTable(LinearProductCode(line.Product, apod), line.Rating, column);
}

// The value of a name of the formula dialect that stands for a line variable.
double VariableValue(int name, const CLinearLine& line, bool apod) {
  const auto& s = line.Slots;
  switch (name) {
    case kNameLength: return (static_cast<double>(Positive(s[5])) + Positive(s[6])) * 0.01;
    case kNameFloor: return Positive(s[9]);
    case kNameHeight: return Positive(s[10]) * 0.01;
    case kNameSupV: return Positive(s[9]) * FloorStepsFactor(line);
    case kNameBar: return BarCount(line);
    case kNameBraid: return BraidCount(line);
    case kNameStep: return Slot24Step(std::max(s[24], 0)) * 0.1;
    case kNamePdsML: return PdsML(line, apod);
    case kNameDbl:
      return (line.Product == kProductQMA && line.Rating == 5000) ||
                     (line.Product == kProductQMC && line.Rating == 6300)
                 ? 2.0
                 : 1.0;
    default: return 0.0;
  }
}

struct RememberedName {
  std::string name;
  std::int32_t time = 0;
  std::int32_t weight = 0;
};

double LengthFactor(int slot, const CLinearLine& line, const CLinearTables::Coefficients& c) {
  const auto& s = line.Slots;
  if (slot == 5) return s[5] > 3000 ? c[0] : s[5] > 1000 ? c[1] : c[2];
  if (slot == 6) return s[6] > 3000 ? c[6] : s[6] > 1000 ? c[7] : c[8];
  if (slot == 9) {
    if (s[10] > 360 || (s[10] > 350 && !IsQpProduct(line.Product))) return c[3];
    return s[10] > 300 ? c[4] : c[5];
  }
  return 1.0;
}

std::string RowPlace(const CLinearTables::FormRow& row) {
  return "LIN_FORM.DBF " + Trim(row.prod) + " " + row.fct;
}

void CheckRowFormulas(const CLinearTables::FormRow& row, const CLinearTables& tables) {
  if (row.formule.IsEmpty() || row.formule.IsMalformed())
    tables.Report(
        FormatMessageText(kMsgLinearFormulaMalformed, "ss", row.formule.Text(), RowPlace(row)));
  for (const CLinearFormula* formula : {&row.temps, &row.poids})
    if (formula->IsMalformed())
      tables.Report(
          FormatMessageText(kMsgLinearFormulaMalformed, "ss", formula->Text(), RowPlace(row)));
}

void ApplyFormRow(const CLinearLine& line, const CLinearTables& tables,
                  const CLinearTables::FormRow& row, const CLinearTables::Coefficients& c,
                  CLinearPriceBuffer& buffer) {
  CheckRowFormulas(row, tables);
  std::vector<RememberedName> remembered;
  CPriceVector prices = row.formule.Evaluate<CPriceVector>([&](const CLinearFormula::Operand& o) {
    if (o.name >= 0) return CPriceVector(VariableValue(o.name, line, tables.Apod()));
    if (o.text.empty()) return CPriceVector();
    const auto reference = tables.LookupLinearReference(line, o.text);
    if (!reference) {
      tables.Report(FormatMessageText(kMsgLinearUnknownName, "ss", o.text,
                                      LinearProductCode(line.Product, tables.Apod())));
      return CPriceVector();
    }
    const CLinearArticles::Prices item =
        tables.Articles().ReadArticlePrices(*reference, tables.PriceList(), tables.UseTc() == 1);
    if (!item.found) tables.Report(FormatMessageText(kMsgLinearUnknownArticle, "s", *reference));
    if (remembered.size() < kMaxRememberedNames)
      remembered.push_back({o.text, item.time, item.weight});
    return CPriceVector(item.prices);
  });
  auto scalar = [&](const CLinearFormula& formula, bool time) {
    return formula.Evaluate<double>([&](const CLinearFormula::Operand& o) {
      if (o.name >= 0) return VariableValue(o.name, line, tables.Apod());
      for (const RememberedName& r : remembered)
        if (r.name == o.text) return static_cast<double>(time ? r.time : r.weight);
      return 0.0;
    });
  };
  const std::int32_t time = SaturateToInt32(scalar(row.temps, true));
  const std::int32_t weight = SaturateToInt32(scalar(row.poids, false));
  for (std::size_t start = 0; start <= row.fct.size();) {
    const std::size_t dash = std::min(row.fct.find('-', start), row.fct.size());
    const std::string piece = row.fct.substr(start, dash - start);
    start = dash + 1;
    const int slot = TextToInt(piece);
    if (Trim(piece).empty() || slot < 0 || slot >= kLinearFirstBoxSlot) continue;
    const double factor = LengthFactor(slot, line, c);
    if (factor != 1.0) prices = prices * CPriceVector(factor);
    for (int i = 0; i < kPriceListCount15; ++i)
      buffer.blocks[i][slot] = SaturateToInt32(prices.values[i]);
    buffer.blocks[CLinearPriceBuffer::kTimeBlock][slot] = time;
    buffer.blocks[CLinearPriceBuffer::kWeightBlock][slot] = weight;
  }
}

}  // namespace

void QueryRefCoffByProduct(const CLinearLine& line, const CLinearTables& tables,
                           CLinearPriceBuffer& buffer) {
  if (!tables.RefCoff().IsLoaded()) return;
  const bool qyl = line.Group == 3 && line.Slots[125] > 0;
  for (const CRefCoffTable::Row* row : tables.RefCoff().RowsFor(qyl ? kProductQYL : line.Product)) {
    if (!CRefCoffTable::IsLinearRow(*row)) continue;
    const int slot = row->fct + 29;
    if (slot < kLinearFirstBoxSlot || slot >= kLinearSlotCount || line.Slots[slot] < 0) continue;
    StoreRefCoffRow(line, tables, *row, slot, qyl, buffer);
  }
}

void LoadLinearFormula(const CLinearLine& line, const CLinearTables& tables,
                       CLinearPriceBuffer& buffer) {
  const CLinearTables::Coefficients c = tables.LoadLinearCoefficients(line);
  buffer = CLinearPriceBuffer();
  QueryRefCoffByProduct(line, tables, buffer);
  for (const CLinearTables::FormRow* row : tables.FormRowsFor(line.Product)) {
    const int slot = TextToInt(row->fct);
    if (slot < 0 || slot >= kLinearFirstBoxSlot) continue;
    if (!ParamHolds(row->param, line, tables.Apod())) continue;
    ApplyFormRow(line, tables, *row, c, buffer);
  }
}
