#include "view/outlet_layout.h"

namespace {

void Evenly(COutletLayout& out, std::int32_t first, std::int32_t step, int count) {
  for (int i = 0; i < count; ++i) out.positions.push_back(first + step * i);
}

void QpLayout(const COutletQuery& q, COutletLayout& out) {
  const char c3 = q.catalog.size() > 2 ? q.catalog[2] : '\0';
  const bool aOrC = c3 == 'A' || c3 == 'C';
  const bool small = q.calibre <= (aOrC ? 40 : 25);
  out.width = small ? 46 : 90;
  out.height = 120;
  out.code = small ? 1 : 2;
  std::int32_t first = small ? 135 : 250;
  const std::int32_t L = q.length;
  int layout = q.layout;
  const bool longLength = L == 5000 || L == 3000;
  if (longLength && q.neutral == "3" && c3 != 'C' && (layout == 1 || layout == 2))
    layout = small ? 2 : 1;
  const int extra = small ? 1 : 0;
  auto shortRule = [&](int count, bool lastFurther) {
    Evenly(out, first, 500, count + extra);
    if (!small && lastFurther && !out.positions.empty()) out.positions.back() += 250;
  };
  if (layout == 1 && longLength) {
    Evenly(out, first, 1000, L == 5000 ? 5 : 3);
  } else if (layout == 2 && longLength) {
    const int count = (L == 5000 ? 9 : 5) + extra;
    Evenly(out, first, 500, count);
    if (!small) {
      for (std::size_t i = static_cast<std::size_t>((count + 1) / 2); i < out.positions.size(); ++i)
        out.positions[i] += 250;
    }
  } else if ((layout == 1 || layout == 2) && (L == 2000 || L == 1500)) {
    shortRule(L == 2000 ? 3 : 2, L == 2000 || q.side == 1);
  } else if (layout == 3 && !aOrC && (L == 1500 || L == 2000 || L == 2500 || L == 3000)) {
    if (q.side == 0 && L > 2000) first += L - 2000;
    shortRule(L == 1500 ? 2 : 3, L >= 2000 || q.side == 1);
  } else if (layout == 3 && aOrC && q.side == 0 &&
             (L == 800 || L == 1500 || L == 2000 || L == 2500)) {
    if (L == 800) {
      out.positions.push_back(250);
    } else {
      Evenly(out, first, 500, L == 2500 ? 4 : 3);
    }
    if (q.calibre == 40 && !out.positions.empty()) {
      // the first outlet alone moves
      out.positions.front() = 150;
    }
  }
}

void QmLayout(const COutletQuery& q, COutletLayout& out) {
  out.width = 90;
  out.height = 120;
  out.code = 4;
  const std::int32_t L = q.length;
  if (q.jointSide != q.side) return;
  if (q.layout == 2) {
    if (L != 4000 && L != 2000) return;
    out.width = 160;
    out.code = 8;
    out.positions.push_back(500);
    if (L == 4000) out.positions.push_back(2500);
  } else if (q.layout == 1 || q.layout == 3) {
    const bool listed = L == 4000 || L == 2000 || L == 1500 || L == 1000;
    const bool midRange = q.layout == 3 && L >= 2500 && L <= 3500;
    if (!listed && !midRange) return;
    if (q.edStep != "0") {
      if (L == 4000 && q.layout == 1) {
        Evenly(out, 450, 880, q.eh44 ? 4 : 3);
        return;
      }
      int count = 3;
      if (L >= 2500 && L <= 3000) count = 2;
      if ((L == 2000 || (L >= 2500 && L <= 3500)) && q.ed31) count = 1;
      Evenly(out, L == 2000 && count == 3 ? 400 : 450, 500, count);
    } else if (L == 4000 && q.layout == 1) {
      Evenly(out, 1000, 1000, 3);
    } else {
      Evenly(out, 400, 500, q.layout == 3 && L >= 2500 ? 3 : (L - 500) / 1000);
    }
  } else if (q.layout == 4) {
    out.height = 110;
    out.code = 16;
    if (L == 2000) {
      out.positions = {400, 1200};
    } else if (L == 4000 && q.eh44) {
      out.positions = {400, 1200, 2000, 2800};
    } else {
      out.positions = {1000, 2000, 3000};
    }
  }
}

void QjfLayout(const COutletQuery& q, COutletLayout& out) {
  out.width = 90;
  out.height = 110;
  out.code = 16;
  if (q.layout == 0 && q.computeOnly) {
    out.code = 32;
    out.positions = {0, q.length};
  }
  if (q.layout != 1 || q.jointSide != q.side) return;
  if (q.length == 5000) out.positions = {1050, 2020, 2990, 3770, 4550};
  if (q.length == 3000) out.positions = {990, 1770, 2550};
}

void QdLayout(const COutletQuery& q, COutletLayout& out) {
  out.width = 30;
  out.height = 90;
  out.code = 128;
  if (q.side != 1) return;
  if (q.length == 3000) {
    if (q.layout == 1) Evenly(out, 150, 1000, 3);
    if (q.layout == 2) Evenly(out, 150, 500, 6);
    if (q.layout == 4) out.positions = {1500};
  } else if (q.length == 2000) {
    Evenly(out, 150, 500, 4);
  }
}

}  // namespace

COutletLayout ComputeOutletLayout(const COutletQuery& q) {
  COutletLayout out;
  const std::string range = q.catalog.substr(0, 2);
  if (q.catalog == "QJF") {
    QjfLayout(q, out);
  } else if (range == "QP" || range == "Qp") {
    QpLayout(q, out);
  } else if (range == "QM") {
    QmLayout(q, out);
  } else if (range == "QD") {
    QdLayout(q, out);
  } else if (range == "QW" && q.computeOnly && !(q.layout == 3 && q.side == 0)) {
    out.code = 64;
    out.positions = {0, q.length};
  }
  if (q.computeOnly && (out.code == 2 || out.code == 4) && range != "Qp") {
    for (std::int32_t& p : out.positions) p -= 13;
  }
  if (q.side == 1) {
    for (std::int32_t& p : out.positions) p = q.length - p;
  }
  return out;
}
