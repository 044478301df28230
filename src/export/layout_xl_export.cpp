#include "export/layout_xl_export.h"
#include "platform/number_format.h"

#include "app/message_text.h"
#include "app/profile.h"
#include "export/csv_export.h"
#include "export/layout_xl_grid.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "platform/text_conversions.h"
#include "ranges/qd/qd_rules.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace {

constexpr int kMsgCompilation = 30043;
constexpr int kMaxPictures = 99;

// The exchange's amounts carry a point whatever the user's locale: its cells are
// separated by commas.
std::string Format(const char* format, double value) {
  const std::optional<CNumberFormat> parsed = CNumberFormat::Parse(format);
  return parsed ? parsed->Apply(value) : std::string();
}

void WriteHeader(CXlExportFile& file, const CDorneDoc& document, const CLayoutXlContext& context) {
  auto doc = [&](const char* key, const char* property) {
    WriteXlExportField(file, key, document.GetDocProperty(property), kXlProjectText);
  };
  auto user = [&](const char* key, const char* setting) {
    const std::string value =
        context.profile != nullptr ? context.profile->ReadProfileText("User", setting, "") : "";
    WriteXlExportField(file, key, value, kXlProjectText);
  };
  doc("FolderNo", "NumAff");
  doc("FollowedBy", "Creator");
  user("UserName", "Name");
  user("UserDept", "Dept");
  user("UserPhone", "Phone");
  user("UserFax", "Fax");
  user("UserMail", "Email");
  doc("CreationDate", "CreationDate");
  doc("Title", "Name");
  const std::vector<std::string> comment = CommentLines(document.GetDocProperty("Comment"));
  for (std::size_t i = 0; i < comment.size(); ++i)
    WriteXlExportField(file, "Comment" + std::to_string(i + 1), comment[i], kXlProjectText);
  doc("Modification", "ModificationDate");
  WriteXlExportField(file, "Unit", "", kXlProjectText);
  for (const auto& [key, property] : kXlCustomerKeys) doc(key, property);
  doc("PriceList", "BaseDate");
  doc("PriceListMoney", "BaseMoney");
  WriteXlExportField(file, "ProductLine", "", kXlProjectText);
}

void WriteTotals(CXlExportFile& file, CDorneDoc& document, int record, bool compilation,
                 const CLayoutXlContext& context) {
  document.ComputeRunTotals(false);
  const CDorneDoc::CTotals* totals = document.GetTotals(record);
  const std::string price = totals != nullptr ? Format("%.2f", (*totals)[4]) : "";
  const std::string weight = totals != nullptr ? Format("%.2f", (*totals)[2]) : "";
  WriteXlExportField(file, "TotalPrice", price, kXlNumber);
  const std::string rate = Format("%.3f", document.GetSalesCoefficient());
  WriteXlExportField(file, "Discount", rate, kXlNumber);
  WriteXlExportField(file, "SellingRate", rate, kXlNumber);
  // The installation time the screen shows, where the original wrote a fixed 0.
  const std::string labour = totals != nullptr ? Format("%.2f", (*totals)[3]) : "";
  WriteXlExportField(file, "TotalLabourTime", labour, kXlNumber);
  WriteXlExportField(file, "Compil", compilation ? "#TRUE#" : "#FALSE#", kXlSwitch);
  WriteXlExportField(file, "Packaging", "#FALSE#", kXlSwitch);
  WriteXlExportField(file, "TotalWeight", weight, kXlNumber);
  for (std::size_t i = 0; i < context.documentPictures.size() && i < kMaxPictures; ++i)
    WriteXlExportField(file, "IMG" + std::to_string(i + 1), context.documentPictures[i],
                       kXlProjectText);
  file.AddLine("-,-,-");
}

std::string Heading(const CRun& run) {
  std::string text = run.GetPropText("Name") + " - " + run.GetPropText("Catalog") + " " +
                     RatingText(run.GetPropText("Catalog"), run.GetPropText("Calibre")) + " A";
  if (const std::vector<CCodeLabelRow>* neutrals = run.GetNeutralList()) {
    const std::string neutral = run.GetPropText("Neutral");
    for (const CCodeLabelRow& row : *neutrals) {
      if (row.code == neutral) return text + " - " + row.label;
    }
  }
  return text;
}

// The support count is the whole number that "SUPP" begins with.
long long SupportCount(const CRun& run) { return TextToInt(run.GetPropText("SUPP")); }

// The totals page stands for the whole job: its statistics are those of every run.
CQuotationStats JobStats(CDorneDoc& document) {
  CQuotationStats job;
  for (CRun* run : document.GetRuns()) {
    const CQuotationStats stats = run->GetQuotationStats(false);
    job.specialStraight |= stats.specialStraight;
    job.bookedLength += stats.bookedLength;
    job.junctions += stats.junctions;
    job.pathDevices += stats.pathDevices;
  }
  return job;
}

long long JobSupports(const CDorneDoc& document) {
  long long count = 0;
  for (const CRun* run : document.GetRuns()) count += SupportCount(*run);
  return count;
}

