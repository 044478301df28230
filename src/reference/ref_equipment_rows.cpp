// How the rows of an equipment page show: their texts, numbers and counts.
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "app/message_text.h"
#include "reference/ref_equipment.h"

namespace {

constexpr int kMsgNumbered = 32222;
constexpr int kMsgFixingEstimate = 32070;
constexpr int kMsgFixingCount = 32404;
constexpr int kMsgTwoTexts = 32098;

std::string ComponentText(int component) {
  switch (component) {
    case 33: return "QPB160SF*   QPB160DC*";
    case 34: return "QPB250DC*   QPB250DC*TRE";
    case 35: return "QPB400DC*   QPB400DC*TRE";
    default: return {};
  }
}

std::string RowText(const CRefEquipSetup& setup, const CRefEquipRowPlan& plan, int style) {
  if (plan.text == 0) return ComponentText(plan.component);
  if (plan.text < 10) return FormatMessageTextD(kMsgNumbered, plan.text);
  if (plan.text == kMsgFixingEstimate)
    return FormatMessageTextDD(kMsgFixingEstimate, setup.length,
                               RefEquipFixingEstimate(setup.length, style, setup.product));
  if (plan.text == kMsgFixingCount) return FormatMessageTextD(kMsgFixingCount, setup.fixingCount);
  if (plan.text != kMsgTwoTexts) return StringText(plan.text);
  const std::string both = StringText(kMsgTwoTexts);
  const std::size_t split = both.find("//");
  if (plan.component != kRefEquipTextOnly) return both.substr(0, split);
  if (setup.State(26) == 0 || split == std::string::npos) return {};
  return both.substr(split + 2);
}

std::string Prefix(int style, int counter) {
  switch (style) {
    case 0: {
      char text[16];
      std::snprintf(text, sizeof text, "%2d-  ", counter);
      return text;
    }
    case 1: return "          - ";
    case 2: return "      ";
    default: return {};
  }
}

// One row of a page (rows 1..9), or nothing when the product does not offer it.
void SetItemRow(const CRefEquipSetup& setup, const CRefEquipRowPlan& plan, const CRefLine& line,
                const CRefEquipCounts& counts, int& counter, CRefEquipRowView& view) {
  int style = plan.style;
  bool checkBox = false;
  if (style < 0) style = -style - 1, checkBox = plan.row <= 3;
  if (style == 0 || style == 10) ++counter;
  bool shown = true;
  if (setup.Plain()) shown = style >= 10 || setup.lineOptions;
  if (style >= 10) style -= 10;
  int state = 2;
  if (plan.component != kRefEquipTextOnly) {
    if (plan.component < CRefEquipCounts::kFirst || plan.component > CRefEquipCounts::kLast ||
        setup.State(plan.component) == 0)
      return;
    if (setup.product != 0 || setup.lineOptions) state = setup.State(plan.component);
  }
  if (!shown) return;
  view = {};
  view.shown = true;
  view.checkBox = checkBox;
  view.text = Prefix(style, counter) + RowText(setup, plan, style);
  if (plan.component == kRefEquipTextOnly) return;
  view.component = plan.component;
  view.editable = state % 2 == 0;
  view.value = counts.Count(line, plan.component);
}

}  // namespace

int CRefEquipCounts::Count(const CRefLine& line, int component) const {
  if (component < kFirst || component > kLast) return line.Component(component);
  const int typed = m_counts[static_cast<std::size_t>(component - kFirst)];
  return typed >= 0 ? typed : line.Component(component);
}

void CRefEquipCounts::Set(int component, int value) {
  if (component < kFirst || component > kLast) return;
  m_counts[static_cast<std::size_t>(component - kFirst)] = std::clamp(value, 0, 9999);
}

bool CRefEquipCounts::WriteTo(CRefLine& line) const {
  bool changed = false;
  for (int c = kFirst; c <= kLast; ++c) {
    const int typed = m_counts[static_cast<std::size_t>(c - kFirst)];
    if (typed < 0) continue;
    changed = changed || line.components[static_cast<std::size_t>(c)] != typed;
    line.components[static_cast<std::size_t>(c)] = typed;
  }
  return changed;
}

CRefEquipPageView RefEquipShowPage(const CRefEquipSetup& setup, int pageKind, const CRefLine& line,
                                   const CRefEquipCounts& counts) {
  CRefEquipPageView view;
  int counter = 0;
  for (const CRefEquipRowPlan& plan : RefEquipPageRows(setup, pageKind)) {
    if (plan.row == 0) {
      view = {};
      view.picture = setup.Plain() && plan.component >= 1 ? plan.component : plan.text;
      counter = plan.style;
      continue;
    }
    if (plan.row < 1 || plan.row > 9) continue;
    SetItemRow(setup, plan, line, counts, counter,
               view.rows[static_cast<std::size_t>(plan.row - 1)]);
  }
  return view;
}

int RefEquipFixingEstimate(int length, int style, int product) {
  const int d = style == 4 ? 300 : product == 3 ? 150 : 50;
  const std::int64_t n = static_cast<std::int64_t>(length) * 100 / d;
  if (d == 300 && 3 * n < length) return static_cast<int>(n + 1);
  return static_cast<int>(n);
}

int RefEquipFixingsFor(int value, int fixingCount, int length, int spacing) {
  if (value <= 0) return value;
  if (fixingCount != 0)
    return length > 0 ? static_cast<int>(std::int64_t{fixingCount} * value * 3 / length) : 0;
  return spacing > 0 ? static_cast<int>(std::int64_t{value} * 300 / spacing + 1) : 0;
}

int RefEquipCheckValue(const CRefEquipSetup& setup) {
  return 2 * setup.straightCount + setup.complementCount;
}
