#include "model/run/phase_order.h"

#include "model/element/dev.h"
#include "model/run/run.h"

#include <array>
#include <unordered_set>
#include <vector>

namespace phase_order {

namespace {

constexpr std::array<int, kCodeCount> kReverse = {1, 0, 5, 4, 3, 2};
constexpr std::array<int, kCodeCount> kRotate = {2, 3, 4, 5, 0, 1};
constexpr std::array<int, kCodeCount> kRotateBack = {4, 5, 0, 1, 2, 3};

bool ChangesOrder(const CDev& element) {
  const int variant = element.GetVariant();
  return element.GetKind() == CDev::kInLineVariant &&
         (variant == 7 || variant == 8 || variant == 13);
}

}  // namespace

std::string OrderText(int code) {
  static constexpr const char* kOrders[kCodeCount] = {"321", "123", "132", "312", "213", "231"};
  return code >= 0 && code < kCodeCount ? kOrders[code] : std::string();
}

int CodeOfFlags(std::uint32_t flags) {
  return static_cast<int>(((flags >> 4) & 1) | ((flags >> 7) & 6));
}

std::uint32_t WithCode(std::uint32_t flags, int code) {
  const auto bits = static_cast<std::uint32_t>(code);
  return (flags & ~kCodeMask) | ((bits & 1) << 4) | ((bits & 6) << 7);
}

int Permute(int variant, int code, bool backwards) {
  if (variant != 7 && variant != 8 && variant != 13) return code;
  const std::size_t index = code >= 0 && code < kCodeCount ? static_cast<std::size_t>(code) : 0;
  if (variant != 13) return kReverse[index];
  return backwards ? kRotateBack[index] : kRotate[index];
}

}  // namespace phase_order

int GetPhaseOrderAt(const CDev& element, int mode) {
  const CRun* run = element.GetRun();
  if (run == nullptr) return 0;
  int code = phase_order::CodeOfFlags(run->GetFlagsWord());
  std::vector<int> changes;
  std::unordered_set<const CDev*> visited;
  for (const CDev* at = &element; at != nullptr && visited.insert(at).second;
       at = at->GetBackNeighbour()) {
    if (phase_order::ChangesOrder(*at)) changes.push_back(at->GetVariant());
  }
  const bool backwards = mode < 0;
  if (backwards) {
    for (int variant : changes) code = phase_order::Permute(variant, code, true);
  } else {
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
      code = phase_order::Permute(*it, code, false);
  }
  return code;
}
