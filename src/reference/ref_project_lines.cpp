#include "reference/ref_project_lines.h"

#include "reference/ref_config.h"

namespace {

bool IsUsed(const CRefLine& line) {
  return line.productKind >= 0 && line.productKind < kRefProductCount;
}

bool LineMatches(const CRefLine& line, int index, int filter) {
  return filter == kRefCodeProject || filter == RefGroupCode(line.group) ||
         filter == RefProductNodeCode(line.group, line.productKind) || filter == index;
}

}  // namespace

int RefLineCount(const CRefProject& project) {
  int count = 0;
  while (count < kRefMaxLines && IsUsed(project.lines[static_cast<std::size_t>(count + 1)]))
    ++count;
  return count;
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
  return index;
}

bool DeleteRefLine(CRefProject& project, int index) {
  const int count = RefLineCount(project);
  if (index < 1 || index > count) return false;
  for (int at = index; at < count; ++at)
    project.lines[static_cast<std::size_t>(at)].Assign(
        &project.lines[static_cast<std::size_t>(at + 1)]);
  project.lines[static_cast<std::size_t>(count)].Assign(nullptr);
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
