#include "model/element/dev.h"
#include "ranges/qm/part_builder_qm.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_context.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>

namespace {

struct CTransformer {
  int kva;
  int calibre;
};
constexpr std::array<CTransformer, 9> kTransformers{{{630, 10},
                                                     {800, 12},
                                                     {1000, 16},
                                                     {1250, 20},
                                                     {1600, 25},
                                                     {2000, 32},
                                                     {2500, 40},
                                                     {3150, 50},
                                                     {3150, 63}}};

int SizeClass(int height) {
  if (height >= 618) return 726;
  if (height >= 324) return 510;
  if (height >= 164) return 350;
  return 230;
}

// The connection accessory and its plate: the kind, the length of its bars and the
// places (a, b, c, d) of their holes. The rows the catalogue names are kept; the
// smallest size takes the first kind of its group and the largest the last. Every plate
// has the hole places of the standard tap-off plate; the plates of the larger 510 mm
// housings need longer bars.
CQMConnectionRow ConnectionRow(bool vertical, int size, int kva) {
  CQMConnectionRow row;
  if (vertical) {
    row.kind = kva <= 1000 ? 181 : (kva <= 1600 ? 182 : 183);
    if (size == 230) row.kind = 181;
    if (size == 510) row.kind = 182;
    if (size == 726) row.kind = 183;
    return row;
  }
  row.kind = kva <= 800 ? 171 : (kva <= 1000 ? 172 : (kva <= 1600 ? 173 : 174));
  if (size == 230) row.kind = 171;
  if (size == 726) row.kind = 174;
  if (size == 510) {
    row.kind = kva <= 1600 ? 171 : (kva <= 2000 ? 172 : 173);
    if (kva > 1600) row.length = kva <= 2000 ? 370 : 400;
  }
  return row;
}

// The transformer's place in the table (from 1): the stored one (9 read as 8), or the one
// of the calibre when none is stored; 0 when the calibre is neither that of the place
// nor that of the next.
int TransformerPosition(std::string_view stored, int calibre) {
  int k = std::clamp(TextToInt(stored), 0, 9);
  if (k == 9) k = 8;
  for (std::size_t i = 0; i < kTransformers.size() && k == 0; ++i)
    if (kTransformers[i].calibre == calibre) k = static_cast<int>(i) + 1;
  const bool fits =
      k > 0 && (kTransformers[static_cast<std::size_t>(k - 1)].calibre == calibre ||
                (k < 9 && kTransformers[static_cast<std::size_t>(k)].calibre == calibre));
  return fits ? k : 0;
}

}  // namespace

CQMConnectionRow QMConnectionRow(bool vertical, int height, int kva) {
  return ConnectionRow(vertical, SizeClass(height), kva);
}

// The bars from the transformer's plate to the run: per pole, g bars in two packs, the
// first of (g - g/2) bars laid as the plate's holes give, the second of g/2 bars laid
// as a tap-off fitting's second group (one pitch farther). The second pack of a
// connection that stands up or down takes the longer bars of kind 45.
std::vector<CQMBarGroup> TransformerBars(const CQMConnectionRow& row, int calibre, bool threePoles,
                                         int kva, bool vertical) {
  int g = std::clamp(calibre, 0, CPartBuilderQM::kMaxCount) / 10 + 1;
  if (calibre == 63) ++g;
  const int poles = threePoles ? 3 : 4;
  int first = (g - g / 2) * poles;
  // The neutral of a 1250 to 1600 kVA transformer on three bars a pole takes one bar less.
  if (kva >= 1250 && kva <= 1600 && g == 3 && poles == 4) --first;
  const std::string text = "l=" + std::to_string(row.length) + ",a=" + std::to_string(row.a) +
                           ",b=" + std::to_string(row.b) + ",c=" + std::to_string(row.c) +
                           ",d=" + std::to_string(row.d) + ",e=2,f=2,y=" + std::to_string(row.c);
  std::vector<CQMBarGroup> groups;
  groups.push_back({43, first, text});
  groups.push_back({vertical ? 45 : 44, g / 2 * poles, SecondGroupText(text)});
  return groups;
}

// A transformer connection: the accessory of the transformer's size, with the group,
// and its bars.
bool CPartBuilderQM::AddTransformerConnection(CDev& element, const std::string& group) {
  if (((element.GetStyle() >> 24) & 3) != 2) return false;
  if (element.GetDirection() == 2 && element.GetBackNeighbour() != nullptr) return false;
  const int given = TextToInt(m_qm.GetPropText("Calibre"));
  const bool qmc = m_qm.GetPropText("Catalog") == "QMC";
  int calibre = given;
  if (qmc && calibre == 10) calibre = 9;
  if (calibre == 13) calibre = 12;
  const int k = TransformerPosition(element.GetFieldText("QWA").value_or(""), calibre);
  if (k == 0) {
    if (calibre > 0 && !HasErrors()) {
      int amperes = (calibre == 9 ? 10 : calibre) * 100;
      if (calibre == 12 || calibre == 13) amperes += 50;
      CRangeContext::Instance().Notify(kTransformerMessage, std::to_string(amperes));
    }
    return false;
  }
  const int d = element.GetDirection();
  const bool vertical = d == 2 || d == 3;
  const int kva = kTransformers[static_cast<std::size_t>(k - 1)].kva;
  CQMConnectionRow row = QMConnectionRow(vertical, m_qm.FindReference().Height(), kva);
  // The QMC plates sit 2 mm farther from the housing.
  if (qmc) row.a += 2;
  if (GetRun().AddAccessoryParts(row.kind, 1, group) == 0) return false;
  element.SetFieldText("POS1", "07" + m_qm.GetElementRef(row.kind) + group);
  const bool threePoles = m_qm.GetPropText("Neutral") == "3";
  for (const CQMBarGroup& bars : TransformerBars(row, given, threePoles, kva, vertical)) {
    if (bars.count > 0)
      GetRun().AddAccessoryParts(bars.kind, std::min(bars.count, kMaxCount), bars.text + group);
  }
  return true;
}
