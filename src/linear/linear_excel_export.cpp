#include "linear/linear_excel_export.h"

#include <cctype>
#include <cmath>
#include <filesystem>

#include "app/external_process.h"
#include "app/message_text.h"
#include "app/profile.h"
#include "linear/linear_price_table.h"
#include "linear/linear_pricing.h"
#include "linear/linear_slots.h"
#include "linear/linear_tables.h"
#include "platform/number_text.h"

namespace {

constexpr int kMsgGroup0 = 31001, kMsgGroup1 = 31002, kMsgGroup2 = 31003, kMsgGroup3 = 31123;
constexpr int kMsgGroupCaptions[kLinearGroupCount] = {kMsgGroup0, kMsgGroup1, kMsgGroup2,
                                                      kMsgGroup3};

std::string FormatFixed(double value, int decimals) { return FixedDecimalText(value, decimals); }

std::string ConductorText(int conductors, int group) {
  static constexpr const char* kTexts[6] = {"3L+PE",     "3L+N+PE",  "3L+N+PER",
                                            "3L+N/2+PE", "3L+2N+PE", "3L+2N+PER"};
  static constexpr const char* kGroup3[6] = {"L+N+PE",         "3L+N+PE",         "L+N+PE/L+N+PE",
                                             "3L+N+PE/L+N+PE", "3L+N+PE/3L+N+PE", "3L+2N+PER"};
  if (conductors < 12 || conductors > 17) return {};
  return (group == 3 ? kGroup3 : kTexts)[conductors - 12];
}

std::string LineDesignation(const CLinearLine& line, bool apod) {
  std::string code = LinearProductCode(line.Product, apod);
  for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string text =
      (line.Group >= 0 && line.Group < 4 ? LookupText(kMsgGroupCaptions[line.Group]) : "") + " - " +
      line.Name + " - " + code + " " + std::to_string(line.Rating) + " A";
  const std::string conductors = ConductorText(line.Conductors, line.Group);
  return conductors.empty() ? text : text + " - " + conductors;
}

std::string LineLength(const CLinearLine& line) {
  const auto& s = line.Slots;
  std::int64_t centimetres = std::int64_t{std::max(s[5], 0)} + std::max(s[6], 0);
  if (s[10] > 0 && s[9] > 0) centimetres += static_cast<std::int64_t>(s[10]) * s[9];
  return centimetres % 100 == 0 ? std::to_string(centimetres / 100)
                                : FormatFixed(centimetres / 100.0, 2);
}

int TapOffCount(const CLinearLine& line) {
  int count = 0;
  for (int s = kLinearFirstBoxSlot; s < kLinearSlotCount; ++s) count += BoxQuantity(line.Slots[s]);
  return count;
}

std::string Cell(const CLinearPriceTable& table, int row, int column) {
  std::string text;
  table.FormatDesignation(row, column, text);
  return text;
}

void WriteProjectFields(CXlExportFile& file, const CLinearProject& project,
                        const CLinearPriceTable& totals, double weight,
                        const CLinearExportContext& context) {
  WriteXlProjectKeys(file, project, context.profile, project.settings.listTitle,
                     project.settings.listCurrency);
  const auto& p = project;
  const int list = std::clamp(p.settings.priceList, 0, kPriceListCount15 - 1);
  WriteXlExportField(file, "TotalPrice", Cell(totals, -2, 3), kXlNumber);
  WriteXlExportField(file, "Discount", FormatFixed(p.settings.listCoefs[list], 3), kXlNumber);
  WriteXlExportField(file, "TotalLabourTime", Cell(totals, -2, 4), kXlNumber);
  WriteXlExportField(file, "Compil", "#FALSE#", kXlSwitch);
  WriteXlExportField(file, "Packaging", "#FALSE#", kXlSwitch);
  WriteXlExportField(file, "TotalWeight", weight == 0.0 ? "0" : FormatFixed(weight, 2), kXlNumber);
}

void WriteItemTable(CXlExportFile& file, const CLinearPriceTable& table, int variant,
                    const std::array<bool, 8>& shown) {
  static constexpr const char* kWidths[8] = {"c14", "c1", "c3", "c17", "c11", "c", "c", "c"};
  std::string text;
  const int count = table.FormatDesignation(CLinearPriceTable::kCountRows, 0, text);
  auto row = [&](const std::function<std::string(int)>& cell) {
    std::string line;
    bool first = true;
    for (int c = 0; c < 8; ++c) {
      if (!shown[c]) continue;
      line += (first ? "" : ",") + cell(c);
      first = false;
    }
    file.AddLine(line);
  };
  row([](int c) { return std::string(kWidths[c]); });
  row([&](int c) { return XlQuote(Cell(table, 0, c) + (c == 1 ? "    " : "")); });
  row([](int c) { return std::string(c == 0 ? "l" : "r"); });
  row([](int c) { return std::string(c <= 1 ? "\"@\"" : "\" # ##0.00 \""); });
  for (int r = 1; r <= count + 1; ++r) {
    // The row after the items is the line's total.
    const int source = r <= count ? r : -1;
    row([&](int c) {
      if (variant == 1 && c == 3 && r <= count) return std::string();
      std::string cell = Cell(table, source, c);
      if (c == 0) return XlQuote(cell.empty() ? cell : " - " + cell + std::string(20, ' '));
      return c == 1 ? XlQuote(cell) : cell;
    });
  }
  row([&](int c) { return std::string(variant == 0 && c >= 2 && c <= 4 ? "#TRUE#" : "#FALSE#"); });
}

void WriteLineFields(CXlExportFile& file, const CLinearLine& line, const CLinearPriceTable& table,
                     bool apod) {
  file.AddLine(XlQuote(line.Name));
  WriteXlExportField(file, "Line", LineDesignation(line, apod), kXlLineText);
  for (const auto& [key, column] : {std::pair{"LineTotal", 3}, {"LineLabourTime", 4}}) {
    const std::string cell = Cell(table, -3, column);
    WriteXlExportField(file, key, cell.empty() ? "\"\"" : cell, kXlLineValue);
  }
  const std::vector<std::string> remarks = XlTextPieces(line.Comment, 4);
  WriteXlExportField(file, "Remark", remarks[0], kXlLineText);
  for (int i = 0; i < 4; ++i)
    WriteXlExportField(file, "Remark" + std::to_string(i + 1), remarks[i], kXlLineText);
  WriteXlExportField(file, "Rising", line.Group == 1 ? "#TRUE#" : "#FALSE#", kXlLineValue);
  WriteXlExportField(file, "Length", LineLength(line), kXlLineValue);
  WriteXlExportField(
      file, "Elbow",
      std::to_string(std::int64_t{std::max(line.Slots[7], 0)} + std::max(line.Slots[8], 0)),
      kXlLineValue);
  WriteXlExportField(file, "Tapoff", std::to_string(TapOffCount(line)), kXlLineValue);
  WriteXlExportField(file, "LineWeight",
                     line.LineWeight == 0.0 ? "" : FormatFixed(line.LineWeight, 2), kXlLineValue);
}

}  // namespace

