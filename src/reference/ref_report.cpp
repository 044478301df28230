#include "reference/ref_report.h"

#include <array>
#include <charconv>
#include <vector>

#include "app/message_text.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_config.h"
#include "reference/ref_project_lines.h"

namespace {

constexpr std::array<int, kRefReportColumns> kMsgHeadings = {31446, 31520, 61451, 31533,
                                                             31456, 31538, 31519};
constexpr std::array<int, 4> kMsgGroups = {31001, 31002, 32059, 32060};
constexpr int kMsgProject = 31005;
// The selection's title names the selected item ("Total of ..."); 31065 counts lines.
constexpr int kMsgSelectionTotal = 32188;
constexpr int kMsgLineTotal = 31132;
constexpr int kColumnSecondRef = 1;
constexpr int kColumnUnitPrice = 3;
constexpr int kColumnQuantity = 4;
constexpr int kColumnAmount = 5;
constexpr int kColumnLabour = 6;
constexpr int kLabelOther = -9;

// One row below the header: a group label (item < 0) or an item.
struct ReportRow {
  int kind = 0;
  int item = -1;
};

std::vector<ReportRow> ReportRows(const CRefLine& line) {
  std::vector<ReportRow> rows;
  std::array<bool, 6> labelled{};
  const auto& items = line.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const int kind = items[i].kind;
    if (kind >= 0 && kind < 6 && !labelled[static_cast<std::size_t>(kind)]) {
      labelled[static_cast<std::size_t>(kind)] = true;
      rows.push_back({kind, -1});
    }
    rows.push_back({kind, static_cast<int>(i)});
  }
  return rows;
}

int LabelMessage(const CRefLine& line, int kind) {
  const bool qfp = line.productKind == kRefProductQFP;
  switch (kind) {
    case 0: return 32012;
    case 1: return qfp ? 32087 : 32018;
    case 2: return 32020;
    case 3: return line.group != 3 ? 32023 : line.lineMode == 3 ? 32268 : 32028;
    case 4: return 32032;
    default: return qfp ? 32211 : 32039;
  }
}

std::string Grouped(std::int64_t whole, bool grouped) {
  std::string digits = std::to_string(whole);
  if (!grouped) return digits;
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), 1, ' ');
  return digits;
}

std::string Padded(std::int64_t value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width)
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}

const CRefLine& Line(const CRefReportSource& source, int index) {
  return source.project->lines[static_cast<std::size_t>(index)];
}

std::string SelectionName(const CRefReportSource& source) {
  const int code = source.selection;
  if (code == kRefCodeProject) return StringText(kMsgProject);
  if (IsRefGroupCode(code)) return StringText(kMsgGroups[static_cast<std::size_t>(-2000 - code)]);
  if (IsRefProductNodeCode(code)) return std::string(RefProductCode((-1000 - code) % 10));
  return {};
}

std::string WithParameter(int message, const std::string& value) {
  std::string text = StringText(message);
  const std::size_t at = text.find("%1");
  if (at == std::string::npos) return text + " " + value;
  return text.replace(at, 2, value);
}

std::int64_t TotalRow(const CRefReportSource& source, int row, int column, std::string& text,
                      int flags) {
  const CRefLine& current = Line(source, source.current);
  if (column == kColumnQuantity) {
    text = row == kRefRowSelectionTotal
               ? WithParameter(kMsgSelectionTotal, SelectionName(source))
               : WithParameter(kMsgLineTotal, std::to_string(current.lineQuantity));
    return -1;
  }
  if (column != kColumnAmount && column != kColumnLabour) return kRefReportNoCell;
  auto sum = [column](const CRefLine& line) {
    return column == kColumnAmount ? RefLineAmount(line) : RefLineLabour(line);
  };
  std::int64_t total = 0;
  const bool fromWorking = flags == kRefReportPlainTotals ||
                           (flags == kRefReportScreen && source.totalsFromWorkingRecord);
  if (row == kRefRowLineTotal) total = sum(current);
  else if (fromWorking) total = sum(Line(source, 0));
  else
    for (int n = 1;; ++n) {
      const int index = FindRefLine(*source.project, *source.config, n, source.selection);
      if (index < 0) break;
      total += sum(Line(source, index));
    }
  text = FormatRefAmount(total, source.decimal, flags == kRefReportScreen);
  return total;
}

bool IsLengthItem(const CRefItemNode& item) {
  return (item.kind == 1 || item.kind == ~1) && item.reference.rfind("QFP", 0) == 0;
}

