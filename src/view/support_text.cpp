#include "view/support_text.h"

#include <limits>

namespace {

constexpr std::size_t kMaxPlacements = 9;

// The decimal integer at pos (0 when none), pos moved past it.
std::int32_t ReadNumber(std::string_view text, std::size_t& pos) {
  std::int64_t value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    if (value > std::numeric_limits<std::int32_t>::max())
      value = std::numeric_limits<std::int32_t>::max();
    ++pos;
  }
  return static_cast<std::int32_t>(value);
}

// Reads one item from pos; returns where it ended.
std::size_t ReadItem(std::string_view text, std::size_t pos, CSupportText& out) {
  CSupportPlacement item;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c >= 'a' && c <= 'f') {
      out.side = c - 'a';
    } else if (c >= '0' && c <= '5') {
      const int face = c - '0';
      if (pos + 1 >= text.size()) return pos + 1;
      if (text[pos + 1] == ':') {
        pos += 2;
        item.face = face;
        item.halfExtent = pos < text.size() && text[pos] == 'e';
        item.distance = ReadNumber(text, pos);
        item.halfExtent = item.halfExtent && item.distance == 0;
        out.placements.push_back(item);
        return pos;
      }
      item.moves.push_back(face);
    } else if (c >= '6' && c <= 'H') {
      // ':' lies in this range too: a colon after no face digit selects slot 10
      item.slot = c - '0';
    } else if (c != '/') {
      return pos;
    }
    ++pos;
  }
  return pos;
}

}  // namespace

CSupportText ParseSupportText(std::string_view text) {
  CSupportText out;
  std::size_t pos = 0;
  while (pos < text.size() && out.placements.size() < kMaxPlacements) {
    pos = ReadItem(text, pos, out);
    pos = text.find('/', pos);
    if (pos == std::string_view::npos) break;
  }
  return out;
}
