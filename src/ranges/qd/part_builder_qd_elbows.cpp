#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "ranges/qd/part_builder_qd.h"
#include "ranges/qd/run_qd.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

namespace {

// Group sums and counts are kept well inside 32 bits whatever a stored text says.
constexpr std::int64_t kMaxGroupNumber = 1'000'000'000;
constexpr std::uint32_t kGroupedStyle = 0x64u << 16;

std::int32_t Bounded(std::int64_t value) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(value, -kMaxGroupNumber, kMaxGroupNumber));
}

// 0.43 times the length, rounded half up: what each further elbow shares with the last.
std::int64_t Shared(std::int64_t length) { return (length * 43 + 50) / 100; }

std::optional<std::int64_t> NumberAt(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end == text.data()) return std::nullopt;
  return value;
}

bool IsVertical(const CDev& element) {
  return element.GetDirection() == 2 || element.GetDirection() == 3;
}

std::string GroupText(std::int64_t count, std::int64_t sum) {
  return std::to_string(count) + "/" + std::to_string(sum);
}

void MarkGrouped(CDev& element) {
  element.SetStyle((element.GetStyle() & ~0x00FF0000u) | kGroupedStyle);
}

bool IsGroupReference(std::string_view reference) {
  return reference.substr(std::min<std::size_t>(5, reference.size()), 2) == "DF" ||
         reference.substr(std::min<std::size_t>(5, reference.size()), 3) == "EDF";
}

}  // namespace

CElbowGroupText ParseElbowGroup(std::string_view text) {
  CElbowGroupText group;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return group;
  group.last = text.back() == '!';
  group.count = Bounded(NumberAt(text).value_or(0));
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) group.sum = -1;
  else if (slash == 0) group.sum = 0;
  else group.sum = Bounded(NumberAt(text.substr(slash + 1)).value_or(0));
  return group;
}

int CPartBuilderQD::FindSegmentOf(const CDev& element, bool& isFirst) const {
  const std::vector<CSegment>& segments = GetSegments();
  const int from = std::min(GetSegmentIndex(), static_cast<int>(segments.size()) - 1);
  for (int s = from; s >= 0; --s) {
    const CSegment& segment = segments[static_cast<std::size_t>(s)];
    if (segment.empty()) continue;
    if (segment.front().element == &element || segment.back().element == &element) {
      isFirst = segment.front().element == &element;
      return s;
    }
  }
  return -1;
}

void CPartBuilderQD::GroupElbows(const CSegmentEntry& entry, std::string& buffer) {
  CDev& element = *entry.element;
  bool isFirst = false;
  const int own = FindSegmentOf(element, isFirst);
  const std::vector<CSegment>& segments = GetSegments();
  if (own < 0 || isFirst || own + 1 >= static_cast<int>(segments.size())) return;
  const int turn = m_qd.GetTurnCode(element, entry.outFace, -1, 0);
  const std::int64_t length = element.GetChainLength(-1, false);
  bool flat =
      !IsVertical(element) && m_flat.found && length >= m_flat.leg && (turn == 1 || turn == 2);
  bool edgewise = !IsVertical(element) && m_edgewise.found && length >= m_edgewise.leg;
  bool blocked = IsVertical(element);
  bool edge = turn == 3 || turn == 4 || IsVertical(element);
  std::int64_t flatCount = 1, edgeCount = 1;
  std::int64_t flatSum = flat ? 2 * std::int64_t{m_flat.leg} - Shared(m_flat.share) : 0;
  std::int64_t edgeSum = edgewise ? 2 * std::int64_t{m_edgewise.leg} - Shared(m_edgewise.share) : 0;
  // The walk ends at the last segment, and a damaged run that comes back to an elbow
  // already counted ends it too.
  std::unordered_set<const CDev*> seen{&element};
  for (std::size_t s = static_cast<std::size_t>(own) + 1; (flat || edgewise) && s < segments.size();
       ++s) {
    const CSegmentEntry& next = segments[s].back();
    if (next.element->GetKind() != CDev::kElbow || !seen.insert(next.element).second) break;
    const CDev& elbow = *next.element;
    const std::int64_t legs = elbow.GetChainLength(-1, false);
    const int nextTurn = m_qd.GetTurnCode(elbow, next.outFace, -1, 0);
    blocked = IsVertical(elbow);
    flat = flat && !IsVertical(elbow) && (nextTurn == 1 || nextTurn == 2) &&
           flatSum + legs <= m_flat.longest && legs >= 2 * std::int64_t{m_flat.share};
    if (flat) {
      flatSum += legs - Shared(m_flat.share);
      ++flatCount;
    }
    edgewise = edgewise && edgeSum + legs <= m_edgewise.longest &&
               legs >= 2 * std::int64_t{m_edgewise.share};
    if (edgewise) {
      edgeSum += legs - Shared(m_edgewise.share);
      ++edgeCount;
      edge = edge || nextTurn == 3 || nextTurn == 4 || IsVertical(elbow);
      const bool open = elbow.GetNeighbour(2) == nullptr && elbow.GetNeighbour(3) == nullptr;
      blocked = !(IsVertical(elbow) || open);
    }
  }
  if (edge) {
    if (!blocked && edgeCount >= 2 && m_rating < 16 && m_qd.IsQDT() == 0) {
      for (std::size_t i = 0; i < 11 && i < buffer.size(); ++i) buffer[i] = "QDA10EDF430"[i];
      element.SetFieldText("EF20nbc", GroupText(edgeCount, edgeSum));
    } else if (m_rating == 16) {
      FormatPartLabel(&element, 3, "CHANT", 100, 0);
    } else if (m_qd.IsQDT() != 0) {
      FormatPartLabel(&element, 1, "CHANT", 0, 0);
    } else {
      FormatPartLabel(&element, 5, "EDF", 0, 0);
    }
  } else if (flatCount >= 2) {
    for (std::size_t i = 0; i < 5 && 5 + i < buffer.size(); ++i) buffer[5 + i] = "DF410"[i];
    element.SetFieldText("EF20nbc", GroupText(flatCount, flatSum));
  }
}

