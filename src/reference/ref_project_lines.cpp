#include "reference/ref_project_lines.h"

#include <algorithm>
#include <string>

#include "reference/ref_config.h"
#include "reference/ref_report.h"

namespace {

bool LineMatches(const CRefLine& line, int index, int filter) {
  return filter == kRefCodeProject || filter == RefGroupCode(line.group) ||
         filter == RefProductNodeCode(line.group, line.productKind) || filter == index;
}

}  // namespace

int RefLineCount(const CRefProject& project) {
  return std::clamp(project.lineCount, 0, kRefMaxLines);
}

int FindRefLine(const CRefProject& project, const CRefConfig& config, int n, int filter) {
  const int lines = RefLineCount(project);
  int counted = 0;
  for (int group = 0; group < 4; ++group) {
    if (!config.GroupOffered(group)) continue;
    for (int kind = kRefProductCount - 1; kind >= 0; --kind) {
      if (!config.ProductOffered(group, kind)) continue;
      for (int index = 1; index <= lines; ++index) {
        const CRefLine& line = project.lines[static_cast<std::size_t>(index)];
        if (line.group != group || line.productKind != kind) continue;
        if (!LineMatches(line, index, filter)) continue;
        if (++counted == n) return index;
      }
    }
  }
  return n == 0 ? counted : -1;
}

int AppendRefLine(CRefProject& project) {
  const int count = RefLineCount(project);
  if (count >= kRefMaxLines) return -1;
  const int index = count + 1;
  project.lines[static_cast<std::size_t>(index)].Assign(&project.lines[0]);
  project.lines[0].Assign(nullptr);
  project.lineCount = index;
  return index;
}

bool DeleteRefLine(CRefProject& project, int index) {
  const int count = RefLineCount(project);
  if (index < 1 || index > count) return false;
  for (int at = index; at < count; ++at)
    project.lines[static_cast<std::size_t>(at)].Assign(
        &project.lines[static_cast<std::size_t>(at + 1)]);
  project.lines[static_cast<std::size_t>(count)].Assign(nullptr);
  project.lineCount = count - 1;
  return true;
}

int CountRefLinesOf(const CRefProject& project, int group, int kind) {
  const int lines = RefLineCount(project);
  int count = 0;
  for (int index = 1; index <= lines; ++index) {
    const CRefLine& line = project.lines[static_cast<std::size_t>(index)];
    if (line.group == group && line.productKind == kind) ++count;
  }
  return count;
}

std::vector<int> RefSelection(const CRefProject& project, const CRefConfig& config, int filter) {
  std::vector<int> selection;
  for (int n = 1;; ++n) {
    const int index = FindRefLine(project, config, n, filter);
    if (index < 0) return selection;
    selection.push_back(index);
  }
}

std::int64_t RefRecordAmount(const CRefProject& project, int index) {
  CRefReportView view;
  view.project = &project;
  view.current = index;
  std::string text;
  return WriteLineReport(view, kRefReportLineTotal, 5, text);
}
