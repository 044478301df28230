#include "model/document/check_message_frame.h"

#include "model/document/check_message_table.h"
#include "model/element/dev.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsStraight(const CDev& element) {
  return element.GetKind() == CDev::kInLine && element.GetVariant() == 0;
}

const CDev* NextBehind(const CDev& element, bool skipJoints) {
  const int face = element.GetBackFace();
  const CDev* next = element.GetNeighbour(face);
  for (int guard = 0; next != nullptr && guard < 4096; ++guard) {
    if (!IsStraight(*next) && !(skipJoints && next->GetKind() == CDev::kJoint)) return next;
    next = next->GetNeighbour(face);
  }
  return nullptr;
}

}  // namespace

std::vector<const CDev*> CheckFrameElements(const CCheckMessage& message) {
  std::vector<const CDev*> elements;
  const CDev* element = message.element;
  if (element == nullptr) return elements;
  if (message.state >= 10 && message.state <= 13) {
    elements.push_back(element);
    if (const CDev* next = NextBehind(*element, true)) elements.push_back(next);
  } else if (message.state == 14) {
    const int face = element->GetBackFace();
    const CDev* joint = element->GetNeighbour(face);
    for (int guard = 0; joint != nullptr && joint->GetKind() != CDev::kJoint && guard < 4096;
         ++guard) {
      joint = joint->GetNeighbour(face);
    }
    if (joint != nullptr) {
      elements.push_back(joint);
      if (const CDev* next = NextBehind(*joint, false)) elements.push_back(next);
    }
  } else {
    elements.push_back(element);
  }
  return elements;
}

CCheckFrame FrameCheckMessage(const CCheckMessage& message, const CCheckZoomTarget& target) {
  std::vector<std::pair<double, double>> corners;
  for (const CDev* element : CheckFrameElements(message)) {
    const auto more = target.ProjectedCorners(*element);
    corners.insert(corners.end(), more.begin(), more.end());
  }
  CCheckFrame frame;
  if (corners.empty()) return frame;
  CZoomRect bounds{corners[0].first, corners[0].second, corners[0].first, corners[0].second};
  for (const auto& [x, y] : corners) {
    bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
              std::max(bounds.bottom, y)};
  }
  frame.framed = true;
  frame.x = (bounds.left + bounds.right) / 2;
  frame.y = (bounds.top + bounds.bottom) / 2;
  double largest = 0;
  for (const auto& [x, y] : corners)
    largest = std::max(largest, std::hypot(x - frame.x, y - frame.y));
  frame.radius = static_cast<int>(std::min(1.6 * largest, 1e9));
  const double reach = 2.0 * frame.radius;
  frame.zoom = {frame.x - reach, frame.y - reach, frame.x + reach, frame.y + reach};
  return frame;
}

CCorrectionButtons CorrectionButtonsFor(const CCheckMessage& message, std::string_view catalog) {
  CCorrectionButtons buttons;
  if (message.state < 10 || message.state > 14 || (catalog != "QDA" && catalog != "QDT"))
    return buttons;
  buttons.lengthen = message.value1 > message.value2;
  buttons.shorten = message.value2 != 0;
  return buttons;
}
