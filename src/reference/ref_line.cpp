#include "reference/ref_line.h"

#include <algorithm>
#include <array>
#include <map>

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
    MergeItem(*same, item);
    return;
  }
  const int rank = RefKindRank(item.kind);
  auto place = std::find_if(m_items.begin(), m_items.end(), [&](const CRefItemNode& node) {
    return RefKindRank(node.kind) > rank;
  });
  m_items.insert(place, item);
}

void CRefLine::MergeItem(CRefItemNode& same, const CRefItemNode& item) {
  // A weighted mean of two prices can pass 32 bits on the way.
  if (same.unitPrice != item.unitPrice) {
    const std::int64_t total =
        std::int64_t{item.unitPrice} * item.quantity + std::int64_t{same.unitPrice} * same.quantity;
    const std::int64_t count = std::int64_t{same.quantity} + item.quantity;
    same.unitPrice = static_cast<std::int32_t>(total / count);
  }
  same.reference = item.reference;
  same.designation = item.designation;
  same.quantity = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::int64_t{same.quantity} + item.quantity, INT32_MAX));
  same.labour = item.labour;
}

// Adding one item at a time merges it into the node of its reference and kind or puts
// it after every node of its rank or below: the nodes in the order of their first
// appearance, stably sorted by rank.
void CRefLine::AddItemNodes(const std::vector<CRefItemNode>& items) {
  std::map<std::pair<std::string, int>, std::size_t> index;
  std::vector<CRefItemNode> nodes = std::move(m_items);
  for (std::size_t i = 0; i < nodes.size(); ++i)
    index.emplace(std::pair{nodes[i].reference, nodes[i].kind}, i);
  for (const CRefItemNode& item : items) {
    if (item.reference.empty() || item.quantity < 1) continue;
    const auto found = index.find(std::pair{item.reference, item.kind});
    if (found != index.end()) {
      MergeItem(nodes[found->second], item);
      continue;
    }
    index.emplace(std::pair{item.reference, item.kind}, nodes.size());
    nodes.push_back(item);
  }
  std::stable_sort(nodes.begin(), nodes.end(), [](const CRefItemNode& a, const CRefItemNode& b) {
    return RefKindRank(a.kind) < RefKindRank(b.kind);
  });
  m_items = std::move(nodes);
}

std::int32_t CRefLine::Component(int function) const {
  if (function < 0 || function >= kComponentCount) return 0;
  return components[static_cast<std::size_t>(function)];
}
