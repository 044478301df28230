#include "model/builder/straight_planner.h"

#include "model/element/dev.h"
#include "model/run/run.h"

#include <algorithm>
#include <charconv>
#include <functional>

#include "model/builder/length_solver.h"

namespace {

// Rounds of one planning: each round makes pieces or grows an end piece; a table that
// keeps an end growing by nothing cannot hold the rebuild.
constexpr int kMaxRounds = 64;

bool HasElbowLength(const CDev& element) {
  return element.GetKind() == CDev::kElbow &&
         !element.GetFieldText("ELBOW_LENG").value_or("").empty();
}

bool IsUnitOfVariant(const CDev* element) {
  return element != nullptr && element->GetKind() == CDev::kInLine && element->GetVariant() != 0;
}

int CalibreNumber(const CRun& run) {
  const std::string text = run.GetPropText("Calibre");
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} ? value : 0;
}

}  // namespace

CStraightPlanner::CStraightPlanner(CPartBuilder& builder, int segmentIndex, int entryIndex)
    : m_builder(builder),
      m_run(builder.GetRun()),
      m_segment(builder.SegmentAt(segmentIndex)),
      m_entry(m_segment.at(static_cast<std::size_t>(entryIndex))),
      m_element(*m_entry.element),
      m_segmentIndex(segmentIndex) {}

int CStraightPlanner::Run() {
  ChoosePermissionAndVariant();
  CollectDefinitions();
  const std::int32_t step = m_builder.GetLengthStep();
  for (int round = 0; round < kMaxRounds; ++round) {
    const std::int32_t remaining = m_builder.GetRemaining();
    if (remaining <= 0 || remaining < step) break;
    if (!PlanRound()) break;
  }
  return Finish();
}

void CStraightPlanner::ChoosePermissionAndVariant() {
  const std::int32_t rounded = m_builder.RoundToStep(m_builder.GetRemaining());
  m_variant = m_element.GetVariantIndex();
  m_permission = m_builder.GetPlanningFlag() != 0;
  const int askingSegment = m_builder.GetBackStep() - 1;
  if (askingSegment >= 0 && m_segmentIndex < askingSegment) {
    m_permission = !m_permission;
    m_rebuilding = true;
    return;
  }
  const CDev& first = *m_segment.front().element;
  if (HasElbowLength(m_element)) m_permission = true;
  if (IsUnitOfVariant(&m_element)) {
    m_permission = true;
    if (m_variant == 3 && m_builder.GetPartDefs(3).empty()) m_variant = 1;
  }
  if (IsUnitOfVariant(&first)) m_permission = true;
  if (!m_permission && HasElbowLength(first)) m_permission = true;
  const int shortLimit = CalibreNumber(m_run) < 50 ? 2000 : 1500;
  if (m_run.GetPropText("Catalog").starts_with("QP") && m_variant == 3 && rounded < shortLimit) {
    m_variant = 1;
    const CDev* behind = m_element.GetBackNeighbour();
    const bool unitBehind = behind != nullptr && behind->GetKind() == CDev::kInLine;
    if (m_element.GetKind() == CDev::kInLine && m_element.GetVariant() == 1 && !unitBehind &&
        rounded < 1500) {
      m_variant = 3;
    }
  }
}

void CStraightPlanner::CollectDefinitions() {
  m_list = m_variant >= 0 && m_variant < CPartBuilder::kListCount ? m_variant : -1;
  if (m_list == 0 && m_run.GetPropText("Catalog").starts_with("QG") &&
      (m_builder.GetBuildMark(m_element) & 1) != 0) {
    m_list = 4;
  }
  m_totals.clear();
  m_rangeMin = 0;
  m_rangeMax = 0;
  if (m_list < 0) {
    m_totals.push_back(0);
    return;
  }
  bool anyRange = false;
  const std::vector<CPartDef>& defs = m_builder.GetPartDefs(m_list);
  for (auto def = defs.rbegin(); def != defs.rend(); ++def) {
    if (def->IsFixed()) {
      if (def->MinTotal() > 0 && def->MinTotal() < CLengthSolver::kLengthLimit)
        m_totals.push_back(static_cast<std::int32_t>(def->MinTotal()));
      continue;
    }
    m_rangeMin = anyRange ? std::min(m_rangeMin, def->MinTotal()) : def->MinTotal();
    m_rangeMax = anyRange ? std::max(m_rangeMax, def->MaxTotal()) : def->MaxTotal();
    anyRange = true;
  }
  std::sort(m_totals.begin(), m_totals.end(), std::greater<>());
  m_totals.push_back(0);
}
