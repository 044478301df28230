#include <cctype>
#include <optional>

#include "app/message_text.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_export_records.h"

namespace {

constexpr int kMsgRefApplicationName = 17;
constexpr int kMsgRefProductQFP = 32064;
constexpr int kMsgRefProductQYA = 32063;
constexpr int kMsgRefProductQYB = 32231;
constexpr int kMsgRefProductQDA = 32062;
constexpr int kMsgRefProductQPA = 32061;
constexpr int kMsgRefProductQpc = 32419;
constexpr int kMsgRefProductQYX = 32276;
constexpr int kMsgRefProductQpa = 32420;
constexpr int kMsgRefProductQPC = 32233;
constexpr std::array<int, kRefProductCount> kProductNameMessages = {
    kMsgRefProductQFP, kMsgRefProductQYA, kMsgRefProductQYB, kMsgRefProductQDA, kMsgRefProductQPA,
    kMsgRefProductQpc, kMsgRefProductQYX, kMsgRefProductQpa, kMsgRefProductQPC};

std::string ProductName(int kind) {
  if (kind < 0 || kind >= kRefProductCount) return {};
  return StringText(kProductNameMessages[static_cast<std::size_t>(kind)]);
}

// A CSV field holding the separator, a quote or a line break goes between quotes, its
// quotes doubled, so that a reader keeps it one field.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
  return XlQuote(text);
}

bool ColumnShown(const CRefReportView& view, int column) {
  std::int64_t code = 0;
  ReportText(view, kRefReportHeader, column, &code);
  return code != kRefReportHidden;
}

void WriteCsvTitleRow(CXlExportFile& file, const CRefReportView& view, const CRefLine& line) {
  std::string row;
  for (int c = 1; c <= 6; ++c) {
    if (!ColumnShown(view, c)) continue;
    row += ";";
    if (c == 2)
      row += CsvField(RefGroupName(line.group) + " - " + ProductName(line.productKind) + " - " +
                      line.name);
  }
  file.AddLine(row);
}

// The XML writer's lines, indented by one tab a level.
class CXmlLines {
 public:
  explicit CXmlLines(CXlExportFile& file) : m_file(file) {}
  void Line(const std::string& text) { m_file.AddLine(std::string(m_depth, '\t') + text); }
  void Indent() { ++m_depth; }
  void Outdent() { --m_depth; }
  void Open(const std::string& element) { Line("<" + element + ">"), ++m_depth; }
  void Close(const std::string& element) { --m_depth, Line("</" + element + ">"); }
  void Element(const std::string& element, const std::string& text) {
    Line("<" + element + ">" + text + "</" + element + ">");
  }

 private:
  CXlExportFile& m_file;
  std::size_t m_depth = 0;
};

std::string XmlLineText(const CRefProject& project, const CRefExportContext& context,
                        const CRefLine& line) {
  if (context.summary) return SummaryTitle(project, context.treeCode);
  return RefGroupName(line.group) + " - " + UpperProductCode(line.productKind) + " - " + line.name;
}

double Coefficient(const CRefProject& project, int kind) {
  if (kind < 0 || kind >= kRefProductCount) return 0.0;
  return project.priceSettings.productCoefs[static_cast<std::size_t>(kind)][0];
}

std::string BareReference(const std::string& reference) {
  return reference.substr(0, reference.find("\n\r"));
}

// In a summary a reference may come from lines of different coefficients: their mean,
// weighted by the quantities, unless they all agree.
double SummaryCoefficient(const CRefProject& project, const CRefExportContext& context,
                          const std::string& reference) {
  double weighted = 0.0, quantities = 0.0;
  std::optional<double> same;
  bool allEqual = true;
  for (int index : context.selection) {
    if (index <= 0 || index >= CRefProject::kLineCount) continue;
    const CRefLine& line = project.lines[static_cast<std::size_t>(index)];
    const double k = Coefficient(project, line.productKind);
    for (const CRefItemNode& item : line.Items()) {
      if (BareReference(item.reference) != reference) continue;
      if (same && *same != k) allEqual = false;
      same = same.value_or(k);
      weighted += item.quantity * k;
      quantities += item.quantity;
    }
  }
  if (!same) return 0.0;
  if (allEqual || quantities == 0.0) return *same;
  return weighted / quantities;
}

