#include <cmath>

#include "linear/linear_excel_export.h"
#include "platform/number_text.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_export_records.h"

namespace {

constexpr int kColumns = 7;
constexpr std::array<const char*, kColumns> kColumnKinds = {"c0", "c18", "c14", "c7",
                                                            "c1", "c17", "c11"};
constexpr std::array<const char*, kColumns> kNumberFormats = {
    "@", "@", "@", " # ##0.00## ", " # ##0 ", " # ##0.00 ", " # ##0.00 "};
constexpr std::array<const char*, 5> kConductorTexts = {"L+N+PE", "3L+N+PE", "L+N+PE/L+N+PE",
                                                        "3L+N+PE/L+N+PE", "3L+N+PE/3L+N+PE"};

std::string Coefficient(double value) {
  return PrecisionText(value, std::chars_format::general, 3);
}

std::string Weight(double value, bool emptyWhenZero) {
  if (value == 0.0) return emptyWhenZero ? "" : "0";
  return FixedDecimalText(value, 2);
}

bool Packaging(const CRefExportContext& context) { return context.summary && context.packaging; }

int CurrentRecord(const CRefExportContext& context) {
  if (context.summary) return 0;
  if (context.current > 0) return context.current;
  return context.selection.empty() ? 0 : context.selection.front();
}

double ProductCoefficient(const CRefProject& project, int kind) {
  if (kind < 0 || kind >= kRefProductCount) return 0.0;
  return project.priceSettings.productCoefs[static_cast<std::size_t>(kind)][0];
}

void WriteProjectKeys(CXlExportFile& file, const CRefProject& project,
                      const CRefExportContext& context, double weight) {
  WriteXlProjectKeys(file, project, context.profile, project.priceSettings.listName,
                     project.priceSettings.currency);
  const CRefReportView totals = ExportReportView(project, context, CurrentRecord(context));
  WriteXlExportField(file, "TotalPrice", ReportText(totals, kRefReportSelectionTotal, 5),
                     kXlNumber);
  const std::string discount =
      context.summary ? project.lines[0].comment
                      : Coefficient(ProductCoefficient(
                            project, project.lines[CurrentRecord(context)].productKind));
  WriteXlExportField(file, "Discount", discount, kXlNumber);
  WriteXlExportField(file, "TotalLabourTime",
                     Packaging(context) ? "0" : ReportText(totals, kRefReportSelectionTotal, 6),
                     kXlNumber);
  WriteXlExportField(file, "Compil", context.summary ? "#TRUE#" : "#FALSE#", kXlSwitch);
  WriteXlExportField(file, "Packaging", Packaging(context) ? "#TRUE#" : "#FALSE#", kXlSwitch);
  WriteXlExportField(file, "TotalWeight", Weight(weight, false), kXlNumber);
}

std::string LineTitle(const CRefProject& project, const CRefExportContext& context,
                      const CRefLine& line) {
  if (context.summary) return SummaryTitle(project, context.treeCode);
  std::string title = RefGroupName(line.group) + " - " + line.name + " - " +
                      UpperProductCode(line.productKind) + " " + std::to_string(line.rating) + " A";
  if (line.conductors >= 0 && line.conductors < static_cast<int>(kConductorTexts.size()))
    title += std::string(" - ") + kConductorTexts[static_cast<std::size_t>(line.conductors)];
  return title;
}

std::string LineLength(const CRefLine& line) {
  const int extra = line.productKind == kRefProductQYX ? line.Component(36) : 0;
  if (extra == 0) return std::to_string(line.length);
  // The extra length of a QYX line is kept in centimetres above 100.
  const std::int64_t centimetres = std::int64_t{line.length} * 100 + (extra - 100);
  if (centimetres % 100 == 0) return std::to_string(centimetres / 100);
  return FixedDecimalText(static_cast<double>(centimetres) / 100.0, 2);
}

std::int64_t PositiveSum(const CRefLine& line, std::initializer_list<int> functions) {
  std::int64_t sum = 0;
  for (int function : functions) sum += std::max(line.Component(function), 0);
  return sum;
}

std::int64_t ElbowCount(const CRefLine& line) {
  switch (line.productKind) {
    case 1:
    case 2: return PositiveSum(line, {21, 22});
    case 3: return PositiveSum(line, {20, 21, 23});
    case 4:
    case 5:
    case 7:
    case 8: return PositiveSum(line, {18, 19, 20, 21, 22});
    default: return 0;
  }
}

std::int64_t TapOffCount(const CRefLine& line) {
  if (line.productKind == kRefProductQYX) return 0;
  std::int64_t units = 0;
  for (std::int32_t slot : line.slots) units += CRefLine::SlotUnits(slot);
  return units;
}

void WriteLineKeys(CXlExportFile& file, const CRefLine& line, const CRefReportView& view,
                   const std::string& title, bool packaging) {
  const int totalRow = view.workingSums ? kRefReportSelectionTotal : kRefReportLineTotal;
  WriteXlExportField(file, "Line", title, kXlLineText);
  auto total = [&](const char* key, int column) {
    const std::string text = ReportText(view, totalRow, column);
    WriteXlExportField(file, key, text.empty() ? "\"\"" : text, kXlLineValue);
  };
  total("LineTotal", 5);
  if (!packaging) total("LineLabourTime", 6);
  const std::vector<std::string> remarks = XlTextPieces(line.comment, 4);
  WriteXlExportField(file, "Remark", remarks[0], kXlLineText);
  for (int i = 0; i < 4; ++i)
    WriteXlExportField(file, "Remark" + std::to_string(i + 1), remarks[static_cast<std::size_t>(i)],
                       kXlLineText);
  WriteXlExportField(file, "Rising", "#FALSE#", kXlLineValue);
  WriteXlExportField(file, "Length", LineLength(line), kXlLineValue);
  WriteXlExportField(file, "Elbow", std::to_string(ElbowCount(line)), kXlLineValue);
  WriteXlExportField(file, "Tapoff", std::to_string(TapOffCount(line)), kXlLineValue);
  WriteXlExportField(file, "LineWeight", Weight(line.weight, true), kXlLineValue);
}

void WriteReportTable(CXlExportFile& file, const CRefReportView& view, bool packaging) {
  std::vector<int> columns;
  for (int c = 0; c < kColumns; ++c) {
    std::int64_t code = 0;
    ReportText(view, kRefReportHeader, c, &code);
    if (!(packaging && c == 6) && code != kRefReportHidden) columns.push_back(c);
  }
  auto row = [&](auto cell) {
    std::string line;
    for (int c : columns) line += (c == columns.front() ? "" : ",") + cell(c);
    file.AddLine(line);
  };
  row([](int c) { return std::string(kColumnKinds[static_cast<std::size_t>(c)]); });
  row([&](int c) { return XlQuote(ReportText(view, kRefReportHeader, c)); });
  row([](int c) { return std::string(c <= 2 ? "l" : "r"); });
  row([](int c) { return XlQuote(kNumberFormats[static_cast<std::size_t>(c)]); });
  std::string ignored;
  const auto rows = WriteLineReport(view, kRefReportRowCount, 0, ignored);
  for (int r = 1; r <= rows; ++r)
    row([&](int c) {
      const std::string text = ReportText(view, r, c);
      return c <= 2 ? XlQuote(text) : text;
    });
  row([](int c) { return std::string(c >= 5 ? "#TRUE#" : "#FALSE#"); });
}

}  // namespace

