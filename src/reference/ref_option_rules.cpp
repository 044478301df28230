#include "reference/ref_option_rules.h"

#include <algorithm>

#include "app/message_text.h"

namespace {

int State(const std::vector<int>& states, int component) {
  return component >= 0 && component < static_cast<int>(states.size())
             ? states[static_cast<std::size_t>(component)]
             : 0;
}

}  // namespace

std::array<CRefFixingRow, 5> RefFixingRows(const std::vector<int>& states, int choice, int range) {
  std::array<CRefFixingRow, 5> rows;
  const std::array<int, 5> choices = {1, 2, 3, 4, 36};
  const std::array<int, 5> components = {9, 10, 11, 12, 44};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].choice = choices[i];
    rows[i].shown = State(states, components[i]) != 0;
  }
  rows[0].entries = {"-"};
  rows[1].entries = {"4...6 mm"};
  rows[2].entries = {"1...8 mm", "8...13 mm", "13...17 mm", "17...22 mm"};
  rows[3].entries = {StringText(32209), StringText(32210)};
  for (std::size_t i = 2; i < 4; ++i)
    if (choice == rows[i].choice && range >= 1 && range <= static_cast<int>(rows[i].entries.size()))
      rows[i].selected = range - 1;
  return rows;
}

void RefFixingResult(const std::array<CRefFixingRow, 5>& rows, int checked,
                     const std::array<int, 5>& selections, int& choice, int& range) {
  if (checked < 0 || checked >= 5 || !rows[static_cast<std::size_t>(checked)].shown) return;
  const auto i = static_cast<std::size_t>(checked);
  choice = rows[i].choice;
  const int entries = static_cast<int>(rows[i].entries.size());
  range = (choice == 3 || choice == 4) ? std::clamp(selections[i], 0, entries - 1) + 1 : 1;
}

std::vector<int> RefLuminaireModes(const std::vector<int>& states) {
  std::vector<int> modes;
  if (State(states, 45) != 0) modes.push_back(1);
  if (State(states, 46) != 0) modes.push_back(10);
  if (State(states, 47) != 0) modes.push_back(11);
  return modes;
}

int RefSectionLimit(int lineMode) { return lineMode == 10 ? 10 : 5; }

int RefClampSection(int value, int lineMode) {
  return std::clamp(value, 1, RefSectionLimit(lineMode));
}

std::vector<int> RefSectionPositions(const std::array<int, 9>& positions, int state48) {
  std::vector<int> offered{1};
  for (int n = 2; n <= 5; ++n) {
    const int first = positions[static_cast<std::size_t>(n - 1)];
    const int second = positions[static_cast<std::size_t>(n + 3)];
    if ((first < 0 && second < 0) || (state48 < 0 && second < 0)) continue;
    offered.push_back(n);
  }
  return offered;
}

std::vector<int> RefSectionKinds(int position, const std::array<int, 9>& positions, int state48) {
  std::vector<int> kinds;
  if (position < 1 || position > 5) return kinds;
  for (int k = 1; k <= 2; ++k) {
    const bool slot = (position == 1 && k == 2) ||
                      positions[static_cast<std::size_t>(position - 1 + 4 * (k - 1))] >= 0;
    if (slot && (state48 >= 0 || k == 2)) kinds.push_back(k);
  }
  return kinds;
}

std::vector<CRefSectionEntry> RefSectionSpacings(const std::vector<int>& states) {
  std::vector<CRefSectionEntry> entries{{"0", 0}};
  const std::array<int, 6> numbers = {2, 3, 4, 5, 7, 9};
  for (int c = 30; c <= 35; ++c)
    if (State(states, c) != 0) {
      const int number = numbers[static_cast<std::size_t>(c - 30)];
      entries.push_back({std::to_string(number), number});
    }
  return entries;
}

std::vector<CRefSectionEntry> RefSectionSizes(int kind, int position,
                                              const std::vector<CRefSectionEntry>& spacings,
                                              const std::vector<int>& states, char decimal) {
  std::vector<CRefSectionEntry> entries;
  if (kind == 2) {
    const std::array<int, 3> numbers = {1, 3, 5};
    for (int c = 24; c <= 26; ++c)
      if (State(states, c) != 0) {
        const int number = numbers[static_cast<std::size_t>(c - 24)];
        entries.push_back({std::to_string(number), number});
      }
  } else if (kind == 1) {
    for (const CRefSectionEntry& spacing : spacings) {
      const std::string text = position == 1 ? std::to_string(spacing.data + 1)
                                             : std::to_string(spacing.data) + decimal + "5";
      entries.push_back({text, spacing.data});
    }
  }
  return entries;
}

int RefSectionSizeIndex(const std::vector<CRefSectionEntry>& entries, int kind, int position,
                        int shown) {
  int index = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int data = entries[i].data;
    const int value = kind == 1 && position == 1 ? data + 1 : data;
    if (value <= shown) index = static_cast<int>(i);
  }
  return index;
}
