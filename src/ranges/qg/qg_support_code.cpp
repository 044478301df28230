#include "ranges/qg/part_builder_qg.h"

#include "geometry/box_owner.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using Int = long long;

std::string Format(const char* format, std::initializer_list<Int> values) {
  std::string text;
  const auto* value = values.begin();
  for (const char* c = format; *c != '\0'; ++c) {
    if (c[0] == '%' && c[1] == 'd' && value != values.end()) {
      text += std::to_string(*value++);
      ++c;
    } else {
      text += *c;
    }
  }
  return text;
}

bool IsVertical(int face) { return face == 2 || face == 3; }

int Opposite(int face) { return CBoxOwner::OppositeDirection(face); }

void StraightLeg(const CSupportLegs& g, std::string& code) {
  const Int l1 = g.l1;
  if (IsVertical(g.d1)) {
    if (l1 >= 2000) code = Format("%d:%d", {g.d1, g.d1 == 2 ? l1 - 700 : 700});
    return;
  }
  if (l1 <= 500) return;
  if (l1 <= 1000) code = Format("%d:%d", {g.d1, l1 / 2});
  else if (l1 <= 2000) code = Format("%d:%d/%d:%d", {g.d1, 250, g.d1, l1 - 250});
  else code = Format("%d:%d/%d:%d", {g.d1, (l1 - 1500) / 2, g.d1, l1 - (l1 - 1500) / 2});
}

void ElbowLegs(const CSupportLegs& g, const CSupportHousing& h, std::string& code) {
  const bool p = h.family.back() == 'P';
  const Int half = p ? h.w1 / 2 : h.w2 / 2;
  const Int l1 = g.l1 - half, l2 = g.l2 - half;
  const Int limit = p ? 800 : 700;
  const Int w1 = h.w1 / 2;
  const int d1 = g.d1, d2 = g.d2;
  if (!IsVertical(d1) && !IsVertical(d2)) {
    const Int small = p ? 300 : 350;
    if (l1 > small || l2 > small || h.w2 >= 191) code = Format("%d%d:0", {d1, d2});
    if (l1 >= limit) code += Format("/%d:250", {d1});
    if (l2 >= limit) code += Format("/%d%d:%d", {d1, d2, half + l2 - 250});
  } else if (d2 == 3) {
    if (p) {
      code = Format("%d:%d", {d1, l1 - 70});
      if (l1 >= 800) code += Format("/%d:%d", {d1, 250});
    } else {
      code = l1 >= 800 ? Format("%d:%d/%d:%d", {d1, 250, d1, l1 - 70})
                       : Format("%d:%d", {d1, l1 - 30});
    }
  } else if (d1 == 2) {
    if (p) {
      code = Format("%d%d:%d", {d1, d2, w1 + 70});
      if (l2 >= 800) code += Format("/%d%d:%d", {d1, d2, w1 + l2 - 250});
    } else {
      code = l2 >= 800 ? Format("%d%d:%d/%d%d:%d", {2, d2, w1 + 70, 2, d2, w1 + l2 - 250})
                       : Format("%d%d:%d", {d1, d2, w1 + 30});
    }
  } else if (d2 == 2) {
    code = Format("%d%d:0", {d1, d2});
    if (l1 >= limit) code += Format("/%d:%d", {d1, 250});
  } else if (d1 == 3) {
    code = Format("%d%d:0", {d1, d2});
    if (l2 >= limit) code += Format("/%d%d:%d", {d1, d2, w1 + l2 - 250});
  }
}

void DoubleElbow(const CSupportLegs& g, const CSupportHousing& h, std::string& code) {
  const Int w = h.family == "ZP" ? h.w1 : h.w2;
  const int d1 = g.d1, d2 = g.d2, d3 = g.d3;
  if (d2 == 2 || d1 == 3) {
    code = d1 == 3 && g.l2 < w ? std::string() : Format("%d%d:0", {d1, d2});
  } else if (d2 == 3) {
    code = d3 == 2 && g.l2 < w ? std::string() : Format("%d%d%d:0", {d1, d2, d3});
  } else if (d3 == 2) {
    code = g.l2 < w ? std::string() : Format("%d%d%d:0", {d1, d2, d3});
  } else {
    code = g.l2 - w >= 100 ? Format("%d%d:%d", {d1, d2, g.l2 / 2})
                           : Format("%d%d:0/%d%d%d:0", {d1, d2, d1, d2, d3});
  }
}