void CPartBuilderQD::PropagatePartValue(const CSegmentEntry& entry, int segmentIndex) {
  CDev& first = *entry.element;
  if (first.GetKind() != CDev::kElbow) return;
  const CElbowGroupText group = ParseElbowGroup(first.GetFieldText("EF20nbc").value_or(""));
  if (group.count <= 0 || group.last) return;
  std::vector<CPlannedPart>& parts = GetPlannedParts();
  const auto planned = std::find_if(parts.rbegin(), parts.rend(), [&first](const CPlannedPart& p) {
    return p.element == &first;
  });
  if (planned == parts.rend() || planned->reference.size() < 9) return;
  const std::string reference = planned->reference;
  CBOMGrid& bom = GetRun().GetBOM();
  CDev* reached = &first;
  int index = segmentIndex;
  std::unordered_set<const CDev*> seen{&first};
  for (int step = 0; step + 1 < group.count; ++step) {
    if (index + 1 >= static_cast<int>(GetSegments().size())) break;
    CSegment& next = SegmentAt(index + 1);
    if (next.empty() || !seen.insert(next.back().element).second) break;
    if (reached->GetBooked() != 0) bom.RemoveRefQuantity(reached->GetReference(), 1);
    reached->SetBooked(0);
    MarkGrouped(*reached);
    if (step > 0) reached->SetStyle(reached->GetStyle() & ~0x0F00u);
    ++index;
    SetSegmentIndex(index);
    PostSegmentLengths(index, 0);
    reached = next.back().element;
  }
  if (reached->GetBooked() != 0) bom.RemoveRefQuantity(reached->GetReference(), 1);
  reached->SetReference(reference);
  reached->SetBooked(1);
  bom.AddRefQuantity(reference, 1);
  if (reached != &first)
    reached->SetFieldText("EF20nbc", first.GetFieldText("EF20nbc").value_or("") + "!");
  MarkGrouped(*reached);
  // The group's reference is booked: the first elbow's end piece books nothing more.
  planned->reference.clear();
}

void CPartBuilderQD::AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                                std::string_view reference, int pass) {
  // A group's last elbow starts the segment after the group (pass 0): its piece is
  // fitted back to the group's first elbow. The first elbow ends the segment before it,
  // where its piece may reach as far as the group's legs leave room.
  AdjustGroupPart(entry, reference, first, last, pass == 0 ? 0 : 1);
}

void CPartBuilderQD::AdjustGroupPart(const CSegmentEntry& entry, std::string_view reference,
                                     std::int32_t& first, std::int32_t& second, int mode) {
  const CDev& element = *entry.element;
  if (element.GetKind() != CDev::kElbow || !IsGroupReference(reference)) return;
  const std::string text = element.GetFieldText("EF20nbc").value_or("");
  if (text.empty()) return;
  const CElbowGroupText group = ParseElbowGroup(text);
  std::string padded(reference);
  padded.resize(std::max<std::size_t>(padded.size(), 22), ' ');
  const std::int64_t limit = NumberAt(m_qd.FindPartRow(padded).texts[6]).value_or(0);
  if (limit <= group.sum) return;
  if (mode == 1) {
    second = Bounded(std::int64_t{first} - group.sum + limit);
    return;
  }
  if (mode != 0) return;
  const CDev* reached = &element;
  std::unordered_set<const CDev*> seen{reached};
  for (int step = 0; step + 1 < group.count; ++step) {
    reached = reached->GetNeighbour(reached->GetBackFace());
    if (reached == nullptr || !seen.insert(reached).second) return;
  }
  if (reached->GetKind() != CDev::kElbow) return;
  if (group.count <= 0 && reached->GetFieldText("EF20nbc").value_or("") != text + "!") return;
  const std::int64_t both =
      2 * std::int64_t{first} - reached->GetChainLength(-1, false) - group.sum + limit;
  first = Bounded(both);
  second = first;
}
