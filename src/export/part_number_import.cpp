#include "export/part_number_import.h"

#include "export/part_number_link.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "platform/text_conversions.h"

#include <vector>

namespace {

std::vector<std::string> SplitAtTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

int ImportPartNumbers(CDorneDoc& document, CPartNumberLink& link) {
  CRun* run = document.GetCurrentRun();
  if (run == nullptr) return -1;
  int added = 0;
  while (std::optional<std::string> line = link.TakeNextLine()) {
    const std::vector<std::string> fields = SplitAtTabs(*line);
    if (fields.size() < 3) continue;
    const std::string reference = Trim(fields[1]);
    const int quantity = TextToInt(fields[2]);
    if (quantity <= 0 || reference.empty()) continue;
    if (run->GetBOM().AddRefQuantity(reference, quantity)) ++added;
  }
  // An answer that adds nothing is no edit of the document.
  if (added == 0) return 0;
  document.RecomputeTotals(1, 1);
  run->GetBOM().NumberLines(1);
  document.SetModifiedFlag(true);
  document.UpdateAllViews();
  return added;
}
