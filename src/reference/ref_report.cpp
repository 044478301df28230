#include "reference/ref_report.h"

#include <cmath>
#include <limits>
#include <set>

#include "app/message_text.h"
#include "platform/number_text.h"
#include "reference/ref_catalogue.h"

namespace {

constexpr int kMsgRefHeadReference = 31446;
constexpr int kMsgRefHeadSecondReference = 31520;
constexpr int kMsgRefHeadDesignation = 61451;
constexpr int kMsgRefHeadUnitPrice = 31533;
constexpr int kMsgRefHeadQuantity = 31456;
constexpr int kMsgRefHeadAmount = 31538;
constexpr int kMsgRefHeadLabour = 31519;
constexpr int kMsgRefSelectionTotal = 31065;  // %1 the selected tree item
constexpr int kMsgRefLineTotal = 31132;       // %1 the line quantity
constexpr int kMsgRefZoneFeed = 32012;
constexpr int kMsgRefZoneStraight = 32018;
constexpr int kMsgRefZoneSupplementary = 32020;
constexpr int kMsgRefZoneTapOff = 32023;
constexpr int kMsgRefZoneLuminaireConnectors = 32028;
constexpr int kMsgRefZoneLightBoxes = 32268;
constexpr int kMsgRefZoneFixing = 32032;
constexpr int kMsgRefZoneLuminaireFixing = 32039;
constexpr int kMsgRefZoneLuminaireLine = 32087;
constexpr int kMsgRefZoneLuminaireOptions = 32211;

constexpr std::array<int, 7> kHeadings = {
    kMsgRefHeadReference, kMsgRefHeadSecondReference, kMsgRefHeadDesignation, kMsgRefHeadUnitPrice,
    kMsgRefHeadQuantity,  kMsgRefHeadAmount,          kMsgRefHeadLabour};

constexpr std::string_view kSecondReferenceMark = "\n\r / ";

// One row of the item part: a group label (item null) or an item.
struct CReportRow {
  int labelKind = -1;
  const CRefItemNode* item = nullptr;
};

std::vector<CReportRow> ReportRows(const CRefLine& line) {
  std::vector<CReportRow> rows;
  std::set<int> labelled;
  for (const CRefItemNode& item : line.Items()) {
    // The merged items of a selection keep complemented kinds, which have no label.
    if (item.kind >= 0 && item.kind <= 5 && labelled.insert(item.kind).second)
      rows.push_back({item.kind, nullptr});
    rows.push_back({-1, &item});
  }
  return rows;
}

int LabelMessage(const CRefLine& line, int kind) {
  const bool luminaires = line.productKind == kRefProductQFP;
  switch (kind) {
    case 0: return kMsgRefZoneFeed;
    case 1: return luminaires ? kMsgRefZoneLuminaireLine : kMsgRefZoneStraight;
    case 2: return kMsgRefZoneSupplementary;
    case 3:
      if (line.group != 3) return kMsgRefZoneTapOff;
      return line.lineMode == 3 ? kMsgRefZoneLightBoxes : kMsgRefZoneLuminaireConnectors;
    case 4: return kMsgRefZoneFixing;
    default: return luminaires ? kMsgRefZoneLuminaireOptions : kMsgRefZoneLuminaireFixing;
  }
}

std::string WithArgument(int message, const std::string& argument) {
  std::string text = StringText(message);
  const std::size_t at = text.find("%1");
  if (at == std::string::npos) return text + " " + argument;
  return text.replace(at, 2, argument);
}

std::string GroupedDigits(std::uint64_t value, bool grouped) {
  std::string digits = std::to_string(value);
  if (!grouped) return digits;
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), 1, ' ');
  return digits;
}

std::string FractionDigits(std::uint64_t value, int width) {
  std::string digits = std::to_string(value);
  return std::string(static_cast<std::size_t>(width) - std::min<std::size_t>(digits.size(), width),
                     '0') +
         digits;
}

bool IsLength(const CRefItemNode& item) {
  return item.reference.starts_with("QFP") && (item.kind == 1 || item.kind == ~1);
}

std::int64_t ItemCell(const CRefReportView& view, const CRefItemNode& item, int column,
                      std::string& text) {
  const std::size_t mark = item.reference.find("\n\r");
  switch (column) {
    case 0: text = item.reference.substr(0, mark); return kRefReportText;
    case 1: {
      const std::size_t second = item.reference.find(kSecondReferenceMark);
      text = second == std::string::npos
                 ? ""
                 : item.reference.substr(second + kSecondReferenceMark.size());
      return kRefReportText;
    }
    case 2: text = item.designation; return kRefReportText;
    case 3:
      text = RefUnitPriceText(item.unitPrice, view.decimal, view.grouped);
      return item.unitPrice / 100;
    case 4:
      text = std::to_string(item.quantity);
      if (IsLength(item)) text += item.quantity < 1000 ? " m" : "m";
      return item.quantity;
    case 5: {
      const std::int64_t amount = RefItemAmount(item);
      text = RefHundredthsText(amount, view.decimal, view.grouped);
      return amount;
    }
    case 6: {
      const std::int64_t labour = std::int64_t{item.labour} * item.quantity;
      text = RefHundredthsText(labour, view.decimal, view.grouped);
      return labour;
    }
    default: return kRefReportNoCell;
  }
}

// Every sum of amounts stops at the ends of 64 bits: a line of many items at the largest
// price and quantity would wrap to a negative total.
std::int64_t SaturatedSum(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<std::int64_t>::max()
               : std::numeric_limits<std::int64_t>::min();
}

