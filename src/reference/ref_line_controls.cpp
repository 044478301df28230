#include "reference/ref_line_controls.h"

#include <algorithm>

namespace {

constexpr int kSpreadSlot = 96;
constexpr int kConnectionWithCount = 6;
constexpr int kSpreadConnection = 7;
// The shorter of the two complements (2 m and 3 m): the guard asks only when the line is
// certainly exceeded.
constexpr std::int64_t kShortestComplementCm = 200;
constexpr std::int64_t kQyxComplementCm = 153;
constexpr int kMsgConnections = 32001, kMsgTapOutlets = 32411, kMsgCircuits = 31124;

bool IsQfp(const CRefLine& line) { return line.productKind == 0; }
bool IsLuminaireModeLine(const CRefLine& line) { return IsQfp(line) && line.lineMode >= 10; }

}  // namespace

bool RefConnectionFlag(const CRefLine& line, const CRefConfig& config) {
  if (line.group != 3 || (IsQfp(line) && line.lineMode < 10)) return false;
  if (line.conductors != 1 && line.conductors < 3) return false;
  const CRefConfig::Record& record = config.Connection(line.productKind);
  return (record[1] & 0xFFFF) == kSpreadSlot;
}

bool RefLuminaireOptionFlag(const std::vector<int>& table) {
  int offered = 0;
  for (std::size_t c = 45; c <= 47 && c < table.size(); ++c) offered += table[c] != 0 ? 1 : 0;
  return offered >= 2;
}

CRefLineControls RefLineControlsFor(const CRefLine& line, const std::vector<int>& table,
                                    bool connectionFlag) {
  CRefLineControls controls;
  controls.spacing = !IsQfp(line);
  controls.connectionCount =
      (line.productKind == 4 || line.productKind == 8) && line.connection == kConnectionWithCount;
  if (line.group != 3) return controls;
  controls.luminaireMode = RefLuminaireOptionFlag(table) ? !IsLuminaireModeLine(line)
                                                         : IsQfp(line) && line.lineMode < 10;
  controls.itemTabs = IsLuminaireModeLine(line);
  controls.extraCode = connectionFlag;
  return controls;
}

int RefConnectionLabelMessage(CRefLineEditContext& context) {
  const int kind = context.Line().productKind;
  if ((kind == 1 || kind == 2) && context.Config().SpecialMode() == 2) return kMsgCircuits;
  if (kind == 4) return kMsgTapOutlets;
  if (kind == 8) {
    const std::vector<int> table = context.GetChoiceTable(1);
    if (table.size() > 39 && table[39] != 0) return kMsgTapOutlets;
  }
  return kMsgConnections;
}

bool RefHeaderChoiceChanged(CRefLineEditContext& context, int rating, int conductors) {
  CRefLine& line = context.Line();
  if (rating >= 0) line.rating = rating;
  if (conductors >= 0) line.conductors = conductors;
  if (line.group != 3) return false;
  context.connectionFlag = RefConnectionFlag(line, context.Config());
  if (!context.connectionFlag) line.extraCode = 0;
  return line.productKind == 2;
}

bool RefConnectionChosen(CRefLineEditContext& context, int connection) {
  CRefLine& line = context.Line();
  if (connection == line.connection) return false;
  line.connection = connection;
  if (context.Config().SpecialMode() != 3 || !IsLuminaireModeLine(line)) return false;
  line.slots.fill(0);
  line.ResizeSections(0, nullptr, nullptr, 0);
  return true;
}

bool RefConnectionsHoldUnits(const CRefLine& line, int specialMode) {
  if (line.connection != kSpreadConnection) return false;
  if (RefSlotUnitTotal(line) > 0) return true;
  if (!IsQfp(line) || specialMode == 3) return false;
  for (int c = 24; c <= 36; ++c)
    if (line.Component(c) > 0) return true;
  return false;
}

CRefFieldLimit RefConnectionCountLimit(int length) { return {1, std::max(1, length)}; }

bool RefFamiliesExceedLength(CRefLineEditContext& context, int straight, int complement) {
  const CRefLineEditContext::RunMeasure run = context.MeasureRun();
  const bool qyx = context.Line().productKind == kRefProductQYX;
  const std::int64_t covered = static_cast<std::int64_t>(std::max(0, straight)) * run.elementCm +
                               static_cast<std::int64_t>(std::max(0, complement)) *
                                   (qyx ? kQyxComplementCm : kShortestComplementCm);
  return covered > run.lengthCm;
}
