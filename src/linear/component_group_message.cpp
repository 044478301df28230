#include <utility>

#include "linear/component_chooser.h"
#include "linear/linear_products.h"

namespace {

// Heading messages of the tap-off block.
constexpr int kMsgTapOffBoxes = 31008;
constexpr int kMsgLightingBoxes = 31131;
constexpr int kMsgQylBoxes = 32268;

struct ButtonMessage {
  int message;
  int groupKind;
};

ButtonMessage MessageOfButton(int product, int button, bool apod) {
  const bool p = product == kProductQPA || product == kProductQPC;
  const bool mOrP = IsQmProduct(product) || (p && !apod);
  if (button == 5) return {32422, 10};
  switch (button) {
    case 1:
      if (mOrP) return {32024, 1};
      if (p) return {32025, 2};
      if (product == kProductQDA) return {32066, 1};
      if (IsQwProduct(product)) return {31053, 4};
      if (product == kProductQJF) return {31114, 5};
      if (IsQyProduct(product) || product == kProductQFP) return {32028, 7};
      if (product == kProductQYL) return {32269, 0};
      break;
    case 2:
      if (mOrP) return {32025, 2};
      if (p) return {32258, 8};
      if (product == kProductQDA) return {32067, 2};
      if (product == kProductQJF) return {31115, 6};
      if (product == kProductQYL) return {32270, 0};
      break;
    case 3:
      if (mOrP) return {32026, 30};
      if (p) return {32261, 9};
      if (product == kProductQDA) return {32068, 3};
      if (product == kProductQJF) return {32026, 3};
      break;
    default: break;
  }
  return {0, 0};
}

int GroupLabel(int key) {
  static constexpr std::pair<int, int> kLabels[] = {
      {1, 32271},   {2, 32272},   {11, 31056},  {12, 31057},  {13, 31058}, {14, 31142},
      {15, 31143},  {16, 31144},  {17, 31157},  {21, 32025},  {31, 31054}, {32, 31055},
      {33, 31095},  {41, 31039},  {42, 31040},  {43, 31096},  {51, 31116}, {52, 31117},
      {61, 31118},  {62, 31119},  {71, 31128},  {72, 31129},  {73, 31130}, {74, 31133},
      {81, 32259},  {82, 32260},  {91, 32262},  {92, 32263},  {93, 32264}, {101, 32423},
      {102, 32424}, {301, 31153}, {302, 31154}, {303, 31155}, {304, 31156}};
  for (const auto& [k, message] : kLabels)
    if (k == key) return message;
  return 0;
}

}  // namespace

int ComponentGroupMessage(int product, int button, int& code, bool apod) {
  // Both P products read as the variant in use.
  if (product == kProductQPA || product == kProductQPC) product = apod ? kProductQPC : kProductQPA;
  const ButtonMessage found = MessageOfButton(product, button, apod);
  if (code == 0) {
    code = found.groupKind;
    const int heading = found.groupKind == 7   ? kMsgLightingBoxes
                        : found.groupKind != 0 ? kMsgTapOffBoxes
                                               : kMsgQylBoxes;
    return found.message | (heading << 16);
  }
  const int label = GroupLabel(found.groupKind * 10 + code);
  return label != 0 ? label : found.message;
}
