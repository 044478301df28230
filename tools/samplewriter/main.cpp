// Writes a sample layout document from its layout text (see sample_layout.h), its runs
// rebuilt, with the product ranges reading the catalogue folder given:
//   tvr_samplewriter <catalogue folder> <layout text> <document.run>

#include "app/current_language.h"
#include "app/message_text.h"
#include "app/start_lists.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "model/bom/bom_grid.h"
#include "samplewriter/costing_columns.h"
#include "samplewriter/sample_layout.h"
#include "view/scene_drawing.h"
#include "view/view_window.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr double kSampleFill = 0.9;
constexpr CSize kSampleClient{1000, 700};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: tvr_samplewriter <catalogue folder> <layout> <document.run>\n");
    return 2;
  }
  std::string folder = argv[1];
  if (!folder.empty() && folder.back() != '/') folder += '/';
  const auto devices = LoadDeviceList(folder, [](int) { return std::string(); });
  if (!devices.error.empty()) {
    std::fprintf(stderr, "tvr_samplewriter: %s\n", devices.error.c_str());
    return 1;
  }
  // Texts that references carry are written in English, the language the program falls
  // back on.
  CLanguageSetup language;
  language.catalogueFolder = folder;
  CCurrentLanguage::Instance().SetSetup(language);
  CCurrentLanguage::Instance().LoadLanguage(CCurrentLanguage::kFallbackLanguage);
  CRangeContext& ranges = CRangeContext::Instance();
  ranges.SetCatalogueFolder(folder);
  ranges.SetTextLookup([](int number) { return LookupText(number); });
  ranges.SetDevices(devices.entries);
  ranges.SetNotifier([](int message, const std::string& argument) {
    std::fprintf(stderr, "tvr_samplewriter: message %d: %s\n", message, argument.c_str());
  });
  RegisterRangeRuns();
  std::ifstream file(argv[2], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "tvr_samplewriter: cannot read %s\n", argv[2]);
    return 1;
  }
  const std::string layout((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
  // The units table, as the program gives its documents: the sample has the unit of a
  // new document.
  const auto units = LoadUnitList(folder, [](int) { return std::string(); });
  if (!units.error.empty()) {
    std::fprintf(stderr, "tvr_samplewriter: %s\n", units.error.c_str());
    return 1;
  }
  CDocEnvironment environment;
  environment.units = &units.entries;
  CDorneDoc document(environment);
  document.OnNewDocument("");
  // The new document's empty run gives way to the sample's runs.
  while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
  const std::string problem = LayOutSample(document, layout);
  if (!problem.empty()) {
    std::fprintf(stderr, "tvr_samplewriter: %s: %s\n", argv[2], problem.c_str());
    return 1;
  }
  // Shipped rebuilt, so that the document opens with its parts and bills of materials.
  for (CRun* run : document.GetRuns()) run->RebuildParts(0);
  for (CRun* run : document.GetRuns()) {
    if (!AddCostingColumns(run->GetBOM())) {
      std::fprintf(stderr, "tvr_samplewriter: the bill-of-materials columns cannot be added\n");
      return 1;
    }
  }
  // Opened, the sample shows its whole layout, as the zoom-all command would leave it.
  document.RebuildScene();
  if (const std::optional<CRect> extent = GetSceneExtent(document)) {
    CViewWindow window;
    window.ZoomAll(*extent, kSampleFill, kSampleClient);
    window.StoreIn(document);
  }
  const CDocFileResult result = document.OnSaveDocument(argv[3]);
  if (!result.ok) {
    std::fprintf(stderr, "tvr_samplewriter: %s: %s\n", argv[3], result.text.c_str());
    return 1;
  }
  return 0;
}