void WriteRun(CXlExportFile& file, CDorneDoc& document, CRun& run, int number, CBOMGrid& grid,
              bool compilation, const CLayoutXlContext& context) {
  grid.NumberLines(1);
  const std::string name = compilation ? StringText(kMsgCompilation) : run.GetPropText("Name");
  file.AddLine(XlQuote(name));
  WriteXlExportField(file, "Line", compilation ? name : Heading(run), kXlLineText);
  const CDorneDoc::CTotals* totals = document.GetTotals(compilation ? 0 : number);
  WriteXlExportField(file, "LineTotal", totals != nullptr ? Format("%.2f", (*totals)[4]) : "",
                     kXlLineValue);
  const std::vector<std::string> remark =
      CommentLines(compilation ? "" : run.GetPropText("Comment"));
  WriteXlExportField(file, "Remark", remark.front(), kXlLineText);
  for (std::size_t i = 0; i < remark.size(); ++i)
    WriteXlExportField(file, "Remark" + std::to_string(i + 1), remark[i], kXlLineText);
  int flags = 1;
  if (totals != nullptr && run.GetPartsState() == 0 && (*totals)[4] > 0) flags |= 2;
  if (totals != nullptr && (*totals)[0] == (*totals)[1]) flags |= 4;
  WriteXlExportField(file, "flgs", std::to_string(flags), kXlLineValue);
  const CQuotationStats stats = compilation ? JobStats(document) : run.GetQuotationStats(false);
  WriteXlExportField(file, "Rising", stats.specialStraight != 0 ? "#TRUE#" : "#FALSE#",
                     kXlLineValue);
  WriteXlExportField(file, "Length", std::to_string(stats.bookedLength), kXlLineValue);
  WriteXlExportField(file, "Elbow", std::to_string(stats.junctions), kXlLineValue);
  WriteXlExportField(file, "Tapoff", std::to_string(stats.pathDevices), kXlLineValue);
  const double weight = totals != nullptr ? (*totals)[2] : 0.0;
  WriteXlExportField(file, "LineWeight", weight == 0.0 ? "" : Format("%.2f", weight), kXlLineValue);
  WriteXlExportField(file, "Support",
                     std::to_string(compilation ? JobSupports(document) : SupportCount(run)),
                     kXlLineValue);
  if (!compilation && number - 1 < static_cast<int>(context.runPictures.size())) {
    const std::vector<std::string>& pictures = context.runPictures[number - 1];
    for (std::size_t i = 0; i < pictures.size() && i < kMaxPictures; ++i)
      WriteXlExportField(file, "IMG" + std::to_string(i + 1), pictures[i], kXlLineText);
  }
  file.AddLine("-,-");
  WriteGridTable(file, grid, compilation ? nullptr : &run);
}

}  // namespace

std::vector<std::string> CommentLines(std::string_view comment) {
  std::vector<std::string> lines;
  std::string rest(comment);
  for (int i = 0; i < 3; ++i) {
    const std::size_t feed = rest.find('\n');
    std::string line;
    if (feed != std::string::npos && feed > 0) {
      line = rest.substr(0, feed);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      rest = rest.substr(feed + 1);
    } else {
      line = rest;
      rest = " ";
    }
    lines.push_back(line.empty() ? " " : line);
  }
  return lines;
}

std::string RatingText(std::string_view catalog, std::string_view code) {
  std::string text(code);
  if (catalog == "QJF") {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kRatings = {
        {{"14", "1000"},
         {"16", "1200"},
         {"18", "1450"},
         {"26", "2200"},
         {"28", "2500"},
         {"36", "3000"},
         {"38", "3400"},
         {"46", "4000"},
         {"48", "4500"}}};
    for (const auto& [from, to] : kRatings) {
      if (text == from) return std::string(to);
    }
    return text;
  }
  // QD codes are not hundreds of amperes: the heading says what the run's ratings say.
  if (catalog.starts_with("QD")) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc{} && end == text.data() + text.size() && QDRatingAmperes(number) > 0)
      return std::to_string(QDRatingAmperes(number));
  }
  const bool fifty = text == "12" || text == "13" || text == "31";
  if (text == "99") text = "100";
  text += fifty ? "5" : "0";
  if (catalog.starts_with("QM")) text += "0";
  return text;
}

CXlExportFile WriteLayoutExchangeFile(CDorneDoc& document, bool allRuns,
                                      const CLayoutXlContext& context) {
  CXlExportFile file;
  CRun* current = document.GetCurrentRun();
  CBOMGrid* totalsPage = !allRuns && current != nullptr && document.GetBomPage() == 0
                             ? current->GetBOM().GetTotalPage()
                             : nullptr;
  const bool compilation = totalsPage != nullptr;
  const int currentNumber = document.FindRunIndex(current) + 1;
  WriteHeader(file, document, context);
  WriteTotals(file, document, allRuns || compilation ? 0 : currentNumber, compilation, context);
  file.AddLine(allRuns ? std::to_string(document.GetRunCount()) : "1");
  if (compilation) {
    WriteRun(file, document, *current, 0, *totalsPage, true, context);
    return file;
  }
  const std::vector<CRun*> runs = document.GetRuns();
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (!allRuns && runs[i] != current) continue;
    WriteRun(file, document, *runs[i], static_cast<int>(i) + 1, runs[i]->GetBOM(), false, context);
  }
  return file;
}