std::int64_t ItemCell(const CRefReportSource& source, const CRefItemNode& item, int column,
                      std::string& text, bool grouped) {
  const std::size_t split = item.reference.find("\n\r");
  switch (column) {
    case 0: text = item.reference.substr(0, split); return -1;
    case kColumnSecondRef: {
      const std::size_t second = item.reference.find("\n\r / ");
      text = second == std::string::npos ? std::string() : item.reference.substr(second + 5);
      return -1;
    }
    case 2: text = item.designation; return -1;
    case kColumnUnitPrice:
      text = FormatRefUnitPrice(item.unitPrice, source.decimal, grouped);
      return item.unitPrice / 100;
    case kColumnQuantity:
      text = std::to_string(item.quantity);
      if (IsLengthItem(item)) text += item.quantity < 1000 ? " m" : "m";
      return item.quantity;
    case kColumnAmount: {
      const std::int64_t amount = RefItemAmount(item);
      text = FormatRefAmount(amount, source.decimal, grouped);
      return amount;
    }
    default: {
      const std::int64_t labour = static_cast<std::int64_t>(item.labour) * item.quantity;
      text = FormatRefAmount(labour, source.decimal, grouped);
      return labour;
    }
  }
}

bool ColumnHidden(const CRefReportSource& source, int column) {
  const bool secondRefs = (source.config->Refs() & 1) != 0;
  return (column == kColumnSecondRef && !secondRefs) || (column == kColumnUnitPrice && secondRefs);
}

}  // namespace

std::int64_t RefItemAmount(const CRefItemNode& item) {
  const std::int64_t product = static_cast<std::int64_t>(item.unitPrice) * item.quantity;
  return product / 100 + (product % 100 >= 50 ? 1 : 0);
}

std::int64_t RefLineAmount(const CRefLine& line) {
  std::int64_t total = 0;
  for (const CRefItemNode& item : line.Items()) total += RefItemAmount(item);
  return total;
}

std::int64_t RefLineLabour(const CRefLine& line) {
  std::int64_t total = 0;
  for (const CRefItemNode& item : line.Items())
    total += static_cast<std::int64_t>(item.labour) * item.quantity;
  return total;
}

std::string FormatRefAmount(std::int64_t value, char decimal, bool grouped) {
  if (value < 0) return "-" + FormatRefAmount(-value, decimal, grouped);
  return Grouped(value / 100, grouped) + decimal + Padded(value % 100, 2);
}

std::string FormatRefUnitPrice(std::int64_t value, char decimal, bool grouped) {
  if (value < 0) return "-" + FormatRefUnitPrice(-value, decimal, grouped);
  if (value % 100 == 0) return FormatRefAmount(value / 100, decimal, grouped);
  const std::string whole = Grouped(value / 10000, grouped) + decimal;
  if (value % 10 == 0) return whole + Padded(value % 10000 / 10, 3);
  return whole + Padded(value % 10000, 4);
}

std::int64_t WriteLineReport(const CRefReportSource& source, int row, int column, std::string& text,
                             int flags) {
  text.clear();
  if (source.project == nullptr || source.config == nullptr) return kRefReportNoCell;
  if (source.current < 0 || source.current >= CRefProject::kLineCount) return kRefReportNoCell;
  const std::vector<ReportRow> rows = ReportRows(Line(source, source.current));
  if (row == kRefReportRowCount) return static_cast<std::int64_t>(rows.size());
  if (row < kRefRowSelectionTotal || column < 0 || column > 7) return kRefReportNoCell;
  if (column >= kRefReportColumns) return kRefReportNoCell;
  if (ColumnHidden(source, column)) return kRefReportHidden;
  if (row == 0) {
    text = StringText(kMsgHeadings[static_cast<std::size_t>(column)]);
    return -2;
  }
  if (row < 0) return TotalRow(source, row, column, text, flags);
  if (row > static_cast<int>(rows.size())) return kRefReportNoCell;
  const ReportRow& at = rows[static_cast<std::size_t>(row - 1)];
  const CRefLine& line = Line(source, source.current);
  if (at.item < 0) {
    if (column != 2) return kLabelOther;
    text = "** " + StringText(LabelMessage(line, at.kind)) + " **";
    return -10 - at.kind;
  }
  return ItemCell(source, line.Items()[static_cast<std::size_t>(at.item)], column, text,
                  flags == kRefReportScreen);
}

double ComputeLineTotals(CRefProject& project, const CRefConfig& config, int selection,
                         const CRefArticles* packQuantities) {
  CRefLine& total = project.lines[0];
  total.Assign(nullptr);
  std::int64_t raw = 0;
  std::int64_t divided = 0;
  for (int n = 1;; ++n) {
    const int index = FindRefLine(project, config, n, selection);
    if (index < 0) break;
    const CRefLine& line = project.lines[static_cast<std::size_t>(index)];
    for (CRefItemNode item : line.Items()) {
      item.kind = ~item.kind;
      total.AddItemNode(item);
    }
    const std::int64_t amount = RefLineAmount(line);
    const double coefficient = config.Coefficient(line.productKind);
    raw += amount;
    divided += coefficient > 0
                   ? static_cast<std::int64_t>(static_cast<double>(amount) / coefficient)
                   : amount;
  }
  const double overall =
      divided != 0 ? static_cast<double>(raw) / static_cast<double>(divided) : 0.0;
  std::array<char, 32> buffer{};
  auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), overall,
                               std::chars_format::general, 3);
  total.comment.assign(buffer.data(), written.ptr);
  if (packQuantities != nullptr) ApplyIndividualQuantities(total, *packQuantities);
  return overall;
}
