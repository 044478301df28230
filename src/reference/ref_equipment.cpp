#include "reference/ref_equipment.h"

#include <algorithm>
#include <cstdint>

#include "app/message_text.h"

namespace {

constexpr int kPageCount = 7;
constexpr std::array<int, kPageCount> kPageTexts = {32083, 32084, 32085, 32086,
                                                    32087, 32112, 32400};
constexpr std::array<int, kPageCount> kComboOrder = {0, 1, 2, 6, 3, 4, 5};
constexpr int kT = kRefEquipTextOnly;

struct PageSet {
  std::array<bool, kPageCount> present{true, true, true, true, true, true, true};
  std::array<int, kPageCount> texts = kPageTexts;

  void Remove(std::initializer_list<int> pages) {
    for (int page : pages) present[static_cast<std::size_t>(page)] = false;
  }
  void Restore(int page, int text) {
    present[static_cast<std::size_t>(page)] = true;
    texts[static_cast<std::size_t>(page)] = text;
  }
};

void LineOptionPages(const CRefEquipSetup& setup, PageSet& set) {
  set.present.fill(false);
  set.Restore(2, 32212);
  if (setup.lineMode == 2) set.Restore(3, 32215);
  if (setup.lineMode >= 10) set.Restore(3, 32215), set.Restore(4, 32216);
}

int ProductPages(const CRefEquipSetup& setup, PageSet& set) {
  const bool plain = setup.Plain();
  set.Remove({3});
  switch (setup.product) {
    case 0: {
      set.Remove({2, 4, 6});
      if (plain) set.Remove({0, 1, 3});
      set.texts[0] = 32201;
      if (setup.lineMode >= 2) return 2;
      set.Remove({0});
      return 1;
    }
    case 1:
    case 2:
      if (plain) set.Remove({0, 1, 2, 3, 4, 5});
      return 3;
    case 3:
      set.Remove({0, 4});
      if (plain) set.Remove({1, 3, 5});
      return 1;
    case 4:
    case 8: {
      set.Remove({1, 3});
      if (plain) set.Remove({0, 4, 5});
      if (setup.product == 8) set.Remove({4});
      if (setup.product != 4 || !setup.zfl21) return 1;
      set.Restore(1, 32416);
      return 2;
    }
    case 5:
      set.Remove({1, 3, 5, 6});
      if (plain) set.Remove({0, 4});
      return 1;
    case 6: set.Remove({0, 1, 2, 3, 4, 6}); return 0;
    case 7:
      set.Remove({1, 3, 6});
      if (plain) set.Remove({0, 4, 5});
      return 1;
    default: set.present.fill(false); return 0;
  }
}

}  // namespace

int CRefEquipSetup::State(int component) const {
  return component >= 0 && component < static_cast<int>(states.size())
             ? states[static_cast<std::size_t>(component)]
             : 0;
}

CRefEquipPages RefEquipPages(const CRefEquipSetup& setup) {
  PageSet set;
  CRefEquipPages result;
  int start = 0;
  if (setup.lineOptions) {
    LineOptionPages(setup, set);
    result.note = setup.connection == 7 && setup.specialMode != 3;
  } else {
    start = ProductPages(setup, set);
    const int p = setup.product, s = setup.specialMode;
    if ((s == 1 && p == 1) || (s == 2 && (p == 1 || p == 2))) {
      set.Restore(0, 32083);
      set.Remove({1, 2, 3, 4});
      start = 0;
      if (s == 2) set.Restore(5, 32112);
    }
    if (s == 2 && (p == 4 || p == 8) && !setup.Plain()) set.Remove({5});
  }
  for (int kind : kComboOrder)
    if (set.present[static_cast<std::size_t>(kind)])
      result.pages.push_back({kind, set.texts[static_cast<std::size_t>(kind)]});
  result.start =
      result.pages.empty() ? 0 : std::clamp(start, 0, static_cast<int>(result.pages.size()) - 1);
  return result;
}

