#include "reference/ref_line.h"

#include <algorithm>
#include <array>

int RefKindRank(int kind) {
  constexpr std::array<int, 6> kRanks = {1, 2, 6, 4, 3, 5};
  if (kind < 0 || kind >= static_cast<int>(kRanks.size())) return 7;
  return kRanks[static_cast<std::size_t>(kind)];
}

void CRefLine::Assign(const CRefLine* source) {
  FreeItemNodes();
  if (!source) {
    *this = CRefLine();
    return;
  }
  if (source == this) return;
  name = source->name;
  comment = source->comment;
  group = source->group;
  productKind = source->productKind;
  rating = source->rating;
  conductors = source->conductors;
  connection = source->connection;
  fixingSpacing = source->fixingSpacing;
  length = source->length;
  lineQuantity = source->lineQuantity;
  count = source->count;
  lineMode = source->lineMode;
  extraCode = source->extraCode;
  components = source->components;
  slots = source->slots;
  sections = source->sections;
  for (const CRefItemNode& item : source->m_items) AddItemNode(item);
}

void CRefLine::AddItemNode(const CRefItemNode& item) {
  if (item.reference.empty() || item.quantity < 1) return;
  auto same = std::find_if(m_items.begin(), m_items.end(), [&](const CRefItemNode& node) {
    return node.reference == item.reference && node.kind == item.kind;
  });
  if (same != m_items.end()) {
    // A weighted mean of two prices can pass 32 bits on the way.
    if (same->unitPrice != item.unitPrice) {
      const std::int64_t total = std::int64_t{item.unitPrice} * item.quantity +
                                 std::int64_t{same->unitPrice} * same->quantity;
      const std::int64_t count = std::int64_t{same->quantity} + item.quantity;
      same->unitPrice = static_cast<std::int32_t>(total / count);
    }
    same->reference = item.reference;
    same->designation = item.designation;
    same->quantity = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{same->quantity} + item.quantity, INT32_MAX));
    same->labour = item.labour;
    return;
  }
  const int rank = RefKindRank(item.kind);
  auto place = std::find_if(m_items.begin(), m_items.end(), [&](const CRefItemNode& node) {
    return RefKindRank(node.kind) > rank;
  });
  m_items.insert(place, item);
}

std::int32_t CRefLine::Component(int function) const {
  if (function < 0 || function >= kComponentCount) return 0;
  return components[static_cast<std::size_t>(function)];
}
