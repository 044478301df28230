#include "model/bom/bom_group.h"

#include <climits>
#include <cstdint>

namespace {

// The C library's integer reading: blanks, an optional sign, leading digits.
int LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
  }
  return static_cast<int>(negative ? -value : value);
}

// Where the group suffix begins, as a search for the whole suffix finds it: from its line
// feed, which a reference hardly ever holds otherwise, while blanks abound. Every cell of
// every bill refreshed looks.
std::size_t FindGroupSuffix(std::string_view reference) {
  // Most cells are shorter than the suffix alone (an item number, a quantity, a price).
  if (reference.size() < kBOMGroupSuffix.size()) return std::string_view::npos;
  for (std::size_t feed = reference.find('\n', 1); feed != std::string_view::npos;
       feed = reference.find('\n', feed + 1)) {
    if (reference.substr(feed - 1).starts_with(kBOMGroupSuffix)) return feed - 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::string_view CutGroupSuffix(std::string_view reference) {
  const std::size_t at = FindGroupSuffix(reference);
  return at == std::string_view::npos ? reference : reference.substr(0, at);
}

CBOMGroup ParseBOMGroup(std::string_view reference) {
  CBOMGroup group;
  const std::size_t at = FindGroupSuffix(reference);
  if (at == std::string_view::npos) return group;
  group.number = LeadingNumber(reference.substr(at + kBOMGroupSuffix.size()));
  const char last = reference.back();
  if (group.number > 0 && (last == '!' || static_cast<unsigned char>(last) > '9'))
    group.flag = last;
  return group;
}

std::string_view TrimBOMBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}