void CombinedElbow(const CSupportLegs& g, const CSupportHousing& h, std::string& code) {
  const bool flat = g.secondTurn == 1 || g.secondTurn == 2;
  const Int h1 = flat ? h.w1 / 2 : h.w2 / 2;
  const Int h2 = flat ? h.w2 / 2 : h.w1 / 2;
  const int d1 = g.d1, d2 = g.d2, d3 = g.d3;
  if (d2 == 2) {
    code = Format("%d%d:0", {d1, d2});
    if (g.l3 - h2 >= 601) code += Format("/%d%d%d:%d", {d1, d2, d3, g.l3 - 250});
    else if (g.l1 - h1 >= 601) code += Format("/%d:250", {d1});
  } else if (d2 == 3) {
    code = Format("%d%d%d:0", {d1, d2, d3});
    if (g.l1 - h1 >= 601) code += Format("/%d:250", {d1});
    else if (g.l3 - h2 >= 601) code += Format("/%d%d%d:%d", {d1, 3, d3, g.l3 - 250});
  } else if (d3 == 2) {
    code = Format("%d%d%d:0", {d1, d2, d3});
    if (g.l2 - h2 - h1 >= 401) code += Format("/%d%d:0", {d1, d2});
  } else if (d1 == 3) {
    code = Format("%d%d:0", {d1, d2});
    if (g.l2 - h2 - h1 >= 401) code += Format("/%d%d%d:0", {d1, d2, d3});
  } else if (d3 == 3 || d1 == 2) {
    const Int y = g.l2 - h2, x = y - h1;
    if (x < 51 || x >= 401)
      code = d3 == 3 ? Format("%d%d:0", {d1, d2}) : Format("%d%d%d:0", {2, d2, d3});
    if (x > 50)
      code += d3 == 3 ? Format("/%d%d:%d", {d1, d2, y - 25}) : Format("/%d%d:%d", {2, d2, h1 + 25});
  }
}

void EndFeed(const CSupportLegs& g, const CSupportHousing& h, std::string& code) {
  const int v = h.variant - '0';
  const int e = v >= 6 && v <= 8 ? g.turnFace3 : g.turnFace1;
  const int o = Opposite(e);
  if ((v >= 1 && v <= 3) || (v >= 7 && v <= 9)) {
    code =
        g.ownStart ? Format("E%d:e/F%d:e", {e, o}) : Format("%dE%d:e/%dF%d:e", {g.d1, e, g.d1, o});
    if (v == 7 || v == 8) {
      std::replace(code.begin(), code.end(), 'E', 'G');
      std::replace(code.begin(), code.end(), 'F', 'H');
    }
  } else {
    code =
        g.ownStart ? Format("7%d:e/%d:e", {e, o}) : Format("%d7%d:e/%d7%d:e", {g.d1, e, g.d1, o});
  }
  if ((v != 6 && v != 8) || IsVertical(g.d1)) return;
  const Int allowance = v == 8 ? std::min<Int>(h.w2 + 100, 370) : g.l2;
  if (g.l1 - allowance >= 300)
    code += g.ownStart ? Format("/%d:%d", {g.d1, g.l1 - 250}) : Format("/%d:250", {g.d1});
}

void CableEnd(const CSupportLegs& g, std::string& code) {
  code = g.ownStart ? Format("7%d:e", {Opposite(g.d1)}) : Format("%d7%d:e", {g.d1, g.d1});
  if (g.l1 >= 300)
    code += g.ownStart ? Format("/%d:%d", {g.d1, g.l1 - 250}) : Format("/%d:250", {g.d1});
}

}  // namespace

std::string ComposeSupportCode(const CSupportLegs& legs, const CSupportHousing& housing) {
  std::string code;
  const std::string& f = housing.family;
  if (f.size() != 2) return code;
  if (f != "ET" && f != "FT") StraightLeg(legs, code);
  if ((f == "DB" || f == "TN" || f == "TP" || f == "TO" || f == "RU") && !IsVertical(legs.d1))
    code = Format("%d:%d", {legs.d1, legs.l1 / 2});
  if (f == "LP" || f == "LC" || f == "FP" || f == "FC") ElbowLegs(legs, housing, code);
  if (f == "TC" || f == "TD") {
    code = legs.d2 == 3 ? (f == "TD" ? Format("%d:%d", {legs.d1, legs.l1 - housing.w2 / 2 - 30})
                                     : Format("%d%d:%d", {legs.d1, legs.d1, housing.w1 / 2 + 70}))
                        : Format("%d%d:0", {legs.d1, legs.d2});
  }
  if (f == "ZP" || f == "ZC") DoubleElbow(legs, housing, code);
  if (f == "CP") CombinedElbow(legs, housing, code);
  if (f == "ER") EndFeed(legs, housing, code);
  if (f == "EL") CableEnd(legs, code);
  return code;
}

int CountSupports(std::string_view code, std::string_view family) {
  if (code.empty()) return 0;
  int count = 1;
  if (code.size() > 2) count += static_cast<int>(std::count(code.begin() + 1, code.end() - 1, '/'));
  if (count == 2 && !family.empty() && family.front() == 'Z') return 1;
  return count;
}
