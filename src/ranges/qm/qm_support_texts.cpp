#include "ranges/qm/part_builder_qm.h"

#include <algorithm>

namespace {

bool IsStraightFamily(std::string_view family) {
  return family == "ET" || family == "ED" || family == "EH" || family == "EB" || family == "TN" ||
         family == "TP";
}

bool IsVertical(int face) { return face == 2 || face == 3; }

std::string Entry(int d, std::int64_t distance) {
  return std::to_string(d) + ":" + std::to_string(distance);
}

std::string Entry(int d, int e, std::int64_t distance) {
  return std::to_string(d) + std::to_string(e) + ":" + std::to_string(distance);
}

// A further support; the first one of a text takes no separator, so no text starts with
// an empty entry that would be counted as a support.
void Append(std::string& text, const std::string& entry) {
  if (!text.empty()) text += '/';
  text += entry;
}

// An edgewise elbow is held by the narrow side of its housing (half the third value).
std::string EdgewiseElbowText(const CQMElbowLegs& legs, std::int64_t h) {
  const int d = legs.d, e = legs.e;
  const std::int64_t l = legs.first - h, l2 = legs.second - h;
  if (IsVertical(d) || IsVertical(e)) {
    if (e == 3 && l >= 351) return Entry(d, l - 100);
    if (d == 2 && l2 >= 351) return Entry(d, e, h + 100);
    return Entry(d, e, 0);
  }
  std::string text;
  if (l > 350 || l2 > 350 || legs.w3 >= 205) text = Entry(d, e, 0);
  if (l > 350) Append(text, Entry(d, 300));
  if (l2 >= 351) Append(text, Entry(d, e, h + l2 - 300));
  return text;
}

std::string FlatElbowVerticalText(const CQMElbowLegs& legs, std::int64_t h) {
  const int d = legs.d, e = legs.e;
  const std::int64_t l = legs.first - h, l2 = legs.second - h;
  std::string text;
  if (e == 3) {
    text = Entry(d, l - 30);
    if (l > 400) Append(text, Entry(d, 300));
  }
  if (d == 2) {
    text = Entry(d, e, h + 30);
    if (l2 > 400) Append(text, Entry(d, e, l2 + h - 300));
  } else if (e == 2) {
    text = Entry(d, e, 0);
    if (l > 350) Append(text, Entry(d, 300));
  } else if (d == 3) {
    text = Entry(d, e, 0);
    if (l2 > 350) Append(text, Entry(d, e, l2 + h - 300));
  }
  return text;
}

// A flat elbow is held by the wide side of its housing (half the second value).
std::string FlatElbowText(const CQMElbowLegs& legs, std::int64_t h) {
  if (IsVertical(legs.d) || IsVertical(legs.e)) return FlatElbowVerticalText(legs, h);
  const int d = legs.d, e = legs.e;
  const std::int64_t l = legs.first - h, l2 = legs.second - h;
  std::string text;
  if (l >= 501) {
    text = Entry(d, l - 100);
  } else if (l2 <= 500 && (l >= 331 || l2 >= 331)) {
    text = Entry(d, e, 0);
  }
  if (l2 >= 501) Append(text, Entry(d, e, h + 100));
  return text;
}

}  // namespace

std::string StraightSupportText(std::string_view family, int d, std::int64_t length, bool onSide) {
  if (!IsStraightFamily(family)) return {};
  if (IsVertical(d)) {
    if (family.starts_with('E') && length >= 2000) return Entry(d, d == 2 ? length - 700 : 700);
    return {};
  }
  if (onSide) {
    if (length > 3000) return Entry(d, length / 3) + "/" + Entry(d, length - length / 3);
    return Entry(d, length / 2);
  }
  if (length > 2800)
    return Entry(d, 300) + "/" + Entry(d, length / 2) + "/" + Entry(d, length - 300);
  if (length > 800) return Entry(d, 300) + "/" + Entry(d, length - 300);
  return Entry(d, length / 2);
}

std::string ElbowSupportText(std::string_view family, const CQMElbowLegs& legs) {
  if (family == "LC") return EdgewiseElbowText(legs, legs.w3 / 2);
  if (family == "LP") return FlatElbowText(legs, legs.w2 / 2);
  return {};
}

std::string FittingSupportText(std::string_view family, int d) {
  if (IsVertical(d)) return {};
  if (family == "SL" || family == "PL" || family == "RL")
    return Entry(d, 650) + "/" + Entry(d, 1350);
  if (family == "DB") return Entry(d, 300);
  return {};
}

int CountQMSupports(std::string_view text, std::string_view family) {
  if (text.empty()) return 0;
  const int count = static_cast<int>(std::count(text.begin(), text.end(), '/')) + 1;
  return count == 2 && family.starts_with('Z') ? 1 : count;
}
