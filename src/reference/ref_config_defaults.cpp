#include <array>
#include <string>

#include "reference/ref_config.h"

namespace {

using Slots = std::array<int, 9>;
using States = std::array<int, 56>;
using Ratings = std::array<int, 10>;

// Option optionSlots 0-7 and CALMAX, by product.
constexpr std::array<Slots, 9> kSlots = {{
    {1, 0, 0, 0, 0, 0, 0, 0, 20},
    {1, 0, 1, 0, 0, 0, 0, 0, 40},
    {1, 0, 1, 0, 1, 0, 0, 0, 40},
    {1, 0, 1, 0, 0, 0, 0, 0, 160},
    {1, 0, 0, 0, 0, 1, 1, 0, 1000},
    {1, 0, 0, 0, 0, 1, 0, 0, 800},
    {1, 0, 0, 0, 0, 0, 0, 0, 25},
    {1, 0, 0, 0, 0, 1, 0, 0, 800},
    {1, 0, 0, 0, 0, 0, 0, 0, 800},
}};

constexpr std::array<Ratings, 9> kRatings = {{
    {20},
    {25, 40},
    {25, 40},
    {40, 63, 100, 160},
    {100, 160, 250, 400, 500, 630, 800, 1000},
    {100, 160, 250, 400, 500, 630, 800},
    {25},
    {100, 160, 250, 400, 500, 630, 800},
    {160, 250, 400, 630, 800},
}};

// The component states, eight to a group.
constexpr std::array<States, 9> kStates = {{
    {1, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0,
     2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 2},
    {1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 2, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 0, 1, 2, 1, 1, 1, 0, 1, 1, 1, 1, 1, 0, 0, 2},
    {0, 1, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 0, 1, 2, 1, 1, 1, 0, 1, 1, 1, 1, 1, 0, 0, 2},
    {1, 1, 0, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 2, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 0, 0, 0, 0, 2, 1, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 2},
    {1, 1, 1, 1, 1, 0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 2, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2,
     1, 1, 1, 1, 0, 2, 2, 2, 0, 2, 2, 2, 2, 2, 0, 2, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 2},
    {1, 0, 1, 0, 1, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2, 1, 2, 2, 2, 2, 0, 2, 2, 2, 0, 0,
     1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 2},
    {1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 1, 1, 0, 0, 0, 0, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2},
    {1, 1, 1, 1, 1, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2, 1, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0,
     1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 2},
    {1, 1, 1, 0, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 2, 1, 2, 2, 2, 0, 0, 0, 2, 2, 2, 2,
     1, 0, 1, 0, 0, 2, 2, 2, 0, 2, 2, 0, 2, 2, 0, 2, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 2},
}};

constexpr int kQYA = 1, kQYB = 2;

void SetStates(States& states, std::initializer_list<int> indexes, int value) {
  for (int i : indexes) states[static_cast<std::size_t>(i)] = value;
}

std::string Numbered(const char* stem, int number) { return stem + std::to_string(number); }

// The keys of indexes 24-36, which differ between QFP and the other products.
std::string AccessoryKey(int product, int component) {
  static constexpr const char* kQfp[] = {"FC10", "FC30", "FC50", "",     "BA12", "BA15", "FM20",
                                         "FM30", "FM40", "FM50", "FM70", "FM90", "MC10"};
  static constexpr const char* kOthers[] = {"ALIM3", "ALIM0", "ALIM4", "ALIM5"};
  if (product == 0) return kQfp[component - 24];
  return component >= 28 && component <= 31 ? kOthers[component - 28] : "";
}

}  // namespace

namespace ref_defaults {

CRefProductOptions ProductOptions(int product, int specialMode) {
  CRefProductOptions options;
  if (product < 0 || product >= 9) return options;
  const auto p = static_cast<std::size_t>(product);
  options.optionSlots = kSlots[p];
  options.states = kStates[p];
  options.ratings = kRatings[p];
  if (specialMode == 1) {
    if (product == kQYB) options.optionSlots[8] = 0;
    if (product == kQYA) SetStates(options.states, {0, 3, 5, 6, 7}, 0);
  } else if (specialMode == 2) {
    if (product == kQYA) {
      options.optionSlots[4] = 1;
      SetStates(options.states, {2, 28}, 1);
      SetStates(options.states, {5, 7}, 0);
    }
    if (product == kQYB) SetStates(options.states, {0, 2, 3, 28}, 1);
  }
  return options;
}

std::string ComponentKey(int product, int component) {
  if (product < 0 || product >= 9) return {};
  if (component == 0 || component == 1) return Numbered("ALIM", component + 1);
  if (component == 2) return "FERM1";
  if (component >= 3 && component <= 5) return Numbered("DROIT", component - 2);
  if (component == 6 || component == 7)
    return product == 0 ? Numbered("DROIT", component - 2) : Numbered("COMPL", component - 5);
  if (component == 8) {
    if (product == 0) return "DROIT6";
    if (product == 4 || product == 7 || product == 8) return "CHOIX4D";
    return product == 1 || product == 2 ? "DROIT0" : "";
  }
  if (component >= 9 && component <= 12) return Numbered("FIX", component - 8);
  if (component >= 13 && component <= 15) return Numbered("FIXL", component - 12);
  if (component >= 24 && component <= 36) return AccessoryKey(product, component);
  if (component == 42) return "FLAGS";
  if (component == 44) return product == 0 ? "FIX0" : "FIX5";
  if (component == 55) return "SUPPL";
  return {};
}

std::array<int, 5> ConnectionFlags(int product, int specialMode) {
  std::array<int, 5> flags{0, 1, 0, 0, 0};
  if (product < 0 || product >= 9) return {};
  if (product == 0 || product == kQYA) flags = {1, 1, 0, 0, 0};
  if (product == kQYB) flags = {1, 1, 1, 1, 1};
  if (specialMode == 2 && product == kQYA) flags[0] = 0;
  if (specialMode == 2 && product == kQYB) flags[0] = flags[2] = flags[3] = 0;
  return flags;
}

}  // namespace ref_defaults
