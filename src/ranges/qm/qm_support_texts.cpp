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

std::string Entry(int d, int e, int f, std::int64_t distance) {
  return std::to_string(d) + Entry(e, f, distance);
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

// A combined piece is held halfway along its middle leg; one whose middle leg is little
// more than the housing is held at both corners, and one that turns up or down at its
// corner.
std::string CombinedElbowSupportText(std::string_view family, const CQMCombinedLegs& legs) {
  if (family != "ZP" && family != "ZC" && family != "CP") return {};
  const int d = legs.d, e = legs.e, f = legs.f;
  if (IsVertical(d) || IsVertical(e) || IsVertical(f)) return Entry(d, e, f, 0);
  if (legs.middle >= legs.width - 50 && legs.middle <= legs.width + 50)
    return Entry(d, e, 0) + "/" + Entry(d, e, f, 0);
  return Entry(d, e, legs.middle / 2);
}

// A feed box is held near the end it stands at: a plain box 300 from it, a box that
// takes an elbow in 100, a cable or transformer connection 30. The stretch starts at the
// box when nothing is behind it, else it ends at the box.
std::string FeedBoxSupportText(char connection, int d, std::int64_t length, bool predecessor) {
  std::int64_t distance = 30;
  if (connection == '1' || connection == '2') distance = 300;
  if (connection >= '3' && connection <= '6') distance = 100;
  return Entry(d, predecessor ? std::max<std::int64_t>(length - distance, 0) : distance);
}

// A special connection unit is held on its side (face `side`) at two fixed places; the
// way along the line to it (face d) is written only when a line leads to it.
std::string SpecialUnitSupportText(char connection, int d, int side, bool predecessor) {
  std::int64_t near = 0, far = 0;
  if (connection == '1' || connection == '2') {
    near = 427;
    far = 207;
  } else if (connection == '3' || connection == '4') {
    near = far = 430;
  } else {
    return {};
  }
  const std::string way = (predecessor ? std::to_string(d) : std::string()) + "7";
  return way + Entry(side, near) + "/" + way + Entry(side, far);
}

// A tee is held at its corner, by the face of the line and the side its branch leaves by.
std::string TeeSupportText(int d, int side) { return Entry(d, side, 0); }

int CountQMSupports(std::string_view text, std::string_view family) {
  if (text.empty()) return 0;
  const int count = static_cast<int>(std::count(text.begin(), text.end(), '/')) + 1;
  return count == 2 && family.starts_with('Z') ? 1 : count;
}
