#include "linear/linear_pricing.h"

#include "app/message_text.h"
#include "linear/linear_messages.h"
#include "linear/linear_price_settings.h"
#include "linear/linear_price_table.h"
#include "linear/linear_slots.h"
#include "linear/linear_tables.h"

namespace {

int ClassifyColumnName(std::string_view name) {
  static constexpr std::pair<std::string_view, int> kNames[] = {{"PRICE()", kColPrice},
                                                                {"PRICE(1)", kColPrice1},
                                                                {"PRICE(2)", kColPrice2},
                                                                {"PRICE(3)", kColPrice3},
                                                                {"PRICE(4)", kColPrice4},
                                                                {"TPS()", kColTime},
                                                                {"PDS()", kColWeight},
                                                                {"COEF", kColCoef},
                                                                {"COEF1", kColCoef1},
                                                                {"COEF2", kColCoef2},
                                                                {"COEF3", kColCoef3},
                                                                {"COEF4)", kColCoef4},
                                                                {"CONV", kColConv},
                                                                {"KCESSION", kColKCession},
                                                                {"Q", kColQ},
                                                                {"C0", kColQ},
                                                                {"C1", kColC1},
                                                                {"C2", kColC2},
                                                                {"C3", kColC3}};
  for (const auto& [text, id] : kNames)
    if (name == text) return id;
  return -1;
}

bool IsLengthSlot(int slot) { return slot == 5 || slot == 6 || slot == 10 || slot == 14; }

int SaleCoefficientRow(const CLinearLine& line, int slot, bool apod) {
  if (IsQpProduct(line.Product)) return apod ? kProductQPC : kProductQPA;
  if (IsQmProduct(line.Product) &&
      ((slot >= 30 && slot <= 50) || (slot >= 53 && slot <= 81) || (slot >= 86 && slot <= 89)))
    return kProductQPA;
  return line.Product;
}

double ColumnNameValue(int name, const CLinearLine& line, int column, int slot,
                       const CLinearPriceBuffer& buffer, const CLinearPriceSettings& settings) {
  const int list =
      settings.priceList >= 0 && settings.priceList < kPriceListCount15 ? settings.priceList : 0;
  const auto& values = line.ItemValues;
  switch (name) {
    case kColPrice: return buffer.blocks[list][slot];
    case kColPrice1:
    case kColPrice2:
    case kColPrice3:
    case kColPrice4: return buffer.blocks[name - kColPrice1][slot];
    case kColTime: return buffer.blocks[CLinearPriceBuffer::kTimeBlock][slot];
    case kColWeight: return buffer.blocks[CLinearPriceBuffer::kWeightBlock][slot];
    case kColCoef: return settings.listCoefs[list];
    case kColCoef1:
    case kColCoef2:
    case kColCoef3:
    case kColCoef4: return settings.listCoefs[name - kColCoef1];
    case kColConv: return settings.taux > 0 ? settings.rates[list] : 1.0;
    case kColKCession: {
      // UseTC set at all (-1: asked for, but the article table has no TC field).
      if (settings.useTc != 0 || settings.kCoefs <= 0) return 1.0;
      const int row = SaleCoefficientRow(line, slot, settings.apod);
      return row >= 0 && row < kLinearProductCount ? settings.saleCoefs[row][0] : 1.0;
    }
    case kColQ: return values[0][slot] * (IsLengthSlot(slot) ? 0.01 : 1.0);
    case kColC1: return column >= 3 ? values[1][slot] : 0.0;
    case kColC2: return column >= 4 ? values[2][slot] : 0.0;
    case kColC3: return column >= 5 ? values[3][slot] * 0.01 : 0.0;
    default: return 0.0;
  }
}

// Column 1: the quantity of a slot, from the line's slots alone.
std::int32_t QuantityOf(const CLinearLine& line, int slot, const CLinearPriceBuffer& buffer) {
  const auto& s = line.Slots;
  switch (slot) {
    case 11: return s[11] > 0 && (s[5] >= 1 || s[6] > 0) ? buffer.blocks[0][10] : 0;
    case 12: {
      if (s[12] <= 0) return 0;
      if (!IsQpProduct(line.Product) || s[10] < 351) return s[9];
      return SaturateToInt32(static_cast<std::int64_t>(s[9]) * ((s[10] - 1) / 350 + 1));
    }
    case 13:
      return SaturateToInt32(std::int64_t{s[13] > 0 ? s[13] : 0} +
                             (s[13] >= 0 && s[9] > 0 ? s[9] : 0));
    case 28: return Slot28Low(s[28]);
    case 29: return Slot28High(s[28]);
    default:
      if (s[slot] < 1) return 0;
      return slot >= kLinearFirstBoxSlot ? BoxQuantity(s[slot]) : s[slot];
  }
}

void ReportColumnFormula(const CLinearFormula& formula, int column, const CLinearTables& tables) {
  bool unknown = formula.IsMalformed();
  for (const CLinearFormula::Operand& operand : formula.Operands())
    if (operand.op != CLinearFormula::Op::Close && operand.number == 0.0 && operand.name < 0 &&
        !operand.text.empty())
      unknown = true;
  if (unknown)
    tables.Report(
        FormatMessageText(kMsgLinearColumnFormulaMalformed, "sd", formula.Text(), column));
}

}  // namespace

