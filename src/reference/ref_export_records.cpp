#include "reference/ref_export_records.h"

#include <cctype>

#include "app/message_text.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_products.h"

namespace {

constexpr int kMsgRefGroupTransport = 31001;
constexpr int kMsgRefGroupRising = 31002;
constexpr int kMsgRefGroupLighting = 32059;
constexpr int kMsgRefGroupLuminaires = 32060;
constexpr int kMsgRefWholeProject = 31005;

}  // namespace

std::vector<int> ExportedRecords(const CRefExportContext& context) {
  if (context.summary) return {0};
  return context.selection;
}

void ComputeSummary(CRefProject& project, const CRefExportContext& context) {
  const bool packs =
      context.individualQuantities && context.catalogue && context.catalogue->IsOpen();
  ComputeLineTotals(project, context.selection, packs ? &context.catalogue->Articles() : nullptr);
}

CRefReportView ExportReportView(const CRefProject& project, const CRefExportContext& context,
                                int record) {
  CRefReportView view;
  view.project = &project;
  view.current = record;
  view.selection = context.selection;
  view.grouped = false;
  view.workingSums = context.summary;
  view.decimal = '.';
  view.refs = context.refs;
  return view;
}

std::string ReportText(const CRefReportView& view, int row, int column, std::int64_t* code) {
  std::string text;
  const std::int64_t result = WriteLineReport(view, row, column, text);
  if (code) *code = result;
  return text;
}

std::string RefGroupName(int group) {
  switch (group) {
    case 0: return StringText(kMsgRefGroupTransport);
    case 1: return StringText(kMsgRefGroupRising);
    case 2: return StringText(kMsgRefGroupLighting);
    case 3: return StringText(kMsgRefGroupLuminaires);
    default: return {};
  }
}

std::string UpperProductCode(int kind) {
  std::string code(RefProductCode(kind));
  for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return code;
}

std::string SummaryTitle(const CRefProject& project, int treeCode) {
  if (treeCode == kRefTreeProject) return StringText(kMsgRefWholeProject);
  if (treeCode <= -2000) return RefGroupName(-2000 - treeCode);
  if (treeCode <= -1000)
    return RefGroupName(-(treeCode + 1000) / 10) + " - " + UpperProductCode(-treeCode % 10);
  if (treeCode < 0 || treeCode >= project.lineCount) return {};
  const CRefLine& line = project.lines[static_cast<std::size_t>(treeCode + 1)];
  return RefGroupName(line.group) + " - " + UpperProductCode(line.productKind) + " - " + line.name;
}