std::int64_t SumOver(const CRefLine& line, int column) {
  std::int64_t sum = 0;
  for (const CRefItemNode& item : line.Items())
    sum = SaturatedSum(
        sum, column == 5 ? RefItemAmount(item) : std::int64_t{item.labour} * item.quantity);
  return sum;
}

bool ValidLine(int index) { return index >= 0 && index < CRefProject::kLineCount; }

std::int64_t TotalCell(const CRefReportView& view, int row, int column, std::string& text) {
  const CRefProject& project = *view.project;
  const CRefLine& line = project.lines[static_cast<std::size_t>(view.current)];
  if (column == 4) {
    text = row == kRefReportLineTotal
               ? WithArgument(kMsgRefLineTotal, std::to_string(line.lineQuantity))
               : WithArgument(kMsgRefSelectionTotal, view.selectionName);
    return kRefReportText;
  }
  if (column != 5 && column != 6) return kRefReportNoCell;
  std::int64_t sum = 0;
  if (row == kRefReportLineTotal) sum = SumOver(line, column);
  else if (view.workingSums) sum = SumOver(project.lines[0], column);
  else
    for (int index : view.selection)
      if (ValidLine(index))
        sum = SaturatedSum(sum, SumOver(project.lines[static_cast<std::size_t>(index)], column));
  text = RefHundredthsText(sum, view.decimal, view.grouped);
  return sum;
}

}  // namespace

std::int64_t RefItemAmount(const CRefItemNode& item) {
  const std::int64_t product = std::int64_t{item.unitPrice} * item.quantity;
  const std::int64_t whole = product / 100, rest = product % 100;
  return rest >= 50 ? whole + 1 : rest <= -50 ? whole - 1 : whole;
}

std::string RefHundredthsText(std::int64_t value, char decimal, bool grouped) {
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  return (value < 0 ? "-" : "") + GroupedDigits(magnitude / 100, grouped) + decimal +
         FractionDigits(magnitude % 100, 2);
}

std::string RefUnitPriceText(std::int64_t value, char decimal, bool grouped) {
  if (value % 100 == 0) return RefHundredthsText(value / 100, decimal, grouped);
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  const std::uint64_t fraction = magnitude % 10000;
  const std::string decimals =
      magnitude % 10 == 0 ? FractionDigits(fraction / 10, 3) : FractionDigits(fraction, 4);
  return (value < 0 ? "-" : "") + GroupedDigits(magnitude / 10000, grouped) + decimal + decimals;
}

std::int64_t WriteLineReport(const CRefReportView& view, int row, int column, std::string& text) {
  text.clear();
  if (!view.project || !ValidLine(view.current)) return kRefReportNoCell;
  if (row < kRefReportSelectionTotal || column < 0 || column > 7) return kRefReportNoCell;
  const bool secondReferences = (view.refs & 1) != 0;
  if ((column == 1 && !secondReferences) || (column == 3 && secondReferences))
    return kRefReportHidden;
  if (row == kRefReportHeader) {
    if (column >= static_cast<int>(kHeadings.size())) return kRefReportNoCell;
    text = StringText(kHeadings[static_cast<std::size_t>(column)]);
    return kRefReportHeading;
  }
  if (row < 0) return TotalCell(view, row, column, text);
  const CRefLine& line = view.project->lines[static_cast<std::size_t>(view.current)];
  const std::vector<CReportRow> rows = ReportRows(line);
  if (row == kRefReportRowCount) return static_cast<std::int64_t>(rows.size());
  if (row > static_cast<int>(rows.size())) return kRefReportNoCell;
  const CReportRow& cell = rows[static_cast<std::size_t>(row - 1)];
  if (cell.item) return ItemCell(view, *cell.item, column, text);
  if (column != 2) return kRefReportLabelCell;
  text = "** " + StringText(LabelMessage(line, cell.labelKind)) + " **";
  return kRefReportLabel - cell.labelKind;
}

namespace {

// The amount divided by the line's product coefficient (none at 0), held within 64 bits:
// a coefficient near zero gives a quotient beyond them.
std::int64_t DividedAmount(std::int64_t amount, double coefficient) {
  if (!(coefficient > 0.0)) return amount;
  const double quotient = std::trunc(static_cast<double>(amount) / coefficient);
  constexpr double kLimit = 9.2e18;  // below 2^63, so the cast is defined
  if (std::isnan(quotient)) return 0;
  if (quotient >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (quotient <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(quotient);
}

}  // namespace

void ComputeLineTotals(CRefProject& project, const std::vector<int>& selection,
                       const CRefArticles* individualQuantities) {
  CRefLine& working = project.lines[0];
  working.Assign(nullptr);
  std::vector<CRefItemNode> merged;
  std::int64_t raw = 0, divided = 0;
  for (int index : selection) {
    if (index <= 0 || index >= CRefProject::kLineCount) continue;
    const CRefLine& line = project.lines[static_cast<std::size_t>(index)];
    std::int64_t amount = 0;
    for (CRefItemNode item : line.Items()) {
      amount = SaturatedSum(amount, RefItemAmount(item));
      item.kind = ~item.kind;
      merged.push_back(std::move(item));
    }
    const int kind = line.productKind;
    const double coefficient =
        kind >= 0 && kind < kRefProductCount ? project.priceSettings.productCoefs[kind][0] : 0.0;
    raw = SaturatedSum(raw, amount);
    divided = SaturatedSum(divided, DividedAmount(amount, coefficient));
  }
  working.AddItemNodes(merged);
  const double overall =
      divided == 0 ? 0.0 : static_cast<double>(raw) / static_cast<double>(divided);
  working.comment = PrecisionText(overall, std::chars_format::general, 3);
  if (individualQuantities) ApplyIndividualQuantities(working, *individualQuantities);
}