CLinearColumnFormulas CLinearColumnFormulas::Parse(const std::array<std::string, 8>& texts) {
  CLinearColumnFormulas parsed;
  for (std::size_t i = 0; i < texts.size(); ++i)
    parsed.formulas[i] = CLinearFormula::Parse(texts[i], ClassifyColumnName);
  return parsed;
}

std::int32_t EvaluatePriceFormula(const CLinearLine& line, int column, int slot,
                                  const CLinearPriceBuffer& buffer, const CLinearFormula& formula,
                                  const CLinearPriceSettings& settings) {
  if (slot < 0 || slot >= kLinearSlotCount) return 0;
  double value = formula.Evaluate<double>([&](const CLinearFormula::Operand& operand) {
    return ColumnNameValue(operand.name, line, column, slot, buffer, settings);
  });
  if (column == 6 || column == 7) value *= 100.0;
  return SaturateToInt32(value);
}

void ComputeLinearItem(CLinearLine& line, int column, const CLinearColumnFormulas& formulas,
                       const CLinearTables& tables, const CLinearPriceSettings& settings) {
  CLinearPriceBuffer buffer;
  LoadLinearFormula(line, tables, buffer);
  // A slot that no row of the price table shows (a choice code, the floor step) prices
  // nothing: the totals are the sum of the rows the user sees.
  const std::array<bool, kLinearSlotCount> shown = CLinearPriceTable::ShownItems(line);
  const int first = column >= 1 && column <= kLinearColumnCount ? column : 1;
  const int last = column >= 1 && column <= kLinearColumnCount ? column : kLinearColumnCount;
  for (int c = first; c <= last; ++c) {
    if (c >= 2) ReportColumnFormula(formulas.formulas[c], c, tables);
    std::int64_t total = 0;
    for (int slot = 0; slot < kLinearSlotCount; ++slot) {
      if (line.Slots[slot] < 0 && slot != 29) continue;
      const std::int32_t value =
          !shown[static_cast<std::size_t>(slot)] ? 0
          : c == 1                               ? QuantityOf(line, slot, buffer)
                   : EvaluatePriceFormula(line, c, slot, buffer, formulas.formulas[c], settings);
      line.ItemValues[c - 1][slot] = value;
      total += value;
    }
    std::int32_t extra = 0;
    if (c == 3) {
      extra = SaturateToInt32(static_cast<double>(total) * settings.services * 0.01);
      total += extra;
    }
    line.ExtraValues[c - 1] = extra;
    line.TotalValues[c - 1] = SaturateToInt32(total);
  }
}
