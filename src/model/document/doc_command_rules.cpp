#include "model/document/doc_command_rules.h"

#include "platform/text_conversions.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool In(int command, std::initializer_list<int> commands) {
  return std::find(commands.begin(), commands.end(), command) != commands.end();
}

// The facts about the current run that the table reads.
struct CRunFacts {
  bool placed = false;
  bool known = false;
  bool hasCatalog = false;
  bool built = false;
  bool rebuildable = false;
  int partsState = 0;
};

CRunFacts FactsOf(CRun* run) {
  CRunFacts facts;
  if (run == nullptr) return facts;
  facts.placed = run->GetFlagsWord() != 0;
  facts.known = run->GetCatalogueKnown() != 0;
  facts.hasCatalog = !run->GetPropText("Catalog").empty();
  facts.partsState = run->GetPartsState();
  facts.built = facts.partsState != 0;
  facts.rebuildable = facts.known && run->HasPartBuilder();
  return facts;
}

// A one-shot command, and a command that shows a check mark.
CDocCommandState State(bool enabled) { return {true, enabled, false, false}; }
CDocCommandState Check(bool enabled, bool checked) { return {true, enabled, checked, true}; }

CDocCommandState ToolState(const CDorneDoc& document, const CRunFacts& run, int command) {
  static constexpr std::array<int, 6> kTools = {32781, 32776, 32782, 32777, 32844, 32779};
  for (std::size_t i = 0; i < kTools.size(); ++i) {
    if (kTools[i] == command)
      return Check(run.placed && run.known, document.GetToolMode() == static_cast<int>(i) + 1);
  }
  return {};
}

CDocCommandState PresetState(const CDorneDoc& document, int command) {
  const int preset = document.GetViewPreset();
  if (command >= 33016 && command <= 33023) return Check(true, preset == command - 33016);
  if (command >= 33006 && command <= 33011) return Check(true, preset == command - 33006 + 8);
  if (command == 33025) return Check(true, preset == -2);
  return {};
}

CDocCommandState LayerState(int command, const CDocCommandContext& context) {
  static constexpr std::array<int, 7> kLayers = {32994, 32995, 32996, 32997, 32998, 32992, 33001};
  for (std::size_t i = 0; i < kLayers.size(); ++i) {
    if (kLayers[i] == command) return Check(true, context.layers[i]);
  }
  return {};
}

CDocCommandState RunState(const CDorneDoc& document, const CRun* current, const CRunFacts& run,
                          int command, const CDocCommandContext& context) {
  const bool rangeRun = run.placed && run.known && run.hasCatalog;
  switch (command) {
    case 32789:
    case 32792: return State(run.placed);
    case 32879: return State(document.GetRunCount() >= 2);
    case 32875:
    case 32878: return State(!context.partNumberingRunning && run.known);
    case 32881:
    case 32973:
    case 32975: return State(context.bomPageVisible);
    case 32791: return State(run.rebuildable);
    case 32889: return State(run.known);
    case 32950:
    case 32951: return State(rangeRun);
    case 33064: return State(rangeRun && run.rebuildable);
    case 33037: return Check(rangeRun, current != nullptr && (current->GetFlagsWord() & 2) != 0);
    case 32790:
      return State(document.IsSplit() && current != nullptr && run.rebuildable &&
                   current->GetRangeLoaded() != 0 &&
                   TextToInt(current->GetPropText("Calibre")) > 0);
    case 32780: return Check(run.placed, document.GetToolMode() == 0);
    case 32988:
    case 33029: return State(run.placed && current->GetSecondStateFlag() != 0);
    case 32862: {
      const bool flagged = run.placed && current->GetSecondStateFlag() != 0;
      return State(flagged && document.Selection().Face() != CElementSelection::kNoFace);
    }
    case 33028: return Check(run.placed, document.GetToolMode() == 14);
    case 33030: return Check(run.built && run.known, document.GetToolMode() == 15);
    case 32999:
    case 33000: return State(run.placed);
    case 33063: {
      const std::string catalog =
          current != nullptr ? current->GetPropText("Catalog") : std::string();
      return Check(catalog.rfind("QM", 0) == 0 || catalog.rfind("QG", 0) == 0, context.qmqgSwitch);
    }
    case 32985:
      return State(context.totalsPageShown ? document.GetRunCount() == 1 && run.partsState == 2
                                           : run.partsState == 2);
    default: return {};
  }
}

}  // namespace

CDocCommandState GetDocCommandState(const CDorneDoc& document, int command,
                                    const CDocCommandContext& context) {
  if (In(command, {32863, 57603, 57604, 57607, 57609, 32783, 32784, 32785, 32882, 32953, 33004,
                   32860, 32864})) {
    return State(true);
  }
  if (command == 57643) return State(context.undoPossible);
  if (command == 57644) return State(context.redoPossible);
  const int mode = document.GetToolMode();
  if (command == 32786) return Check(true, mode == 8 || mode == 9);
  if (command == 32858) return Check(true, mode == 7 && context.viewSubMode == 0);
  if (command == 33061) return Check(true, mode == 7 && context.viewSubMode == 1);
  if (command == 33024) return Check(true, mode == 13);
  CRun* current = document.GetCurrentRun();
  const CRunFacts run = FactsOf(current);
  for (CDocCommandState state :
       {ToolState(document, run, command), PresetState(document, command),
        LayerState(command, context), RunState(document, current, run, command, context)}) {
    if (state.handled) return state;
  }
  return {};
}
