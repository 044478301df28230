#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_range_rules.h"

#include <charconv>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr int kFirstVersionWithPJP = 623;
constexpr std::uint32_t kOptionMask = 0xF000u;

bool IsCountedFrom(const CDev& element) {
  return element.GetKind() >= CDev::kEnd && element.GetKind() <= CDev::kJunction5;
}

bool IsJointOfIndex(const CDev& element, int variantIndex) {
  return element.GetKind() == CDev::kJoint && element.IsActive() &&
         element.GetVariantIndex() == variantIndex;
}

int OptionBits(const CDev& element) { return static_cast<int>((element.GetStyle() >> 12) & 0xF); }

// A whole number up to the terminator (which is consumed); none when there is none.
std::optional<int> ReadNumberUpTo(std::string_view& text, char terminator) {
  const std::size_t end = text.find(terminator);
  if (end == std::string_view::npos || end == 0) return std::nullopt;
  int value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + end, value);
  if (error != std::errc{} || stop != text.data() + end) return std::nullopt;
  text.remove_prefix(end + 1);
  return value;
}

std::optional<int> ReadDigit(std::string_view& text) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  const int digit = text.front() - '0';
  text.remove_prefix(1);
  return digit;
}

}  // namespace

void CRun::UpdatePJPRecords(int operation, CDev* element) {
  if (!GetRangeRules().KeepsJointOptions()) return;
  switch (operation) {
    case -1:
      if (element == nullptr || !IsCountedFrom(*element)) return;
      std::erase_if(m_pjpRecords,
                    [&](const CPJPRecord& record) { return record.element == element; });
      return;
    case 0:
      if (m_partsState == 0) return;
      m_pjpRecords.clear();
      for (CDev* device : m_devices) {
        if (device->GetKind() == CDev::kJoint && device->IsActive() && OptionBits(*device) != 0)
          RememberJointOption(*device);
      }
      return;
    case 1:
      for (const CPJPRecord& record : m_pjpRecords) PutBackJointOption(record);
      m_pjpRecords.clear();
      return;
    case 2: {
      const std::vector<CDev*> order = GetChainOrder();
      std::unordered_map<const CDev*, int> indexOf;
      for (std::size_t i = 0; i < order.size(); ++i) indexOf.emplace(order[i], static_cast<int>(i));
      std::string text;
      for (const CPJPRecord& record : m_pjpRecords) {
        const auto it = indexOf.find(record.element);
        if (it == indexOf.end()) continue;
        text += std::to_string(it->second) + "/" + std::to_string(record.face) +
                std::to_string(record.variantIndex) + std::to_string(record.count) + "/" +
                std::to_string(record.optionBits) + "/";
      }
      SetPropValue("PJP", text);
      return;
    }
    case 3: {
      m_pjpRecords.clear();
      const int version = m_document != nullptr ? m_document->GetFileVersion() : 10000;
      if (version < kFirstVersionWithPJP) {
        SetPropValue("PJP", "");
        return;
      }
      if (!ReadPJPText(GetPropValue("PJP"))) m_pjpRecords.clear();
      return;
    }
    default: return;
  }
}

bool CRun::RememberJointOption(CDev& joint) {
  const int variantIndex = joint.GetVariantIndex();
  int count = 0;
  std::unordered_set<const CDev*> seen;
  for (CDev* at = &joint; at != nullptr && seen.insert(at).second; at = at->GetBackNeighbour()) {
    if (IsCountedFrom(*at)) {
      m_pjpRecords.push_back({at, joint.GetDirection(), variantIndex, count, OptionBits(joint)});
      return true;
    }
    if (IsJointOfIndex(*at, variantIndex)) ++count;
  }
  return false;
}

void CRun::PutBackJointOption(const CPJPRecord& record) {
  if (record.element == nullptr || !OwnsElement(record.element)) return;
  int count = 0;
  std::unordered_set<const CDev*> seen{record.element};
  for (CDev* at = record.element->GetNeighbour(record.face);
       at != nullptr && seen.insert(at).second; at = at->GetNeighbour(record.face)) {
    if (!IsJointOfIndex(*at, record.variantIndex) || ++count < record.count) continue;
    const auto bits = static_cast<std::uint32_t>(record.optionBits & 0xF) << 12;
    at->SetStyle((at->GetStyle() & ~kOptionMask) | bits);
    at->SetStyle2((at->GetStyle2() & ~kOptionMask) | bits);
    return;
  }
}

bool CRun::ReadPJPText(std::string_view text) {
  const std::vector<CDev*> order = GetChainOrder();
  while (!text.empty()) {
    const std::optional<int> index = ReadNumberUpTo(text, '/');
    const std::optional<int> face = ReadDigit(text);
    const std::optional<int> variantIndex = ReadDigit(text);
    const std::optional<int> count = ReadNumberUpTo(text, '/');
    const std::optional<int> bits = ReadNumberUpTo(text, '/');
    if (!index || !face || !variantIndex || !count || !bits) return false;
    if (*index < 0 || static_cast<std::size_t>(*index) >= order.size()) return false;
    CDev* element = order[static_cast<std::size_t>(*index)];
    if (!IsCountedFrom(*element) || *face >= CDev::kFaceCount || *count < 1 || *bits < 1 ||
        *bits > 15) {
      return false;
    }
    m_pjpRecords.push_back({element, *face, *variantIndex, *count, *bits});
  }
  return true;
}