void WriteXmlItems(CXmlLines& xml, const CRefProject& project, const CRefExportContext& context,
                   const CRefReportView& view) {
  std::string ignored;
  const auto rows = WriteLineReport(view, kRefReportRowCount, 0, ignored);
  const CRefLine& line = project.lines[static_cast<std::size_t>(view.current)];
  for (int r = 1; r <= rows; ++r) {
    std::int64_t code = 0;
    const std::string reference = ReportText(view, r, 0, &code);
    if (code == kRefReportNoCell) continue;
    xml.Open("Ligne");
    xml.Element("Description", XmlEscape(ReportText(view, r, 2)));
    const double k = context.summary ? SummaryCoefficient(project, context, reference)
                                     : Coefficient(project, line.productKind);
    xml.Element("Discount", std::to_string(TruncatedProduct(k * 1000.0)));
    xml.Line("<Lignes />");
    xml.Element("PartNumber", XmlEscape(reference));
    xml.Element("NetPrice", "0");
    // The quantity alone: a length's " m" is for people, not for the order.
    std::int64_t quantity = 0;
    ReportText(view, r, 4, &quantity);
    xml.Element("Quantity", reference.empty() ? "" : std::to_string(quantity));
    xml.Close("Ligne");
  }
}

}  // namespace

std::string XmlEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '\'': escaped += "&apos;"; break;
      case '>': escaped += "&gt;"; break;
      case '<': escaped += "&lt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string XmlRootLine(std::string_view programName) {
  return "<SectionConfiguration Code=\"Morquin\" NomConfigurateur=\"" + XmlEscape(programName) +
         "\" Version=\"3.0.0\">";
}

std::string RefExportFileName(const std::string& fileTitle, std::string_view extension) {
  std::string name = fileTitle;
  if (name.size() >= 4) {
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tail == ".ref") name.resize(name.size() - 4);
  }
  return name + std::string(extension);
}

CXlExportFile WriteCsvFile(CRefProject& project, const CRefExportContext& context) {
  if (context.summary) ComputeSummary(project, context);
  const bool packaging = context.summary && context.packaging;
  CXlExportFile file;
  bool first = true;
  for (int record : ExportedRecords(context)) {
    if (record < 0 || record >= CRefProject::kLineCount) continue;
    CRefReportView view = ExportReportView(project, context, record);
    view.workingSums = false;
    std::string ignored;
    const auto rows = WriteLineReport(view, kRefReportRowCount, 0, ignored);
    for (int r = first ? 0 : 1; r <= rows; ++r) {
      if (r == 1 && !context.summary)
        WriteCsvTitleRow(file, view, project.lines[static_cast<std::size_t>(record)]);
      std::string row;
      bool dropped = false;
      for (int c = 0; c <= (packaging ? 5 : 6) && !dropped; ++c) {
        std::int64_t code = 0;
        const std::string text = ReportText(view, r, c, &code);
        if (code == kRefReportHidden) continue;
        dropped = c == 0 && code == kRefReportNoCell;
        row += (c == 0 ? "" : ";") + CsvField(text);
      }
      if (!dropped) file.AddLine(row);
    }
    first = false;
  }
  return file;
}

CXlExportFile WriteXmlFile(CRefProject& project, const CRefExportContext& context) {
  if (context.summary) ComputeSummary(project, context);
  CXlExportFile file;
  CXmlLines xml(file);
  xml.Line(XmlRootLine(StringText(kMsgRefApplicationName)));
  xml.Indent();
  xml.Open("Lignes");
  for (int record : ExportedRecords(context)) {
    if (record < 0 || record >= CRefProject::kLineCount) continue;
    const CRefLine& line = project.lines[static_cast<std::size_t>(record)];
    xml.Open("Ligne");
    xml.Element("Description", XmlEscape(XmlLineText(project, context, line)));
    xml.Element("Discount", "1000");
    xml.Open("Lignes");
    WriteXmlItems(xml, project, context, ExportReportView(project, context, record));
    xml.Close("Lignes");
    xml.Line("<PartNumber />");
    xml.Element("NetPrice", "0");
    xml.Element("Quantity", "1");
    xml.Close("Ligne");
  }
  xml.Close("Lignes");
  xml.Line("<Documents />");
  xml.Line("<DiversTarifs />");
  xml.Outdent();
  xml.Line("</SectionConfiguration>");
  return file;
}