namespace {

using Rows = std::vector<CRefEquipRowPlan>;

bool AnyOf(int product, std::initializer_list<int> products) {
  return std::find(products.begin(), products.end(), product) != products.end();
}

Rows FeedPage(const CRefEquipSetup& setup) {
  const int p = setup.product, s = setup.specialMode;
  if (p == 1 && s == 1) return {{0, 31033, 0, 0}, {1, 32088, 16, 10}};
  if ((p == 1 || p == 2) && s == 2) return {{0, 31036}, {1, 32096, 16, 10}, {3, 32097, 17, 10}};
  if (p == 1) return {{0, 264}, {1, 32088, 16, 0}};
  if (p == 2) return {{0, 31027}, {1, 32088, 16, 0}, {2, 32232, 25, 2}};
  if (AnyOf(p, {4, 5, 7, 8})) return {{0, 31014}, {1, 32100, 16, 0}, {2, 32101, 17, 2}};
  if (p != 0) return {};
  Rows rows{{0, setup.lineMode == 10 ? 31023 : 31061},
            {1, 32219, 23, 0},
            {2, 32218, 22, 0},
            {4, 32217, 21, 0}};
  if (setup.lineMode == 10) rows.push_back({6, 32214, 29, 0});
  if (setup.lineMode < 10) rows.push_back({6, 32213, 28, 0});
  return rows;
}

Rows EndPage(const CRefEquipSetup& setup) {
  switch (setup.product) {
    case 1:
    case 2:
      return {{0, 31007},        {1, 32089, kT},    {2, 32090, 17, 1},
              {3, 32091, 18, 1}, {4, 32092, 19, 1}, {6, 32094, 20, 0}};
    case 3:
      return {{0, 31013},        {1, 32089, kT},    {2, 32091, 16, 1}, {3, 32092, 17, 1},
              {4, 32093, 18, 1}, {5, 32090, 19, 1}, {7, 32098, 26, 0}, {8, 32098, kT}};
    case 0:
      return {{0, 31024}, {1, 32089, kT}, {2, 32090, 16, 1}, {3, 32091, 17, 1}, {4, 32092, 18, 1}};
    case 4:
    case 8:
      return {{0, 31064},     {1, 32417, kT}, {2, 32013, 40, 1}, {3, 32014, 41, 1},
              {5, 32418, kT}, {6, 0, 33, 1},  {7, 0, 34, 1},     {8, 0, 35, 1}};
    default: return {};
  }
}

Rows SupportPage(const CRefEquipSetup& setup) {
  const int p = setup.product;
  Rows rows;
  if (p == 1 || p == 2)
    rows = {{0, p == 1 ? 31008 : 31028}, {1, 32095, kT}, {2, 32096, 21, 1}, {3, 32097, 22, 1}};
  if (p == 3) rows = {{0, 31011, 31017}, {1, 32109, 20, 10}, {3, 32110, 21, 0}, {5, 32289, 23, 0}};
  if (AnyOf(p, {4, 5, 7, 8}))
    rows = {{0, p == 8 ? 31066 : 31015, 31018},
            {1, 32104, 18, 10},
            {3, 32102, 19, 0},
            {4, 32103, 20, 0},
            {6, 32106, 21, 0}};
  if (setup.lineOptions)
    rows.insert(rows.end(),
                {{0, 31022}, {1, 32212, kT}, {2, 1, 24, 1}, {3, 3, 25, 1}, {4, 5, 26, 1}});
  return rows;
}

Rows OptionPage(const CRefEquipSetup& setup) {
  if (!setup.lineOptions) return {};
  const int mode = setup.lineMode;
  Rows rows{{0, 31022, 0, mode < 10 ? 2 : 1}};
  if (mode == 10) rows.push_back({1, 32213, 28, 0});
  if (mode == 11) rows.insert(rows.end(), {{1, 32214, 29, 0}, {2, 32213, 28, 2}});
  const int r = mode >= 10 ? 3 : 1;
  rows.push_back({r, 32215, kT});
  const std::array<int, 6> numbers = {2, 3, 4, 5, 7, 9};
  for (int i = 0; i < 6; ++i)
    rows.push_back({r + 1 + i, numbers[static_cast<std::size_t>(i)], 30 + i, 1});
  return rows;
}

Rows TapOffPage(const CRefEquipSetup& setup) {
  const int p = setup.product;
  Rows rows;
  if (p == 1 || p == 2) rows = {{0, 31010}, {1, 32099, 24, 0}};
  if (AnyOf(p, {4, 5, 7, 8}))
    rows = setup.specialMode == 2 ? Rows{{0, 31034}, {1, 32108, 24, 0}, {3, 32107, 25, 0}}
                                  : Rows{{0, 31016}, {1, 32178, 23, 0}};
  if (setup.lineOptions) rows.insert(rows.end(), {{0, 31022, 0, 3}, {1, 32216, kT}, {2, 1, 36, 1}});
  return rows;
}

Rows AccessoryPage(const CRefEquipSetup& setup) {
  switch (setup.product) {
    case 4:
    case 8:
      return {{0, setup.product == 8 ? 31067 : 31021},
              {1, 32293, kT},
              {2, 32294, 26, 1},
              {3, 32295, 27, 1},
              {5, 32290, 43, 0},
              {7, 32415, 39, 0},
              {9, 32105, 22, 0}};
    case 7: return {{0, 31042}, {1, 32105, 22, 0}};
    case 3: return {{0, 31053}, {1, 32290, 43, 0}};
    case 0: return {{0, 31025}, {1, 32220, 19, 10}, {3, 32221, 20, 10}, {5, 32290, 43, 0}};
    case 1:
    case 2:
      if (setup.specialMode == 2) return {{0, 31037}, {1, 32098, 18, 10}, {3, 32099, 19, 10}};
      return {{0, 31038}, {1, 32166, 26, 0}, {3, 32290, 43, 0}};
    case 6: return {{0, 31054}, {1, 32279, 16, -1}, {2, 32280, 17, -1}, {3, 32281, 18, -1}};
    default: return {};
  }
}

Rows LightingPage(const CRefEquipSetup& setup) {
  const int p = setup.product;
  if (p == 1 || p == 2)
    return {{0, 31052},         {1, 32408, 39, 10}, {2, 32070, kT, 14},
            {3, 32409, 40, 10}, {5, 32111, 23, 10}, {6, 32070, kT, 13}};
  if (p == 3)
    return {{0, 31051},         {1, 32403, 37, 10}, {2, 32404, kT, 13},
            {4, 32405, 38, 10}, {6, 32410, 22, 0},  {7, 32070, kT, 3}};
  if (AnyOf(p, {4, 5, 7, 8}))
    return {{0, 31050},
            {1, 32402, 37, 10},
            {2, 32404, kT, 13},
            {4, setup.rating < 401 ? 32406 : 32407, 38, 10}};
  return {};
}

}  // namespace

std::vector<CRefEquipRowPlan> RefEquipPageRows(const CRefEquipSetup& setup, int pageKind) {
  switch (pageKind) {
    case 0: return FeedPage(setup);
    case 1: return EndPage(setup);
    case 2: return SupportPage(setup);
    case 3: return OptionPage(setup);
    case 4: return TapOffPage(setup);
    case 5: return AccessoryPage(setup);
    case 6: return LightingPage(setup);
    default: return {};
  }
}