void WriteXlProjectHeadKeys(CXlExportFile& file, const CProjectFields& project,
                            const CProfile* profile) {
  auto field = [&](const char* key, const std::string& value) {
    WriteXlExportField(file, key, value, kXlProjectText);
  };
  auto user = [&](const char* key) {
    return profile ? profile->ReadProfileText("User", key, "") : std::string();
  };
  const auto& p = project;
  field("FolderNo", p.Property("NumAff"));
  field("FollowedBy", p.Property("Creator"));
  field("UserName", user("Name"));
  field("UserDept", user("Dept"));
  field("UserPhone", user("Phone"));
  field("UserFax", user("Fax"));
  field("UserMail", user("Email"));
  field("CreationDate", p.Property("CreationDate"));
  field("Title", p.Property("Name"));
  const std::vector<std::string> comment = XlTextPieces(p.Property("Comment"), 3);
  for (int i = 0; i < 3; ++i) field(("Comment" + std::to_string(i + 1)).c_str(), comment[i]);
  field("Modification", p.Property("ModificationDate"));
}

void WriteXlProjectKeys(CXlExportFile& file, const CProjectFields& project, const CProfile* profile,
                        const std::string& listName, const std::string& currency) {
  auto field = [&](const char* key, const std::string& value) {
    WriteXlExportField(file, key, value, kXlProjectText);
  };
  WriteXlProjectHeadKeys(file, project, profile);
  field("Unit", " ");
  for (const auto& [key, property] : kXlCustomerKeys) field(key, project.Property(property));
  field("PriceList", listName);
  field("PriceListMoney", currency);
  field("ProductLine", "");
}

double SumLineTotals(CLinearProject& project, const CLinearExportContext& context) {
  const CLinearColumnFormulas formulas =
      CLinearColumnFormulas::Parse(project.settings.columnFormulas);
  const bool open = context.tables && context.tables->IsOpen();
  double sum = 0.0;
  const int count = project.lines.FindLine(0, CLinearLineList::kAllLines, context.enabled);
  for (int n = 1; n <= count; ++n) {
    CLinearLine& line =
        project.lines.Line(project.lines.FindLine(n, CLinearLineList::kAllLines, context.enabled));
    line.LineWeight = 0.0;
    if (!open) continue;
    ComputeLinearItem(line, 5, formulas, *context.tables, project.settings);
    line.LineWeight = line.TotalValues[4] * 0.001 * line.Multiplier();
    sum += line.LineWeight;
  }
  return sum;
}

CXlExportFile WriteExcelExchangeFile(CLinearProject& project, int variant,
                                     const CLinearExportContext& context) {
  CXlExportFile file;
  const double weight = SumLineTotals(project, context);
  CLinearPriceTable::Settings settings{project.settings.services, '.', project.settings.apod,
                                       context.enabled};
  const CLinearLine empty;
  const CLinearPriceTable totals(project.lines.LineCount() > 0 ? project.lines.Line(0) : empty,
                                 settings, &project.lines, CLinearLineList::kAllLines);
  WriteProjectFields(file, project, totals, weight, context);
  file.AddLine("-,-,-");
  const int count = project.lines.FindLine(0, CLinearLineList::kAllLines, context.enabled);
  file.AddLine(std::to_string(count));
  int shown = 0;
  for (bool column : context.columnsShown) shown += column ? 1 : 0;
  for (int n = 1; n <= count; ++n) {
    const CLinearLine& line =
        project.lines.Line(project.lines.FindLine(n, CLinearLineList::kAllLines, context.enabled));
    const CLinearPriceTable table(line, settings);
    WriteLineFields(file, line, table, project.settings.apod);
    file.AddLine("-,-");
    std::string ignored;
    file.AddLine(
        std::to_string(table.FormatDesignation(CLinearPriceTable::kCountRows, 0, ignored)) + "," +
        std::to_string(shown));
    WriteItemTable(file, table, variant, context.columnsShown);
  }
  return file;
}