double ComputeLineWeights(CRefProject& project, const CRefExportContext& context) {
  const bool open = context.catalogue && context.catalogue->IsOpen();
  double total = 0.0;
  for (int record : ExportedRecords(context)) {
    if (record < 0 || record >= CRefProject::kLineCount) continue;
    CRefLine& line = project.lines[static_cast<std::size_t>(record)];
    line.weight = 0.0;
    if (!open) continue;
    for (const CRefItemNode& item : line.Items()) {
      std::int32_t mass = 0;
      // The second reference shown beside a reference is no part of it.
      const std::string reference = item.reference.substr(0, item.reference.find("\n\r"));
      if (context.catalogue->ReadReferenceMass(reference, mass))
        line.weight += mass * 0.001 * item.quantity;
    }
    total += line.weight;
  }
  return total;
}

CXlExportFile WriteXlExchangeFile(CRefProject& project, const CRefExportContext& context) {
  if (context.summary) ComputeSummary(project, context);
  CXlExportFile file;
  WriteProjectKeys(file, project, context, ComputeLineWeights(project, context));
  file.AddLine("-,-,-");
  const std::vector<int> records = ExportedRecords(context);
  file.AddLine(std::to_string(records.size()));
  const bool packaging = Packaging(context);
  for (int record : records) {
    if (record < 0 || record >= CRefProject::kLineCount) continue;
    const CRefLine& line = project.lines[static_cast<std::size_t>(record)];
    const CRefReportView view = ExportReportView(project, context, record);
    const std::string title = LineTitle(project, context, line);
    file.AddLine(XlQuote(title));
    WriteLineKeys(file, line, view, title, packaging);
    file.AddLine("-,-");
    std::string ignored;
    file.AddLine(std::to_string(WriteLineReport(view, kRefReportRowCount, 0, ignored)) + "," +
                 (packaging ? "5" : "6"));
    WriteReportTable(file, view, packaging);
  }
  return file;
}
