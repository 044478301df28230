// Writes the model document that new layout documents start from: a new document made
// and saved by the program's own document code. With the catalogue folder, the model
// takes the first unit of its units table (dims.dbf) as a new document in the program
// does, and new documents copy it; without, the built-in unit.
//   tvr_modelwriter [<catalogue folder>] <path of model.run>

#include "app/start_lists.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "samplewriter/costing_columns.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: tvr_modelwriter [<catalogue folder>] <model.run>\n");
    return 2;
  }
  CDocEnvironment environment;
  CTableList<CUnitEntry> units;
  if (argc == 3) {
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '/') folder += '/';
    units = LoadUnitList(folder, [](int) { return std::string(); });
    if (!units.error.empty()) {
      std::fprintf(stderr, "tvr_modelwriter: %s\n", units.error.c_str());
      return 1;
    }
    environment.units = &units.entries;
  }
  const char* path = argv[argc - 1];
  CDorneDoc document(environment);
  // No creation date: a document made from the model takes its own.
  document.OnNewDocument("");
  // New documents take the bill-of-materials layout of the model's first run.
  for (CRun* run : document.GetRuns()) {
    if (!AddCostingColumns(run->GetBOM())) {
      std::fprintf(stderr, "tvr_modelwriter: the bill-of-materials columns cannot be added\n");
      return 1;
    }
  }
  const CDocFileResult result = document.OnSaveDocument(path);
  if (!result.ok) {
    std::fprintf(stderr, "tvr_modelwriter: %s: %s\n", path, result.text.c_str());
    return 1;
  }
  return 0;
}
